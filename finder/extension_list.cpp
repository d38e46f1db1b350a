#include "finder/extension_list.h"

#include "config/data_files.h"
#include "platform/text.h"

namespace cv::finder {

namespace {

// A list that large is no list of extensions: it is refused, not loaded.
constexpr std::uint64_t kMaxFileBytes = 16u << 20;

}  // namespace

ExtentionHandller::ExtentionHandller(FileSystem& files, std::string programFolder) : files_(files) {
  path_ = std::move(programFolder);
  if (path_.ends_with('\\')) path_.pop_back();
  path_ += kExtensionFileName;
}

bool ExtentionHandller::IsValidExtension(std::string_view text) {
  return text.size() > 2 && text[0] == '*' && text[1] == '.';
}

const std::vector<std::string>& ExtentionHandller::DefaultExtensions() {
  static const std::vector<std::string> defaults{"*.tmp", "*.gid", "*.swp", "*.chk"};
  return defaults;
}

ExtentionHandller::Read ExtentionHandller::ReadLines(std::vector<std::string>& lines) const {
  lines.clear();
  const auto entry = files_.Stat(path_);
  if (!entry) return Read::Missing;
  if (entry->IsFolder() || entry->size > kMaxFileBytes) return Read::Failed;
  std::string content;
  if (files_.ReadFile(path_, content) != kOk) return Read::Failed;
  // Lines written by hand in the ANSI code page become UTF-8 text.
  for (const std::string_view line : SplitLines(content)) lines.push_back(AnsiToUtf8(line));
  return Read::Ok;
}

Status ExtentionHandller::WriteLines(const std::vector<std::string>& lines) {
  std::string content;
  for (const std::string& line : lines) {
    content += line;
    content += "\r\n";
  }
  return files_.WriteFileAtomic(path_, content);
}

std::vector<std::string> ExtentionHandller::Entries() const {
  std::vector<std::string> lines;
  switch (ReadLines(lines)) {
    case Read::Missing:
      return DefaultExtensions();
    case Read::Failed:
      return {};
    case Read::Ok:
      break;
  }
  std::vector<std::string> entries;
  for (std::string& line : lines)
    if (IsValidExtension(line)) entries.push_back(std::move(line));
  return entries;
}

std::string ExtentionHandller::ReadExtensions() const {
  std::string joined;
  for (const std::string& entry : Entries()) {
    if (!joined.empty()) joined += ';';
    joined += entry;
  }
  return joined;
}

Status ExtentionHandller::WriteDefaultExtensions() { return WriteLines(DefaultExtensions()); }

bool ExtentionHandller::ReadForChange(std::vector<std::string>& lines) const {
  switch (ReadLines(lines)) {
    case Read::Missing:
      lines = DefaultExtensions();
      return true;
    case Read::Failed:
      return false;  // never replace a list that could not be read
    case Read::Ok:
      return true;
  }
  return false;
}

Status ExtentionHandller::AppendExtension(std::string_view entry) {
  std::vector<std::string> lines;
  if (!ReadForChange(lines)) return kErrAccessDenied;
  lines.emplace_back(entry);
  return WriteLines(lines);
}

Status ExtentionHandller::RemoveExtension(std::string_view entry) {
  std::vector<std::string> lines;
  if (!ReadForChange(lines)) return kErrAccessDenied;
  std::erase_if(lines, [&](const std::string& line) { return line == entry; });
  return WriteLines(lines);
}

}  // namespace cv::finder
