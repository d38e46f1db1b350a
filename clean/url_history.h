#pragma once
// Internet Explorer's URL history as a collection: the entries of the store,
// snapshot by Refresh, with operations to add, delete and clear.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "platform/url_history.h"

namespace cv {

// One history entry: a copy of the store's record, with its times already
// converted from UTC to local time (reading them never changes the record).
class URLHistoryItem {
 public:
  URLHistoryItem(UrlHistoryStore& store, UrlHistoryEntry entry);

  LocalTime LastVisited() const { return lastVisited_; }
  LocalTime Expires() const { return expires_; }
  LocalTime LastUpdated() const { return lastUpdated_; }
  const std::string& URL() const { return entry_.url; }
  std::uint32_t FLAGS() const { return entry_.flags; }
  const std::string& Title() const { return entry_.title; }
  // The record as the store returned it (UTC times).
  const UrlHistoryEntry& Record() const { return entry_; }

 private:
  UrlHistoryEntry entry_;
  LocalTime lastVisited_, expires_, lastUpdated_;
};

// Items are shared, so an item stays valid after the collection that
// produced it was replaced. A CURLHistory without a store (the system has
// none) is empty and every operation does nothing.
class CURLHistory {
 public:
  using ItemPtr = std::shared_ptr<const URLHistoryItem>;

  // Snapshots the whole store (Refresh with no filter).
  explicit CURLHistory(UrlHistoryStore* store);

  bool HasStore() const { return store_ != nullptr; }

  // Adds to the store; the collection is not refreshed.
  Status AddURL(std::string_view url, std::string_view title, std::uint32_t flags);
  long Count() const { return static_cast<long>(items_.size()); }
  // Empties the store, then refreshes.
  Status Clear();
  // Rebuilds the collection from the entries the prefix filter passes. On a
  // failed enumeration the collection is left empty.
  Status Refresh(std::string_view prefix = {}, std::uint32_t flags = 0);
  // The item at `index`, counted from 1; null outside 1..Count.
  ItemPtr Item(long index) const;
  // Deletes the entry at `index` (from 1) from the store and the collection;
  // later items move up by one. An index outside 1..Count does nothing.
  Status Remove(long index);
  // Deletes the address from the store, then refreshes.
  Status DeleteURL(std::string_view url, std::uint32_t flags);

  // The collection's own enumeration, in order.
  std::vector<ItemPtr>::const_iterator begin() const { return items_.begin(); }
  std::vector<ItemPtr>::const_iterator end() const { return items_.end(); }

 private:
  UrlHistoryStore* store_;
  std::vector<ItemPtr> items_;
};

}  // namespace cv
