// The language runtime on the machine: listing with attribute masks,
// deletion by pattern, folders, files by number, strings.
#include <gtest/gtest.h>

#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using namespace runtime;

int errorOf(const std::function<void()>& f) {
  try {
    f();
  } catch (const RuntimeError& e) {
    return e.number();
  }
  return 0;
}

class RuntimeFiles : public ::testing::Test {
 protected:
  test::TestMachine m;
  void SetUp() override {
    m.writeFile("C:\\Work\\plain.txt", "plain");
    m.writeFile("C:\\Work\\hidden.txt", "h");
    m.writeFile("C:\\Work\\system.dat", "s");
    m.writeFile("C:\\Work\\noext", "n");
    MkDir("C:\\Work\\Sub");
    SetAttr("C:\\Work\\hidden.txt", vbHidden);
    SetAttr("C:\\Work\\system.dat", vbSystem);
  }
};

TEST_F(RuntimeFiles, DirFindsHiddenSystemAndFoldersOnlyWhenTheMaskNamesThem) {
  EXPECT_EQ(Dir("C:\\Work\\hidden.txt"), "");
  EXPECT_EQ(Dir("C:\\Work\\hidden.txt", vbHidden), "hidden.txt");
  EXPECT_EQ(Dir("C:\\Work\\system.dat", vbHidden), "");
  EXPECT_EQ(Dir("C:\\Work\\system.dat", 38), "system.dat");
  EXPECT_EQ(Dir("C:\\Work\\Sub"), "");
  EXPECT_EQ(Dir("C:\\Work\\Sub", vbDirectory), "Sub");
  // A plain file is found by a folder mask too.
  EXPECT_EQ(Dir("C:\\work\\PLAIN.TXT", vbDirectory), "plain.txt");
  // A missing folder finds nothing and raises nothing.
  EXPECT_EQ(Dir("C:\\Nowhere\\x.txt", vbDirectory), "");
  EXPECT_EQ(errorOf([] { Dir("C:\\bad|name", 0); }), kBadFileNameOrNumber);
  EXPECT_EQ(errorOf([] { Dir("A:\\x", 0); }), kDiskNotReady);
}

TEST_F(RuntimeFiles, DirListsAFoldersEntriesInOrderWithTheDotEntries) {
  EXPECT_EQ(Dir("C:\\Work\\*.*", vbDirectory), ".");
  EXPECT_EQ(Dir(), "..");
  EXPECT_EQ(Dir(), "noext");
  EXPECT_EQ(Dir(), "plain.txt");
  EXPECT_EQ(Dir(), "Sub");
  EXPECT_EQ(Dir(), "");
}

TEST(RuntimeDrives, AnEmptyRootShowsNothingAndABareDriveListsItsCurrentFolder) {
  test::TestMachine m([](machine::MachineConfig& c) { machine::DriveConfig e;
    e.letter = 'E';
    c.drives['E'] = e;
  });
  std::filesystem::create_directories(m.folder() / "drives" / "E");
  EXPECT_EQ(Dir("E:", vbDirectory), "");
  EXPECT_EQ(Dir("E:\\", vbDirectory), "");
  MkDir("E:\\New");
  EXPECT_EQ(Dir("E:", vbDirectory), "New");
}

TEST_F(RuntimeFiles, KillDeletesThePlainFilesOfAPatternOnly) {
  Kill("C:\\Work\\*.*");
  EXPECT_FALSE(m.exists("C:\\Work\\plain.txt"));
  EXPECT_FALSE(m.exists("C:\\Work\\noext"));
  EXPECT_TRUE(m.exists("C:\\Work\\hidden.txt"));
  EXPECT_TRUE(m.exists("C:\\Work\\Sub"));
  EXPECT_EQ(errorOf([] { Kill("C:\\Work\\*.*"); }), kFileNotFound);
  EXPECT_EQ(errorOf([] { RmDir("C:\\Work"); }), kPathFileAccessError);
  EXPECT_EQ(errorOf([] { RmDir("C:\\Nowhere"); }), kPathNotFound);
  RmDir("C:\\Work\\Sub");
  EXPECT_FALSE(m.exists("C:\\Work\\Sub"));
}

