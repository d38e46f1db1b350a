#include "app/main_model.h"

#include <charconv>
#include <utility>

#include "clean/clean_run.h"
#include "config/selection_schema.h"
#include "platform/text.h"
#include "resources/resource.h"
#include "resources/window_res.h"

namespace cv {

namespace {

constexpr unsigned kLeftButtonUp = 0x0202;   // WM_LBUTTONUP
constexpr unsigned kRightButtonUp = 0x0205;  // WM_RBUTTONUP

constexpr std::pair<int, Command> kCommandTable[] = {
    {IDC_IMAGE1, Command::ShowWelcome},
    {IDC_IMAGE2, Command::CleaningSettings},
    {IDC_IMAGE3, Command::ShowStatusPanel},
    {IDC_IMAGE4, Command::SearchAndErase},
    {IDC_IMAGE5, Command::CleanOptions},
    {IDC_IMAGE6, Command::FileShredder},
    {IDC_IMAGE9, Command::RegistryCleaner},
    {IDC_IMAGE10, Command::Exit},
    {IDC_COMMAND1, Command::StartCleaning},
    {IDC_COMMAND2, Command::Cancel},
    {IDC_LABEL51, Command::Website},
    {IDC_PICTURE2, Command::Help},
    {IDC_HELP_LABEL, Command::Help},
    {IDM_FILE_CLEANNOW, Command::MenuCleanNow},
    {IDM_FILE_SETTINGS, Command::CleaningSettings},
    {IDM_FILE_OPTIONS, Command::CleanOptions},
    {IDM_FILE_EXIT, Command::Exit},
    {IDM_TOOL_REGISTRY, Command::RegistryCleaner},
    {IDM_TOOL_SEARCH, Command::SearchAndErase},
    {IDM_TOOL_SHREDDER, Command::FileShredder},
    {IDM_HELP_HELP, Command::Help},
    {IDM_HELP_WEBSITE, Command::Website},
    {IDM_HELP_TELLFRIEND, Command::TellAFriend},
    {IDM_HELP_ABOUT, Command::About},
    {IDM_TRAY_WEB, Command::Website},
    {IDM_TRAY_HELP, Command::Help},
    {IDM_TRAY_OPTIONS, Command::CleanOptions},
    {IDM_TRAY_SETTINGS, Command::CleaningSettings},
    {IDM_TRAY_RESTORE, Command::TrayRestore},
    {IDM_TRAY_CLEANNOW, Command::TrayCleanNow},
    {IDM_TRAY_EXIT, Command::Exit},
    {IDC_ANALYZE, Command::Analyze},
    {IDM_FILE_ANALYZE, Command::Analyze},
    {IDM_TRAY_CANCEL, Command::Cancel},
    {IDM_ESCAPE_CANCEL, Command::Cancel},
    {IDM_FILE_RESTART_ADMIN, Command::RestartElevated},
};

}  // namespace

std::string StartArgumentFrom(std::string_view commandLineTail) {
  while (!commandLineTail.empty() && (commandLineTail.front() == ' ' || commandLineTail.front() == '\t'))
    commandLineTail.remove_prefix(1);
  return std::string(commandLineTail);
}

bool IsStartupArgument(std::string_view startArgument) { return startArgument == "min"; }

std::string RestartArguments(std::string_view startArgument) {
  return IsStartupArgument(startArgument) ? std::string() : std::string(startArgument);
}

MainState LoadMainState(Inifun& ini, std::string_view selectionFile, char decimalSeparator) {
  auto option = [&](std::string_view key) { return ini.ReadIniValue(selectionFile, kOptionsSection, key); };
  MainState state;
  state.UnattendedRun = 0;
  state.scheduleDays = SplitScheduleDays(option(kOptionCleanDays));
  state.ScheduleTime = option(kOptionCleanTime);
  state.lastClean = option(kOptionLastClean);
  state.RegistryKeysCleaned = StoredFigure(option(kOptionRegNum));
  state.BytesReleased = StoredFigure(option(kOptionFileSize));
  state.statistics = StatisticsLine(state.RegistryKeysCleaned, state.BytesReleased, decimalSeparator);
  state.bossKeyWanted = SwitchIsOn(option(kOptionBossKey));
  return state;
}

std::optional<Command> CommandForId(int id) {
  for (const auto& [tableId, command] : kCommandTable)
    if (tableId == id) return command;
  return std::nullopt;
}

TrayAction DecodeTrayEvent(unsigned mouseMessage) {
  switch (mouseMessage) {
    case kLeftButtonUp:
      return TrayAction::Restore;
    case kRightButtonUp:
      return TrayAction::ShowMenu;
    default:
      return TrayAction::None;
  }
}

namespace {

// Paths in a command line are quoted whole: a folder holding blanks would
// otherwise start "C:\Program.exe", and one holding "&" would split the line.
std::string Quoted(std::string_view folder, std::string_view relative) {
  return "\"" + std::string(folder) + std::string(relative) + "\"";
}

}  // namespace

std::string HelpCommandLine(std::string_view windowsFolder, std::string_view programFolder) {
  return Quoted(windowsFolder, "\\hh.exe") + " " + Quoted(programFolder, "\\help.chm");
}

std::string LicenseCommandLine(std::string_view windowsFolder, std::string_view programFolder) {
  return Quoted(windowsFolder, "\\notepad.exe") + " " + Quoted(programFolder, "\\License.txt");
}

std::string CompanionCommandLine(std::string_view programFolder, Command command) {
  switch (command) {
    case Command::FileShredder:
      return Quoted(programFolder, "\\Shardmill.exe");
    case Command::RegistryCleaner:
      return Quoted(programFolder, "\\Hivebrush.exe");
    default:
      return std::string();
  }
}

}  // namespace cv
