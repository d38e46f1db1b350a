#include "config/selection_dialog.h"

#include "platform/fso.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr std::string_view kApplicationTitle = "Clearvane";

std::size_t IndexOf(const ItemSwitch* itemSwitch) {
  return static_cast<std::size_t>(itemSwitch - ItemSwitches().data());
}

std::size_t ExplorerIndex(std::string_view key) { return *FindSwitchIndex("EXPLORER", key); }

// The 140 switches in write order, each with "1" or "0" from `ticked` (none given: "").
std::vector<Inifun::Value> SwitchKeys(const std::vector<bool>& ticked) {
  const auto switches = ItemSwitches();
  std::vector<Inifun::Value> keys;
  keys.reserve(switches.size());
  for (std::size_t i = 0; i < switches.size(); ++i)
    keys.push_back({switches[i].section, switches[i].key, ticked.empty() ? "" : (ticked[i] ? "1" : "0")});
  return keys;
}

}  // namespace

SelectionDialogModel::SelectionDialogModel(Platform& platform, MessageBoxes& messages, ModifiedTimeText timeText)
    : platform_(platform),
      messages_(messages),
      timeText_(std::move(timeText)),
      ticked_(kItemSwitchCount, false),
      enabled_(kItemSwitchCount, true) {}

SelectionDialogModel::~SelectionDialogModel() = default;

void SelectionDialogModel::AddPart(std::unique_ptr<SelectionDialogPart> part) { parts_.push_back(std::move(part)); }

std::string SelectionDialogModel::SelectionFile() const {
  return platform_.shell.ProgramFolder() + std::string(kSelectionFileName);
}
std::string SelectionDialogModel::CustomItemFile() const {
  return platform_.shell.ProgramFolder() + std::string(kCustomItemFileName);
}
std::string SelectionDialogModel::PluginFolderPath() const { return PluginFolder(platform_.shell.ProgramFolder()); }

void SelectionDialogModel::Open() {
  Inifun ini(platform_.files);
  const std::string selectionFile = SelectionFile();
  const std::vector<std::string> stored = ini.ReadIniValues(selectionFile, SwitchKeys({}));
  for (std::size_t i = 0; i < kItemSwitchCount; ++i) {
    ticked_[i] = SwitchIsOn(stored[i]);
    enabled_[i] = true;
  }

  regfun reg(platform_.registry, platform_.messages);
  windowsMailPresent_ = reg.ReadRegString(kWindowsMailKeyPath, kWindowsMailStoreRoot) != "Error";
  if (!windowsMailPresent_) {
    for (const ItemSwitch* mail : SwitchesInFrame(SelectionFrame::kWindowsMail)) {
      ticked_[IndexOf(mail)] = false;
      enabled_[IndexOf(mail)] = false;
    }
  }

  FileSystemObject fso(platform_.files);
  customItems_ = LoadCustomItems(fso, timeText_, CustomItemFile(), &customListRead_);
  plugins_ = LoadPluginRows(fso, ini, PluginFolderPath());
  for (auto& part : parts_) part->Load();
}

void SelectionDialogModel::SetTicked(std::size_t index, bool ticked) {
  if (index < ticked_.size() && enabled_[index]) ticked_[index] = ticked;
}

bool SelectionDialogModel::SelectAllEnabled(SelectionFrame frame) const {
  if (FrameInfo(frame).selectAllBox.empty()) return false;
  return frame != SelectionFrame::kWindowsMail || windowsMailPresent_;
}

void SelectionDialogModel::Confirm(std::size_t index, std::string_view question) {
  ticked_[index] = messages_.Show(question, kApplicationTitle, kMbOkCancel) == kIdOk;
}

