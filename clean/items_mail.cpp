// Mail clients: Outlook Express and Windows Mail.
#include "clean/allerase.h"
#include "clean/item_groups.h"
#include "clean/item_steps.h"
#include "clean/run_context.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr StepOp kTree = StepOp::kRegTree;
constexpr StepBase kUser = StepBase::kNone;

constexpr ItemStep kOeAddressBook[] = {
    {StepOp::kFilesByExtensionInTree, StepBase::kAppData, "\\Microsoft\\Address Book", "wab"}};
constexpr ItemStep kOeAccounts[] = {{kTree, kUser, "Software\\Microsoft\\Internet Account Manager"}};
constexpr ItemStep kOeDeleted[] = {
    {StepOp::kNamedFilesInTree, StepBase::kLocalAppData, "\\Identities", "Deleted Items.dbx"}};
constexpr ItemStep kOeSent[] = {{StepOp::kNamedFilesInTree, StepBase::kLocalAppData, "\\Identities", "Sent Items.dbx"}};
constexpr ItemStep kOeOutbox[] = {{StepOp::kNamedFilesInTree, StepBase::kLocalAppData, "\\Identities", "Outbox.dbx"}};
// Outlook Express keeps these under one fixed identity.
constexpr ItemStep kOeBlocked[] = {
    {kTree, kUser,
     "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook Express\\5.0\\Block Senders"}};
constexpr ItemStep kOeFolders[] = {{StepOp::kNamedFilesInTree, StepBase::kLocalAppData, "\\Identities", "Folders.dbx"}};
constexpr ItemStep kOeMailRules[] = {
    {kTree, kUser,
     "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook Express\\5.0\\Rules\\Mail"}};
constexpr ItemStep kOeNewsRules[] = {
    {kTree, kUser,
     "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook Express\\5.0\\Rules\\News"}};
constexpr ItemStep kOeSignatures[] = {
    {kTree, kUser,
     "Identities\\{D26D609B-5ED5-4F41-B764-6684674F99A4}\\Software\\Microsoft\\Outlook Express\\5.0\\signatures"}};

constexpr ItemStep kMailRecent[] = {
    {kTree, kUser, "Software\\Microsoft\\Windows Mail\\Recent Stationery Wide List"},
    {kTree, kUser, "Software\\Microsoft\\Windows Mail\\Recently Used Addresses"},
    {kTree, kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\CIDSizeMRU"},
    {kTree, kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\LastVisitedPidlMRU"},
    {kTree, kUser, "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\ComDlg32\\OpenSavePidlMRU"}};
// Windows Mail stores each signature as a numbered sub-key of this key, as
// Outlook Express did under its identity.
constexpr ItemStep kMailSignatures[] = {{kTree, kUser, "Software\\Microsoft\\Windows Mail\\signatures"}};
constexpr ItemStep kMailBlocked[] = {
    {kTree, kUser, "Software\\Microsoft\\Windows Mail\\Junk Mail\\Block Senders List"}};
constexpr ItemStep kMailSafe[] = {{kTree, kUser, "Software\\Microsoft\\Windows Mail\\Junk Mail\\Safe Senders List"}};
constexpr ItemStep kMailRules[] = {{kTree, kUser, "Software\\Microsoft\\Windows Mail\\Rules\\Mail"}};
constexpr ItemStep kMailNewsRules[] = {{kTree, kUser, "Software\\Microsoft\\Windows Mail\\Rules\\News"}};

// The account files in the mail store. Windows Mail stores its root as an
// expandable string ("%USERPROFILE%\...\Windows Mail"), expanded here as
// every folder setting is.
void WindowsMailAccounts(RunContext& run) {
  const std::string folder = ReadFolderSetting(run.reg, run.platform.shell,
                                               "HKEY_CURRENT_USER\\Software\\Microsoft\\Windows Mail", "Store Root");
  if (!IsUsableLocation(folder)) return;
  run.BytesReleased += run.erase.DeleteFilesByExtensionInTree(folder, "oeaccount");
}

constexpr ItemBinding kMailItems[] = {
    {123, RunStepTable<kOeAddressBook>}, {124, RunStepTable<kOeAccounts>},  {125, RunStepTable<kOeDeleted>},
    {126, RunStepTable<kOeSent>},        {127, RunStepTable<kOeOutbox>},    {128, RunStepTable<kOeBlocked>},
    {129, RunStepTable<kOeFolders>},     {130, RunStepTable<kOeMailRules>}, {131, RunStepTable<kOeNewsRules>},
    {132, RunStepTable<kOeSignatures>},  {133, RunStepTable<kMailRecent>},  {134, RunStepTable<kMailSignatures>},
    {135, RunStepTable<kMailBlocked>},   {136, RunStepTable<kMailSafe>},    {137, RunStepTable<kMailRules>},
    {138, RunStepTable<kMailNewsRules>}, {139, WindowsMailAccounts},
};

}  // namespace

std::span<const ItemBinding> MailItems() { return kMailItems; }

}  // namespace cv
