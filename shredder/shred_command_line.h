#pragma once
// The shredder's command-line form, for scripts (through clearvane-cli):
//   --shred [--passes 1|3|7] PATH...   shred files and folders, one line per file
//   --wipe-free-space DRIVE            wipe the free space of a drive ("D:")
#include <functional>
#include <ostream>
#include <string>
#include <vector>

#include "clean/run_cancel.h"
#include "platform/platform.h"
#include "platform/volume.h"

namespace cv {

// True when the arguments ask for one of the two.
bool IsShredCommandLine(const std::vector<std::string>& args);

// Exit codes: 0 when everything named was shredded (or the wipe completed),
// 1 when something failed or was refused, 2 for bad arguments, 130 when
// `cancel` stopped it (what was written by a wipe is deleted first).
int RunShredCommandLine(const std::vector<std::string>& args, Platform& platform, Volumes& volumes,
                        const std::function<double()>& seconds, std::ostream& out, std::ostream& err,
                        const CancelRequest* cancel = nullptr);

}  // namespace cv
