// Form1's start-up: the shared folders and names, the Windows classification,
// the translation tables and the agreement, the default destination, the
// language of the list and the welcome page.
#include "localisation/fill_translations.h"
#include "localisation/translation_state.h"
#include "platform/runtime/strings.h"
#include "platform/win32/kernel.h"
#include "services/os_version.h"
#include "services/primary_lang_id.h"
#include "services/shared_state.h"
#include "wizard/form1.h"

namespace zov {

using runtime::Trim;

namespace {

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

  // English until the language list is set.
  LanguageIndex = 0;

  SourceTexts.assign(1, std::string());
  TranslatedTexts.assign(1, std::string());
  FillTranslations();
  Text1.Text = SourceTexts[9];

  const std::string defaultDir = runtime::Left(Trim(WindowsDir), 2) + "\\Program Files\\ZOV Zuzuzu Rudavero 5";
  if (Trim(InstallDir).empty() || InstallDir.value()[0] == '\0') InstallDir = defaultDir;

  Combo1.ListIndex = positionOfSystemLanguage();

  WizardPage = 1;
  Image1.setPicture(icon);
  Text2.Text = Trim(InstallDir);
  Text2.SelStart = static_cast<int>(runtime::Len(Trim(InstallDir)));
}

}  // namespace zov
