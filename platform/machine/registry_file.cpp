#include "registry_file.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>

#include "platform/text/ansi.h"
#include "platform/text/utf8.h"

namespace zov::machine {

RegistryFileError::RegistryFileError(const std::filesystem::path& f, int l, const std::string& reason)
    : std::runtime_error(f.string() + ":" + std::to_string(l) + ": " + reason), file(f), line(l) {}

namespace {

constexpr std::string_view kHeader = "REGEDIT4";
constexpr char kHexDigits[] = "0123456789abcdef";
// Hex lines are wrapped after this many characters, as regedit does.
constexpr std::size_t kHexLineWidth = 76;

// The value of each byte as a hex digit, -1 for the others.
constexpr std::array<signed char, 256> kHexValues = [] {
  std::array<signed char, 256> values{};
  for (int c = 0; c < 256; ++c) {
    values[static_cast<std::size_t>(c)] = static_cast<signed char>(c >= '0' && c <= '9'   ? c - '0'
                                                                  : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                                                  : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                                                         : -1);
  }
  return values;
}();

int hexDigit(char c) { return kHexValues[static_cast<unsigned char>(c)]; }

// True when the text is ASCII without NUL or CR: its lines need no check of their own.
bool isPlainAscii(std::string_view text) {
  std::size_t i = 0;
  for (; i + 8 <= text.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, text.data() + i, 8);
    constexpr std::uint64_t kOnes = 0x0101010101010101, kHighs = 0x8080808080808080;
    // A byte that is zero (NUL), has its high bit (not ASCII) or is CR (13) shows in these.
    const std::uint64_t cr = word ^ (kOnes * '\r');
    if (((word - kOnes) & ~word & kHighs) || (word & kHighs) || ((cr - kOnes) & ~cr & kHighs)) return false;
  }
  for (; i < text.size(); ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == 0 || c == '\r' || c >= 0x80) return false;
  }
  return true;
}

std::string_view skipBlanks(std::string_view s) {
  std::size_t first = 0;
  while (first < s.size() && (s[first] == ' ' || s[first] == '\t')) ++first;
  return s.substr(first);
}

// 1 to 8 hex digits and nothing else.
bool parseHexNumber(std::string_view digits, std::uint32_t& number) {
  if (digits.empty() || digits.size() > 8) return false;
  number = 0;
  for (char c : digits) {
    const int d = hexDigit(c);
    if (d < 0) return false;
    number = number << 4 | static_cast<std::uint32_t>(d);
  }
  return true;
}

class Reader {
 public:
  // `sink` receives the checked lines of each value; without one, values are built.
  Reader(std::string_view text, const std::filesystem::path& file, int codePage, RegistryTextSink* sink)
      : text_(text), file_(file), codePage_(codePage), sink_(sink), building_(!sink), plain_(isPlainAscii(text)) {}

  // Builds the one value that the text holds.
  void runOneValue(std::string& name, RegistryValue& value) {
    if (!nextLine()) return;
    valueLine(skipBlanks(line_));
    name = std::move(builtName_);
    value = std::move(builtValue_);
  }

