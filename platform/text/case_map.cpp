#include "case_map.h"

#include "utf8.h"

namespace zov::text {

char32_t toLower(char32_t cp) {
  if (cp >= 'A' && cp <= 'Z') return cp + 32;
  if (cp < 0xC0) return cp;
  if (cp <= 0xDE) return cp == 0xD7 ? cp : cp + 32;  // À..Þ except ×
  if (cp == 0x130) return 'i';                       // İ
  if (cp == 0x178) return 0xFF;                      // Ÿ
  if (cp >= 0x100 && cp <= 0x17F) {
    // Latin Extended-A pairs: even upper / odd lower, with two runs shifted by one.
    const bool shifted = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    if (cp == 0x131 || cp == 0x138 || cp == 0x149 || cp == 0x17F) return cp;
    if (shifted) return (cp % 2 == 1) ? cp + 1 : cp;
    return (cp % 2 == 0) ? cp + 1 : cp;
  }
  return cp;
}

char32_t toUpper(char32_t cp) {
  if (cp >= 'a' && cp <= 'z') return cp - 32;
  if (cp <= 0xDF) return cp;                          // ß has no one-letter upper case: it stays ß
  if (cp <= 0xFE) return cp == 0xF7 ? cp : cp - 32;  // à..þ except ÷
  if (cp == 0xFF) return 0x178;
  if (cp == 0x131) return 'I';  // ı
  if (cp >= 0x100 && cp <= 0x17F) {
    const bool shifted = (cp >= 0x139 && cp <= 0x148) || (cp >= 0x179 && cp <= 0x17E);
    if (cp == 0x130 || cp == 0x138 || cp == 0x149 || cp == 0x17F) return cp;
    if (shifted) return (cp % 2 == 0) ? cp - 1 : cp;
    return (cp % 2 == 1) ? cp - 1 : cp;
  }
  return cp;
}

namespace {

template <char32_t (*Map)(char32_t)>
std::string mapText(std::string_view utf8) {
  std::string out;
  out.reserve(utf8.size());
  for (std::size_t i = 0; i < utf8.size(); ++i) {
    const auto b = static_cast<unsigned char>(utf8[i]);
    if (b >= 0x80) {  // fall back to the full decode for the rest
      for (char32_t cp : decode(utf8.substr(i))) appendCodePoint(out, Map(cp));
      return out;
    }
    out += static_cast<char>(Map(b));
  }
  return out;
}

}  // namespace

std::string lower(std::string_view utf8) { return mapText<toLower>(utf8); }
std::string upper(std::string_view utf8) { return mapText<toUpper>(utf8); }

bool equalsNoCase(std::string_view a, std::string_view b) { return compareNoCase(a, b) == 0; }

int compareNoCase(std::string_view a, std::string_view b) {
  const std::string ua = upper(a);
  const std::string ub = upper(b);
  // Byte order of UTF-8 is code point order.
  const int c = ua.compare(ub);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

}  // namespace zov::text
