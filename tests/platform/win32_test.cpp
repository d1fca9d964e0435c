// The Windows functions on the machine: buffers and sizes, records, faults,
// the registry kept between runs, shell memory and the window list.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "platform/machine/windows_errors.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/win32/kernel.h"
#include "platform/win32/registry.h"
#include "platform/win32/shell.h"
#include "platform/win32/window_manager.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using namespace win32;

TEST(Win32Kernel, FolderFunctionsFillTheBufferOrSayWhatTheyNeed) {
  test::TestMachine m;
  std::string buffer(145, ' ');
  const DWORD n = GetTempPathA(145, buffer);
  EXPECT_EQ(buffer.substr(0, n), "C:\\Users\\user\\AppData\\Local\\Temp\\");
  EXPECT_EQ(buffer[n], '\0');
  EXPECT_EQ(buffer.size(), 145u);

  test::TestMachine deep([](machine::MachineConfig& c) { c.tempFolder = "C:\\" + std::string(150, 't'); });
  std::string small(145, ' ');
  EXPECT_EQ(GetTempPathA(145, small), 155u);  // 150 + "C:\" + "\" + NUL
  EXPECT_EQ(small, std::string(145, ' '));

  std::string win(145, ' ');
  EXPECT_EQ(GetWindowsDirectoryA(win, 145), 10u);
  EXPECT_EQ(win.substr(0, 10), "C:\\Windows");
}

TEST(Win32Kernel, TemporaryFileNamesAreNewFilesOfTheirOwn) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.refuseWrites = {"C:\\Guarded"}; });
  m.writeFile("C:\\Work\\keep.txt", "");
  std::string first(260, ' '), second(260, ' ');
  const unsigned a = GetTempFileNameA("C:\\Work", "ZOVX", 0, first);
  const unsigned b = GetTempFileNameA("C:\\Work\\", "ZOV", 0, second);
  ASSERT_NE(a, 0u);
  ASSERT_NE(b, 0u);
  EXPECT_NE(a, b);
  first.resize(first.find('\0'));
  second.resize(second.find('\0'));
  char name[16];
  std::snprintf(name, sizeof name, "ZOV%04X.tmp", a);
  EXPECT_EQ(first, std::string("C:\\Work\\") + name);
  EXPECT_EQ(m.readFile(first), "");
  EXPECT_EQ(m.readFile(second), "");
  // Another number only names a file.
  std::string named(260, ' ');
  EXPECT_EQ(GetTempFileNameA("C:\\Work", "ZOV", 0x12AB, named), 0x12ABu);
  EXPECT_EQ(named.substr(0, named.find('\0')), "C:\\Work\\ZOV12AB.tmp");
  EXPECT_FALSE(m.exists("C:\\Work\\ZOV12AB.tmp"));

  std::string small(12, ' ');
  EXPECT_EQ(GetTempFileNameA("C:\\Work", "ZOV", 0, small), 0u);
  EXPECT_EQ(GetLastError(), machine::kErrorBufferOverflow);
  EXPECT_EQ(GetTempFileNameA("C:\\Nowhere", "ZOV", 0, named), 0u);
  EXPECT_EQ(GetLastError(), machine::kErrorPathNotFound);
  m.writeFile("C:\\Guarded\\g.txt", "");
  EXPECT_EQ(GetTempFileNameA("C:\\Guarded", "ZOV", 0, named), 0u);
  EXPECT_EQ(GetLastError(), machine::kErrorAccessDenied);
}

