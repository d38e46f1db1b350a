#include "platform/win32/url_history_win.h"

#include "platform/win32/text_win.h"

namespace cv::win32 {
namespace {

// CLSID_CUrlHistory, {3C374A40-BAE4-11CF-BF7D-00AA006946EE}.
constexpr GUID kClsidUrlHistory = {0x3c374a40, 0xbae4, 0x11cf, {0xbf, 0x7d, 0x00, 0xaa, 0x00, 0x69, 0x46, 0xee}};

Status ToStatus(HRESULT result) { return SUCCEEDED(result) ? kOk : static_cast<Status>(result); }

std::int64_t FromFileTime(const FILETIME& time) {
  return static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
}

std::string TakeTaskText(LPWSTR text) {
  if (!text) return {};
  std::string result = Narrow(std::wstring_view(text, static_cast<std::size_t>(::lstrlenW(text))));
  ::CoTaskMemFree(text);
  return result;
}

}  // namespace

ComApartment::ComApartment() {
  const HRESULT result = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  initialised_ = SUCCEEDED(result);
  // RPC_E_CHANGED_MODE: COM is already set up on this thread in another mode; usable, not ours to undo.
  usable_ = initialised_ || result == RPC_E_CHANGED_MODE;
}

ComApartment::~ComApartment() {
  if (initialised_) ::CoUninitialize();
}

Win32UrlHistoryStore::Win32UrlHistoryStore(std::unique_ptr<ComApartment> apartment, ComPtr<IUrlHistoryStg2> store)
    : apartment_(std::move(apartment)), store_(std::move(store)) {}

std::unique_ptr<Win32UrlHistoryStore> Win32UrlHistoryStore::Create() {
  auto apartment = std::make_unique<ComApartment>();
  if (!apartment->Usable()) return nullptr;
  ComPtr<IUrlHistoryStg2> store;
  const HRESULT result = ::CoCreateInstance(kClsidUrlHistory, nullptr, CLSCTX_INPROC_SERVER, __uuidof(IUrlHistoryStg2),
                                            reinterpret_cast<void**>(store.put()));
  if (FAILED(result) || !store) return nullptr;
  return std::unique_ptr<Win32UrlHistoryStore>(new Win32UrlHistoryStore(std::move(apartment), std::move(store)));
}

Status Win32UrlHistoryStore::AddUrl(std::string_view url, std::string_view title, std::uint32_t flags) {
  const std::wstring wideUrl = Widen(url), wideTitle = Widen(title);
  return ToStatus(store_.get()->AddUrl(wideUrl.c_str(), wideTitle.c_str(), flags));
}

Status Win32UrlHistoryStore::DeleteUrl(std::string_view url, std::uint32_t flags) {
  const std::wstring wideUrl = Widen(url);
  return ToStatus(store_.get()->DeleteUrl(wideUrl.c_str(), flags));
}

Status Win32UrlHistoryStore::ClearHistory() { return ToStatus(store_.get()->ClearHistory()); }

Status Win32UrlHistoryStore::Enumerate(std::string_view prefix, std::uint32_t flags,
                                       const std::function<void(const UrlHistoryEntry&)>& visit) {
  ComPtr<IEnumSTATURL> enumerator;
  HRESULT result = store_.get()->EnumUrls(enumerator.put());
  if (FAILED(result) || !enumerator) return FAILED(result) ? ToStatus(result) : kErrInvalidHandle;
  const std::wstring widePrefix = Widen(prefix);
  result = enumerator.get()->SetFilter(prefix.empty() ? nullptr : widePrefix.c_str(), flags);
  if (FAILED(result)) return ToStatus(result);
  for (;;) {
    STATURL record{};
    record.cbSize = sizeof(record);
    ULONG fetched = 0;
    result = enumerator.get()->Next(1, &record, &fetched);
    if (result != S_OK || fetched != 1) break;
    UrlHistoryEntry entry;
    entry.url = TakeTaskText(record.pwcsUrl);  // frees the enumerator's buffers at once
    entry.title = TakeTaskText(record.pwcsTitle);
    entry.lastVisited = FromFileTime(record.ftLastVisited);
    entry.lastUpdated = FromFileTime(record.ftLastUpdated);
    entry.expires = FromFileTime(record.ftExpires);
    entry.flags = record.dwFlags;
    visit(entry);
  }
  return FAILED(result) ? ToStatus(result) : kOk;
}

LocalTime Win32UrlHistoryStore::ToLocalTime(std::int64_t utcFileTime) {
  const auto bits = static_cast<std::uint64_t>(utcFileTime);
  const FILETIME utc{static_cast<DWORD>(bits), static_cast<DWORD>(bits >> 32)};
  FILETIME local{};
  SYSTEMTIME calendar{};
  LocalTime time;
  if (!::FileTimeToLocalFileTime(&utc, &local) || !::FileTimeToSystemTime(&local, &calendar)) return time;
  time.year = calendar.wYear;
  time.month = calendar.wMonth;
  time.day = calendar.wDay;
  time.hour = calendar.wHour;
  time.minute = calendar.wMinute;
  time.second = calendar.wSecond;
  time.dayOfWeek = calendar.wDayOfWeek;
  return time;
}

}  // namespace cv::win32
