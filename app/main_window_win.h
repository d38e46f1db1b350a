#pragma once
// The main window (frmMainCode): a Win32 view over MainController. It owns
// the controls, the tray icon, the pop-up feeding timer and the run's message
// pump.
#include <deque>
#include <memory>
#include <string>

#include "app/analysis_pane_win.h"
#include "app/boss_key_win.h"
#include "app/browser_close_offer_win.h"
#include "app/main_controller.h"
#include "app/navigation_bar_win.h"
#include "app/splash_win.h"
#include "app/tray_icon_win.h"
#include "notify/popup_window_win.h"
#include "ui/layout.h"
#include "ui/look_win.h"
#include "ui/window_win.h"

namespace cv::ui {

class MainWindow : public MainView, public Window {
 public:
  MainWindow(HINSTANCE instance, Platform platform);
  ~MainWindow() override;

  // Creates the window hidden and runs its load.
  bool Create(std::string_view startArgument, Splash* splash);
  // The splash's timer fired: show the window for the first time.
  void ShowFirstTime();
  HWND Handle() const { return window_; }
  // Handles accelerator keys for the message loop; true when it did.
  bool TranslateAccelerators(MSG& message);

  // MainView
  void ShowPanel(Panel panel) override;
  void ClearRows() override;
  void AddRow(std::string_view item, std::string_view status) override;
  void SetRowStatus(std::string_view status) override;
  void SetProgress(int value) override;
  void SetStatusLabel(std::string_view text) override;
  void SetStartEnabled(bool enabled) override;
  void SetBusy(bool busy) override;
  void PumpMessages() override;
  void SetLastCleaned(std::string_view text) override;
  void SetStatistics(std::string_view text) override;
  void HideWindow() override;
  void RestoreWindow() override;
  void ShowWindow() override;
  void ShowTrayMenu() override;
  void ShowAbout() override;
  CleanAnswer AskBeforeCleaning(std::string_view question) override;
  void OpenDialog(DialogKind dialog) override;
  ElevatedStart StartElevatedCopy(std::string_view arguments) override;
  void AddTrayIcon() override;
  void RemoveTrayIcon() override;
  void EndProgram() override;
  void SetAnalysisColumns(bool shown) override;
  void SetRowFigures(int row, std::string_view files, std::string_view size) override;
  void ShowAnalysis(const AnalysisStore* analysis) override;

 private:
  // The main window's messages and those of its two panels.
  LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT PanelMessage(HWND panel, UINT message, WPARAM wParam, LPARAM lParam);
  void CreateControls();
  void Layout();
  // Each lays out one panel of the given size and returns the height its
  // controls need (without `place`, the welcome panel is only measured).
  int LayoutWelcome(int width, int height, bool place = true);
  int LayoutStatus(int width, int height);
  void ApplyFonts();
  // Opens where the window was last left, fitted into the work area.
  void PlaceOnScreen();
  void SavePlacement();
  Box WorkArea() const;
  void OnNotify(const NMHDR& header);
  void ScaleResultColumns();
  // Lays the window out again once the messages queued now are handled.
  void RequestLayout();
  HWND Control(int id) const;
  // Gives the keyboard focus back to the control that last had it.
  void RestoreFocus();
  LRESULT ColorStatic(HDC dc, HWND control);

  HINSTANCE instance_;
  Platform platform_;
  HWND window_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HICON icon_ = nullptr;
  HICON smallIcon_ = nullptr;
  Splash* splash_ = nullptr;
  UINT dpi_ = 96;
  UINT taskbarCreated_ = 0;
  Fonts fonts_;
  SolidBrush panelBrush_{kPanelBackground};
  NavigationBar navigation_;
  HWND lastFocus_ = nullptr;
  HWND welcomePanel_ = nullptr;  // Frame2
  HWND statusPanel_ = nullptr;   // Frame4
  int currentRow_ = -1;
  AnalysisPane analysisPane_;
  SIZE minimumClient_{0, 0};  // what the controls need at the current DPI
  bool openMaximized_ = false;
  bool layoutPending_ = false;
  bool userPlaced_ = false;  // moved, resized, maximised or restored by the user
  bool wasMaximized_ = false;
  std::string savedPlacement_;
  bool busy_ = false;
  ULONGLONG lastPump_ = 0;
  TrayIcon tray_;
  std::deque<std::string> clickedKeys_;
  Win32PopupFactory popups_;
  NotificationSystem notifications_;
  MainController controller_;
  BossKeyWindow bossKey_;
  WindowBrowserCloser browserCloser_;
};

}  // namespace cv::ui
