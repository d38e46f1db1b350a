// Our INI layer side by side with the system's profile functions on a corpus
// of tricky files: every read must give the same answer, and the same writes
// must leave files of the same content.
//
// Deliberate differences, left out of the comparison:
// - Lines starting with ";" are comments for us, never keys; the system
//   skips them in section reads but still finds them as keys by name.
// - A write keeps every line it does not change byte for byte; the system
//   rewrites the whole file (blank lines dropped, lines, section names and
//   the blanks around "=" trimmed, text after "]" dropped, CR LF everywhere,
//   leading blanks of the value dropped). Written files are compared after
//   that normalisation.
// - Text after a NUL byte in a line is kept by our writes; the system drops
//   it. Files holding NULs are compared on reads only.
// - A value holding a line break is cut there by us (it would forge lines);
//   names that cannot be stored (empty, holding "=" or a line break,
//   starting with ";" or "[") are refused. Not exercised here.
// - Names are matched by ASCII case only; the corpus is ASCII.
// - A section read cut by its buffer drops the cut last entry: the system's
//   read is given to the same rule (its result is then size - 2).
// - A section delete removes every section of the name, so that no later
//   one shows; the system removes one per call, so it is called until none is left.
// - An empty section name reads nothing for us; the system reads the lines
//   before the first section (its ANSI functions crash on Windows with it).
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "config/ini_text.h"
#include "config/inifun.h"
#include "platform/text.h"
#include "platform/win32/win.h"
#include "test_filesystem.h"

using namespace std::string_literals;

