// ExpandFile on real files of a fresh machine: the result codes and boxes of
// every failure, plain and compressed sources, members written by Debian's
// mscompress, and the LZ functions underneath.
#include "services/expand_files.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <sstream>

#include "localisation/contact_addresses.h"
#include "packaging/szdd_compressor.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/strings.h"
#include "platform/ui/script/script_backend.h"
#include "platform/win32/lz_expand.h"
#include "tests/localisation/translation_rows.h"
#include "tests/localisation/translation_test_state.h"
#include "tests/lz/support/corpus.h"
#include "tests/lz/support/peer_tools.h"
#include "tests/support/test_machine.h"

namespace zov {
namespace {

using lz::testing::Bytes;

const std::string kTemp = "C:\\Users\\user\\AppData\\Local\\Temp\\";
const std::string kSource = kTemp + "Beep.wa_";
const std::string kTarget = "C:\\Program Files\\ZOV\\Beep.wav";
constexpr int kBoxStyle = 4144;
const std::string kBoxTitle = "ExpandFile - Error!";
const std::string kLeadIn = "Error in ExpandFile: Couldn't decompress the file! ";

std::string textOf(const Bytes& bytes) { return std::string(bytes.begin(), bytes.end()); }

std::string copyFailureBox(const std::string& reason, const std::string& source) {
  return kLeadIn + reason + "\r\n\r\n" + source + "\r\n\r\nPlease email this error message to " +
         std::string(kSupportEmailAddress);
}

// The script backend, keeping every box it is asked to show as it was asked.
struct TranscriptHolder {
  std::ostringstream transcript;
};
class BoxRecorder : private TranscriptHolder, public ui::ScriptBackend {
 public:
  explicit BoxRecorder(std::size_t answers) : ScriptBackend(okAnswers(answers), transcript) {}
  int messageBox(const ui::MessageBoxRequest& request) override {
    boxes.push_back(request);
    return ScriptBackend::messageBox(request);
  }
  std::vector<ui::MessageBoxRequest> boxes;

 private:
  static std::vector<ui::ScriptCommand> okAnswers(std::size_t count) {
    std::string script;
    for (std::size_t i = 0; i < count; ++i) script += "answer OK\n";
    return ui::parseScript(script, "boxes");
  }
};

class ExpandFileTest : public TranslationStateTest {
 protected:
  // A fresh machine whose boxes are recorded; `answers` boxes may be shown.
  void start(std::size_t answers, const std::function<void(machine::MachineConfig&)>& edit = {}) {
    machine_ = std::make_unique<test::TestMachine>(edit);
    auto recorder = std::make_unique<BoxRecorder>(answers);
    recorder_ = recorder.get();
    ui::setBackend(std::move(recorder));
    machine_->writeFile(kTarget + ".keep", "");  // the target folder exists
  }
  void TearDown() override {
    machine_.reset();
    TranslationStateTest::TearDown();
  }

  test::TestMachine& m() { return *machine_; }
  const std::vector<ui::MessageBoxRequest>& boxes() const { return recorder_->boxes; }
  // The only box shown, with the style and title of this module.
  std::string onlyBox() const {
    EXPECT_EQ(boxes().size(), 1u);
    if (boxes().empty()) return "";
    EXPECT_EQ(boxes()[0].style, kBoxStyle);
    EXPECT_EQ(boxes()[0].title, kBoxTitle);
    return boxes()[0].prompt;
  }
  // Whether a handle still holds the file open (an open handle refuses deletion).
  bool heldOpen(const std::string& path) {
    return m().machine().files().deleteFile(path) == machine::kErrorSharingViolation;
  }

