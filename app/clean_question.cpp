#include "app/clean_question.h"

namespace cv {

std::string CleanQuestionText(const AnalysisStore::RowFigures* listed) {
  constexpr std::string_view kAsk = "\r\n\r\nClean now?";
  if (!listed)
    return "The ticked items will be erased permanently: what is erased cannot be brought back.\r\n"
           "\"Analyze\" shows first what would be erased, without erasing anything." +
           std::string(kAsk);
  const std::string count = std::to_string(listed->erasable) + (listed->erasable == 1 ? " entry" : " entries");
  return "The analysis listed " + count + ", " + SizeText(listed->bytes) +
         ". What it listed will be erased permanently and cannot be brought back." + std::string(kAsk);
}

}  // namespace cv
