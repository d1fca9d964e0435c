// The settings store against the machine's real registry and real value
// files: the choice of back end, the order of the two settings folders, the
// value formats, the subkey list and the error boxes.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>

#include "localisation/contact_addresses.h"
#include "localisation/translate_text.h"
#include "platform/machine/atomic_file.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "services/registry.h"
#include "services/shared_state.h"
#include "tests/localisation/translation_rows.h"
#include "tests/localisation/translation_test_state.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using win32::HKEY_LOCAL_MACHINE;

constexpr const char* kFolder1 = "C:\\Users\\user\\AppData\\Local\\Zideruv\\ZOV4";
constexpr const char* kFolder2 = "C:\\Users\\user.ZIDERUV\\AppData\\Local\\Zideruv\\ZOV4";
constexpr const char* kKey = "Software\\Zideruv\\ZOV4";
constexpr const char* kKeyPath = "HKEY_LOCAL_MACHINE\\Software\\Zideruv\\ZOV4";

std::string at(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

class SettingsStore : public ::testing::Test {
 protected:
  void SetUp() override {
    OsCode = 4;
    AppDataDir = kFolder1;
    DomainAppDataDir = kFolder2;
    makeFolder(kFolder1);
    makeFolder(kFolder2);
  }
  void TearDown() override {
    OsCode = 0;
    AppDataDir.clear();
    DomainAppDataDir.clear();
  }

  void makeFolder(const std::string& path) { std::filesystem::create_directories(m.host(path)); }
  const machine::RegistryValue* stored(const std::string& name) { return m.machine().registry().value(kKeyPath, name); }
  void store(const std::string& name, std::uint32_t type, const std::string& bytes) {
    m.machine().registry().createKey(kKeyPath);
    m.machine().registry().setValue(kKeyPath, name, {type, {bytes.begin(), bytes.end()}});
  }
  bool saw(const std::string& text) const { return m.transcript().find(text) != std::string::npos; }
  int boxes() const {
    int n = 0;
    for (auto at = m.transcript().find("?? box"); at != std::string::npos; at = m.transcript().find("?? box", at + 1)) ++n;
    return n;
  }

  test::TestMachine m;
};

// ---- Choice of back end ----

TEST_F(SettingsStore, TheFlagForcesTheRegistryOnVistaAndSeven) {
  CreateRegKey(HKEY_LOCAL_MACHINE, kKey, ForceRegistry);
  SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Zov", ForceRegistry);
  SetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", 19, ForceRegistry);
  EXPECT_FALSE(m.exists(at(kFolder1, "Dizin")));
  EXPECT_FALSE(m.exists(at(kFolder2, "Version")));
  m.reopen();  // what the registry file kept
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", ForceRegistry), "C:\\Zov");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, ForceRegistry), 19);
  DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Dizin", ForceRegistry);
  EXPECT_EQ(stored("Dizin"), nullptr);
}

TEST_F(SettingsStore, BeforeVistaEveryFlagUsesTheRegistry) {
  OsCode = 3;
  CreateRegKey(HKEY_LOCAL_MACHINE, kKey, 0);
  EXPECT_TRUE(m.machine().registry().keyExists(kKeyPath));
  SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Zov", 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", 19, 0);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", 0), "C:\\Zov");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 19);
  EXPECT_FALSE(m.exists(at(kFolder1, "Dizin")));
}

TEST_F(SettingsStore, OnVistaAndSevenTheFlagZeroNeverTouchesTheRegistry) {
  const std::string before = m.machine().registry().toText();
  CreateRegKey(HKEY_LOCAL_MACHINE, kKey, 0);
  SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Program Files\\ZOV", 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", 19, 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Language", -1, 0);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", 0), "C:\\Program Files\\ZOV");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 19);
  DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Language", 0);
  EXPECT_EQ(m.machine().registry().toText(), before);
  for (const char* folder : {kFolder1, kFolder2}) {
    EXPECT_EQ(m.readFile(at(folder, "Dizin")), "C:\\Program Files\\ZOV\r\n");
    EXPECT_EQ(m.readFile(at(folder, "Version")), "19\r\n");
    EXPECT_FALSE(m.exists(at(folder, "Language")));
  }
}

// ---- The two settings folders ----

