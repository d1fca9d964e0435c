// The one case map of the program. Windows compares file names, registry key
// names and (in the translation lookup) texts without regard to case; this
// map covers ASCII, Latin-1 and Latin Extended-A, which hold every letter of
// English, Turkish, German, French and Spanish. Both sides of a comparison go
// through the same map, so the dotted and dotless Turkish i behave alike
// wherever they meet.
#pragma once

#include <string>
#include <string_view>

namespace zov::text {

char32_t toLower(char32_t cp);
char32_t toUpper(char32_t cp);

std::string lower(std::string_view utf8);
std::string upper(std::string_view utf8);

// Case-insensitive equality and ordering (by upper case, code point order,
// which is how Windows orders registry subkeys).
bool equalsNoCase(std::string_view a, std::string_view b);
int compareNoCase(std::string_view a, std::string_view b);

struct LessNoCase {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const { return compareNoCase(a, b) < 0; }
};

}  // namespace zov::text
