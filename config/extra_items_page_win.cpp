#include "config/extra_items_page_win.h"

#include <commctrl.h>

#include <algorithm>

#include "clean/item_list.h"
#include "clean/items_modern_browsers.h"
#include "clean/items_modern_windows.h"
#include "clean/winapp2_items.h"
#include "keep/domain_keep_window.h"
#include "keep/domain_keep_window_win.h"
#include "platform/win32/text_win.h"
#include "platform/win32/win.h"
#include "resources/modern_browsers_res.h"
#include "resources/modern_windows_res.h"
#include "resources/winapp2_res.h"
#include "ui/controls_win.h"

namespace cv::ui {

namespace {

using win32::Widen;

constexpr std::string_view kWarningCaption = "Clearvane";

// What differs between the pages of two sources.
struct ExtraItemsPageSpec {
  std::string_view source;  // the items' source tag
  std::string_view caption;
  SourceTabPlace place;
  ExtraItemsOrder order;
  std::wstring_view nameColumn;  // caption of the name column
  bool groupColumn;              // a second column with the item's group
  int searchLabelId, searchId, listId, warningId;
  // The page's own button (none when the caption is empty), with its action.
  std::string_view buttonCaption;
  int buttonId;
  void (*onButton)(SelectionDialog&);
};

void ShowKeptDomains(SelectionDialog& dialog) {
  ShowDomainKeepList(dialog.Instance(), dialog.Handle(), dialog.Services());
}

// The pages, in source order.
constexpr ExtraItemsPageSpec kPages[] = {
    {kModernBrowsersSource, kModernBrowsersGroup, SourceTabPlace::kAfterBrowsers, ExtraItemsOrder::kAsGiven,
     L"Browser and traces", false, IDC_BROWSERS_SEARCH_LABEL, IDC_BROWSERS_SEARCH, IDC_BROWSERS_LIST,
     IDC_BROWSERS_WARNING, kKeptDomainsButtonCaption, IDC_BROWSERS_KEPT_DOMAINS, ShowKeptDomains},
    {kModernWindowsSource,
     kModernWindowsGroup,
     SourceTabPlace::kAfterWindows,
     ExtraItemsOrder::kAsGiven,
     L"Item",
     false,
     IDC_MODERN_WINDOWS_SEARCH_LABEL,
     IDC_MODERN_WINDOWS_SEARCH,
     IDC_MODERN_WINDOWS_LIST,
     IDC_MODERN_WINDOWS_NOTE,
     {},
     0,
     nullptr},
    {kWinapp2Source,
     "Applications (community)",
     SourceTabPlace::kAfterApplications,
     ExtraItemsOrder::kByGroupThenName,
     L"Application",
     true,
     IDC_COMMUNITY_SEARCH_LABEL,
     IDC_COMMUNITY_SEARCH,
     IDC_COMMUNITY_LIST,
     IDC_COMMUNITY_WARNING,
     {},
     0,
     nullptr},
};

class ExtraItemsPage : public PageContent {
 public:
  ExtraItemsPage(SelectionDialog& dialog, ExtraItemsPageModel& model, const ExtraItemsPageSpec& spec)
      : dialog_(dialog), model_(model), spec_(spec) {}

  void Create(HWND page) override {
    searchLabel_ = dialog_.AddControl(L"STATIC", Widen(kExtraItemsSearchCaption), SS_LEFT, spec_.searchLabelId, page);
    search_ = dialog_.AddControl(L"EDIT", L"", WS_TABSTOP | WS_BORDER | ES_AUTOHSCROLL, spec_.searchId, page);
    list_ = dialog_.AddControl(
        WC_LISTVIEWW, L"", WS_TABSTOP | WS_BORDER | LVS_REPORT | LVS_SINGLESEL | LVS_SHOWSELALWAYS, spec_.listId, page);
    ::SendMessageW(list_, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
    ui::InsertListColumn(list_, 0, spec_.nameColumn);
    if (spec_.groupColumn) ui::InsertListColumn(list_, 1, L"Group");
    if (!spec_.buttonCaption.empty())
      button_ = dialog_.AddControl(L"BUTTON", Widen(spec_.buttonCaption), WS_TABSTOP, spec_.buttonId, page);
    warning_ = dialog_.AddControl(L"STATIC", L"", SS_LEFT | SS_NOPREFIX, spec_.warningId, page);
  }

  SIZE MinimumSize() override { return {dialog_.DluX(400), dialog_.DluY(180)}; }

  void Place(SIZE area) override {
    const int margin = dialog_.DluX(7), line = dialog_.DluY(12), gap = dialog_.DluY(4);
    const int labelWidth = dialog_.TextWidth(Widen(kExtraItemsSearchCaption)) + dialog_.DluX(4);
    PlaceControl(searchLabel_, margin, margin + dialog_.DluY(2), labelWidth, line);
    PlaceControl(search_, margin + labelWidth, margin, area.cx - 2 * margin - labelWidth, line);
    const int warningHeight = dialog_.DluY(20);
    const int listTop = margin + line + gap;
    const int listHeight = std::max(static_cast<int>(area.cy) - listTop - warningHeight - gap - margin, line);
    const int width = area.cx - 2 * margin;
    PlaceControl(list_, margin, listTop, width, listHeight);
    // The page's button at the right below the list, the warning beside it.
    int warningWidth = width;
    if (button_) {
      const int buttonWidth =
          std::max(dialog_.DluX(50), dialog_.TextWidth(Widen(spec_.buttonCaption)) + dialog_.DluX(12));
      PlaceControl(button_, margin + width - buttonWidth, listTop + listHeight + gap, buttonWidth, dialog_.DluY(14));
      warningWidth -= buttonWidth + dialog_.DluX(6);
    }
    PlaceControl(warning_, margin, listTop + listHeight + gap, warningWidth, warningHeight);
    const int columns = width - ::GetSystemMetrics(SM_CXVSCROLL) - 4;
    if (spec_.groupColumn) {
      ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, columns * 3 / 5);
      ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 1, columns - columns * 3 / 5);
    } else {
      ::SendMessageW(list_, LVM_SETCOLUMNWIDTH, 0, columns);
    }
  }

