// The erasure primitives on the emulated platform: each one as a preview /
// clean pair (preview reports exactly what clean then erases, and changes
// nothing), the matching and counting rules, and the safety rules.
#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "clean/allerase.h"
#include "config/inifun.h"
#include "config/regfun.h"
#include "emulated_platform.h"

namespace cv {

// For comparing and printing entries in expectations.
static bool operator==(const EraseEntry& a, const EraseEntry& b) {
  return a.kind == b.kind && a.path == b.path && a.bytes == b.bytes && a.refused == b.refused;
}
static std::ostream& operator<<(std::ostream& out, const EraseEntry& e) {
  return out << EntryKindName(e.kind) << " " << e.path << " " << e.bytes << (e.refused ? " refused" : "");
}

namespace {

struct RecordingSink : EraseSink {
  void Erased(const EraseEntry& entry) override { entries.push_back(entry); }
  std::vector<EraseEntry> entries;
};

class Erase : public ::testing::Test {
 protected:
  Erase() : platform(world.platform()), guard(PathGuard::ForSystem(world.shell, world.files)) {}

  // A fresh primitive set per call, as a run makes one per mode.
  allerase Make(EraseMode mode, RecordingSink& sink) {
    return allerase(platform, guard, mode, &sink, [this] { ++yields; });
  }

  void Write(std::string_view relative, size_t bytes, std::uint32_t attributes = 0) {
    const std::string path = world.Path(relative);
    for (size_t cut = path.find('\\', world.Root().size() + 1); cut != std::string::npos;
         cut = path.find('\\', cut + 1))
      world.files.CreateFolder(path.substr(0, cut));
    ASSERT_TRUE(world.fileFixture->WriteFile(path, std::string(bytes, 'x')));
    if (attributes) {
      ASSERT_EQ(world.files.SetAttributes(path, attributes), kOk);
    }
  }
  void Folder(std::string_view relative) { Write(std::string(relative) + "\\.keep", 0); }
  bool Exists(std::string_view relative) { return world.files.Stat(world.Path(relative)).has_value(); }
  std::uint32_t Attributes(std::string_view relative) {
    const auto entry = world.files.Stat(world.Path(relative));
    return entry ? entry->attributes : 0;
  }

  // Runs `primitive` in preview, checks nothing changed, runs it for real,
  // and checks both gave the same count and the same entries.
  template <typename Primitive>
  std::vector<EraseEntry> PreviewThenClean(Primitive primitive, double expectedBytes) {
    const std::string before = Snapshot();
    RecordingSink previewSink;
    auto preview = Make(EraseMode::Preview, previewSink);
    EXPECT_EQ(primitive(preview), expectedBytes);
    EXPECT_EQ(Snapshot(), before) << "preview changed the sandbox";

    RecordingSink cleanSink;
    auto clean = Make(EraseMode::Clean, cleanSink);
    EXPECT_EQ(primitive(clean), expectedBytes);
    EXPECT_EQ(previewSink.entries, cleanSink.entries);
    return cleanSink.entries;
  }

  // Every path under C:\ with its attributes and size.
  std::string Snapshot() {
    std::string out;
    FileSystemObject fso(world.files);
    fso.ForEachFolderInTree("C:\\", [&](const FileEntry& folder) {
      world.files.ListFolder(folder.path, [&](const FileEntry& e) {
        out += e.path + " " + std::to_string(e.attributes) + " " + std::to_string(e.size) + "\n";
      });
      return true;
    });
    return out;
  }