 private:
  std::unique_ptr<test::TestMachine> machine_;
  BoxRecorder* recorder_ = nullptr;
};

// --- Every failure: its result, its one box, and no box without showErrors --

struct Failure {
  const char* name;
  std::function<void(machine::MachineConfig&)> edit;
  std::function<void(test::TestMachine&)> prepare;
  std::string source;
  std::string destination;
  std::int32_t result;
  std::string box;
  std::function<void(test::TestMachine&)> check = {};  // what must be left on the machine
};

void PrintTo(const Failure& failure, std::ostream* out) { *out << failure.name; }

const Bytes kText = lz::testing::text(200000, 7);

std::vector<Failure> failures() {
  const Bytes member = packaging::compressSzdd(kText);
  Bytes unknownMode = member;
  unknownMode[8] = 'B';
  const auto writeSource = [](const Bytes& bytes) {
    return [bytes](test::TestMachine& m) { m.writeFile(kSource, textOf(bytes)); };
  };
  // The old file as it was, and nothing beside it.
  const auto keepsOld = [](const std::string& target) {
    return [target](test::TestMachine& m) {
      EXPECT_EQ(m.readFile(target), "old");
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m.host(target).parent_path()),
                              std::filesystem::directory_iterator()),
                target == kTarget ? 2 : 1);
    };
  };
  const auto keepsOldTarget = keepsOld(kTarget);
  const auto withOldTarget = [=](const Bytes& source, const std::string& target = kTarget) {
    return [=](test::TestMachine& m) {
      writeSource(source)(m);
      m.writeFile(target, "old");
    };
  };
  const auto onDriveE = [](machine::MachineConfig& c, bool full) {
    machine::DriveConfig e;
    e.letter = 'E', e.type = 3, e.full = full;
    c.drives['E'] = e;
  };
  return {
      {"MissingSource", {}, {}, " " + kTemp + "Nothing.wa_ ", kTarget, -1, "File not found : '" + kTemp + "Nothing.wa_'"},
      {"SourceInMissingFolder", {}, {}, "C:\\Nowhere\\Beep.wa_", kTarget, -2, "Invalid path : 'C:\\Nowhere\\Beep.wa_'"},
      {"SourceWithBadName", {}, {}, kTemp + "Be|ep.wa_", kTarget, -2, "Invalid path : '" + kTemp + "Be|ep.wa_'"},
      {"SourceOnMissingDrive", {}, {}, "B:\\Beep.wa_", kTarget, -7, "Invalid drive : 'B:\\Beep.wa_'"},
      {"SourceOnDriveWithoutDisk", {}, {}, "A:\\Beep.wa_", kTarget, -9, "Drive is not ready! : 'A:\\Beep.wa_'"},
      {"SourceIsAFolder", {}, {}, "C:\\Windows", kTarget, -4, "Couldn't access to file : 'C:\\Windows'"},
      {"DestinationInMissingFolder", {}, writeSource(member), kSource, "C:\\Program Files\\Nowhere\\Beep.wav ", -2,
       "Invalid path : 'C:\\Program Files\\Nowhere\\Beep.wav'"},
      {"ReadOnlyDestination", {},
       [=](test::TestMachine& m) {
         writeSource(member)(m);
         m.writeFile(kTarget, "old");
         m.machine().files().setAttributes(kTarget, machine::kAttrReadOnly);
       },
       kSource, kTarget, -4, "Couldn't access to file : '" + kTarget + "'", keepsOldTarget},
      {"LockedDestination", [](machine::MachineConfig& c) { c.faults.lockedFiles = {kTarget}; },
       [=](test::TestMachine& m) {
         writeSource(member)(m);
         m.writeFile(kTarget, "old");
       },
       kSource, kTarget, -12, "File in use : '" + kTarget + "'", keepsOldTarget},
      {"DestinationIsTheSource", {}, writeSource(member), kSource, kSource, -12, "File in use : '" + kSource + "'",
       [=](test::TestMachine& m) { EXPECT_EQ(m.readFile(kSource), textOf(member)); }},
      {"DestinationOnFullDrive", [=](machine::MachineConfig& c) { onDriveE(c, true); }, writeSource(member), kSource,
       "E:\\Beep.wav", -400, copyFailureBox("", kSource)},
      {"OldDestinationOnFullDrive", [=](machine::MachineConfig& c) { onDriveE(c, true); },
       withOldTarget(member, "E:\\Beep.wav"), kSource, "E:\\Beep.wav", -400, copyFailureBox("", kSource),
       keepsOld("E:\\Beep.wav")},
      {"OldDestinationOnAFullHostDisk", [](machine::MachineConfig& c) { c.faults.hostFreeBytes = 100000; },
       withOldTarget(member), kSource, kTarget, -400, copyFailureBox("", kSource), keepsOldTarget},
      {"TruncatedMemberOverAnOldDestination", {},
       withOldTarget(Bytes(member.begin(), member.begin() + member.size() / 2)), kSource, kTarget, -300,
       copyFailureBox("Invalid source file format.", kSource), keepsOldTarget},
      {"HiddenDestination", {},
       [=](test::TestMachine& m) {
         withOldTarget(member)(m);
         m.machine().files().setAttributes(kTarget, machine::kAttrHidden);
       },
       kSource, kTarget, -4, "Couldn't access to file : '" + kTarget + "'", keepsOldTarget},
      {"OldDestinationInAFolderRefusingWrites",
       [](machine::MachineConfig& c) { c.faults.refuseWrites = {"C:\\Program Files\\ZOV"}; }, withOldTarget(member),
       kSource, kTarget, -4, "Couldn't access to file : '" + kTarget + "'", keepsOldTarget},
      {"EmptyPlainSource", {}, writeSource({}), kSource, kTarget, 0, copyFailureBox("", kSource)},
      {"TruncatedMember", {}, writeSource(Bytes(member.begin(), member.begin() + member.size() / 2)), kSource, kTarget,
       -300, copyFailureBox("Invalid source file format.", kSource)},
      {"UnknownCompressionMode", {}, writeSource(unknownMode), kSource, kTarget, -800,
       copyFailureBox("Compression algoritm of the source file is not supported.", kSource)},
  };
}

