#include "localisation/translate_text.h"

#include <cstddef>

#include "localisation/fill_translations.h"
#include "localisation/translation_state.h"
#include "platform/text/case_map.h"

namespace zov {

namespace {

bool isBlank(const std::string& s) { return s.find_first_not_of(' ') == std::string::npos; }

// An array that was never created counts as not loaded: the lookup then
// fills the table itself instead of failing, as it does for a table that
// start-up created but did not fill.
std::size_t upperBound(const std::vector<std::string>& texts) {
  return texts.empty() ? 0 : texts.size() - 1;
}

// Not loaded, or filled for a language without translations (row 1 blank):
// the language may have changed since, so the table is filled again.
bool tableNeedsFill() {
  if (upperBound(SourceTexts) == 0 || upperBound(TranslatedTexts) == 0) return true;
  return isBlank(SourceTexts[1]) || isBlank(TranslatedTexts[1]);
}

std::string& cacheKey(int pair) { return TranslationCache[2 * pair]; }
std::string& cacheValue(int pair) { return TranslationCache[2 * pair + 1]; }

// The first pair whose key is exactly `s`, or -1.
int findCachedPair(const std::string& s) {
  for (int pair = 0; pair < kTranslationCachePairs; ++pair) {
    if (cacheKey(pair) == s) return pair;
  }
  return -1;
}

// Pairs are kept in the order they were added, newest first; the oldest
// pair falls out.
void addToCache(const std::string& s, const std::string& result) {
  for (int pair = kTranslationCachePairs - 1; pair > 0; --pair) {
    cacheKey(pair) = cacheKey(pair - 1);
    cacheValue(pair) = cacheValue(pair - 1);
  }
  cacheKey(0) = s;
  cacheValue(0) = result;
}

// The linear scan: the index of the first row whose key equals `s` without
// regard to case (spaces count), or 0 when no row does.
std::size_t findRow(const std::string& s) {
  const std::string wanted = text::lower(s);
  const std::size_t rows = upperBound(SourceTexts);
  for (std::size_t i = 1; i <= rows; ++i) {
    if (text::lower(SourceTexts[i]) == wanted) return i;
  }
  return 0;
}

}  // namespace

std::string TranslateText(const std::string& s) {
  if (isBlank(s)) return {};
  if (s == kClearCacheKeyword) {
    TranslationCache.fill({});
    return {};
  }
  if (LanguageIndex == 0) return s;

  if (tableNeedsFill()) {
    FillTranslations();
    const std::size_t rows = upperBound(SourceTexts);
    if (rows == 0 || rows != upperBound(TranslatedTexts)) return s;
  }

  const int cached = findCachedPair(s);
  if (cached >= 0 && !cacheValue(cached).empty()) return cacheValue(cached);

  const std::size_t row = findRow(s);
  if (row == 0) return s;  // misses are not cached
  // The two arrays out of step (a row beyond the end of TranslatedTexts):
  // the text comes back unchanged, as from a failed read, and is not cached.
  if (row > upperBound(TranslatedTexts)) return s;
  const std::string& translation = TranslatedTexts[row];
  const std::string result = isBlank(translation) ? s : translation;
  if (cached < 0) addToCache(s, result);
  return result;
}

}  // namespace zov