  test::EmulatedPlatformFixture world;
  Platform platform;
  PathGuard guard;
  int yields = 0;
};

std::vector<std::string> Paths(const std::vector<EraseEntry>& entries) {
  std::vector<std::string> out;
  for (const auto& e : entries) out.push_back(e.path);
  std::sort(out.begin(), out.end());
  return out;
}

TEST_F(Erase, NamedFilesInTreeFindsNestedMatchesAndMakesHiddenFilesNormal) {
  Write("p\\a\\b\\places.sqlite", 100);
  Write("p\\c\\places.sqlite", 50);
  Write("p\\d\\PLACES.SQLITE", 7, kAttrHidden | kAttrReadOnly);
  Write("p\\d\\other.txt", 3, kAttrHidden);
  Write("p\\places.sqlite-journal", 9);

  const auto entries =
      PreviewThenClean([&](allerase& e) { return e.DeleteNamedFilesInTree(world.Path("p"), "places.sqlite"); }, 150);
  EXPECT_EQ(Paths(entries),
            (std::vector<std::string>{world.Path("p\\a\\b\\places.sqlite"), world.Path("p\\c\\places.sqlite")}));
  EXPECT_FALSE(Exists("p\\a\\b\\places.sqlite"));
  EXPECT_FALSE(Exists("p\\c\\places.sqlite"));
  EXPECT_TRUE(Exists("p\\a\\b"));
  // Capitals do not match; the hidden step still made the file normal.
  ASSERT_TRUE(Exists("p\\d\\PLACES.SQLITE"));
  EXPECT_EQ(Attributes("p\\d\\PLACES.SQLITE"), kAttrNormal);
  EXPECT_EQ(Attributes("p\\d\\other.txt"), kAttrNormal);
  EXPECT_TRUE(Exists("p\\places.sqlite-journal"));
  EXPECT_GT(yields, 0);
}

TEST_F(Erase, AllFilesInTreeKeepsFoldersAndPlainReadOnlyFiles) {
  Write("t\\a.txt", 10);
  Write("t\\s\\hidden-ro.dat", 20, kAttrHidden | kAttrReadOnly);
  Write("t\\s\\ro.dat", 30, kAttrReadOnly);
  Write("t\\s\\u\\v\\deep.bin", 40);

  const auto entries = PreviewThenClean([&](allerase& e) { return e.DeleteAllFilesInTree(world.Path("t")); }, 100);
  // The read-only file is counted (the size is added before the delete) but stays.
  EXPECT_EQ(entries.size(), 3u);
  EXPECT_TRUE(Exists("t\\s\\ro.dat"));
  EXPECT_FALSE(Exists("t\\s\\hidden-ro.dat"));
  EXPECT_FALSE(Exists("t\\a.txt"));
  EXPECT_TRUE(Exists("t\\s\\u\\v"));
  EXPECT_GT(yields, 0);  // every walk keeps the window responsive
}

TEST_F(Erase, ExtensionIsLowerCasedFromTheFileAndComparedExactly) {
  Write("x\\a.TMP", 1);
  Write("x\\b.tmp", 2);
  Write("x\\c.tmpx", 4);
  Write("x\\tmp", 8);
  Write("x\\d.x.tmp", 16);
  Write("x\\sub\\e.Tmp", 32);

  PreviewThenClean([&](allerase& e) { return e.DeleteFilesByExtensionInFolder(world.Path("x"), "tmp"); }, 19);
  EXPECT_TRUE(Exists("x\\sub\\e.Tmp"));
  EXPECT_TRUE(Exists("x\\c.tmpx"));
  EXPECT_TRUE(Exists("x\\tmp"));
  EXPECT_EQ(yields, 2 * 5);  // once after each of the folder's five files, in preview and in clean

  PreviewThenClean([&](allerase& e) { return e.DeleteFilesByExtensionInTree(world.Path("x"), "tmp"); }, 32);
  EXPECT_FALSE(Exists("x\\sub\\e.Tmp"));
  // An upper-case argument never matches the lower-cased extension.
  Write("x\\f.tmp", 1);
  RecordingSink sink;
  EXPECT_EQ(Make(EraseMode::Clean, sink).DeleteFilesByExtensionInTree(world.Path("x"), "TMP"), 0);
}

TEST_F(Erase, FilePrimitivesOfOneFolderLeaveSubFoldersAlone) {
  Write("f\\index.dat", 5);
  Write("f\\Desktop.ini", 6, kAttrHidden | kAttrSystem);
  Write("f\\sub\\index.dat", 7);

  PreviewThenClean([&](allerase& e) { return e.DeleteNamedFilesInFolder(world.Path("f"), "index.dat"); }, 5);
  EXPECT_TRUE(Exists("f\\Desktop.ini"));
  EXPECT_TRUE(Exists("f\\sub\\index.dat"));
  RecordingSink sink;
  EXPECT_EQ(Make(EraseMode::Clean, sink).DeleteNamedFilesInFolder(world.Path("f"), "DESKTOP.INI"), 0);

  PreviewThenClean([&](allerase& e) { return e.DeleteFilesInFolder(world.Path("f")); }, 6);
  EXPECT_TRUE(Exists("f\\sub\\index.dat"));
}

TEST_F(Erase, NamedFoldersMatchAnyCaseAtAnyDepthAndAreNotEntered) {
  Write("n\\Cache\\a", 1);
  Write("n\\Cache\\cache\\b", 2);  // inside a deleted folder: counted once, with it
  Write("n\\p\\q\\cache\\c", 4);
  Write("n\\p\\notcache\\d", 8);
  Write("n\\p\\CACHE.old\\e", 16);
  ASSERT_EQ(world.files.SetAttributes(world.Path("n\\p"), kAttrHidden), kOk);

  const auto entries =
      PreviewThenClean([&](allerase& e) { return e.DeleteNamedFoldersInTree(world.Path("n"), "cache"); }, 7);
  EXPECT_EQ(Paths(entries), (std::vector<std::string>{world.Path("n\\Cache"), world.Path("n\\p\\q\\cache")}));
  EXPECT_FALSE(Exists("n\\Cache"));
  EXPECT_FALSE(Exists("n\\p\\q\\cache"));
  EXPECT_TRUE(Exists("n\\p\\notcache\\d"));
  EXPECT_TRUE(Exists("n\\p\\CACHE.old\\e"));
  EXPECT_EQ(Attributes("n\\p") & kAttrHidden, 0u);  // the searched folder was made normal
}

TEST_F(Erase, EmptyFolderWithAFileInUseCountsAllAndKeepsThatFile) {
  Write("e\\in-use.dat", 100);
  Write("e\\free.dat", 20);
  Write("e\\s\\ro.dat", 3, kAttrReadOnly);
  auto lock = world.fileFixture->LockFile(world.Path("e\\in-use.dat"));

  RecordingSink sink;
  EXPECT_EQ(Make(EraseMode::Clean, sink).EmptyFolder(world.Path("e")), 123);
  EXPECT_TRUE(Exists("e\\in-use.dat"));
  EXPECT_FALSE(Exists("e\\free.dat"));
  EXPECT_FALSE(Exists("e\\s"));  // force: read-only files go too
  ASSERT_EQ(sink.entries.size(), 1u);
  EXPECT_EQ(sink.entries[0].bytes, 23);  // what was released, not what stayed
}

TEST_F(Erase, EmptyFolderEmptiesInPlaceAndCreatesAMissingOne) {
  Write("e\\s\\a", 5);
  Write("e\\b", 6, kAttrHidden);
  ASSERT_EQ(world.files.SetAttributes(world.Path("e"), kAttrHidden), kOk);
  const auto before = world.files.Identify(world.Path("e"), false);
  PreviewThenClean([&](allerase& e) { return e.EmptyFolder(world.Path("e")); }, 11);
  ASSERT_TRUE(Exists("e"));
  EXPECT_TRUE(before && before->SameFile(*world.files.Identify(world.Path("e"), false)));  // not made again
  EXPECT_EQ(Attributes("e"), kAttrDirectory);
  EXPECT_EQ(Snapshot().find(world.Path("e\\")), std::string::npos);

  RecordingSink sink;
  EXPECT_EQ(Make(EraseMode::Preview, sink).EmptyFolder(world.Path("missing")), 0);
  EXPECT_FALSE(Exists("missing"));
  EXPECT_EQ(Make(EraseMode::Clean, sink).EmptyFolder(world.Path("missing")), 0);
  EXPECT_TRUE(Exists("missing"));
  EXPECT_TRUE(sink.entries.empty());
}

TEST_F(Erase, MissingFoldersGiveNothing) {
  RecordingSink sink;
  for (EraseMode mode : {EraseMode::Preview, EraseMode::Clean}) {
    auto erase = Make(mode, sink);
    const std::string missing = world.Path("nothing\\here");
    EXPECT_EQ(erase.DeleteAllFilesInTree(missing), 0);
    EXPECT_EQ(erase.DeleteNamedFilesInTree(missing, "x"), 0);
    EXPECT_EQ(erase.DeleteNamedFoldersInTree(missing, "x"), 0);
    EXPECT_EQ(erase.DeleteFilesInFolder(missing), 0);
    EXPECT_EQ(erase.DeleteFolderTree(missing), 0);
    EXPECT_EQ(erase.DeleteSingleFile(missing), 0);
  }
  EXPECT_TRUE(sink.entries.empty());
}

TEST_F(Erase, SingleTargetsOfCustomItems) {
  Write("c\\one.txt", 12);
  Write("c\\tree\\a\\b.txt", 30);
  Write("c\\tree\\c.txt", 4);
  PreviewThenClean([&](allerase& e) { return e.DeleteSingleFile(world.Path("c\\one.txt")); }, 12);
  EXPECT_FALSE(Exists("c\\one.txt"));
  PreviewThenClean([&](allerase& e) { return e.DeleteFolderTree(world.Path("c\\tree\\")); }, 34);
  EXPECT_FALSE(Exists("c\\tree"));
}

// ---------------------------------------------------------------------------
// Registry, INI sections, restart

class EraseRegistry : public Erase {
 protected:
  EraseRegistry() {
    const auto loaded = world.registry.LoadRegText(
        "Windows Registry Editor Version 5.00\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Test\\Leaf]\r\n\"v\"=\"1\"\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Test\\Parent\\Child]\r\n\r\n"
        "[HKEY_CURRENT_USER\\Software\\Test\\Values]\r\n\"a\"=\"1\"\r\n\"b\"=\"2\"\r\n");
    EXPECT_TRUE(loaded.status == kOk && loaded.skipped == 0);
  }
  bool KeyExists(std::string_view subKey) {
    ScopedRegKey key(world.registry);
    return world.registry.OpenKey(kHkeyCurrentUser, subKey, kKeyRead, key.out()) == kOk;
  }
  bool ValueExists(std::string_view subKey, std::string_view name) {
    ScopedRegKey key(world.registry);
    RegValue value;
    return world.registry.OpenKey(kHkeyCurrentUser, subKey, kKeyRead, key.out()) == kOk &&
           world.registry.QueryValue(key.get(), name, value) == kOk;
  }
};

TEST_F(EraseRegistry, KeysTreesAndValuesWithTheirFixedWeights) {
  auto entries =
      PreviewThenClean([](allerase& e) { return e.DeleteRegKey(kHkeyCurrentUser, "Software\\Test\\Leaf"); }, 3);
  EXPECT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].path, "HKEY_CURRENT_USER\\Software\\Test\\Leaf");
  EXPECT_FALSE(KeyExists("Software\\Test\\Leaf"));

