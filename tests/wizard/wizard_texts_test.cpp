// Every text the wizard windows pass to the translation function has its row.
#include <gtest/gtest.h>

#include "tests/localisation/translation_rows.h"

namespace zov {
namespace {

TEST(WizardTexts, EveryTranslatedTextHasARow) {
  for (const char* text :
       {"Next >>", "Install", "Finish", "Will not install Microsoft Visual C++ 2005 Redistributable",
        "Do you want to cancel the installation?", "Rededi Dirirozo", "Deleting temporary files...",
        "Temporary files are being deleted...", "Select a destination for Rededi Dirirozo", "Free Space",
        "&New Folder", "&Ok", "Enter a name for new folder :", "New Folder", "Characters, like '\\*?,:' are invalid.",
        "Invalid Characters", "Space in drive is less than 5.000.000 bytes.",
        "You need more space to install Rededi Dirirozo.", "Warning",
        "Rededi Dirirozo can not be installed into a network driver.", "Error: Could not create directory : ",
        "Cancel", "ZOV Rededi Dirirozo - Install"}) {
    ExpectHasTranslationRow(text);
  }
}

}  // namespace
}  // namespace zov
