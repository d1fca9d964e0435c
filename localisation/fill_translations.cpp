#include "localisation/fill_translations.h"

#include <cstddef>
#include <string>

#include "localisation/translation_state.h"
#include "localisation/translation_table.h"

namespace zov {

void FillTranslations() {
  const TranslationRowTable& rows = TranslationRows();
  // Languages 5 to 7 show row 2's Turkish text ("Dil :") for every row.
  const std::string& filler = rows[2][kTurkish];

  SourceTexts.assign(kTranslationSlots + 1, std::string());
  TranslatedTexts.assign(kTranslationSlots + 1, std::string());
  for (int k = 1; k <= kTranslationSlots; ++k) {
    const TranslationRow& row = rows[k];
    if (row[kEnglish].empty()) continue;  // a slot that no row names stays empty
    SourceTexts[k] = row[kEnglish];
    if (LanguageIndex >= kTurkish && LanguageIndex <= kSpanish) {
      TranslatedTexts[k] = row[static_cast<std::size_t>(LanguageIndex)];
    } else if (LanguageIndex >= 5 && LanguageIndex <= 7) {
      TranslatedTexts[k] = filler;
    }
  }
}

}  // namespace zov
