#include "engine/install_account.h"

#include "localisation/translate_text.h"
#include "platform/runtime/strings.h"

namespace zov {

namespace {

// One sentence for each kind of part that is missing, in plain words.
std::string MissingParts(const InstallAccount& account, bool withShortcuts) {
  std::string text;
  auto add = [&](bool complete, const char* sentence) {
    if (complete) return;
    text += ' ';
    text += TranslateText(sentence);
  };
  add(account.ProductFiles && account.OtherFiles, "Some of its files could not be installed.");
  add(account.Settings, "Some of its settings could not be saved.");
  add(account.Registrations, "Its uninstall entry or its '.qev' file type could not be registered.");
  if (withShortcuts) add(account.Shortcuts, "Some of its shortcuts could not be created.");
  return text;
}

}  // namespace

std::string InstalledStatusLine(const InstallAccount& account, const std::string& installDir) {
  // The shortcuts are made after this line: they are not in the account yet.
  const std::string missing = MissingParts(account, false);
  const std::string installed =
      missing.empty()
          ? TranslateText("ZOV has been sucessfully installed into '") + installDir + TranslateText("' directory.")
          : TranslateText("ZOV has not been installed completely into '") + installDir +
                TranslateText("' directory.") + missing;
  return installed + runtime::vbCrLf + runtime::vbCrLf + TranslateText("Now creating shortcuts...");
}

std::string FinishText(const InstallAccount& account) {
  if (account.Complete()) {
    return TranslateText(
        "Installation of ZOV Rededi Dirirozo has been successfully completed! You can launch ZOV from the Start Menu.");
  }
  std::string text = TranslateText("Installation of ZOV Rededi Dirirozo is not complete!") + MissingParts(account, true);
  if (account.Shortcuts && account.Launchable()) {
    text += ' ';
    text += TranslateText("You can launch ZOV from the Start Menu.");
  }
  return text;
}

}  // namespace zov
