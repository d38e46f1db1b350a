#include "clean/items_office.h"

#include <array>

#include "clean/item_groups.h"
#include "clean/item_steps.h"
#include "clean/run_context.h"
#include "platform/office.h"

namespace cv {

namespace {

struct OfficeRelease {
  std::string_view versionDigits;  // looked for in the version text
  std::string_view name;
  std::string_view number;  // the registry sub-key
};

// In the order the version text is tested.
constexpr std::array<OfficeRelease, 6> kReleases{{
    {"8", "Office97", "8.0"},
    {"9", "Office2000", "9.0"},
    {"10", "Office2002", "10.0"},
    {"11", "Office2003", "11.0"},
    {"12", "Office2007", "12.0"},
    {"14", "Office2010", "14.0"},
}};

// Which versions use an item's newer key set.
enum class NewKeysFrom { kNever, kOffice2007, kOffice2010 };

struct OfficeItem {
  std::span<const ItemStep> oldKeys;
  std::span<const ItemStep> newKeys;
  NewKeysFrom newKeysFrom;
};

bool UsesNewKeys(NewKeysFrom rule, std::string_view number) {
  switch (rule) {
    case NewKeysFrom::kNever:
      return false;
    case NewKeysFrom::kOffice2007:
      return number == "12.0" || number == "14.0";
    case NewKeysFrom::kOffice2010:
      return number == "14.0";
  }
  return false;
}

template <const OfficeItem& kItem>
void RunOfficeItem(RunContext& run) {
  const bool newer = UsesNewKeys(kItem.newKeysFrom, OfficeVersionNumber(run.OfficeVersion));
  RunSteps(run, newer ? kItem.newKeys : kItem.oldKeys);
}

constexpr StepOp kTree = StepOp::kRegTree;
constexpr StepOp kValue = StepOp::kRegValue;
constexpr StepBase kOffice = StepBase::kOfficeRoot;
constexpr StepBase kUser = StepBase::kNone;

constexpr ItemStep kWordOld[] = {{kTree, kOffice, "\\Word\\Data"},
                                 {kTree, kOffice, "\\Word\\Recent Templates"},
                                 {kTree, kOffice, "\\Word\\ProjectTemplateLocation"}};
constexpr ItemStep kWordNew[] = {{kTree, kOffice, "\\Word\\File MRU"}, {kTree, kOffice, "\\Word\\Place MRU"}};
constexpr OfficeItem kWord{kWordOld, kWordNew, NewKeysFrom::kOffice2007};

constexpr ItemStep kExcelOld[] = {{kTree, kOffice, "\\Excel\\Recent Files"},
                                  {kTree, kOffice, "\\Excel\\Recent Templates"},
                                  {kTree, kOffice, "\\Excel\\ProjectTemplateLocation"}};
constexpr ItemStep kExcelNew[] = {{kTree, kOffice, "\\Excel\\File MRU"}, {kTree, kOffice, "\\Excel\\Place MRU"}};
constexpr OfficeItem kExcel{kExcelOld, kExcelNew, NewKeysFrom::kOffice2007};

constexpr ItemStep kPowerPointOld[] = {{kTree, kOffice, "\\PowerPoint\\Recent File List"},
                                       {kTree, kOffice, "\\PowerPoint\\Recent Templates"},
                                       {kTree, kOffice, "\\PowerPoint\\RecentFolderList"},
                                       {kTree, kOffice, "\\PowerPoint\\RecentTemplateList"},
                                       {kTree, kOffice, "\\PowerPoint\\ProjectTemplateLocation"}};
constexpr ItemStep kPowerPointNew[] = {{kTree, kOffice, "\\PowerPoint\\File MRU"},
                                       {kTree, kOffice, "\\PowerPoint\\Place MRU"}};
constexpr OfficeItem kPowerPoint{kPowerPointOld, kPowerPointNew, NewKeysFrom::kOffice2007};

constexpr ItemStep kFrontPage[] = {
    {kTree, kUser, "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent File List"},
    {kTree, kUser, "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Page List"},
    {kTree, kUser, "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recent Web List"},
    {kTree, kUser, "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Recently Created Servers"},
    {kValue, kUser, "Software\\Microsoft\\FrontPage\\Explorer\\FrontPage Explorer\\Settings", "LastWebOpen"}};

constexpr ItemStep kAccessOld[] = {{kTree, kOffice, "\\Access\\Settings"},
                                   {kTree, kOffice, "\\Access\\Internet\\Recent Templates"}};
constexpr ItemStep kAccessNew[] = {{kTree, kOffice, "\\Access\\File MRU"}, {kTree, kOffice, "\\Access\\Place MRU"}};
constexpr OfficeItem kAccess{kAccessOld, kAccessNew, NewKeysFrom::kOffice2010};

constexpr ItemStep kPublisher[] = {{kTree, kOffice, "\\Publisher\\Recent File List"},
                                   {kTree, kOffice, "\\Publisher\\File MRU"},
                                   {kTree, kOffice, "\\Publisher\\Place MRU"}};

constexpr ItemStep kInfoPath[] = {{kTree, kOffice, "\\InfoPath\\Recent File List"},
                                  {kTree, kOffice, "\\InfoPath\\Recent Templates"},
                                  {kTree, kOffice, "\\InfoPath\\File MRU"},
                                  {kTree, kOffice, "\\InfoPath\\Place MRU"}};

constexpr ItemStep kProject[] = {{kTree, kOffice, "\\MS Project\\Recent File List"},
                                 {kTree, kOffice, "\\MS Project\\Recent Templates"},
                                 {kTree, kOffice, "\\MS Project\\ProjectTemplateLocation"},
                                 {kTree, kOffice, "\\MS Project\\File MRU"},
                                 {kTree, kOffice, "\\MS Project\\Place MRU"}};

constexpr ItemStep kVisio[] = {{kTree, kOffice, "\\Visio\\Recent Templates"},
                               {kTree, kOffice, "\\Visio\\File MRU"},
                               {kTree, kOffice, "\\Visio\\Place MRU"}};

constexpr ItemStep kClipOrganizer[] = {{kValue, kOffice, "\\Clip Organizer", "MRUKeywords"},
                                       {kTree, kOffice, "\\Clip Organizer\\File MRU"},
                                       {kTree, kOffice, "\\Clip Organizer\\Place MRU"}};

constexpr ItemStep kOfficeSettings[] = {{kTree, StepBase::kProfileWizard, "\\RecentFileList"},
                                        {kTree, StepBase::kProfileWizard, "\\File MRU"},
                                        {kTree, StepBase::kProfileWizard, "\\Place MRU"}};

constexpr ItemStep kPictureManager[] = {
    {kValue, kOffice, "\\OIS\\Options", "LastTreeConfig"},
    {kValue, kOffice, "\\OIS\\Options", "LastTreeSelection"},
    {kTree, kOffice,
     "\\Common\\Open Find\\Microsoft Office Picture Manager\\Settings\\Add Picture Shortcut\\File Name MRU"}};

constexpr ItemStep kSnapshotViewer[] = {{kTree, kUser, "Software\\Microsoft\\Snapshot Viewer\\Recent File List"},
                                        {kTree, kUser, "Software\\Microsoft\\Snapshot Viewer\\File MRU"},
                                        {kTree, kUser, "Software\\Microsoft\\Snapshot Viewer\\Place MRU"}};

constexpr ItemBinding kOfficeItems[] = {
    {110, RunOfficeItem<kWord>},          {111, RunOfficeItem<kExcel>},         {112, RunOfficeItem<kPowerPoint>},
    {113, RunStepTable<kFrontPage>},      {114, RunOfficeItem<kAccess>},        {115, RunStepTable<kPublisher>},
    {116, RunStepTable<kInfoPath>},       {117, RunStepTable<kProject>},        {118, RunStepTable<kVisio>},
    {119, RunStepTable<kClipOrganizer>},  {120, RunStepTable<kOfficeSettings>}, {121, RunStepTable<kPictureManager>},
    {122, RunStepTable<kSnapshotViewer>},
};

}  // namespace

std::string GetOfficeVersion(OfficeDetector* detector) {
  const std::optional<std::string> reported = detector ? detector->WordVersion() : std::nullopt;
  if (!reported) return "NoOffice";
  // A version that could not be read leaves the starting text "0", which
  // matches no release.
  const std::string text = reported->empty() ? std::string("0") : *reported;
  for (const OfficeRelease& release : kReleases)
    if (text.find(release.versionDigits) != std::string::npos) return std::string(release.name);
  return {};
}

std::string OfficeVersionNumber(std::string_view versionName) {
  for (const OfficeRelease& release : kReleases)
    if (release.name == versionName) return std::string(release.number);
  return {};
}

void DetectOfficeVersion(RunContext& run) { run.OfficeVersion = GetOfficeVersion(run.platform.office); }

std::span<const ItemBinding> OfficeItems() { return kOfficeItems; }

}  // namespace cv
