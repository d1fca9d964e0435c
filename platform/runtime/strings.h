// The string functions of the language runtime. Positions and lengths count
// characters (code points of the UTF-8 text), 1-based where the runtime's
// functions are 1-based.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace zov::runtime {

// Blanks (spaces only) removed from both ends, the left or the right.
std::string Trim(std::string_view s);
std::string LTrim(std::string_view s);
std::string RTrim(std::string_view s);

std::size_t Len(std::string_view s);
std::string Left(std::string_view s, std::size_t count);
std::string Right(std::string_view s, std::size_t count);
// Characters from the 1-based position `start`; all the rest when count is npos.
std::string Mid(std::string_view s, std::size_t start, std::size_t count = std::string::npos);
// 1-based position of `what` in `s` from `start`, or 0.
std::size_t InStr(std::string_view s, std::string_view what, std::size_t start = 1);
std::string LCase(std::string_view s);
std::string UCase(std::string_view s);
std::string Space(std::size_t count);
// The character of a code (0-255 as Latin-1, which the installer only uses for CR, LF, quotes and NUL).
std::string Chr(int code);

inline const std::string vbCrLf = "\r\n";

// A fixed-length text: every assignment pads it with blanks to its length,
// or cuts it. Until the first assignment it holds NUL characters.
template <std::size_t N>
class FixedString {
 public:
  FixedString() : value_(N, '\0') {}
  FixedString& operator=(std::string_view s) {
    value_ = Left(s, N);
    value_.append(N - Len(value_), ' ');
    return *this;
  }
  const std::string& value() const { return value_; }
  operator const std::string&() const { return value_; }
  operator std::string_view() const { return value_; }

 private:
  std::string value_;
};

}  // namespace zov::runtime
