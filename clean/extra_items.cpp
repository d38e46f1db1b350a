#include "clean/extra_items.h"

#include <array>

#include "clean/items_modern_browsers.h"
#include "clean/run_context.h"
#include "clean/winapp2_items.h"
#include "config/selection_schema.h"

namespace cv {

namespace {

// The sources, in run order: today's browsers, then the community definitions.
constexpr std::array<ExtraItemSourceFn, 2> kSources{ModernBrowserItems, Winapp2Items};

}  // namespace

std::span<const ExtraItemSourceFn> ExtraItemSources() { return kSources; }

std::vector<ExtraItem> LoadExtraItems(Platform& platform) {
  std::vector<ExtraItem> items;
  for (ExtraItemSourceFn source : ExtraItemSources()) {
    std::vector<ExtraItem> found = source(platform);
    for (ExtraItem& item : found) items.push_back(std::move(item));
  }
  return items;
}

void RunExtraItems(RunContext& run, std::span<const ExtraItem> items) {
  const std::string selectionFile = run.SelectionFile();
  for (const ExtraItem& item : items) {
    const std::string value = run.ini.ReadIniValue(selectionFile, item.section, item.key);
    if (!SwitchIsOn(value)) continue;
    run.BeginItem();
    run.showstatus(item.displayName);
    run.observer.RowSourceSet(item.source);
    if (item.action) item.action(run);
    run.SetRowStatus(run.TakeFinalStatus());
  }
}

}  // namespace cv
