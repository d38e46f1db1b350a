#pragma once
// The finder's result rows, kept compactly so that a million rows stay small:
// each folder's path is stored once, names in blocks of a shared store, rows
// in 32 bytes. Rows and names grow block by block, never by copying all of
// them into a buffer twice the size. A row keeps the file's path as data; its
// line text is built only when shown.
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace cv::finder {

// Formats a FILETIME (100 ns units since 1601, UTC) in the system's local
// general-date format.
using DateFormatter = std::function<std::string(std::int64_t fileTime)>;

// Receives what a search finds, folder by folder.
class FoundFileSink {
 public:
  virtual ~FoundFileSink() = default;
  // The folder the next rows are in (a full path ending with "\").
  virtual void EnterFolder(std::string_view folder) = 0;
  // A file of the current folder. `bare`: found by an exact name, listed as its path alone.
  virtual void Found(std::string_view name, std::uint64_t size, std::int64_t modified, bool bare) = 0;
};

class FoundFiles : public FoundFileSink {
 public:
  void EnterFolder(std::string_view folder) override;
  void Found(std::string_view name, std::uint64_t size, std::int64_t modified, bool bare) override;

  size_t Count() const { return rows_.size(); }
  void Clear();
  std::string Path(size_t row) const;
  // "<path>   Size:<bytes>   LastModyfied:<date>", or the path alone for a bare row.
  std::string Line(size_t row, const DateFormatter& formatDate) const;
  // The longest path's length in characters, to size the list's column.
  size_t WidestPath() const { return widestPath_; }

 private:
  struct Row {
    std::uint64_t size;
    std::int64_t modified;
    std::uint32_t folder;
    std::uint32_t namePosition;  // in its block
    std::uint16_t nameBlock;
    std::uint16_t nameLength;
    bool bare;
  };
  static_assert(sizeof(Row) <= 32);
  static constexpr std::size_t kNameBlockBytes = 1 << 20;
  std::string_view Name(const Row& row) const;

  std::vector<std::string> folders_;
  std::vector<std::string> nameBlocks_;
  std::deque<Row> rows_;
  std::string currentFolder_;
  bool folderStored_ = false;
  size_t widestPath_ = 0;
};

}  // namespace cv::finder
