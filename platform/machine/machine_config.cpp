#include "machine_config.h"

#include <cctype>
#include <fstream>
#include <functional>
#include <sstream>

#include "platform/machine/ini_file.h"

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

bool equalsAscii(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (std::tolower(static_cast<unsigned char>(a[i])) != std::tolower(static_cast<unsigned char>(b[i]))) return false;
  }
  return true;
}

struct Reader {
  const std::filesystem::path& file;

  [[noreturn]] void fail(const IniEntry& e, const std::string& why) const { throw MachineFileError(file, e.line, why); }

  std::uint64_t number(const IniEntry& e, int base = 10) const {
    try {
      std::size_t used = 0;
      std::string v = e.value;
      if (base == 16 && (v.rfind("0x", 0) == 0 || v.rfind("0X", 0) == 0)) v = v.substr(2);
      const auto n = std::stoull(v, &used, base);
      if (used != v.size()) fail(e, "'" + e.value + "' is not a number");
      return n;
    } catch (const std::logic_error&) {
      fail(e, "'" + e.value + "' is not a number");
    }
  }

  bool yesNo(const IniEntry& e) const {
    if (equalsAscii(e.value, "yes") || e.value == "1" || equalsAscii(e.value, "true")) return true;
    if (equalsAscii(e.value, "no") || e.value == "0" || equalsAscii(e.value, "false")) return false;
    fail(e, "expected yes or no, not '" + e.value + "'");
  }

  std::vector<std::string> list(const IniEntry& e) const {
    std::vector<std::string> items;
    std::stringstream ss(e.value);
    std::string item;
    while (std::getline(ss, item, ';')) {
      const auto a = item.find_first_not_of(' ');
      if (a == std::string::npos) continue;
      items.push_back(item.substr(a, item.find_last_not_of(' ') - a + 1));
    }
    return items;
  }
};

using Handler = std::function<void(const IniEntry&)>;

void dispatch(const IniSection& s, const std::map<std::string, Handler>& handlers, const Reader& r) {
  for (const auto& e : s.entries) {
    bool found = false;
    for (const auto& [key, handler] : handlers) {
      if (equalsAscii(key, e.key)) {
        handler(e);
        found = true;
        break;
      }
    }
    if (!found) r.fail(e, "unknown key '" + e.key + "' in [" + s.name + "]");
  }
}

}  // namespace

MachineConfig MachineConfig::load(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw MachineFileError(file, 0, "cannot be read");
  std::stringstream buffer;
  buffer << in.rdbuf();
  return parse(buffer.str(), file);
}

MachineConfig MachineConfig::parse(const std::string& text, const std::filesystem::path& file) {
  const auto sections = parseIni(text, file);

  MachineConfig c;
  c.drives.clear();
  const Reader r{file};
  for (const auto& s : sections) {
    if (equalsAscii(s.name, "Windows")) {
      dispatch(s,
               {{"PlatformId", [&](const IniEntry& e) { c.platformId = static_cast<std::uint32_t>(r.number(e)); }},
                {"MajorVersion", [&](const IniEntry& e) { c.majorVersion = static_cast<std::uint32_t>(r.number(e)); }},
                {"MinorVersion", [&](const IniEntry& e) { c.minorVersion = static_cast<std::uint32_t>(r.number(e)); }},
                {"BuildNumber", [&](const IniEntry& e) { c.buildNumber = static_cast<std::uint32_t>(r.number(e)); }},
                {"ServicePack", [&](const IniEntry& e) { c.servicePack = e.value; }},
                {"UserName", [&](const IniEntry& e) { c.userName = e.value; }},
                {"Domain", [&](const IniEntry& e) { c.domain = e.value; }},
                {"ComputerName", [&](const IniEntry& e) { c.computerName = e.value; }},
                {"UILanguage", [&](const IniEntry& e) { c.uiLanguage = static_cast<std::uint16_t>(r.number(e, 16)); }},
                {"CodePage",
                 [&](const IniEntry& e) {
                   c.codePage = static_cast<int>(r.number(e));
                   if (c.codePage != 1252 && c.codePage != 1254) r.fail(e, "code page must be 1252 or 1254");
                 }},
                {"Clock",
                 [&](const IniEntry& e) {
                   if (equalsAscii(e.value, "real")) c.clock = ClockMode::Real;
                   else if (equalsAscii(e.value, "virtual")) c.clock = ClockMode::Virtual;
                   else r.fail(e, "Clock must be real or virtual");
                 }}},
               r);
    } else if (equalsAscii(s.name, "Folders")) {
      dispatch(s,
               {{"Temp", [&](const IniEntry& e) { c.tempFolder = e.value; }},
                {"Windows", [&](const IniEntry& e) { c.windowsFolder = e.value; }},
                {"System", [&](const IniEntry& e) { c.systemFolder = e.value; }},
                {"Documents", [&](const IniEntry& e) { c.documentsFolder = e.value; }},
                {"LocalAppData", [&](const IniEntry& e) { c.localAppDataFolder = e.value; }},
                {"Programs", [&](const IniEntry& e) { c.programsFolder = e.value; }},
                {"Desktop", [&](const IniEntry& e) { c.desktopFolder = e.value; }}},
               r);
    } else if (s.name.size() == 7 && equalsAscii(s.name.substr(0, 6), "Drive ") &&
               std::isalpha(static_cast<unsigned char>(s.name[6]))) {
      DriveConfig d;
      d.letter = static_cast<char>(std::toupper(static_cast<unsigned char>(s.name[6])));
      dispatch(s,
               {{"Type",
                 [&](const IniEntry& e) {
                   d.type = static_cast<int>(r.number(e));
                   if (d.type > 6) r.fail(e, "drive type must be 0 to 6");
                 }},
                {"Label", [&](const IniEntry& e) { d.label = e.value; }},
                {"Host", [&](const IniEntry& e) { d.host = e.value; }},
                {"Medium", [&](const IniEntry& e) { d.medium = r.yesNo(e); }},
                {"Full", [&](const IniEntry& e) { d.full = r.yesNo(e); }},
                {"ReadOnly", [&](const IniEntry& e) { d.readOnly = r.yesNo(e); }},
                {"FreeBytes", [&](const IniEntry& e) { d.freeBytes = r.number(e); }}},
               r);
      c.drives[d.letter] = d;
    } else if (equalsAscii(s.name, "Desktop")) {
      c.otherWindows.clear();
      dispatch(s,
               {{"Window", [&](const IniEntry& e) { c.otherWindows.push_back(e.value); }},
                {"ProgramManager", [&](const IniEntry& e) { c.programManagerAnswers = r.yesNo(e); }}},
               r);
    } else if (equalsAscii(s.name, "Faults")) {
      dispatch(s,
               {{"VersionQuery",
                 [&](const IniEntry& e) {
                   if (equalsAscii(e.value, "answers")) c.faults.versionQuery = VersionQuery::Answers;
                   else if (equalsAscii(e.value, "fails")) c.faults.versionQuery = VersionQuery::Fails;
                   else if (equalsAscii(e.value, "missing")) c.faults.versionQuery = VersionQuery::EntryPointMissing;
                   else r.fail(e, "VersionQuery must be answers, fails or missing");
                 }},
                {"KnownFolders", [&](const IniEntry& e) { c.faults.knownFoldersFail = !r.yesNo(e); }},
                {"UserName", [&](const IniEntry& e) { c.faults.userNameFails = !r.yesNo(e); }},
                {"AccountLookup", [&](const IniEntry& e) { c.faults.accountLookupFails = !r.yesNo(e); }},
                {"LockedAttributes", [&](const IniEntry& e) { c.faults.lockedAttributes = r.list(e); }},
                {"RefuseWrites", [&](const IniEntry& e) { c.faults.refuseWrites = r.list(e); }},
                {"LockedFiles", [&](const IniEntry& e) { c.faults.lockedFiles = r.list(e); }}},
               r);
    } else {
      throw MachineFileError(file, s.line, "unknown section [" + s.name + "]");
    }
  }
  if (c.drives.empty()) throw MachineFileError(file, 0, "no [Drive X] section: the machine needs at least one drive");
  return c;
}

