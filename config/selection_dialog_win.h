#pragma once
// The "Cleaning Settings" dialog (frmsettings): a Win32 view over
// SelectionDialogModel, built in code from the switch table. Its tabs come
// from a list (config/selection_tabs_win.h), each tab with a builder for its content, so a
// new page is one more entry and a PageContent of its own.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "config/selection_dialog.h"
#include "platform/platform.h"
#include "ui/modal_dialog_win.h"

namespace cv::ui {

class SelectionDialog;

// The controls of one page. Controls are children of the page window given
// to Create; their WM_COMMAND and WM_NOTIFY reach the content's handlers.
class PageContent {
 public:
  virtual ~PageContent() = default;
  virtual void Create(HWND page) = 0;
  // The room the page needs, in pixels.
  virtual SIZE MinimumSize() = 0;
  // Lays the controls out in the page's final size.
  virtual void Place(SIZE area) = 0;
  // Model to controls.
  virtual void Refresh() = 0;
  // True when the command or notification was the content's.
  virtual bool OnCommand(int id, int code) = 0;
  virtual bool OnNotify(NMHDR* header) { return false; }
};

// One tab: either content of its own or a tab control with sub-tabs.
struct SelectionTab {
  std::wstring caption;
  std::function<std::unique_ptr<PageContent>(SelectionDialog&)> content;
  std::vector<SelectionTab> children;
};

// The content builder of one of the built-in item pages, laid out from the
// switch table.
std::function<std::unique_ptr<PageContent>(SelectionDialog&)> LayoutPageFor(SelectionPage page);

class SelectionDialog : public ModalDialog {
 public:
  SelectionDialog(Platform& platform, std::vector<SelectionTab> tabs);

  SelectionDialogModel& Model() { return model_; }
  Platform& Services() { return platform_; }

 private:
  struct Page {
    std::wstring caption;
    HWND window = nullptr;
    std::unique_ptr<PageContent> content;  // null for a page holding sub-tabs
    HWND subTabs = nullptr;
    std::vector<Page> children;
    int selected = 0;
  };

  void OnInit() override;
  void OnCommand(int id, int code, HWND control) override;
  LRESULT OnNotify(NMHDR* header) override;
  bool PreTranslate(const MSG& message) override;

  Page BuildPage(SelectionTab& tab, HWND parent);
  HWND AddTabs(HWND parent, const std::vector<Page>& pages, int id, DWORD style = 0);
  SIZE Measure(Page& page);
  void Layout(HWND tabs, std::vector<Page>& pages, RECT area);
  void ShowSelected(HWND tabs, std::vector<Page>& pages, int selected);
  void StepPage(int step);
  void Ok();
  // Calls `visit` for every page with content.
  void ForEachContent(const std::function<void(PageContent&)>& visit);

  Platform& platform_;
  DialogMessageBoxes questions_;
  SelectionDialogModel model_;
  std::vector<SelectionTab> tabs_;
  std::vector<Page> pages_;
  HWND topTabs_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  int nextPageId_ = 0;
};

}  // namespace cv::ui
