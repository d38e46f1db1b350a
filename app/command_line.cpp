#include "app/command_line.h"

#include <cstdio>
#include <optional>

#include "clean/clean_run.h"
#include "clean/item_list.h"
#include "config/regfun.h"
#include "cv_version.h"

namespace cv {

namespace {

constexpr std::string_view kUsage =
    "Usage: clearvane [--preview | --clean] [--json]\n"
    "       clearvane --list | --help | --version\n"
    "       clearvane --shred [--passes 1|3|7] PATH...\n"
    "       clearvane --wipe-free-space DRIVE\n"
    "\n"
    "  --preview  show what a cleaning run would erase, erasing nothing\n"
    "  --clean    run the cleaning with the selection file beside the program\n"
    "  --json     print one JSON object instead of text\n"
    "  --list     list the cleaning items (number or source, section, key, name)\n"
    "  --help     show this help\n"
    "  --version  show the program version\n"
    "  --shred    overwrite files (and the files of folders) with random bytes,\n"
    "             once, or 3 or 7 times with --passes, then delete them\n"
    "  --wipe-free-space  fill the free space of DRIVE (such as D:) with random\n"
    "             bytes, then delete the fill (100 MB stay free on the Windows drive)\n"
    "\n"
    "Without arguments the program opens its window.\n";

constexpr std::string_view kVersion = "Clearvane " CV_VERSION_TEXT " (build " CV_BUILD_TEXT ")\n";

struct Row {
  std::string item;
  std::string status;
  std::string source;  // the item's source tag; empty for the closing line
};

// Collects the results rows and the erased entries; never waits for anyone.
class CollectingObserver : public RunObserver, public EraseSink {
 public:
  void RowAdded(std::string_view item, std::string_view status) override {
    rows.push_back({std::string(item), std::string(status), {}});
  }
  void RowStatusChanged(std::string_view status) override {
    if (!rows.empty()) rows.back().status = status;
  }
  void RowSourceSet(std::string_view source) override {
    if (!rows.empty()) rows.back().source = source;
  }
  void ProgressChanged(int) override {}
  void StatusLabelChanged(std::string_view) override {}
  void ShowReport(const RunReport& shown) override { report = shown; }
  void Erased(const EraseEntry& entry) override {
    entries.push_back(
        {rows.empty() ? std::string() : rows.back().item, rows.empty() ? std::string() : rows.back().source, entry});
  }

  struct Entry {
    std::string item;
    std::string source;
    EraseEntry entry;
  };
  std::vector<Row> rows;
  std::vector<Entry> entries;
  std::optional<RunReport> report;
};

// The window's message boxes cannot be answered here: their text goes to the
// error stream and they count as confirmed.
class ConsoleMessageBoxes : public MessageBoxes {
 public:
  explicit ConsoleMessageBoxes(std::ostream& err) : err_(err) {}
  int Show(std::string_view text, std::string_view caption, unsigned style) override {
    err_ << caption << ": " << text << "\n";
    return (style & kMbYesNo) ? kIdYes : kIdOk;
  }

