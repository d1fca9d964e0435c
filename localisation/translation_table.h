// The fixed content of the translation table, each slot an English key with
// its Turkish, German, French and Spanish texts: the 214 slots of the table
// as it was first made, then the rows of the texts added since (an
// incomplete installation's status and finish texts, the box of a second
// installer). Slots that no row
// names are empty in every language. Texts are UTF-8.
#pragma once

#include <array>
#include <string>

namespace zov {

inline constexpr int kTranslationSlots = 222;

// Index of a text within a row; 1 to 4 are the values of LanguageIndex.
enum TableLanguage : int { kEnglish = 0, kTurkish = 1, kGerman = 2, kFrench = 3, kSpanish = 4 };
inline constexpr int kTableLanguages = 5;

using TranslationRow = std::array<std::string, kTableLanguages>;
// Indexed by slot; slot 0 is empty.
using TranslationRowTable = std::array<TranslationRow, kTranslationSlots + 1>;

// The whole table, built once on first use.
const TranslationRowTable& TranslationRows();

}  // namespace zov
