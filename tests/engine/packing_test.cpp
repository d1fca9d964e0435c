// The packing step's refusals, and the sample product as the machine and
// the install routine meet it.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <map>
#include <random>

#include "engine/member_check.h"
#include "packaging/installer_file.h"
#include "packaging/member_fit.h"
#include "packaging/szdd_compressor.h"
#include "tests/lz/support/memory_io.h"
#include "tests/support/test_machine.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

const fs::path kModernPayload = ZOV_SETUPMODERN_PAYLOAD;

// A folder with a small program image and 56 tiny members.
class PackingTest : public ::testing::Test {
 protected:
  PackingTest() {
    std::random_device rd;
    folder = fs::temp_directory_path() / ("zov-pack-" + std::to_string(rd()));
    fs::create_directories(folder / "members");
    std::ofstream list(folder / "members.list");
    for (int k = 1; k <= kSlotCount; ++k) {
      if (k == 4) {
        list << "4\t0\t\n";
        continue;
      }
      const Bytes member = packaging::compressSzdd(Bytes(static_cast<std::size_t>(k), static_cast<std::uint8_t>(k)));
      const std::string name = "member" + std::to_string(k) + ".x_";
      packaging::WriteBytes(folder / "members" / name, member);
      list << k << '\t' << member.size() << '\t' << name << '\n';
    }
    list.close();
    record = packaging::RecordOf(packaging::ReadMemberList(folder / "members.list"), folder / "members.list");
  }
  ~PackingTest() override { fs::remove_all(folder); }

  // An image of `size` bytes that carries `compiled` in its middle, as the
  // compiler lays it out.
  void writeImage(std::size_t size, const PayloadRecord& compiled) {
    Bytes image(size, 0x90);
    std::memcpy(image.data() + 1000, &compiled, sizeof compiled);
    packaging::WriteBytes(folder / "image", image);
  }
  std::int64_t payload() const {
    std::int64_t sum = 0;
    for (auto l : record.Length) sum += l;
    return sum;
  }
  // The refusal of packing the folder, or "" when it packs.
  std::string packError() {
    try {
      packaging::PackInstaller(folder / "image", folder / "members.list", folder / "setup.exe");
    } catch (const packaging::PackError& e) {
      EXPECT_FALSE(fs::exists(folder / "setup.exe"));
      return e.what();
    }
    return "";
  }

  fs::path folder;
  PayloadRecord record{};
};

TEST_F(PackingTest, AMemberOtherThanTheCompiledOneIsRefusedNamingItsSlotAndWhatDiffers) {
  const std::string slot16 = "slot 16 (member16.x_): ";
  auto compiled = record;
  compiled.Length[15] += 1;
  writeImage(9000000, compiled);
  EXPECT_EQ(packError(), slot16 + "the member is " + std::to_string(record.Length[15]) +
                             " bytes, the program was compiled with " + std::to_string(record.Length[15] + 1));
  compiled = record;
  compiled.ExpandedLength[15] = 17;
  writeImage(9000000, compiled);
  EXPECT_EQ(packError(), slot16 + "the member's header gives 16 expanded bytes, the program was compiled with 17");
  compiled = record;
  compiled.Crc32[15] ^= 1;
  writeImage(9000000, compiled);
  EXPECT_NE(packError().find(slot16 + "the member's CRC-32 is 0x"), std::string::npos);

  // A member changed after the program was compiled: the same refusal.
  writeImage(static_cast<std::size_t>(9000000 - payload()), record);
  Bytes member = packaging::ReadBytes(folder / "members" / "member16.x_");
  member.back() ^= 0x01;
  packaging::WriteBytes(folder / "members" / "member16.x_", member);
  EXPECT_NE(packError().find(slot16 + "the member's CRC-32 is 0x"), std::string::npos);
}

