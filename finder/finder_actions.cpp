#include "finder/finder_actions.h"

#include "finder/finder_texts.h"
#include "platform/text.h"

namespace cv::finder {

bool ConfirmDeletion(SweepdiskSettings& settings, MessageBoxes& messages) {
  if (!settings.Prompt()) return true;
  if (messages.Show(texts::kDeleteWarning, texts::kDeleteWarningCaption, kMbYesNo | kMbIconExclamation) != kIdYes)
    return false;
  settings.StorePromptAnswered();
  return true;
}

bool ResetAll(SweepdiskSettings& settings, ExtentionHandller& extensions, MessageBoxes& messages,
              std::string_view startFolder) {
  if (settings.ResetAllAsks() && messages.Show(texts::kResetQuestion, texts::kResetCaption, kMbYesNo) != kIdYes)
    return false;
  settings.StoreResetAll(startFolder);
  extensions.WriteDefaultExtensions();
  return true;
}

std::optional<std::string> ExtensionListEditor::SearchString() const {
  std::string searchString = extensions_.ReadExtensions();
  if (searchString.empty()) return std::nullopt;
  return searchString;
}

std::optional<std::string> ExtensionListEditor::Add(std::string_view typed) {
  const std::string_view entry = TrimSpaces(typed);
  if (!ExtentionHandller::IsValidExtension(entry)) {
    messages_.Show(texts::kIllegalExtension, texts::kIllegalExtensionCaption, kMbOk | kMbIconError);
    return std::nullopt;
  }
  if (extensions_.AppendExtension(entry) != kOk) return std::nullopt;
  return SearchString();
}

std::optional<std::string> ExtensionListEditor::Remove(std::string_view selected) {
  if (extensions_.RemoveExtension(selected) != kOk) return std::nullopt;
  return SearchString();
}

std::optional<std::string> ExtensionListEditor::Default() {
  if (messages_.Show(texts::kDefaultQuestion, texts::kDefaultCaption, kMbYesNo) != kIdYes) return std::nullopt;
  if (extensions_.WriteDefaultExtensions() != kOk) return std::nullopt;
  return SearchString();
}

}  // namespace cv::finder
