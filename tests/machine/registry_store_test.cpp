#include "platform/machine/registry_store.h"
#include "platform/machine/windows_errors.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>

namespace zov::machine {
namespace {

namespace fs = std::filesystem;
using namespace std::string_view_literals;

constexpr const char* kApp = "HKEY_CURRENT_USER\\Software\\Zideruv";

RegistryValue bytes(std::uint32_t type, std::string_view data) { return {type, {data.begin(), data.end()}}; }
RegistryValue sz(std::string_view ansi) { return bytes(kRegSz, std::string(ansi) + '\0'); }

class RegistryStoreTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = fs::temp_directory_path() / ("registry_store_test_" + std::to_string(::getpid()) + "_" +
                                           testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(folder_);
    fs::create_directories(folder_);
  }
  void TearDown() override { fs::remove_all(folder_); }

  fs::path file() const { return folder_ / "registry.reg"; }
  std::string fileText() const {
    std::ifstream in(file(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
  void writeFile(std::string_view text) const { std::ofstream(file(), std::ios::binary) << text; }
  RegistryStore loadFile(std::string_view text, int codePage = 1252) const {
    writeFile(text);
    return RegistryStore::load(file(), codePage);
  }

  fs::path folder_;
};

TEST_F(RegistryStoreTest, EveryTypeSurvivesTheFileExactly) {
  const std::vector<std::pair<std::string, RegistryValue>> values = {
      {"", sz("default")},
      {"Version", sz("5.2")},
      {"NoNul", bytes(kRegSz, "C:\\Zov \"5\"")},
      {"InnerNul", bytes(kRegSz, "a\0b\0"sv)},
      {"TwoNuls", bytes(kRegSz, "ab\0\0"sv)},
      {"EmptySz", bytes(kRegSz, "")},
      {"NotText", bytes(kRegSz, "\x81\x8d")},  // unassigned in code page 1252
      {"Lines", sz("one\r\ntwo")},
      {"Expand", bytes(kRegExpandSz, "%TEMP%\\x\0"sv)},
      {"Multi", bytes(kRegMultiSz, "a\0b\0\0"sv)},
      {"EmptyBinary", bytes(kRegBinary, "")},
      {"Long", bytes(kRegBinary, std::string(300, '\xAB'))},
      {"Count", bytes(kRegDword, "\x1a\0\0\0"sv)},
      {"Short", bytes(kRegDword, "\x01\x02\x03")},
      {"None", bytes(0, "\0"sv)},
      {"Odd", bytes(0x12345678, "xy")},
      {"q\"uote\\d", sz("\\\"")},
  };
  {
    RegistryStore first = RegistryStore::load(file(), 1252);
    ASSERT_EQ(first.createKey(kApp), 0u);
    for (const auto& [name, value] : values) ASSERT_EQ(first.setValue(kApp, name, value), 0u);
  }
  RegistryStore second = RegistryStore::load(file(), 1252);
  std::vector<std::string> names;
  for (const auto& [name, value] : values) {
    names.push_back(name);
    const RegistryValue* read = second.value(kApp, name);
    ASSERT_NE(read, nullptr) << name;
    EXPECT_EQ(*read, value) << name;
  }
  EXPECT_EQ(second.valueNames(kApp), names);
  EXPECT_EQ(second.toText(), fileText());
}

TEST_F(RegistryStoreTest, FileShowsReadableForms) {
  RegistryStore reg = RegistryStore::load(file(), 1252);
  reg.createKey(kApp);
  reg.setValue(kApp, "", sz("default"));
  reg.setValue(kApp, "Folder", bytes(kRegSz, "C:\\Zov"));
  reg.setValue(kApp, "Count", bytes(kRegDword, "\x1a\0\0\0"sv));
  reg.setValue(kApp, "Short", bytes(kRegDword, "\x01\x02\x03"));
  reg.setValue(kApp, "Inner", bytes(kRegSz, "a\0b"sv));
  reg.setValue(kApp, "Long", bytes(kRegBinary, std::string(100, '\x0f')));
  reg.setValue(kApp, "Odd", bytes(0x1b, ""));
  const std::string text = fileText();
  EXPECT_TRUE(
      text.starts_with("REGEDIT4\n\n[HKEY_CLASSES_ROOT]\n\n[HKEY_CURRENT_USER]\n\n"
                       "[HKEY_CURRENT_USER\\Software]\n\n[HKEY_CURRENT_USER\\Software\\Zideruv]\n"
                       "@=\"default\"\n"
                       "\"Folder\"=hex(1):43,3a,5c,5a,6f,76\n"
                       "\"Count\"=dword:0000001a\n"
                       "\"Short\"=hex(4):01,02,03\n"
                       "\"Inner\"=hex(1):61,00,62\n"
                       "\"Long\"=hex:0f,"))
      << text;
  EXPECT_NE(text.find("\"Odd\"=hex(1b):\n\n[HKEY_LOCAL_MACHINE]\n\n[HKEY_USERS]\n\n[HKEY_CURRENT_CONFIG]\n\n"),
            std::string::npos);
  std::istringstream lines(text);
  for (std::string line; std::getline(lines, line);) EXPECT_LE(line.size(), 80u) << line;
}

TEST_F(RegistryStoreTest, StringsAreShownInTheMachinesCodePage) {
  const RegistryValue turkish = sz("\xFD\xFE\xF0");  // ışğ in 1254, ýþð in 1252
  for (const auto& [codePage, shown] : {std::pair{1254, "\"Ad\"=\"ışğ\""}, std::pair{1252, "\"Ad\"=\"ýþð\""}}) {
    {
      RegistryStore reg = RegistryStore::load(file(), codePage);
      reg.createKey(kApp);
      reg.setValue(kApp, "Ad", turkish);
    }
    EXPECT_NE(fileText().find(shown), std::string::npos) << codePage;
    EXPECT_EQ(*RegistryStore::load(file(), codePage).value(kApp, "Ad"), turkish) << codePage;
    fs::remove(file());
  }
}

TEST_F(RegistryStoreTest, ReadsTheFormsRegeditWrites) {
  RegistryStore reg = loadFile(
      "REGEDIT4\r\n\r\n"
      "; a comment\r\n"
      "[HKEY_LOCAL_MACHINE\\Software\\A\\B]\r\n"
      "\"Wrapped\"=hex:01,02,\\\r\n"
      "  03,FF\r\n"
      "\"Plain\"=hex(2):25,00  \r\n"
      "\"Small\"=dword:1A\r\n"
      "[hkey_local_machine\\SOFTWARE\\a\\b]\r\n"
      "\"Plain\"=hex(7):00\r\n"
      "\"\"=\"empty name is the default\"\r\n");
  const char* key = "HKEY_LOCAL_MACHINE\\Software\\A\\B";
  const std::string text = reg.toText();  // a name that stands twice is written once
  EXPECT_EQ(text.find("\"Plain\""), text.rfind("\"Plain\"")) << text;
  EXPECT_TRUE(reg.keyExists("HKEY_LOCAL_MACHINE\\Software\\A"));
  EXPECT_EQ(*reg.value(key, "Wrapped"), bytes(kRegBinary, "\x01\x02\x03\xff"));
  EXPECT_EQ(*reg.value(key, "Plain"), bytes(kRegMultiSz, std::string(1, '\0')));  // the later line wins
  EXPECT_EQ(*reg.value(key, "Small"), bytes(kRegDword, "\x1a\0\0\0"sv));
  EXPECT_EQ(*reg.value(key, ""), sz("empty name is the default"));
  EXPECT_EQ(reg.valueNames(key), (std::vector<std::string>{"Wrapped", "Plain", "Small", ""}));
}

TEST_F(RegistryStoreTest, LongDataAndLinesBetweenValuesReadBackExactly) {
  std::string hex, data;
  for (int i = 0; i < 40; ++i) {
    hex += (i ? "," : "") + std::string(1, "0123456789abcdef"[i / 16]) + "0123456789ABCDEF"[i % 16];
    data += static_cast<char>(i);
  }
  RegistryStore reg = loadFile("REGEDIT4\n\n[HKEY_USERS\\a]\n\"Long\"=hex:" + hex +
                               "\n\n; between values\n  \"Quoted\"=\"C:\\\\Program Files\\\\Zov \\\"5\\\" and more text\"\n"
                               "[HKEY_USERS\\b]\n[HKEY_USERS\\a]\n\"Last\"=hex(7):" + hex + ",\\\n  " + hex + "\n");
  EXPECT_EQ(*reg.value("HKEY_USERS\\a", "Long"), bytes(kRegBinary, data));
  EXPECT_EQ(*reg.value("HKEY_USERS\\a", "Quoted"), sz("C:\\Program Files\\Zov \"5\" and more text"));
  EXPECT_EQ(*reg.value("HKEY_USERS\\a", "Last"), bytes(kRegMultiSz, data + data));
  EXPECT_EQ(reg.valueNames("HKEY_USERS\\a"), (std::vector<std::string>{"Long", "Quoted", "Last"}));
}

TEST_F(RegistryStoreTest, CorruptFileIsRefusedWithItsLineAndLeftAsItWas) {
  const std::pair<std::string, std::pair<int, std::string>> cases[] = {
      {"", {1, "does not start with the line REGEDIT4"}},
      {"REGEDIT5\n", {1, "does not start with the line REGEDIT4"}},
      {"REGEDIT4\n\n\"a\"=\"b\"\n", {3, "a value before the first [key] line"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=\"b\n", {3, "without its closing quote"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=\"b\\n\"\n", {3, "bad escape"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,2g\n", {3, "bad hex byte"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:00,01,02,03,04,05,06,0g,08,09,0a,0b,0c,0d,0e,0f,10\n", {3, "bad hex byte"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:00,01,02,03,04,05;06,07,08,09,0a,0b,0c,0d,0e,0f,10\n", {3, "expected ','"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=\"a long text that runs past sixteen\\q\"\n", {3, "bad escape"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\\n  02,\n", {4, "missing after ','"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex:01,\\\n", {3, "continues past the end of the file"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=dword:123456789\n", {3, "dword: needs 1 to 8 hex digits"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=hex(x):00\n", {3, "hex(type)"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=-\n", {3, "value deletion"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=\"ş\"\n", {3, "code page 1252 lacks"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\xff\"=\"b\"\n", {3, "not UTF-8"}},
      {"REGEDIT4\n[HKEY_USERS]\n\"a\"=\"b\"x\n", {3, "after the closing quote"}},
      {"REGEDIT4\n\n[HKEY_NOWHERE\\x]\n", {3, "unknown root key \"HKEY_NOWHERE\""}},
      {"REGEDIT4\n\n[HKEY_USERS\\a\\\\b]\n", {3, "empty key name"}},
      {"REGEDIT4\n\n[-HKEY_USERS\\a]\n", {3, "key deletion"}},
      {"REGEDIT4\n\n[HKEY_USERS\\a\n", {3, "must end with ']'"}},
      {"REGEDIT4\n\nHKEY_USERS\n", {3, "expected a [key] line"}},
  };
  for (const auto& [text, expected] : cases) {
    writeFile(text);
    try {
      RegistryStore::load(file(), 1252);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const RegistryFileError& e) {
      EXPECT_EQ(e.file, file());
      EXPECT_EQ(e.line, expected.first) << text << e.what();
      const std::string prefix = file().string() + ":" + std::to_string(expected.first) + ": ";
      EXPECT_TRUE(std::string(e.what()).starts_with(prefix)) << e.what();
      EXPECT_NE(std::string(e.what()).find(expected.second), std::string::npos) << e.what();
    }
    EXPECT_EQ(fileText(), text);
  }
  std::string deep = "REGEDIT4\n[HKEY_USERS";
  for (int i = 0; i < 513; ++i) deep += "\\k";
  EXPECT_THROW(loadFile(deep + "]\n"), RegistryFileError);
}

TEST_F(RegistryStoreTest, NamesCompareWithoutCaseAndKeepTheirCase) {
  RegistryStore reg = RegistryStore::load(file(), 1254);
  ASSERT_EQ(reg.createKey("HKEY_CURRENT_USER\\Software\\Zideruv\\Kısa"), 0u);
  EXPECT_TRUE(reg.keyExists("hkey_current_user\\SOFTWARE\\zIDERUV\\KISA"));
  EXPECT_EQ(reg.createKey("HKEY_CURRENT_USER\\SOFTWARE\\ZIDERUV\\kisa"), 0u);
  EXPECT_EQ(reg.subkeyNames(kApp), std::vector<std::string>{"Kısa"});
  EXPECT_EQ(reg.subkeyNames("HKEY_CURRENT_USER"), std::vector<std::string>{"Software"});

  reg.setValue(kApp, "Path", sz("1"));
  reg.setValue(kApp, "Other", sz("2"));
  reg.setValue(kApp, "PATH", sz("3"));
  EXPECT_EQ(reg.valueNames(kApp), (std::vector<std::string>{"Path", "Other"}));
  EXPECT_EQ(*reg.value(kApp, "path"), sz("3"));
  EXPECT_EQ(RegistryStore::load(file(), 1254).subkeyNames(kApp), std::vector<std::string>{"Kısa"});
}

TEST_F(RegistryStoreTest, PathsTheFileCannotHoldAreRefused) {
  RegistryStore reg = RegistryStore::load(file(), 1252);
  for (const char* path :
       {"HKEY_NOWHERE\\x", "HKEY_USERS\\", "HKEY_USERS\\a\\\\b", "HKEY_USERS\\a\nb", "", "HKEY_USERS\\\xff"}) {
    EXPECT_EQ(reg.createKey(path), kErrorInvalidParameter) << path;
    EXPECT_FALSE(reg.keyExists(path)) << path;
  }
  reg.createKey(kApp);
  EXPECT_EQ(reg.setValue(kApp, "a\nb", sz("x")), kErrorInvalidParameter);
  EXPECT_EQ(reg.setValue(kApp, "a\0b"sv, sz("x")), kErrorInvalidParameter);
  EXPECT_EQ(reg.setValue("HKEY_USERS\\Missing", "a", sz("x")), kErrorFileNotFound);
  EXPECT_TRUE(RegistryStore::load(file(), 1252).valueNames(kApp).empty());
}

TEST_F(RegistryStoreTest, SubkeysEnumerateInWindowsOrder) {
  RegistryStore reg = RegistryStore::load(file(), 1252);
  for (const char* name : {"_x", "Zebra", "ärger", "9", "Äpfel", "a", "B", "Ölçü", "ıslak", "i2"}) {
    reg.createKey(std::string(kApp) + "\\" + name);
  }
  const std::vector<std::string> expected = {"9", "a", "B", "i2", "ıslak", "Zebra", "_x", "Äpfel", "ärger", "Ölçü"};
  EXPECT_EQ(reg.subkeyNames(kApp), expected);
  for (std::size_t i = 0; i < expected.size(); ++i) EXPECT_EQ(reg.subkeyName(kApp, i), expected[i]);
  EXPECT_EQ(reg.subkeyName(kApp, expected.size()), std::nullopt);
  EXPECT_EQ(reg.subkeyName("HKEY_USERS\\Missing", 0), std::nullopt);
  EXPECT_EQ(RegistryStore::load(file(), 1252).subkeyNames(kApp), expected);
}

TEST_F(RegistryStoreTest, EnumerationByIndexFollowsChanges) {
  std::string text = "REGEDIT4\n\n";
  for (int i = 1100; i-- > 0;) text += "[" + std::string(kApp) + "\\Product" + std::to_string(10000 + i) + "]\n";
  RegistryStore reg = loadFile(text);
  EXPECT_EQ(reg.subkeyName(kApp, 0), "Product10000");
  EXPECT_EQ(reg.subkeyName(kApp, 1099), "Product11099");
  EXPECT_EQ(reg.deleteKey(std::string(kApp) + "\\product10000"), 0u);
  EXPECT_EQ(reg.subkeyName(kApp, 0), "Product10001");
  reg.createKey(std::string(kApp) + "\\A");
  EXPECT_EQ(reg.subkeyName(kApp, 0), "A");
  EXPECT_EQ(reg.subkeyName(kApp, 1099), "Product11099");
  EXPECT_EQ(reg.subkeyName(kApp, 1100), std::nullopt);
}

TEST_F(RegistryStoreTest, DeletingKeysAndValues) {
  RegistryStore reg = RegistryStore::load(file(), 1252);
  reg.createKey(std::string(kApp) + "\\Sub");
  reg.setValue(kApp, "a", sz("1"));
  reg.setValue(kApp, "b", sz("2"));
  reg.setValue(kApp, "c", sz("3"));
  EXPECT_EQ(reg.deleteValue(kApp, "A"), 0u);
  EXPECT_EQ(reg.deleteValue(kApp, "a"), kErrorFileNotFound);
  reg.setValue(kApp, "a", sz("4"));
  EXPECT_EQ(reg.valueNames(kApp), (std::vector<std::string>{"b", "c", "a"}));
  EXPECT_EQ(*reg.value(kApp, "c"), sz("3"));

  EXPECT_EQ(reg.deleteKey(kApp), kErrorAccessDenied);
  EXPECT_EQ(reg.deleteKey("HKEY_CURRENT_USER"), kErrorAccessDenied);
  EXPECT_EQ(reg.deleteKey(std::string(kApp) + "\\Missing\\Deeper"), kErrorFileNotFound);
  EXPECT_EQ(reg.deleteKey(std::string(kApp) + "\\SUB"), 0u);
  EXPECT_EQ(reg.deleteKey(kApp), 0u);
  EXPECT_FALSE(reg.keyExists(kApp));
  reg.createKey(kApp);
  EXPECT_TRUE(reg.valueNames(kApp).empty());
  EXPECT_TRUE(reg.keyExists("HKEY_CURRENT_USER\\Software"));
}

TEST_F(RegistryStoreTest, EachChangeIsInTheFileForTheNextRun) {
  {
    RegistryStore reg = RegistryStore::load(file(), 1252);
    EXPECT_TRUE(reg.keyExists("HKEY_CURRENT_CONFIG"));
    EXPECT_TRUE(reg.subkeyNames("HKEY_LOCAL_MACHINE").empty());
    reg.createKey("HKEY_LOCAL_MACHINE");
    EXPECT_FALSE(fs::exists(file()));  // nothing changed yet
    reg.createKey(kApp);
    reg.setValue(kApp, "Run", sz("first"));
  }
  {
    RegistryStore reg = RegistryStore::load(file(), 1252);
    EXPECT_EQ(*reg.value(kApp, "Run"), sz("first"));
    reg.setValue(kApp, "Run", bytes(kRegSz, "second"));
    reg.createKey(std::string(kApp) + "\\Gone");
    reg.deleteKey(std::string(kApp) + "\\Gone");
  }
  RegistryStore reg = RegistryStore::load(file(), 1252);
  EXPECT_EQ(*reg.value(kApp, "Run"), bytes(kRegSz, "second"));
  EXPECT_TRUE(reg.subkeyNames(kApp).empty());
  std::vector<std::string> names;  // no temporary file left
  for (const auto& entry : fs::directory_iterator(folder_)) names.push_back(entry.path().filename().string());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"registry.reg", "registry.reg.lock"}));
}

TEST_F(RegistryStoreTest, AFailedSaveChangesNothingInMemoryOrInTheFile) {
  HostDisk disk;
  RegistryStore reg = RegistryStore::load(file(), 1252, &disk);
  ASSERT_EQ(reg.createKey(std::string(kApp) + "\\Sub"), 0u);
  ASSERT_EQ(reg.setValue(kApp, "a", sz("1")), 0u);
  ASSERT_EQ(reg.setValue(kApp, "b", sz("2")), 0u);
  const std::string before = fileText();
  disk.freeBytes = before.size();  // the next, longer file does not fit

  EXPECT_EQ(reg.setValue(kApp, "c", sz("3")), kErrorDiskFull);
  EXPECT_EQ(reg.setValue(kApp, "a", sz("changed")), kErrorDiskFull);
  EXPECT_EQ(reg.createKey(std::string(kApp) + "\\New\\Deeper"), kErrorDiskFull);
  disk.freeBytes = 10;  // even a shorter file does not fit
  EXPECT_EQ(reg.deleteValue(kApp, "a"), kErrorDiskFull);
  EXPECT_EQ(reg.deleteKey(std::string(kApp) + "\\Sub"), kErrorDiskFull);

  EXPECT_EQ(fileText(), before);
  EXPECT_EQ(reg.toText(), before);
  EXPECT_EQ(reg.valueNames(kApp), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(*reg.value(kApp, "a"), sz("1"));
  EXPECT_EQ(reg.subkeyNames(kApp), std::vector<std::string>{"Sub"});

  // The next good save writes the registry without any of the failed changes.
  disk.freeBytes.reset();
  ASSERT_EQ(reg.setValue(kApp, "b", sz("two")), 0u);
  RegistryStore again = RegistryStore::load(file(), 1252);
  EXPECT_EQ(again.valueNames(kApp), (std::vector<std::string>{"a", "b"}));
  EXPECT_EQ(*again.value(kApp, "a"), sz("1"));
  EXPECT_FALSE(again.keyExists(std::string(kApp) + "\\New"));
}

TEST_F(RegistryStoreTest, ChangesOfAnotherStoreAreKeptAndSeen) {
  RegistryStore first = RegistryStore::load(file(), 1252);
  RegistryStore second = RegistryStore::load(file(), 1252);
  ASSERT_EQ(first.createKey(kApp), 0u);
  EXPECT_TRUE(second.keyExists(kApp));
  ASSERT_EQ(second.setValue(kApp, "second", sz("2")), 0u);
  ASSERT_EQ(first.setValue(kApp, "first", sz("1")), 0u);
  EXPECT_EQ(RegistryStore::load(file(), 1252).valueNames(kApp), (std::vector<std::string>{"second", "first"}));
  EXPECT_EQ(*second.value(kApp, "first"), sz("1"));

  // A file that someone else broke is neither read nor overwritten.
  writeFile("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\n");
  EXPECT_EQ(first.setValue(kApp, "x", sz("y")), kErrorRegistryCorrupt);
  EXPECT_EQ(fileText(), "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\n");
  EXPECT_EQ(*first.value(kApp, "first"), sz("1"));

  fs::remove(file());
  fs::create_directory(file());  // the file cannot be read
  EXPECT_EQ(first.setValue(kApp, "x", sz("y")), kErrorRegistryIoFailed);
  EXPECT_THROW(RegistryStore::load(file(), 1252), std::runtime_error);
}

// What a key tree holds, in the form the peer check prints: keys in file
// order, each with its values in their order.
void dump(const RegistryStore& reg, const std::string& path, std::string& out) {
  out += "KEY " + path + "\n";
  for (const auto& name : reg.valueNames(path)) {
    const RegistryValue& v = *reg.value(path, name);
    out += "VALUE " + name + "|" + std::to_string(v.type) + "|";
    for (std::uint8_t b : v.data) {
      constexpr char kHex[] = "0123456789abcdef";
      out += kHex[b >> 4];
      out += kHex[b & 15];
    }
    out += "\n";
  }
  for (const auto& sub : reg.subkeyNames(path)) dump(reg, path + "\\" + sub, out);
}

TEST_F(RegistryStoreTest, AnotherProjectsImporterReadsTheSameKeysTypesAndBytes) {
  for (const int codePage : {1252, 1254}) {
    fs::remove(file());
    RegistryStore reg = RegistryStore::load(file(), codePage);
    const std::string app = std::string(kApp) + (codePage == 1254 ? "\\Kısa Yol" : "\\Straße \"Ç\"");
    ASSERT_EQ(reg.createKey(app), 0u);
    ASSERT_EQ(reg.createKey("HKEY_LOCAL_MACHINE\\Software\\Empty"), 0u);
    const std::vector<std::pair<std::string, RegistryValue>> values = {
        {"", sz("default")},
        {"Folder", sz(codePage == 1254 ? "C:\\Program Files\\\xDD\xFE" : "C:\\Program Files\\\xC9t\xE9")},
        {"NoNul", bytes(kRegSz, "C:\\Zov \"5\"")},
        {"InnerNul", bytes(kRegSz, "a\0b\0"sv)},
        {"EmptySz", bytes(kRegSz, "")},
        {"NotText", bytes(kRegSz, "\x81\x8d\0"sv)},
        {"Lines", sz("one\r\ntwo")},
        {"Expand", bytes(kRegExpandSz, "%TEMP%\\x\0"sv)},
        {"Multi", bytes(kRegMultiSz, "a\0b\0\0"sv)},
        {"EmptyBinary", bytes(kRegBinary, "")},
        {"Long", bytes(kRegBinary, std::string(300, '\xAB'))},
        {"Count", bytes(kRegDword, "\x1a\0\0\xff"sv)},
        {"Short", bytes(kRegDword, "\x01\x02\x03")},
        {"None", bytes(0, "\0"sv)},
        {"Odd", bytes(0x12345678, "xy")},
        {"q\"uote\\d", sz("\\\"")},
    };
    for (const auto& [name, value] : values) ASSERT_EQ(reg.setValue(app, name, value), 0u) << name;

    std::string expected;
    for (const char* root : {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                             "HKEY_CURRENT_CONFIG"}) {
      dump(reg, root, expected);
    }
    const std::string command = "perl '" ZOV_HIVEX_IMPORT "' '" + file().string() + "' cp" + std::to_string(codePage);
    FILE* pipe = ::popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    std::string imported;
    char buffer[4096];
    for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) imported.append(buffer, n);
    ASSERT_EQ(::pclose(pipe), 0) << "the importer (libwin-hivex-perl) refused the file:\n" << fileText();
    EXPECT_EQ(imported, expected) << fileText();
  }
}

}  // namespace
}  // namespace zov::machine
