// Builds the translation table for the current interface language.
#pragma once

namespace zov {

// Re-creates SourceTexts and TranslatedTexts (slots 0 to kTranslationSlots) from the fixed
// table content: every row's English key, and its text in the language of
// LanguageIndex (1 to 4), the filler "Dil :" (5 to 7), or nothing (any other
// value, English included). The previous content is discarded.
void FillTranslations();

}  // namespace zov