  void run() {
    if (!nextLine() || skipBlanks(line_) != kHeader) fail("the file does not start with the line REGEDIT4");
    bool haveKey = false;
    while (nextLine()) {
      const std::string_view line = skipBlanks(line_);
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        keyLine(line);
        haveKey = true;
      } else if (line[0] == '"' || line[0] == '@') {
        if (!haveKey) fail("a value before the first [key] line");
        valueLine(line);
      } else {
        fail("expected a [key] line, a value line or a ; comment");
      }
    }
  }

  [[noreturn]] void fail(const std::string& reason) const { throw RegistryFileError(file_, lineNo_, reason); }

 private:

  // The next line without its line end and trailing blanks; false at the end of the text.
  bool nextLine() {
    // The end of the text ends the last line; nothing follows a final line end.
    if (pos_ > text_.size() || (pos_ == text_.size() && pos_ > 0)) return false;
    const auto end = text_.find('\n', pos_);
    line_ = text_.substr(pos_, end == std::string_view::npos ? std::string_view::npos : end - pos_);
    pos_ = end == std::string_view::npos ? text_.size() + 1 : end + 1;
    ++lineNo_;
    const auto last = line_.find_last_not_of(" \t\r");
    line_ = last == std::string_view::npos ? std::string_view{} : line_.substr(0, last + 1);
    if (plain_) return true;
    bool ascii = true;
    for (char c : line_) {
      if (c == '\0' || c == '\r') fail("a NUL or carriage return character inside the line");
      if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
    }
    if (!ascii && !text::isValid(line_)) fail("the line is not UTF-8 text");
    return true;
  }

  void keyLine(std::string_view line) {
    if (line.size() > 1 && line[1] == '-') fail("key deletion lines ([-...]) are not supported");
    if (line.back() != ']') fail("a key line must end with ']'");
    if (const std::string reason = sink_->key(line.substr(1, line.size() - 2)); !reason.empty()) fail(reason);
  }

  // A value's line (and the lines it continues on); `rest` is the line from the value's name on.
  void valueLine(std::string_view rest) {
    const char* const start = rest.data();
    std::string name;
    if (rest[0] == '@') {
      rest.remove_prefix(1);
    } else {
      name = quoted(rest, building_);
    }
    if (rest.empty() || rest[0] != '=') fail("expected '=' after the value name");
    rest.remove_prefix(1);
    RegistryValue value;
    if (!rest.empty() && rest[0] == '"') {
      // ASCII is the same in every code page; other text must fit the machine's.
      const bool ascii = plain_ || std::all_of(rest.begin(), rest.end(),
                                               [](char c) { return static_cast<unsigned char>(c) < 0x80; });
      const std::string text = quoted(rest, building_ || !ascii);
      if (!rest.empty()) fail("unexpected text after the closing quote");
      value.type = kRegSz;
      if (ascii) {
        value.data.assign(text.begin(), text.end());
      } else {
        if (!text::fitsCodePage(text, codePage_)) {
          fail("the text holds characters that code page " + std::to_string(codePage_) + " lacks");
        }
        const std::string ansi = text::toAnsi(text, codePage_);
        value.data.assign(ansi.begin(), ansi.end());
      }
      value.data.push_back(0);
    } else if (rest.starts_with("dword:")) {
      std::uint32_t number = 0;
      if (!parseHexNumber(rest.substr(6), number)) fail("dword: needs 1 to 8 hex digits");
      value.type = kRegDword;
      if (building_) {
        for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
      }
    } else if (rest.starts_with("hex:")) {
      value.type = kRegBinary;
      value.data = hexBytes(rest.substr(4), building_);
    } else if (rest.starts_with("hex(")) {
      const auto close = rest.find("):");
      if (close == std::string_view::npos || !parseHexNumber(rest.substr(4, close - 4), value.type)) {
        fail("hex(type): needs a type of 1 to 8 hex digits");
      }
      value.data = hexBytes(rest.substr(close + 2), building_);
    } else if (rest == "-") {
      fail("value deletion lines (=-) are not supported");
    } else {
      fail("expected \"text\", dword:, hex: or hex(type): after '='");
    }
    if (building_) {
      builtName_ = std::move(name);
      builtValue_ = std::move(value);
    } else {
      sink_->value(std::string_view(start, static_cast<std::size_t>(line_.data() + line_.size() - start)));
    }
  }

  // The quoted text at the start of `rest`, which is left after the closing
  // quote; without `keep` it is only checked (and "" is returned).
  std::string quoted(std::string_view& rest, bool keep) {
    std::string out;
    // The common text without escapes: up to the next quote, with no backslash before it.
    if (const void* quote = rest.size() > 1 ? std::memchr(rest.data() + 1, '"', rest.size() - 1) : nullptr) {
      const auto end = static_cast<std::size_t>(static_cast<const char*>(quote) - rest.data());
      if (!std::memchr(rest.data() + 1, '\\', end - 1)) {
        if (keep) out.assign(rest.data() + 1, end - 1);
        rest.remove_prefix(end + 1);
        return out;
      }
    }
    for (std::size_t i = 1; i < rest.size(); ++i) {
      // The run up to the next quote or backslash as it stands.
      std::size_t special = i;
      while (special < rest.size() && rest[special] != '"' && rest[special] != '\\') ++special;
      if (special == rest.size()) break;
      if (keep) out.append(rest.data() + i, special - i);
      i = special;
      const char c = rest[i];
      if (c == '"') {
        rest.remove_prefix(i + 1);
        return out;
      }
      if (c == '\\') {
        if (++i == rest.size()) break;
        if (rest[i] != '\\' && rest[i] != '"') fail("a bad escape in a quoted text (only \\\\ and \\\" are escapes)");
      }
      if (keep) out += rest[i];
    }
    fail("a quoted text without its closing quote");
  }

  // Comma-separated bytes of two hex digits; a trailing backslash continues
  // them on the next line. Without `keep` they are only checked.
  std::vector<std::uint8_t> hexBytes(std::string_view s, bool keep) {
    std::vector<std::uint8_t> out;
    if (keep) out.reserve(s.size() / 3 + 1);  // "xx," a byte, on this line
    bool afterComma = false;
    for (;;) {
      // The common run "xx,xx,": two digits and a comma each, taken at once.
      while (s.size() >= 4 && s[2] == ',') {
        const int hi = hexDigit(s[0]), lo = hexDigit(s[1]);
        if (hi < 0 || lo < 0) break;
        if (keep) out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
        s.remove_prefix(3);
        afterComma = true;
      }
      s = skipBlanks(s);
      if (s == "\\") {
        if (!nextLine()) fail("the value continues past the end of the file");
        s = line_;
        continue;
      }
      if (s.empty()) {
        if (afterComma) fail("a hex byte is missing after ','");
        return out;
      }
      const int hi = hexDigit(s[0]);
      const int lo = s.size() > 1 ? hexDigit(s[1]) : -1;
      if (hi < 0 || lo < 0) fail("a bad hex byte (expected two hex digits)");
      if (keep) out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
      s = skipBlanks(s.substr(2));
      if (s.empty()) return out;
      if (s[0] != ',') fail("expected ',' between hex bytes");
      s.remove_prefix(1);
      afterComma = true;
    }
  }

  std::string_view text_;
  const std::filesystem::path& file_;
  int codePage_;
  RegistryTextSink* sink_;
  bool building_;
  std::string builtName_;
  RegistryValue builtValue_;
  bool plain_;  // ASCII without NUL or CR throughout
  std::size_t pos_ = 0;
  int lineNo_ = 0;
  std::string_view line_;
};