  // A missing key, and a key with sub-keys (which the delete refuses), still weigh 3.
  entries = PreviewThenClean([](allerase& e) { return e.DeleteRegKey(kHkeyCurrentUser, "Software\\Test\\Nope"); }, 3);
  EXPECT_TRUE(entries.empty());
  entries = PreviewThenClean([](allerase& e) { return e.DeleteRegKey(kHkeyCurrentUser, "Software\\Test\\Parent"); }, 3);
  EXPECT_TRUE(entries.empty());
  EXPECT_TRUE(KeyExists("Software\\Test\\Parent\\Child"));

  entries =
      PreviewThenClean([](allerase& e) { return e.DeleteRegTree(kHkeyCurrentUser, "Software\\Test\\Parent"); }, 5);
  EXPECT_EQ(entries.size(), 1u);
  EXPECT_FALSE(KeyExists("Software\\Test\\Parent"));

  entries = PreviewThenClean(
      [](allerase& e) { return e.DeleteRegValue(kHkeyCurrentUser, "Software\\Test\\Values", "a"); }, 1);
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].path, "HKEY_CURRENT_USER\\Software\\Test\\Values\\a");
  EXPECT_FALSE(ValueExists("Software\\Test\\Values", "a"));
  EXPECT_TRUE(ValueExists("Software\\Test\\Values", "b"));
  entries =
      PreviewThenClean([](allerase& e) { return e.DeleteRegValue(kHkeyCurrentUser, "Software\\Nope\\x", "a"); }, 1);
  EXPECT_TRUE(entries.empty());
  EXPECT_EQ(world.registry.OpenHandleCount(), 0u);
}