TEST_F(PackingTest, TheRecordRefusesAMemberThatDoesNotExpandToItsHeadersLength) {
  const fs::path list = folder / "members.list";
  // The record of the tiny members: slot k's expands to k bytes.
  EXPECT_EQ(record.ExpandedLength[15], 16u);
  EXPECT_EQ(record.ExpandedLength[3], 0u);
  EXPECT_EQ(record.Crc32[15], Crc32(packaging::ReadBytes(folder / "members" / "member16.x_")));
  for (const auto& [at, value] : std::vector<std::pair<std::size_t, std::uint8_t>>{{10, 17}, {8, 'B'}, {0, 'X'}}) {
    Bytes member = packaging::ReadBytes(folder / "members" / "member20.x_");
    const Bytes whole = member;
    member[at] = value;
    packaging::WriteBytes(folder / "members" / "member20.x_", member);
    try {
      packaging::RecordOf(packaging::ReadMemberList(list), list);
      ADD_FAILURE() << "byte " << at << " was taken";
    } catch (const packaging::PackError& e) {
      EXPECT_EQ(std::string(e.what()),
                "slot 20 (member20.x_): the member is not an SZDD file of mode 'A' that expands to the length in its header");
    }
    packaging::WriteBytes(folder / "members" / "member20.x_", whole);
  }
}

TEST_F(PackingTest, AnImageWithoutARecordOrAFileBelowTheMinimumIsRefused) {
  packaging::WriteBytes(folder / "image", Bytes(9000000, 0));
  EXPECT_EQ(packError(), "the program image carries no payload record");
  writeImage(static_cast<std::size_t>(9000000 - payload() - 1), record);
  EXPECT_NE(packError().find("below the 9000000"), std::string::npos);
}

TEST_F(PackingTest, ThePackedFileIsTheImageThenTheMembersFromSlot57ToSlot1) {
  writeImage(static_cast<std::size_t>(9000000 - payload()), record);
  EXPECT_EQ(packError(), "");
  const Bytes file = packaging::ReadBytes(folder / "setup.exe");
  ASSERT_EQ(file.size(), 9000000u);
  // Slot 1's member ends with the file; slot 5's ends where slot 3's begins.
  const Bytes one = packaging::ReadBytes(folder / "members" / "member1.x_");
  EXPECT_TRUE(std::equal(one.begin(), one.end(), file.end() - static_cast<std::ptrdiff_t>(one.size())));
  const auto& lengths = record.Length;
  const std::ptrdiff_t slot3Start = static_cast<std::ptrdiff_t>(file.size()) - lengths[0] - lengths[1] - lengths[2];
  const Bytes five = packaging::ReadBytes(folder / "members" / "member5.x_");
  EXPECT_TRUE(std::equal(five.begin(), five.end(), file.begin() + slot3Start - lengths[4]));
  EXPECT_EQ(fs::status(folder / "setup.exe").permissions(), fs::status(folder / "image").permissions());
}

Bytes expanded(const Bytes& member) {
  lz::testing::MemoryReader in(member);
  lz::testing::MemoryWriter out;
  EXPECT_GE(lz::copyExpanded(in, out), 0);
  return out.bytes;
}

// Every member length is reached, also those that 8 literals and a control
// byte step over, and with whole 16-bit samples where the file needs them.
TEST(MemberFit, ReachesEveryLengthWithAFileThatExpandsBack) {
  // Text with some repeats, then the tail.
  const packaging::FileMaker make = [](std::size_t size, std::span<const std::uint8_t> tail) {
    Bytes file;
    for (std::size_t k = 0; file.size() < size; ++k) file.push_back(static_cast<std::uint8_t>("abcdefgh"[k % 8] + k / 40 % 7));
    file.insert(file.end(), tail.begin(), tail.end());
    return file;
  };
  for (std::size_t multiple : {1u, 2u}) {
    for (std::size_t length = 60; length < 300; ++length) {
      SCOPED_TRACE("length " + std::to_string(length) + ", multiple " + std::to_string(multiple));
      const packaging::FittedFile fitted = packaging::FitToMemberLength(length, multiple, 200, make);
      ASSERT_EQ(fitted.member.size(), length);
      EXPECT_EQ(fitted.member, packaging::compressSzdd(fitted.file));
      EXPECT_EQ(fitted.file.size() % multiple, 0u);
      EXPECT_EQ(expanded(fitted.member), fitted.file);
    }
  }
  // Content too long for the member is made shorter; a member shorter than
  // any file of the maker is refused.
  EXPECT_EQ(packaging::FitToMemberLength(100, 1, 5000, make).member.size(), 100u);
  EXPECT_THROW(packaging::FitToMemberLength(14, 1, 200, make), std::logic_error);
}

