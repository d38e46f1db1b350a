// Instant messengers: Windows Live Messenger, Yahoo! Messenger, AOL Instant
// Messenger and ICQ.
#include "clean/item_groups.h"
#include "clean/item_steps.h"
#include "clean/run_context.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr ItemStep kMsnChatLogs[] = {{StepOp::kAllFilesInTree, StepBase::kDocuments, "\\my chat logs"}};
constexpr ItemStep kMsnReceivedFiles[] = {{StepOp::kAllFilesInTree, StepBase::kDocuments, "\\my received files"}};
constexpr ItemStep kYahooPager[] = {{StepOp::kRegValue, StepBase::kNone, "Software\\Yahoo\\pager", "Yahoo! User ID"},
                                    {StepOp::kRegValue, StepBase::kNone, "Software\\Yahoo\\pager", "Auto Login"}};
constexpr ItemStep kYahooCache[] = {
    {StepOp::kAllFilesInTree, StepBase::kNone, "C:\\Program Files\\Yahoo!\\Messenger\\Cache"}};
constexpr ItemStep kYahooLogs[] = {
    {StepOp::kAllFilesInTree, StepBase::kNone, "C:\\Program Files\\Yahoo!\\Messenger\\logs"}};
constexpr ItemStep kAimSettings[] = {{StepOp::kAllFilesInTree, StepBase::kLocalAppData, "\\AIM\\Settings"}};
// The recent screen names and the saved password live in the same file.
constexpr ItemStep kAimNames[] = {{StepOp::kNamedFilesInFolder, StepBase::kLocalAppData, "\\AIM", "aimx.bin"}};
constexpr ItemStep kAimBuddies[] = {{StepOp::kAllFilesInTree, StepBase::kAppData, "\\acccore\\caches\\users"}};
constexpr ItemStep kAimLogs[] = {{StepOp::kAllFilesInTree, StepBase::kDocuments, "\\AIMLogger"}};
// Sign-in history and account are the same database.
constexpr ItemStep kIcqApplication[] = {{StepOp::kNamedFilesInTree, StepBase::kAppData, "\\ICQ", "Application.qdb"}};
constexpr ItemStep kIcqMessages[] = {{StepOp::kNamedFilesInTree, StepBase::kAppData, "\\ICQ", "Messages.qdb"}};
constexpr ItemStep kIcqContacts[] = {{StepOp::kNamedFilesInTree, StepBase::kAppData, "\\ICQ", "Owner.qdb"}};
// The primitive lower-cases the folder names it compares, so the name is given in lower case.
constexpr ItemStep kIcqReceivedFiles[] = {
    {StepOp::kNamedFoldersInTree, StepBase::kDocuments, "\\ICQ", "receivedfiles"}};
constexpr ItemStep kIcqToolbarHistory[] = {
    {StepOp::kRegKey, StepBase::kNone,
     "Software\\Microsoft\\Internet Explorer\\LowRegistry\\ICQ\\ICQToolBar\\History"}};

// The profiles key, then the profile files below the folder Yahoo!
// registered for its type library's help files.
void YahooProfiles(RunContext& run) {
  run.RegistryKeysCleaned += run.erase.DeleteRegTree(kHkeyCurrentUser, "Software\\Yahoo\\pager\\profiles");
  const std::string helpDir = run.reg.ReadRegString(
      "HKEY_LOCAL_MACHINE\\SOFTWARE\\Classes\\TypeLib\\{2B323CCC-50E3-11D3-9466-00A0C9700498}\\1.0\\HELPDIR", "");
  const std::string folder(TrimSpaces(regfun::TrimAtNul(helpDir)));
  if (!IsUsableLocation(folder)) return;
  // The stored folder ends with its own backslash.
  run.BytesReleased += run.erase.DeleteAllFilesInTree(folder + "Profiles");
}

constexpr ItemBinding kMessengerItems[] = {
    {93, RunStepTable<kMsnChatLogs>},        {94, RunStepTable<kMsnReceivedFiles>},
    {95, RunStepTable<kYahooPager>},         {96, YahooProfiles},
    {97, RunStepTable<kYahooCache>},         {98, RunStepTable<kYahooLogs>},
    {99, RunStepTable<kAimSettings>},        {100, RunStepTable<kAimNames>},
    {101, RunStepTable<kAimNames>},          {102, RunStepTable<kAimBuddies>},
    {103, RunStepTable<kAimLogs>},           {104, RunStepTable<kIcqApplication>},
    {105, RunStepTable<kIcqMessages>},       {106, RunStepTable<kIcqContacts>},
    {107, RunStepTable<kIcqApplication>},    {108, RunStepTable<kIcqReceivedFiles>},
    {109, RunStepTable<kIcqToolbarHistory>},
};

}  // namespace

std::span<const ItemBinding> MessengerItems() { return kMessengerItems; }

}  // namespace cv
