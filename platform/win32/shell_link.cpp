#include "shell_link.h"

#include <limits>

#include "platform/text/ansi.h"
#include "platform/text/utf8.h"

namespace zov::win32 {

namespace {

constexpr std::uint32_t kHeaderSize = 0x4C;
// The class of shell links, 00021401-0000-0000-C000-000000000046, in file order.
constexpr std::uint8_t kLinkClassId[16] = {0x01, 0x14, 0x02, 0x00, 0x00, 0x00, 0x00, 0x00,
                                           0xC0, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x46};

enum LinkFlags : std::uint32_t {
  kHasLinkInfo = 1u << 1,
  kHasName = 1u << 2,
  kHasWorkingDir = 1u << 4,
  kHasArguments = 1u << 5,
  kHasIconLocation = 1u << 6,
  kIsUnicode = 1u << 7,
};

// Link information with the optional Unicode offsets (header of 0x24 bytes).
constexpr std::uint32_t kLinkInfoHeaderSize = 0x24;
constexpr std::uint32_t kVolumeIdAndLocalBasePath = 1;
constexpr std::uint32_t kVolumeIdHeaderSize = 0x10;

class Writer {
 public:
  std::vector<std::uint8_t> bytes;

  void u16(std::uint16_t v) {
    bytes.push_back(static_cast<std::uint8_t>(v));
    bytes.push_back(static_cast<std::uint8_t>(v >> 8));
  }
  void u32(std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  }
  void zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
  void raw(const std::string& s) { bytes.insert(bytes.end(), s.begin(), s.end()); }
  void ansiZ(const std::string& s) {
    raw(s);
    bytes.push_back(0);
  }
  void wide(const std::u16string& s) {
    for (char16_t c : s) u16(static_cast<std::uint16_t>(c));
  }
  void put32(std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) bytes[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
  }
};

std::vector<std::uint8_t> linkInfo(const ShellLink& link, int codePage) {
  const std::string basePathAnsi = text::toAnsi(link.targetPath, codePage);
  const std::string labelAnsi = text::toAnsi(link.volumeLabel, codePage);
  Writer w;
  w.zeros(kLinkInfoHeaderSize);
  const auto volumeIdOffset = static_cast<std::uint32_t>(w.bytes.size());
  w.u32(kVolumeIdHeaderSize + static_cast<std::uint32_t>(labelAnsi.size()) + 1);
  w.u32(link.driveType);
  w.u32(0);  // the drive's serial number: the machine's drives have none
  w.u32(kVolumeIdHeaderSize);
  w.ansiZ(labelAnsi);
  const auto basePathOffset = static_cast<std::uint32_t>(w.bytes.size());
  w.ansiZ(basePathAnsi);
  // The whole target is the base path; the suffix is empty.
  const auto suffixOffset = static_cast<std::uint32_t>(w.bytes.size());
  w.ansiZ("");
  const auto basePathUnicodeOffset = static_cast<std::uint32_t>(w.bytes.size());
  w.wide(text::toUtf16(link.targetPath));
  w.u16(0);
  const auto suffixUnicodeOffset = static_cast<std::uint32_t>(w.bytes.size());
  w.u16(0);
  w.put32(0, static_cast<std::uint32_t>(w.bytes.size()));
  w.put32(4, kLinkInfoHeaderSize);
  w.put32(8, kVolumeIdAndLocalBasePath);
  w.put32(12, volumeIdOffset);
  w.put32(16, basePathOffset);
  w.put32(20, 0);  // no network location
  w.put32(24, suffixOffset);
  w.put32(28, basePathUnicodeOffset);
  w.put32(32, suffixUnicodeOffset);
  return w.bytes;
}

}  // namespace

std::optional<std::vector<std::uint8_t>> ShellLinkBytes(const ShellLink& link, int codePage) {
  // The string data, in the order the format fixes; empty texts are left out.
  const std::pair<LinkFlags, const std::string*> strings[] = {{kHasName, &link.description},
                                                              {kHasWorkingDir, &link.workingDirectory},
                                                              {kHasArguments, &link.arguments},
                                                              {kHasIconLocation, &link.iconLocation}};
  std::uint32_t flags = kIsUnicode;
  if (!link.targetPath.empty()) flags |= kHasLinkInfo;
  for (const auto& [flag, s] : strings) {
    if (s->empty()) continue;
    if (text::toUtf16(*s).size() > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;
    flags |= flag;
  }
  if (text::toUtf16(link.targetPath).size() > std::numeric_limits<std::uint16_t>::max()) return std::nullopt;

  Writer w;
  w.bytes.reserve(512);  // a usual link's size; GCC 12 warns falsely of an overflow when inserts grow an empty vector
  w.u32(kHeaderSize);
  w.bytes.insert(w.bytes.end(), std::begin(kLinkClassId), std::end(kLinkClassId));
  w.u32(flags);
  w.u32(link.targetAttributes);
  w.zeros(24);  // creation, access and write times of the target: not recorded
  w.u32(link.targetSize);
  w.u32(static_cast<std::uint32_t>(link.iconIndex));
  w.u32(link.showCommand);
  w.u16(0);    // no hot key
  w.zeros(10);  // reserved
  if (flags & kHasLinkInfo) {
    const auto info = linkInfo(link, codePage);
    w.bytes.insert(w.bytes.end(), info.begin(), info.end());
  }
  for (const auto& [flag, s] : strings) {
    if (!(flags & flag)) continue;
    const std::u16string wide = text::toUtf16(*s);
    w.u16(static_cast<std::uint16_t>(wide.size()));
    w.wide(wide);
  }
  w.u32(0);  // terminal block: no extra data
  return w.bytes;
}

}  // namespace zov::win32
