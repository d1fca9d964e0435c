// The temporary folder clean-up on a real folder of the machine.
#include "platform/runtime/strings.h"
#include "services/shared_state.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

const std::string kTemp = "C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP";

TEST_F(WizardTest, DeleteTempFilesEmptiesAndRemovesTheFolder) {
  run("");
  machine->writeFile(kTemp + "\\MCD28m.wa_", "a");
  machine->writeFile(kTemp + "\\noext", "b");
  Form1().DeleteTempFiles();
  EXPECT_FALSE(machine->exists(kTemp));
  EXPECT_EQ(Form1().Label11.Caption.get(), "Temporary files are being deleted...");
  // A second call finds nothing and says nothing.
  Form1().DeleteTempFiles();
  EXPECT_EQ(transcript().find("?? box"), std::string::npos);
}

TEST_F(WizardTest, ALockedFileKeepsItselfAndTheFolder) {
  run("", [](machine::MachineConfig& c) {
    c.faults.lockedFiles = {"C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP\\Beep.wa_"};
  });
  machine->writeFile(kTemp + "\\Beep.wa_", "held");
  machine->writeFile(kTemp + "\\Click.wa_", "c");
  Form1().DeleteTempFiles();
  EXPECT_TRUE(machine->exists(kTemp + "\\Beep.wa_"));
  EXPECT_TRUE(machine->exists(kTemp));
  EXPECT_EQ(transcript().find("?? box"), std::string::npos);
}

TEST_F(WizardTest, ASubfolderStaysAndSoDoesTheFolder) {
  run("");
  machine->writeFile(kTemp + "\\Sub\\inner.txt", "i");
  machine->writeFile(kTemp + "\\Stop.wa_", "s");
  Form1().DeleteTempFiles();
  EXPECT_FALSE(machine->exists(kTemp + "\\Stop.wa_"));
  EXPECT_TRUE(machine->exists(kTemp + "\\Sub\\inner.txt"));
  EXPECT_EQ(transcript().find("?? box"), std::string::npos);
}

TEST_F(WizardTest, DizinGuncelleEndsTheFolderInTheProductsOwn) {
  run("");
  auto normalised = [](const std::string& in) {
    InstallDir = in;
    Form1().DizinGuncelle();
    return runtime::Trim(InstallDir);
  };
  EXPECT_EQ(normalised(""), "\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(normalised("C:\\"), "C:\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(normalised("D:\\Tools\\Rededi Dirirozo Pro"), "D:\\Tools\\Rededi Dirirozo Pro");
  EXPECT_EQ(normalised("D:\\Rededi Dirirozo\\Video\\Archive 2011"),
            "D:\\Rededi Dirirozo\\Video\\Archive 2011\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(normalised("E:\\My Screen Recorder"), "E:\\My Screen Recorder");
  // A second call changes nothing.
  EXPECT_EQ(normalised("C:\\Program Files\\ZOV Zuzuzu Rudavero 5"), "C:\\Program Files\\ZOV Zuzuzu Rudavero 5");
  EXPECT_EQ(normalised("C:\\Apps\\"), "C:\\Apps\\ZOV Zuzuzu Rudavero 5");
}

}  // namespace
}  // namespace zov::test