TEST_F(EraseRegistry, RootsAndTopLevelKeysAreRefusedButStillWeighed) {
  RecordingSink sink;
  auto erase = Make(EraseMode::Clean, sink);
  EXPECT_EQ(erase.DeleteRegTree(kHkeyCurrentUser, "Software"), 5);
  EXPECT_EQ(erase.DeleteRegTree(kHkeyCurrentUser, "\\Software\\"), 5);
  EXPECT_EQ(erase.DeleteRegTree(kHkeyCurrentUser, ""), 5);
  EXPECT_EQ(erase.DeleteRegKey(kHkeyCurrentUser, "Software"), 3);
  EXPECT_EQ(erase.DeleteRegValue(kHkeyCurrentUser, "", "a"), 1);
  EXPECT_EQ(erase.DeleteRegTree(0, "Software\\Test"), 5);
  EXPECT_TRUE(KeyExists("Software\\Test\\Values"));
  ASSERT_EQ(sink.entries.size(), 6u);
  for (const auto& entry : sink.entries) EXPECT_TRUE(entry.refused) << entry;
}

TEST_F(EraseRegistry, IniSectionsAndRestartDeletes) {
  const std::string ini = world.Path("prefs.ini");
  ASSERT_TRUE(world.fileFixture->WriteFile(ini, "[Keep]\r\na=1\r\n[History]\r\nurl1=x\r\n"));
  RecordingSink preview;
  Make(EraseMode::Preview, preview).DeleteIniSection(ini, "history");
  Make(EraseMode::Preview, preview).DeleteIniSection(ini, "Absent");
  ASSERT_EQ(preview.entries.size(), 1u);
  EXPECT_EQ(preview.entries[0].path, ini + " [history]");
  RecordingSink clean;
  Make(EraseMode::Clean, clean).DeleteIniSection(ini, "history");
  EXPECT_EQ(preview.entries, clean.entries);
  Inifun reader(world.files);
  EXPECT_FALSE(reader.HasIniSection(ini, "History"));
  EXPECT_EQ(reader.ReadIniValue(ini, "Keep", "a"), "1");

  Write("r\\locked.dat", 1);
  Make(EraseMode::Preview, clean).DeleteAtReboot(world.Path("r\\locked.dat"));
  EXPECT_TRUE(world.files.PendingRebootDeletes().empty());
  Make(EraseMode::Clean, clean).DeleteAtReboot(world.Path("r\\locked.dat"));
  EXPECT_EQ(world.files.PendingRebootDeletes(), std::vector<std::string>{world.Path("r\\locked.dat")});
  EXPECT_TRUE(Exists("r\\locked.dat"));
}

// ---------------------------------------------------------------------------
// Preview does not count twice what one run would erase once

