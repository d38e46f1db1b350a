#include "clean/winapp2_reach.h"

#include <algorithm>
#include <array>
#include <initializer_list>

#include "platform/text.h"

namespace cv {

namespace {

constexpr std::array<std::string_view, 16> kProgramExtensions{
    "exe", "dll", "sys", "drv", "ocx", "cpl", "scr", "com", "msi", "efi", "mui", "cat", "inf", "ax", "tlb", "bat",
};

// `ancestor` lies above `path` (both normalised).
bool IsStrictAncestor(std::string_view ancestor, std::string_view path) {
  if (ancestor.empty() || ancestor.size() >= path.size() || path.compare(0, ancestor.size(), ancestor) != 0)
    return false;
  return ancestor.back() == '\\' || path[ancestor.size()] == '\\';
}

// Letters and digits only, case folded: "ObjectDock Plus" and "ObjectDockPlus" name one product.
std::string Letters(std::string_view name) {
  std::string out;
  for (char c : FoldCase(name))
    if (static_cast<unsigned char>(c) >= 0x80 || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) out += c;
  return out;
}

// Words of four letters or more, case folded.
std::vector<std::string> Words(std::string_view name) {
  std::vector<std::string> words;
  std::string word;
  for (char c : FoldCase(name) + " ") {
    if (static_cast<unsigned char>(c) >= 0x80 || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
      word += c;
      continue;
    }
    if (word.size() >= 4) words.push_back(word);
    word.clear();
  }
  return words;
}

bool SameName(std::string_view pattern, std::string_view name) {
  return Winapp2Matches(pattern, name) || (!Letters(name).empty() && Letters(pattern) == Letters(name) &&
                                           pattern.find_first_of("*?") == std::string_view::npos);
}

bool AnyEveryName(const Winapp2FileKey& key) {
  return std::any_of(key.patterns.begin(), key.patterns.end(),
                     [](const std::string& p) { return Winapp2MatchesEveryName(p); });
}

std::string Listed(const std::vector<std::string>& names) {
  std::string text;
  for (std::size_t i = 0; i < names.size() && i < 3; ++i) text += (i ? ", " : "") + names[i];
  if (names.size() > 3) text += ", ...";
  return text;
}

}  // namespace

bool Winapp2PatternMayMatchProgram(std::string_view pattern) {
  // The pattern's own letters ("*" left out, "?" one letter), alone and with
  // each program extension after them, stand for the names it could match.
  std::string letters;
  for (char c : pattern)
    if (c != '*') letters += c == '?' ? 'x' : c;
  const std::string folded = AsciiLower(letters);
  return std::any_of(kProgramExtensions.begin(), kProgramExtensions.end(), [&](std::string_view program) {
    const std::string suffix = "." + std::string(program);
    const bool named =
        folded.size() >= suffix.size() && folded.compare(folded.size() - suffix.size(), suffix.size(), suffix) == 0;
    return (named && Winapp2Matches(pattern, letters)) || Winapp2Matches(pattern, letters + suffix);
  });
}

Winapp2Reach::Winapp2Reach(const Winapp2Folders& folders, FileSystem& files, const PathGuard& guard)
    : folders_(folders), files_(files), guard_(guard) {
  for (const Winapp2Folders::Known& known : folders.UserDataFolders()) {
    Known entry{known.name, PathGuard::Normalize(known.path), {}};
    if (std::any_of(known_.begin(), known_.end(), [&](const Known& k) { return k.spelling == entry.spelling; }))
      continue;
    if (const auto id = files.Identify(known.path, true)) entry.finalPath = PathGuard::Normalize(id->finalPath);
    known_.push_back(std::move(entry));
  }
  for (const std::string& folder : folders.systemFolders) system_.push_back(PathGuard::Normalize(folder));
  program_ = PathGuard::Normalize(folders.programFolder);
}

const Winapp2Reach::Known* Winapp2Reach::UserDataFolder(std::string_view folder) {
  const std::string normalized = PathGuard::Normalize(folder);
  std::string finalPath;
  if (const auto id = files_.Identify(folder, true)) finalPath = PathGuard::Normalize(id->finalPath);
  for (const Known& known : known_)
    if (known.spelling == normalized ||
        (!finalPath.empty() && (known.finalPath == finalPath || known.spelling == finalPath)))
      return &known;
  return nullptr;
}

// A user data folder lies below `folder`, by spelling or by final path.
bool Winapp2Reach::HoldsUserData(std::string_view folder) {
  const std::string normalized = PathGuard::Normalize(folder);
  std::string finalPath;
  if (const auto id = files_.Identify(folder, true)) finalPath = PathGuard::Normalize(id->finalPath);
  for (const Known& known : known_)
    for (const std::string* path : std::initializer_list<const std::string*>{&normalized, &finalPath})
      if (IsStrictAncestor(*path, known.spelling) || IsStrictAncestor(*path, known.finalPath)) return true;
  return false;
}

std::optional<Winapp2Reach::Top> Winapp2Reach::TopFolder(std::string_view spelling, std::string_view folder) {
  const std::string normalized = PathGuard::Normalize(folder);
  std::string finalPath;
  if (const auto id = files_.Identify(folder, true)) finalPath = PathGuard::Normalize(id->finalPath);
  // The deepest user data folder above the folder, by its spelling or its final path.
  const Known* best = nullptr;
  bool byFinal = false;
  for (const Known& known : known_) {
    for (const std::string* path : std::initializer_list<const std::string*>{&normalized, &finalPath}) {
      for (const std::string* above : std::initializer_list<const std::string*>{&known.spelling, &known.finalPath}) {
        if (!IsStrictAncestor(*above, *path)) continue;
        const std::size_t depth = PathComponents(*above).size();
        if (!best || depth > PathComponents(byFinal ? best->finalPath : best->spelling).size()) {
          best = &known;
          byFinal = above == &known.finalPath;
        }
      }
    }
  }
  if (!best) return std::nullopt;
  const std::string& above = byFinal ? best->finalPath : best->spelling;
  const bool inSpelling = IsStrictAncestor(above, normalized);
  const std::vector<std::string> path = PathComponents(inSpelling ? normalized : finalPath);
  const std::size_t index = PathComponents(above).size();
  // The same component counted from the end in the folder as given (links only shorten the front).
  const std::vector<std::string> given = PathComponents(folder);
  const std::vector<std::string> written = PathComponents(spelling);
  const std::size_t fromEnd = path.size() - index;
  if (given.size() < fromEnd) return std::nullopt;
  const std::size_t at = given.size() - fromEnd;  // the top folder's component in `folder`
  Top top;
  for (std::size_t i = 0; i <= at; ++i) top.path += (i ? "\\" : "") + given[i];
  top.name = given[at];
  if (written.size() == given.size()) top.throughWildcard = Winapp2MatchesEveryName(written[at]);
  return top;
}

// Whether the entry names the top folder `top`: a DetectFile path's
// component directly inside a user data folder matches it, the entry's name
// holds its name (or the name holds the entry's), or a word of four letters or
// more is shared ("heroic-updater" of "Heroic Games Launcher"). The folders
// that DetectFile paths name inside it are its products; `vendorByName` says
// the entry's name holds the folder's and more ("Stardock ObjectDock Plus").
bool Winapp2Reach::Names(const Winapp2Entry& entry, const Top& top, std::vector<std::string>* products,
                         bool* vendorByName) {
  // The temporary folder is everybody's to empty.
  for (const std::string& temp : folders_.Expand("%Temp%"))
    if (PathGuard::Normalize(temp) == PathGuard::Normalize(top.path)) return true;
  bool named = false, exactly = false;
  const std::string folder = Letters(top.name), name = Letters(entry.name);
  for (const std::string& detect : entry.detectFiles) {
    for (const std::string& expanded : folders_.Expand(detect)) {
      const std::string normalized = PathGuard::Normalize(expanded);
      for (const Known& known : known_) {
        if (!IsStrictAncestor(known.spelling, normalized)) continue;
        std::vector<std::string> below = PathComponents(normalized);
        below.erase(below.begin(), below.begin() + static_cast<std::ptrdiff_t>(PathComponents(known.spelling).size()));
        if (below.empty() || !SameName(below[0], top.name)) continue;
        named = true;
        // "Warcraft III\war3.exe" names the game's own file, not a product beside it.
        const std::string_view next = below.size() > 1 ? std::string_view(below[1]) : std::string_view();
        const std::size_t dot = next.rfind('.');
        const bool file =
            below.size() == 2 && dot != std::string_view::npos && next.size() - dot <= 5 && next.size() - dot >= 2;
        // A product beside others is one the entry's name names ("ObjectDock Plus"
        // of "Stardock ObjectDock Plus"); any other folder ("Floorp\\Profiles")
        // is the application's own.
        const std::string product = Letters(next);
        if (!next.empty() && !file && product.size() >= 3 && name.find(product) != std::string::npos)
          products->push_back(std::string(next));
        else
          exactly = true;
      }
    }
  }
  const bool holds = folder.size() >= 3 && name.find(folder) != std::string::npos;
  const bool held = name.size() >= 3 && folder.find(name) != std::string::npos;
  *vendorByName = holds && !exactly && name.size() > folder.size();
  // Detected as a whole ("%LocalAppData%\\BriskBard"), it is the application's own folder.
  if (exactly) products->clear();
  if (named || holds || held) return true;
  const std::vector<std::string> folderWords = Words(top.name), nameWords = Words(entry.name);
  return std::any_of(folderWords.begin(), folderWords.end(), [&](const std::string& word) {
    return std::find(nameWords.begin(), nameWords.end(), word) != nameWords.end();
  });
}

Winapp2Reach::Judgement Winapp2Reach::Judge(const Winapp2Entry& entry, const Winapp2FileKey& key,
                                            std::string_view spelling, std::string_view given) {
  // "C:" (%SystemDrive%) is the drive's root.
  const std::string folder = given.size() == 2 && given[1] == ':' ? std::string(given) + "\\" : std::string(given);
  const std::string normalized = PathGuard::Normalize(folder);
  if (normalized.empty()) return {Verdict::kRefused, std::string(folder) + " is not a full path"};
  const bool whole = key.recurse || AnyEveryName(key);
  const Known* data = UserDataFolder(folder);
  const bool isProtected = data || !guard_.AllowsFolder(folder) || HoldsUserData(folder);
  const std::string what = data ? std::string(folder) + " is the user's " + data->name + " folder"
                                : std::string(folder) + " is a protected folder or holds one";

  if (!whole) {
    if (!isProtected) return {};
    if (normalized == program_) return {Verdict::kRefused, std::string(folder) + " is the program's own folder"};
    const bool system = std::find(system_.begin(), system_.end(), normalized) != system_.end();
    for (const std::string& pattern : key.patterns) {
      // "*.dll" names no file, "install.res.*.dll" does.
      const std::string_view stem = std::string_view(pattern).substr(0, pattern.rfind('.'));
      const bool namesNoFile = stem.find_first_not_of("*?") == std::string_view::npos;
      if (Winapp2PatternMayMatchProgram(pattern) && (system || namesNoFile))
        return {Verdict::kRefused, "\"" + pattern + "\" could delete programs in " + std::string(folder)};
    }
    return {Verdict::kAllowedInsideProtected, {}};
  }
  if (isProtected) return {Verdict::kRefused, what};

  const auto top = TopFolder(spelling, folder);
  if (!top) return {};
  const bool isTop = PathGuard::Normalize(top->path) == normalized;
  const auto exists = files_.Stat(top->path);
  if (!(isTop || top->throughWildcard) || !exists || !exists->IsFolder()) return {};
  std::vector<std::string> products;
  bool vendorByName = false;
  if (!Names(entry, *top, &products, &vendorByName))
    return {Verdict::kRefused, top->path + " is the folder of another application than " + entry.name};
  if (!isTop || (products.empty() && !vendorByName)) return {};
  // A vendor's folder: the products in it are the folders the detection
  // names or, for a name that holds the vendor's, the one the rest of the
  // name names ("ObjectDock Plus" of "Stardock ObjectDock Plus"). Without
  // such a folder in it, it is the application's own folder.
  std::vector<std::string> children;
  files_.ListFolder(folder, [&](const FileEntry& child) {
    if (child.IsFolder()) children.push_back(child.name);
  });
  std::string rest = Letters(entry.name);
  if (const std::size_t at = rest.find(Letters(top->name)); at != std::string::npos)
    rest.erase(at, Letters(top->name).size());
  const auto isProduct = [&](const std::string& child) {
    const std::string letters = Letters(child);
    return std::any_of(products.begin(), products.end(), [&](const std::string& p) { return SameName(p, child); }) ||
           (vendorByName && letters.size() >= 3 && rest.find(letters) != std::string::npos);
  };
  if (products.empty() && std::none_of(children.begin(), children.end(), isProduct)) return {};
  std::vector<std::string> others;
  for (const std::string& child : children)
    if (!isProduct(child)) others.push_back(child);
  if (others.empty()) return {};
  std::sort(others.begin(), others.end());
  return {Verdict::kRefused,
          std::string(folder) + " holds other products than " + entry.name + " (" + Listed(others) + ")"};
}

}  // namespace cv
