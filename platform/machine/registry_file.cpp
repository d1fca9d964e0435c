#include "registry_file.h"

#include <algorithm>
#include <array>
#include <bit>
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
  // Without an early end, so that the compiler checks many bytes at once.
  unsigned char found = 0;
  for (char c : text) {
    const auto b = static_cast<unsigned char>(c);
    found |= (b == 0) | (b >= 0x80) | (b == '\r');
  }
  return !found;
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

// True when the 16 bytes at `p` start with five "xx," (two hex digits and a
// comma), all checked at once.
bool startsWithFiveHexBytes(const char* p) {
  using Bytes = unsigned char __attribute__((vector_size(16)));
  using Lanes = signed char __attribute__((vector_size(16)));  // -1 where a comparison holds
  constexpr Lanes kCommas = {0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0, 0, -1, 0};
  constexpr Lanes kLast = {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, -1};  // not looked at
  Bytes b;
  std::memcpy(&b, p, sizeof b);
  const Bytes lower = b | 0x20;
  const Lanes hex = ((b >= '0') & (b <= '9')) | ((lower >= 'a') & (lower <= 'f'));
  const Lanes ok = (kCommas & (b == ',')) | (~kCommas & hex) | kLast;
  std::uint64_t halves[2];
  std::memcpy(halves, &ok, sizeof halves);
  return (halves[0] & halves[1]) == ~std::uint64_t{0};
}

// How many "xx," (two hex digits and a comma) start `s` with more text after them.
std::size_t leadingHexBytes(std::string_view s) {
  const std::size_t most = s.size() >= 4 ? (s.size() - 1) / 3 : 0;
  std::size_t count = 0;
  while (3 * count + 16 <= s.size() && startsWithFiveHexBytes(s.data() + 3 * count)) count += 5;
  while (count < most && (hexDigit(s[3 * count]) | hexDigit(s[3 * count + 1])) >= 0 && s[3 * count + 2] == ',') {
    ++count;
  }
  return count;
}

class Reader {
 public:
  // Checks the text and passes what it holds to `sink`.
  Reader(std::string_view text, const std::filesystem::path& file, int codePage, RegistryTextSink& sink)
      : text_(text), file_(file), codePage_(codePage), sink_(&sink), plain_(isPlainAscii(text)) {}
  // Builds the values of checked value lines into `built`.
  Reader(std::string_view lines, int codePage, std::vector<std::pair<std::string, RegistryValue>>& built)
      : text_(lines), file_(kNoFile), codePage_(codePage), built_(&built), plain_(isPlainAscii(lines)) {}

  void buildValues() {
    while (nextLine()) {
      const std::string_view line = skipBlanks(line_);
      if (!line.empty() && line[0] != ';') valueLine(line);
    }
  }

  void run() {
    if (!nextLine() || skipBlanks(line_) != kHeader) fail("the file does not start with the line REGEDIT4");
    bool haveKey = false;
    // The value lines of the last key so far, from the first one's start to the last one's end.
    const char* valuesStart = nullptr;
    const char* valuesEnd = nullptr;
    const auto passValues = [&] {
      if (valuesStart) sink_->values({valuesStart, static_cast<std::size_t>(valuesEnd - valuesStart)});
      valuesStart = nullptr;
    };
    while (nextLine()) {
      const std::string_view line = skipBlanks(line_);
      if (line.empty() || line[0] == ';') continue;
      if (line[0] == '[') {
        passValues();
        keyLine(line);
        haveKey = true;
      } else if (line[0] == '"' || line[0] == '@') {
        if (!haveKey) fail("a value before the first [key] line");
        if (!valuesStart) valuesStart = line.data();
        valueLine(line);
        valuesEnd = line_.data() + line_.size();
      } else {
        fail("expected a [key] line, a value line or a ; comment");
      }
    }
    passValues();
  }

  [[noreturn]] void fail(const std::string& reason) const { throw RegistryFileError(file_, lineNo_, reason); }

 private:

  // The next line without its line end and trailing blanks; false at the end of the text.
  bool nextLine() {
    // The end of the text ends the last line; nothing follows a final line end.
    if (pos_ > text_.size() || (pos_ == text_.size() && pos_ > 0)) return false;
    const std::size_t end = find(text_, pos_, '\n', '\n');
    line_ = text_.substr(pos_, end - pos_);
    pos_ = end + 1;
    ++lineNo_;
    while (!line_.empty() && (line_.back() == ' ' || line_.back() == '\t' || line_.back() == '\r')) {
      line_.remove_suffix(1);
    }
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
    if (built_) {
      std::string name;
      RegistryValue value;
      valueLine(rest, &name, &value);
      built_->emplace_back(std::move(name), std::move(value));
    } else {
      valueLine(rest, nullptr, nullptr);
    }
  }