TEST_F(SettingsStore, FolderOneIsReadFirstAndFolderTwoOnlyForABlankText) {
  m.writeFile(at(kFolder1, "Dizin"), "C:\\One\r\n");
  m.writeFile(at(kFolder2, "Dizin"), "C:\\Two\r\n");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", 0), "C:\\One");
  m.writeFile(at(kFolder1, "Dizin"), "\r\n");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", 0), "C:\\Two");
  // A missing file in folder 1 gives the default there; folder 2 is read only for a blank default.
  std::filesystem::remove(m.host(at(kFolder1, "Dizin")));
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "  ", 0), "C:\\Two");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Default", 0), "C:\\Default");
  AppDataDir = "C:\\Users\\user\\AppData\\Local\\Nowhere";
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Default", 0), "C:\\Two");
}

TEST_F(SettingsStore, FolderTwoDecidesTheNumberWhenPresent) {
  m.writeFile(at(kFolder1, "Version"), "18\r\n");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), -99);
  m.writeFile(at(kFolder2, "Version"), "19\r\n");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 19);
  DomainAppDataDir.clear();
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 18);
}

TEST_F(SettingsStore, WithoutAFolderNothingIsReadOrWritten) {
  AppDataDir = "   ";
  DomainAppDataDir = "C:\\Users\\nobody\\AppData\\Local\\Zideruv\\ZOV4";
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Default", 0), "");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 0);
  SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Zov", 0);
  SetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", 19, 0);
  EXPECT_FALSE(m.exists("C:\\Users\\nobody"));
  EXPECT_EQ(boxes(), 0);
}

TEST_F(SettingsStore, AFolderThatCannotBeListedIsTrappedByTheReaders) {
  AppDataDir = "A:\\Zideruv\\ZOV4";  // a drive without a disk
  m.script("answer OK\nanswer OK\n");
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "C:\\Default", 0), "");
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, no icon, default OK]\n   Error : 8-71 Disk not ready\n"))
      << m.transcript();
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 0);
  EXPECT_TRUE(saw("   Error : 5-71 Disk not ready\n"));
  // The writers trap nothing of their own.
  EXPECT_THROW(SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "x", 0), runtime::RuntimeError);
}

// ---- Value files ----

TEST_F(SettingsStore, ABlankOrEmptyValueFileIsTheEmptyTextAndNoNumber) {
  m.writeFile(at(kFolder1, "Dizin"), "\r\n");
  m.writeFile(at(kFolder1, "Empty"), "");
  EXPECT_EQ(ReadConf(kFolder1, "Dizin", "default"), "");
  EXPECT_EQ(ReadConf(kFolder1, "Empty", "default"), "");
  EXPECT_EQ(ReadConf(kFolder1, "Missing", "default"), "default");
  m.writeFile(at(kFolder1, "Version"), "5\r\n");
  m.writeFile(at(kFolder2, "Version"), "\r\n");
  m.script("answer OK\n");
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Version", -99, 0), 5);  // the value held
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, no icon, default OK]\n   Error : 5-13 Type mismatch\n"))
      << m.transcript();
}

TEST_F(SettingsStore, NumbersAreDecimalWholeNumbersOfThirtyTwoBits) {
  const std::pair<const char*, std::int32_t> good[] = {
      {"19", 19}, {"+7", 7}, {"-12", -12}, {"  42  ", 42}, {"007", 7}, {"2147483647", 2147483647}, {"-2147483648", INT32_MIN}};
  DomainAppDataDir.clear();
  for (const auto& [text, number] : good) {
    m.writeFile(at(kFolder1, "Number"), std::string(text) + "\r\n");
    EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Number", -99, 0), number) << text;
  }
  const std::pair<const char*, const char*> bad[] = {{"1.5", "13 Type mismatch"},  {"1,000", "13 Type mismatch"},
                                                     {"1 2", "13 Type mismatch"},  {"&H10", "13 Type mismatch"},
                                                     {"+", "13 Type mismatch"},    {"-", "13 Type mismatch"},
                                                     {"2147483648", "6 Overflow"}, {"-99999999999999999999", "6 Overflow"}};
  for (const auto& [text, error] : bad) {
    m.writeFile(at(kFolder1, "Number"), std::string(text) + "\r\n");
    m.script("answer OK\n");
    EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Number", -99, 0), 0) << text;
    EXPECT_TRUE(saw(std::string("   Error : 5-") + error + "\n")) << text << "\n" << m.transcript();
  }
}

