#include "clean/ie_steps.h"

#include "clean/path_guard.h"
#include "clean/run_context.h"
#include "clean/url_history.h"
#include "config/data_files.h"
#include "keep/cookie_keep_list.h"
#include "keep/url_keep_list.h"

namespace cv::ie {

std::string ShellFolder(RunContext& run, std::string_view valueName) {
  return ReadFolderSetting(run.reg, run.platform.shell, kUserShellFoldersKeyPath, valueName);
}

void ClearMyTracks(RunContext& run, std::string_view argument) {
  run.StartCommand("RunDll32.exe InetCpl.cpl,ClearMyTracksByProcess " + std::string(argument), ShowMode::Minimized);
}

namespace {

// A keep list that exists but cannot be read (locked, too large) spares
// nothing the user asked to keep: the item then erases nothing and says why.
bool ReadKeepList(RunContext& run, std::string_view file, std::vector<std::string>& kept) {
  const Status read = KeepListFile(run.platform.files, run.ProgramFile(file)).ReadEntries(kept);
  if (read == kOk || read == kErrFileNotFound) return true;
  run.SetFinalStatus(ReadFailureStatus(read));
  return false;
}

}  // namespace

void RestoreKeptTypedUrls(RunContext& run) {
  std::vector<std::string> kept;
  if (!ReadKeepList(run, kUrlKeepFileName, kept)) return;
  run.RegistryKeysCleaned += run.erase.DeleteRegKey(kHkeyCurrentUser, kTypedUrlsSubKey);
  if (run.Preview()) return;
  run.reg.CreateRegKey(kTypedUrlsKeyPath);
  for (std::size_t i = 0; i < kept.size(); ++i)
    run.reg.WriteRegString(kTypedUrlsKeyPath, "url" + std::to_string(i + 1), kept[i]);
}

// The cookie folder comes from the registry, so it is checked like every
// folder a primitive walks: a value naming the profile root or a drive root
// deletes nothing.
void DeleteCookiesNotKept(RunContext& run) {
  const std::string folder = ShellFolder(run, "Cookies");
  std::vector<std::string> kept;
  if (!ReadKeepList(run, kCookieKeepFileName, kept)) return;
  if (!run.erase.Guard().AllowsFolder(folder)) {
    run.ReportRefused(EntryKind::Folder, folder);
    return;
  }
  run.fso.ForEachFile(folder, [&](const FileEntry& file) {
    if (!run.Preview() && (file.attributes & kAttrHidden) != 0) run.fso.SetAttributes(file.path, 0);
    if (!IsKeptCookie(kept, file.path)) run.BytesReleased += run.erase.DeleteSingleFile(file.path);
    run.Pump();
  });
}

void ClearCache(RunContext& run) {
  run.BytesReleased += run.erase.DeleteAllFilesInTree(ShellFolder(run, "Cache"));
  if (run.values.IeMajorVersion > 6) ClearMyTracks(run, "8 ");
}

void ClearHistoryStore(RunContext& run) {
  if (!run.platform.urlHistory) return;
  run.ReportSideEffect(kClearHistoryStoreCommand);
  if (run.Preview()) return;
  CURLHistory history(run.platform.urlHistory);
  history.Clear();
}

}  // namespace cv::ie
