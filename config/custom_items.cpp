#include "config/custom_items.h"

#include <limits>

#include "platform/fso.h"

namespace cv {

std::string CustomItemRow::TypeColumn() const {
  if (type && (*type == kCustomTypeFile || *type == kCustomTypeFolder)) return *type;
  return {};
}

std::string MegabyteText(std::uint64_t bytes, SizePattern pattern) {
  // Hundredths of a megabyte, halves rounded away from zero as the number
  // formatting of the system does.
  constexpr std::uint64_t kMegabyte = 1048576;
  const std::uint64_t whole = bytes / kMegabyte;
  const std::uint64_t rest = bytes % kMegabyte;
  std::uint64_t hundredths = whole * 100 + (rest * 100 + kMegabyte / 2) / kMegabyte;
  const std::uint64_t integer = hundredths / 100;
  const unsigned fraction = static_cast<unsigned>(hundredths % 100);

  std::string text;
  if (pattern == SizePattern::kTwoDigits) {
    text = std::to_string(integer);
    if (text.size() < 2) text.insert(0, 2 - text.size(), '0');
    text += '.';
    text += static_cast<char>('0' + fraction / 10);
    text += static_cast<char>('0' + fraction % 10);
  } else {
    if (integer != 0) text = std::to_string(integer);
    text += '.';
    if (fraction != 0) {
      text += static_cast<char>('0' + fraction / 10);
      if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    }
  }
  return text + "MB";
}

std::optional<CustomItemRow> MeasureCustomItem(FileSystemObject& fso, const ModifiedTimeText& timeText,
                                               std::string path, std::string_view type, SizePattern pattern) {
  std::optional<FileEntry> entry;
  std::uint64_t bytes = 0;
  if (type == kCustomTypeFile) {
    entry = fso.GetFile(path);
    if (entry) bytes = entry->size;
  } else if (type == kCustomTypeFolder) {
    entry = fso.GetFolder(path);
    // Files below unreadable sub-folders are not counted: the size is what can be seen.
    if (entry) bytes = fso.FolderSize(path);
  }
  if (!entry) return std::nullopt;
  CustomItemRow row{std::move(path), std::string(type), MegabyteText(bytes, pattern), {}};
  if (timeText) row.modified = timeText(entry->modified);
  return row;
}

std::vector<CustomItemRow> LoadCustomItems(FileSystemObject& fso, const ModifiedTimeText& timeText,
                                           std::string_view listFile, Status* readStatus) {
  std::vector<CustomItemRow> rows;
  std::vector<CustomListLine> lines;
  const Status read = ReadCustomList(fso.Files(), listFile, lines);
  if (readStatus) *readStatus = read;
  for (CustomListLine& line : lines) {
    const auto found = fso.Files().Stat(line.path);
    if (!found || (found->attributes & (kAttrHidden | kAttrSystem)) != 0) continue;

    if (line.type && (*line.type == kCustomTypeFile || *line.type == kCustomTypeFolder)) {
      if (auto row = MeasureCustomItem(fso, timeText, line.path, *line.type, SizePattern::kTwoDigits)) {
        rows.push_back(std::move(*row));
        continue;
      }
    }
    // Another type, no TAB, or a "File" line naming a folder: the path alone,
    // with what was stored kept for the next save.
    rows.push_back(CustomItemRow{std::move(line.path), std::move(line.type), {}, {}});
  }
  return rows;
}

std::string CustomItemsText(const std::vector<CustomItemRow>& rows) {
  std::string text;
  for (const CustomItemRow& row : rows) {
    text += row.path;
    if (row.type) {
      text += '\t';
      text += *row.type;
    }
    text += "\r\n";
  }
  return text;
}

SelectedFiles GetSelectedFiles(std::string_view answer, std::string_view currentDirectory) {
  SelectedFiles files;
  const std::size_t restLength = answer.size() > currentDirectory.size() ? answer.size() - currentDirectory.size() : 0;
  const std::string_view rest = answer.substr(answer.size() - restLength);
  if (rest.empty() || rest.front() != '\0') {
    files.count = 1;
    files.names.emplace_back(rest.starts_with('\\') ? rest.substr(1) : rest);
  } else {
    for (char c : rest) {
      if (c == '\0') {
        if (files.count == std::numeric_limits<std::uint16_t>::max()) break;
        ++files.count;
        files.names.emplace_back();
      } else {
        files.names.back() += c;
      }
    }
  }
  files.directory = currentDirectory;
  if (!files.directory.ends_with('\\')) files.directory += '\\';
  return files;
}

std::string AnswerDirectory(std::string_view answer) {
  const std::size_t nul = answer.find('\0');
  if (nul != std::string_view::npos) return std::string(answer.substr(0, nul));
  const std::size_t slash = answer.rfind('\\');
  if (slash == std::string_view::npos) return {};
  // "C:\name" keeps its root's backslash.
  if (slash == 2 && answer[1] == ':') return std::string(answer.substr(0, 3));
  return std::string(answer.substr(0, slash));
}

}  // namespace cv
