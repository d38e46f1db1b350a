#include "keep/domain_keep_window.h"

#include "platform/text.h"

namespace cv {

std::string DomainAddMessage(DomainKeepListModel::AddResult result, std::string_view typed, std::string_view file) {
  using enum DomainKeepListModel::AddResult;
  const std::string shown(TrimBlanks(typed));
  switch (result) {
    case kAdded:
      return {};
    case kNotADomain:
      return "\"" + shown + "\" is not a domain. Type a domain such as example.com, without spaces or \"*\".";
    case kAlreadyListed:
      return "\"" + NormalizeKeptDomain(typed) +
             "\" is already listed: the list holds it or a domain it belongs to, whose sub-domains are kept too.";
    case kNotSaved:
      return DomainNotSavedMessage(file);
  }
  return {};
}

std::string DomainNotSavedMessage(std::string_view file) {
  return "The list could not be saved to " + std::string(file) +
         ". The file may be read-only or in use; the list was not changed.";
}

}  // namespace cv
