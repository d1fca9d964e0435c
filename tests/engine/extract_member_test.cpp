// ExtractMember on small installer files of the machine: where the member
// is taken from, what happens to an old temporary file, and every way it fails.
#include <gtest/gtest.h>

#include <climits>

#include "platform/machine/windows_errors.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "tests/localisation/translation_rows.h"
#include "tests/support/test_machine.h"
#include "wizard/form1.h"
#include "wizard/wizard_windows.h"

namespace zov::test {
namespace {

const std::string kSource = "C:\\Users\\user\\Downloads\\setupmodern.exe";
const std::string kDest = "C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP\\MCD28m.wa_";
const std::string kFile = "0123456789ABCDEF";

class ExtractMemberTest : public ::testing::Test {
 protected:
  explicit ExtractMemberTest(const std::function<void(machine::MachineConfig&)>& edit = {}) : m(edit) {
    RegisterWizardWindows();
    m.writeFile(kSource, kFile);
    std::filesystem::create_directories(m.host(kDest).parent_path());
  }
  bool extract(const std::string& dest, std::int32_t length, std::int32_t endGap, const std::string& source = kSource) {
    return Form1().ExtractMember(source, dest, length, endGap);
  }
  std::size_t boxes() const {
    const std::string t = m.transcript();
    std::size_t n = 0;
    for (auto at = t.find("?? box"); at != std::string::npos; at = t.find("?? box", at + 1)) ++n;
    return n;
  }
  bool says(const std::string& text) const { return m.transcript().find(text) != std::string::npos; }
  // The error box for run-time error `number`.
  bool errorBox(int number, const std::string& dest) const {
    return says("?? box \"Error\" [OK, exclamation, default OK, system modal]\n   Error in Extract File - " +
                std::to_string(number) + " : File '" + dest + "' could not be written!" +
                runtime::ErrorDescription(number) + "\n");
  }
  TestMachine m;
};

TEST_F(ExtractMemberTest, TheMemberEndsEndGapBytesBeforeTheEndOfTheFile) {
  EXPECT_TRUE(extract(kDest, 4, 0));
  EXPECT_EQ(m.readFile(kDest), "CDEF");
  EXPECT_TRUE(extract(kDest, 5, 4));
  EXPECT_EQ(m.readFile(kDest), "789AB");
  // Exactly EndGap + Length bytes: the member is the file's first bytes.
  EXPECT_TRUE(extract(kDest, 10, 6));
  EXPECT_EQ(m.readFile(kDest), "0123456789");
  // Blanks around the paths do not count.
  EXPECT_TRUE(extract("  " + kDest + " ", 2, 0, " " + kSource + "  "));
  EXPECT_EQ(m.readFile(kDest), "EF");
  EXPECT_EQ(boxes(), 0u);
}

TEST_F(ExtractMemberTest, AFileOneByteShortIsIncompleteAndLeavesAnEmptyDestination) {
  m.script("answer OK\nanswer OK\n");
  EXPECT_FALSE(extract(kDest, 11, 6));
  EXPECT_TRUE(says("?? box \"ZOV\" [OK, exclamation, default OK]\n   Installation file is not complete! You should "
                   "download the whole installation file to install ZOV.\n"));
  EXPECT_TRUE(errorBox(runtime::kBadRecordNumber, kDest));
  EXPECT_EQ(boxes(), 2u);
  EXPECT_TRUE(m.exists(kDest));
  EXPECT_EQ(m.readFile(kDest), "");
}

TEST_F(ExtractMemberTest, LengthZeroFailsBeforeAnyFileIsOpened) {
  m.script("answer OK\n");
  EXPECT_FALSE(extract(kDest, 0, 0));
  EXPECT_TRUE(errorBox(runtime::kSubscriptOutOfRange, kDest));
  EXPECT_FALSE(m.exists(kDest));
}

TEST_F(ExtractMemberTest, AMissingSourceFailsBeforeTheDestinationIsCreated) {
  m.script("answer OK\n");
  EXPECT_FALSE(extract(kDest, 4, 0, "C:\\Users\\user\\Downloads\\gone.exe"));
  EXPECT_TRUE(errorBox(runtime::kFileNotFound, kDest));
  EXPECT_FALSE(m.exists(kDest));
}

TEST_F(ExtractMemberTest, AnEmptyDestFailsOnTheOpen) {
  m.script("answer OK\n");
  EXPECT_FALSE(extract("", 4, 0));
  EXPECT_TRUE(says(" : File '' could not be written!"));
  EXPECT_EQ(boxes(), 1u);
}

TEST_F(ExtractMemberTest, AnOldDestinationIsDeletedFirst) {
  m.writeFile(kDest, "an old member, longer than the new one");
  EXPECT_TRUE(extract(kDest, 3, 1));
  EXPECT_EQ(m.readFile(kDest), "CDE");
  EXPECT_EQ(boxes(), 0u);
}

// A leftover of an earlier run in the way, of any attribute and longer than
// the member: the member lands in a new plain file that holds its bytes
// alone, which the clean-up's plain deletion then removes. Only a leftover
// that the first look sees and cannot delete (read-only) is reported.
TEST_F(ExtractMemberTest, ALeftoverOfAnyAttributeOrLengthGivesWayToTheMember) {
  for (const std::uint32_t attributes :
       {machine::kAttrHidden, machine::kAttrSystem, machine::kAttrReadOnly, machine::kAttrHidden | machine::kAttrReadOnly,
        machine::kAttrSystem | machine::kAttrReadOnly | machine::kAttrArchive}) {
    SCOPED_TRACE(attributes);
    const bool seen = !(attributes & (machine::kAttrHidden | machine::kAttrSystem));
    m.script(seen ? "answer OK Couldn't delete the file\n" : "");
    m.writeFile(kDest, "an old member of an earlier run, longer than this one");
    ASSERT_EQ(m.machine().files().setAttributes(kDest, attributes), 0u);
    const std::size_t before = boxes();
    EXPECT_TRUE(extract(kDest, 4, 0));
    EXPECT_EQ(m.readFile(kDest), "CDEF");
    EXPECT_EQ(boxes() - before, seen ? 1u : 0u);
    EXPECT_EQ(runtime::GetAttr(kDest), 0);
  }
  runtime::Kill(kDest.substr(0, kDest.rfind('\\')) + "\\*.*");
  EXPECT_FALSE(m.exists(kDest));
}

TEST_F(ExtractMemberTest, NegativeEndGapsAndOverflowsFail) {
  m.script("answer OK\nanswer OK\n");
  // The member would run past the end of the file.
  EXPECT_FALSE(extract(kDest, 4, -1));
  EXPECT_TRUE(errorBox(runtime::kInputPastEndOfFile, kDest));
  EXPECT_FALSE(extract(kDest, 4, INT_MIN));
  EXPECT_TRUE(errorBox(runtime::kOverflow, kDest));
}

class HeldDestinationTest : public ExtractMemberTest {
 protected:
  HeldDestinationTest() : ExtractMemberTest([](machine::MachineConfig& c) { c.faults.lockedFiles = {kDest}; }) {}
};

TEST_F(HeldDestinationTest, AnOldDestinationHeldByAnotherProgramIsReportedAndTheOpenFails) {
  m.writeFile(kDest, "held");
  m.script("answer OK\nanswer OK\n");
  EXPECT_FALSE(extract(kDest, 4, 0));
  EXPECT_TRUE(says("   Couldn't delete the file " + kDest + "\n"));
  EXPECT_TRUE(errorBox(runtime::ErrorNumberOf(machine::kErrorSharingViolation), kDest));
  EXPECT_EQ(boxes(), 2u);
  EXPECT_EQ(m.readFile(kDest), "held");
}

TEST(ExtractMemberTexts, EveryTextThatIsTranslatedHasARow) {
  for (const char* text : {"Couldn't delete the file ",
                           "Installation file is not complete! You should download the whole installation file to "
                           "install ZOV.",
                           "Error in Extract File - ", " : File '", "Error"}) {
    ExpectHasTranslationRow(text);
  }
}

}  // namespace
}  // namespace zov::test
