#include "clean/url_history.h"

#include <utility>

namespace cv {

namespace {
constexpr Status kNoStore = static_cast<Status>(0x80004005);  // E_FAIL
}

URLHistoryItem::URLHistoryItem(UrlHistoryStore& store, UrlHistoryEntry entry)
    : entry_(std::move(entry)),
      lastVisited_(store.ToLocalTime(entry_.lastVisited)),
      expires_(store.ToLocalTime(entry_.expires)),
      lastUpdated_(store.ToLocalTime(entry_.lastUpdated)) {}

CURLHistory::CURLHistory(UrlHistoryStore* store) : store_(store) { Refresh(); }

Status CURLHistory::AddURL(std::string_view url, std::string_view title, std::uint32_t flags) {
  if (!store_) return kNoStore;
  return store_->AddUrl(url, title, flags);
}

Status CURLHistory::Clear() {
  if (!store_) return kNoStore;
  const Status status = store_->ClearHistory();
  Refresh();
  return status;
}

Status CURLHistory::Refresh(std::string_view prefix, std::uint32_t flags) {
  items_.clear();
  if (!store_) return kNoStore;
  std::vector<ItemPtr> fresh;
  const Status status = store_->Enumerate(prefix, flags, [&](const UrlHistoryEntry& entry) {
    fresh.push_back(std::make_shared<const URLHistoryItem>(*store_, entry));
  });
  if (status == kOk) items_ = std::move(fresh);
  return status;
}

CURLHistory::ItemPtr CURLHistory::Item(long index) const {
  if (index < 1 || index > Count()) return nullptr;
  return items_[static_cast<std::size_t>(index - 1)];
}

Status CURLHistory::Remove(long index) {
  if (!store_) return kNoStore;
  if (index < 1 || index > Count()) return kErrInvalidParameter;
  const auto position = items_.begin() + (index - 1);
  const Status status = store_->DeleteUrl((*position)->URL(), 0);
  items_.erase(position);
  return status;
}

Status CURLHistory::DeleteURL(std::string_view url, std::uint32_t flags) {
  if (!store_) return kNoStore;
  const Status status = store_->DeleteUrl(url, flags);
  Refresh();
  return status;
}

}  // namespace cv
