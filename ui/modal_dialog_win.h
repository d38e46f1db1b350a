#pragma once
// The program's modal dialog: one procedure that stores `this` and hands each
// message to the dialog's handlers, and the program's own modal loop (so keys
// such as Ctrl+Tab can be seen before the dialog manager takes them). A
// dialog is built in code (an empty template with the shell dialog font, and
// helpers that create controls and measure text in that font) or comes from a
// template of the resources. Enter and Esc work as in every dialog: IDOK (the
// default button) and IDCANCEL.
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui.h"
#include "platform/win32/win.h"

namespace cv::ui {

class ModalDialog {
 public:
  virtual ~ModalDialog() = default;

  // Shows the dialog over `owner` (disabled meanwhile) until End; returns End's code.
  // Built in code: OnInit creates the controls; the dialog is centred over its owner.
  INT_PTR Run(HINSTANCE instance, HWND owner, std::wstring_view caption);
  // From the dialog template `templateId`, placed as the template says.
  INT_PTR Run(HINSTANCE instance, HWND owner, int templateId);

  HWND Handle() const { return dialog_; }
  HINSTANCE Instance() const { return instance_; }
  void End(INT_PTR code);

 protected:
  // Creates or fills the controls and sizes the dialog (ClientSize).
  virtual void OnInit() = 0;
  // WM_COMMAND from a control, menu or the dialog manager (IDOK, IDCANCEL).
  virtual void OnCommand(int id, int code, HWND control) = 0;
  virtual LRESULT OnNotify(NMHDR* header) { return 0; }
  // A message from the loop before the dialog manager sees it; true to drop it.
  virtual bool PreTranslate(const MSG& message) { return false; }
  // Any other message: the procedure's result when handled, nullopt to leave it
  // to the dialog manager.
  virtual std::optional<INT_PTR> OnMessage(UINT message, WPARAM wParam, LPARAM lParam) { return std::nullopt; }
  // Called by OnInit that has put the focus where it belongs itself.
  void KeepInitialFocus() { keepInitialFocus_ = true; }

 public:
  // A child control of `parent` (the dialog when null) with the dialog's font.
  HWND AddControl(const wchar_t* className, std::wstring_view text, DWORD style, int id, HWND parent = nullptr,
                  DWORD exStyle = 0);
  // Dialog units to pixels, horizontally and vertically.
  int DluX(int units) const;
  int DluY(int units) const;
  // The width of a text in the dialog's font, in pixels ("&" mnemonics not counted).
  int TextWidth(std::wstring_view text) const;
  // Resizes the dialog so its client area has this size.
  void SetClientSize(int width, int height);
  HFONT Font() const;

 private:
  static INT_PTR CALLBACK Proc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  INT_PTR Loop(HWND owner);
  void CentreOverOwner();

  HINSTANCE instance_ = nullptr;
  bool builtInCode_ = false;
  bool keepInitialFocus_ = false;
  HWND dialog_ = nullptr;
  bool ended_ = false;
  INT_PTR result_ = IDCANCEL;
};

// Message boxes owned by a modal dialog, so they stay in front of it.
class DialogMessageBoxes : public MessageBoxes {
 public:
  explicit DialogMessageBoxes(const ModalDialog& dialog) : dialog_(dialog) {}
  int Show(std::string_view text, std::string_view caption, unsigned style) override;

 private:
  const ModalDialog& dialog_;
};

// Moves and sizes a control (pixels, relative to its parent).
void PlaceControl(HWND control, int x, int y, int width, int height);

}  // namespace cv::ui
