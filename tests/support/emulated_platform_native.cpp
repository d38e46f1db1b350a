#include "emulated_platform.h"

#include <gtest/gtest.h>

namespace cv::test {

namespace {

// Creates the folder and every missing folder above it.
void CreateFolders(FileSystem& files, std::string_view path) {
  for (size_t cut = path.find('\\', 3);; cut = path.find('\\', cut + 1)) {
    const std::string_view prefix = cut == std::string_view::npos ? path : path.substr(0, cut);
    const Status status = files.CreateFolder(prefix);
    if (status != kOk && status != kErrAlreadyExists) ADD_FAILURE() << "cannot create " << prefix;
    if (cut == std::string_view::npos) break;
  }
}

}  // namespace

EmulatedPlatformFixture::EmulatedPlatformFixture()
    : fileFixture(MakeEmulatedFileSystemFixture()), files(fileFixture->emulated()) {
  const struct {
    const char* name;
    const char* value;
  } environment[] = {
      {"USERPROFILE", kUserProfile},
      {"APPDATA", kAppData},
      {"LOCALAPPDATA", kLocalAppData},
      {"TEMP", kTemp},
      {"TMP", kTemp},
      {"SystemRoot", "C:\\WINDOWS"},
      {"windir", "C:\\WINDOWS"},
      {"SystemDrive", "C:"},
      {"ProgramFiles", "C:\\Program Files"},
      {"ProgramFiles(x86)", "C:\\Program Files (x86)"},
      {"ProgramW6432", "C:\\Program Files"},
      {"CommonProgramFiles", "C:\\Program Files\\Common Files"},
      {"ALLUSERSPROFILE", "C:\\ProgramData"},
      {"ProgramData", "C:\\ProgramData"},
      {"PUBLIC", "C:\\Users\\Public"},
  };
  for (const auto& variable : environment) shell.SetEnvironmentVariable(variable.name, variable.value);
  shell.windowsDirectory = "C:\\WINDOWS";
  for (const std::string& folder :
       {std::string(kAppData), std::string(kTemp), shell.windowsDirectory, shell.programFolder})
    CreateFolders(files, folder);
}

}  // namespace cv::test
