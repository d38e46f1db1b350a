#pragma once
// The finder's and the extension list dialog's commands that ask the user or
// change stored state, apart from the windows that offer them.
#include <optional>
#include <string>
#include <string_view>

#include "finder/extension_list.h"
#include "finder/sweepdisk_settings.h"
#include "platform/ui.h"

namespace cv::finder {

inline constexpr unsigned kMbIconError = 0x10;

// "Delete selected" step one: the warning while "Prompt" is set. True to go on.
bool ConfirmDeletion(SweepdiskSettings& settings, MessageBoxes& messages);

// "Reset All": asks when "Uses" is above 2, then stores every default and
// rewrites the extension list. True when it was done.
bool ResetAll(SweepdiskSettings& settings, ExtentionHandller& extensions, MessageBoxes& messages,
              std::string_view startFolder);

// The extension list dialog's Add, Remove and Default. Each returns the
// finder's new search string, or nullopt when it stays as it was (nothing
// changed, or the list has no entry left).
class ExtensionListEditor {
 public:
  ExtensionListEditor(ExtentionHandller& extensions, MessageBoxes& messages)
      : extensions_(extensions), messages_(messages) {}

  // Takes the typed text without its surrounding blanks; an illegal entry
  // gets the error message and changes nothing.
  std::optional<std::string> Add(std::string_view typed);
  std::optional<std::string> Remove(std::string_view selected);
  // Asks first; No changes nothing.
  std::optional<std::string> Default();

 private:
  std::optional<std::string> SearchString() const;

  ExtentionHandller& extensions_;
  MessageBoxes& messages_;
};

}  // namespace cv::finder
