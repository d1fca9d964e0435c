// Test helper for the code that passes English texts to TranslateText: every
// such text must be the key of a row of the translation table, or the user
// sees it in English whatever the language.
#pragma once

#include <source_location>
#include <string>

namespace zov {

// Adds a failure, reported at the caller's line, when no row's key equals
// `english` as the lookup compares them: without regard to case, with every
// space counted.
void ExpectHasTranslationRow(const std::string& english,
                             std::source_location where = std::source_location::current());

}  // namespace zov
