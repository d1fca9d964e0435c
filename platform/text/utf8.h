// UTF-8 helpers. Texts are UTF-8 everywhere inside the program; the system's
// string functions count characters (code points), not bytes, as the Windows
// program they stand in for counts UTF-16 units for the texts it handles.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov::text {

// Decodes the whole text; an invalid byte is taken as U+FFFD, one byte long.
std::u32string decode(std::string_view utf8);
std::string encode(std::u32string_view codePoints);
void appendCodePoint(std::string& out, char32_t cp);

// True when the text is well-formed UTF-8 (no overlong forms, no surrogates).
bool isValid(std::string_view utf8);

// Number of code points.
std::size_t length(std::string_view utf8);

// Byte offset of the code point with the given 0-based index (clamped to the end).
std::size_t byteOffset(std::string_view utf8, std::size_t charIndex);

// UTF-16 conversion, for the wide strings that the shell hands out.
std::u16string toUtf16(std::string_view utf8);
std::string fromUtf16(std::u16string_view utf16);

}  // namespace zov::text