namespace {

struct CorpusFile {
  const char* name;
  std::string content;
  bool comparesWrites = true;
};

std::string Entries(std::size_t count, std::size_t width) {
  std::string out;
  for (std::size_t i = 0; i < count; ++i) {
    std::string key = "key" + std::to_string(i);
    out += key + "=" + std::string(width > key.size() + 1 ? width - key.size() - 1 : 1, 'v') + "\r\n";
  }
  return out;
}

// A section whose entries fill exactly `total` characters of the buffer
// (each entry with its NUL), to probe the edges of the 32,767 limit.
std::string SectionOfSize(std::size_t total) {
  std::string body;
  std::size_t used = 0;
  int i = 0;
  while (total - used > 40) {
    std::string entry = "e" + std::to_string(i++) + "=" + std::string(20, 'x');
    used += entry.size() + 1;
    body += entry + "\r\n";
  }
  const std::size_t last = total - used - 1;  // characters of the last entry
  body += "z=" + std::string(last - 2, 'y') + "\r\n";
  return "[s]\r\n" + body + "[t]\r\nx=1\r\n";
}

std::vector<CorpusFile> Corpus() {
  const std::string v300(300, 'a');
  return {
      {"mixedcase.ini", "[Sec]\r\nKey=Value\r\nOTHER=2\r\n[SEC2]\r\nk=v\r\n[s]\r\nK=up\r\n"},
      {"duplicates.ini", "[s]\r\nk=1\r\nk=2\r\n[t]\r\nx=1\r\n[S]\r\nk=3\r\nj=4\r\n"},
      {"blanks.ini", "[s]\r\n  k  =  v  \r\n\tj\t=\tw\t\r\n k2= \r\n\r\n"},
      {"nofinal.ini", "[s]\r\nk=1\r\n[t]\r\nx=1"},
      {"nofinalheader.ini", "[s]\r\nk=1\r\n[t]"},
      {"lf.ini", "[s]\nk=1\nj=2\n\n[t]\nx=1\n"},
      {"cr.ini", "[s]\rk=1\r[t]\rx=1\r"},
      {"comments.ini", "; head\r\n[s]\r\n;k=c\r\nk=1\r\n; mid\r\n#j=2\r\n[t]\r\n;only\r\n"},
      {"long.ini", "[s]\r\nk=" + v300 + "\r\nq=\"" + std::string(126, 'b') + "\"\r\nq2=\"" + std::string(125, 'c') +
                       "\"\r\nq3=\"" + std::string(200, 'd') + "\"\r\nj=" + std::string(127, 'e') + "\r\n"},
      {"empty_sections.ini", "[s]\r\n[t]\r\n\r\n[u]\r\nk=1\r\n"},
      {"header_blanks.ini", "  [ s ]  \r\nk=1\r\n[ t u ]\r\nx=1\r\n[x]y]\r\nz=2\r\n[noclose\r\nw=3\r\n"},
      {"noequals.ini", "[s]\r\nk\r\nk=2\r\nlonely\r\n=val5\r\n"},
      {"quoted.ini", "[s]\r\nk=\"a b\"\r\nj='c'\r\nm=\"mixed'\r\nn=\"\r\no=\"\"\r\np=\" pad \"\r\n"},
      {"before_first.ini", "k=top\r\n\r\n[s]\r\nk=1\r\n"},
      {"bom.ini", "\xEF\xBB\xBF[s]\r\nk=1\r\n[t]\r\nx=1\r\n"},
      {"nul.ini", "[s]\r\nk=v\0w\r\nj=1\r\n[t\0u]\r\nx=1\r\n"s, false},
      {"empty.ini", ""},
      {"huge_section.ini", "[s]\r\n" + Entries(2000, 20) + "[t]\r\nx=1\r\n"},
      {"edge_32765.ini", SectionOfSize(32765)},
      {"edge_32766.ini", SectionOfSize(32766)},
      {"edge_32767.ini", SectionOfSize(32767)},
      {"edge_32768.ini", SectionOfSize(32768)},
  };
}

const std::vector<std::string> kSections{"s", "S", " s ", "t", "u", "x]y", "x", "t u", "Sec", "missing"};
const std::vector<std::string> kKeys{"k",     "K",   " k ",     "j",  "k2",       "q",       "q2", "q3",
                                     "m",     "n",   "o",       "p",  "lonely",   "x",       "z",  "w",
                                     "OTHER", "key", "missing", "#j", "[noclose", "key1999", "e0"};

// The spec'd reads done through the system's profile functions.
std::string SystemReadValue(const std::string& file, const std::string& section, const std::string& key) {
  char buffer[128] = {};
  ::GetPrivateProfileStringA(section.c_str(), key.c_str(), "", buffer, sizeof buffer, file.c_str());
  return std::string(cv::TrimSpaces(std::string_view(buffer)));
}

std::vector<std::string> SystemReadSection(const std::string& file, const std::string& section) {
  std::vector<char> buffer(cv::Inifun::kSectionBufferChars, '\x55');
  const DWORD length =
      ::GetPrivateProfileSectionA(section.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
  std::vector<std::string> entries;
  std::size_t pos = 0;
  while (pos < buffer.size() && buffer[pos] != '\0') {
    std::string entry(buffer.data() + pos);
    pos += entry.size() + 1;
    entries.push_back(std::move(entry));
  }
  if (length == buffer.size() - 2 && !entries.empty()) entries.pop_back();
  return entries;
}

// What both writers' files say, once the system's reformatting is taken out.
std::vector<std::string> Normalised(std::string_view bytes) {
  const cv::ini::ProfileText profile = cv::ini::DecodeProfile(bytes);
  std::vector<std::string> lines;
  std::string_view text = profile.text;
  while (!text.empty()) {
    const std::size_t brk = text.find_first_of("\r\n");
    std::string_view line = cv::TrimBlanks(text.substr(0, brk));
    text = brk == std::string_view::npos ? std::string_view{} : text.substr(brk + 1);
    if (line.empty()) continue;
    const std::size_t eq = line.find('=');
    const std::size_t close = line.rfind(']');
    if (line.front() == '[' && close != std::string_view::npos)
      lines.push_back("[" + std::string(cv::TrimBlanks(line.substr(1, close - 1))) + "]");
    else if (line.front() != ';' && eq != std::string_view::npos)
      lines.push_back(std::string(cv::TrimBlanks(line.substr(0, eq))) + "=" +
                      std::string(cv::TrimBlanks(line.substr(eq + 1))));
    else
      lines.emplace_back(line);
  }
  return lines;
}

struct Write {
  std::string section, key, value;
};

const std::vector<std::vector<Write>> kWriteSequences{
    {{"s", "k", "new"}},
    {{"S", "NEWKEY", "v"}, {"s", "another", ""}},
    {{"brand new", "k", "v"}, {"brand NEW", "j", "w"}},
    {{"s", "k", std::string(200, 'L')}},
    {{"t", "x", "  padded  "}, {"s", "q", "\"quoted\""}},
    {{"s", "K", "1"}, {"s", "k", "1"}, {"t", "X", "2"}},
    {{"x]y", "z", "3"}, {"t u", "x", "4"}},
};

class IniDifferentialTest : public ::testing::Test {
 protected:
  std::unique_ptr<cv::test::FileSystemFixture> fixture_ = cv::test::MakeFileSystemFixture();
  cv::Inifun ini_{fixture_->fs()};
  int serial_ = 0;

  // A fresh file name each time: the system caches profile files it has read.
  std::string Place(const CorpusFile& file, const char* tag) {
    const std::string path = fixture_->Path(std::to_string(++serial_) + "_" + tag + "_" + file.name);
    EXPECT_TRUE(fixture_->WriteFile(path, file.content));
    return path;
  }
  std::string Content(const std::string& path) {
    std::string bytes;
    fixture_->fs().ReadFile(path, bytes);
    return bytes;
  }
};

TEST_F(IniDifferentialTest, ReadsAgree) {
  for (const CorpusFile& file : Corpus()) {
    const std::string path = Place(file, "read");
    for (const std::string& section : kSections) {
      EXPECT_EQ(ini_.ReadIniSection(section, path), SystemReadSection(path, section))
          << file.name << " [" << section << "]";
      for (const std::string& key : kKeys)
        EXPECT_EQ(ini_.ReadIniValue(path, section, key), SystemReadValue(path, section, key))
            << file.name << " [" << section << "] " << key;
    }
  }
}

TEST_F(IniDifferentialTest, WritesAgree) {
  for (const CorpusFile& file : Corpus()) {
    if (!file.comparesWrites) continue;
    for (std::size_t n = 0; n < kWriteSequences.size(); ++n) {
      const std::string ours = Place(file, "ours");
      const std::string theirs = Place(file, "theirs");
      for (const Write& w : kWriteSequences[n]) {
        ini_.WriteIniValue(ours, w.section, w.key, w.value);
        // WriteIniValue's own cut at 128 characters, then the system's write.
        const std::string stored = w.value.substr(0, cv::Inifun::kValueBufferChars);
        ::WritePrivateProfileStringA(w.section.c_str(), w.key.c_str(), stored.c_str(), theirs.c_str());
      }
      EXPECT_EQ(Normalised(Content(ours)), Normalised(Content(theirs))) << file.name << " sequence " << n;
      for (const Write& w : kWriteSequences[n])
        EXPECT_EQ(ini_.ReadIniValue(ours, w.section, w.key), SystemReadValue(theirs, w.section, w.key))
            << file.name << " sequence " << n;
    }
  }
}

TEST_F(IniDifferentialTest, SectionDeletesAgree) {
  for (const CorpusFile& file : Corpus()) {
    if (!file.comparesWrites) continue;
    for (const std::string section : {"s", "T", "missing", "x]y"}) {
      const std::string ours = Place(file, "ours");
      const std::string theirs = Place(file, "theirs");
      ini_.DeleteIniSection(ours, section);
      for (int i = 0; i < 3; ++i) ::WritePrivateProfileStringA(section.c_str(), nullptr, nullptr, theirs.c_str());
      EXPECT_EQ(Normalised(Content(ours)), Normalised(Content(theirs))) << file.name << " [" << section << "]";
    }
  }
  // Neither creates a missing file.
  const std::string missing = fixture_->Path("never.ini");
  ini_.DeleteIniSection(missing, "s");
  ::WritePrivateProfileStringA("s", nullptr, nullptr, missing.c_str());
  EXPECT_EQ(::GetFileAttributesA(missing.c_str()), INVALID_FILE_ATTRIBUTES);
}

}  // namespace