TEST(Win32Kernel, MoveFileExReplacesInOneStepOrSaysWhy) {
  test::TestMachine m;
  m.writeFile("C:\\Work\\new.tmp", "new");
  m.writeFile("C:\\Work\\file.txt", "old");
  EXPECT_FALSE(MoveFileExA("C:\\Work\\new.tmp", "C:\\Work\\file.txt", MOVEFILE_REPLACE_EXISTING));
  EXPECT_EQ(GetLastError(), machine::kErrorInvalidParameter);
  EXPECT_FALSE(MoveFileExA("C:\\Work\\gone.tmp", "C:\\Work\\file.txt",
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(GetLastError(), machine::kErrorFileNotFound);
  EXPECT_EQ(m.readFile("C:\\Work\\file.txt"), "old");
  EXPECT_TRUE(MoveFileExA("C:\\Work\\new.tmp", "C:\\Work\\file.txt",
                          MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH));
  EXPECT_EQ(m.readFile("C:\\Work\\file.txt"), "new");
  EXPECT_FALSE(m.exists("C:\\Work\\new.tmp"));
  // A hidden file in the way, a folder that is not there, a file held open.
  m.writeFile("C:\\Work\\hidden.txt", "h");
  ASSERT_TRUE(SetFileAttributesA("C:\\Work\\hidden.txt", machine::kAttrHidden));
  const auto refused = [](const char* from, const char* to) {
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) ? 0u : GetLastError();
  };
  EXPECT_EQ(refused("C:\\Work\\file.txt", "C:\\Work\\hidden.txt"), machine::kErrorAccessDenied);
  EXPECT_EQ(refused("C:\\Work\\file.txt", "C:\\Nowhere\\file.txt"), machine::kErrorPathNotFound);
  const int n = runtime::FreeFile();
  runtime::Open("C:\\Work\\file.txt", runtime::OpenMode::Input, n);
  EXPECT_EQ(refused("C:\\Work\\file.txt", "C:\\Work\\x.txt"), machine::kErrorSharingViolation);
  runtime::Close(n);
  EXPECT_EQ(m.readFile("C:\\Work\\hidden.txt"), "h");
  EXPECT_EQ(m.readFile("C:\\Work\\file.txt"), "new");
  EXPECT_FALSE(m.exists("C:\\Work\\x.txt"));
}

TEST(Win32Kernel, VersionQueryFillsTheRecordOrFailsAsTheMachineSays) {
  test::TestMachine m;
  OSVERSIONINFO info{};
  info.dwOSVersionInfoSize = 148;
  EXPECT_EQ(GetVersionExA(info), TRUE);
  EXPECT_EQ(info.dwPlatformId, 2u);
  EXPECT_EQ(info.dwMajorVersion, 6u);
  EXPECT_STREQ(info.szCSDVersion, "Service Pack 1");
  OSVERSIONINFO wrongSize{};
  wrongSize.dwOSVersionInfoSize = 100;
  EXPECT_EQ(GetVersionExA(wrongSize), FALSE);

  test::TestMachine failing([](machine::MachineConfig& c) { c.faults.versionQuery = machine::VersionQuery::Fails; });
  OSVERSIONINFO zero{};
  zero.dwOSVersionInfoSize = 148;
  EXPECT_EQ(GetVersionExA(zero), FALSE);
  EXPECT_EQ(zero.dwMajorVersion, 0u);

  test::TestMachine missing([](machine::MachineConfig& c) { c.faults.versionQuery = machine::VersionQuery::EntryPointMissing; });
  EXPECT_THROW(GetVersionExA(zero), runtime::RuntimeError);
}

TEST(Win32Kernel, AccountFunctionsAndTheirFaults) {
  test::TestMachine m([](machine::MachineConfig& c) { c.domain = "CORP"; });
  std::string name(256, ' ');
  DWORD size = 256;
  ASSERT_EQ(GetUserNameA(name, size), TRUE);
  EXPECT_EQ(size, 5u);
  EXPECT_EQ(name.substr(0, 5), std::string("user\0", 5));
  std::string sid(256, '\0'), domain(256, '\0');
  DWORD sidSize = 256, domainSize = 256, use = 0;
  ASSERT_EQ(LookupAccountNameA("", "user", sid, sidSize, domain, domainSize, use), TRUE);
  EXPECT_EQ(domain.substr(0, domain.find('\0')), "CORP");
  EXPECT_EQ(LookupAccountNameA("", "nobody", sid, sidSize, domain, domainSize, use), FALSE);

  test::TestMachine failing([](machine::MachineConfig& c) {
    c.faults.userNameFails = true;
    c.faults.accountLookupFails = true;
  });
  size = 256;
  EXPECT_EQ(GetUserNameA(name, size), FALSE);
  EXPECT_EQ(LookupAccountNameA("", "user", sid, sidSize, domain, domainSize, use), FALSE);
}

TEST(Win32Kernel, ProcessesCanBeOpenedWaitedForAndClosed) {
  test::TestMachine m;
  m.writeFile("C:\\tool.exe", "MZ");
  std::uint32_t error = 0;
  const auto id = m.machine().startProgram("C:\\tool.exe", 1, error);
  const HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, id);
  ASSERT_NE(h, 0);
  EXPECT_EQ(WaitForSingleObject(h, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(CloseHandle(h), TRUE);
  EXPECT_EQ(CloseHandle(h), FALSE);
  EXPECT_EQ(OpenProcess(SYNCHRONIZE, FALSE, 999999), 0);
}

// A named mutex belongs to the machine: the first handle owns it, a second
// one (here of the same program, as another program's would) finds it there
// and owns nothing, and closing the owner lets the name go. A lock file
// that is a link gives no mutex and is not followed.
TEST(Win32Kernel, NamedMutexesAreTheMachinesAndOneHandleOwnsOne) {
  test::TestMachine m;
  const HANDLE first = CreateMutexA(nullptr, TRUE, "Global\\One Setup");
  ASSERT_NE(first, 0);
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_TRUE(std::filesystem::exists(m.folder() / "Global_One_Setup.mutex"));
  const HANDLE second = CreateMutexA(nullptr, TRUE, "Global\\One Setup");
  ASSERT_NE(second, 0);
  EXPECT_EQ(GetLastError(), ERROR_ALREADY_EXISTS);
  const HANDLE other = CreateMutexA(nullptr, TRUE, "Another");
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(CloseHandle(second), TRUE);
  EXPECT_EQ(CloseHandle(first), TRUE);
  const HANDLE again = CreateMutexA(nullptr, TRUE, "Global\\One Setup");
  EXPECT_EQ(GetLastError(), 0u);
  EXPECT_EQ(CloseHandle(again), TRUE);
  EXPECT_EQ(CloseHandle(other), TRUE);
  EXPECT_EQ(CloseHandle(again), FALSE);

  const std::filesystem::path outside = m.folder().parent_path() / (m.folder().filename().string() + "-outside");
  std::ofstream(outside) << "not the machine's";
  std::filesystem::create_symlink(outside, m.folder() / "Linked.mutex");
  EXPECT_EQ(CreateMutexA(nullptr, TRUE, "Linked"), 0);
  EXPECT_EQ(test::readHostFile(outside), "not the machine's");
  std::filesystem::remove(outside);
}

TEST(Win32Registry, ValuesKeepTheirTypeAndBytesFromOneRunToTheNext) {
  test::TestMachine m;
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Zideruv\\ZOV4", key), 0);
  ASSERT_EQ(RegSetValueExA(key, "Dizin", REG_SZ, "C:\\x", 4), 0);  // no terminating NUL
  ASSERT_EQ(RegSetValueExA(key, "Path", REG_EXPAND_SZ, "%TEMP%\0", 7), 0);
  const std::int32_t version = 19;
  ASSERT_EQ(RegSetValueExA(key, "Version", REG_DWORD, &version, 4), 0);
  EXPECT_EQ(RegCloseKey(key), 0);
  EXPECT_EQ(RegCloseKey(key), 6);

  m.reopen();
  ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "SOFTWARE\\zideruv\\zov4", key), 0);
  DWORD type = 0, size = 0;
  ASSERT_EQ(RegQueryValueExA(key, "dizin", &type, nullptr, &size), 0);
  EXPECT_EQ(type, REG_SZ);
  EXPECT_EQ(size, 4u);
  char small[2];
  DWORD smallSize = 2;
  EXPECT_EQ(RegQueryValueExA(key, "Dizin", &type, small, &smallSize), 234);
  EXPECT_EQ(smallSize, 4u);
  char data[16] = {};
  size = sizeof data;
  ASSERT_EQ(RegQueryValueExA(key, "Path", &type, data, &size), 0);
  EXPECT_EQ(type, REG_EXPAND_SZ);
  EXPECT_EQ(size, 7u);
  std::int32_t n = 0;
  size = 4;
  ASSERT_EQ(RegQueryValueExA(key, "Version", &type, &n, &size), 0);
  EXPECT_EQ(n, 19);
  EXPECT_EQ(RegQueryValueExA(key, "Missing", &type, nullptr, &size), 2);
  EXPECT_EQ(RegCloseKey(key), 0);
  EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Nothing", key), 2);
  EXPECT_EQ(key, 0);
}

