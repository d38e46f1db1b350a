#include "config/selection_pages.h"

#include "ui/mnemonics.h"

namespace cv {

namespace {

std::size_t IndexOf(const ItemSwitch* itemSwitch) {
  return static_cast<std::size_t>(itemSwitch - ItemSwitches().data());
}

void AddFrame(std::vector<PageFrame>& frames, SelectionFrame frame) {
  PageFrame page{frame, {}};
  if (frame == SelectionFrame::kCustomItem) {
    page.controls.push_back({PageControlKind::kCustomList, 0, ""});
    page.controls.push_back({PageControlKind::kCustomAdd, 0, "Add"});
    page.controls.push_back({PageControlKind::kCustomRemove, 0, "Remove"});
    page.controls.push_back({PageControlKind::kCustomClear, 0, "Clear"});
  }
  for (const ItemSwitch* box : SwitchesInFrame(frame)) {
    page.controls.push_back({PageControlKind::kSwitchBox, IndexOf(box), std::string(box->caption)});
    // The keep-list buttons stand beside their boxes and come next in tab order.
    if (box->checkBox == "Check1") page.controls.push_back({PageControlKind::kUrlOptions, 0, "Options"});
    if (box->checkBox == "Check4") page.controls.push_back({PageControlKind::kCookieOptions, 0, "Options"});
  }
  if (!FrameInfo(frame).selectAllBox.empty())
    page.controls.push_back({PageControlKind::kSelectAll, 0, std::string(kSelectAllCaption)});
  frames.push_back(std::move(page));
}

}  // namespace

std::vector<PageFrame> PageLayout(SelectionPage page) {
  std::vector<PageFrame> frames;
  if (page == SelectionPage::kApplications) frames.push_back({std::nullopt, {{PageControlKind::kPluginList, 0, ""}}});
  for (const SelectionFrameInfo& frame : SelectionFrames())
    if (frame.page == page) AddFrame(frames, frame.frame);

  std::vector<std::string_view> captions;
  for (const PageFrame& frame : frames)
    for (const PageControl& control : frame.controls)
      if (!control.caption.empty()) captions.push_back(control.caption);
  const std::vector<std::string> marked = AssignMnemonics(captions);
  std::size_t next = 0;
  for (PageFrame& frame : frames)
    for (PageControl& control : frame.controls)
      if (!control.caption.empty()) control.caption = marked[next++];
  return frames;
}

}  // namespace cv