TEST_F(RuntimeFiles, ReadOnlyAndLockedFilesRaiseTheErrorsProgramsSee) {
  SetAttr("C:\\Work\\plain.txt", vbReadOnly);
  EXPECT_EQ(errorOf([] { Kill("C:\\Work\\plain.txt"); }), kPathFileAccessError);
  const int n = FreeFile();
  EXPECT_EQ(errorOf([&] { Open("C:\\Work\\plain.txt", OpenMode::Output, n); }), kPathFileAccessError);
  Open("C:\\Work\\noext", OpenMode::Binary, n, OpenAccess::ReadWrite, OpenLock::LockReadWrite);
  EXPECT_EQ(errorOf([] { Kill("C:\\Work\\noext"); }), kPermissionDenied);
  EXPECT_EQ(errorOf([&] { Open("C:\\Work\\noext", OpenMode::Input, n + 1); }), kPermissionDenied);
  Close(n);
  Kill("C:\\Work\\noext");
}

TEST_F(RuntimeFiles, FoldersAreMadeOneLevelAtATime) {
  EXPECT_EQ(errorOf([] { MkDir("C:\\A\\B"); }), kPathNotFound);
  MkDir("C:\\A");
  MkDir("C:\\A\\B");
  EXPECT_EQ(errorOf([] { MkDir("C:\\A"); }), kPathFileAccessError);
  EXPECT_EQ(GetAttr("C:\\A\\B"), vbDirectory);
  EXPECT_EQ(errorOf([] { GetAttr("C:\\A\\C"); }), kFileNotFound);
}

TEST_F(RuntimeFiles, BinaryFilesReadAndWriteAtOneBasedPositions) {
  const int n = FreeFile();
  Open("C:\\Work\\bin", OpenMode::Binary, n, OpenAccess::ReadWrite, OpenLock::LockReadWrite);
  Put(n, 3, std::string("xyz"));
  EXPECT_EQ(Lof(n), 5);
  std::vector<std::uint8_t> buffer(5, 0xEE);
  Get(n, 1, buffer);
  EXPECT_EQ(buffer, (std::vector<std::uint8_t>{0, 0, 'x', 'y', 'z'}));
  EXPECT_EQ(errorOf([&] { Get(n, 0, buffer); }), kBadRecordNumber);
  // Reading past the end leaves the rest of the buffer as it was.
  std::vector<std::uint8_t> tail(4, 0xEE);
  Get(n, 4, tail);
  EXPECT_EQ(tail, (std::vector<std::uint8_t>{'y', 'z', 0xEE, 0xEE}));
  Close(n);
  Close(n);  // closing a closed number is no error
  EXPECT_EQ(errorOf([&] { Get(n, 1, buffer); }), kBadFileNameOrNumber);
}

TEST_F(RuntimeFiles, TextFilesAreWrittenInTheAnsiCodePageAndReadItemByItem) {
  const int n = FreeFile();
  Open("C:\\Work\\conf", OpenMode::Output, n);
  PrintLine(n, "C:\\A, B");
  PrintLine(n, "\"x, y\" , über");
  Close(n);
  EXPECT_EQ(m.readFile("C:\\Work\\conf"), "C:\\A, B\r\n\"x, y\" , \xFC" "ber\r\n");
  Open("C:\\Work\\conf", OpenMode::Input, n);
  std::vector<std::string> items;
  while (!Eof(n)) items.push_back(InputItem(n));
  Close(n);
  EXPECT_EQ(items, (std::vector<std::string>{"C:\\A", "B", "x, y", "über"}));
  Open("C:\\Work\\conf", OpenMode::Input, n);
  EXPECT_EQ(LineInput(n), "C:\\A, B");
  EXPECT_EQ(LineInput(n), "\"x, y\" , über");
  EXPECT_EQ(errorOf([&] { LineInput(n); }), kInputPastEndOfFile);
  Close(n);
}

TEST(RuntimeStrings, CountCharactersNotBytes) {
  EXPECT_EQ(Trim("  a b  "), "a b");
  EXPECT_EQ(Trim("\t a\t"), "\t a\t");  // only blanks are trimmed
  EXPECT_EQ(Len("Français"), 8u);
  EXPECT_EQ(Left("Türkçe", 3), "Tür");
  EXPECT_EQ(Right("Türkçe", 3), "kçe");
  EXPECT_EQ(Mid("Español", 4, 2), "añ");
  EXPECT_EQ(InStr("aßc\\Users\\x", "\\Users\\"), 4u);
  EXPECT_EQ(InStr("abc", "z"), 0u);
  EXPECT_EQ(LCase("ŞİĞ ÇÖÜ É"), "şiğ çöü é");
}

TEST(RuntimeStrings, FixedLengthTextsPadAndCut) {
  FixedString<5> s;
  EXPECT_EQ(s.value(), std::string(5, '\0'));
  s = "ab";
  EXPECT_EQ(s.value(), "ab   ");
  s = "ığüşöçx";
  EXPECT_EQ(s.value(), "ığüşö");
  EXPECT_EQ(Trim(s.value()), "ığüşö");
}

}  // namespace
}  // namespace zov