TEST_F(EraseRegistry, LaterPreviewCallsSkipWhatEarlierOnesClaimed) {
  Write("w\\places.sqlite", 100);
  Write("w\\a\\b.txt", 10);
  Write("w\\Cache\\c.txt", 1000);
  RecordingSink sink;
  auto preview = Make(EraseMode::Preview, sink);
  EXPECT_EQ(preview.DeleteNamedFilesInTree(world.Path("w"), "places.sqlite"), 100);
  EXPECT_EQ(preview.DeleteNamedFoldersInTree(world.Path("w"), "cache"), 1000);
  EXPECT_EQ(preview.DeleteAllFilesInTree(world.Path("w")), 10);
  EXPECT_EQ(preview.EmptyFolder(world.Path("w")), 0);
  EXPECT_EQ(preview.EmptyFolder(world.Path("W\\A")), 0);
  EXPECT_EQ(preview.DeleteSingleFile(world.Path("w\\a\\b.txt")), 0);
  // The first EmptyFolder still names the folder (its empty sub-folders would go), with 0 bytes.
  ASSERT_EQ(sink.entries.size(), 4u);
  EXPECT_EQ(sink.entries[3].kind, EntryKind::Folder);
  EXPECT_EQ(sink.entries[3].bytes, 0);

  // The other way round: a whole folder claimed first covers its tree.
  RecordingSink second;
  auto again = Make(EraseMode::Preview, second);
  EXPECT_EQ(again.EmptyFolder(world.Path("w\\")), 1110);
  EXPECT_EQ(again.DeleteAllFilesInTree(world.Path("w\\a")), 0);
  EXPECT_EQ(second.entries.size(), 1u);

  RecordingSink reg;
  auto regPreview = Make(EraseMode::Preview, reg);
  regPreview.DeleteRegTree(kHkeyCurrentUser, "Software\\Test");
  regPreview.DeleteRegKey(kHkeyCurrentUser, "software\\test\\leaf");
  regPreview.DeleteRegValue(kHkeyCurrentUser, "Software\\Test\\Values", "a");
  regPreview.DeleteRegTree(kHkeyCurrentUser, "Software\\Test");
  EXPECT_EQ(reg.entries.size(), 1u);
}

// ---------------------------------------------------------------------------
// Path helpers

TEST_F(Erase, ExpandUserProfileReplacesOnlyItsOwnToken) {
  EXPECT_EQ(ExpandUserProfile(world.shell, "%USERPROFILE%\\Cookies"), "C:\\Users\\Tester\\Cookies");
  EXPECT_EQ(ExpandUserProfile(world.shell, "C:\\Temp\\x"), "C:\\Temp\\x");
  EXPECT_EQ(ExpandUserProfile(world.shell, "X%USERPROFILE%\\Recent"), "C:\\Users\\Tester\\Recent");
  EXPECT_EQ(ExpandUserProfile(world.shell, "%userprofile%\\Recent"), "%userprofile%\\Recent");
  EXPECT_EQ(ExpandUserProfile(world.shell, "%USERPROFILE%\\%APPDATA%"), "C:\\Users\\Tester\\%APPDATA%");
  world.shell.UnsetEnvironmentVariable("USERPROFILE");
  EXPECT_EQ(ExpandUserProfile(world.shell, "%USERPROFILE%\\Cookies"), "\\Cookies");
}

TEST_F(EraseRegistry, ReadFolderSettingCutsTrimsAndExpands) {
  ASSERT_EQ(world.registry
                .LoadRegText("Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Shell Folders]\r\n"
                             "\"Cookies\"=hex(2):25,00,55,00,53,00,45,00,52,00,50,00,52,00,4f,00,46,00,49,00,4c,00,"
                             "45,00,25,00,5c,00,43,00,20,00,20,00,00,00,78,00,00,00\r\n")
                .skipped,
            0u);
  regfun reg(world.registry, world.messages);
  EXPECT_EQ(ReadFolderSetting(reg, world.shell, "HKEY_CURRENT_USER\\Software\\Shell Folders", "Cookies"),
            "C:\\Users\\Tester\\C");
  EXPECT_EQ(ReadFolderSetting(reg, world.shell, "HKEY_CURRENT_USER\\Software\\Shell Folders", "Missing"), "Error");
}

// ---------------------------------------------------------------------------
// Safety

