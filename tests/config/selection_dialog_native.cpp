#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "clean/browser_model.h"
#include "clean/items_modern_browsers.h"
#include "clean/items_modern_windows.h"
#include "clean/items_run_fixture.h"
#include "clean/run_items.h"
#include "config/extra_items_page.h"
#include "config/selection_dialog.h"
#include "config/selection_pages.h"
#include "platform/text.h"
#include "ui/mnemonics.h"

namespace cv::test {
namespace {

std::string TimeText(std::int64_t fileTime) { return "t" + std::to_string(fileTime > 0); }

class SelectionDialogTest : public ::testing::Test, public ItemRunFixture {
 protected:
  SelectionDialogTest() : services(platform()), model(services, env.messages, TimeText) {
    SetString(std::string(kWindowsMailKeyPath), "Store Root", "%USERPROFILE%\\Mail");
  }
  std::string SelectionFile() { return ProgramFile("\\vanesd.dat"); }
  std::string Read(std::string_view path) {
    std::string text;
    env.files.ReadFile(path, text);
    return text;
  }
  std::size_t Index(std::string_view section, std::string_view key) { return *FindSwitchIndex(section, key); }
  std::size_t TickedInFrame(SelectionFrame frame) {
    std::size_t count = 0;
    for (const ItemSwitch* s : SwitchesInFrame(frame)) count += model.Ticked(s - ItemSwitches().data());
    return count;
  }

