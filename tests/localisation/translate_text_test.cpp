#include "localisation/translate_text.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

#include "localisation/translation_state.h"
#include "localisation/translation_table.h"
#include "tests/localisation/translation_test_state.h"

namespace zov {
namespace {

class TranslateTextTest : public TranslationStateTest {
 protected:
  void SetUp() override { UseLanguage(2); }  // German

  static const std::string& CachedKey(int pair) { return TranslationCache[2 * pair]; }
  static const std::string& CachedValue(int pair) { return TranslationCache[2 * pair + 1]; }
};

// --- Texts that never reach the table -------------------------------------

TEST_F(TranslateTextTest, BlankTextGivesTheEmptyTextInEveryLanguage) {
  for (int language : {0, 1, 2, 5, 8}) {
    UseLanguage(language);
    EXPECT_EQ(TranslateText(""), "");
    EXPECT_EQ(TranslateText("    "), "");
    EXPECT_TRUE(CacheIsEmpty());
  }
}

TEST_F(TranslateTextTest, KeywordEmptiesTheCacheEvenInEnglishWithoutLoadingTheTable) {
  TranslateText("Next >>");
  ASSERT_FALSE(CacheIsEmpty());
  EXPECT_EQ(TranslateText("HafizaTemizle"), "");
  EXPECT_TRUE(CacheIsEmpty());

  LanguageIndex = 0;
  SourceTexts.assign(1, "");
  TranslatedTexts.assign(1, "");
  TranslationCache[0] = "Next >>";
  TranslationCache[1] = "Weiter >>";
  EXPECT_EQ(TranslateText("HafizaTemizle"), "");
  EXPECT_TRUE(CacheIsEmpty());
  EXPECT_EQ(SourceTexts.size(), 1u);
}

TEST_F(TranslateTextTest, KeywordIsCaseSensitive) {
  TranslateText("Next >>");
  EXPECT_EQ(TranslateText("hafizatemizle"), "hafizatemizle");
  EXPECT_EQ(CachedKey(0), "Next >>");
}

TEST_F(TranslateTextTest, EnglishGivesTheTextBackWithoutTouchingTableOrCache) {
  LanguageIndex = 0;
  SourceTexts.assign(1, "");
  TranslatedTexts.assign(1, "");
  EXPECT_EQ(TranslateText("Next >>"), "Next >>");
  EXPECT_EQ(TranslateText("  Cancel "), "  Cancel ");
  EXPECT_EQ(SourceTexts.size(), 1u);
  EXPECT_TRUE(CacheIsEmpty());
}

// --- The table scan --------------------------------------------------------

TEST_F(TranslateTextTest, CaseDoesNotCountAndTheCallersSpellingIsCached) {
  EXPECT_EQ(TranslateText("next >>"), "Weiter >>");
  EXPECT_EQ(TranslateText("Next >>"), "Weiter >>");
  EXPECT_EQ(CachedKey(0), "Next >>");
  EXPECT_EQ(CachedKey(1), "next >>");
  EXPECT_EQ(CachedValue(1), "Weiter >>");
}

TEST_F(TranslateTextTest, TurkishAndAccentedLettersCompareAlikeOnBothSides) {
  SourceTexts[15] = "İPTAL ŞİMDİ ĞÜÇÖ";
  TranslatedTexts[15] = "turkish row";
  SourceTexts[16] = "ÉTÉ À ÑANDÚ ÄÍÓ";
  TranslatedTexts[16] = "accented row";
  EXPECT_EQ(TranslateText("iptal şimdi ğüçö"), "turkish row");
  EXPECT_EQ(TranslateText("été à ñandú äíó"), "accented row");
}

TEST_F(TranslateTextTest, SpacesAtEitherEndBelongToTheKey) {
  EXPECT_EQ(TranslateText(" couldn't be found!"), " wurde nicht gefunden!");
  EXPECT_EQ(TranslateText(" COULDN'T BE FOUND!"), " wurde nicht gefunden!");
  EXPECT_EQ(TranslateText("couldn't be found!"), "couldn't be found!");
  EXPECT_EQ(TranslateText("Please check the drive : "), "Bitte überprüfen Sie das Laufwerk : ");
  EXPECT_EQ(TranslateText("Please check the drive :"), "Please check the drive :");
}

TEST_F(TranslateTextTest, TheLowerOfTwoRowsWithTheSameKeyAnswers) {
  TranslatedTexts[194] = "row 194";
  TranslatedTexts[193] = "row 193";
  EXPECT_EQ(TranslateText("Cancel"), TranslatedTexts[5]);
  EXPECT_EQ(TranslateText("Rededi Dirirozo can not be installed into a network driver."),
            TranslatedTexts[151]);
}

TEST_F(TranslateTextTest, BlankTranslationGivesTheTextBackAndIsCached) {
  TranslatedTexts[7] = "   ";
  EXPECT_EQ(TranslateText("Next >>"), "Next >>");
  EXPECT_EQ(CachedKey(0), "Next >>");
  EXPECT_EQ(CachedValue(0), "Next >>");
}

TEST_F(TranslateTextTest, ArraysOutOfStepGiveTheTextBack) {
  TranslatedTexts.resize(100);  // row 189 lies beyond its end
  const std::string text = "Select a destination for Rededi Dirirozo";
  EXPECT_EQ(TranslateText(text), text);
  EXPECT_TRUE(CacheIsEmpty());
  EXPECT_EQ(TranslateText("Cancel"), "Abbrechen");
}

// --- The cache -------------------------------------------------------------

TEST_F(TranslateTextTest, MissesAreNotCached) {
  for (int i = 0; i < 12; ++i) {
    const std::string text = "not in the table " + std::to_string(i);
    EXPECT_EQ(TranslateText(text), text);
  }
  EXPECT_TRUE(CacheIsEmpty());
  TranslateText("Cancel");
  EXPECT_EQ(CachedKey(0), "Cancel");
  EXPECT_EQ(CachedKey(1), "");
}

TEST_F(TranslateTextTest, PairsAreOrderedNewestFirstAndTheEleventhHitDropsTheOldest) {
  const std::array<std::string, 11> hits = {"Cancel", "<< Back", "Next >>", "Yes I Agree.",
                                            "No I Do Not Agree.", "Launch ZOV now.", "Change Dir",
                                            "Finish", "Install", "Rededi Dirirozo", "Free Space"};
  for (std::size_t i = 0; i < 10; ++i) TranslateText(hits[i]);
  for (int pair = 0; pair < 10; ++pair) EXPECT_EQ(CachedKey(pair), hits[9 - pair]);

  TranslateText(hits[10]);
  EXPECT_EQ(CachedKey(0), "Free Space");
  EXPECT_EQ(CachedValue(0), "Leerplatz");
  EXPECT_EQ(CachedKey(9), "<< Back");

  // The dropped text goes through the table again; the others are answered
  // from the cache.
  TranslatedTexts[5] = "table changed";
  TranslatedTexts[6] = "table changed";
  EXPECT_EQ(TranslateText("<< Back"), "<< Zurück");
  EXPECT_EQ(TranslateText("Cancel"), "table changed");
  EXPECT_EQ(CachedKey(0), "Cancel");
  EXPECT_EQ(CachedKey(9), "Next >>");
}

TEST_F(TranslateTextTest, ACachedTextIsAnsweredFromTheCacheAndDoesNotMove) {
  TranslateText("Cancel");
  TranslateText("Finish");
  TranslateText("Install");
  TranslatedTexts[5] = "table changed";
  EXPECT_EQ(TranslateText("Cancel"), "Abbrechen");
  EXPECT_EQ(CachedKey(0), "Install");
  EXPECT_EQ(CachedKey(1), "Finish");
  EXPECT_EQ(CachedKey(2), "Cancel");
}

TEST_F(TranslateTextTest, ACachedPairWithoutValueGoesToTheTableAndStaysAsItIs) {
  TranslationCache[0] = "Cancel";
  TranslationCache[1] = "";
  EXPECT_EQ(TranslateText("Cancel"), "Abbrechen");
  EXPECT_EQ(CachedKey(0), "Cancel");
  EXPECT_EQ(CachedValue(0), "");
  EXPECT_EQ(CachedKey(1), "");
}

// --- Reloading the table ---------------------------------------------------

TEST_F(TranslateTextTest, ATableFilledForEnglishIsRefilledForTheNewLanguage) {
  UseLanguage(0);
  LanguageIndex = 2;
  EXPECT_EQ(TranslateText("Next >>"), "Weiter >>");
  EXPECT_EQ(TranslatedTexts[1], TranslationRows()[1][kGerman]);
}

TEST_F(TranslateTextTest, ASwitchBetweenTwoTranslatedLanguagesNeedsItsOwnFill) {
  LanguageIndex = 3;  // French, while the table still holds German
  EXPECT_EQ(TranslateText("Next >>"), "Weiter >>");
}

TEST_F(TranslateTextTest, ATableNotLoadedOrNeverCreatedIsFilledFirst) {
  SourceTexts.assign(1, "");
  TranslatedTexts.assign(1, "");
  EXPECT_EQ(TranslateText("Cancel"), "Abbrechen");
  EXPECT_EQ(SourceTexts.size(), static_cast<std::size_t>(kTranslationSlots) + 1);

  SourceTexts.clear();
  TranslatedTexts.clear();
  TranslationCache.fill({});
  EXPECT_EQ(TranslateText("Cancel"), "Abbrechen");
}

// --- Languages without translations ---------------------------------------

TEST_F(TranslateTextTest, Languages5To7GiveTheFillerForEveryRow) {
  for (int language : {5, 6, 7}) {
    UseLanguage(language);
    EXPECT_EQ(TranslateText("Next >>"), "Dil :");
    EXPECT_EQ(TranslateText("Error"), "Dil :");
    EXPECT_EQ(TranslateText("not in the table"), "not in the table");
  }
}

TEST_F(TranslateTextTest, OtherValuesRefillOnEveryLookupAndGiveTheTextBack) {
  for (int language : {8, -1, 1000}) {
    UseLanguage(language);
    SourceTexts[7] = "overwritten";
    EXPECT_EQ(TranslateText("Next >>"), "Next >>");
    EXPECT_EQ(SourceTexts[7], "Next >>");  // filled again
    EXPECT_EQ(TranslateText("not in the table"), "not in the table");
  }
}

}  // namespace
}  // namespace zov