TEST_F(SettingsStore, TextIsReadBackAsWrittenCommasIncludedQuotesDropped) {
  const std::pair<const char*, const char*> cases[] = {{"C:\\A, B", "C:\\A, B"},
                                                       {"a,b", "a,b"},
                                                       {"  x  ", "x"},
                                                       {"\"C:\\X, Y\"", "C:\\X, Y"},
                                                       {"  \"quoted\", and not", "quoted, and not"},
                                                       {"\"unclosed, quote", "unclosed, quote"},
                                                       {"Müllverbrennungsanlage", "Müllverbrennungsanlage"}};
  for (const auto& [written, read] : cases) {
    EXPECT_TRUE(WriteConf(kFolder1, "Dizin", written));
    EXPECT_EQ(ReadConf(kFolder1, "Dizin", ""), read) << written;
  }
  // ANSI bytes, then CR LF, nothing else.
  EXPECT_EQ(m.readFile(at(kFolder1, "Dizin")), "M\xFCllverbrennungsanlage\r\n");
  // Line ends (CR LF, CR, LF) separate items, which are trimmed and joined.
  m.writeFile(at(kFolder1, "Dizin"), "C:\\Zov\r\n second \rline\n\r\n");
  EXPECT_EQ(ReadConf(kFolder1, "Dizin", ""), "C:\\Zovsecondline");
  m.writeFile(at(kFolder1, "Dizin"), "\r\nC:\\Zov\r\n");
  EXPECT_EQ(ReadConf(kFolder1, "Dizin", ""), "C:\\Zov");
  m.writeFile(at(kFolder1, "Dizin"), "C:\\No line end");
  EXPECT_EQ(ReadConf(kFolder1, "Dizin", ""), "C:\\No line end");
}

TEST_F(SettingsStore, WriteConfNeedsAFolderAndAName) {
  EXPECT_FALSE(WriteConf(kFolder1, "   ", "x"));
  EXPECT_FALSE(WriteConf(" ", "Dizin", "x"));
  EXPECT_EQ(ReadConf(kFolder1, "", "default"), "default");
  EXPECT_TRUE(std::filesystem::is_empty(m.host(kFolder1)));
  EXPECT_EQ(boxes(), 0);
}

TEST_F(SettingsStore, WritingAHiddenReadOnlyFileClearsBothAndReplacesIt) {
  m.writeFile(at(kFolder1, "Dizin"), "C:\\Old\r\n");
  runtime::SetAttr(at(kFolder1, "Dizin"), runtime::vbHidden | runtime::vbReadOnly | runtime::vbArchive);
  EXPECT_EQ(ReadConf(kFolder1, "Dizin", ""), "C:\\Old");  // found although hidden
  runtime::SetAttr(at(kFolder1, "Dizin"), runtime::vbHidden | runtime::vbReadOnly);
  EXPECT_TRUE(WriteConf(kFolder1, "Dizin", "C:\\New"));
  EXPECT_EQ(m.readFile(at(kFolder1, "Dizin")), "C:\\New\r\n");
  EXPECT_EQ(runtime::GetAttr(at(kFolder1, "Dizin")), 0);
}

TEST_F(SettingsStore, AFailedWriteShowsWhatWasNotWrittenAndTheSupportLine) {
  m.script("answer OK\n");
  EXPECT_FALSE(WriteConf(" C:\\Missing ", " Dizin ", " C:\\Zov "));
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, exclamation, default OK]\n"
                  "   Error in WriteConf : 76: Path not found\\n\\nC:\\Missing - Dizin - C:\\Zov\\n\\n" +
                  SupportLine() + "\n"))
      << m.transcript();
  EXPECT_FALSE(m.exists("C:\\Missing"));
  ExpectHasTranslationRow(SupportLine());
}

// The names in a folder of the machine, in order.
std::vector<std::string> namesIn(test::TestMachine& m, const std::string& folder) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(m.host(folder))) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

