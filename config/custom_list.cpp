#include "config/custom_list.h"

#include "platform/text.h"

namespace cv {

Status ReadCustomList(FileSystem& files, std::string_view listFile, std::vector<CustomListLine>& lines) {
  lines.clear();
  const std::optional<FileEntry> entry = files.Stat(listFile);
  if (!entry || entry->IsFolder()) return kErrFileNotFound;
  std::string text;
  if (const Status read = files.ReadFile(listFile, text, kMaxCustomListBytes); read != kOk) return read;
  for (const std::string_view line : SplitLines(text)) {
    const std::size_t tab = line.find('\t');
    const std::string_view path = line.substr(0, tab);
    if (path.empty()) continue;
    CustomListLine read{AnsiToUtf8(path), std::nullopt};
    if (tab != std::string_view::npos) {
      const std::string_view afterTab = line.substr(tab + 1);
      read.type = std::string(afterTab.substr(0, afterTab.find('\t')));
    }
    lines.push_back(std::move(read));
  }
  return kOk;
}

}  // namespace cv
