// Program Manager as the machine's DDE server, reached through the link
// properties of a picture box: its commands and their record, its refusals,
// a server that never answers and costs each command its time-out on the
// machine's clock, and the runtime's DDE errors.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/machine/ini_file.h"
#include "platform/runtime/runtime_error.h"
#include "platform/ui/form.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

class LinkForm : public ui::Form {
 public:
  LinkForm() : Form("LinkForm") { add(Picture1); }
  ui::PictureBox Picture1{*this, "Picture1"};

 protected:
  void applyStoredLayout() override {}
};

int raised(const std::function<void()>& f) {
  try {
    f();
  } catch (const runtime::RuntimeError& e) {
    return e.number();
  }
  return 0;
}

void openProgman(ui::PictureBox& p) {
  p.LinkTopic = "Progman|progman";
  p.LinkItem = "";
  p.LinkMode = 2;
}

TEST(ProgramManager, CarriesOutGroupAndItemCommandsAndKeepsThemBetweenRuns) {
  test::TestMachine m;
  LinkForm f;
  openProgman(f.Picture1);
  f.Picture1.LinkExecute("[CreateGroup(ZOV Zuzuzu Rudavero 5)]");
  const std::string exe = "\"C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\Zuzuzu Rudavero 5.exe\"";
  f.Picture1.LinkExecute("[additem(" + exe + ",ZOV Zuzuzu Rudavero 5)]");
  f.Picture1.LinkExecute("[additem(" + exe + " /scenarca,Scenarca)]");
  // Two commands in one text; a title with a comma in quotes; no title: the program's name.
  f.Picture1.LinkExecute("[AddItem(\"C:\\Help\\ZOV5.chm\",\"Help, Manual\")] [ADDITEM(C:\\Tools\\Tool.exe)]");
  f.Picture1.LinkMode = 0;
  EXPECT_EQ(m.machine().clock().now(), 0u);

  const auto& groups = m.machine().programManager().groups();
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].name, "ZOV Zuzuzu Rudavero 5");
  ASSERT_EQ(groups[0].items.size(), 4u);
  EXPECT_EQ(groups[0].items[1].title, "Scenarca");
  EXPECT_EQ(groups[0].items[1].commandLine, exe + " /scenarca");
  EXPECT_EQ(groups[0].items[2].title, "Help, Manual");
  EXPECT_EQ(groups[0].items[2].commandLine, "\"C:\\Help\\ZOV5.chm\"");
  EXPECT_EQ(groups[0].items[3].title, "Tool");
  const auto& log = m.machine().log().thisRun();
  ASSERT_EQ(log.size(), 5u);
  EXPECT_EQ(log[2], "Program Manager: [additem(" + exe + " /scenarca,Scenarca)]");
  EXPECT_EQ(log[4], "Program Manager: [ADDITEM(C:\\Tools\\Tool.exe)]");

  // The record is a readable file; the next run finds the group again, and
  // a second installation replaces its items instead of doubling them.
  std::ifstream in(m.folder() / "progman.ini");
  const std::string record((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_NE(record.find("[ZOV Zuzuzu Rudavero 5]\nItem=ZOV Zuzuzu Rudavero 5\nCommand=" + exe + "\nItem=Scenarca\nCommand=" +
                        exe + " /scenarca\n"),
            std::string::npos)
      << record;
  m.reopen();
  LinkForm again;
  openProgman(again.Picture1);
  again.Picture1.LinkExecute("[CreateGroup(zov zuzuzu rudavero 5)][AddItem(" + exe + " /scenarca,Scenarca)]");
  const auto& after = m.machine().programManager().groups();
  ASSERT_EQ(after.size(), 1u);
  EXPECT_EQ(after[0].items.size(), 4u);
  EXPECT_EQ(after[0].items[1].commandLine, exe + " /scenarca");
}

TEST(ProgramManager, RefusesWhatItCannotDoAndTheRuntimeSaysSo) {
  test::TestMachine m;
  LinkForm f;
  auto& p = f.Picture1;
  EXPECT_EQ(raised([&] { p.LinkExecute("[CreateGroup(A)]"); }), runtime::kDdeNoChannel);
  p.LinkTopic = "Excel|Sheet1";
  EXPECT_EQ(raised([&] { p.LinkMode = 2; }), runtime::kNoDdeResponse);
  EXPECT_EQ(p.LinkMode.get(), 0);
  EXPECT_EQ(raised([&] { p.LinkMode = 7; }), runtime::kInvalidPropertyValue);
  openProgman(p);
  for (const char* command : {"[AddItem(C:\\A.exe,A)]",  // no group yet
                              "[DeleteGroup(A)]", "CreateGroup(A)", "[CreateGroup(A)", "[CreateGroup()]",
                              "[CreateGroup(A]B)]", "[CreateGroup(\"A]B\")]"}) {
    EXPECT_EQ(raised([&] { p.LinkExecute(command); }), runtime::kDdeRefused) << command;
  }
  EXPECT_TRUE(m.machine().programManager().groups().empty());
  EXPECT_EQ(m.machine().log().thisRun().back(), "Program Manager refused: [CreateGroup(\"A]B\")]");
  p.LinkMode = 0;
  EXPECT_EQ(raised([&] { p.LinkExecute("[CreateGroup(A)]"); }), runtime::kDdeNoChannel);
}

TEST(ProgramManager, ASilentServerCostsEachCommandItsTimeOutOnTheMachinesClock) {
  test::TestMachine m([](machine::MachineConfig& c) { c.programManagerAnswers = false; });
  LinkForm f;
  auto& p = f.Picture1;
  openProgman(p);
  p.LinkTimeout = 100;
  EXPECT_EQ(raised([&] { p.LinkExecute("[CreateGroup(A)]"); }), runtime::kDdeTimeout);
  EXPECT_EQ(m.machine().clock().now(), 10'000u);
  p.LinkTimeout = 50;
  EXPECT_EQ(raised([&] { p.LinkExecute("[AddItem(C:\\A.exe,A)]"); }), runtime::kDdeTimeout);
  EXPECT_EQ(m.machine().clock().now(), 15'000u);
  p.LinkTimeout = -1;
  EXPECT_EQ(raised([&] { p.LinkExecute("[AddItem(C:\\A.exe,A)]"); }), runtime::kDdeTimeout);
  EXPECT_EQ(m.machine().clock().now(), 15'000u + 6'553'500u);
  EXPECT_TRUE(m.machine().programManager().groups().empty());
  EXPECT_FALSE(std::filesystem::exists(m.folder() / "progman.ini"));
  EXPECT_EQ(m.machine().log().thisRun().front(), "Program Manager did not answer: [CreateGroup(A)]");
}

TEST(ProgramManager, ARecordThatDoesNotParseStopsTheMachineWithItsLine) {
  test::TestMachine m;
  std::ofstream(m.folder() / "progman.ini") << "[Group]\nItem=A\nCommand=C:\\A.exe\nItem=B\nTitle=x\n";
  try {
    m.reopen();
    FAIL() << "a broken record was taken";
  } catch (const machine::MachineFileError& e) {
    EXPECT_EQ(e.line, 5) << e.what();
  }
}

// A long record is read in time in proportion to its length (100,000 groups
// took minutes while each group name was compared with every one before it);
// a name standing twice, in another case, is still found.
TEST(ProgramManager, ARecordOfAHundredThousandGroupsIsReadAndAGroupStandingTwiceIsFound) {
  std::string record;
  for (int g = 0; g < 100'000; ++g) record += "[Group " + std::to_string(g) + "]\nItem=A\nCommand=C:\\a.exe\n";
  const auto groups = machine::ProgramManager::parseRecord(record, "progman.ini");
  ASSERT_EQ(groups.size(), 100'000u);
  EXPECT_EQ(groups.back().name, "Group 99999");
  EXPECT_EQ(groups.back().items.front().commandLine, "C:\\a.exe");
  try {
    machine::ProgramManager::parseRecord("[Group 4]\n[Group 5]\n[GROUP 4]\n", "progman.ini");
    FAIL() << "a group standing twice was taken";
  } catch (const machine::MachineFileError& e) {
    EXPECT_EQ(e.line, 3) << e.what();
    EXPECT_NE(std::string(e.what()).find("(also at line 1)"), std::string::npos) << e.what();
  }
}

}  // namespace
}  // namespace zov