// A value that cannot be written whole (a full disk, a file held by another
// program) keeps its old content, and no other file is left beside it.
TEST_F(SettingsStore, AValueIsWrittenWholeOrNotAtAll) {
  m.writeFile(at(kFolder1, "Version"), "18\r\n");
  m.writeFile(at(kFolder1, "Held"), "7\r\n");
  machine::MachineConfig c = m.machine().config();
  c.faults.hostFreeBytes = 6;
  c.faults.lockedFiles = {at(kFolder1, "Held")};
  machine::writeFileAtomically(m.folder() / "machine.ini", c.toIniText());
  m.reopen();
  m.script("answer OK Error in WriteConf : 61: Disk full\nanswer OK Error in WriteConf : 70: Permission denied\n");
  EXPECT_FALSE(WriteConf(kFolder1, "Version", "123456"));
  EXPECT_FALSE(WriteConf(kFolder1, "Held", "8"));
  EXPECT_EQ(boxes(), 2) << m.transcript();
  EXPECT_EQ(m.readFile(at(kFolder1, "Version")), "18\r\n");
  EXPECT_EQ(m.readFile(at(kFolder1, "Held")), "7\r\n");
  EXPECT_EQ(namesIn(m, kFolder1), (std::vector<std::string>{"Held", "Version"}));
  // Within the room left it is replaced, with nothing beside it.
  EXPECT_TRUE(WriteConf(kFolder1, "Version", "9"));
  EXPECT_EQ(m.readFile(at(kFolder1, "Version")), "9\r\n");
  EXPECT_EQ(namesIn(m, kFolder1), (std::vector<std::string>{"Held", "Version"}));
}

// Another installer reading the value while this one writes it again and
// again meets the old value or the new one, never an empty or a half one.
TEST_F(SettingsStore, AnotherProgramReadingWhileAValueIsWrittenSeesAWholeValue) {
  DomainAppDataDir.clear();
  WriteConf(kFolder1, "Version", "18");
  const pid_t writer = ::fork();
  ASSERT_GE(writer, 0);
  if (writer == 0) {
    machine::setCurrentMachine(machine::Machine::open(m.folder()));
    bool written = true;
    for (int i = 0; i < 150; ++i) written = WriteConf(kFolder1, "Version", i % 2 ? "19" : "1234567890") && written;
    ::_exit(written ? 0 : 1);
  }
  int status = 0, reads = 0;
  std::string broken;
  while (::waitpid(writer, &status, WNOHANG) == 0) {
    const std::string value = ReadConf(kFolder1, "Version", "absent");
    if (value != "18" && value != "19" && value != "1234567890") broken = "'" + value + "'";
    ++reads;
  }
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  EXPECT_EQ(broken, "") << "after " << reads << " reads";
  EXPECT_EQ(boxes(), 0) << m.transcript();
  EXPECT_EQ(namesIn(m, kFolder1), std::vector<std::string>{"Version"});
}

TEST_F(SettingsStore, ReadAndDeleteFailuresShowTheirBoxes) {
  m.script("answer OK\nanswer OK\n");
  EXPECT_EQ(ReadConf("A:\\Zov", "Dizin", "default"), "");  // the trap gives the empty text, not the default
  EXPECT_TRUE(saw("?? box \"ZOV Rededi Dirirozo\" [OK, exclamation, default OK]\n"
                  "   Error in ReadConf : 71: Disk not ready\\n\\n" +
                  SupportLine() + "\n"))
      << m.transcript();
  DeleteConf("A:\\Zov", "Dizin");
  EXPECT_TRUE(saw("   Error in DeleteConf : 71: Disk not ready\\n\\n" + SupportLine() + "\n")) << m.transcript();
  EXPECT_EQ(runtime::FreeFile(), 1);  // no file number left open
}

TEST_F(SettingsStore, DeleteConfRemovesAHiddenReadOnlyFileAndIgnoresAMissingOne) {
  m.writeFile(at(kFolder1, "Dizin"), "C:\\Zov\r\n");
  m.writeFile(at(kFolder1, "Other"), "1\r\n");
  runtime::SetAttr(at(kFolder1, "Dizin"), runtime::vbHidden | runtime::vbReadOnly);
  DeleteConf(kFolder1, "Dizin");
  DeleteConf(kFolder1, "Dizin");
  EXPECT_FALSE(m.exists(at(kFolder1, "Dizin")));
  EXPECT_TRUE(m.exists(at(kFolder1, "Other")));
  EXPECT_EQ(boxes(), 0);
}

class SettingsStoreInGerman : public TranslationStateTest {
 protected:
  test::TestMachine m;
};

TEST_F(SettingsStoreInGerman, TheSupportLineIsTranslated) {
  UseLanguage(2);
  const std::string german = TranslateText(SupportLine());
  ASSERT_NE(german, SupportLine());
  m.script("answer OK\n");
  EXPECT_FALSE(WriteConf("C:\\Missing", "Dizin", "x"));
  EXPECT_NE(m.transcript().find("\\n\\n" + german + "\n"), std::string::npos) << m.transcript();
}

// ---- Registry value formats ----

