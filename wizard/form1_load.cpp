// Form1's start-up: the shared folders and names, the Windows classification,
// the user folders on Vista and 7, the stored language, the translation
// tables and the agreement, the default destination, the check that the
// product is not running, the language of the list and the welcome page.
#include <variant>

#include "localisation/fill_translations.h"
#include "localisation/translation_state.h"
#include "platform/runtime/files.h"
#include "platform/runtime/strings.h"
#include "platform/win32/kernel.h"
#include "platform/win32/types.h"
#include "services/os_version.h"
#include "services/path_exists.h"
#include "services/primary_lang_id.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "wizard/form1.h"

namespace zov {

using runtime::Trim;

namespace {

const char* const kProductKey = "Software\\Zideruv\\ZOV4";
constexpr std::int32_t kNoStoredLanguage = -1;

// A folder from a Windows folder function, without its trailing "\".
std::string withoutTrailingBackslash(const std::string& folder) {
  const std::string t = Trim(folder);
  return runtime::Right(t, 1) == "\\" ? runtime::Left(t, runtime::Len(t) - 1) : folder;
}

// The list position of the system's user-interface language.
int positionOfSystemLanguage() {
  switch (PrimaryLangId(win32::GetSystemDefaultUILanguage())) {
    case 0x07: return 1;  // German: "Deutsch"
    case 0x0C: return 2;  // French: "Français"
    case 0x0A: return 3;  // Spanish: "Espanol"
    default: return 0;    // English, Turkish and every other language: "English"
  }
}

bool isListPosition(std::int32_t position) { return position >= 0 && position <= 3; }

}  // namespace

void Form1Window::Form_Load() {
  std::string buffer = runtime::Space(145);
  win32::DWORD n = win32::GetTempPathA(145, buffer);
  TempDir = runtime::Left(buffer, n);
  TempDir = withoutTrailingBackslash(TempDir);

  buffer = runtime::Space(145);
  n = win32::GetWindowsDirectoryA(buffer, 145);
  WindowsDir = withoutTrailingBackslash(runtime::Left(buffer, n));

  ProgramName = "Zuzuzu Rudavero 5";
  OsCode = GetOsCode();
  if (OsCode == 4) FindUserFolders();

  // The stored value is a position in the language list. The tables are
  // loaded at once in the language of that item, so that whatever the
  // start-up shows before the list is set (the already-running box) is in
  // the language the user chose last time.
  const std::int32_t storedLanguage =
      GetRegDWord(win32::HKEY_LOCAL_MACHINE, kProductKey, "Language", kNoStoredLanguage, 0);
  LanguageIndex = isListPosition(storedLanguage) ? LanguageCodeOfItem(Combo1.List(storedLanguage)) : 0;

  SourceTexts.assign(1, std::string());
  TranslatedTexts.assign(1, std::string());
  FillTranslations();
  Text1.Text = SourceTexts[9];

  chooseDefaultDestination();

  if (!WaitWhileProductRuns()) return;

  const int position = storedLanguage == kNoStoredLanguage ? positionOfSystemLanguage() : storedLanguage;
  if (isListPosition(position)) Combo1.ListIndex = position;

  WizardPage = 1;
  Image1.setPicture(icon);
  Text2.Text = Trim(InstallDir);
  Text2.SelStart = static_cast<int>(runtime::Len(Trim(InstallDir)));
}

void Form1Window::chooseDefaultDestination() {
  const std::string defaultDir = runtime::Left(Trim(WindowsDir), 2) + "\\Program Files\\ZOV Zuzuzu Rudavero 5";
  auto storedDir = [&] { return GetRegString(win32::HKEY_LOCAL_MACHINE, kProductKey, "Dizin", defaultDir, 0); };
  if (OsCode != 4) {
    // Before Vista the product key is looked for among the subkeys first;
    // a stored folder that no longer exists gives the default.
    const SubkeyList keys = EnumRegKeys(win32::HKEY_LOCAL_MACHINE, "Software\\Zideruv");
    if (const auto* names = std::get_if<std::vector<std::string>>(&keys)) {
      for (const std::string& name : *names) {
        if (name != "ZOV4") continue;
        InstallDir = storedDir();
        if (Trim(InstallDir).empty() || !PathExists(InstallDir, runtime::vbDirectory)) InstallDir = defaultDir;
        break;
      }
    } else if (std::holds_alternative<std::int16_t>(keys)) {
      InstallDir = defaultDir;
    }
  } else if (PathExists(AppDataDir, runtime::vbDirectory) || PathExists(DomainAppDataDir, runtime::vbDirectory)) {
    // On Vista and 7 the stored folder stays even when it is gone; the
    // destination checks deal with it at install time.
    InstallDir = storedDir();
  } else {
    InstallDir = defaultDir;
  }
  if (Trim(InstallDir).empty() || InstallDir.value()[0] == '\0') InstallDir = defaultDir;
}

}  // namespace zov
