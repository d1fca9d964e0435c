#include "packaging/sample_product.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

#include "packaging/member_fit.h"

namespace zov::packaging {

namespace {

enum class Kind { Sound, Program, Library, Help, Data, Palette, Picture, Cursor, Video, Project, Manifest, Language };

struct SampleShape {
  Kind kind;
  std::int32_t memberLength;
  std::int32_t classicMemberLength = 0;  // the XP build's own file, where it has one
};

// By slot: each file's kind and the length of its member; slot 4 carries nothing.
constexpr SampleShape kShapes[57] = {
    {Kind::Sound, 194},          {Kind::Sound, 178},          {Kind::Program, 3252960, 3929883},
    {Kind::Sound, 0},            {Kind::Sound, 2576},         {Kind::Sound, 6938},
    {Kind::Sound, 10594},        {Kind::Sound, 2990},         {Kind::Sound, 677},
    {Kind::Sound, 892},          {Kind::Sound, 1175},         {Kind::Sound, 122},
    {Kind::Sound, 112},          {Kind::Sound, 3375},         {Kind::Sound, 1055},
    {Kind::Program, 9801, 8642}, {Kind::Help, 98743},         {Kind::Data, 99993},
    {Kind::Palette, 1173},       {Kind::Picture, 586},        {Kind::Cursor, 1066},
    {Kind::Cursor, 1066},        {Kind::Cursor, 1066},        {Kind::Cursor, 1073},
    {Kind::Video, 5732115},      {Kind::Program, 18764},      {Kind::Data, 11090},
    {Kind::Library, 334131},     {Kind::Library, 81754},      {Kind::Project, 955},
    {Kind::Program, 54375, 64060}, {Kind::Program, 2973945},  {Kind::Library, 113812},
    {Kind::Library, 382130},     {Kind::Library, 44190},      {Kind::Sound, 160},
    {Kind::Sound, 137},          {Kind::Sound, 248},          {Kind::Sound, 225},
    {Kind::Sound, 1587},         {Kind::Sound, 546},          {Kind::Sound, 690},
    {Kind::Sound, 886},          {Kind::Sound, 1155},         {Kind::Sound, 534},
    {Kind::Sound, 648},          {Kind::Sound, 872},          {Kind::Sound, 1036},
    {Kind::Manifest, 671},       {Kind::Data, 42688},         {Kind::Data, 110856},
    {Kind::Data, 94248},         {Kind::Language, 86407},     {Kind::Language, 86440},
    {Kind::Language, 85438},     {Kind::Library, 49875},      {Kind::Library, 50616},
};

// What each program says when it starts.
std::string greeting(int slot, Build build) {
  const std::string forBuild = build == Build::Modern ? " (build for Windows Vista and 7)" : " (build for Windows XP)";
  switch (slot) {
    case 3: return "ZOV Zuzuzu Rudavero 5 is recording" + forBuild + ".";
    case 16: return "Uninstalling ZOV Zuzuzu Rudavero 5" + forBuild + ".";
    case 26: return "The ZOV user-account tool is setting up the user's folders.";
    case 31: return "Removing the settings of ZOV 5" + forBuild + ".";
    case 32: return "Installing the Visual C++ 2005 runtime libraries.";
    default: throw std::logic_error("slot " + std::to_string(slot) + " holds no program");
  }
}

// Pseudo-random numbers (splitmix64), seeded by a text.
class Random {
 public:
  explicit Random(std::string_view seed) {
    state_ = 0xcbf29ce484222325ULL;  // FNV-1a of the seed
    for (unsigned char c : seed) state_ = (state_ ^ c) * 0x100000001b3ULL;
  }
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
    z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
    z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
    return z ^ (z >> 31);
  }
  unsigned below(unsigned n) { return static_cast<unsigned>(next() % n); }

