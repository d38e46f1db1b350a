#include "keep/keep_list_file.h"

#include "platform/text.h"

namespace cv {

std::string_view TrimTrailingSpaces(std::string_view text) {
  const auto end = text.find_last_not_of(' ');
  return end == std::string_view::npos ? std::string_view{} : text.substr(0, end + 1);
}

void RemoveAtPositions(std::vector<std::string>& list, const std::vector<std::size_t>& positions) {
  std::vector<bool> drop(list.size(), false);
  for (std::size_t index : positions)
    if (index < list.size()) drop[index] = true;
  std::size_t position = 0;
  std::erase_if(list, [&](const std::string&) { return drop[position++]; });
}

bool KeepListFile::Exists() const {
  const auto entry = files_.Stat(path_);
  return entry && !entry->IsFolder();
}

std::vector<std::string> KeepListFile::Read() const {
  std::vector<std::string> entries;
  ReadEntries(entries);
  return entries;
}

Status KeepListFile::ReadEntries(std::vector<std::string>& entries) const {
  entries.clear();
  if (!Exists()) return kErrFileNotFound;
  std::string text;
  if (const Status read = files_.ReadFile(path_, text, kMaxFileBytes); read != kOk) return read;
  for (const std::string_view line : SplitLines(text)) entries.push_back(AnsiToUtf8(TrimTrailingSpaces(line)));
  return kOk;
}

// The whole file is rewritten atomically, so a failed append never leaves a
// half-written list. A last line without its line end (a file edited by
// hand) gets one first, so the new entry never joins it.
Status KeepListFile::Append(std::string_view entry) const {
  std::string text;
  if (Exists()) {
    const Status read = files_.ReadFile(path_, text, kMaxFileBytes);
    if (read != kOk) return read;  // never replace a list we could not read
  }
  if (!text.empty() && text.back() != '\n' && text.back() != '\r') text += "\r\n";
  text += TrimTrailingSpaces(entry);
  text += "\r\n";
  return files_.WriteFileAtomic(path_, text);
}

Status KeepListFile::Rewrite(const std::vector<std::string>& entries) const {
  std::string text;
  for (const auto& entry : entries) {
    text += entry;
    text += "\r\n";
  }
  return files_.WriteFileAtomic(path_, text);
}

Status KeptEntries::Add(const std::string& text) {
  const Status status = file_.Append(text);
  if (status == kOk) entries_.push_back(text);
  return status;
}

Status KeptEntries::Remove(const std::vector<std::size_t>& positions) {
  if (readStatus_ != kOk && readStatus_ != kErrFileNotFound) return readStatus_;
  std::vector<std::string> rest = entries_;
  RemoveAtPositions(rest, positions);
  const Status status = file_.Rewrite(rest);
  if (status == kOk) entries_ = std::move(rest);
  return status;
}

}  // namespace cv
