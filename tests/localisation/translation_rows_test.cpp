#include "tests/localisation/translation_rows.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include "localisation/contact_addresses.h"

namespace zov {
namespace {

TEST(ExpectHasTranslationRow, AcceptsCallersTextsThatHaveARow) {
  ExpectHasTranslationRow("Next >>");
  ExpectHasTranslationRow("Couldn't fix AVI registry!");  // the row's key starts in lower case
  ExpectHasTranslationRow(" couldn't be found!");
  ExpectHasTranslationRow(SupportLine());
  ExpectHasTranslationRow(IncompleteInstallerText());
}

TEST(ExpectHasTranslationRow, FailsForATextWithoutARow) {
  EXPECT_NONFATAL_FAILURE(ExpectHasTranslationRow("Not a text of the installer"),
                          "Not a text of the installer");
  // The space belongs to the key.
  EXPECT_NONFATAL_FAILURE(ExpectHasTranslationRow("couldn't be found!"), "couldn't be found!");
  EXPECT_NONFATAL_FAILURE(ExpectHasTranslationRow("Please email this error message to "), "email");
}

}  // namespace
}  // namespace zov
