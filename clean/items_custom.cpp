// The files and folders the user named in the selection dialog, listed in
// "cusd.dat" beside the program (config/custom_list.h).
#include "clean/item_groups.h"
#include "clean/run_context.h"
#include "config/custom_list.h"

namespace cv {

namespace {

void EraseListedTarget(RunContext& run, const CustomListLine& line) {
  if (line.type == kCustomTypeFile) {
    if (run.fso.FileExists(line.path)) run.BytesReleased += run.erase.DeleteSingleFile(line.path);
  } else if (line.type == kCustomTypeFolder) {
    if (run.fso.FolderExists(line.path)) run.BytesReleased += run.erase.DeleteFolderTree(line.path);
  }
}

void CustomFilesAndFolders(RunContext& run) {
  std::vector<CustomListLine> lines;
  const Status read = ReadCustomList(run.platform.files, run.ProgramFile(kCustomItemFileName), lines);
  // A list that cannot be read erased nothing: the row says so, not "Done".
  if (read == kErrFileNotFound)
    run.SetFinalStatus("Fail, Can't find file!");
  else if (read != kOk)
    run.SetFinalStatus(ReadFailureStatus(read));
  for (const CustomListLine& line : lines) EraseListedTarget(run, line);
}

constexpr ItemBinding kCustomItems[] = {{140, CustomFilesAndFolders}};

}  // namespace

std::span<const ItemBinding> CustomItems() { return kCustomItems; }

}  // namespace cv
