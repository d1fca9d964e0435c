// The translation function through which every user-visible text passes:
// the English wording in, the text of the current interface language out.
#pragma once

#include <string>
#include <string_view>

namespace zov {

// Passed to TranslateText exactly so spelt, it empties the translation cache.
inline constexpr std::string_view kClearCacheKeyword = "HafizaTemizle";

// Gives the translation of `s` into the language of LanguageIndex, or `s`
// itself where there is none; a blank text gives the empty text. Never
// reports an error.
std::string TranslateText(const std::string& s);

}  // namespace zov