void SelectionDialogModel::SelectAll(SelectionFrame frame, bool ticked) {
  if (!SelectAllEnabled(frame)) return;
  if (frame == SelectionFrame::kInternetExplorer && ticked) {
    for (std::string_view key : {"location", "history", "cache", "cookies"}) ticked_[ExplorerIndex(key)] = true;
    Confirm(ExplorerIndex("favorites"), kConfirmFavorites);
    ticked_[ExplorerIndex("autocomplete")] = true;
    Confirm(ExplorerIndex("downloaded"), kConfirmDownloaded);
    for (std::string_view key : {"index", "inprivate", "downloadedhistory", "addons"})
      ticked_[ExplorerIndex(key)] = true;
    return;
  }
  for (const ItemSwitch* member : SwitchesInFrame(frame)) ticked_[IndexOf(member)] = ticked;
}

bool SelectionDialogModel::ConfirmOnLeave(std::size_t index) {
  if (index >= ticked_.size() || !ticked_[index]) return false;
  std::string_view question;
  if (index == ExplorerIndex("favorites")) {
    question = kConfirmFavorites;
  } else if (index == ExplorerIndex("downloaded")) {
    question = kConfirmDownloaded;
  } else {
    return false;
  }
  Confirm(index, question);
  return !ticked_[index];
}

void SelectionDialogModel::AddFiles(const SelectedFiles& picked) {
  FileSystemObject fso(platform_.files);
  for (const std::string& name : picked.names) {
    auto row =
        MeasureCustomItem(fso, timeText_, picked.directory + name, kCustomTypeFile, SizePattern::kOptionalDigits);
    if (!row) return;
    customItems_.push_back(std::move(*row));
  }
}

bool SelectionDialogModel::AddFolder(std::string path) {
  FileSystemObject fso(platform_.files);
  auto row = MeasureCustomItem(fso, timeText_, std::move(path), kCustomTypeFolder, SizePattern::kOptionalDigits);
  if (!row) return false;
  customItems_.push_back(std::move(*row));
  return true;
}

void SelectionDialogModel::RemoveCustomItem(std::optional<std::size_t> selected) {
  if (!selected || *selected >= customItems_.size() || customItems_[*selected].path.empty()) return;
  customItems_.erase(customItems_.begin() + static_cast<std::ptrdiff_t>(*selected));
}

void SelectionDialogModel::SetPluginTicked(std::size_t index, bool ticked) {
  if (index < plugins_.size()) plugins_[index].ticked = ticked;
}

std::vector<std::string> SelectionDialogModel::Save() {
  std::vector<std::string> failed;
  Inifun ini(platform_.files);

  const std::string selectionFile = SelectionFile();
  std::vector<Inifun::Value> switches = SwitchKeys(ticked_);
  for (const auto& part : parts_)
    for (const Inifun::Value& value : part->SelectionValues()) switches.push_back(value);
  if (ini.WriteIniValues(selectionFile, switches) != kOk) failed.push_back(selectionFile);

  // A list that did not change is not written, so a read-only list the
  // user left alone is no failure. One that could not be read (too large,
  // locked) showed no rows: it stays as it is unless the user made a new one.
  const std::string customFile = CustomItemFile();
  const std::string customText = CustomItemsText(customItems_);
  std::string stored;
  const bool unreadable = customListRead_ != kOk && customListRead_ != kErrFileNotFound;
  const bool unchanged =
      unreadable ? customItems_.empty() : platform_.files.ReadFile(customFile, stored) == kOk && stored == customText;
  if (!unchanged && platform_.files.WriteFileAtomic(customFile, customText) != kOk) failed.push_back(customFile);

  FileSystemObject fso(platform_.files);
  for (std::string& file : SavePluginTicks(fso, ini, PluginFolderPath(), plugins_)) failed.push_back(std::move(file));
  for (auto& part : parts_)
    for (std::string& file : part->Save()) failed.push_back(std::move(file));
  return failed;
}

std::string SelectionDialogModel::SaveFailedMessage(const std::vector<std::string>& files) {
  std::string message = "Your choices could not be saved to:\n";
  for (const std::string& file : files) message += "\n" + file;
  message +=
      "\n\nThe file may be read-only or in use. Make it writable and press OK again, or press Cancel to discard "
      "the changes.";
  return message;
}

}  // namespace cv