TEST_F(SettingsStore, TextIsAnsiWithoutItsNulAndNumbersAreFourLittleEndianBytes) {
  SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "abc", ForceRegistry);
  ASSERT_NE(stored("Dizin"), nullptr);
  EXPECT_EQ(*stored("Dizin"), (machine::RegistryValue{win32::REG_SZ, {'a', 'b', 'c'}}));
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", ForceRegistry), "abc");
  SetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "Müll", ForceRegistry);
  EXPECT_EQ(stored("Dizin")->data, (std::vector<std::uint8_t>{'M', 0xFC, 'l', 'l'}));
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Dizin", "", ForceRegistry), "Müll");
  SetRegDWord(HKEY_LOCAL_MACHINE, kKey, "dwKFE", -2, ForceRegistry);
  EXPECT_EQ(*stored("dwKFE"), (machine::RegistryValue{win32::REG_DWORD, {0xFE, 0xFF, 0xFF, 0xFF}}));
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "dwKFE", 0, ForceRegistry), -2);
}

TEST_F(SettingsStore, TextWrittenByOthersIsTakenUpToItsFirstNul) {
  store("Nul", win32::REG_SZ, std::string("C:\\Zov\0junk", 11));
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Nul", "", ForceRegistry), "C:\\Zov");
  // A long value is read whole, wherever its NUL lies.
  const std::string longText(40000, 'z');
  store("Long", win32::REG_SZ, longText + std::string(1, '\0'));
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, "Long", "", ForceRegistry), longText);
  EXPECT_EQ(boxes(), 0);
}

TEST_F(SettingsStore, OtherTypesReadAsMissing) {
  store("Expand", win32::REG_EXPAND_SZ, std::string("%SystemRoot%\0", 13));
  store("Binary", win32::REG_BINARY, "abc");
  store("Number", win32::REG_DWORD, std::string("\x13\0\0\0", 4));
  store("Wide", win32::REG_DWORD, std::string(8, '\x01'));
  store("Text", win32::REG_SZ, "19");
  for (const char* name : {"Expand", "Binary", "Number", "Missing"}) {
    EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, kKey, name, "default", ForceRegistry), "default") << name;
  }
  for (const char* name : {"Expand", "Binary", "Wide", "Text", "Missing"}) {
    EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, name, -99, ForceRegistry), -99) << name;
  }
  EXPECT_EQ(GetRegDWord(HKEY_LOCAL_MACHINE, kKey, "Number", -99, ForceRegistry), 19);
  EXPECT_EQ(GetRegString(HKEY_LOCAL_MACHINE, "Software\\Nothing", "Dizin", "default", ForceRegistry), "default");
}

// ---- Keys ----

TEST_F(SettingsStore, RegistryKeysAreCreatedAndDeletedOneAtATime) {
  CreateRegKey(HKEY_LOCAL_MACHINE, kKey, 0);
  EXPECT_FALSE(m.machine().registry().keyExists(kKeyPath));
  CreateRegKey(HKEY_LOCAL_MACHINE, kKey, ForceRegistry);
  EXPECT_TRUE(m.machine().registry().keyExists(kKeyPath));
  DeleteRegKey(HKEY_LOCAL_MACHINE, "Software\\Zideruv", ForceRegistry);  // has a subkey: stays
  DeleteRegKey(HKEY_LOCAL_MACHINE, kKey, ForceRegistry);
  EXPECT_FALSE(m.machine().registry().keyExists(kKeyPath));
  EXPECT_TRUE(m.machine().registry().keyExists("HKEY_LOCAL_MACHINE\\Software\\Zideruv"));
}

TEST_F(SettingsStore, DeletingTheKeyEmptiesAndRemovesBothFolders) {
  for (const char* folder : {kFolder1, kFolder2}) {
    m.writeFile(at(folder, "Dizin"), "C:\\Zov\r\n");
    m.writeFile(at(folder, "Hidden"), "1\r\n");
    m.writeFile(at(folder, "Locked"), "2\r\n");
    runtime::SetAttr(at(folder, "Hidden"), runtime::vbHidden);
    runtime::SetAttr(at(folder, "Locked"), runtime::vbHidden | runtime::vbReadOnly | runtime::vbArchive);
    runtime::SetAttr(folder, runtime::vbReadOnly);
  }
  DeleteRegKey(HKEY_LOCAL_MACHINE, kKey, 0);
  EXPECT_FALSE(m.exists(kFolder1));
  EXPECT_FALSE(m.exists(kFolder2));
  EXPECT_TRUE(m.exists("C:\\Users\\user\\AppData\\Local\\Zideruv"));
  EXPECT_EQ(boxes(), 0);
}

