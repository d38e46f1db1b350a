#pragma once
// The texts of the analysis, cancel and details additions of the main window.
#include <string>
#include <string_view>

#include "app/analysis.h"

namespace cv::texts {

inline constexpr std::string_view kAnalyze = "&Analyze";
inline constexpr std::string_view kFilesColumn = "Files";
inline constexpr std::string_view kSizeColumn = "Size";
inline constexpr std::string_view kPathColumn = "Path";
inline constexpr std::string_view kKindColumn = "Kind";
inline constexpr std::string_view kDetailsLabel = "Entries of the selected row:";
inline constexpr std::string_view kFilterLabel = "F&ilter:";
inline constexpr std::string_view kRefusedKind = " (refused)";
inline constexpr std::string_view kAnalysisCancelled = "Analysis cancelled: nothing was erased.";

// "Analysis: 12 files and folders, 1.50 KB would be released. Start Cleaning erases exactly these."
inline std::string AnalysisSummary(const AnalysisStore::RowFigures& totals) {
  return "Analysis: " + std::to_string(totals.files) + " files and folders, " + SizeText(totals.bytes) +
         " would be released. Start Cleaning erases exactly these.";
}

}  // namespace cv::texts
