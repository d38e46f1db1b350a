#pragma once
// The installed Office version, as the Office items need it.
#include <string>
#include <string_view>

namespace cv {

class OfficeDetector;

// "Office97" ... "Office2010" from the word processor's version text, the
// first of "8", "9", "10", "11", "12", "14" the text contains deciding (so
// "18.0" gives "Office97"); empty text when none occurs; "NoOffice" when
// there is no detector or no word processor to ask.
std::string GetOfficeVersion(OfficeDetector* detector);
// The registry sub-key of a version name: "Office97" -> "8.0" ... "Office2010"
// -> "14.0"; empty text for any other name.
std::string OfficeVersionNumber(std::string_view versionName);

}  // namespace cv
