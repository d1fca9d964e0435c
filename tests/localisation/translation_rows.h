// Test helper for the code that passes English texts to TranslateText: every
// such text must be the key of a row of the translation table, or the user
// sees it in English whatever the language.
#pragma once

#include <string>

namespace zov {

// Adds a failure, reported at the caller's line, when no row's key equals
// `english` as the lookup compares them: without regard to case, with every
// space counted. (The caller's place comes from the compiler's builtins:
// clang 14 with libstdc++ 12 has no std::source_location.)
void ExpectHasTranslationRow(const std::string& english, const char* file = __builtin_FILE(),
                             int line = __builtin_LINE());

}  // namespace zov
