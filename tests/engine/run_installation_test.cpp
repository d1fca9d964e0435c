// The install routine on fresh machines, driven through the wizard as a
// person drives it, with the delivered setupmodern.exe as the installer
// file: what lands where, what the progress page shows, and every way the
// routine refuses, reports or stops.
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <regex>

#include "engine/payload_slots.h"
#include "engine/progress_steps.h"
#include "packaging/installer_file.h"
#include "platform/runtime/app.h"
#include "platform/runtime/strings.h"
#include "platform/ui/script/script_backend.h"
#include "services/shared_state.h"
#include "tests/lz/support/peer_tools.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kInstaller = ZOV_SETUPMODERN_EXE;
const fs::path kPayload = ZOV_SETUPMODERN_PAYLOAD;
const std::string kInstallDir = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5";
const std::string kDownloaded = "C:\\Users\\user\\Downloads\\setupmodern.exe";
const char* kWalk = "click Command2\nclick Option1\nclick Command2\nclick Command2\n";
const char* kRefused = "answer OK Installation file is not complete. Please redownload the file from ";
const std::string kGroup =
    "C:\\Users\\user\\AppData\\Roaming\\Microsoft\\Windows\\Start Menu\\Programs\\ZOV Zuzuzu Rudavero 5";

Bytes bytesOf(const fs::path& p) { return packaging::ReadBytes(p); }

// A file of `length` bytes that ends with the delivered installer's payload
// and holds nothing but a hole before it.
void writeBehindAHole(const fs::path& file, std::int64_t length) {
  const Bytes whole = bytesOf(kInstaller);
  std::int64_t payload = 0;
  for (const PayloadSlot& s : PayloadSlots()) payload += s.Length;
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.seekp(length - payload);
  out.write(reinterpret_cast<const char*>(whole.data() + whole.size() - payload), static_cast<std::streamsize>(payload));
  out.close();
  ASSERT_EQ(static_cast<std::int64_t>(fs::file_size(file)), length);
}

class InstallTest : public WizardTest {
 protected:
  // Starts the wizard on a fresh machine with the delivered installer as its
  // own file, its install folder made (as the destination checks leave it).
  void start(const std::function<void(machine::MachineConfig&)>& edit = {}) {
    run("", edit);
    runtime::App().Path = machine->machine().files().mountHostFolder(kInstaller.parent_path());
    runtime::App().EXEName = kInstaller.stem().string();
    machine->machine().files().createDirectory(kInstallDir);
  }
  // The same with an installer file of these bytes in Downloads.
  void startWith(const Bytes& installer) {
    start();
    machine->writeFile(kDownloaded, std::string(installer.begin(), installer.end()));
    runtime::App().Path = "C:\\Users\\user\\Downloads";
  }
  std::string tempDir() const { return runtime::Trim(TempDir) + "\\ZOVTMP"; }
  std::string documents() const { return machine->machine().config().documentsFolder; }
  std::string systemDir() const { return machine->machine().config().systemFolder; }
  std::string targetOf(const PayloadSlot& s) const {
    if (s.Folder == SlotFolder::System) return systemDir() + "\\" + s.TargetName;
    if (s.Folder == SlotFolder::Projects) return documents() + "\\ZOV Projects\\" + s.TargetName;
    return kInstallDir + "\\" + s.TargetName;
  }
  Bytes sample(const PayloadSlot& s) const { return bytesOf(kPayload / "sample" / s.TargetName); }
  Bytes installed(const std::string& windowsPath) const { return bytesOf(machine->host(windowsPath)); }
  // The percent texts that the progress page showed, in order.
  std::vector<int> percents() const {
    std::vector<int> seen;
    const std::string t = transcript();
    static const std::regex kPercent("Label8: \"(-?[0-9]+)%\"");
    for (auto it = std::sregex_iterator(t.begin(), t.end(), kPercent); it != std::sregex_iterator(); ++it) {
      seen.push_back(std::stoi((*it)[1]));
    }
    return seen;
  }
  bool logged(const std::string& text) const {
    const auto& log = machine->machine().log().thisRun();
    return std::any_of(log.begin(), log.end(), [&](const std::string& l) { return l.find(text) != std::string::npos; });
  }
  // Where the member of slot `number` begins in the installer file.
  static std::size_t memberOffset(const Bytes& file, int number) {
    std::size_t endGap = 0;
    const auto slots = PayloadSlots();
    for (int k = 1; k < number; ++k) endGap += static_cast<std::size_t>(slots[k - 1].Length);
    return file.size() - endGap - static_cast<std::size_t>(slots[number - 1].Length);
  }
  bool saw(const std::string& text) const { return transcript().find(text) != std::string::npos; }
  // The short-file box, the step back to the destination page, and nothing
  // made: no temporary folder, no file in the install folder, no file line.
  void expectRefusedBeforeAnythingIsWritten() {
    EXPECT_EQ(count("?? box \"ZOV Rededi Dirirozo\" [OK, exclamation, default OK]"), 1u) << transcript();
    EXPECT_EQ(count("?? box"), 1u) << transcript();
    EXPECT_EQ(WizardPage, 4);
    EXPECT_TRUE(Form1().Frame1(3).shown());
    EXPECT_FALSE(machine->exists(tempDir()));
    EXPECT_TRUE(fs::is_empty(machine->host(kInstallDir)));
    EXPECT_EQ(count("Label12: "), 0u);
  }
  std::vector<int> allPercents() const {
    std::vector<int> expected;
    for (int step = 0; step <= kStepCount; ++step) expected.push_back(StepPercent(step));
    return expected;
  }
};

