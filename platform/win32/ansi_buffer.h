// Text buffers handed to the ANSI ("A") functions. The program passes a
// text of a given length, as a Windows program passes a string buffer; the
// function sees its ANSI bytes, and what it writes comes back as text.
#pragma once

#include <string>
#include <string_view>

namespace zov::win32 {

// The buffer's bytes in the machine's code page (a text of n characters gives n bytes).
std::string ansiOf(std::string_view buffer);
// Writes `ansi` (and a NUL when it fits) at the start of the buffer, keeping
// the rest of its characters, and converts the whole back to text.
void writeAnsi(std::string& buffer, std::string_view ansi);
// Converts a text argument to ANSI and back (what a function receives of it).
std::string textOf(std::string_view ansi);

}  // namespace zov::win32
