#include "machine_config.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstdio>
#include <functional>
#include <limits>
#include <sstream>

#include "platform/machine/host_folder.h"
#include "platform/machine/ini_file.h"
#include "platform/text/case_map.h"

namespace zov::machine {

MachineConfig MachineConfig::windows7() {
  MachineConfig c;
  c.tempFolder = "C:\\Users\\user\\AppData\\Local\\Temp";
  c.windowsFolder = "C:\\Windows";
  c.systemFolder = "C:\\Windows\\system32";
  c.documentsFolder = "C:\\Users\\user\\Documents";
  c.localAppDataFolder = "C:\\Users\\user\\AppData\\Local";
  c.programsFolder = "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs";
  c.desktopFolder = "C:\\Users\\user\\Desktop";
  DriveConfig a;
  a.letter = 'A', a.type = 2, a.medium = false;
  DriveConfig cDrive;
  cDrive.letter = 'C', cDrive.type = 3, cDrive.label = "System";
  DriveConfig d;
  d.letter = 'D', d.type = 5, d.medium = false;
  c.drives = {{'A', a}, {'C', cDrive}, {'D', d}};
  c.otherWindows = {"Program Manager"};
  return c;
}

const DriveConfig* MachineConfig::drive(char letter) const {
  const auto it = drives.find(static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  return it == drives.end() ? nullptr : &it->second;
}

namespace {

bool equalsAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

}  // namespace

void MachineConfig::addProgram(ProgramConfig program) {
  programs.insert_or_assign(text::upper(program.name), std::move(program));
}

const ProgramConfig* MachineConfig::program(const std::string& fileName) const {
  const auto it = programs.find(text::upper(fileName));
  return it == programs.end() ? nullptr : &it->second;
}

namespace {

// ---- How each kind of value reads and writes ----
//
// A format turns the text after '=' into a field (returning "" or the reason
// it is refused) and a field back into that text.

// Whole numbers in [min, max], decimal digits only (no sign, no blanks).
template <class T>
struct Decimal {
  std::uint64_t min = 0, max = std::numeric_limits<T>::max();
  std::string read(const std::string& v, T& field) const {
    std::uint64_t n = 0;
    const auto [end, ec] = std::from_chars(v.data(), v.data() + v.size(), n);
    if (v.empty() || v[0] == '+' || ec == std::errc::invalid_argument || end != v.data() + v.size()) {
      return "'" + v + "' is not a whole number";
    }
    if (ec == std::errc::result_out_of_range || n < min || n > max) {
      return "'" + v + "' is out of range (" + std::to_string(min) + " to " + std::to_string(max) + ")";
    }
    field = static_cast<T>(n);
    return {};
  }
  std::string write(const T& field) const { return std::to_string(field); }
};

// The ANSI code pages the machine knows.
struct CodePage {
  std::string read(const std::string& v, int& field) const {
    if (v != "1252" && v != "1254") return "code page must be 1252 or 1254, not '" + v + "'";
    field = std::stoi(v);
    return {};
  }
  std::string write(const int& field) const { return std::to_string(field); }
};

// A number that may be left out (an empty value).
struct OptionalDecimal {
  std::string read(const std::string& v, std::optional<std::uint64_t>& field) const {
    field.reset();
    if (v.empty()) return {};
    std::uint64_t n = 0;
    if (auto why = Decimal<std::uint64_t>{}.read(v, n); !why.empty()) return why;
    field = n;
    return {};
  }
  std::string write(const std::optional<std::uint64_t>& field) const { return field ? std::to_string(*field) : ""; }
};

// A language id: 1 to 4 hex digits, "0x" allowed before them.
struct Hex16 {
  std::string read(const std::string& v, std::uint16_t& field) const {
    const std::string_view digits = v.starts_with("0x") || v.starts_with("0X") ? std::string_view(v).substr(2) : v;
    unsigned n = 0;
    const auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), n, 16);
    if (digits.empty() || digits.size() > 4 || ec != std::errc() || end != digits.data() + digits.size()) {
      return "'" + v + "' is not a language id of 1 to 4 hex digits";
    }
    field = static_cast<std::uint16_t>(n);
    return {};
  }
  std::string write(const std::uint16_t& field) const {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", field);
    return buf;
  }
};

// yes/no (also true/false, 1/0); `inverted` for the fault settings, which
// say whether a function works.
struct YesNo {
  bool inverted = false;
  std::string read(const std::string& v, bool& field) const {
    if (equalsAscii(v, "yes") || v == "1" || equalsAscii(v, "true")) {
      field = !inverted;
    } else if (equalsAscii(v, "no") || v == "0" || equalsAscii(v, "false")) {
      field = inverted;
    } else {
      return "expected yes or no, not '" + v + "'";
    }
    return {};
  }
  std::string write(const bool& field) const { return field != inverted ? "yes" : "no"; }
};

struct Text {
  std::string read(const std::string& v, std::string& field) const {
    field = v;
    return {};
  }
  std::string write(const std::string& field) const { return field; }
};

// A host folder (see readHostFolder); `base` is the machine folder.
struct HostFolder {
  std::filesystem::path base;
  std::string read(const std::string& v, std::filesystem::path& field) const { return readHostFolder(base, v, field); }
  std::string write(const std::filesystem::path& field) const { return field.string(); }
};

// Items separated by ';', blanks around each dropped.
struct List {
  std::string read(const std::string& v, std::vector<std::string>& field) const {
    field.clear();
    std::stringstream ss(v);
    std::string item;
    while (std::getline(ss, item, ';')) {
      const auto a = item.find_first_not_of(' ');
      if (a != std::string::npos) field.push_back(item.substr(a, item.find_last_not_of(' ') - a + 1));
    }
    return {};
  }
  std::string write(const std::vector<std::string>& field) const {
    std::string s;
    for (const auto& x : field) s += (s.empty() ? "" : ";") + x;
    return s;
  }
};

struct ClockChoice {
  std::string read(const std::string& v, ClockMode& field) const {
    if (equalsAscii(v, "real")) field = ClockMode::Real;
    else if (equalsAscii(v, "virtual")) field = ClockMode::Virtual;
    else return "Clock must be real or virtual";
    return {};
  }
  std::string write(const ClockMode& field) const { return field == ClockMode::Virtual ? "virtual" : "real"; }
};

struct VersionQueryChoice {
  std::string read(const std::string& v, VersionQuery& field) const {
    if (equalsAscii(v, "answers")) field = VersionQuery::Answers;
    else if (equalsAscii(v, "fails")) field = VersionQuery::Fails;
    else if (equalsAscii(v, "missing")) field = VersionQuery::EntryPointMissing;
    else return "VersionQuery must be answers, fails or missing";
    return {};
  }
  std::string write(const VersionQuery& field) const {
    return field == VersionQuery::Answers ? "answers" : field == VersionQuery::Fails ? "fails" : "missing";
  }
};

// ---- The settings ----

// What a setting reads into: the machine, the drive of a [Drive X] section
// and the program of a [Program NAME] section.
struct Target {
  MachineConfig& machine;
  DriveConfig& drive;
  ProgramConfig& program;
};

enum class Section { Windows, Folders, Drive, Desktop, Faults, Program };
constexpr std::pair<Section, std::string_view> kSectionNames[] = {
    {Section::Windows, "Windows"}, {Section::Folders, "Folders"}, {Section::Desktop, "Desktop"}, {Section::Faults, "Faults"}};

struct Setting {
  Section section;
  std::string_view key;
  // Reads one line's value; returns "" or the reason it is refused.
  std::function<std::string(Target, const std::string&)> read;
  // The lines' values to write; none leaves the key out.
  std::function<std::vector<std::string>(Target)> write;
  bool repeats = false;  // the key may stand on several lines, each adding an item
};

// A setting of one field. Drive and program settings whose value is the
// default one are left out when written, unless `always`.
template <class Format, class Field>
Setting one(Section section, std::string_view key, Field& (*field)(Target), Format format = {}, bool always = false) {
  return {section, key,
          [field, format](Target t, const std::string& v) { return format.read(v, field(t)); },
          [section, field, format, always](Target t) {
            DriveConfig driveDefaults;
            ProgramConfig programDefaults;
            MachineConfig unused;
            if ((section == Section::Drive || section == Section::Program) && !always &&
                field(t) == field(Target{unused, driveDefaults, programDefaults})) {
              return std::vector<std::string>{};
            }
            return std::vector<std::string>{format.write(field(t))};
          }};
}

// The settings of machine.ini in the order they are written. A new setting
// is one line here (and its field in MachineConfig, DriveConfig or Faults).
std::vector<Setting> settings(const std::filesystem::path& machineFolder) {
  using S = Section;
  return {
      one<Decimal<std::uint32_t>>(S::Windows, "PlatformId", +[](Target t) -> auto& { return t.machine.platformId; }),
      one<Decimal<std::uint32_t>>(S::Windows, "MajorVersion", +[](Target t) -> auto& { return t.machine.majorVersion; }),
      one<Decimal<std::uint32_t>>(S::Windows, "MinorVersion", +[](Target t) -> auto& { return t.machine.minorVersion; }),
      one<Decimal<std::uint32_t>>(S::Windows, "BuildNumber", +[](Target t) -> auto& { return t.machine.buildNumber; }),
      one<Text>(S::Windows, "ServicePack", +[](Target t) -> auto& { return t.machine.servicePack; }),
      one<Text>(S::Windows, "UserName", +[](Target t) -> auto& { return t.machine.userName; }),
      one<Text>(S::Windows, "Domain", +[](Target t) -> auto& { return t.machine.domain; }),
      one<Text>(S::Windows, "ComputerName", +[](Target t) -> auto& { return t.machine.computerName; }),
      one<Hex16>(S::Windows, "UILanguage", +[](Target t) -> auto& { return t.machine.uiLanguage; }),
      one<CodePage>(S::Windows, "CodePage", +[](Target t) -> auto& { return t.machine.codePage; }),
      one<ClockChoice>(S::Windows, "Clock", +[](Target t) -> auto& { return t.machine.clock; }),
      one<Text>(S::Folders, "Temp", +[](Target t) -> auto& { return t.machine.tempFolder; }),
      one<Text>(S::Folders, "Windows", +[](Target t) -> auto& { return t.machine.windowsFolder; }),
      one<Text>(S::Folders, "System", +[](Target t) -> auto& { return t.machine.systemFolder; }),
      one<Text>(S::Folders, "Documents", +[](Target t) -> auto& { return t.machine.documentsFolder; }),
      one<Text>(S::Folders, "LocalAppData", +[](Target t) -> auto& { return t.machine.localAppDataFolder; }),
      one<Text>(S::Folders, "Programs", +[](Target t) -> auto& { return t.machine.programsFolder; }),
      one<Text>(S::Folders, "Desktop", +[](Target t) -> auto& { return t.machine.desktopFolder; }),
      one<Text>(S::Folders, "DomainLocalAppData", +[](Target t) -> auto& { return t.machine.domainLocalAppDataFolder; }),
      one<Decimal<int>>(S::Drive, "Type", +[](Target t) -> auto& { return t.drive.type; }, {0, 6}, true),
      one<Text>(S::Drive, "Label", +[](Target t) -> auto& { return t.drive.label; }),
      one<HostFolder>(S::Drive, "Host", +[](Target t) -> auto& { return t.drive.host; }, {machineFolder}),
      one<YesNo>(S::Drive, "Medium", +[](Target t) -> auto& { return t.drive.medium; }),
      one<YesNo>(S::Drive, "Full", +[](Target t) -> auto& { return t.drive.full; }),
      one<YesNo>(S::Drive, "ReadOnly", +[](Target t) -> auto& { return t.drive.readOnly; }),
      one<OptionalDecimal>(S::Drive, "FreeBytes", +[](Target t) -> auto& { return t.drive.freeBytes; }),
      one<YesNo>(S::Desktop, "ProgramManager", +[](Target t) -> auto& { return t.machine.programManagerAnswers; }),
      {S::Desktop, "Window",
       [](Target t, const std::string& v) {
         t.machine.otherWindows.push_back(v);
         return std::string();
       },
       [](Target t) { return t.machine.otherWindows; }, true},
      one<VersionQueryChoice>(S::Faults, "VersionQuery", +[](Target t) -> auto& { return t.machine.faults.versionQuery; }),
      one<YesNo>(S::Faults, "KnownFolders", +[](Target t) -> auto& { return t.machine.faults.knownFoldersFail; }, {true}),
      one<YesNo>(S::Faults, "UserName", +[](Target t) -> auto& { return t.machine.faults.userNameFails; }, {true}),
      one<YesNo>(S::Faults, "AccountLookup", +[](Target t) -> auto& { return t.machine.faults.accountLookupFails; }, {true}),
      one<List>(S::Faults, "LockedAttributes", +[](Target t) -> auto& { return t.machine.faults.lockedAttributes; }),
      one<List>(S::Faults, "RefuseWrites", +[](Target t) -> auto& { return t.machine.faults.refuseWrites; }),
      one<List>(S::Faults, "LockedFiles", +[](Target t) -> auto& { return t.machine.faults.lockedFiles; }),
      one<List>(S::Faults, "UnreadableKeys", +[](Target t) -> auto& { return t.machine.faults.unreadableKeys; }),
      one<List>(S::Faults, "RefuseRegistryWrites",
                +[](Target t) -> auto& { return t.machine.faults.refuseRegistryWrites; }),
      one<OptionalDecimal>(S::Faults, "HostFreeBytes", +[](Target t) -> auto& { return t.machine.faults.hostFreeBytes; }),
      one<OptionalDecimal>(S::Faults, "KillAtChange", +[](Target t) -> auto& { return t.machine.faults.killAtChange; }),
      one<Decimal<std::uint64_t>>(S::Program, "RunsFor", +[](Target t) -> auto& { return t.program.runsFor; }),
      one<YesNo>(S::Program, "Starts", +[](Target t) -> auto& { return t.program.starts; }),
      one<YesNo>(S::Program, "OpenProcess", +[](Target t) -> auto& { return t.program.opens; }),
      one<YesNo>(S::Program, "KeepsFileInUse", +[](Target t) -> auto& { return t.program.keepsFileInUse; }),
  };
}

// Reads the entries of one section.
void readSection(const IniSection& s, Section section, Target target, const std::vector<Setting>& all,
                 const std::filesystem::path& file) {
  // The line at which each setting of the section stood, 0 for none yet.
  std::vector<int> lineOf(all.size(), 0);
  for (const auto& e : s.entries) {
    const auto setting = std::find_if(all.begin(), all.end(),
                                      [&](const Setting& x) { return x.section == section && equalsAscii(x.key, e.key); });
    if (setting == all.end()) throw MachineFileError(file, e.line, "unknown key '" + e.key + "' in [" + s.name + "]");
    int& before = lineOf[static_cast<std::size_t>(setting - all.begin())];
    if (before != 0 && !setting->repeats) {
      throw MachineFileError(file, e.line,
                             e.key + "= stands twice in [" + s.name + "] (also at line " + std::to_string(before) + ")");
    }
    before = e.line;
    if (const std::string why = setting->read(target, e.value); !why.empty()) throw MachineFileError(file, e.line, why);
  }
}

}  // namespace

