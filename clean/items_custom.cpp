// The files and folders the user named in the selection dialog, listed in
// "cusd.dat" beside the program: one path, a TAB and "File" or "Folder" per line.
#include "clean/item_groups.h"
#include "clean/run_context.h"
#include "platform/text.h"

namespace cv {

namespace {

// A list of picked paths is small; anything this large is not one the dialog
// wrote, and is left alone rather than read into memory.
constexpr std::uint64_t kMaxListBytes = 16ull << 20;

void EraseListedTarget(RunContext& run, std::string_view path, std::string_view kind) {
  if (kind == "File") {
    if (run.fso.FileExists(path)) run.BytesReleased += run.erase.DeleteSingleFile(path);
  } else if (kind == "Folder") {
    if (run.fso.FolderExists(path)) run.BytesReleased += run.erase.DeleteFolderTree(path);
  }
}

void CustomFilesAndFolders(RunContext& run) {
  const std::string listFile = run.ProgramFile("\\cusd.dat");
  const std::optional<FileEntry> entry = run.fso.GetFile(listFile);
  if (!entry) {
    run.SetFinalStatus("Fail, Can't find file!");
    return;
  }
  std::string text;
  // A list that cannot be read erased nothing: the row says so, not "Done".
  if (const Status read = run.platform.files.ReadFile(listFile, text, kMaxListBytes); read != kOk) {
    run.SetFinalStatus(ReadFailureStatus(read));
    return;
  }

  std::string_view rest = text;
  while (!rest.empty()) {
    const size_t end = rest.find_first_of("\r\n");
    std::string_view line = rest.substr(0, end);
    rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 1);
    const size_t tab = line.find('\t');
    if (tab == std::string_view::npos) continue;
    // The kind is the second TAB-separated field.
    std::string_view kind = line.substr(tab + 1);
    kind = kind.substr(0, kind.find('\t'));
    EraseListedTarget(run, AnsiToUtf8(line.substr(0, tab)), kind);
  }
}

constexpr ItemBinding kCustomItems[] = {{140, CustomFilesAndFolders}};

}  // namespace

std::span<const ItemBinding> CustomItems() { return kCustomItems; }

}  // namespace cv