// Each kind of file compresses about as its real kind does: programs,
// libraries, cursors, texts and data well, sounds, pictures and video hardly.
TEST(SampleProduct, FilesCompressAsTheirKindsDo) {
  const std::map<std::string, std::pair<double, double>> ratios = {
      {".exe", {0.5, 0.8}}, {".dll", {0.5, 0.8}}, {".cur", {0.2, 0.8}}, {".dat", {0.3, 0.7}}, {".qev", {0.2, 0.6}},
      {".zov", {0.5, 0.85}}, {".chm", {0.75, 1.0}}, {".avi", {0.9, 1.05}}, {".jpg", {0.95, 1.2}}, {".wav", {0.75, 1.25}},
      {".pal", {0.4, 0.9}}, {".manifest", {0.4, 0.9}}};
  int files = 0;
  for (const auto& entry : fs::directory_iterator(kModernPayload / "sample")) {
    SCOPED_TRACE(entry.path().filename().string());
    const auto range = ratios.at(entry.path().extension().string());
    std::string name = entry.path().filename().string();
    name = name.substr(0, name.rfind('.') + 3) + "_";
    const double ratio = static_cast<double>(fs::file_size(kModernPayload / "members" / name)) /
                         static_cast<double>(fs::file_size(entry.path()));
    EXPECT_GE(ratio, range.first);
    EXPECT_LE(ratio, range.second);
    ++files;
  }
  EXPECT_EQ(files, 56);
}

TEST(SampleProduct, ProgramsSayWhoTheyAreWithTheirArguments) {
  TestMachine m;
  const std::string folder = "C:\\Program Files\\ZOV Zuzuzu Rudavero 5\\";
  for (const char* name : {"Zuzuzu Rudavero 5.exe", "vcredist_x86.exe"}) {
    const Bytes program = packaging::ReadBytes(kModernPayload / "sample" / name);
    m.writeFile(folder + name, std::string(program.begin(), program.end()));
  }
  m.writeFile(folder + "plain.exe", "MZ");
  std::uint32_t error = 0;
  const auto id = m.machine().startProgram("\"" + folder + "Zuzuzu Rudavero 5.exe\" /kineloft C:\\a.qev", 1, error);
  EXPECT_EQ(m.machine().log().thisRun().back(),
            "Zuzuzu Rudavero 5 (process " + std::to_string(id) +
                ") says: ZOV Zuzuzu Rudavero 5 is recording (build for Windows Vista and 7). Arguments: /kineloft C:\\a.qev");
  const auto package = m.machine().startProgram(folder + "vcredist_x86.exe", 1, error);
  EXPECT_EQ(m.machine().log().thisRun().back(),
            "vcredist_x86 (process " + std::to_string(package) +
                ") says: Installing the Visual C++ 2005 runtime libraries. Arguments: none");
  const std::size_t events = m.machine().log().thisRun().size();
  EXPECT_NE(m.machine().startProgram(folder + "plain.exe", 1, error), 0u);
  EXPECT_EQ(m.machine().log().thisRun().size(), events + 1);  // started, and says nothing
}

TEST(SampleProduct, TheProjectIsATextWithItsPathBlockAtOffset25AndTheSoundsAreWaves) {
  const Bytes project = packaging::ReadBytes(kModernPayload / "sample" / "SampleProject.qev");
  ASSERT_GE(project.size(), 537u);
  const std::string text(project.begin(), project.end());
  EXPECT_EQ(text.find('\0'), std::string::npos);
  EXPECT_EQ(text.substr(23, 2), "\r\n");
  EXPECT_EQ(text.substr(25, 3), "C:\\");
  EXPECT_EQ(text[536], ' ');
  EXPECT_EQ(text.substr(537, 2), "\r\n");

  for (const auto& entry : fs::directory_iterator(kModernPayload / "sample")) {
    if (entry.path().extension() != ".wav") continue;
    const Bytes wav = packaging::ReadBytes(entry.path());
    SCOPED_TRACE(entry.path().filename().string());
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(std::string(wav.begin(), wav.begin() + 4) + std::string(wav.begin() + 8, wav.begin() + 16), "RIFFWAVEfmt ");
    const auto le32 = [&](std::size_t at) { return wav[at] | wav[at + 1] << 8 | wav[at + 2] << 16 | wav[at + 3] << 24; };
    EXPECT_EQ(static_cast<std::size_t>(le32(4)), wav.size() - 8);
    EXPECT_EQ(static_cast<std::size_t>(le32(40)), wav.size() - 44);
  }
}

}  // namespace
}  // namespace zov::test