MachineConfig MachineConfig::load(const std::filesystem::path& file) {
  std::string text;
  if (!readIniFile(file, text)) throw MachineFileError(file, 1, "cannot be read: it is not there");
  return parse(text, file);
}

MachineConfig MachineConfig::parse(const std::string& text, const std::filesystem::path& file) {
  const auto sections = parseIni(text, file);
  const auto all = settings(file.parent_path());

  MachineConfig c;
  c.drives.clear();
  DriveConfig noDrive;
  ProgramConfig noProgram;
  for (const auto& s : sections) {
    if (s.name.size() == 7 && equalsAscii(s.name.substr(0, 6), "Drive ") &&
        std::isalpha(static_cast<unsigned char>(s.name[6]))) {
      DriveConfig d;
      d.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(s.name[6])));
      readSection(s, Section::Drive, Target{c, d, noProgram}, all, file);
      c.drives[d.letter] = d;
      continue;
    }
    if (s.name.size() > 8 && equalsAscii(s.name.substr(0, 8), "Program ")) {
      ProgramConfig p;
      p.name = s.name.substr(8);
      readSection(s, Section::Program, Target{c, noDrive, p}, all, file);
      // A name that differs only in case is one parseIni has refused as a section that stands twice.
      c.addProgram(std::move(p));
      continue;
    }
    const auto known = std::find_if(std::begin(kSectionNames), std::end(kSectionNames),
                                    [&](const auto& n) { return equalsAscii(n.second, s.name); });
    if (known == std::end(kSectionNames)) throw MachineFileError(file, s.line, "unknown section [" + s.name + "]");
    if (known->first == Section::Desktop) c.otherWindows.clear();  // the file's list replaces the default one
    readSection(s, known->first, Target{c, noDrive, noProgram}, all, file);
  }
  if (c.drives.empty()) {
    throw MachineFileError(file, sections.back().line, "no [Drive X] section: the machine needs at least one drive");
  }
  return c;
}

