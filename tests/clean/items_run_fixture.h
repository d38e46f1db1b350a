#pragma once
// A whole cleaning run on the emulated platform, for the item tests: the
// selection file, registry and files are set up by the test, the run goes
// through Cleaner::CleanNow, and every row and erased (or previewed) entry is
// recorded. Native builds only.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "clean/clean_run.h"
#include "clean/erase_entry.h"
#include "clean/run_items.h"
#include "clean/run_observer.h"
#include "clean/startup_values.h"
#include "config/inifun.h"
#include "emulated_platform.h"
#include "platform/emulated/emulated_office.h"
#include "platform/reg_text.h"

namespace cv::test {

class RunRecorder : public RunObserver, public EraseSink {
 public:
  struct Row {
    std::string item;
    std::string status;
    std::string source;
  };

  void RowAdded(std::string_view item, std::string_view status) override {
    rows.push_back({std::string(item), std::string(status), {}});
  }
  void RowSourceSet(std::string_view source) override {
    if (!rows.empty()) rows.back().source = source;
  }
  void RowStatusChanged(std::string_view status) override {
    if (!rows.empty()) rows.back().status = status;
  }
  void ProgressChanged(int) override {}
  void StatusLabelChanged(std::string_view) override {}
  void Erased(const EraseEntry& entry) override { entries.push_back(entry); }

  // The rows of the items, without the closing line of a clean or a preview.
  std::vector<Row> ItemRows() const {
    std::vector<Row> items = rows;
    if (!items.empty() && (items.back().item == "Task complete Successfully!" ||
                           items.back().item == "Analysis complete: nothing was erased."))
      items.pop_back();
    return items;
  }
  bool HasRefused(std::string_view pathPart) const {
    for (const EraseEntry& entry : entries)
      if (entry.refused && entry.path.find(pathPart) != std::string::npos) return true;
    return false;
  }

  std::vector<Row> rows;
  std::vector<EraseEntry> entries;
};

class ItemRunFixture {
 public:
  static constexpr const char* kDocuments = "C:\\Users\\Tester\\Documents";

  ItemRunFixture() : ini_(env.files) {
    values.AppDataFolder = EmulatedPlatformFixture::kAppData;
    values.LocalAppDataFolder = EmulatedPlatformFixture::kLocalAppData;
    values.WindowsFolder = env.shell.windowsDirectory;
    values.WindowsVersion = "6.1";
    ResetSelection();
  }

  // Nothing selected.
  void ResetSelection() { env.files.DeleteFile(ProgramFile("\\vanesd.dat"), true); }

  Platform platform() {
    Platform platform = env.platform();
    platform.office = &office;
    return platform;
  }

  std::string ProgramFile(std::string_view relative) const { return env.shell.programFolder + std::string(relative); }

  void Select(std::string_view section, std::string_view key) {
    ini_.WriteIniValue(ProgramFile("\\vanesd.dat"), section, key, "1");
  }

  // Stores the documents folder where the items look it up.
  void SetDocumentsFolder(std::string_view stored) {
    SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders",
              "Personal", stored);
  }

  // A REG_SZ value, creating its key.
  void SetString(std::string_view fullKey, std::string_view name, std::string_view value) {
    std::string escaped;
    for (char c : value) {
      if (c == '\\' || c == '"') escaped += '\\';
      escaped += c;
    }
    const std::string nameText = name.empty() ? std::string("@") : "\"" + std::string(name) + "\"";
    const RegTextResult result =
        ImportRegText(env.registry, "Windows Registry Editor Version 5.00\r\n\r\n[" + std::string(fullKey) + "]\r\n" +
                                        nameText + "=\"" + escaped + "\"\r\n");
    ASSERT_EQ(result.skipped, 0u) << fullKey;
  }
  void CreateKey(RegKey root, std::string_view subKey) {
    RegKey key = 0;
    ASSERT_EQ(env.registry.CreateKey(root, subKey, key), kOk) << subKey;
    env.registry.CloseKey(key);
  }
  bool KeyExists(RegKey root, std::string_view subKey) {
    RegKey key = 0;
    if (env.registry.OpenKey(root, subKey, kKeyRead, key) != kOk) return false;
    env.registry.CloseKey(key);
    return true;
  }
  bool ValueExists(RegKey root, std::string_view subKey, std::string_view name) {
    ScopedRegKey key(env.registry);
    if (env.registry.OpenKey(root, subKey, kKeyRead, key.out()) != kOk) return false;
    RegValue value;
    return env.registry.QueryValue(key.get(), name, value) == kOk;
  }

  // Writes a file, creating the folders above it.
  void WriteFile(std::string_view path, std::string_view bytes) {
    MakeFolders(path.substr(0, path.rfind('\\')));
    env.fileFixture->WriteFile(path, bytes);
  }
  void MakeFolders(std::string_view folder) {
    std::error_code ignored;
    std::filesystem::create_directories(env.files.HostPath(folder), ignored);
  }
  bool Exists(std::string_view path) { return env.files.Stat(path).has_value(); }

  // `extras` null: the items of the other sources are loaded as the program loads them.
  RunResult DoRun(EraseMode mode = EraseMode::Clean, const std::vector<Item>* extras = nullptr) {
    recorder = RunRecorder();
    Platform services = platform();
    Cleaner cleaner(services, values);
    RunOptions options;
    options.mode = mode;
    options.sink = &recorder;
    options.extraItems = extras;
    return cleaner.CleanNow(options, recorder);
  }

  EmulatedPlatformFixture env;
  emulated::EmulatedOffice office;
  StartupValues values;
  RunRecorder recorder;

 private:
  Inifun ini_;
};

}  // namespace cv::test
