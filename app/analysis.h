#pragma once
// What an analysis (a preview run) found, row by row of the results list:
// every entry with its path, size and kind, kept compactly (each folder's
// path once, names in one shared buffer, a few numbers per entry) so that
// half a million entries cost tens of megabytes, not their full paths.
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "clean/allow_list.h"
#include "clean/erase_entry.h"

namespace cv {

class AnalysisStore : public EraseSink {
 public:
  using EntryIndex = std::uint32_t;

  struct RowFigures {
    std::size_t files = 0;     // files and whole folders to erase
    std::size_t entries = 0;   // every entry, refused ones included
    std::size_t erasable = 0;  // every entry not refused: what a clean limited to the analysis erases
    double bytes = 0;
  };

  // A results row begins; the entries that follow belong to it.
  void BeginRow(std::string_view item);
  void Erased(const EraseEntry& entry) override;
  void Clear();

  std::size_t RowCount() const { return rows_.size(); }
  const std::string& RowItem(std::size_t row) const { return rows_[row].item; }
  const RowFigures& Figures(std::size_t row) const { return rows_[row].figures; }
  RowFigures Totals() const;
  // The row's entries are the indexes first .. first + count - 1.
  EntryIndex RowFirst(std::size_t row) const { return rows_[row].first; }
  EntryIndex RowCountOfEntries(std::size_t row) const { return rows_[row].count; }

  std::size_t EntryCount() const { return entries_.size(); }
  std::string Path(EntryIndex entry) const;
  void AppendPath(EntryIndex entry, std::string& out) const;
  EntryKind Kind(EntryIndex entry) const { return entries_[entry].kind; }
  double Bytes(EntryIndex entry) const { return entries_[entry].bytes; }
  bool Refused(EntryIndex entry) const { return entries_[entry].refused; }
  // The folder part and the name, as stored (for ordering without building paths).
  std::uint32_t FolderOf(EntryIndex entry) const { return entries_[entry].folder; }
  std::string_view FolderText(std::uint32_t folder) const { return folders_[folder]; }
  std::size_t FolderCount() const { return folders_.size(); }
  std::string_view Name(EntryIndex entry) const;

  // What a clean limited to this analysis may erase: every entry not refused.
  AllowList Allowed() const;

 private:
  static constexpr std::uint32_t kNoFolder = 0xFFFFFFFF;
  struct Entry {
    std::uint32_t folder;
    std::uint32_t nameOffset;
    std::uint32_t nameLength;
    EntryKind kind;
    bool refused;
    double bytes;
  };
  struct Row {
    std::string item;
    EntryIndex first = 0;
    EntryIndex count = 0;
    RowFigures figures;
  };
  std::uint32_t FolderId(std::string_view folder);

  std::deque<std::string> folders_;  // a deque: the map's keys view its strings
  std::unordered_map<std::string_view, std::uint32_t> folderIds_;
  std::string names_;
  std::vector<Entry> entries_;
  std::vector<Row> rows_;
};

enum class DetailColumn { Path, Size, Kind };

// The entries of `row` whose path holds `filter` (without regard to case),
// sorted by the column.
std::vector<AnalysisStore::EntryIndex> DetailRows(const AnalysisStore& store, std::size_t row, std::string_view filter,
                                                  DetailColumn sortBy, bool ascending);

// "512 bytes", "1.5 KB", "12.25 MB", "1.10 GB".
std::string SizeText(double bytes);

}  // namespace cv
