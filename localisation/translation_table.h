// The fixed content of the translation table: 214 slots, each an English key
// with its Turkish, German, French and Spanish texts. Slots that no row
// names are empty in every language. Texts are UTF-8.
#pragma once

#include <array>
#include <string>

namespace zov {

inline constexpr int kTranslationSlots = 214;

// Index of a text within a row; 1 to 4 are the values of LanguageIndex.
enum TableLanguage : int { kEnglish = 0, kTurkish = 1, kGerman = 2, kFrench = 3, kSpanish = 4 };
inline constexpr int kTableLanguages = 5;

using TranslationRow = std::array<std::string, kTableLanguages>;
// Indexed by slot; slot 0 is empty.
using TranslationRowTable = std::array<TranslationRow, kTranslationSlots + 1>;

// The whole table, built once on first use.
const TranslationRowTable& TranslationRows();

}  // namespace zov
