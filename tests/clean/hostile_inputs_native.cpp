// Hostile inputs, grouped by where they come from: registry values, the
// custom list and plug-in files. Each case runs a whole cleaning run over a
// drive full of bystanders and checks that nothing but the case's own
// targets changed (files byte for byte, the registry as exported) and that
// the run ended normally.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "items_run_fixture.h"
#include "tree_compare.h"

namespace cv::test {
namespace {

using namespace std::string_literals;

constexpr const char* kPublic = "C:\\Users\\\xC3\x96" "ffentlich";  // "Öffentlich" in UTF-8
constexpr const char* kPublicAnsi = "C:\\Users\\\xD6" "ffentlich";   // the same in Windows-1252
constexpr const char* kLocal = EmulatedPlatformFixture::kLocalAppData;
constexpr const char* kRoaming = EmulatedPlatformFixture::kAppData;
constexpr const char* kVendorKey = "Software\\Vendor\\App";

std::string Local(std::string_view relative) { return kLocal + std::string(relative); }
std::string Roaming(std::string_view relative) { return kRoaming + std::string(relative); }

// Entries of a plug-in section so long that the profile functions' buffer
// ends right after the first `kept` characters of `last`: filler entries with
// too few fields (never executed) push it there.
std::string SectionCutInside(std::string_view name, std::string_view last, std::size_t kept) {
  constexpr std::size_t kBufferEnd = 32765;  // characters before the two closing NULs
  std::string body = "[" + std::string(name) + "]\r\n";
  std::size_t used = 0;
  for (int i = 0; used < kBufferEnd - kept;) {
    const std::size_t room = kBufferEnd - kept - used;  // characters left, each entry with its NUL
    std::string key = "f" + std::to_string(i++) + "=";
    const std::size_t fill = room >= 120 + key.size() + 1 + 8 ? 120 : room - key.size() - 1;
    body += key + std::string(fill, 'x') + "\r\n";
    used += key.size() + fill + 1;
  }
  return body + std::string(last) + "\r\n";
}

class HostileInputs : public ::testing::Test, public ItemRunFixture {
 protected:
  HostileInputs() {
    env.shell.SetEnvironmentVariable("PUBLIC", kPublic);
    for (const std::string& file :
         {Local("\\Vendor\\App\\Cache\\c.bin"), Local("\\Vendor\\Other\\data.db"), Roaming("\\App\\history.log"),
          Roaming("\\App\\LICENSE"), Roaming("\\App\\README"), std::string(kPublic) + "\\shared.doc",
          std::string(kDocuments) + "\\thesis.doc", std::string("C:\\WINDOWS\\system.ini"), std::string("C:\\Data\\notes.txt")})
      WriteFile(file, "bystander " + file);
    SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "", "default");
    SetString("HKEY_CURRENT_USER\\Software\\Vendor\\App", "LastFile", "x");
    SetString("HKEY_CURRENT_USER\\Software\\Vendor\\Other", "Keep", "y");
  }

  TreeSnapshot Files() { return test::FilesBelow(env.files.HostPath("C:\\")); }
  std::string Key(std::string_view path) {
    return std::filesystem::relative(env.files.HostPath(path), env.files.HostPath("C:\\")).generic_string();
  }

