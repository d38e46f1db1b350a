#include "app/analysis.h"

#include <algorithm>
#include <cstdio>
#include <numeric>

#include "platform/text.h"

namespace cv {

void AnalysisStore::BeginRow(std::string_view item) {
  Row row;
  row.item = item;
  row.first = static_cast<EntryIndex>(entries_.size());
  rows_.push_back(std::move(row));
}

std::uint32_t AnalysisStore::FolderId(std::string_view folder) {
  if (const auto found = folderIds_.find(folder); found != folderIds_.end()) return found->second;
  const auto id = static_cast<std::uint32_t>(folders_.size());
  folders_.emplace_back(folder);
  folderIds_.emplace(folders_.back(), id);
  return id;
}

void AnalysisStore::Erased(const EraseEntry& entry) {
  // Offsets are 32-bit: past 4 GB of names (or 4 billion entries) entries
  // are not kept, so a clean limited to this analysis leaves them alone.
  if (names_.size() + entry.path.size() > 0xFFFFFFFFu || entries_.size() >= 0xFFFFFFFEu) return;
  if (rows_.empty()) BeginRow("");
  const std::string_view path = entry.path;
  const size_t cut = path.rfind('\\');
  const std::string_view name = cut == std::string_view::npos ? path : path.substr(cut + 1);
  Entry stored{cut == std::string_view::npos ? kNoFolder : FolderId(path.substr(0, cut)),
               static_cast<std::uint32_t>(names_.size()),
               static_cast<std::uint32_t>(name.size()),
               entry.kind,
               entry.refused,
               entry.bytes};
  names_.append(name);
  entries_.push_back(stored);

  Row& row = rows_.back();
  ++row.count;
  ++row.figures.entries;
  if (!entry.refused) {
    ++row.figures.erasable;
    if (entry.kind == EntryKind::File || entry.kind == EntryKind::Folder) ++row.figures.files;
    row.figures.bytes += entry.bytes;
  }
}

void AnalysisStore::Clear() {
  folderIds_.clear();
  folders_.clear();
  std::string().swap(names_);
  std::vector<Entry>().swap(entries_);
  rows_.clear();
}

AnalysisStore::RowFigures AnalysisStore::Totals() const {
  RowFigures totals;
  for (const Row& row : rows_) {
    totals.files += row.figures.files;
    totals.entries += row.figures.entries;
    totals.erasable += row.figures.erasable;
    totals.bytes += row.figures.bytes;
  }
  return totals;
}

std::string_view AnalysisStore::Name(EntryIndex entry) const {
  const Entry& e = entries_[entry];
  return std::string_view(names_).substr(e.nameOffset, e.nameLength);
}

void AnalysisStore::AppendPath(EntryIndex entry, std::string& out) const {
  const Entry& e = entries_[entry];
  if (e.folder != kNoFolder) {
    out += folders_[e.folder];
    out += '\\';
  }
  out += Name(entry);
}

std::string AnalysisStore::Path(EntryIndex entry) const {
  std::string path;
  AppendPath(entry, path);
  return path;
}

AllowList AnalysisStore::Allowed() const {
  AllowList allowed;
  std::string path;
  for (EntryIndex i = 0; i < entries_.size(); ++i) {
    if (entries_[i].refused) continue;
    path.clear();
    AppendPath(i, path);
    allowed.Add(entries_[i].kind, path);
  }
  allowed.Finish();
  return allowed;
}

std::vector<AnalysisStore::EntryIndex> DetailRows(const AnalysisStore& store, std::size_t row, std::string_view filter,
                                                  DetailColumn sortBy, bool ascending) {
  std::vector<AnalysisStore::EntryIndex> rows;
  if (row >= store.RowCount()) return rows;
  const AnalysisStore::EntryIndex first = store.RowFirst(row), count = store.RowCountOfEntries(row);
  const std::string needle = AsciiLower(filter);
  std::string path;
  rows.reserve(count);
  for (AnalysisStore::EntryIndex i = first; i < first + count; ++i) {
    if (!needle.empty()) {
      path.clear();
      store.AppendPath(i, path);
      for (char& c : path) c = AsciiLower(c);
      if (path.find(needle) == std::string::npos) continue;
    }
    rows.push_back(i);
  }

  // Paths are ordered by folder, then name, each without regard to case;
  // folders are ranked once so that comparing two entries is cheap.
  auto lessText = [](std::string_view a, std::string_view b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return AsciiLower(x) < AsciiLower(y); });
  };
  std::vector<std::uint32_t> folderRank;
  if (sortBy == DetailColumn::Path) {
    std::vector<std::uint32_t> order(store.FolderCount());
    std::iota(order.begin(), order.end(), 0u);
    std::sort(order.begin(), order.end(),
              [&](std::uint32_t a, std::uint32_t b) { return lessText(store.FolderText(a), store.FolderText(b)); });
    folderRank.resize(order.size());
    for (std::uint32_t rank = 0; rank < order.size(); ++rank) folderRank[order[rank]] = rank;
  }
  auto rankOf = [&](AnalysisStore::EntryIndex e) {
    const std::uint32_t folder = store.FolderOf(e);
    return folder < folderRank.size() ? folderRank[folder] : 0xFFFFFFFFu;
  };
  auto less = [&](AnalysisStore::EntryIndex a, AnalysisStore::EntryIndex b) {
    switch (sortBy) {
      case DetailColumn::Size:
        return store.Bytes(a) < store.Bytes(b);
      case DetailColumn::Kind:
        return EntryKindName(store.Kind(a)) < EntryKindName(store.Kind(b));
      case DetailColumn::Path:
        if (rankOf(a) != rankOf(b)) return rankOf(a) < rankOf(b);
        return lessText(store.Name(a), store.Name(b));
    }
    return false;
  };
  // Stable, so equal sizes or kinds keep the order the run found them in.
  if (ascending)
    std::stable_sort(rows.begin(), rows.end(), less);
  else
    std::stable_sort(rows.begin(), rows.end(), [&](auto a, auto b) { return less(b, a); });
  return rows;
}

std::string SizeText(double bytes) {
  char text[64];
  if (bytes < 1024)
    std::snprintf(text, sizeof text, "%.0f bytes", bytes);
  else if (bytes < 1048576.0)
    std::snprintf(text, sizeof text, "%.1f KB", bytes / 1024);
  else if (bytes < 1073741824.0)
    std::snprintf(text, sizeof text, "%.2f MB", bytes / 1048576.0);
  else
    std::snprintf(text, sizeof text, "%.2f GB", bytes / 1073741824.0);
  return text;
}

}  // namespace cv
