#include "ansi.h"

#include <array>

#include "utf8.h"

namespace zov::text {

namespace {

// 0x80..0x9F of Windows-1252; 0 marks an unassigned position.
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// Code point of an ANSI byte; 0 for an unassigned byte.
char32_t decodeByte(unsigned char b, int codePage) {
  if (b < 0x80) return b;
  if (b < 0xA0) {
    char32_t cp = kCp1252High[b - 0x80];
    if (codePage == 1254 && (b == 0x8A || b == 0x8E || b == 0x9A || b == 0x9E)) {
      cp = (b == 0x8A) ? 0x0160 : (b == 0x9A) ? 0x0161 : 0;  // 1254 has no Ž/ž
    }
    return cp;
  }
  if (codePage == 1254) {
    switch (b) {
      case 0xD0: return 0x011E;  // Ğ
      case 0xDD: return 0x0130;  // İ
      case 0xDE: return 0x015E;  // Ş
      case 0xF0: return 0x011F;  // ğ
      case 0xFD: return 0x0131;  // ı
      case 0xFE: return 0x015F;  // ş
      default: break;
    }
  }
  return b;
}

int encodeChar(char32_t cp, int codePage) {
  if (cp < 0x80) return static_cast<int>(cp);
  for (int b = 0x80; b <= 0xFF; ++b) {
    if (decodeByte(static_cast<unsigned char>(b), codePage) == cp) return b;
  }
  return -1;
}

}  // namespace

bool isSupportedCodePage(int codePage) { return codePage == 1252 || codePage == 1254; }

std::string toAnsi(std::string_view utf8, int codePage) {
  std::string out;
  out.reserve(utf8.size());
  for (char32_t cp : decode(utf8)) {
    const int b = encodeChar(cp, codePage);
    out += static_cast<char>(b < 0 ? '?' : b);
  }
  return out;
}

std::string fromAnsi(std::string_view ansi, int codePage) {
  std::string out;
  out.reserve(ansi.size());
  for (char c : ansi) {
    const char32_t cp = decodeByte(static_cast<unsigned char>(c), codePage);
    appendCodePoint(out, cp == 0 && c != 0 ? 0xFFFD : cp);
  }
  return out;
}

bool fitsCodePage(std::string_view utf8, int codePage) {
  for (char32_t cp : decode(utf8)) {
    if (encodeChar(cp, codePage) < 0) return false;
  }
  return true;
}

}  // namespace zov::text