  // Runs preview and clean; only `gone` may go, only the run's own files may change.
  void ExpectOnlyTargetsGo(const std::set<std::string>& gone = {}, std::string_view registryAfter = {}) {
    const TreeSnapshot before = Files();
    const std::string registry = env.registry.ExportRegText();
    std::set<std::string> goneKeys, changed{Key(ProgramFile("\\vanesd.dat"))};
    for (const auto& path : gone) goneKeys.insert(Key(path));
    EXPECT_EQ(DoRun(EraseMode::Preview).outcome, RunOutcome::Completed);
    ExpectOnlyRemoved(before, Files(), {}, changed, true);
    EXPECT_EQ(env.registry.ExportRegText(), registry) << "preview";
    EXPECT_EQ(DoRun().outcome, RunOutcome::Completed);
    ExpectOnlyRemoved(before, Files(), goneKeys, changed, false);
    if (registryAfter.empty()) EXPECT_EQ(env.registry.ExportRegText(), registry);
  }
  std::string Status(std::string_view item) {
    for (const auto& row : recorder.ItemRows())
      if (row.item == item) return row.status;
    return "(no row)";
  }
};

// ---- Registry values: the shell folders the browser and Windows items read.

TEST_F(HostileInputs, RegistryValuesNamingWhatMustSurvive) {
  const std::string padded(300, 'p');
  const std::string values[] = {
      "",          "C:\\",        "C:",          "C:\\Users\\Tester", "C:\\Users\\Tester\\..", "C:\\Users\\Tester\\.",
      "C:\\WINDOWS", "relative",  "\\\\?\\C:\\Users\\Tester", "C:\\Users\\Tester\0C:\\Data"s,
      kPublic,     "%USERPROFILE%", "C:\\Data\\..", padded};
  Select("EXPLORER", "cache");
  Select("EXPLORER", "cookies");
  Select("EXPLORER", "favorites");
  Select("WINDOWS", "searchfolders");
  for (const std::string& value : values) {
    SCOPED_TRACE("value \"" + value + "\"");
    for (const char* name : {"Cache", "Cookies", "Favorites", "Personal"})
      SetString("HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders", name,
                value);
    ExpectOnlyTargetsGo();
  }
}

// ---- The custom list: paths the user (or anyone who can write the file) names.

TEST_F(HostileInputs, CustomListLinesNamingWhatMustSurvive) {
  Select("Custom", "Custom");
  const std::string lines[] = {
      std::string(kPublicAnsi) + "\tFolder",   // ANSI bytes for a protected folder
      "C:\\Users\\Tester\\Documents\\..\tFolder",
      "C:\\Data\\..\\Users\\Tester\tFolder",
      "Users\\Tester\tFolder",
      "\\\\?\\C:\\Users\\Tester\tFolder",
      "C:\\\tFolder",
      "C:\tFolder",
      "C:\\Data\\notes.txt\0\tFile"s,
      "\xFF\xFE\x00\x41\tFolder"s,
      std::string(40000, 'a') + "\tFolder",
  };
  for (const std::string& line : lines) {
    SCOPED_TRACE(line.substr(0, 60));
    WriteFile(ProgramFile("\\cusd.dat"), line + "\r\n");
    ExpectOnlyTargetsGo();
    EXPECT_EQ(Status("Custom Item"), "Done");
  }
}

TEST_F(HostileInputs, CustomListThatCannotBeReadErasesNothingAndSaysSo) {
  Select("Custom", "Custom");
  std::string list = "C:\\Data\\notes.txt\tFile\r\n";
  list.resize((16u << 20) + 1, '\n');
  WriteFile(ProgramFile("\\cusd.dat"), list);
  ExpectOnlyTargetsGo();
  EXPECT_EQ(Status("Custom Item"), "Fail, File too large!");
}

// ---- Plug-in files.

std::string Plugin(std::string_view actions) {
  return "[name]\r\nappname=App\r\n[swich]\r\non=1\r\n" + std::string(actions);
}

// An entry the section buffer cut must not run: what remains of it names more.
TEST_F(HostileInputs, PluginEntriesCutByTheSectionBufferAreDropped) {
  const struct {
    const char* section;
    std::string entry;
    std::string keptUpTo;  // the buffer ends after this text of the entry
  } cases[] = {
      {"folder", "z=localappdata,\\Vendor\\App\\Cache", "z=localappdata,\\Vendor"},
      {"regtree", "z=-2147483647,Software\\Vendor\\App", "z=-2147483647,Software\\Vendor"},
      {"reg", "z=-2147483647,Software\\Vendor\\App,LastFile", "z=-2147483647,Software\\Vendor\\App,"},
      {"fileext", "z=appdata,\\App,log", "z=appdata,\\App,"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.section);
    WriteFile(ProgramFile("\\plus-in\\App.vpe"), Plugin(SectionCutInside(c.section, c.entry, c.keptUpTo.size())));
    ExpectOnlyTargetsGo();
    EXPECT_EQ(Status("App"), "Done");
  }
}

TEST_F(HostileInputs, PluginEntriesNamingWhatMustSurvive) {
  const std::string actions[] = {
      "[folder]\r\nd=" + std::string(kPublicAnsi) + ",\r\n",  // ANSI bytes for a protected folder
      "[folder]\r\nd=localappdata,\\Vendor\\..\r\n",
      "[folder]\r\nd=localappdata,\\..\\..\r\n",
      "[folder]\r\nd=C:,\r\n",
      "[folder]\r\nd=\\\\?\\C:\\Users,\\Tester\r\n",
      "[fileext]\r\ne=appdata,\\App,\r\n",  // no extension: not "every file without one"
      "[file]\r\nf=appdata,\\App,\r\n",
      "[regtree]\r\nt=-2147483647,\r\nu=-2147483647,Software\r\nv=-2147483647,\\Software\\Vendor\r\n",
      "[regtree]\r\nt=4294967297,Software\\Vendor\\App\r\nu=&H180000001,Software\\Vendor\\App\r\n",
      "[folder]\r\nd=\xFF\xFE\x00\r\n"s,
      "[folder]\r\nd=localappdata," + std::string(70000, '\\') + "\r\n",
  };
  for (const std::string& action : actions) {
    SCOPED_TRACE(action.substr(0, 60));
    WriteFile(ProgramFile("\\plus-in\\App.vpe"), Plugin(action));
    ExpectOnlyTargetsGo();
  }
}

// The profile functions see the first of two sections of one name; a
// duplicate never adds entries behind the reader's back.
TEST_F(HostileInputs, PluginDuplicateSectionsAreReadAsTheProfileFunctionsSeeThem) {
  WriteFile(ProgramFile("\\plus-in\\App.vpe"),
            Plugin("[folder]\r\nd=localappdata,\\Vendor\\App\\Cache\r\n[FOLDER]\r\nd=localappdata,\\Vendor\\Other\r\n"));
  ExpectOnlyTargetsGo({Local("\\Vendor\\App\\Cache\\c.bin")});
}

TEST_F(HostileInputs, PluginThatCannotBeReadRunsNothingAndSaysSo) {
  std::string plugin = Plugin("[folder]\r\nd=localappdata,\\Vendor\\App\\Cache\r\n");
  plugin.resize((16u << 20) + 1, ';');
  WriteFile(ProgramFile("\\plus-in\\App.vpe"), plugin);
  ExpectOnlyTargetsGo();
  EXPECT_EQ(Status("App"), "Fail, File too large!");
}

}  // namespace
}  // namespace cv::test
