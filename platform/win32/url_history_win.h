#pragma once
// Internet Explorer's URL history store over COM (IUrlHistoryStg2 and
// IEnumSTATURL of the CUrlHistory object).
#include <urlhist.h>

#include <memory>

#include "platform/url_history.h"
#include "platform/win32/unique_handle.h"

namespace cv::win32 {

template <typename Interface>
void ReleaseCom(Interface* object) {
  object->Release();
}
template <typename Interface>
Interface* NullCom() {
  return nullptr;
}
template <typename Interface>
using ComPtr = UniqueHandle<Interface*, ReleaseCom<Interface>, NullCom<Interface>>;

// Keeps COM initialised on this thread while it lives (balanced with
// CoUninitialize only when the initialisation succeeded).
class ComApartment {
 public:
  ComApartment();
  ~ComApartment();
  ComApartment(const ComApartment&) = delete;
  ComApartment& operator=(const ComApartment&) = delete;
  bool Usable() const { return usable_; }

 private:
  bool initialised_ = false;
  bool usable_ = false;
};

class Win32UrlHistoryStore : public UrlHistoryStore {
 public:
  // Creates the store object; null when the system has none (no Internet
  // Explorer, COM unusable), so callers simply go without.
  static std::unique_ptr<Win32UrlHistoryStore> Create();

  Status AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) override;
  Status DeleteUrl(std::string_view url, std::uint32_t flags) override;
  Status ClearHistory() override;
  Status Enumerate(std::string_view prefix, std::uint32_t flags,
                   const std::function<void(const UrlHistoryEntry&)>& visit) override;
  LocalTime ToLocalTime(std::int64_t utcFileTime) override;

 private:
  Win32UrlHistoryStore(std::unique_ptr<ComApartment> apartment, ComPtr<IUrlHistoryStg2> store);

  std::unique_ptr<ComApartment> apartment_;  // destroyed after the store is released
  ComPtr<IUrlHistoryStg2> store_;
};

}  // namespace cv::win32