  // The same, building the name and value unless they are null.
  void valueLine(std::string_view rest, std::string* name, RegistryValue* value) {
    if (rest[0] == '@') {
      rest.remove_prefix(1);
    } else {
      quoted(rest, name);
    }
    if (rest.empty() || rest[0] != '=') fail("expected '=' after the value name");
    rest.remove_prefix(1);
    std::vector<std::uint8_t>* const data = value ? &value->data : nullptr;
    std::uint32_t type = 0;
    if (!rest.empty() && rest[0] == '"') {
      // ASCII is the same in every code page; other text must fit the machine's.
      const bool ascii = plain_ || std::all_of(rest.begin(), rest.end(),
                                               [](char c) { return static_cast<unsigned char>(c) < 0x80; });
      std::string text;
      quoted(rest, data || !ascii ? &text : nullptr);
      if (!rest.empty()) fail("unexpected text after the closing quote");
      if (!ascii && !text::fitsCodePage(text, codePage_)) {
        fail("the text holds characters that code page " + std::to_string(codePage_) + " lacks");
      }
      type = kRegSz;
      if (data) {
        if (!ascii) text = text::toAnsi(text, codePage_);
        data->assign(text.begin(), text.end());
        data->push_back(0);
      }
    } else if (rest.starts_with("dword:")) {
      std::uint32_t number = 0;
      if (!parseHexNumber(rest.substr(6), number)) fail("dword: needs 1 to 8 hex digits");
      type = kRegDword;
      if (data) {
        for (int i = 0; i < 4; ++i) data->push_back(static_cast<std::uint8_t>(number >> (8 * i)));
      }
    } else if (rest.starts_with("hex:")) {
      type = kRegBinary;
      hexBytes(rest.substr(4), data);
    } else if (rest.starts_with("hex(")) {
      const auto close = rest.find("):");
      if (close == std::string_view::npos || !parseHexNumber(rest.substr(4, close - 4), type)) {
        fail("hex(type): needs a type of 1 to 8 hex digits");
      }
      hexBytes(rest.substr(close + 2), data);
    } else if (rest == "-") {
      fail("value deletion lines (=-) are not supported");
    } else {
      fail("expected \"text\", dword:, hex: or hex(type): after '='");
    }
    if (value) value->type = type;
  }

  // The place of the first `a` or `b` in `s`, a part of the text, from `i`
  // on, or s.size().
  std::size_t find(std::string_view s, std::size_t i, char a, char b) const {
    static_assert(std::endian::native == std::endian::little);
    // Sixteen bytes at a time, which may reach past `s` into the rest of the text.
    using Bytes = unsigned char __attribute__((vector_size(16)));
    for (; i < s.size(); i += sizeof(Bytes)) {
      if (static_cast<std::size_t>(text_.data() + text_.size() - (s.data() + i)) < sizeof(Bytes)) {
        while (i < s.size() && s[i] != a && s[i] != b) ++i;  // the end of the text
        return i;
      }
      Bytes bytes;
      std::memcpy(&bytes, s.data() + i, sizeof bytes);
      const auto found = (bytes == static_cast<unsigned char>(a)) | (bytes == static_cast<unsigned char>(b));
      std::uint64_t halves[2];
      std::memcpy(halves, &found, sizeof halves);
      const std::size_t place = halves[0]   ? static_cast<std::size_t>(std::countr_zero(halves[0])) / 8
                                : halves[1] ? 8 + static_cast<std::size_t>(std::countr_zero(halves[1])) / 8
                                            : sizeof(Bytes);
      if (place < sizeof(Bytes)) return std::min(i + place, s.size());
    }
    return s.size();
  }

  // The quoted text at the start of `rest`, which is left after the closing
  // quote; it is only checked when `out` is null.
  void quoted(std::string_view& rest, std::string* out) {
    std::size_t run = 1;  // where the text not yet kept starts
    for (std::size_t i = find(rest, 1, '"', '\\'); i < rest.size(); i = find(rest, i + 1, '"', '\\')) {
      const char c = rest[i];
      if (out) out->append(rest.data() + run, i - run);
      if (c == '"') {
        rest.remove_prefix(i + 1);
        return;
      }
      if (++i == rest.size()) break;
      if (rest[i] != '\\' && rest[i] != '"') fail("a bad escape in a quoted text (only \\\\ and \\\" are escapes)");
      run = i;  // the escaped character is kept with the run after it
    }
    fail("a quoted text without its closing quote");
  }

  // Comma-separated bytes of two hex digits, appended to `out` unless it is
  // null; a trailing backslash continues them on the next line.
  void hexBytes(std::string_view s, std::vector<std::uint8_t>* out) {
    if (out) out->reserve(s.size() / 3 + 1);  // "xx," a byte, on this line
    bool afterComma = false;
    for (;;) {
      // The common run "xx,xx,": two digits and a comma each, taken at once.
      if (const std::size_t run = leadingHexBytes(s)) {
        if (out) {
          for (std::size_t i = 0; i < 3 * run; i += 3) {
            out->push_back(static_cast<std::uint8_t>(hexDigit(s[i]) << 4 | hexDigit(s[i + 1])));
          }
        }
        s.remove_prefix(3 * run);
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
        return;
      }
      const int hi = hexDigit(s[0]);
      const int lo = s.size() > 1 ? hexDigit(s[1]) : -1;
      if (hi < 0 || lo < 0) fail("a bad hex byte (expected two hex digits)");
      if (out) out->push_back(static_cast<std::uint8_t>(hi << 4 | lo));
      s = skipBlanks(s.substr(2));
      if (s.empty()) return;
      if (s[0] != ',') fail("expected ',' between hex bytes");
      s.remove_prefix(1);
      afterComma = true;
    }
  }

  static inline const std::filesystem::path kNoFile;
  std::string_view text_;
  const std::filesystem::path& file_;
  int codePage_;
  RegistryTextSink* sink_ = nullptr;
  std::vector<std::pair<std::string, RegistryValue>>* built_ = nullptr;  // null when only checking
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
  Reader(text, file, codePage, sink).run();
}

void readRegistryValues(std::string_view lines, int codePage,
                        std::vector<std::pair<std::string, RegistryValue>>& values) {
  Reader(lines, codePage, values).buildValues();
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
