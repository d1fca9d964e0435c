// Input that arrives in the yields between Install and the finish state,
// on fresh machines with the delivered setupmodern.exe as the installer
// file: a cancel confirmed during the destination checks installs nothing,
// and the page-flow clicks start no second check or installation and do
// not move the product elsewhere.
#include <algorithm>
#include <filesystem>
#include <set>

#include "engine/progress_steps.h"
#include "platform/runtime/app.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;

const fs::path kInstaller = ZOV_SETUPMODERN_EXE;
const std::string kInstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
const char* kToPage4 = "click Command2\nclick Option1\nclick Command2\n";

class InputDuringInstallTest : public WizardTest {
 protected:
  // A fresh machine, the wizard on its destination page, the delivered
  // installer as the program's own file.
  void start(const std::function<void(machine::MachineConfig&)>& edit = {}) {
    run(kToPage4, edit);
    runtime::App().Path = machine->machine().files().mountHostFolder(kInstaller.parent_path());
    runtime::App().EXEName = kInstaller.stem().string();
  }
  // Every file and folder of the machine folder, with the content of each file.
  std::set<std::pair<std::string, std::string>> machineFolder() const {
    std::set<std::pair<std::string, std::string>> entries;
    for (const auto& e : fs::recursive_directory_iterator(machine->folder())) {
      const std::string name = fs::relative(e.path(), machine->folder()).string();
      if (name.rfind("log", 0) == 0) continue;  // the log is looked at by itself
      entries.insert({name, e.is_regular_file() ? readHostFile(e.path()) : std::string()});
    }
    return entries;
  }
  std::size_t logged(const std::string& text) const {
    const auto& log = machine->machine().log().thisRun();
    return static_cast<std::size_t>(
        std::count_if(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; }));
  }
  // The product was installed once, whole, into `folder`, and the wizard waits on its finish page.
  void expectOneWholeInstallationInto(const std::string& folder) {
    EXPECT_EQ(count("Label8: \"100%\""), 1u);
    EXPECT_EQ(count("Label8: \"0%\""), 1u);
    EXPECT_EQ(logged("vcredist_x86.exe (window style 1)"), 1u);
    EXPECT_TRUE(machine->exists(folder + "\\Zuzuzu Rudavero 5.exe"));
    EXPECT_EQ(Form1().Command2.Caption.get(), "Finish");
    EXPECT_EQ(count("?? box"), 1u) << transcript();  // the cancel question, answered No
  }
};

class CancelDuringChecksTest : public InputDuringInstallTest,
                               public ::testing::WithParamInterface<std::tuple<bool, bool>> {};

TEST_P(CancelDuringChecksTest, InstallsNothing) {
  const auto [xp, closeBox] = GetParam();
  start([xp = xp](machine::MachineConfig& c) {
    if (xp) c = windowsXp();
  });
  // On a fresh machine the default destination's own level is missing: the
  // checks create it and yield, and the cancel comes there.
  ASSERT_FALSE(machine->exists(kInstallDir));
  const auto before = machineFolder();
  const std::size_t logLines = machine->machine().log().thisRun().size();
  EXPECT_TRUE(more(std::string("click Command2\n") + (closeBox ? "busy close Form1" : "busy click Command3") +
                   "\nanswer Yes Do you want to cancel the installation?\n"));
  EXPECT_FALSE(Form1().loaded());
  EXPECT_EQ(count("Label12"), 0u);  // the progress page never showed a file
  auto after = machineFolder();
  // The one change: the destination's folder, created before the yield, empty.
  const std::pair<std::string, std::string> created{"drives/C/Program Files/ZOV Zuzuzu Rudavero 5", ""};
  EXPECT_EQ(after.erase(created), 1u);
  EXPECT_TRUE(after == before);
  EXPECT_EQ(machine->machine().log().thisRun().size(), logLines);
}

INSTANTIATE_TEST_SUITE_P(WindowsAndWays, CancelDuringChecksTest,
                         ::testing::Combine(::testing::Bool(), ::testing::Bool()), [](const auto& p) {
                           return std::string(std::get<0>(p.param) ? "Xp" : "Seven") +
                                  (std::get<1>(p.param) ? "CloseBox" : "CancelButton");
                         });

TEST_F(InputDuringInstallTest, BackAndInstallAtTheChecksYieldStartNoSecondInstallation) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  more("click Command2\nbusy click Command1\nbusy click Command2\nbusy click Command3\nanswer No\n");
  expectOneWholeInstallationInto(kInstallDir);
  EXPECT_TRUE(more("click Command2\n"));
}

TEST_F(InputDuringInstallTest, ChangeDirDuringAThreeLevelCreationLeavesTheProductInTheCheckedFolder) {
  start();
  more("type Text2 C:\\X\\Y\\Z\nclick Command2\nbusy pass\nbusy click Command4\nbusy click Command3\nanswer No\n");
  EXPECT_FALSE(ui::DefaultInstanceExists("Form3") && ui::DefaultInstance("Form3").loaded());
  expectOneWholeInstallationInto("C:\\X\\Y\\Z");
  EXPECT_FALSE(machine->exists("C:\\X\\Zuzuzu Rudavero 5.exe"));
}

TEST_F(InputDuringInstallTest, PageClicksAtTheRoutinesYieldsChangeNothing) {
  // With the destination's folder there the checks do not yield: the
  // first yield is the install routine's, after its temporary folder.
  for (int at : {1, 2, 33, 57}) {
    start();
    machine->machine().files().createDirectory(kInstallDir);
    std::string script = "click Command2\n";
    for (int i = 1; i < at; ++i) script += "busy pass\n";
    more(script + "busy click Command1\nbusy click Command2\nbusy click Command4\nbusy click Command3\nanswer No\n");
    SCOPED_TRACE("at yield " + std::to_string(at));
    expectOneWholeInstallationInto(kInstallDir);
    TearDown();
  }
}

TEST_F(InputDuringInstallTest, OnTheTurkishCodePageADestinationWithTurkishLettersInstalls) {
  start([](machine::MachineConfig& c) { c.codePage = 1254; });
  more("type Text2 C:\\Ğş\nclick Command2\n");
  EXPECT_EQ(count("?? box"), 0u) << transcript();
  EXPECT_EQ(Form1().Command2.Caption.get(), "Finish");
  EXPECT_TRUE(machine->exists("C:\\Ğş\\Zuzuzu Rudavero 5.exe"));
  // The settings name the folder in the code page's own bytes.
  EXPECT_EQ(machine->readFile("C:\\Users\\user\\AppData\\Local\\Zideruv\\ZOV4\\Dizin"), "C:\\\xD0\xFE\r\n");
}

}  // namespace
}  // namespace zov::test
