#include "services/installer_mutex.h"

#include "localisation/translate_text.h"
#include "localisation/translation_state.h"
#include "platform/ui/backend.h"
#include "platform/win32/kernel.h"
#include "services/primary_lang_id.h"

namespace zov {

namespace {

constexpr char kInstallerMutexName[] = "ZOVZuzuzuRudavero5Setup";
constexpr int kExclamation = 48;

win32::HANDLE InstallerMutex = 0;
bool holding = false;

// The table's language of the system's user-interface language.
std::int32_t languageOfTheSystem() {
  switch (PrimaryLangId(win32::GetSystemDefaultUILanguage())) {
    case 0x1F: return 1;  // Turkish
    case 0x07: return 2;  // German
    case 0x0C: return 3;  // French
    case 0x0A: return 4;  // Spanish
    default: return 0;
  }
}

}  // namespace

bool TakeInstallerMutex() {
  InstallerMutex = win32::CreateMutexA(nullptr, win32::TRUE, kInstallerMutexName);
  if (InstallerMutex == 0) return true;
  holding = win32::GetLastError() != win32::ERROR_ALREADY_EXISTS;
  return holding;
}

bool HoldsInstallerMutex() { return holding; }

void ReleaseInstallerMutex() {
  if (InstallerMutex != 0) win32::CloseHandle(InstallerMutex);
  InstallerMutex = 0;
  holding = false;
}

void SayAnotherInstallationRuns() {
  LanguageIndex = languageOfTheSystem();
  ui::MsgBox(TranslateText("Another installation of ZOV Rededi Dirirozo is running. Please wait until it has "
                           "finished, then start the installation again."),
             kExclamation, TranslateText("Rededi Dirirozo"));
}

}  // namespace zov
