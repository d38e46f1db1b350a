#include "config/options_dialog.h"

#include <utility>

#include "config/selection_schema.h"
#include "platform/text.h"

namespace cv {

namespace {

constexpr std::string_view kHomePageKeys[] = {
    "HKEY_USERS\\.DEFAULT\\Software\\Microsoft\\Internet Explorer\\Main",
    "HKEY_CURRENT_USER\\Software\\Microsoft\\Internet Explorer\\Main",
    "HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Internet Explorer\\Main",
};
constexpr std::string_view kStartPage = "Start Page";
constexpr std::string_view kWindowTitle = "Window Title";
constexpr std::string_view kReadFailure = "Error";

// The boxes loaded by the switch rule, with the keys they are stored under
// on every "OK" ("bosskey" has its own rule there).
constexpr std::pair<std::string_view, bool OptionsForm::*> kFlagBoxes[] = {
    {kOptionStartup, &OptionsForm::startup},
    {kOptionAutoClean, &OptionsForm::autoUpdate},
    {kOptionExit, &OptionsForm::exitAfterCleaning},
    {kOptionSecurely, &OptionsForm::securely},
    {kOptionWindowsStartup, &OptionsForm::windowsStartup},
    {kOptionWindowsShutdown, &OptionsForm::windowsShutdown},
};

std::string TextOrSpace(std::string text) { return text.empty() ? std::string(" ") : text; }

}  // namespace

std::vector<std::string> StartTimeEntries() {
  std::vector<std::string> entries;
  for (int hour = 0; hour < 24; ++hour) {
    entries.push_back(std::to_string(hour) + ":00");
    entries.push_back(std::to_string(hour) + ":30");
  }
  return entries;
}

std::string RunKeyValue(std::string_view programFolder) {
  return "\"" + std::string(programFolder) + "\\clearvane.exe\" min";
}

OptionsStore::OptionsStore(Inifun& ini, regfun& registryLayer, Registry& registry, std::string selectionFile,
                           std::string programFolder)
    : ini_(ini),
      regfun_(registryLayer),
      registry_(registry),
      selectionFile_(std::move(selectionFile)),
      programFolder_(std::move(programFolder)) {}

std::string OptionsStore::Option(std::string_view key) {
  return ini_.ReadIniValue(selectionFile_, kOptionsSection, key);
}

void OptionsStore::Store(std::string_view key, std::string_view value) {
  ini_.WriteIniValue(selectionFile_, kOptionsSection, key, value);
}

void OptionsStore::StoreFlag(std::string_view key, bool on) { Store(key, on ? "1" : "0"); }

OptionsForm OptionsStore::Load() {
  OptionsForm form;
  const auto homePage = [&](std::string_view value) {
    std::string text = regfun_.ReadRegString(kHomePageKeys[1], value);
    return text == kReadFailure ? std::string() : text;
  };
  form.startPage = homePage(kStartPage);
  form.windowTitle = homePage(kWindowTitle);
  form.bossKey = SwitchIsOn(Option(kOptionBossKey));
  for (const auto& [key, box] : kFlagBoxes) form.*box = SwitchIsOn(Option(key));
  form.hideModernBrowsers = SwitchIsOn(Option(kOptionBossKeyBrowsers));
  form.askBeforeCleaning = !SwitchIsOn(Option(kOptionDontAskBeforeCleaning));
  form.threePasses = Option(kOptionSecurePasses) == "3";
  // Each day box shows one character of "CleanDays" (the last one is
  // Saturday); only "1" ticks it.
  const ScheduleDays days = SplitScheduleDays(Option(kOptionCleanDays));
  for (size_t day = 0; day < days.size(); ++day) form.days[day] = days[day] == "1";
  form.cleanTime = Option(kOptionCleanTime);
  return form;
}

void OptionsStore::WriteRunValue(bool present) {
  ScopedRegKey run(registry_);
  if (present) {
    if (registry_.CreateKey(kHkeyCurrentUser, kRunKeyPath, run.out()) == kOk)
      registry_.SetValue(run.get(), kRunValueName, kRegSz, RunKeyValue(programFolder_));
  } else if (registry_.OpenKey(kHkeyCurrentUser, kRunKeyPath, kKeyWrite, run.out()) == kOk) {
    registry_.DeleteValue(run.get(), kRunValueName);
  }
  // A value left under the machine's Run key by an older copy would start the
  // program for every user and outlive this box: remove it where allowed.
  ScopedRegKey machineRun(registry_);
  if (registry_.OpenKey(kHkeyLocalMachine, kRunKeyPath, kKeyWrite, machineRun.out()) == kOk)
    registry_.DeleteValue(machineRun.get(), kRunValueName);
}

OptionsApplied OptionsStore::Ok(OptionsForm form) {
  OptionsApplied applied;
  form.startPage = TextOrSpace(std::move(form.startPage));
  form.windowTitle = TextOrSpace(std::move(form.windowTitle));
  regfun_.WriteRegString(kHomePageKeys[0], kStartPage, form.startPage);
  regfun_.WriteRegString(kHomePageKeys[0], kWindowTitle, form.windowTitle);
  regfun_.WriteRegString(kHomePageKeys[1], kStartPage, form.startPage);
  regfun_.WriteRegString(kHomePageKeys[1], kWindowTitle, form.windowTitle);
  regfun_.WriteRegString(kHomePageKeys[2], kWindowTitle, form.windowTitle);
  regfun_.WriteRegString(kHomePageKeys[2], kStartPage, form.startPage);

  // "bosskey" is written, and the hot keys switched, only when the box
  // differs from what the stored value means.
  if (form.bossKey != SwitchIsOn(Option(kOptionBossKey))) {
    StoreFlag(kOptionBossKey, form.bossKey);
    applied.bossKey = form.bossKey ? BossKeySwitch::On : BossKeySwitch::Off;
  }
  StoreFlag(kOptionBossKeyBrowsers, form.hideModernBrowsers);
  applied.hideModernBrowsers = form.hideModernBrowsers;

  StoreFlag(kOptionStartup, form.startup);
  WriteRunValue(form.startup);

  for (const auto& [key, box] : kFlagBoxes)
    if (key != kOptionStartup) StoreFlag(key, form.*box);
  StoreFlag(kOptionDontAskBeforeCleaning, !form.askBeforeCleaning);
  Store(kOptionSecurePasses, form.threePasses ? "3" : "1");

  std::string days;
  for (bool day : form.days) days += day ? '1' : '0';
  Store(kOptionCleanDays, days);
  Store(kOptionCleanTime, form.cleanTime);

  // The main window takes the schedule as stored (a file that could not be
  // written keeps the old one in force).
  applied.scheduleDays = SplitScheduleDays(Option(kOptionCleanDays));
  applied.scheduleTime = Option(kOptionCleanTime);
  return applied;
}

}  // namespace cv