  void Refresh() override { Fill(); }

  bool OnCommand(int id, int code) override {
    if (button_ && id == spec_.buttonId) {
      if (code == BN_CLICKED && spec_.onButton) spec_.onButton(dialog_);
      return true;
    }
    if (id != spec_.searchId) return false;
    if (code == EN_CHANGE) Fill();
    return true;
  }

  bool OnNotify(NMHDR* header) override {
    if (header->hwndFrom != list_) return false;
    if (header->code != LVN_ITEMCHANGED || filling_) return true;
    const auto* change = reinterpret_cast<NMLISTVIEW*>(header);
    if (change->iItem < 0 || static_cast<std::size_t>(change->iItem) >= shown_.size()) return true;
    const std::size_t index = shown_[static_cast<std::size_t>(change->iItem)];
    if ((change->uChanged & LVIF_STATE) && (change->uNewState & LVIS_STATEIMAGEMASK)) {
      const bool ticked = ListView_GetCheckState(list_, change->iItem) != 0;
      if (ticked != model_.Ticked(index)) {
        const std::string warning = model_.SetTicked(index, ticked);
        if (!warning.empty())
          ::MessageBoxW(dialog_.Handle(), Widen(warning).c_str(), Widen(kWarningCaption).c_str(),
                        MB_OK | MB_ICONWARNING);
      }
    }
    if (change->uNewState & LVIS_SELECTED) ShowNote(index);
    return true;
  }

 private:
  void Fill() {
    filling_ = true;
    ::SendMessageW(list_, LVM_DELETEALLITEMS, 0, 0);
    shown_ = model_.Visible(win32::Narrow(ui::WindowText(search_)));
    for (std::size_t row = 0; row < shown_.size(); ++row) {
      const Item& item = model_.At(shown_[row]);
      const int inserted = ui::InsertListRow(list_, static_cast<int>(row), Widen(item.displayName));
      if (spec_.groupColumn && inserted >= 0) ui::SetListCell(list_, inserted, 1, Widen(item.group));
      ListView_SetCheckState(list_, static_cast<int>(row), model_.Ticked(shown_[row]));
    }
    ::SetWindowTextW(warning_, L"");
    filling_ = false;
  }

  // Below the list: what the selected item erases, then its warning.
  void ShowNote(std::size_t index) {
    const Item& item = model_.At(index);
    std::string text = item.description;
    if (!item.warning.empty()) text += (text.empty() ? "" : "\r\n") + ("Warning: " + item.warning);
    ::SetWindowTextW(warning_, Widen(text).c_str());
  }

  SelectionDialog& dialog_;
  ExtraItemsPageModel& model_;
  const ExtraItemsPageSpec& spec_;
  HWND searchLabel_ = nullptr, search_ = nullptr, list_ = nullptr, button_ = nullptr, warning_ = nullptr;
  std::vector<std::size_t> shown_;  // model index of each row
  bool filling_ = false;
};

}  // namespace

std::vector<SourceTab> SourceTabs() {
  // One load of the sources for all pages of a dialog, made when its first page is built.
  auto items = std::make_shared<std::optional<std::vector<Item>>>();
  std::vector<SourceTab> tabs;
  for (const ExtraItemsPageSpec& spec : kPages) {
    tabs.push_back(
        {Widen(spec.caption), spec.place, [&spec, items](SelectionDialog& dialog) -> std::unique_ptr<PageContent> {
           if (!*items) *items = OtherSourceItems(dialog.Services());
           auto model = std::make_unique<ExtraItemsPageModel>(dialog.Services(), **items, spec.source, spec.order);
           ExtraItemsPageModel& kept = *model;
           dialog.Model().AddPart(std::move(model));
           return std::make_unique<ExtraItemsPage>(dialog, kept, spec);
         }});
  }
  return tabs;
}

}  // namespace cv::ui
