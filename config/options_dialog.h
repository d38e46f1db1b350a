#pragma once
// The options dialog's rules without the dialog: what it loads from the
// selection file and the registry, and what "OK" stores and switches.
#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "config/inifun.h"
#include "config/regfun.h"
#include "config/schedule_days.h"

namespace cv {

// What the dialog's controls hold.
struct OptionsForm {
  bool bossKey = false;  // Check1
  bool hideModernBrowsers = false;
  bool startup = false;            // Check2
  bool autoUpdate = false;         // Check3 ("autoclean")
  bool exitAfterCleaning = false;  // Check4
  bool askBeforeCleaning = true;   // "DontAskBeforeCleaning" not on: a clean the user starts asks first
  bool securely = false;           // Check6
  bool threePasses = false;        // "securepasses" = "3"
  bool windowsStartup = false;     // Check7
  bool windowsShutdown = false;    // Check8
  std::array<bool, 7> days{};      // chkSunday .. chkSaturday
  std::string cleanTime;           // cmbStartTime
  std::string startPage;           // Text1
  std::string windowTitle;         // Text2
};

// The 48 entries of cmbStartTime: "0:00", "0:30", "1:00" ... "23:30".
std::vector<std::string> StartTimeEntries();

// The Run key (under HKEY_CURRENT_USER; an old copy may have left the value
// under HKEY_LOCAL_MACHINE) and its value.
inline constexpr std::string_view kRunKeyPath = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
inline constexpr std::string_view kRunValueName = "Clearvane";
// The quoted program path followed by " min".
std::string RunKeyValue(std::string_view programFolder);

enum class BossKeySwitch { Keep, On, Off };

// What "OK" hands to the main window.
struct OptionsApplied {
  BossKeySwitch bossKey = BossKeySwitch::Keep;
  bool hideModernBrowsers = false;
  ScheduleDays scheduleDays;
  std::string scheduleTime;
};

class OptionsStore {
 public:
  OptionsStore(Inifun& ini, regfun& registryLayer, Registry& registry, std::string selectionFile,
               std::string programFolder);

  OptionsForm Load();
  // Stores everything in the dialog's order; failures leave their target
  // unchanged and the next step runs.
  OptionsApplied Ok(OptionsForm form);

 private:
  std::string Option(std::string_view key);
  void Store(std::string_view key, std::string_view value);
  void StoreFlag(std::string_view key, bool on);
  void WriteRunValue(bool present);

  Inifun& ini_;
  regfun& regfun_;
  Registry& registry_;
  std::string selectionFile_;
  std::string programFolder_;
};

}  // namespace cv
