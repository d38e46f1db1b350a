#pragma once
// The finder's few values in the per-user settings store, application
// "Sweepdisk". Most are written and never read back; "Prompt" decides the
// deletion warning, "Uses" the Reset All question, "MaxLogSize" is kept
// for the extension list dialog.
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace cv::finder {

class SweepdiskSettings {
 public:
  explicit SweepdiskSettings(SettingsStore& store) : store_(store) {}

  // The window opens: the start state, not restored from earlier runs.
  void StoreOpening(std::string_view startFolder);
  void StoreFolder(std::string_view folder);  // "AppPath"
  void StoreRecycle(bool ticked);             // "Recycele"
  void StoreSubFolders(bool ticked);          // "SubFolders"
  // Every value Reset All restores.
  void StoreResetAll(std::string_view startFolder);

  // Whether "Delete selected" warns first (default yes).
  bool Prompt();
  void StorePromptAnswered();
  // Reset All asks first once the program was used more than twice.
  bool ResetAllAsks();
  // The extension list dialog's opening: an empty "MaxLogSize" becomes "80".
  void EnsureMaxLogSize();

 private:
  std::string Get(std::string_view section, std::string_view key, std::string_view fallback);
  void Save(std::string_view section, std::string_view key, std::string_view value);

  SettingsStore& store_;
};

}  // namespace cv::finder
