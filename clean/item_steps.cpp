#include "clean/item_steps.h"

#include "clean/items_office.h"
#include "clean/run_context.h"

namespace cv {

namespace {

constexpr std::string_view kUserShellFolders =
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

bool IsRegistryStep(StepOp op) { return op == StepOp::kRegKey || op == StepOp::kRegTree || op == StepOp::kRegValue; }

// The base a step's path is appended to; nullopt when the base is a folder
// whose location is unknown, so the step must erase nothing.
std::optional<std::string> BaseOf(RunContext& run, StepBase base, std::optional<std::string>& documents) {
  const auto usable = [](const std::string& folder) -> std::optional<std::string> {
    if (!IsUsableLocation(folder)) return std::nullopt;
    return folder;
  };
  switch (base) {
    case StepBase::kNone:
      return std::string();
    case StepBase::kDocuments:
      if (!documents) documents = DocumentsFolder(run).value_or(std::string());
      return usable(*documents);
    case StepBase::kAppData:
      return usable(run.values.AppDataFolder);
    case StepBase::kLocalAppData:
      return usable(run.values.LocalAppDataFolder);
    case StepBase::kOfficeRoot:
      return "Software\\Microsoft\\Office\\" + OfficeVersionNumber(run.OfficeVersion);
    case StepBase::kProfileWizard:
      return "Software\\Microsoft\\OfficeProfileWizard\\" + OfficeVersionNumber(run.OfficeVersion);
  }
  return std::nullopt;
}

double RunRegistryStep(allerase& erase, StepOp op, const std::string& key, std::string_view name) {
  switch (op) {
    case StepOp::kRegKey:
      return erase.DeleteRegKey(kHkeyCurrentUser, key);
    case StepOp::kRegTree:
      return erase.DeleteRegTree(kHkeyCurrentUser, key);
    case StepOp::kRegValue:
      return erase.DeleteRegValue(kHkeyCurrentUser, key, name);
    default:
      return 0;
  }
}

double RunFileStep(allerase& erase, StepOp op, const std::string& folder, std::string_view name) {
  switch (op) {
    case StepOp::kAllFilesInTree:
      return erase.DeleteAllFilesInTree(folder);
    case StepOp::kNamedFilesInTree:
      return erase.DeleteNamedFilesInTree(folder, name);
    case StepOp::kNamedFilesInFolder:
      return erase.DeleteNamedFilesInFolder(folder, name);
    case StepOp::kNamedFoldersInTree:
      return erase.DeleteNamedFoldersInTree(folder, name);
    case StepOp::kFilesByExtensionInTree:
      return erase.DeleteFilesByExtensionInTree(folder, name);
    default:
      return 0;
  }
}

}  // namespace

bool IsUsableLocation(std::string_view folder) { return !folder.empty() && folder != "Error"; }

std::optional<std::string> DocumentsFolder(RunContext& run) {
  std::string folder = ReadFolderSetting(run.reg, run.platform.shell, kUserShellFolders, "Personal");
  if (!IsUsableLocation(folder)) return std::nullopt;
  return folder;
}

void RunSteps(RunContext& run, std::span<const ItemStep> steps) {
  std::optional<std::string> documents;  // read once per item, when a step needs it
  for (const ItemStep& step : steps) {
    const std::optional<std::string> base = BaseOf(run, step.base, documents);
    if (!base) continue;
    const std::string target = *base + std::string(step.path);
    if (IsRegistryStep(step.op))
      run.RegistryKeysCleaned += RunRegistryStep(run.erase, step.op, target, step.name);
    else
      run.BytesReleased += RunFileStep(run.erase, step.op, target, step.name);
  }
}

}  // namespace cv
