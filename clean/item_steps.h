#pragma once
// Items whose work is a fixed list of erasure steps, written as data: each
// step names a primitive, where its target lies and the name it matches.
// Registry steps work under HKEY_CURRENT_USER and add their weight to the
// registry counter; file steps add the bytes they release.
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace cv {

class RunContext;

enum class StepOp : std::uint8_t {
  kRegKey,                  // DeleteRegKey(path)
  kRegTree,                 // DeleteRegTree(path)
  kRegValue,                // DeleteRegValue(path, name)
  kAllFilesInTree,          // DeleteAllFilesInTree(folder)
  kNamedFilesInTree,        // DeleteNamedFilesInTree(folder, name)
  kNamedFilesInFolder,      // DeleteNamedFilesInFolder(folder, name)
  kNamedFoldersInTree,      // DeleteNamedFoldersInTree(folder, name)
  kFilesByExtensionInTree,  // DeleteFilesByExtensionInTree(folder, name)
};

// What a step's path is relative to.
enum class StepBase : std::uint8_t {
  kNone,           // a sub-key of HKEY_CURRENT_USER, or an absolute folder
  kDocuments,      // the user's documents folder ("User Shell Folders", "Personal")
  kAppData,        // AppDataFolder
  kLocalAppData,   // LocalAppDataFolder
  kOfficeRoot,     // "Software\Microsoft\Office\" + the Office version number
  kProfileWizard,  // "Software\Microsoft\OfficeProfileWizard\" + the Office version number
};

struct ItemStep {
  StepOp op;
  StepBase base;
  std::string_view path;  // appended to the base as written
  std::string_view name = {};
};

void RunSteps(RunContext& run, std::span<const ItemStep> steps);

// An item action for a step table with static storage.
template <const auto& kSteps>
void RunStepTable(RunContext& run) {
  RunSteps(run, kSteps);
}

// The user's documents folder; nullopt when its location cannot be read.
std::optional<std::string> DocumentsFolder(RunContext& run);
// A folder location read from the registry or computed at start-up is usable
// unless it is empty or the marker of a failed read.
bool IsUsableLocation(std::string_view folder);

}  // namespace cv
