#pragma once
// Helpers of the end-to-end suites under Wine: run a program and collect its
// output, set up a program folder holding clearvane-cli.exe, import a
// REGEDIT4 fixture, look at the real registry and disk, and put registry keys
// the fixtures overwrite back as they were.
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win.h"
#include "test_filesystem.h"

namespace cv::e2e {

struct Captured {
  DWORD exitCode = 0xFFFFFFFF;
  std::string out;
};

// Runs a command line with the current environment and collects its standard
// output; waits at most a minute for it to end.
Captured RunCapturing(const std::string& commandLine);

// The folder of the running test program.
std::string ExeFolder();

// Copies clearvane-cli.exe and delThumbs.bat from the build into `program`
// (created) and writes `selection` there as vanesd.dat. Reports failures with
// gtest assertions: call it inside ASSERT_NO_FATAL_FAILURE.
void InstallProgram(test::FileSystemFixture& disk, const std::string& program, const std::string& selection);

// Writes `reg` (REGEDIT4 text) into the sandbox and imports it with regedit /S.
void ImportRegistry(test::FileSystemFixture& disk, const std::string& reg);

// A selection file with each of the 140 built-in switches "0", by section.
std::string BuiltInItemsOff();

// How often `what` occurs in `text` (a JSON report's rows of one status ...).
std::size_t Occurrences(const std::string& text, const std::string& what);

// "C:\a" -> "C:\\a": a path as a REGEDIT4 string value holds it.
std::string RegEscape(const std::string& text);

bool Exists(const std::string& path);
bool KeyExists(const std::string& subKey, HKEY root = HKEY_CURRENT_USER);
bool ValueExists(const std::string& subKey, const std::string& name, HKEY root = HKEY_CURRENT_USER);

// The values of a key as name -> (type, data), in enumeration order; nullopt
// when the key cannot be opened.
struct RegData {
  DWORD type = 0;
  std::string bytes;
  bool operator==(const RegData&) const = default;
};
std::optional<std::vector<std::pair<std::string, RegData>>> ReadKeyValues(HKEY root, const std::string& subKey);

// A string value as UTF-8 (REG_SZ or REG_EXPAND_SZ, unexpanded); nullopt when missing.
std::optional<std::string> ReadString(HKEY root, const std::string& subKey, const std::string& name);

// Holds the values of one key as they were and puts them back when it goes:
// values added since are deleted, a key that did not exist is deleted with
// its sub-keys. Sub-keys of a key that existed are left alone.
class RegistryKeyBackup {
 public:
  RegistryKeyBackup(HKEY root, std::string subKey);
  ~RegistryKeyBackup();
  RegistryKeyBackup(const RegistryKeyBackup&) = delete;
  RegistryKeyBackup& operator=(const RegistryKeyBackup&) = delete;

 private:
  HKEY root_;
  std::string subKey_;
  std::optional<std::vector<std::pair<std::string, RegData>>> saved_;
};

// Points the user's "AppData" and "Local AppData" shell folders at `roaming`
// and `local`; `backup` puts the key back as it was when it goes. Call it
// inside ASSERT_NO_FATAL_FAILURE.
void RedirectUserFolders(test::FileSystemFixture& disk, const std::string& roaming, const std::string& local,
                         std::unique_ptr<RegistryKeyBackup>& backup);

// Sets an environment variable of this process (and so of the programs it
// starts) and restores the old value when it goes.
class ScopedEnvironmentVariable {
 public:
  ScopedEnvironmentVariable(std::string name, const std::string& value);
  ~ScopedEnvironmentVariable();
  ScopedEnvironmentVariable(const ScopedEnvironmentVariable&) = delete;
  ScopedEnvironmentVariable& operator=(const ScopedEnvironmentVariable&) = delete;

 private:
  std::string name_;
  std::optional<std::wstring> old_;
};

// Every file and folder below `root`: path relative to it -> content, with
// folders as the marker "<folder>". Hidden and read-only entries included.
std::map<std::string, std::string> SnapshotTree(const std::string& root);
inline constexpr const char* kFolderMarker = "<folder>";

}  // namespace cv::e2e