TEST_F(InstallTest, OnWindows7EveryProductFileLandsInItsFolderByteForByte) {
  start();
  more(kWalk);
  for (const PayloadSlot& s : PayloadSlots()) {
    if (s.Folder == SlotFolder::None || s.Number == 30 || s.Number == 32) continue;
    SCOPED_TRACE("slot " + std::to_string(s.Number));
    if (s.Number == 26) {
      EXPECT_FALSE(machine->exists(targetOf(s)));  // the user-account tool is not for Vista and 7
      continue;
    }
    EXPECT_EQ(installed(targetOf(s)), sample(s));
  }
  EXPECT_EQ(count("?? box"), 0u) << transcript();
  EXPECT_EQ(percents(), allPercents());
  // The file line showed the last library, then was cleared; the temporary files are gone.
  EXPECT_EQ(count("Label12: \"C:\\Program Files\\ZOV Zuzuzu Rudave...\\zoveffs.dll\""), 1u);
  EXPECT_EQ(Form1().Label12.Caption.get(), "");
  EXPECT_FALSE(machine->exists(tempDir()));

  // The runtime package was expanded, started, waited for and deleted again.
  EXPECT_TRUE(logged("started process 2412: " + kInstallDir + "\\vcredist_x86.exe (window style 1)"));
  EXPECT_TRUE(logged("waited for process 2412 to end"));
  EXPECT_FALSE(machine->exists(kInstallDir + "\\vcredist_x86.exe"));
}

TEST_F(InstallTest, TheSampleProjectNamesTheVideoInTheInstallFolder) {
  start();
  more(kWalk);
  const PayloadSlot project = PayloadSlots()[29];
  const Bytes original = sample(project);
  const Bytes patched = installed(targetOf(project));
  ASSERT_EQ(patched.size(), original.size());
  std::string block = kInstallDir + "\\SampleAVI.avi";
  block.resize(512, ' ');
  EXPECT_EQ(std::string(patched.begin() + 25, patched.begin() + 537), block);
  EXPECT_TRUE(std::equal(patched.begin(), patched.begin() + 25, original.begin()));
  EXPECT_TRUE(std::equal(patched.begin() + 537, patched.end(), original.begin() + 537));
  // The file line shows it in its own folder.
  EXPECT_EQ(count("Label12: \"C:\\Users\\user\\Documents\\ZOV...\\SampleProject.qev\""), 1u) << transcript();
}

