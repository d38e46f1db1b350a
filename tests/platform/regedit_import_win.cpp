// The system's own regedit and our .reg text agree: the shared fixture imported
// by "regedit /S" and by our importer gives the same keys, our export is
// accepted by regedit, and regedit's UTF-16 export is accepted by us.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "config/regfun.h"
#include "platform/reg_text.h"
#include "platform/win32/text_win.h"
#include "platform/win32/unique_handle.h"
#include "platform/win32/win.h"
#include "reg_fixture_text.h"
#include "registry_fixture.h"

namespace cv::test {
namespace {

std::wstring TempFile(const wchar_t* name) {
  wchar_t folder[MAX_PATH + 1] = {};
  ::GetTempPathW(MAX_PATH + 1, folder);
  return std::wstring(folder) + name + std::to_wstring(::GetCurrentProcessId()) + L".reg";
}

void WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(path.c_str(), std::ios::binary);
  out << bytes;
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs regedit with `arguments` and returns its exit code (-1 if it did not start or end).
long Regedit(const std::wstring& arguments) {
  std::wstring commandLine = L"regedit.exe " + arguments;
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!::CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return -1;
  win32::UniqueKernelHandle processHandle(process.hProcess);
  win32::UniqueKernelHandle threadHandle(process.hThread);
  if (::WaitForSingleObject(process.hProcess, 120000) != WAIT_OBJECT_0) return -1;
  DWORD code = 0;
  ::GetExitCodeProcess(process.hProcess, &code);
  return static_cast<long>(code);
}

std::string Replace(std::string text, const std::string& from, const std::string& to) {
  for (auto at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

class RegeditAgreement : public ::testing::Test {
 protected:
  std::unique_ptr<RegistryFixture> fixture_ = MakeRegistryFixture();
  Registry& reg() { return fixture_->registry(); }
};

TEST_F(RegeditAgreement, RegeditAndOurImporterReadTheFixtureAlike) {
  const std::string byRegedit = fixture_->Path("ByRegedit");
  const std::string ours = fixture_->Path("Ours");
  const std::wstring file = TempFile(L"cv_fixture");
  WriteBytes(file, FixtureRegText(byRegedit));
  ASSERT_EQ(Regedit(L"/S \"" + file + L"\""), 0);
  ::DeleteFileW(file.c_str());
  ExpectFixtureImported(reg(), byRegedit);

  const RegTextResult result = ImportRegText(reg(), FixtureRegText(ours));
  EXPECT_EQ(result.skipped, 0u);
  ExpectFixtureImported(reg(), ours);
  EXPECT_EQ(Replace(ExportRegText(reg(), kHkeyCurrentUser, byRegedit), "\\ByRegedit", "\\Ours"),
            ExportRegText(reg(), kHkeyCurrentUser, ours));
}

TEST_F(RegeditAgreement, RegeditReadsOurExportAsUtf16) {
  const std::string source = fixture_->Path("Source");
  ASSERT_EQ(ImportRegText(reg(), FixtureRegText(source)).skipped, 0u);
  // Regedit's own form: UTF-16LE with BOM; our export renamed to a new key.
  const std::string text = Replace(ExportRegText(reg(), kHkeyCurrentUser, source), "\\Source", "\\Copy");
  const std::wstring wide = win32::Widen(text);
  std::string bytes = "\xff\xfe";
  bytes.append(reinterpret_cast<const char*>(wide.data()), wide.size() * sizeof(wchar_t));
  const std::wstring file = TempFile(L"cv_export");
  WriteBytes(file, bytes);
  ASSERT_EQ(Regedit(L"/S \"" + file + L"\""), 0);
  ::DeleteFileW(file.c_str());
  ExpectFixtureImported(reg(), fixture_->Path("Copy"));
}

TEST_F(RegeditAgreement, WeReadRegeditsUtf16Export) {
  const std::string path = fixture_->Path("Exported");
  ASSERT_EQ(ImportRegText(reg(), FixtureRegText(path)).skipped, 0u);
  ScopedRegKey key(reg());
  ASSERT_EQ(reg().OpenKey(kHkeyCurrentUser, path + "\\Fixture", kKeyWrite, key.out()), kOk);
  // Long enough for regedit to continue the hex data over several lines.
  ASSERT_EQ(reg().SetValue(key.get(), "Long", kRegBinary, std::string(300, '\x5a')), kOk);
  ASSERT_EQ(reg().SetValue(key.get(), "Unicode é", kRegSz, "日本 é\0"s), kOk);

  const std::wstring file = TempFile(L"cv_regedit");
  ASSERT_EQ(Regedit(L"/E \"" + file + L"\" \"HKEY_CURRENT_USER\\" + win32::Widen(path) + L"\""), 0);
  const std::string exported = ReadBytes(file);
  ::DeleteFileW(file.c_str());
  ASSERT_TRUE(exported.starts_with("\xff\xfe"));

  const std::string before = ExportRegText(reg(), kHkeyCurrentUser, path);
  ASSERT_EQ(reg().DeleteTree(kHkeyCurrentUser, path), kOk);
  const RegTextResult result = ImportRegText(reg(), exported);
  EXPECT_EQ(result.status, kOk);
  EXPECT_EQ(result.skipped, 0u) << "first bad line " << result.firstSkippedLine;
  ExpectFixtureImported(reg(), path);
  EXPECT_EQ(ExportRegText(reg(), kHkeyCurrentUser, path), before);
}

// A string the program writes reaches other readers whole: regedit's export
// shows its last character too.
TEST_F(RegeditAgreement, RegeditExportsOurStringsWhole) {
  struct : MessageBoxes {
    int Show(std::string_view, std::string_view, unsigned) override { return kIdOk; }
  } messages;
  regfun layer(reg(), messages);
  const std::string full = "HKEY_CURRENT_USER\\" + fixture_->Path("Written");
  layer.CreateRegKey(full);
  layer.WriteRegString(full, "url1", "http://kept.example/");
  const std::wstring file = TempFile(L"cv_written");
  ASSERT_EQ(Regedit(L"/E \"" + file + L"\" \"" + win32::Widen(full) + L"\""), 0);
  const std::string exported = ReadBytes(file);
  ::DeleteFileW(file.c_str());
  const std::wstring text(reinterpret_cast<const wchar_t*>(exported.data()), exported.size() / sizeof(wchar_t));
  EXPECT_NE(text.find(L"\"url1\"=\"http://kept.example/\""), std::wstring::npos) << win32::Narrow(text);
}

}  // namespace
}  // namespace cv::test