TEST(Win32Registry, SubkeysEnumerateInWindowsOrderAndDeleteOnlyWhenEmpty) {
  test::TestMachine m;
  HKEY key = 0;
  for (const char* name : {"zeta", "Alpha", "_under", "beta", "10"}) {
    ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, std::string("Order\\") + name, key), 0);
    RegCloseKey(key);
  }
  ASSERT_EQ(RegOpenKeyA(HKEY_CURRENT_USER, "Order", key), 0);
  std::vector<std::string> names;
  for (DWORD i = 0;; ++i) {
    std::string buffer(255, ' ');
    if (RegEnumKeyA(key, i, buffer, 255) != 0) break;
    names.push_back(buffer.substr(0, buffer.find('\0')));
  }
  EXPECT_EQ(names, (std::vector<std::string>{"10", "Alpha", "beta", "zeta", "_under"}));
  std::string tiny(3, ' ');
  EXPECT_EQ(RegEnumKeyA(key, 1, tiny, 3), 234);
  EXPECT_EQ(RegEnumKeyA(key, 5, tiny, 3), 259);
  RegCloseKey(key);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Order"), 5);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Order\\beta"), 0);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CURRENT_USER, "Order\\beta"), 2);
  EXPECT_EQ(RegOpenKeyA(12345, "x", key), 6);
}