// True when the bytes read as a text of the code page that gives back the
// same bytes and that fits on one line of the file.
bool isPlainText(std::string_view ansi, int codePage) {
  bool ascii = true;
  for (char c : ansi) {
    if (c == '\0' || c == '\r' || c == '\n') return false;
    if (static_cast<unsigned char>(c) >= 0x80) ascii = false;
  }
  return ascii || text::toAnsi(text::fromAnsi(ansi, codePage), codePage) == ansi;
}

void appendQuoted(std::string& out, std::string_view text) {
  out += '"';
  for (char c : text) {
    if (c == '\\' || c == '"') out += '\\';
    out += c;
  }
  out += '"';
}

void appendValueName(std::string& out, std::string_view name) {
  if (name.empty()) {
    out += '@';
  } else {
    appendQuoted(out, name);
  }
}

// Lower-case hex digits, at least `minDigits` of them.
void appendHexNumber(std::string& out, std::uint32_t number, int minDigits) {
  bool leading = true;
  for (int digit = 7; digit >= 0; --digit) {
    const std::uint32_t d = number >> (4 * digit) & 0xF;
    if (d != 0 || digit < minDigits) leading = false;
    if (!leading) out += kHexDigits[d];
  }
}

void appendHex(std::string& out, std::size_t lineStart, const std::vector<std::uint8_t>& data) {
  std::size_t width = out.size() - lineStart;
  for (std::size_t i = 0; i < data.size(); ++i) {
    out += kHexDigits[data[i] >> 4];
    out += kHexDigits[data[i] & 0xF];
    if (i + 1 == data.size()) break;
    out += ',';
    width += 3;
    if (width > kHexLineWidth) {
      out += "\\\n  ";
      width = 2;
    }
  }
}

}  // namespace

void readRegistryText(std::string_view text, const std::filesystem::path& file, int codePage, RegistryTextSink& sink) {
  Reader(text, file, codePage, &sink).run();
}

void readRegistryValue(std::string_view lines, int codePage, std::string& name, RegistryValue& value) {
  Reader(lines, {}, codePage, nullptr).runOneValue(name, value);
}

void appendRegistryHeader(std::string& out) {
  out += kHeader;
  out += "\n\n";
}

void appendKeyLine(std::string& out, std::string_view path) {
  out += '[';
  out += path;
  out += "]\n";
}

namespace {

// A REG_SZ that the quoted form cannot give back only because it lacks its NUL.
bool isTextWithoutNul(std::string_view bytes, const RegistryValue& value, int codePage) {
  return value.type == kRegSz && (bytes.empty() || bytes.back() != '\0') && isPlainText(bytes, codePage);
}

std::string_view bytesOf(const RegistryValue& value) {
  return {reinterpret_cast<const char*>(value.data.data()), value.data.size()};
}

}  // namespace

void appendValueComment(std::string& out, std::string_view name, const RegistryValue& value, int codePage) {
  const std::string_view bytes = bytesOf(value);
  if (!isTextWithoutNul(bytes, value, codePage)) return;
  out += "; ";
  appendValueName(out, name);
  out += " is the text ";
  appendQuoted(out, text::fromAnsi(bytes, codePage));
  out += " without a terminating NUL\n";
}

void appendValueLines(std::string& out, std::string_view name, const RegistryValue& value, int codePage) {
  const std::string_view bytes(reinterpret_cast<const char*>(value.data.data()), value.data.size());
  if (value.type == kRegSz) {
    if (!bytes.empty() && bytes.back() == '\0' && isPlainText(bytes.substr(0, bytes.size() - 1), codePage)) {
      appendValueName(out, name);
      out += '=';
      appendQuoted(out, text::fromAnsi(bytes.substr(0, bytes.size() - 1), codePage));
      out += '\n';
      return;
    }
  }
  const std::size_t lineStart = out.size();
  appendValueName(out, name);
  if (value.type == kRegDword && value.data.size() == 4) {
    out += "=dword:";
    appendHexNumber(
        out, value.data[0] | value.data[1] << 8 | value.data[2] << 16 | static_cast<std::uint32_t>(value.data[3]) << 24,
        8);
  } else {
    if (value.type == kRegBinary) {
      out += "=hex:";
    } else {
      out += "=hex(";
      appendHexNumber(out, value.type, 1);
      out += "):";
    }
    appendHex(out, lineStart, value.data);
  }
  out += '\n';
}

}  // namespace zov::machine
