#pragma once
// The question before a clean the user started (the window's "Start
// Cleaning >>", File > Clean Now, the tray's "Clean Now"): what is about to
// be erased cannot be brought back, so the user confirms first. After an
// analysis the clean is limited to, the question names what it listed.
// "Do not ask again", ticked when the user cleans, stores
// DontAskBeforeCleaning=1; the Options dialog's "Ask before cleaning" turns
// the question back on. Runs nobody started never ask.
#include <string>
#include <string_view>

#include "app/analysis.h"

namespace cv {

namespace texts {
inline constexpr std::string_view kCleanQuestionCaption = "Clean Now";
inline constexpr std::string_view kCleanQuestionYes = "&Yes";
inline constexpr std::string_view kCleanQuestionNo = "&No";
inline constexpr std::string_view kDontAskAgain = "&Do not ask again";
}  // namespace texts

struct CleanAnswer {
  bool clean = false;         // "Yes"; "No", Esc and the close button erase nothing
  bool dontAskAgain = false;  // the check box as it stood when the user answered
};

// The question: the ticked items in general, or (with `listed`) the totals
// of the analysis the clean erases.
std::string CleanQuestionText(const AnalysisStore::RowFigures* listed);

}  // namespace cv
