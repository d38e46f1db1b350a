#include "clean/item_groups.h"

namespace cv {

// Not built yet: no plug-in rows.
void RunPlugins(RunContext&) {}

}  // namespace cv
