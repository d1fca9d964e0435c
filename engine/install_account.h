// What one run of the install routine has made, kind by kind, and the texts
// with which the progress page reports it. A part counts as made only when
// it took effect: a file when it was written whole, a registry value or a
// settings value when it reads back, a shortcut when it was saved, a
// Program Manager item when Program Manager took it. The finish claims
// success only when every kind is complete.
#pragma once

#include <string>

namespace zov {

struct InstallAccount {
  // Each stays true while everything of its kind that the run set out to
  // make is in place.
  bool ProductFiles = true;   // the product files and the system libraries
  bool OtherFiles = true;     // the sample project with its video's path, UserF.dat
  bool Settings = true;       // every settings value written, the language included
  bool Registrations = true;  // the uninstall entry, the .qev association when it is made
  bool Shortcuts = true;      // every shortcut, or every Program Manager item

  bool Complete() const { return ProductFiles && OtherFiles && Settings && Registrations && Shortcuts; }
  // The product can be started: its files, libraries and settings are in
  // place (a missing shortcut or registration does not stop it).
  bool Launchable() const { return ProductFiles && Settings; }
};

// The status line that ends the settings stage and announces the shortcuts:
// the installation reported as done into the folder, or as incomplete with
// what is missing so far.
std::string InstalledStatusLine(const InstallAccount& account, const std::string& installDir);

// The finish page's text: success with the Start-menu sentence, or the
// installation reported as incomplete with what is missing; the Start-menu
// sentence only when the shortcuts are there and the product can be started.
std::string FinishText(const InstallAccount& account);

}  // namespace zov