TEST_F(SettingsStore, AFolderOfOnlyHiddenFilesIsNotDeletedAndTheErrorReachesTheCaller) {
  m.writeFile(at(kFolder1, "Hidden"), "1\r\n");
  runtime::SetAttr(at(kFolder1, "Hidden"), runtime::vbHidden);
  try {
    DeleteRegKey(HKEY_LOCAL_MACHINE, kKey, 0);
    ADD_FAILURE() << "no error";
  } catch (const runtime::RuntimeError& e) {
    EXPECT_EQ(e.number(), runtime::kPathFileAccessError);
  }
  EXPECT_TRUE(m.exists(at(kFolder1, "Hidden")));
  EXPECT_TRUE(m.exists(kFolder2));  // not reached
}

TEST_F(SettingsStore, AFileThatCannotBeDeletedIsPassedOver) {
  m.writeFile(at(kFolder1, "A-system"), "1\r\n");  // system files are never deleted, and list first
  m.writeFile(at(kFolder1, "B-plain"), "2\r\n");
  m.writeFile(at(kFolder1, "C-plain"), "3\r\n");
  runtime::SetAttr(at(kFolder1, "A-system"), runtime::vbSystem);
  DeleteRegKey(HKEY_LOCAL_MACHINE, kKey, 0);
  EXPECT_TRUE(m.exists(at(kFolder1, "A-system")));
  EXPECT_FALSE(m.exists(at(kFolder1, "B-plain")));
  EXPECT_FALSE(m.exists(at(kFolder1, "C-plain")));
  EXPECT_FALSE(m.exists(kFolder2));  // the second folder is still emptied and removed
  EXPECT_EQ(boxes(), 0);
}

TEST_F(SettingsStore, DeletingAValueDeletesItsFileInBothFolders) {
  for (const char* folder : {kFolder1, kFolder2}) {
    m.writeFile(at(folder, "Language"), "2\r\n");
    m.writeFile(at(folder, "Dizin"), "C:\\Zov\r\n");
  }
  runtime::SetAttr(at(kFolder2, "Language"), runtime::vbHidden | runtime::vbReadOnly);
  DeleteRegValue(HKEY_LOCAL_MACHINE, kKey, "Language", 0);
  EXPECT_FALSE(m.exists(at(kFolder1, "Language")));
  EXPECT_FALSE(m.exists(at(kFolder2, "Language")));
  EXPECT_TRUE(m.exists(at(kFolder2, "Dizin")));
}

// ---- Subkey lists ----

// Writes a registry with `count` subkeys under the product's parent key and opens the machine on it.
void storeSubkeys(test::TestMachine& m, int count) {
  std::string text = "REGEDIT4\n\n[HKEY_LOCAL_MACHINE\\Software\\Zideruv]\n\n";
  for (int i = count; i >= 1; --i) {
    char name[16];
    std::snprintf(name, sizeof name, "K%04d", i);
    text += std::string("[HKEY_LOCAL_MACHINE\\Software\\Zideruv\\") + name + "]\n\n";
  }
  std::ofstream(m.folder() / "registry.reg", std::ios::binary) << text;
  m.reopen();
}

TEST_F(SettingsStore, NoSubkeysIsTheNumberMinusTwo) {
  EXPECT_EQ(std::get<std::int16_t>(EnumRegKeys(HKEY_LOCAL_MACHINE, "Software\\Nothing")), -2);
  storeSubkeys(m, 0);
  EXPECT_EQ(std::get<std::int16_t>(EnumRegKeys(HKEY_LOCAL_MACHINE, "Software\\Zideruv")), -2);
}

TEST_F(SettingsStore, AtMost1024SubkeysMakeAList) {
  storeSubkeys(m, 1024);
  const auto list = EnumRegKeys(HKEY_LOCAL_MACHINE, "Software\\Zideruv");
  ASSERT_TRUE(std::holds_alternative<std::vector<std::string>>(list));
  const auto& names = std::get<std::vector<std::string>>(list);
  ASSERT_EQ(names.size(), 1024u);
  EXPECT_EQ(names.front(), "K0001");
  EXPECT_EQ(names.back(), "K1024");
  storeSubkeys(m, 1025);
  EXPECT_EQ(std::get<std::int16_t>(EnumRegKeys(HKEY_LOCAL_MACHINE, "Software\\Zideruv")), -2);
}

}  // namespace
}  // namespace zov