TEST_F(InstallTest, OnWindowsXpTheUserToolReplacesTheManifest) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  more(kWalk);
  for (const PayloadSlot& s : PayloadSlots()) {
    if (s.Folder == SlotFolder::None || s.Number == 30 || s.Number == 32) continue;
    SCOPED_TRACE("slot " + std::to_string(s.Number));
    if (s.Number == 49) {
      EXPECT_FALSE(machine->exists(targetOf(s)));
      continue;
    }
    EXPECT_EQ(installed(targetOf(s)), sample(s));
  }
  EXPECT_TRUE(machine->exists("C:\\Documents and Settings\\user\\My Documents\\ZOV Projects\\SampleProject.qev"));
  EXPECT_EQ(percents(), allPercents());
  EXPECT_EQ(count("?? box"), 0u) << transcript();
}

TEST_F(InstallTest, EachMemberIsShownByNameThenByItsFittedPath) {
  start();
  more(kWalk);
  const std::string t = transcript();
  const auto name = t.find("Label12: \"MCD28m.wa_\"\n");
  ASSERT_NE(name, std::string::npos) << t;
  EXPECT_EQ(t.find("Label12: ", name + 1), t.find("Label12: \"C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\MCD28m.wav\""));
  // Too long for the line: shortened, and the libraries show the install folder.
  EXPECT_NE(t.find("Label12: \"C:\\Program Files\\ZOV Zuzuzu Rudav...\\zovatswf.dll\""), std::string::npos) << t;
  EXPECT_NE(t.find("Label12: \"Zuzuzu Rudavero 5.ex_\""), std::string::npos);
}

TEST_F(InstallTest, MembersCheckedWithMsexpandAreTheSampleFiles) {
  const auto msexpand = lz::testing::findOnPath("msexpand");
  ASSERT_TRUE(msexpand) << "msexpand must be on PATH: install the Debian package mscompress";
  start();
  const std::string installer = runtime::Trim(runtime::App().Path) + "\\" + runtime::App().EXEName + ".exe";
  lz::testing::TempDir dir;
  std::int32_t endGap = 0;
  for (const PayloadSlot& s : PayloadSlots()) {
    if (s.Number == 1 || s.Number == 17 || s.Number == 30 || s.Number == 57) {
      const std::string member = "C:\\" + s.CompressedName;
      ASSERT_TRUE(Form1().ExtractMember(installer, member, s.Length, endGap)) << s.Number;
      const fs::path out = dir.path() / s.TargetName;
      ASSERT_EQ(lz::testing::runProgram(*msexpand, {}, machine->host(member), out), 0);
      EXPECT_EQ(bytesOf(out), sample(s)) << s.Number;
    }
    endGap += s.Length;
  }
}

TEST_F(InstallTest, AShortPaddedCutOrDamagedInstallerFileIsRefusedBeforeAnythingIsWritten) {
  const Bytes whole = bytesOf(kInstaller);
  Bytes padded = whole;
  padded.push_back(0);
  const Bytes cut(whole.begin(), whole.end() - 1);
  const Bytes tooShort(whole.end() - 8'999'999, whole.end());
  // The help file's member claims another expanded length; a byte of its
  // data is changed.
  Bytes header = whole;
  header[memberOffset(whole, 17) + 12] ^= 0x01;
  Bytes body = whole;
  body[memberOffset(whole, 17) + 5000] ^= 0x80;
  const Bytes* files[] = {&tooShort, &padded, &cut, &header, &body};
  for (const Bytes* file : files) {
    SCOPED_TRACE(file - files[0]);
    startWith(*file);
    more(std::string(kWalk) + kRefused + "\n");
    expectRefusedBeforeAnythingIsWritten();
    TearDown();
  }
}