 private:
  std::uint64_t state_;
};

using Bytes = std::vector<std::uint8_t>;

void text(Bytes& out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

void le(Bytes& out, std::uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

void setLe32(Bytes& out, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// The bodies' bytes stay below 0x80, so that the tail of 0x80-0xFF bytes that
// sizes the member finds nothing to match in them.

// Packed data (compressed sections, image data): no repeats to speak of.
void packed(Bytes& out, std::size_t count, Random& random) {
  for (std::size_t k = 0; k < count; ++k) out.push_back(static_cast<std::uint8_t>(random.next() & 0x7F));
}

// Running text: words of a small vocabulary.
void prose(Bytes& out, std::size_t count, Random& random) {
  static constexpr std::string_view kWords[] = {
      "the", "recording", "screen", "frame", "video", "select", "window", "click", "project", "caption",
      "of", "and", "to", "a", "in", "is", "with", "for", "your", "area", "cursor", "sound", "export",
      "options", "file", "player", "zoom", "highlight", "pause", "resume", "settings", "audio", "mouse"};
  const std::size_t end = out.size() + count;
  while (out.size() < end) {
    std::string_view word = kWords[std::min(random.below(33), random.below(33))];
    const unsigned mark = random.below(16);
    std::string piece(word);
    piece += mark == 0 ? ".\r\n" : mark == 1 ? ", " : " ";
    piece.resize(std::min(piece.size(), end - out.size()));
    text(out, piece);
  }
}

// Machine code: instructions from a small set, the frequent ones often, with operands.
void code(Bytes& out, std::size_t count, Random& random) {
  struct Instruction {
    std::uint8_t bytes[3];
    int length;
  };
  static constexpr Instruction kInstructions[] = {{{0x55, 0x0B, 0x6C}, 3}, {{0x50}, 1},       {{0x6A, 0x00}, 2},
                                                  {{0x74}, 1},             {{0x33, 0x40}, 2}, {{0x3B, 0x45, 0x08}, 3},
                                                  {{0x5D}, 1},             {{0x68}, 1},       {{0x0F, 0x45}, 2},
                                                  {{0x53, 0x56, 0x57}, 3}, {{0x7C, 0x0C}, 2}, {{0x01, 0x46, 0x04}, 3}};
  const std::size_t end = out.size() + count;
  while (out.size() < end) {
    const Instruction& op = kInstructions[std::min(random.below(12), random.below(12))];
    for (int k = 0; k < op.length && out.size() < end; ++k) out.push_back(op.bytes[k]);
    for (unsigned k = random.below(3); k > 0 && out.size() < end; --k) out.push_back(static_cast<std::uint8_t>(random.below(16)));
  }
}

// Shares in percent of packed data, text, code and zeros.
struct Mix {
  unsigned packed, prose, code, zeros;
};

// `count` bytes of blocks of 512 bytes or less (smaller in small files), each of one sort by the mix.
void blocks(Bytes& out, std::size_t count, Mix mix, Random& random) {
  const std::size_t end = out.size() + count;
  while (out.size() < end) {
    const std::size_t longest = std::min<std::size_t>(496, count / 8);
    const std::size_t size = std::min<std::size_t>(16 + random.below(static_cast<unsigned>(longest) + 1), end - out.size());
    unsigned pick = random.below(100);
    if (pick < mix.packed) {
      packed(out, size, random);
    } else if ((pick -= mix.packed) < mix.prose) {
      prose(out, size, random);
    } else if ((pick -= mix.prose) < mix.code) {
      code(out, size, random);
    } else {
      out.insert(out.end(), size, 0);
    }
  }
}

// Samples of a struck tone that dies away into the recording's hiss, 8 or 16 bits.
void tone(Bytes& out, std::size_t count, bool sixteen, Random& random) {
  const std::size_t end = out.size() + count;
  const std::size_t samples = sixteen ? count / 2 : count;
  const double pitch = 0.05 + random.below(100) / 1000.0;
  for (std::size_t k = 0; k < samples; ++k) {
    const double fade = std::exp(-3.0 * static_cast<double>(k) / static_cast<double>(samples));
    const double wave = std::sin(pitch * static_cast<double>(k)) * fade * 55.0;
    const int value = 64 + static_cast<int>(wave) + static_cast<int>(random.below(5)) - 2;
    if (sixteen) out.push_back(static_cast<std::uint8_t>(random.below(128)));
    out.push_back(static_cast<std::uint8_t>(value));
  }
  if (out.size() < end) out.push_back(64);
}

Bytes wavHeader(std::uint16_t bits) {
  const std::uint32_t rate = 11025;
  Bytes out;
  out.reserve(44);  // the header's size; GCC 12 warns falsely of an overflow when inserts grow an empty vector
  text(out, "RIFF");
  le(out, 0, 4);
  text(out, "WAVEfmt ");
  le(out, 16, 4);
  le(out, 1, 2);  // PCM
  le(out, 1, 2);  // mono
  le(out, rate, 4);
  le(out, rate * bits / 8, 4);
  le(out, bits / 8, 2);
  le(out, bits, 2);
  text(out, "data");
  le(out, 0, 4);
  return out;
}

// The sample project: a text project whose second line is a 512-character
// path block at byte offset 25, which the install routine rewrites with the
// installed path of the sample video. Its captions fill it to `size` bytes.
Bytes project(std::size_t size) {
  std::string s = "ZOV Kineloft Project v5\r\n";
  std::string path = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\SampleAVI.avi";
  path.resize(512, ' ');
  s += path;
  s += "\r\n[Project]\r\nName=Sample project\r\nWidth=640\r\nHeight=480\r\nFrameRate=15\r\nClips=1\r\n"
       "[Clip1]\r\nSource=SampleAVI.avi\r\nStart=0\r\nEnd=1500\r\n[Captions]\r\n";
  for (int k = 1; s.size() < size; ++k) {
    s += "Caption" + std::to_string(k) + "=" + std::to_string(k * 120) + "," + std::to_string(k * 120 + 90) +
         ",Step " + std::to_string(k) + " of the sample recording\r\n";
  }
  // The last line is cut to the size, and ended.
  s.resize(std::max<std::size_t>(size, 600) - 2);
  s += "\r\n";
  return {s.begin(), s.end()};
}

Bytes manifest() {
  const std::string_view s = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity version="5.2.6.0" processorArchitecture="X86" name="Zideruv.ZOV5.Recorder" type="win32"/>
  <description>ZOV Zuzuzu Rudavero 5</description>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="asInvoker" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>
    </application>
  </compatibility>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="X86" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
</assembly>
)";
  return {s.begin(), s.end()};
}

// The file's head: what makes it a file of its kind.
Bytes head(Kind kind, int slot, const std::string& targetName, Build build) {
  Bytes out;
  switch (kind) {
    case Kind::Sound: return wavHeader(targetName.find("16m") != std::string::npos ? 16 : 8);
    case Kind::Palette: text(out, "RIFF\0\0\0\0PAL data"); break;
    case Kind::Video: text(out, "RIFF\0\0\0\0AVI LIST"); break;
    case Kind::Project: return {};
    case Kind::Manifest: return manifest();
    case Kind::Program:
      text(out, "MZ\r\nZOVSIM " + targetName.substr(0, targetName.size() - 4) + "\r\n" + greeting(slot, build) + "\r\n");
      out.push_back(0);
      break;
    case Kind::Library:
      text(out, "MZ\x90");
      out.push_back(0);
      text(out, "ZOV library " + targetName);
      break;
    case Kind::Help:
      text(out, "ITSF");
      le(out, 3, 4);
      break;
    case Kind::Data: text(out, "ZOVDATA 5 " + targetName + "\r\n"); break;
    case Kind::Picture:
      out = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
      text(out, "JFIF");
      out.push_back(0);
      break;
    case Kind::Cursor: out = {0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x20, 0x20}; break;
    case Kind::Language: text(out, "ZOVLANG " + targetName.substr(3, 2) + " 5.2\r\n"); break;
  }
  return out;
}

// The body behind the head, `count` bytes of it.
void body(Kind kind, const std::string& targetName, std::size_t count, Bytes& out, Random& random) {
  switch (kind) {
    case Kind::Sound: return tone(out, count, targetName.find("16m") != std::string::npos, random);
    case Kind::Program:
    case Kind::Library: return blocks(out, count, {15, 15, 60, 10}, random);
    case Kind::Help: return blocks(out, count, {70, 30, 0, 0}, random);
    case Kind::Data: return blocks(out, count, {45, 30, 10, 15}, random);
    case Kind::Palette: return blocks(out, count, {40, 0, 0, 60}, random);
    case Kind::Picture: return packed(out, count, random);
    case Kind::Cursor: return blocks(out, count, {35, 0, 0, 65}, random);
    case Kind::Video: return blocks(out, count, {85, 0, 0, 15}, random);
    case Kind::Language: return blocks(out, count, {25, 75, 0, 0}, random);
    case Kind::Project: {
      const Bytes text = project(count);
      out.insert(out.end(), text.begin(), text.end());
      return;
    }
    case Kind::Manifest: return;  // a text of its own
  }
}

// About how long a file of the kind is for each byte of its member.
double expansion(Kind kind) {
  switch (kind) {
    case Kind::Sound: return 1.1;
    case Kind::Program:
    case Kind::Library: return 1.45;
    case Kind::Help: return 1.1;
    case Kind::Data: return 1.35;
    case Kind::Palette: return 1.4;
    case Kind::Picture: return 0.85;
    case Kind::Cursor: return 4.0;
    case Kind::Video: return 1.0;
    case Kind::Language: return 2.1;
    case Kind::Project: return 2.8;
    case Kind::Manifest: return 1.0;
  }
  return 1.0;
}

}  // namespace

std::optional<Build> BuildNamed(std::string_view name) {
  if (name == "modern") return Build::Modern;
  if (name == "classic") return Build::Classic;
  return std::nullopt;
}

SampleProductFile SampleFile(int slot, const std::string& targetName, Build build) {
  if (slot < 1 || slot > 57 || slot == 4) throw std::logic_error("slot " + std::to_string(slot) + " has no file");
  const SampleShape& shape = kShapes[slot - 1];
  const bool ownBuild = shape.classicMemberLength != 0;
  const std::int32_t memberLength = ownBuild && build == Build::Classic ? shape.classicMemberLength : shape.memberLength;
  // The builds share every file but their own ones.
  const std::string seed = targetName + (ownBuild && build == Build::Classic ? " XP" : "");
  const Bytes fileHead = head(shape.kind, slot, targetName, build);
  const bool sound = shape.kind == Kind::Sound;
  const bool riff = sound || shape.kind == Kind::Palette || shape.kind == Kind::Video;

  const auto make = [&](std::size_t contentSize, std::span<const std::uint8_t> tail) {
    Random random(seed);
    Bytes out = fileHead;
    if (contentSize > out.size()) body(shape.kind, targetName, contentSize - out.size(), out, random);
    out.insert(out.end(), tail.begin(), tail.end());
    if (riff) setLe32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
    if (sound) setLe32(out, 40, static_cast<std::uint32_t>(out.size() - 44));
    return out;
  };
  // A 16-bit sound holds whole samples.
  const std::size_t multiple = sound && fileHead[34] == 16 ? 2 : 1;
  const auto contentSize = static_cast<std::size_t>(memberLength * expansion(shape.kind));
  FittedFile fitted =
      FitToMemberLength(static_cast<std::size_t>(memberLength), multiple, std::max(contentSize, fileHead.size()), make);
  return {std::move(fitted.file), std::move(fitted.member)};
}

}  // namespace zov::packaging