class ExpandFileFailure : public ExpandFileTest, public ::testing::WithParamInterface<std::tuple<Failure, bool>> {};

TEST_P(ExpandFileFailure, GivesItsCodeWithOneBoxOrNone) {
  const auto& [failure, showErrors] = GetParam();
  start(showErrors ? 1 : 0, failure.edit);
  if (failure.prepare) failure.prepare(m());
  EXPECT_EQ(ExpandFile(failure.source, failure.destination, showErrors), failure.result);
  if (showErrors) {
    EXPECT_EQ(onlyBox(), failure.box);
  } else {
    EXPECT_TRUE(boxes().empty());
  }
  if (failure.check) failure.check(m());
  EXPECT_FALSE(heldOpen(runtime::Trim(failure.source)));
}

INSTANTIATE_TEST_SUITE_P(Failures, ExpandFileFailure, ::testing::Combine(::testing::ValuesIn(failures()), ::testing::Bool()),
                         [](const auto& test) {
                           return std::string(std::get<0>(test.param).name) + (std::get<1>(test.param) ? "_Box" : "_Silent");
                         });

TEST_F(ExpandFileTest, AFailedCopyLeavesOnlyAPrefixOfTheContent) {
  start(0);
  const Bytes data = lz::testing::text(1000000, 8);
  const Bytes member = packaging::compressSzdd(data);
  m().writeFile(kSource, textOf(Bytes(member.begin(), member.begin() + member.size() * 3 / 4)));
  EXPECT_EQ(ExpandFile(kSource, kTarget, false), -300);
  const std::string written = m().readFile(kTarget);
  EXPECT_LT(written.size(), data.size());
  EXPECT_EQ(written, textOf(data).substr(0, written.size()));
  EXPECT_FALSE(heldOpen(kTarget));
}

// --- Successful expansion ----------------------------------------------------