TEST_F(InstallTest, AnInstallerPathThatIsNoFileOrLongerThan2GiBLess1IsRefused) {
  const std::function<void(const fs::path&)> makers[] = {
      [](const fs::path& p) { std::ofstream(p, std::ios::binary); },
      [](const fs::path& p) { fs::create_directory(p); },
      [](const fs::path& p) { ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0); },
      // The payload behind a hole: the start of the last member read lies
      // beyond what the extraction's 32-bit positions reach.
      [](const fs::path& p) { writeBehindAHole(p, std::int64_t{1} << 31); },
      [](const fs::path& p) { writeBehindAHole(p, std::int64_t{5} << 30); },
  };
  for (const auto& make : makers) {
    SCOPED_TRACE(&make - makers);
    startWith({});
    fs::remove(machine->host(kDownloaded));
    make(machine->host(kDownloaded));
    more(std::string(kWalk) + kRefused + "\n");
    expectRefusedBeforeAnythingIsWritten();
    TearDown();
  }
}

TEST_F(InstallTest, AnInstallerFileOf2GiBLess1InstallsFromThePayloadBehindItsHole) {
  startWith({});
  writeBehindAHole(machine->host(kDownloaded), (std::int64_t{1} << 31) - 1);
  more(kWalk);
  EXPECT_EQ(count("?? box"), 0u) << transcript();
  for (int k : {1, 3, 25, 57}) {
    const PayloadSlot s = PayloadSlots()[k - 1];
    EXPECT_EQ(installed(targetOf(s)), sample(s)) << k;
  }
  EXPECT_TRUE(saw("Installation of ZOV Rededi Dirirozo has been successfully completed!"));
}

TEST_F(InstallTest, ALockedTemporaryFileIsReportedAndTheFinishSaysTheInstallationIsIncomplete) {
  start([&](machine::MachineConfig& c) {
    c.faults.lockedFiles = {"C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP\\ZOV5.ch_"};
  });
  more(std::string(kWalk) +
       "answer OK Error in Extract File - 70 : File 'C:\\Users\\user\\AppData\\Local\\Temp\\ZOVTMP\\ZOV5.ch_' could "
       "not be written!\n"
       "answer OK ZOV help file could not be extracted!\n"
       "answer OK\n"  // the expansion's own box: no such file
       "answer OK ZOV help file could not be expanded!\n");
  const std::string t = transcript();
  EXPECT_NE(t.find("?? box \"Rededi Dirirozo\" [OK, exclamation, default OK, system modal]\n"
                   "   ZOV help file could not be extracted!\n"),
            std::string::npos)
      << t;
  EXPECT_EQ(count("?? box"), 4u) << t;
  EXPECT_EQ(percents(), allPercents());
  EXPECT_FALSE(machine->exists(kInstallDir + "\\ZOV5.chm"));
  EXPECT_EQ(installed(kInstallDir + "\\Qmark.jpg"), sample(PayloadSlots()[19]));
  EXPECT_EQ(installed(systemDir() + "\\zoveffs.dll"), sample(PayloadSlots()[56]));

  // Neither status line claims success, and the product is not offered.
  EXPECT_TRUE(saw("Label11: \"ZOV has not been installed completely into '" + kInstallDir +
                  "' directory. Some of its files could not be installed.\\n\\nNow creating shortcuts...\""))
      << t;
  EXPECT_EQ(Form1().Label11.Caption.get(),
            "Installation of ZOV Rededi Dirirozo is not complete! Some of its files could not be installed.");
  EXPECT_EQ(count("successfully"), 0u) << t;
  EXPECT_EQ(count("sucessfully"), 0u) << t;
  EXPECT_FALSE(Form1().Check1.Visible.get());
  EXPECT_EQ(Form1().Command2.Caption.get(), "Finish");
  // The shortcuts are made, but none for the help file that is not there.
  EXPECT_TRUE(machine->exists(kGroup + "\\ZOV Zuzuzu Rudavero 5.lnk"));
  EXPECT_FALSE(machine->exists(kGroup + "\\Zuzuzu Rudavero 5 Help.lnk"));
}