TEST_F(Erase, LinksInsideATargetAreNeitherFollowedNorCounted) {
  Write("sentinel\\precious.doc", 1000);
  Write("sentinel\\Cache\\keep.bin", 1000);
  Write("sentinel\\places.sqlite", 1000);
  Write("target\\own.tmp", 1);
  Write("target\\sub\\own2.tmp", 2);
  ASSERT_TRUE(world.fileFixture->MakeFolderLink(world.Path("target\\link"), world.Path("sentinel")));
  ASSERT_TRUE(world.fileFixture->MakeFolderLink(world.Path("target\\sub\\cache"), world.Path("sentinel")));

  RecordingSink sink;
  for (EraseMode mode : {EraseMode::Preview, EraseMode::Clean}) {
    auto erase = Make(mode, sink);
    EXPECT_EQ(erase.DeleteNamedFilesInTree(world.Path("target"), "places.sqlite"), 0);
    EXPECT_EQ(erase.DeleteNamedFoldersInTree(world.Path("target"), "cache"), 0);
    EXPECT_EQ(erase.DeleteFilesByExtensionInTree(world.Path("target"), "doc"), 0);
    EXPECT_EQ(erase.DeleteAllFilesInTree(world.Path("target")), 3);
    EXPECT_EQ(erase.EmptyFolder(world.Path("target")), 0);
  }
  EXPECT_TRUE(Exists("sentinel\\precious.doc"));
  EXPECT_TRUE(Exists("sentinel\\Cache\\keep.bin"));
  EXPECT_TRUE(Exists("sentinel\\places.sqlite"));
  EXPECT_FALSE(Exists("target\\link"));  // the tree delete removed the link itself
  for (const auto& entry : sink.entries) EXPECT_EQ(entry.path.find("sentinel"), std::string::npos) << entry;
}

TEST_F(Erase, EmptyFolderThroughALinkEmptiesTheTargetAndKeepsTheLink) {
  Write("real\\a.tmp", 4);
  Write("real\\s\\b.tmp", 5);
  ASSERT_TRUE(world.fileFixture->MakeFolderLink(world.Path("alias"), world.Path("real")));
  PreviewThenClean([&](allerase& e) { return e.EmptyFolder(world.Path("alias")); }, 9);
  EXPECT_TRUE(Exists("real"));
  EXPECT_FALSE(Exists("real\\a.tmp"));
  EXPECT_FALSE(Exists("real\\s"));
  ASSERT_TRUE(Exists("alias"));
  EXPECT_TRUE(world.files.Stat(world.Path("alias"))->IsReparsePoint());
}

// Targets named by the user (custom items) or a plug-in that are links go as
// links: 0 bytes, what they lead to stays, and preview lists what clean does.
// A link that leads to a protected folder, or a path through one, is refused.
TEST_F(Erase, NamedTargetsThatAreLinksGoAsLinksAndProtectedOnesAreRefused) {
  Write("real\\a.tmp", 4);
  Write("real\\s\\b.tmp", 5);
  const auto link = [&](const char* name, const std::string& target) {
    ASSERT_TRUE(world.fileFixture->MakeFolderLink(world.Path(name), target));
  };
  for (auto primitive : {&allerase::DeleteFolderTree, &allerase::EmptyNamedFolder}) {
    link("alias", world.Path("real"));
    const auto entries = PreviewThenClean([&](allerase& e) { return (e.*primitive)(world.Path("alias")); }, 0);
    EXPECT_EQ(Paths(entries), std::vector<std::string>{world.Path("alias")});
    EXPECT_FALSE(Exists("alias"));
    EXPECT_TRUE(Exists("real\\a.tmp") && Exists("real\\s\\b.tmp"));
  }

  ASSERT_EQ(world.files.CreateFolder("C:\\Users\\Tester\\Desktop"), kOk);
  ASSERT_TRUE(world.fileFixture->WriteFile("C:\\Users\\Tester\\Desktop\\work.doc", "keep"));
  link("Documents and Settings", "C:\\Users");
  link("profile", test::EmulatedPlatformFixture::kUserProfile);
  for (const char* name :
       {"Documents and Settings", "Documents and Settings\\Tester", "profile", "Documents and Settings\\TESTER\\."}) {
    RecordingSink sink;
    auto erase = Make(EraseMode::Clean, sink);
    EXPECT_EQ(erase.DeleteFolderTree(world.Path(name)), 0) << name;
    EXPECT_EQ(erase.EmptyNamedFolder(world.Path(name)), 0) << name;
    EXPECT_EQ(erase.EmptyFolder(world.Path(name)), 0) << name;
    ASSERT_FALSE(sink.entries.empty());
    for (const auto& entry : sink.entries) EXPECT_TRUE(entry.refused) << entry;
  }
  EXPECT_TRUE(world.files.Stat("C:\\Users\\Tester\\Desktop\\work.doc"));
  EXPECT_TRUE(Exists("profile"));
}