TEST_F(ExpandFileTest, PlainSourceIsCopiedUnchangedOverALongerOldFile) {
  start(0);
  const Bytes plain = lz::testing::randomBytes(300000, 9);
  m().writeFile(kSource, textOf(plain));
  m().writeFile(kTarget, std::string(500000, 'x'));
  EXPECT_EQ(ExpandFile("  " + kSource + "  ", "  " + kTarget + "  ", true), static_cast<std::int32_t>(plain.size()));
  EXPECT_EQ(m().readFile(kTarget), textOf(plain));
  // The new file took the old one's place: nothing else is left beside it.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(m().host(kTarget).parent_path()),
                          std::filesystem::directory_iterator()),
            2);
  EXPECT_FALSE(heldOpen(kSource));
  EXPECT_FALSE(heldOpen(kTarget));
}

class ExpandFilePeer : public ExpandFileTest, public ::testing::WithParamInterface<std::string> {};

// What Debian's mscompress writes, expanded on the machine. mscompress stores
// inputs shorter than 16 bytes as zeros, so there msexpand's output is the
// reference.
TEST_P(ExpandFilePeer, ExpandsWhatMscompressWritesByteForByte) {
  const auto mscompress = lz::testing::findOnPath("mscompress");
  const auto msexpand = lz::testing::findOnPath("msexpand");
  ASSERT_TRUE(mscompress && msexpand) << "msexpand and mscompress must be on PATH: install the Debian package mscompress";
  const Bytes& data = lz::testing::corpusFile(GetParam());
  lz::testing::TempDir dir;
  const Bytes member = lz::testing::mscompressBytes(*mscompress, data, dir);
  Bytes expected = data;
  if (!data.empty() && data.size() < 16) {
    ASSERT_EQ(lz::testing::runProgram(*msexpand, {}, dir.path() / "member.bin_", dir.path() / "expanded"), 0);
    expected = lz::testing::readFile(dir.path() / "expanded");
  }
  start(0);
  m().writeFile(kSource, textOf(member));
  EXPECT_EQ(ExpandFile(kSource, kTarget, false), static_cast<std::int32_t>(data.size()));
  EXPECT_TRUE(m().readFile(kTarget) == textOf(expected));
}

INSTANTIATE_TEST_SUITE_P(Corpus, ExpandFilePeer, ::testing::ValuesIn(lz::testing::kCorpusNames),
                         [](const auto& test) { return test.param; });

// --- The boxes and their texts ----------------------------------------------

TEST_F(ExpandFileTest, EveryOpenFailureHasItsCodeAndMessage) {
  struct Row {
    std::uint16_t dosCode;
    std::int32_t code;
    std::string box;
  };
  const std::string path = "C:\\x.bin";
  const std::vector<Row> rows{
      {2, -1, "File not found : 'C:\\x.bin'"},
      {3, -2, "Invalid path : 'C:\\x.bin'"},
      {4, -3, "Too many files opened!"},
      {5, -4, "Couldn't access to file : 'C:\\x.bin'"},
      {8, -5, "Insufficient memory!"},
      {11, -6, "Invalid file format : 'C:\\x.bin'"},
      {15, -7, "Invalid drive : 'C:\\x.bin'"},
      {19, -8, "Couldn't write to file : 'C:\\x.bin'"},
      {21, -9, "Drive is not ready! : 'C:\\x.bin'"},
      {23, -10, "CRC file error : 'C:\\x.bin'"},
      {27, -11, "Couldn't find the file sector : 'C:\\x.bin'"},
      {32, -12, "File in use : 'C:\\x.bin'"},
      {54, -13, "Couldn't read from computer : 'C:\\x.bin'"},
      {65, -14, "Access denied : 'C:\\x.bin'"},
      {80, -15, "File already exists : 'C:\\x.bin'"},
      {0, -16, "Unknown error : 'C:\\x.bin'"},
  };
  start(rows.size());
  for (const Row& row : rows) {
    EXPECT_EQ(MapLZOpenError(-1, row.dosCode), row.code) << "DOS code " << row.dosCode;
    ShowExpandError(row.code, "  " + path + " ");
  }
  ASSERT_EQ(boxes().size(), rows.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    EXPECT_EQ(boxes()[i].prompt, rows[i].box);
    EXPECT_EQ(boxes()[i].style, kBoxStyle);
    EXPECT_EQ(boxes()[i].title, kBoxTitle);
  }
  EXPECT_EQ(MapLZOpenError(-1, 123), -16);
  EXPECT_EQ(MapLZOpenError(0, 2), 0);
  EXPECT_EQ(MapLZOpenError(0x400, 5), 0);
}