// "C:" entered on the destination page is installed into C:\ZOV Zuzuzu
// Rudavero 5. A click into the destination box while the checks run leaves
// the focus there, so Finish takes it away after the installation: the
// launch still starts the product where it was installed, not a program of
// that name at the drive's root.
TEST_F(InstallTest, TheLaunchStartsTheInstalledProductWhateverTheFocusDidDuringTheChecks) {
  start();
  machine->writeFile("C:\\Zuzuzu Rudavero 5.exe", "MZ someone else's");
  more("click Command2\nclick Option1\nclick Command2\ntype Text2 C:\nclick Command2\nbusy click Text2\n");
  ASSERT_EQ(Form1().Command2.Caption.get(), "Finish") << transcript();
  EXPECT_EQ(count("?? box"), 0u) << transcript();
  EXPECT_TRUE(more("click Check1\nclick Command2\n"));
  EXPECT_TRUE(logged(": C:\\ZOV Zuzuzu Rudavero 5\\Zuzuzu Rudavero 5.exe (window style 1)"));
  EXPECT_FALSE(logged(": C:\\Zuzuzu Rudavero 5.exe"));
  EXPECT_EQ(runtime::Trim(InstallDir), "C:\\ZOV Zuzuzu Rudavero 5");
}

// A disk that fills up after so many 64 KiB of the install (the room left on
// the host disk that holds the machine), from none to more than the whole
// install writes: whichever file it stops, no run claims success unless
// every product file is in place, byte for byte.
class FullDiskTest : public InstallTest, public ::testing::WithParamInterface<int> {
 protected:
  // Every product file of Windows 7 as the install must leave it.
  bool everyProductFileInPlace() {
    for (const PayloadSlot& s : PayloadSlots()) {
      if (s.Folder == SlotFolder::None || s.Number == 26 || s.Number == 32) continue;
      Bytes expected = sample(s);
      if (s.Number == 30) {
        std::string block = kInstallDir + "\\SampleAVI.avi";
        block.resize(512, ' ');
        std::copy(block.begin(), block.end(), expected.begin() + 25);
      }
      if (!machine->exists(targetOf(s)) || installed(targetOf(s)) != expected) return false;
    }
    return true;
  }
};

TEST_P(FullDiskTest, NeverClaimsSuccessOverAMissingOrWrongProductFile) {
  start();
  // The room counts from this run on: the machine is opened again with it,
  // as the next run of the installer opens it.
  const fs::path ini = machine->folder() / "machine.ini";
  std::ifstream in(ini);
  std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  text.replace(text.find("HostFreeBytes="), 14, "HostFreeBytes=" + std::to_string(GetParam() * 65536));
  std::ofstream(ini, std::ios::trunc) << text;
  machine->reopen();
  runtime::App().Path = machine->machine().files().mountHostFolder(kInstaller.parent_path());
  std::string answers;
  for (int i = 0; i < 300; ++i) answers += "answer OK\n";
  try {
    more(std::string(kWalk) + answers);
  } catch (const ui::ScriptAbort&) {
    // The answers left over once the install has finished.
  }
  const bool claimed = saw("successfully completed") || saw("sucessfully installed");
  const bool finished = Form1().loaded() && Form1().Command2.Caption.get() == "Finish";
  const bool whole = everyProductFileInPlace();
  if (claimed) {
    EXPECT_TRUE(whole) << transcript();
    EXPECT_TRUE(Form1().Check1.Visible.get());
  }
  if (finished && !whole) {
    EXPECT_FALSE(claimed);
    EXPECT_EQ(Form1().Label11.Caption.get().rfind(
                  "Installation of ZOV Rededi Dirirozo is not complete! Some of its files could not be installed.", 0),
              0u)
        << Form1().Label11.Caption.get();
    EXPECT_FALSE(Form1().Check1.Visible.get());
  }
  // The run either ends at the main program or reaches the finish page.
  EXPECT_NE(finished, ended) << transcript();
  // No room: the main program's member cannot be written and the run ends.
  // Room for half the install: the finish page, and files missing.
  if (GetParam() == 0) {
    EXPECT_TRUE(ended);
  }
  if (GetParam() == 300) {
    EXPECT_TRUE(finished && !whole);
  }
  // More room than the install takes: the whole product, and success said.
  if (GetParam() == 1000) {
    EXPECT_TRUE(claimed && whole);
  }
}

