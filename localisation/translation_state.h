// The translation state of the whole run: the interface language, the two
// parallel arrays of the translation table and the cache in front of it.
// It is module-level state, used from the one user-interface thread only.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace zov {

// The interface language: 0 English, 1 Turkish, 2 German, 3 French, 4 Spanish.
// FillTranslations also gives 5, 6 and 7 a meaning; any other value is a
// language without translations.
extern std::int32_t LanguageIndex;

// The translation table: slot k (1 to kTranslationSlots) of SourceTexts holds the English
// key of row k, the same slot of TranslatedTexts its text in the language of
// the last fill. Slot 0 is never used. The upper bound of an array is
// size() - 1. An empty vector is an array not created yet, one element is
// the not-loaded state (upper bound 0), kTranslationSlots + 1 elements the loaded
// state.
extern std::vector<std::string> SourceTexts;
extern std::vector<std::string> TranslatedTexts;

// Ten pairs of (text as a caller passed it, text returned for it): element
// 2k is the key of pair k, element 2k+1 its value. Pair 0 is the most
// recently added.
inline constexpr int kTranslationCachePairs = 10;
extern std::array<std::string, 2 * kTranslationCachePairs> TranslationCache;

}  // namespace zov
