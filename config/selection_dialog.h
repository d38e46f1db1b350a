#pragma once
// The cleaning-selection dialog without its window: what opening loads, what
// the select-all boxes and the confirmations tick, the custom item and
// plug-in lists, and what "OK" writes. The Win32 view binds controls to it.
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "clean/plugins.h"
#include "config/custom_items.h"
#include "config/data_files.h"
#include "config/inifun.h"
#include "config/selection_schema.h"
#include "platform/platform.h"

namespace cv {

inline constexpr std::string_view kWindowsMailKeyPath = "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail";
inline constexpr std::string_view kWindowsMailStoreRoot = "Store Root";

inline constexpr std::string_view kConfirmFavorites = "Are you sure delete IE Favorites?";
inline constexpr std::string_view kConfirmDownloaded = "Are you sure delete Downloaded Files?";
inline constexpr unsigned kMbOkCancel = 0x1;
inline constexpr int kIdCancel = 2;

// A part of the dialog with data of its own beyond the 140 switches (a page
// added later, for example): loaded when the dialog opens, saved on "OK".
class SelectionDialogPart {
 public:
  virtual ~SelectionDialogPart() = default;
  virtual void Load() = 0;
  // Switches the part keeps in the selection file, written with the
  // dialog's own in one replace of the file (views valid while the part lives).
  virtual std::vector<Inifun::Value> SelectionValues() const { return {}; }
  // Saves the part's other files; returns those that could not be written.
  virtual std::vector<std::string> Save() = 0;
};

class SelectionDialogModel {
 public:
  // `messages` shows the questions (owned by the dialog's window).
  SelectionDialogModel(Platform& platform, MessageBoxes& messages, ModifiedTimeText timeText);
  ~SelectionDialogModel();

  void AddPart(std::unique_ptr<SelectionDialogPart> part);

  // The opening steps: switches, the Windows Mail probe, custom items, plug-ins.
  void Open();

  // Boxes by their index in ItemSwitches().
  bool Ticked(std::size_t index) const { return ticked_[index]; }
  bool Enabled(std::size_t index) const { return enabled_[index]; }
  void SetTicked(std::size_t index, bool ticked);
  bool WindowsMailPresent() const { return windowsMailPresent_; }

  // A select-all box was clicked into `ticked`: sets its frame's group, the
  // Internet Explorer one with its two questions.
  void SelectAll(SelectionFrame frame, bool ticked);
  // Whether the frame's select-all box is usable (the Windows Mail one is not without Windows Mail).
  bool SelectAllEnabled(SelectionFrame frame) const;
  // The focus left a box: "IE Favorites" and "IE Downloaded Files(Only IE9)"
  // ask while ticked. Returns true when the box changed.
  bool ConfirmOnLeave(std::size_t index);

  // Custom items.
  const std::vector<CustomItemRow>& CustomItems() const { return customItems_; }
  // "Add Files": one "File" row per picked name; stops quietly at a file that is gone.
  void AddFiles(const SelectedFiles& picked);
  // "Add Folders": one "Folder" row; false when the folder is gone.
  bool AddFolder(std::string path);
  // "Remove": the selected row, if any and if its text is not empty.
  void RemoveCustomItem(std::optional<std::size_t> selected);
  void ClearCustomItems() { customItems_.clear(); }

  // Plug-ins.
  const std::vector<PluginRow>& Plugins() const { return plugins_; }
  void SetPluginTicked(std::size_t index, bool ticked);

  // "OK": writes the switches and the parts' switches (one atomic replace of the selection file),
  // the custom item file and each plug-in's tick. Returns the files that
  // could not be written (empty on success); every write is tried.
  std::vector<std::string> Save();
  // The message for files that could not be written.
  static std::string SaveFailedMessage(const std::vector<std::string>& files);

  std::string SelectionFile() const;
  std::string CustomItemFile() const;
  std::string PluginFolderPath() const;

 private:
  void Confirm(std::size_t index, std::string_view question);

  Platform& platform_;
  MessageBoxes& messages_;
  ModifiedTimeText timeText_;
  std::vector<bool> ticked_;
  std::vector<bool> enabled_;
  bool windowsMailPresent_ = true;
  std::vector<CustomItemRow> customItems_;
  Status customListRead_ = kErrFileNotFound;  // how the custom item file was read at Load
  std::vector<PluginRow> plugins_;
  std::vector<std::unique_ptr<SelectionDialogPart>> parts_;
};

}  // namespace cv