INSTANTIATE_TEST_SUITE_P(Room, FullDiskTest,
                         ::testing::Values(0, 2, 120, 180, 240, 300, 360, 420, 480, 484, 488, 489, 1000),
                         [](const ::testing::TestParamInfo<int>& p) { return "Of" + std::to_string(p.param) + "Times64KiB"; });

TEST_F(InstallTest, TheMainProgramThatCannotBeExpandedEndsTheProgramWithoutItsTemporaryFiles) {
  start([](machine::MachineConfig& c) {
    c.faults.lockedFiles = {"C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\Zuzuzu Rudavero 5.exe"};
  });
  EXPECT_TRUE(more(std::string(kWalk) + "answer OK\n"));
  EXPECT_EQ(count("?? box"), 1u) << transcript();  // ExpandFile's own; the routine adds none
  EXPECT_FALSE(machine->exists(tempDir()));
  EXPECT_TRUE(machine->exists(kInstallDir + "\\MCU28m.wav"));
  EXPECT_FALSE(machine->exists(kInstallDir + "\\Stop.wav"));
  EXPECT_EQ(percents(), std::vector<int>({0, 2, 3}));
}

TEST_F(InstallTest, SixClicksOnThePictureBeforeSlot32LeaveTheRuntimePackageAlone) {
  start();
  std::string clicks;
  for (int i = 0; i < 6; ++i) clicks += "busy click Image1\n";
  more(std::string(kWalk) + clicks + "answer OK Will not install Microsoft Visual C++ 2005 Redistributable\n");
  EXPECT_EQ(Form1().Image1.Tag.get(), "1");
  EXPECT_EQ(count("Label12: \"vcredist_x86.ex_\""), 0u);  // not extracted
  EXPECT_FALSE(machine->exists(kInstallDir + "\\vcredist_x86.exe"));
  EXPECT_FALSE(logged("started process"));
  EXPECT_EQ(percents(), allPercents());  // 54 % after slot 32 all the same
  EXPECT_EQ(installed(systemDir() + "\\zovmgps.dll"), sample(PayloadSlots()[32]));
}

TEST_F(InstallTest, CancelYesDuringTheRunEndsTheProgramWithoutTemporaryFiles) {
  // Stop.wav is held by another program: its boxes come, then the user cancels.
  start([](machine::MachineConfig& c) { c.faults.lockedFiles = {kInstallDir + "\\Stop.wav"}; });
  EXPECT_TRUE(more(std::string(kWalk) +
                   "answer OK\nanswer OK File 'Stop.wav' could not be expanded!\n"
                   "busy close Form1\nanswer Yes Do you want to cancel the installation?\n"));
  EXPECT_FALSE(Form1().loaded());
  EXPECT_FALSE(machine->exists(tempDir()));
  EXPECT_TRUE(machine->exists(kInstallDir + "\\Zuzuzu Rudavero 5.exe"));
  EXPECT_FALSE(machine->exists(kInstallDir + "\\StartShort.wav"));
  // Nothing was shown after the window closed.
  const std::string t = transcript();
  EXPECT_EQ(t.find("Label", t.find("== Form1 closed")), std::string::npos) << t;
  EXPECT_EQ(percents(), std::vector<int>({0, 2, 3, 5, 7, 8}));
}

TEST_F(InstallTest, CancelNoDuringTheRunGoesOn) {
  start();
  EXPECT_FALSE(more(std::string(kWalk) + "busy click Command3\nanswer No Do you want to cancel the installation?\n"));
  EXPECT_EQ(percents(), allPercents());
  EXPECT_TRUE(machine->exists(systemDir() + "\\zoveffs.dll"));
}

struct PackageCase {
  const char* name;
  machine::ProgramConfig program;
  bool waited;
  bool deleted;
  std::uint64_t clock;
};

