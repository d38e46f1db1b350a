#pragma once
// The main window's rules that do not need a window: the program-wide state
// it loads, the start argument, the schedule days, what each control and menu
// id does, and the tray icon's events.
#include <array>
#include <optional>
#include <string>
#include <string_view>

#include "clean/clean_run.h"
#include "config/inifun.h"
#include "config/schedule_days.h"

namespace cv {

// The arguments text after the program's path, as the system passes it to a
// GUI program (leading blanks removed; nothing else changed).
std::string StartArgumentFrom(std::string_view commandLineTail);
// The Run-key start: the argument is exactly "min" (case-sensitive).
bool IsStartupArgument(std::string_view startArgument);

// The arguments of the elevated copy that "Restart as administrator"
// starts: those this one was given, but not the start-up argument, whose
// copy would hide in the tray.
std::string RestartArguments(std::string_view startArgument);

// The program-wide state the main window builds at load.
struct MainState {
  std::string StartArgument;
  int UnattendedRun = 0;
  ScheduleDays scheduleDays;
  std::string ScheduleTime;
  double RegistryKeysCleaned = 0;
  double BytesReleased = 0;
  std::string lastClean;   // Label12
  std::string statistics;  // Label14
  bool bossKeyWanted = false;
};

// Load steps 5 to 8 and the boss-key switch, from the "Options" section.
MainState LoadMainState(Inifun& ini, std::string_view selectionFile, char decimalSeparator);

// What the user can ask of the main window, from every place that asks it.
enum class Command {
  ShowWelcome,       // Image1 "Main"
  CleaningSettings,  // Image2, File "Clean Settings", tray "Settings"
  ShowStatusPanel,   // Image3 "CLEAN NOW"
  SearchAndErase,    // Image4, Tool "Search and Erase"
  CleanOptions,      // Image5, File "Clean Options", tray "Options"
  FileShredder,      // Image6, Tool "File Shredder"
  RegistryCleaner,   // Image9, Tool "Clean Registry"
  Exit,              // Image10, File "Exit", tray "Exit"
  MenuCleanNow,      // File "Clean Now"
  StartCleaning,     // Command1
  Cancel,            // Command2, Esc, tray "Cancel Cleaning"
  Help,              // Help "Help", tray "Help", Picture2
  Website,           // Help "Our Website", tray "Clearvane On the Web", Label51
  TellAFriend,       // Help "Tell a Friend"
  About,             // Help "About"
  TrayRestore,       // tray "Restore"
  TrayCleanNow,      // tray "Clean Now"
  Analyze,           // "Analyze", File "Analyze", Ctrl+R
  RestartElevated,   // File "Restart as administrator"
};

// The command of a menu item, accelerator or clicked control; nullopt for an
// id that has none.
std::optional<Command> CommandForId(int id);

// The tray icon's mouse message, decoded.
enum class TrayAction { None, Restore, ShowMenu };
TrayAction DecodeTrayEvent(unsigned mouseMessage);

// Command lines of the programs the window starts; paths are joined as they
// are, without quotes.
std::string HelpCommandLine(std::string_view windowsFolder, std::string_view programFolder);
std::string LicenseCommandLine(std::string_view windowsFolder, std::string_view programFolder);
std::string CompanionCommandLine(std::string_view programFolder, Command command);

}  // namespace cv