TEST_F(ExpandFileTest, CodesOutsideTheOpenFailuresShowNothing) {
  start(0);
  for (const std::int32_t code : {0, 1, -17, -100, -400}) ShowExpandError(code, kSource);
  EXPECT_TRUE(boxes().empty());
}

TEST_F(ExpandFileTest, TheCopyFailureBoxIsTranslatedAndTheOpenFailureBoxIsNot) {
  ExpectHasTranslationRow(kLeadIn);
  ExpectHasTranslationRow(SupportLine());
  UseLanguage(2);  // German
  start(2);
  m().writeFile(kSource, "");
  EXPECT_EQ(ExpandFile(kSource, kTarget, true), 0);
  EXPECT_EQ(ExpandFile(kTemp + "Nothing.wa_", kTarget, true), -1);
  ASSERT_EQ(boxes().size(), 2u);
  EXPECT_EQ(boxes()[0].prompt, "Fehler in ExpandFile: Die Datei konnte nicht entpackt werden! \r\n\r\n" + kSource +
                                   "\r\n\r\nBitte senden Sie diese Fehlermeldung per E-Mail an " +
                                   std::string(kSupportEmailAddress));
  EXPECT_EQ(boxes()[1].prompt, "File not found : '" + kTemp + "Nothing.wa_'");
}

// --- The LZ functions beyond what ExpandFile reaches --------------------------

TEST_F(ExpandFileTest, LzCopyRejectsHandlesThatAreNotOpen) {
  start(0);
  m().writeFile(kSource, "plain");
  win32::OFSTRUCT record{};
  const std::int32_t source = win32::LZOpenFileA(kSource, record, win32::OF_READ);
  ASSERT_GE(source, 0);
  EXPECT_EQ(win32::LZCopy(source + 1, source), lz::LZERROR_BADINHANDLE);
  EXPECT_EQ(win32::LZCopy(source, source + 1), lz::LZERROR_BADOUTHANDLE);
  EXPECT_EQ(win32::LZCopy(source, source), lz::LZERROR_WRITE);  // a source is not open for writing
  win32::LZClose(source);
  EXPECT_EQ(win32::LZCopy(source, source), lz::LZERROR_BADINHANDLE);
}

TEST_F(ExpandFileTest, LzOpenFillsTheRecord) {
  start(0);
  const std::string folder = "C:\\" + std::string(150, 'f');
  m().writeFile(folder + "\\x.bin", "");
  win32::OFSTRUCT record{};
  record.nErrCode = 99;
  const std::int32_t handle = win32::LZOpenFileA("c:\\" + std::string(150, 'F') + "\\X.BIN", record, win32::OF_READ);
  ASSERT_GE(handle, 0);
  win32::LZClose(handle);
  EXPECT_EQ(record.nErrCode, 0);
  EXPECT_EQ(record.cBytes, sizeof(win32::OFSTRUCT));
  EXPECT_EQ(record.fFixedDisk, 1);
  EXPECT_EQ(std::string(record.szPathName), (folder + "\\x.bin").substr(0, 127));

  win32::OFSTRUCT other{};
  EXPECT_LT(win32::LZOpenFileA(folder + "\\x.bin", other, 0x0002), 0);  // a style it does not offer
  EXPECT_EQ(other.nErrCode, machine::kErrorInvalidParameter);
}

}  // namespace
}  // namespace zov
