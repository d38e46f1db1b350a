#pragma once
// The extension list "Ext.txt" beside the program: one entry per line; a line
// is an entry when it starts with "*." and has a third character. Other lines
// stay in the file untouched but are never used. A missing file counts as the
// default list; reading never creates it. Every change rewrites the file in
// one atomic replace, so a crash leaves the old or the new list.
#include <string>
#include <string_view>
#include <vector>

#include "platform/filesystem.h"

namespace cv::finder {

class ExtentionHandller {
 public:
  ExtentionHandller(FileSystem& files, std::string programFolder);

  static bool IsValidExtension(std::string_view text);
  static const std::vector<std::string>& DefaultExtensions();

  // The valid entries in file order; empty when the file cannot be read.
  std::vector<std::string> Entries() const;
  // The entries joined by ";": the finder's search string.
  std::string ReadExtensions() const;

  Status WriteDefaultExtensions();
  // Adds the text as a new last line (a missing file first gets the defaults).
  Status AppendExtension(std::string_view entry);
  // Drops every line equal to the text (case included); other lines stay.
  Status RemoveExtension(std::string_view entry);

  const std::string& Path() const { return path_; }

 private:
  enum class Read { Ok, Missing, Failed };
  // The file's lines, without their line ends, as text for the program.
  Read ReadLines(std::vector<std::string>& lines) const;
  // The lines a change starts from: the defaults for a missing file; false
  // when the file cannot be read.
  bool ReadForChange(std::vector<std::string>& lines) const;
  Status WriteLines(const std::vector<std::string>& lines);

  FileSystem& files_;
  std::string path_;
};

}  // namespace cv::finder