// A sub-folder swapped for a link between its parent's listing and its own
// opening is never entered, whichever walk meets it.
TEST_F(Erase, AFolderSwappedForALinkMidWalkIsNotEntered) {
  const std::function<double(allerase&)> primitives[] = {
      [&](allerase& e) { return e.DeleteAllFilesInTree(world.Path("t")); },
      [&](allerase& e) { return e.DeleteNamedFilesInTree(world.Path("t"), "x.doc"); },
      [&](allerase& e) { return e.DeleteFilesByExtensionInTree(world.Path("t"), "doc"); },
      [&](allerase& e) { return e.DeleteNamedFoldersInTree(world.Path("t"), "cache"); },
      [&](allerase& e) { return e.DeleteNamedFoldersInTree(world.Path("t"), "sub"); },
      [&](allerase& e) { return e.EmptyFolder(world.Path("t")); },
      [&](allerase& e) { return e.DeleteFolderTree(world.Path("t")); },
  };
  Write("victim\\x.doc", 100);
  Write("victim\\cache\\x.doc", 100);
  int round = 0;
  for (const auto& primitive : primitives) {
    Write("t\\sub\\x.doc", 1);
    Write("t\\sub\\cache\\x.doc", 1);
    const std::string swapped = world.Path("t\\sub");
    bool done = false;
    world.files.SetBeforeOpenSubFolder([&](const std::string& path) {
      if (done || path != swapped) return;
      done = true;
      const auto moved = world.files.HostPath(world.Path("moved" + std::to_string(++round)));
      std::filesystem::rename(world.files.HostPath(swapped), moved);
      std::filesystem::create_directory_symlink(world.files.HostPath(world.Path("victim")),
                                                world.files.HostPath(swapped));
    });
    RecordingSink sink;
    auto erase = Make(EraseMode::Clean, sink);
    EXPECT_LT(primitive(erase), 100) << round;
    EXPECT_TRUE(done) << round;
    world.files.SetBeforeOpenSubFolder({});
    EXPECT_TRUE(Exists("victim\\x.doc") && Exists("victim\\cache\\x.doc")) << round;
    for (const auto& entry : sink.entries) EXPECT_EQ(entry.path.find("victim"), std::string::npos) << entry;
    std::filesystem::remove(world.files.HostPath(swapped));
    std::filesystem::remove_all(world.files.HostPath(world.Path("t")));
  }
}