TEST(Win32Registry, UnreadableKeysRefuseReadingButNotWriting) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.unreadableKeys = {"hkey_local_machine\\Software\\Closed"}; });
  EXPECT_EQ(machine::MachineConfig::load(m.folder() / "machine.ini").faults.unreadableKeys,
            std::vector<std::string>{"hkey_local_machine\\Software\\Closed"});
  HKEY key = 0;
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\Closed\\Below", key), 0);
  EXPECT_EQ(RegSetValueExA(key, "Dizin", REG_SZ, "C:\\A", 4), 0);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "Dizin", &type, nullptr, &size), 5);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Closed", key), 5);
  EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\Closed\\Below", key), 5);
  // The key's parent and a neighbour whose name only begins the same way read as usual.
  ASSERT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software", key), 0);
  std::string buffer(255, ' ');
  EXPECT_EQ(RegEnumKeyA(key, 0, buffer, 255), 0);
  RegCloseKey(key);
  ASSERT_EQ(RegCreateKeyA(HKEY_LOCAL_MACHINE, "Software\\ClosedNot", key), 0);
  RegCloseKey(key);
  EXPECT_EQ(RegOpenKeyA(HKEY_LOCAL_MACHINE, "Software\\ClosedNot", key), 0);
  RegCloseKey(key);
}

TEST(Win32Registry, ARefusedKeyCanBeReadButNotChangedNorAnythingBelowIt) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.refuseRegistryWrites = {"hkey_classes_root\\AVIFile\\"}; });
  HKEY key = 0;
  EXPECT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "AVIFile\\CLSID", key), 5);
  EXPECT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "AVIFile\\New", key), 5);
  EXPECT_EQ(RegDeleteKeyA(HKEY_CLASSES_ROOT, "AVIFile\\CLSID"), 5);
  ASSERT_EQ(RegOpenKeyA(HKEY_CLASSES_ROOT, "AVIFile\\CLSID", key), 0);
  DWORD type = 0, size = 0;
  EXPECT_EQ(RegQueryValueExA(key, "", &type, nullptr, &size), 0);
  EXPECT_EQ(RegSetValueExA(key, "", REG_SZ, "x", 1), 5);
  EXPECT_EQ(RegDeleteValueA(key, ""), 5);
  RegCloseKey(key);
  // A key that only starts with the same letters is not below it.
  EXPECT_EQ(RegCreateKeyA(HKEY_CLASSES_ROOT, "AVIFileX", key), 0);
  RegCloseKey(key);
  EXPECT_FALSE(m.machine().registry().keyExists("HKEY_CLASSES_ROOT\\AVIFile\\New"));
}