std::string MachineConfig::toIniText() const {
  std::ostringstream o;
  auto hex4 = [](unsigned v) {
    char buf[8];
    std::snprintf(buf, sizeof buf, "%04X", v & 0xFFFF);
    return std::string(buf);
  };
  o << "; A simulated Windows machine. Edit it to make another one; the installer reads it at start.\n"
       "; Paths are Windows paths. Drive types: 0 unknown, 1 no root, 2 removable, 3 fixed, 4 network,\n"
       "; 5 CD-ROM, 6 RAM disk. An empty folder entry means that Windows cannot give that folder.\n\n";
  o << "[Windows]\nPlatformId=" << platformId << "\nMajorVersion=" << majorVersion << "\nMinorVersion=" << minorVersion
    << "\nBuildNumber=" << buildNumber << "\nServicePack=" << servicePack << "\nUserName=" << userName
    << "\nDomain=" << domain << "\nComputerName=" << computerName << "\nUILanguage=" << hex4(uiLanguage)
    << "\nCodePage=" << codePage << "\nClock=" << (clock == ClockMode::Virtual ? "virtual" : "real") << "\n\n";
  o << "[Folders]\nTemp=" << tempFolder << "\nWindows=" << windowsFolder << "\nSystem=" << systemFolder
    << "\nDocuments=" << documentsFolder << "\nLocalAppData=" << localAppDataFolder << "\nPrograms=" << programsFolder
    << "\nDesktop=" << desktopFolder << "\n\n";
  for (const auto& [letter, d] : drives) {
    o << "[Drive " << letter << "]\nType=" << d.type << "\n";
    if (!d.label.empty()) o << "Label=" << d.label << "\n";
    if (!d.host.empty()) o << "Host=" << d.host.string() << "\n";
    if (!d.medium) o << "Medium=no\n";
    if (d.full) o << "Full=yes\n";
    if (d.readOnly) o << "ReadOnly=yes\n";
    if (d.freeBytes) o << "FreeBytes=" << *d.freeBytes << "\n";
    o << "\n";
  }
  o << "[Desktop]\nProgramManager=" << (programManagerAnswers ? "yes" : "no") << "\n";
  for (const auto& w : otherWindows) o << "Window=" << w << "\n";
  o << "\n[Faults]\n";
  auto join = [](const std::vector<std::string>& v) {
    std::string s;
    for (const auto& x : v) s += (s.empty() ? "" : ";") + x;
    return s;
  };
  o << "VersionQuery="
    << (faults.versionQuery == VersionQuery::Answers ? "answers"
        : faults.versionQuery == VersionQuery::Fails ? "fails"
                                                     : "missing")
    << "\nKnownFolders=" << (faults.knownFoldersFail ? "no" : "yes") << "\nUserName=" << (faults.userNameFails ? "no" : "yes")
    << "\nAccountLookup=" << (faults.accountLookupFails ? "no" : "yes")
    << "\nLockedAttributes=" << join(faults.lockedAttributes) << "\nRefuseWrites=" << join(faults.refuseWrites)
    << "\nLockedFiles=" << join(faults.lockedFiles) << "\n";
  return o.str();
}

}  // namespace zov::machine