TEST_F(EraseRegistry, BrokenShellFolderValuesEraseNothingOutsideTheirFolder) {
  // Files everywhere a broken value could lead.
  const std::vector<std::string> bystanders = {
      "C:\\top.txt",
      "C:\\Error\\Cookies\\c.txt",  // where "Error\Cookies" lands when resolved against C:
      std::string(test::EmulatedPlatformFixture::kUserProfile) + "\\ntuser.dat",
      "C:\\WINDOWS\\win.ini",
      "C:\\Program Files\\Clearvane\\vanesd.dat",
  };
  for (const auto& path : bystanders) {
    for (size_t cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
      world.files.CreateFolder(path.substr(0, cut));
    ASSERT_TRUE(world.fileFixture->WriteFile(path, "keep"));
  }
  ASSERT_EQ(world.files.SetCurrentDirectory("C:\\"), kOk);
  ASSERT_EQ(world.registry
                .LoadRegText("Windows Registry Editor Version 5.00\r\n\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Shell Folders]\r\n"
                             "\"Empty\"=\"\"\r\n\"Root\"=\"C:\\\\\"\r\n\"Blanks\"=\"   \"\r\n"
                             "\"Relative\"=\"Cookies\"\r\n\"Profile\"=\"%USERPROFILE%\"\r\n"
                             "\"Dots\"=\"C:\\\\Users\\\\Tester\\\\AppData\\\\..\\\\..\"\r\n"
                             "\"Windows\"=\"c:/windows/\"\r\n")
                .skipped,
            0u);
  regfun reg(world.registry, world.messages);
  const std::string before = Snapshot();
  RecordingSink sink;
  auto erase = Make(EraseMode::Clean, sink);
  double bytes = 0;
  for (const char* name : {"Empty", "Root", "Blanks", "Relative", "Profile", "Dots", "Windows", "Missing"}) {
    const std::string folder = ReadFolderSetting(reg, world.shell, "HKEY_CURRENT_USER\\Software\\Shell Folders", name);
    bytes += erase.DeleteAllFilesInTree(folder);
    bytes += erase.EmptyFolder(folder);
    bytes += erase.DeleteNamedFoldersInTree(folder, "cookies");
    bytes += erase.DeleteFilesInFolder(folder + "\\Cookies");  // "Error\Cookies", "\Cookies" ...
    bytes += erase.DeleteFolderTree(folder);
  }
  EXPECT_EQ(bytes, 0);
  EXPECT_EQ(Snapshot(), before);
  for (const auto& entry : sink.entries) EXPECT_TRUE(entry.refused) << entry;
  EXPECT_FALSE(sink.entries.empty());
}

// A folder chain C:\r\d\d\...: each level holds a one-byte hidden file "f"
// and the next folder "d". Nothing is stored per level but flags, so ten
// thousand levels cost nothing; listing nesting shows any recursion.
class ChainFiles : public FileSystem {
 public:
  explicit ChainFiles(int depth) : depth_(depth), fileGone_(depth + 1), normal_(depth + 1) {}

  int maxNesting = 0;
  int filesLeft() const { return static_cast<int>(std::count(fileGone_.begin(), fileGone_.end(), false)); }
  int normalFiles() const { return static_cast<int>(std::count(normal_.begin(), normal_.end(), true)); }

  std::optional<FileEntry> Stat(std::string_view path) override {
    const auto at = Parse(path);
    if (!at || (at->second && fileGone_[at->first])) return std::nullopt;
    return Entry(at->first, at->second, std::string(path));
  }
  bool ListFolder(std::string_view folder, const std::function<void(const FileEntry&)>& visit) override {
    const auto at = Parse(folder);
    if (!at || at->second) return false;
    ++nesting_;
    maxNesting = std::max(maxNesting, nesting_);
    const std::string base(folder);
    if (!fileGone_[at->first]) visit(Entry(at->first, true, base + "\\f"));
    if (at->first < depth_) visit(Entry(at->first + 1, false, base + "\\d"));
    --nesting_;
    return true;
  }
  Status DeleteFile(std::string_view path, bool force) override {
    const auto at = Parse(path);
    if (!at || !at->second || fileGone_[at->first]) return kErrFileNotFound;
    fileGone_[at->first] = true;
    return kOk;
  }
  Status SetAttributes(std::string_view path, std::uint32_t) override {
    const auto at = Parse(path);
    if (!at) return kErrFileNotFound;
    if (at->second) normal_[at->first] = true;
    return kOk;
  }
  Status RemoveFolder(std::string_view, bool) override { return kErrAccessDenied; }
  Status ReadFile(std::string_view, std::string&, std::uint64_t) override { return kErrAccessDenied; }
  Status WriteFileAtomic(std::string_view, std::string_view) override { return kErrAccessDenied; }
  Status CreateFolder(std::string_view) override { return kErrAlreadyExists; }
  Status DeleteAtReboot(std::string_view) override { return kErrAccessDenied; }

 private:
  // (level, is the file)
  std::optional<std::pair<int, bool>> Parse(std::string_view path) const {
    if (path.substr(0, 4) != "C:\\r") return std::nullopt;
    path.remove_prefix(4);
    const bool file = path.size() >= 2 && path.substr(path.size() - 2) == "\\f";
    if (file) path.remove_suffix(2);
    // A plain loop over the characters: paths here are up to 20,000 long.
    const char* text = path.data();
    if (path.size() % 2 != 0) return std::nullopt;
    for (size_t i = 0; i < path.size(); i += 2)
      if (text[i] != '\\' || text[i + 1] != 'd') return std::nullopt;
    const int level = static_cast<int>(path.size() / 2);
    if (level > depth_) return std::nullopt;
    return std::make_pair(level, file);
  }
  FileEntry Entry(int level, bool file, std::string path) const {
    FileEntry e;
    e.name = file ? "f" : "d";
    e.path = std::move(path);
    e.size = file ? 1 : 0;
    e.attributes = file ? (normal_[level] ? kAttrNormal : kAttrHidden) : kAttrDirectory;
    return e;
  }
  int depth_;
  std::vector<bool> fileGone_, normal_;
  int nesting_ = 0;
};

TEST(EraseDeepTree, TenThousandLevelsAreWalkedToTheBottomWithoutRecursion) {
  constexpr int kDepth = 10000;
  ChainFiles chain(kDepth);
  test::EmulatedPlatformFixture world;
  Platform platform{world.registry, chain, world.shell, world.messages, world.clock};
  const PathGuard guard;
  RecordingSink sink;

  allerase preview(platform, guard, EraseMode::Preview, &sink, {});
  EXPECT_EQ(preview.DeleteNamedFilesInTree("C:\\r", "f"), kDepth + 1);
  EXPECT_EQ(chain.filesLeft(), kDepth + 1);
  EXPECT_EQ(chain.normalFiles(), 0);

  allerase clean(platform, guard, EraseMode::Clean, &sink, {});
  EXPECT_EQ(clean.DeleteAllFilesInTree("C:\\r"), kDepth + 1);
  EXPECT_EQ(chain.filesLeft(), 0);
  EXPECT_EQ(chain.normalFiles(), kDepth + 1);
  EXPECT_EQ(chain.maxNesting, 1) << "listings nested: the walk recursed";
  EXPECT_EQ(sink.entries.size(), 2u * (kDepth + 1));
}

TEST_F(Erase, PathsLongerThan260CharactersAreWalkedAndDeleted) {
  std::string deep = "long";
  for (int i = 0; i < 8; ++i) deep += "\\" + std::string(60, static_cast<char>('a' + i));
  Write(deep + "\\cache.bin", 11);
  Write(deep + "\\Cache\\x.bin", 12);
  ASSERT_GT(world.Path(deep).size(), 400u);
  PreviewThenClean([&](allerase& e) { return e.DeleteNamedFoldersInTree(world.Path("long"), "cache"); }, 12);
  PreviewThenClean([&](allerase& e) { return e.DeleteAllFilesInTree("\\\\?\\" + world.Path("long")); }, 11);
  EXPECT_FALSE(Exists(deep + "\\cache.bin"));
  EXPECT_TRUE(Exists(deep));
}

}  // namespace
}  // namespace cv