  Platform services;
  SelectionDialogModel model;
};

TEST_F(SelectionDialogTest, BoxesShowWhatTheRunSelects) {
  env.files.DeleteFile(SelectionFile(), true);
  model.Open();
  for (std::size_t i = 0; i < kItemSwitchCount; ++i) EXPECT_FALSE(model.Ticked(i)) << "missing file, box " << i;

  // The same values for an Opera item and a Maxthon item: each box as the run reads its switch.
  const std::pair<const char*, bool> values[] = {{"", false},  {"1", true},  {"01", true},   {" 1", true},
                                                 {"0", false}, {"2", false}, {"true", false}};
  for (const auto& [value, on] : values) {
    WriteFile(SelectionFile(), std::string("[opera]\r\nCache=") + value + "\r\n[Maxthon]\r\npages=" + value + "\r\n");
    model.Open();
    EXPECT_EQ(model.Ticked(Index("OPERA", "Cache")), on) << value;
    EXPECT_EQ(model.Ticked(Index("Maxthon", "pages")), on) << value;
    EXPECT_EQ(SelectsItem(*FindRunItem(21), value), on) << value;
    EXPECT_EQ(SelectsItem(*FindRunItem(48), value), on) << value;
    EXPECT_FALSE(model.Ticked(Index("OPERA", "Images"))) << "a missing key";
  }
}

TEST_F(SelectionDialogTest, AnUntouchedOkStoresOneOnlyForTheKeysThatHeldIt) {
  std::string text = "[EXPLORER]\r\n";
  const char* ticked[] = {"location", "history", "cache", "cookies", "downloadedhistory", "index", "inprivate"};
  for (const char* key : ticked) text += std::string(key) + "=1\r\n";
  text += "[WINDOWS]\r\ntemp=1\r\nrecent=1\r\nrun=1\r\n";
  WriteFile(SelectionFile(), text);
  model.Open();
  ASSERT_TRUE(model.Save().empty());
  Inifun ini(env.files);
  std::size_t ones = 0;
  for (const ItemSwitch& s : ItemSwitches()) {
    const std::string stored = ini.ReadIniValue(SelectionFile(), s.section, s.key);
    EXPECT_TRUE(stored == "1" || stored == "0") << s.section << "/" << s.key;
    ones += stored == "1";
  }
  EXPECT_EQ(ones, 10u);
  EXPECT_EQ(ini.ReadIniValue(SelectionFile(), "FIREFOX", "bookmarks"), "0");
  EXPECT_EQ(ini.ReadIniValue(SelectionFile(), "outlook", "address"), "0");
}

TEST_F(SelectionDialogTest, WithoutWindowsMailItsBoxesAreDisabledClearedAndSavedAsZero) {
  WriteFile(SelectionFile(), "[mail]\r\nRecently=1\r\n");
  model.Open();
  EXPECT_TRUE(model.WindowsMailPresent());
  EXPECT_EQ(TickedInFrame(SelectionFrame::kWindowsMail), 1u);

  env.registry.DeleteTree(kHkeyCurrentUser, "Software\\Microsoft\\Windows Mail");
  model.Open();
  EXPECT_FALSE(model.WindowsMailPresent());
  EXPECT_FALSE(model.SelectAllEnabled(SelectionFrame::kWindowsMail));
  EXPECT_TRUE(model.SelectAllEnabled(SelectionFrame::kOutlookExpress));
  model.SelectAll(SelectionFrame::kWindowsMail, true);
  model.SetTicked(Index("mail", "Recently"), true);
  EXPECT_EQ(TickedInFrame(SelectionFrame::kWindowsMail), 0u);
  EXPECT_FALSE(model.Enabled(Index("mail", "accounts")));
  ASSERT_TRUE(model.Save().empty());
  Inifun ini(env.files);
  EXPECT_EQ(ini.ReadIniValue(SelectionFile(), "mail", "Recently"), "0");
}

TEST_F(SelectionDialogTest, InternetExplorerSelectAllAsksTwiceInOrder) {
  WriteFile(SelectionFile(),
            "[EXPLORER]\r\nlocation=0\r\nhistory=0\r\ncache=0\r\ncookies=0\r\nfavorites=0\r\n"
            "autocomplete=0\r\ndownloaded=0\r\ndownloadedhistory=0\r\nindex=0\r\ninprivate=0\r\n"
            "addons=0\r\n");
  const struct {
    int favorites, downloaded;
    std::size_t ticked;
  } cases[] = {{kIdCancel, kIdCancel, 9}, {kIdOk, kIdCancel, 10}, {kIdOk, kIdOk, 11}};
  for (const auto& c : cases) {
    model.Open();
    env.messages.shown.clear();
    env.messages.answers = {c.favorites, c.downloaded};
    model.SelectAll(SelectionFrame::kInternetExplorer, true);
    EXPECT_EQ(TickedInFrame(SelectionFrame::kInternetExplorer), c.ticked);
    EXPECT_EQ(model.Ticked(Index("EXPLORER", "favorites")), c.favorites == kIdOk);
    EXPECT_EQ(model.Ticked(Index("EXPLORER", "downloaded")), c.downloaded == kIdOk);
    ASSERT_EQ(env.messages.shown.size(), 2u);
    EXPECT_EQ(env.messages.shown[0].text, kConfirmFavorites);
    EXPECT_EQ(env.messages.shown[1].text, kConfirmDownloaded);
    EXPECT_EQ(env.messages.shown[0].caption, "Clearvane");
    EXPECT_EQ(env.messages.shown[0].style, kMbOkCancel);
  }
  env.messages.shown.clear();
  model.SelectAll(SelectionFrame::kInternetExplorer, false);
  EXPECT_EQ(TickedInFrame(SelectionFrame::kInternetExplorer), 0u);
  EXPECT_TRUE(env.messages.shown.empty()) << "clearing asks nothing";

  model.SelectAll(SelectionFrame::kSafari, true);
  EXPECT_EQ(TickedInFrame(SelectionFrame::kSafari), 8u);
  model.SelectAll(SelectionFrame::kSafari, false);
  EXPECT_EQ(TickedInFrame(SelectionFrame::kSafari), 0u);
  EXPECT_TRUE(env.messages.shown.empty());
}

TEST_F(SelectionDialogTest, LeavingATickedRiskyBoxAsks) {
  WriteFile(SelectionFile(), "[EXPLORER]\r\nfavorites=1\r\ndownloaded=1\r\ncache=1\r\n");
  model.Open();
  const std::size_t favorites = Index("EXPLORER", "favorites");
  env.messages.answers = {kIdCancel, kIdOk};
  EXPECT_TRUE(model.ConfirmOnLeave(favorites));
  EXPECT_FALSE(model.Ticked(favorites));
  EXPECT_FALSE(model.ConfirmOnLeave(favorites)) << "a cleared box asks nothing";
  EXPECT_FALSE(model.ConfirmOnLeave(Index("EXPLORER", "downloaded")));
  EXPECT_TRUE(model.Ticked(Index("EXPLORER", "downloaded")));
  EXPECT_FALSE(model.ConfirmOnLeave(Index("EXPLORER", "cache")));
  EXPECT_EQ(env.messages.shown.size(), 2u);
}

TEST_F(SelectionDialogTest, SizeTextsFollowTheirPatterns) {
  const struct {
    std::uint64_t bytes;
    const char* added;
    const char* loaded;
  } cases[] = {
      {0, ".MB", "00.00MB"},
      {524288, ".5MB", "00.50MB"},
      {1048576, "1.MB", "01.00MB"},
      {1048576 + 104858, "1.1MB", "01.10MB"},
      {5242, ".MB", "00.00MB"},    // below half a hundredth
      {5243, ".01MB", "00.01MB"},  // rounds up
      {1048576ull * 123 + 524288, "123.5MB", "123.50MB"},
      {1048576ull * 100 - 1, "100.MB", "100.00MB"},  // rounding carries into the integer
  };
  for (const auto& c : cases) {
    EXPECT_EQ(MegabyteText(c.bytes, SizePattern::kOptionalDigits), c.added) << c.bytes;
    EXPECT_EQ(MegabyteText(c.bytes, SizePattern::kTwoDigits), c.loaded) << c.bytes;
  }
}

TEST_F(SelectionDialogTest, PickerAnswersSplitIntoFolderAndNames) {
  using namespace std::string_literals;
  const struct {
    std::string answer, current, directory;
    std::vector<std::string> names;
  } cases[] = {
      {"C:\\Dir\\a.txt", "C:\\Dir", "C:\\Dir\\", {"a.txt"}},
      {"C:\\a.txt", "C:\\", "C:\\", {"a.txt"}},
      {"C:\\Dir\0a\0b b\0c"s, "C:\\Dir", "C:\\Dir\\", {"a", "b b", "c"}},
      {"C:\\\0a\0b"s, "C:\\", "C:\\", {"a", "b"}},
      {"short", "C:\\Much\\Longer", "C:\\Much\\Longer\\", {""}},
  };
  for (const auto& c : cases) {
    const SelectedFiles files = GetSelectedFiles(c.answer, c.current);
    EXPECT_EQ(files.count, c.names.size()) << c.answer;
    EXPECT_EQ(files.directory, c.directory) << c.answer;
    EXPECT_EQ(files.names, c.names) << c.answer;
    if (c.answer != "short") {
      EXPECT_EQ(AnswerDirectory(c.answer) + (c.current.ends_with('\\') ? "" : "\\"), c.directory);
    }
  }
}

TEST_F(SelectionDialogTest, CustomItemsLoadOnlyWhatIsThereAndKeepOddLinesOnSave) {
  const std::string folder = ProgramFile("\\picked");
  WriteFile(folder + "\\half.bin", std::string(524288, 'x'));
  WriteFile(folder + "\\sub\\quarter.bin", std::string(262144, 'x'));
  WriteFile(folder + "\\hidden.bin", "h");
  env.files.SetAttributes(folder + "\\hidden.bin", kAttrHidden);
  const std::string lines = folder + "\\half.bin\tFile\r\n" + folder + "\\sub\tFolder\r\n" + folder +
                            "\\hidden.bin\tFile\r\n" + folder + "\\gone.bin\tFile\r\n\r\n" + folder + "\\half.bin\r\n" +
                            folder + "\\half.bin\tfile\r\n" + folder + "\\sub\tFile\r\n" + "\xff\xfe\t\x01\r\n" +
                            folder + "\\half.bin\tFile\tmore";
  WriteFile(ProgramFile("\\cusd.dat"), lines);
  model.Open();
  const auto& rows = model.CustomItems();
  ASSERT_EQ(rows.size(), 6u);
  EXPECT_EQ(rows[0].size, "00.50MB");
  EXPECT_EQ(rows[0].TypeColumn(), "File");
  EXPECT_EQ(rows[0].modified, "t1");
  EXPECT_EQ(rows[1].size, "00.25MB");
  EXPECT_EQ(rows[1].TypeColumn(), "Folder");
  for (std::size_t i : {2, 3, 4}) EXPECT_EQ(rows[i].size, "") << i;
  EXPECT_EQ(rows[2].TypeColumn(), "");
  EXPECT_EQ(rows[3].TypeColumn(), "") << "another type is not shown";
  EXPECT_EQ(rows[4].TypeColumn(), "File") << "a folder stored as a file keeps its type, without a size";
  EXPECT_EQ(rows[5].TypeColumn(), "File");

  ASSERT_TRUE(model.Save().empty());
  EXPECT_EQ(Read(ProgramFile("\\cusd.dat")), folder + "\\half.bin\tFile\r\n" + folder + "\\sub\tFolder\r\n" + folder +
                                                 "\\half.bin\r\n" + folder + "\\half.bin\tfile\r\n" + folder +
                                                 "\\sub\tFile\r\n" + folder + "\\half.bin\tFile\r\n");

  model.AddFiles(GetSelectedFiles(folder + std::string("\0half.bin\0missing\0half.bin", 27), folder));
  ASSERT_EQ(model.CustomItems().size(), 7u) << "stops at the file that is gone";
  EXPECT_EQ(model.CustomItems()[6].size, ".5MB");
  EXPECT_TRUE(model.AddFolder(folder));
  EXPECT_EQ(model.CustomItems()[7].size, ".75MB");
  model.RemoveCustomItem(std::nullopt);
  model.RemoveCustomItem(99);
  model.RemoveCustomItem(0);
  EXPECT_EQ(model.CustomItems().size(), 7u);
  model.ClearCustomItems();
  ASSERT_TRUE(model.Save().empty());
  EXPECT_EQ(Read(ProgramFile("\\cusd.dat")), "");
}

TEST_F(SelectionDialogTest, HugeCustomItemFilesLoadWithoutTrouble) {
  const std::string file = ProgramFile("\\f.bin");
  WriteFile(file, "x");
  std::string lines;
  for (int i = 0; i < 10000; ++i) lines += (i % 2 ? file + "\tFile\r\n" : std::string("no tab here\r\n"));
  WriteFile(ProgramFile("\\cusd.dat"), lines);
  model.Open();
  EXPECT_EQ(model.CustomItems().size(), 5000u);
}

// The dialog reads the custom item file as the run does: a path saved in the
// ANSI code page is shown and kept on "OK", so the run still erases it; a
// list too large or too locked to read is left as it is, not emptied.
TEST_F(SelectionDialogTest, CustomListIsReadAsTheRunReadsIt) {
  const std::string file = "C:\\Data\\Caf\xC3\xA9.txt";
  WriteFile(file, "123");
  WriteFile(ProgramFile("\\cusd.dat"), "C:\\Data\\Caf\xE9.txt\tFile\r\n");
  model.Open();
  ASSERT_EQ(model.CustomItems().size(), 1u);
  EXPECT_EQ(model.CustomItems()[0].path, file);
  ASSERT_TRUE(model.Save().empty());
  Select("Custom", "Custom");
  DoRun();
  EXPECT_FALSE(Exists(file));

  for (const bool locked : {false, true}) {
    SCOPED_TRACE(locked ? "locked" : "too large");
    std::string list = "C:\\Data\\a.txt\tFile\r\n";
    if (!locked) list.resize((16u << 20) + 1, ' ');
    WriteFile(ProgramFile("\\cusd.dat"), list);
    {
      const auto lock = locked ? env.fileFixture->LockFile(ProgramFile("\\cusd.dat")) : nullptr;
      model.Open();
      EXPECT_TRUE(model.CustomItems().empty());
      EXPECT_TRUE(model.Save().empty());
    }
    EXPECT_EQ(Read(ProgramFile("\\cusd.dat")), list);
  }
}

// 140 writes one after another, as the profile functions would make them.
std::string SequentialWrites(FileSystem& files, const std::string& path, const SelectionDialogModel& model) {
  Inifun ini(files);
  const auto switches = ItemSwitches();
  for (std::size_t i = 0; i < switches.size(); ++i)
    ini.WriteIniValue(path, switches[i].section, switches[i].key, model.Ticked(i) ? "1" : "0");
  std::string text;
  files.ReadFile(path, text);
  return text;
}

TEST_F(SelectionDialogTest, OkWritesTheSameBytesAsOneWritePerSwitch) {
  const std::string starts[] = {
      "",
      "; comment\n[opera]\nimages = 2\n\n[EXPLORER]\r\ncache=x\r\n[explorer]\r\nindex=0\r\n[Custom]",
      std::string("\xff\xfe[\0O\0p\0t\0i\0o\0n\0s\0]\0\r\0\n\0", 24),
  };
  for (const std::string& start : starts) {
    WriteFile(SelectionFile(), start);
    model.Open();
    model.SetTicked(Index("WINDOWS", "recycle"), false);
    ASSERT_TRUE(model.Save().empty());
    const std::string atomic = Read(SelectionFile());
    WriteFile(SelectionFile(), start);
    EXPECT_EQ(SequentialWrites(env.files, SelectionFile(), model), atomic);
  }
  env.files.DeleteFile(SelectionFile(), true);
  model.Open();
  ASSERT_TRUE(model.Save().empty());
  const std::string atomic = Read(SelectionFile());
  env.files.DeleteFile(SelectionFile(), true);
  EXPECT_EQ(SequentialWrites(env.files, SelectionFile(), model), atomic);
}

TEST_F(SelectionDialogTest, ReadOnlyFilesOnOkAreReportedAndLeftWhole) {
  WriteFile(SelectionFile(), "[WINDOWS]\r\nrecycle=1\r\n");
  WriteFile(ProgramFile("\\plus-in\\Alpha.vpe"), "[name]\r\nappname=Alpha\r\n[swich]\r\non=1\r\n");
  WriteFile(ProgramFile("\\plus-in\\Beta.vpe"), "[name]\r\nappname=Beta\r\n[swich]\r\non=0\r\n");
  env.files.SetAttributes(SelectionFile(), kAttrReadOnly);
  env.files.SetAttributes(ProgramFile("\\plus-in\\Alpha.vpe"), kAttrReadOnly);
  env.files.SetAttributes(ProgramFile("\\plus-in\\Beta.vpe"), kAttrReadOnly);
  model.Open();
  ASSERT_EQ(model.Plugins().size(), 2u);
  for (std::size_t i = 0; i < 2; ++i)
    if (model.Plugins()[i].name == "Alpha") model.SetPluginTicked(i, false);
  model.SetTicked(Index("WINDOWS", "recycle"), false);
  const std::vector<std::string> failed = model.Save();
  EXPECT_EQ(failed, (std::vector<std::string>{SelectionFile(), ProgramFile("\\plus-in\\Alpha.vpe")}))
      << "an unchanged read-only plug-in is no failure";
  EXPECT_EQ(Read(SelectionFile()), "[WINDOWS]\r\nrecycle=1\r\n");
  const std::string message = SelectionDialogModel::SaveFailedMessage(failed);
  EXPECT_NE(message.find(SelectionFile()), std::string::npos);
}

// The file shipped beside the program is what "OK" would write for its
// choices, and leaves unticked what a user would not expect to lose.
TEST_F(SelectionDialogTest, ShippedSelectionFileIsSafeAndComplete) {
  std::ifstream in(std::string(CV_SOURCE_DIR) + "/data/vanesd.dat", std::ios::binary);
  const std::string shipped{std::istreambuf_iterator<char>(in), {}};
  ASSERT_FALSE(shipped.empty());
  WriteFile(SelectionFile(), shipped);
  model.Open();
  ASSERT_TRUE(model.Save().empty());
  EXPECT_EQ(Read(SelectionFile()), shipped);
  for (const auto& [section, key] : std::initializer_list<std::pair<const char*, const char*>>{
           {"EXPLORER", "favorites"},
           {"EXPLORER", "downloaded"},
           {"Maxthon", "folder"},
           {"FIREFOX", "passwords"},
           {"Chrome", "Forms"},
           {"Safari", "RecentSearches"},  // all of Safari's preferences
           {"OFFICE", "word"},
           {"outlook", "deleted"},
           {"mail", "accounts"},
           {"WINDOWS", "recycle"}})
    EXPECT_FALSE(model.Ticked(Index(section, key))) << section << "/" << key;
  for (const auto& [section, key] : std::initializer_list<std::pair<const char*, const char*>>{{"EXPLORER", "cache"},
                                                                                               {"EXPLORER", "history"},
                                                                                               {"FIREFOX", "Cache"},
                                                                                               {"Chrome", "History"},
                                                                                               {"WINDOWS", "temp"},
                                                                                               {"WINDOWS", "recent"}})
    EXPECT_TRUE(model.Ticked(Index(section, key))) << section << "/" << key;

  // Every key the dialogs and the run read is there, so no box depends on a
  // missing key; every option that acts is off.
  Inifun ini(env.files);
  std::set<std::string> present;
  const auto keysOf = [&](std::string_view section) {
    for (const std::string& line : ini.ReadIniSection(section, SelectionFile()))
      present.insert(AsciiLower(std::string(section) + "/" + line.substr(0, line.find('='))));
  };
  std::set<std::string> sections = {std::string(kOptionsSection)};
  for (const ItemSwitch& s : ItemSwitches()) sections.insert(AsciiLower(s.section));
  for (const BrowserSpec& browser : Browsers()) sections.insert(AsciiLower(browser.section));
  for (const std::string& section : sections) keysOf(section);
  std::vector<std::string> wanted;
  for (const ItemSwitch& s : ItemSwitches()) wanted.push_back(std::string(s.section) + "/" + std::string(s.key));
  for (const RunItem& item : RunItems()) wanted.push_back(std::string(item.section) + "/" + std::string(item.key));
  for (const BrowserSpec& browser : Browsers())
    for (const TraceKindInfo& kind : TraceKinds())
      wanted.push_back(std::string(browser.section) + "/" + std::string(kind.key));
  for (const OptionKey& option : OptionKeys()) {
    wanted.push_back(std::string(kOptionsSection) + "/" + std::string(option.key));
    if (option.form == OptionForm::kFlag) {
      EXPECT_FALSE(SwitchIsOn(ini.ReadIniValue(SelectionFile(), kOptionsSection, option.key))) << option.key;
    }
  }
  for (const std::string& key : wanted) EXPECT_TRUE(present.count(AsciiLower(key))) << key << " is not shipped";

  // Today's browsers and Windows as their pages show them: caches, histories
  // and download histories ticked, and every Windows 10 and 11 item; what
  // signs the user out or loses their work stays unticked.
  Platform services = env.platform();
  const std::set<std::string> tickedKinds = {"cache", "history", "downloads"};
  for (auto [items, source] : {std::pair{ModernBrowserItems(services), kModernBrowsersSource},
                               std::pair{ModernWindowsItems(services), kModernWindowsSource}}) {
    for (const Item& item : items) {
      keysOf(item.section);
      EXPECT_TRUE(present.count(AsciiLower(item.section + "/" + item.key)))
          << item.section << "/" << item.key << " is not shipped";
    }
    ExtraItemsPageModel page(services, items, source, ExtraItemsOrder::kAsGiven);
    page.Load();
    for (std::size_t i = 0; i < page.Count(); ++i) {
      const Item& item = page.At(i);
      const bool expected = source == kModernWindowsSource || tickedKinds.count(item.key) > 0;
      EXPECT_EQ(page.Ticked(i), expected) << item.section << "/" << item.key;
    }
  }
}

// Unique on every page; only a page with more controls than letters and
// digits in their captions (the 28 of "Windows") leaves some without one.
TEST(SelectionPages, EveryPageHasUniqueMnemonicsAndEverySwitchOnce) {
  std::vector<int> seen(kItemSwitchCount, 0);
  for (const SelectionPageInfo& page : SelectionPages()) {
    std::set<char> used, available;
    std::size_t captions = 0;
    for (const PageFrame& frame : PageLayout(page.page)) {
      for (const PageControl& control : frame.controls) {
        if (control.kind == PageControlKind::kSwitchBox) ++seen[control.switchIndex];
        if (control.caption.empty()) continue;
        ++captions;
        for (char c : control.caption)
          if (std::isalnum(static_cast<unsigned char>(c))) available.insert(AsciiLower(c));
        const char mnemonic = MnemonicOf(control.caption);
        if (mnemonic) {
          EXPECT_TRUE(used.insert(mnemonic).second) << control.caption << " repeats a mnemonic";
        }
      }
    }
    EXPECT_EQ(used.size(), std::min(captions, available.size())) << page.tab << " / " << page.browserTab;
  }
  for (std::size_t i = 0; i < kItemSwitchCount; ++i) EXPECT_EQ(seen[i], 1) << ItemSwitches()[i].checkBox;
}

TEST(SelectionPages, MnemonicsKeepTheCaptionTextAndAvoidReservedKeys) {
  const std::vector<std::string_view> captions{"Options", "Options", "A&B", "Add-ons"};
  const std::vector<std::string> marked = AssignMnemonics(captions, "o");
  std::set<char> used;
  for (std::size_t i = 0; i < captions.size(); ++i) {
    std::string shown;
    for (std::size_t j = 0; j < marked[i].size(); ++j) {
      if (marked[i][j] == '&') ++j;
      if (j < marked[i].size()) shown += marked[i][j];
    }
    EXPECT_EQ(shown, captions[i]);
    EXPECT_NE(MnemonicOf(marked[i]), 'o');
    EXPECT_TRUE(used.insert(MnemonicOf(marked[i])).second) << marked[i];
  }
  EXPECT_EQ(MnemonicOf("A&&B"), 0);
}

}  // namespace
}  // namespace cv::test
