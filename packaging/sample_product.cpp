#include "packaging/sample_product.h"

#include <stdexcept>

namespace zov::packaging {

namespace {

enum class Kind { Sound, Program, Library, Help, Data, Palette, Picture, Cursor, Video, Project, Manifest, Language };

struct SampleShape {
  Kind kind;
  // About the length of the file's member; the file is sized for it.
  std::int32_t memberSize;
  std::int32_t classicMemberSize = 0;  // the XP build's own file, where it has one
};

// By slot; slot 4 carries nothing.
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
    {Kind::Library, 334131},     {Kind::Library, 81754},      {Kind::Project, 0},
    {Kind::Program, 54375, 64060}, {Kind::Program, 2973945},  {Kind::Library, 113812},
    {Kind::Library, 382130},     {Kind::Library, 44190},      {Kind::Sound, 160},
    {Kind::Sound, 137},          {Kind::Sound, 248},          {Kind::Sound, 225},
    {Kind::Sound, 1587},         {Kind::Sound, 546},          {Kind::Sound, 690},
    {Kind::Sound, 886},          {Kind::Sound, 1155},         {Kind::Sound, 534},
    {Kind::Sound, 648},          {Kind::Sound, 872},          {Kind::Sound, 1036},
    {Kind::Manifest, 0},         {Kind::Data, 42688},         {Kind::Data, 110856},
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

// Pseudo-random bytes (splitmix64), seeded by a text.
class Noise {
 public:
  explicit Noise(std::string_view seed) {
    state_ = 0xcbf29ce484222325ULL;  // FNV-1a of the seed
    for (unsigned char c : seed) state_ = (state_ ^ c) * 0x100000001b3ULL;
  }
  void append(std::vector<std::uint8_t>& out, std::size_t count) {
    while (count > 0) {
      std::uint64_t z = (state_ += 0x9e3779b97f4a7c15ULL);
      z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9ULL;
      z = (z ^ (z >> 27)) * 0x94d049bb133111ebULL;
      z ^= z >> 31;
      for (int k = 0; k < 8 && count > 0; ++k, --count) out.push_back(static_cast<std::uint8_t>(z >> (8 * k)));
    }
  }

 private:
  std::uint64_t state_;
};

void text(std::vector<std::uint8_t>& out, std::string_view s) { out.insert(out.end(), s.begin(), s.end()); }

void le(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int k = 0; k < bytes; ++k) out.push_back(static_cast<std::uint8_t>(value >> (8 * k)));
}

void setLe32(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value) {
  for (int k = 0; k < 4; ++k) out[at + k] = static_cast<std::uint8_t>(value >> (8 * k));
}

// Noise codes as literals: nine bytes of member for every eight, plus the header.
std::size_t fileSizeFor(std::int32_t memberSize) { return memberSize <= 14 ? 0 : (memberSize - 14) * std::size_t{8} / 9; }

std::vector<std::uint8_t> wav(const std::string& name, std::size_t size, Noise& noise) {
  const std::uint16_t bits = name.find("16m") != std::string::npos ? 16 : 8;
  const std::uint32_t rate = 11025;
  std::vector<std::uint8_t> out;
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
  const std::size_t samples = (size > out.size() + 4 ? size - out.size() - 4 : 0) / (bits / 8) * (bits / 8);
  le(out, static_cast<std::uint32_t>(samples), 4);
  noise.append(out, samples);
  setLe32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
  return out;
}

std::vector<std::uint8_t> riff(std::string_view form, std::size_t size, Noise& noise) {
  std::vector<std::uint8_t> out;
  text(out, "RIFF");
  le(out, 0, 4);
  text(out, form);
  if (size > out.size()) noise.append(out, size - out.size());
  setLe32(out, 4, static_cast<std::uint32_t>(out.size() - 8));
  return out;
}

// The sample project: a text project whose second line is a 512-character
// path block at byte offset 25, which the install routine rewrites with the
// installed path of the sample video.
std::vector<std::uint8_t> project() {
  std::string s = "ZOV Kineloft Project v5\r\n";
  std::string path = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\SampleAVI.avi";
  path.resize(512, ' ');
  s += path;
  s += "\r\n[Project]\r\nName=Sample project\r\nWidth=640\r\nHeight=480\r\nFrameRate=15\r\nClips=1\r\n"
       "[Clip1]\r\nSource=SampleAVI.avi\r\nStart=0\r\nEnd=1500\r\n[Captions]\r\n";
  for (int k = 1; k <= 12; ++k) {
    s += "Caption" + std::to_string(k) + "=" + std::to_string(k * 120) + "," + std::to_string(k * 120 + 90) +
         ",Step " + std::to_string(k) + " of the sample recording\r\n";
  }
  return {s.begin(), s.end()};
}

std::vector<std::uint8_t> manifest() {
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

}  // namespace

std::optional<Build> BuildNamed(std::string_view name) {
  if (name == "modern") return Build::Modern;
  if (name == "classic") return Build::Classic;
  return std::nullopt;
}

std::vector<std::uint8_t> SampleFile(int slot, const std::string& targetName, Build build) {
  if (slot < 1 || slot > 57 || slot == 4) throw std::logic_error("slot " + std::to_string(slot) + " has no file");
  const SampleShape& shape = kShapes[slot - 1];
  const bool ownBuild = shape.classicMemberSize != 0;
  const std::size_t size =
      fileSizeFor(ownBuild && build == Build::Classic ? shape.classicMemberSize : shape.memberSize);
  // The builds share every file but their own ones.
  Noise noise(targetName + (ownBuild && build == Build::Classic ? " XP" : ""));

  std::vector<std::uint8_t> out;
  switch (shape.kind) {
    case Kind::Sound: return wav(targetName, size, noise);
    case Kind::Palette: return riff("PAL data", size, noise);
    case Kind::Video: return riff("AVI LIST", size, noise);
    case Kind::Project: return project();
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
    case Kind::Data:
      text(out, "ZOVDATA 5 " + targetName + "\r\n");
      break;
    case Kind::Picture:
      out = {0xFF, 0xD8, 0xFF, 0xE0, 0x00, 0x10};
      text(out, "JFIF");
      out.push_back(0);
      break;
    case Kind::Cursor:
      out = {0x00, 0x00, 0x02, 0x00, 0x01, 0x00, 0x20, 0x20};
      break;
    case Kind::Language:
      text(out, "ZOVLANG " + targetName.substr(3, 2) + " 5.2\r\n");
      break;
  }
  if (size > out.size()) noise.append(out, size - out.size());
  if (shape.kind == Kind::Picture) text(out, "\xFF\xD9");
  return out;
}

}  // namespace zov::packaging
