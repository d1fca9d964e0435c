#include "registry_file.h"

#include <algorithm>
#include <cstdint>

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

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
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
  Reader(std::string_view text, const std::filesystem::path& file, int codePage, RegistryTextSink& sink)
      : text_(text), file_(file), codePage_(codePage), sink_(sink) {}

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

 private:
  [[noreturn]] void fail(const std::string& reason) const { throw RegistryFileError(file_, lineNo_, reason); }

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
    if (const std::string reason = sink_.key(line.substr(1, line.size() - 2)); !reason.empty()) fail(reason);
  }

  void valueLine(std::string_view rest) {
    std::string name;
    if (rest[0] == '@') {
      rest.remove_prefix(1);
    } else {
      name = quoted(rest);
    }
    if (rest.empty() || rest[0] != '=') fail("expected '=' after the value name");
    rest.remove_prefix(1);
    RegistryValue value;
    if (!rest.empty() && rest[0] == '"') {
      const std::string text = quoted(rest);
      if (!rest.empty()) fail("unexpected text after the closing quote");
      value.type = kRegSz;
      if (std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; })) {
        value.data.assign(text.begin(), text.end());  // ASCII is the same in every code page
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
      for (int i = 0; i < 4; ++i) value.data.push_back(static_cast<std::uint8_t>(number >> (8 * i)));
    } else if (rest.starts_with("hex:")) {
      value.type = kRegBinary;
      value.data = hexBytes(rest.substr(4));
    } else if (rest.starts_with("hex(")) {
      const auto close = rest.find("):");
      if (close == std::string_view::npos || !parseHexNumber(rest.substr(4, close - 4), value.type)) {
        fail("hex(type): needs a type of 1 to 8 hex digits");
      }
      value.data = hexBytes(rest.substr(close + 2));
    } else if (rest == "-") {
      fail("value deletion lines (=-) are not supported");
    } else {
      fail("expected \"text\", dword:, hex: or hex(type): after '='");
    }
    sink_.value(std::move(name), std::move(value));
  }

  // The quoted text at the start of `rest`, which is left after the closing quote.
  std::string quoted(std::string_view& rest) {
    std::string out;
    for (std::size_t i = 1; i < rest.size(); ++i) {
      // The run up to the next quote or backslash as it stands.
      std::size_t special = i;
      while (special < rest.size() && rest[special] != '"' && rest[special] != '\\') ++special;
      if (special == rest.size()) break;
      out.append(rest.data() + i, special - i);
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
      out += rest[i];
    }
    fail("a quoted text without its closing quote");
  }

  // Comma-separated bytes of two hex digits; a trailing backslash continues
  // them on the next line.
  std::vector<std::uint8_t> hexBytes(std::string_view s) {
    std::vector<std::uint8_t> out;
    bool afterComma = false;
    for (;;) {
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
      out.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
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
  RegistryTextSink& sink_;
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
  Reader(text, file, codePage, sink).run();
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
