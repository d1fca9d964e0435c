// Puts the translation state into a known condition before each test and
// leaves it as a fresh run finds it afterwards.
#pragma once

#include <gtest/gtest.h>

#include "localisation/fill_translations.h"
#include "localisation/translation_state.h"

namespace zov {

class TranslationStateTest : public ::testing::Test {
 protected:
  void TearDown() override {
    LanguageIndex = 0;
    SourceTexts.clear();
    TranslatedTexts.clear();
    TranslationCache.fill({});
  }

  // As a language switch leaves it: the table filled for `language` and the
  // cache empty.
  static void UseLanguage(int language) {
    LanguageIndex = language;
    FillTranslations();
    TranslationCache.fill({});
  }

  static bool CacheIsEmpty() {
    for (const std::string& element : TranslationCache) {
      if (!element.empty()) return false;
    }
    return true;
  }
};

}  // namespace zov
