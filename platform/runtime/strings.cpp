#include "strings.h"

#include "platform/text/case_map.h"
#include "platform/text/utf8.h"

namespace zov::runtime {

std::string Trim(std::string_view s) { return LTrim(RTrim(s)); }

std::string LTrim(std::string_view s) {
  const auto first = s.find_first_not_of(' ');
  return first == std::string_view::npos ? std::string() : std::string(s.substr(first));
}

std::string RTrim(std::string_view s) {
  const auto last = s.find_last_not_of(' ');
  return last == std::string_view::npos ? std::string() : std::string(s.substr(0, last + 1));
}

std::size_t Len(std::string_view s) { return text::length(s); }

std::string Left(std::string_view s, std::size_t count) { return std::string(s.substr(0, text::byteOffset(s, count))); }

std::string Right(std::string_view s, std::size_t count) {
  const std::size_t n = Len(s);
  return count >= n ? std::string(s) : std::string(s.substr(text::byteOffset(s, n - count)));
}

std::string Mid(std::string_view s, std::size_t start, std::size_t count) {
  if (start < 1) start = 1;
  const std::size_t from = text::byteOffset(s, start - 1);
  const std::string_view rest = s.substr(from);
  return count == std::string::npos ? std::string(rest) : Left(rest, count);
}

std::size_t InStr(std::string_view s, std::string_view what, std::size_t start) {
  if (start < 1) start = 1;
  const std::size_t from = text::byteOffset(s, start - 1);
  if (from > s.size()) return 0;
  const auto pos = s.find(what, from);
  return pos == std::string_view::npos ? 0 : Len(s.substr(0, pos)) + 1;
}

std::string LCase(std::string_view s) { return text::lower(s); }
std::string UCase(std::string_view s) { return text::upper(s); }
std::string Space(std::size_t count) { return std::string(count, ' '); }

std::string Chr(int code) {
  std::string out;
  text::appendCodePoint(out, static_cast<char32_t>(code & 0xFF));
  return out;
}

}  // namespace zov::runtime