class RuntimePackageTest : public InstallTest, public ::testing::WithParamInterface<PackageCase> {};

TEST_P(RuntimePackageTest, IsWaitedForWhenItCanBeAndDeletedWhenItIsFree) {
  const PackageCase& c = GetParam();
  start([&](machine::MachineConfig& config) { config.addProgram(c.program); });
  more(kWalk);
  EXPECT_EQ(logged("waited for process"), c.waited);
  EXPECT_EQ(machine->exists(kInstallDir + "\\vcredist_x86.exe"), !c.deleted);
  EXPECT_EQ(machine->machine().clock().now(), c.clock);
  EXPECT_EQ(count("?? box"), 0u) << transcript();  // a package that stays is not reported
  EXPECT_EQ(percents(), allPercents());
}

INSTANTIATE_TEST_SUITE_P(
    Faults, RuntimePackageTest,
    ::testing::Values(PackageCase{"RunsTwoMinutes", {"vcredist_x86.exe", 120'000, true, true, false}, true, true, 120'000},
                      PackageCase{"DoesNotStart", {"vcredist_x86.exe", 0, false, true, false}, false, true, 0},
                      PackageCase{"CannotBeOpenedAndStillRuns", {"vcredist_x86.exe", 60'000, true, false, false}, false,
                                  false, 0},
                      PackageCase{"KeepsItsFileInUse", {"vcredist_x86.exe", 0, true, true, true}, true, false, 0}),
    [](const ::testing::TestParamInfo<PackageCase>& p) { return std::string(p.param.name); });

TEST_F(InstallTest, WithoutDocumentsTheSampleProjectGoesIntoTheInstallFolder) {
  start();
  fs::remove_all(machine->host(documents()));
  more(kWalk);
  EXPECT_TRUE(machine->exists(kInstallDir + "\\Projects\\SampleProject.qev"));
  EXPECT_EQ(count("?? box"), 0u) << transcript();
}

TEST_F(InstallTest, DocumentsOnADriveWithoutAMediumCountAsMissing) {
  start([](machine::MachineConfig& c) {
    machine::DriveConfig dvd;
    dvd.letter = 'E', dvd.type = 5, dvd.medium = false;
    c.drives['E'] = dvd;
    c.documentsFolder = "E:\\Docs";
  });
  more(kWalk);
  EXPECT_TRUE(machine->exists(kInstallDir + "\\Projects\\SampleProject.qev"));
  EXPECT_EQ(count("?? box"), 0u) << transcript();
  EXPECT_EQ(percents(), allPercents());
}

TEST_F(InstallTest, AProjectsFolderThatCannotBeMadeSkipsOnlyTheSampleProject) {
  start([](machine::MachineConfig& c) { c.faults.refuseWrites = {"C:\\Users\\user\\Documents\\ZOV Projects"}; });
  more(kWalk);
  EXPECT_FALSE(machine->exists(documents() + "\\ZOV Projects"));
  EXPECT_EQ(count("?? box"), 0u) << transcript();
  EXPECT_EQ(percents(), allPercents());
  EXPECT_EQ(installed(kInstallDir + "\\UninstallZOV5.exe"), sample(PayloadSlots()[30]));
}

TEST_F(InstallTest, ATemporaryFolderThatCannotBeMadeEndsAtTheMainProgram) {
  start([](machine::MachineConfig& c) { c.faults.refuseWrites = {"C:\\Users\\user\\AppData\\Local\\Temp"}; });
  EXPECT_TRUE(more(std::string(kWalk) + "answer OK Error in Extract File - \nanswer OK\nanswer OK\nanswer OK\n"
                   "answer OK Error in Extract File - \nanswer OK\nanswer OK\nanswer OK\n"
                   "answer OK Error in Extract File - \n"));
  EXPECT_EQ(percents(), std::vector<int>({0, 2, 3}));
  EXPECT_FALSE(machine->exists(kInstallDir + "\\MCD28m.wav"));
}

}  // namespace
}  // namespace zov::test