TEST(Win32Shell, SpecialAndKnownFoldersComeThroughShellMemory) {
  test::TestMachine m;
  Address list = 0;
  ASSERT_EQ(SHGetSpecialFolderLocation(0, CSIDL_PROGRAMS, list), S_OK);
  std::string path(260, '\0');
  ASSERT_EQ(SHGetPathFromIDList(list, path), TRUE);
  EXPECT_EQ(path.substr(0, path.find('\0')), m.machine().config().programsFolder);
  CoTaskMemFree(list);

  GUID id{};
  ASSERT_EQ(CLSIDFromString("{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}", id), S_OK);
  EXPECT_EQ(CLSIDFromString("{F1B32785-6FBA-4FCF-9D55}", id), CO_E_CLASSSTRING);
  Address wide = 0;
  ASSERT_EQ(SHGetKnownFolderPath(id, 0, 0, wide), S_OK);
  const int length = lstrlenW(wide);
  EXPECT_EQ(length, static_cast<int>(m.machine().config().localAppDataFolder.size()));
  std::vector<char16_t> chars(static_cast<std::size_t>(length) + 4, u'#');
  RtlMoveMemory(chars.data(), wide, (static_cast<std::size_t>(length) + 4) * 2);  // past the block reads zeros
  EXPECT_EQ(chars[0], u'C');
  EXPECT_EQ(chars[static_cast<std::size_t>(length) + 3], 0);
  CoTaskMemFree(wide);
  EXPECT_EQ(lstrlenW(0), 0);
}

TEST(Win32Shell, KnownFoldersFailOnRequestAndDoNotExistBeforeVista) {
  test::TestMachine m([](machine::MachineConfig& c) { c.faults.knownFoldersFail = true; });
  GUID id{};
  CLSIDFromString("{FDD39AD0-238F-46AF-ADB4-6C85480369C7}", id);
  Address wide = 0;
  EXPECT_EQ(SHGetKnownFolderPath(id, 0, 0, wide), E_FAIL);
  test::TestMachine xp([](machine::MachineConfig& c) { c = test::windowsXp(); });
  EXPECT_THROW(SHGetKnownFolderPath(id, 0, 0, wide), runtime::RuntimeError);
  test::TestMachine noPrograms([](machine::MachineConfig& c) { c.programsFolder = ""; });
  Address list = 0;
  EXPECT_EQ(SHGetSpecialFolderLocation(0, CSIDL_PROGRAMS, list), E_FAIL);
}

TEST(Win32Windows, TheProgramsWindowsComeFirstThenTheOthers) {
  test::TestMachine m([](machine::MachineConfig& c) { c.otherWindows = {"ZOV", "Rededi Dirirozo Settings"}; });
  const HWND own = RegisterWindow([] { return std::string("Setup"); });
  std::vector<std::string> titles;
  for (HWND h = GetWindow(own, GW_HWNDFIRST); h; h = GetWindow(h, GW_HWNDNEXT)) {
    const int n = GetWindowTextLengthA(h);
    std::string buffer(static_cast<std::size_t>(n) + 1, '\0');
    GetWindowTextA(h, buffer, n + 1);
    titles.push_back(buffer.substr(0, static_cast<std::size_t>(n)));
  }
  EXPECT_EQ(titles, (std::vector<std::string>{"Setup", "ZOV", "Rededi Dirirozo Settings"}));
  std::string three(3, '\0');
  EXPECT_EQ(GetWindowTextA(GetWindow(own, GW_HWNDLAST), three, 3), 2);
  EXPECT_EQ(three.substr(0, 2), "Re");
  UnregisterWindow(own);
}

}  // namespace
}  // namespace zov
