#pragma once
// Helpers the GUI test programs share: where the program under test is, and
// the texts of a window's controls.
#include <filesystem>
#include <string>

#include "driver.h"

namespace cv::guidriver {

inline std::filesystem::path ModuleFolder() {
  wchar_t path[MAX_PATH] = {};
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  return std::filesystem::path(path).parent_path();
}

// clearvane.exe of the same build: the nearest one above the test program.
inline std::filesystem::path ProgramUnderTest() {
  for (std::filesystem::path folder = ModuleFolder();; folder = folder.parent_path()) {
    if (std::filesystem::exists(folder / "clearvane.exe")) return folder / "clearvane.exe";
    if (folder == folder.parent_path()) return {};
  }
}

// The texts of all controls of a window, for message boxes.
inline std::wstring AllTexts(HWND window) {
  std::wstring texts;
  ::EnumChildWindows(
      window,
      [](HWND child, LPARAM param) -> BOOL {
        if (auto text = Text(child)) *reinterpret_cast<std::wstring*>(param) += *text + L"\n";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  return texts;
}

}  // namespace cv::guidriver
