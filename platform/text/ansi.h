// The machine's ANSI code page. The program holds UTF-8; registry data,
// settings files and the sample project's path block are written in the
// code page that machine.ini declares (1252 Western or 1254 Turkish).
#pragma once

#include <string>
#include <string_view>

namespace zov::text {

// True for the code pages that the simulation knows.
bool isSupportedCodePage(int codePage);

// UTF-8 to ANSI: characters the code page lacks become '?', as Windows does.
std::string toAnsi(std::string_view utf8, int codePage);
// ANSI to UTF-8.
std::string fromAnsi(std::string_view ansi, int codePage);
// True when every character of the text exists in the code page.
bool fitsCodePage(std::string_view utf8, int codePage);

}  // namespace zov::text