std::string MachineConfig::toIniText() const {
  std::ostringstream o;
  o << "; A simulated Windows machine. Edit it to make another one; the installer reads it at start.\n"
       "; Paths are Windows paths. Drive types: 0 unknown, 1 no root, 2 removable, 3 fixed, 4 network,\n"
       "; 5 CD-ROM, 6 RAM disk. An empty folder entry means that Windows cannot give that folder.\n";
  MachineConfig c = *this;
  DriveConfig noDrive;
  ProgramConfig noProgram;
  const auto all = settings({});
  auto writeSection = [&](Section section, const std::string& name, DriveConfig& drive, ProgramConfig& program) {
    o << "\n[" << name << "]\n";
    for (const auto& setting : all) {
      if (setting.section != section) continue;
      for (const auto& value : setting.write(Target{c, drive, program})) o << setting.key << '=' << value << '\n';
    }
  };
  writeSection(Section::Windows, "Windows", noDrive, noProgram);
  writeSection(Section::Folders, "Folders", noDrive, noProgram);
  for (auto& [letter, d] : c.drives) writeSection(Section::Drive, std::string("Drive ") + letter, d, noProgram);
  writeSection(Section::Desktop, "Desktop", noDrive, noProgram);
  writeSection(Section::Faults, "Faults", noDrive, noProgram);
  for (auto& [key, p] : c.programs) writeSection(Section::Program, "Program " + p.name, noDrive, p);
  return o.str();
}

}  // namespace zov::machine
