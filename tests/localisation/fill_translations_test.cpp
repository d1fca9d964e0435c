#include "localisation/fill_translations.h"

#include <gtest/gtest.h>

#include "localisation/translation_state.h"
#include "localisation/translation_table.h"
#include "tests/localisation/translation_test_state.h"

namespace zov {
namespace {

class FillTranslationsTest : public TranslationStateTest {
 protected:
  static void ExpectKeysOfEveryRow() {
    ASSERT_EQ(SourceTexts.size(), static_cast<std::size_t>(kTranslationSlots) + 1);
    for (int slot = 0; slot <= kTranslationSlots; ++slot) {
      EXPECT_EQ(SourceTexts[slot], TranslationRows()[slot][kEnglish]) << "slot " << slot;
    }
  }
};

TEST_F(FillTranslationsTest, StoresTheKeysAndTheTextsOfTheChosenLanguage) {
  for (int language = kTurkish; language <= kSpanish; ++language) {
    UseLanguage(language);
    ExpectKeysOfEveryRow();
    ASSERT_EQ(TranslatedTexts.size(), static_cast<std::size_t>(kTranslationSlots) + 1);
    for (int slot = 0; slot <= kTranslationSlots; ++slot) {
      EXPECT_EQ(TranslatedTexts[slot], TranslationRows()[slot][language]) << "slot " << slot;
    }
  }
}

TEST_F(FillTranslationsTest, Languages5To7StoreTheFillerInEveryRowIncludingTheAgreement) {
  for (int language : {5, 6, 7}) {
    UseLanguage(language);
    ExpectKeysOfEveryRow();
    EXPECT_EQ(TranslatedTexts[9], "Dil :");
    for (int slot = 0; slot <= kTranslationSlots; ++slot) {
      const bool named = !TranslationRows()[slot][kEnglish].empty();
      EXPECT_EQ(TranslatedTexts[slot], named ? "Dil :" : "") << "slot " << slot;
    }
  }
}

TEST_F(FillTranslationsTest, EnglishAndUnknownValuesStoreOnlyTheKeys) {
  for (int language : {0, 8, -1}) {
    UseLanguage(language);
    ExpectKeysOfEveryRow();
    ASSERT_EQ(TranslatedTexts.size(), static_cast<std::size_t>(kTranslationSlots) + 1);
    for (const std::string& text : TranslatedTexts) EXPECT_EQ(text, "");
  }
}

TEST_F(FillTranslationsTest, EveryFillReplacesThePreviousContent) {
  UseLanguage(kGerman);
  TranslatedTexts.push_back("extra");
  SourceTexts[15] = "left over";
  UseLanguage(kTurkish);
  ExpectKeysOfEveryRow();
  ASSERT_EQ(TranslatedTexts.size(), static_cast<std::size_t>(kTranslationSlots) + 1);
  EXPECT_EQ(TranslatedTexts[7], "İleri >>");

  UseLanguage(0);
  EXPECT_EQ(TranslatedTexts[7], "");
}

}  // namespace
}  // namespace zov