 private:
  std::ostream& err_;
};

// Every item of a run, in run order: a built-in item shows its number where
// the others show their source tag.
void PrintList(std::ostream& out, bool json, std::span<const Item> items) {
  if (json) out << "{\"items\": [";
  bool first = true;
  for (const Item& item : items) {
    const bool builtIn = item.source == kBuiltinSource;
    if (!json) {
      if (builtIn)
        out << item.number;
      else
        out << item.source;
      out << '\t' << item.section << '\t' << item.key << '\t' << item.displayName << '\n';
      continue;
    }
    out << (first ? "{" : ", {");
    first = false;
    if (builtIn) out << "\"number\": " << item.number << ", ";
    out << "\"source\": " << JsonString(item.source) << ", \"section\": " << JsonString(item.section)
        << ", \"key\": " << JsonString(item.key) << ", \"name\": " << JsonString(item.displayName);
    if (!builtIn) out << ", \"group\": " << JsonString(item.group);
    if (!item.switchFile.empty()) out << ", \"file\": " << JsonString(item.switchFile);
    if (!item.warning.empty()) out << ", \"warning\": " << JsonString(item.warning);
    out << "}";
  }
  if (json) out << "]}\n";
}

void PrintRun(std::ostream& out, bool json, bool preview, const RunResult& result, const CollectingObserver& seen) {
  const bool cancelled = result.outcome == RunOutcome::Cancelled;
  // The run's own counters: the figures read back from the selection file
  // may be older ones when the file could not be written.
  const double keys = seen.report ? seen.report->registryKeysCleaned : result.registryKeysCleaned;
  const double bytes = seen.report ? seen.report->bytesReleased : result.bytesReleased;
  if (json) {
    out << "{\"mode\": " << JsonString(preview ? "preview" : "clean")
        << ", \"cancelled\": " << (cancelled ? "true" : "false") << ", \"rows\": [";
    for (size_t i = 0; i < seen.rows.size(); ++i) {
      out << (i ? ", " : "") << "{\"item\": " << JsonString(seen.rows[i].item)
          << ", \"status\": " << JsonString(seen.rows[i].status);
      if (!seen.rows[i].source.empty()) out << ", \"source\": " << JsonString(seen.rows[i].source);
      out << "}";
    }
    out << "], \"registryKeysCleaned\": " << PlainNumber(keys) << ", \"bytesReleased\": " << PlainNumber(bytes)
        << ", \"entries\": [";
    for (size_t i = 0; i < seen.entries.size(); ++i) {
      const auto& [item, source, entry] = seen.entries[i];
      out << (i ? ", " : "") << "{\"item\": " << JsonString(item)
          << ", \"kind\": " << JsonString(EntryKindName(entry.kind)) << ", \"path\": " << JsonString(entry.path)
          << ", \"bytes\": " << PlainNumber(entry.bytes);
      if (entry.kind == EntryKind::Rows) out << ", \"rows\": " << entry.rows;
      if (entry.refused) out << ", \"refused\": true";
      if (!source.empty()) out << ", \"source\": " << JsonString(source);
      out << "}";
    }
    out << "]}\n";
    return;
  }
  for (const Row& row : seen.rows) out << row.item << '\t' << row.status << '\n';
  if (cancelled) out << "\nCancelled: the figures are those of what was done.";
  out << "\n"
      << (preview ? "Would clean" : "Cleaned") << " Registry Keys: " << PlainNumber(keys) << "\n"
      << (preview ? "Would release" : "Released") << " HD Space: " << MegabytesText(bytes, '.') << "MB ("
      << PlainNumber(bytes) << " bytes)\n";
  if (preview) {
    for (const auto& [item, source, entry] : seen.entries)
      out << (entry.refused ? "refused\t" : "") << EntryKindName(entry.kind) << '\t' << entry.path << '\t'
          << (entry.kind == EntryKind::Rows ? std::to_string(entry.rows) + " rows" : PlainNumber(entry.bytes)) << '\n';
  }
}

}  // namespace

bool WantsCommandLineMode(const std::vector<std::string>& args) {
  for (const std::string& arg : args)
    if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) return true;
  return false;
}

int RunCommandLine(const std::vector<std::string>& args, Platform& platform, std::ostream& out, std::ostream& err,
                   const CancelRequest* cancel) {
  enum class Action { None, Preview, Clean, List, Help, Version } action = Action::None;
  bool json = false;
  for (const std::string& arg : args) {
    Action next = Action::None;
    if (arg == "--json") {
      json = true;
      continue;
    }
    if (arg == "--preview")
      next = Action::Preview;
    else if (arg == "--clean")
      next = Action::Clean;
    else if (arg == "--list")
      next = Action::List;
    else if (arg == "--help" || arg == "-h" || arg == "/?")
      next = Action::Help;
    else if (arg == "--version")
      next = Action::Version;
    else {
      err << "clearvane: unknown argument \"" << arg << "\"\n" << kUsage;
      return 2;
    }
    if (action != Action::None && action != next) {
      err << "clearvane: choose one of --preview, --clean, --list, --help, --version\n";
      return 2;
    }
    action = next;
  }
  switch (action) {
    case Action::None:
      err << "clearvane: nothing to do\n" << kUsage;
      return 2;
    case Action::Help:
      out << kUsage;
      return 0;
    case Action::Version:
      out << kVersion;
      return 0;
    case Action::List:
      PrintList(out, json, ItemsOfRun(platform));
      return 0;
    case Action::Preview:
    case Action::Clean:
      break;
  }

  ConsoleMessageBoxes consoleMessages(err);
  Platform console{platform.registry, platform.files,      platform.shell,  consoleMessages,
                   platform.clock,    platform.urlHistory, platform.office, platform.keys};
  regfun registry(console.registry, console.messages);
  const StartupValues values = ComputeStartupValues(console, registry);
  Cleaner cleaner(console, values);
  CollectingObserver seen;
  RunOptions options;
  options.mode = action == Action::Preview ? EraseMode::Preview : EraseMode::Clean;
  options.unattended = true;
  options.sink = &seen;
  options.cancel = cancel;
  const RunResult result = cleaner.CleanNow(options, seen);
  PrintRun(out, json, action == Action::Preview, result, seen);
  return result.outcome == RunOutcome::Cancelled ? kExitCancelled : 0;
}

}  // namespace cv
