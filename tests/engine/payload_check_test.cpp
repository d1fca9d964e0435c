// The check of the installer's own file that runs before anything is
// written, on the delivered installers with bytes changed, cut and
// appended: every member against the record that the build compiled in.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "engine/install_run.h"
#include "engine/member_check.h"
#include "packaging/installer_file.h"
#include "services/shared_state.h"
#include "tests/engine/deliverables.h"
#include "tests/lz/support/peer_tools.h"
#include "tests/support/test_machine.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

// Where each slot's member begins in the file (slot 4's is where slot 5's ends).
std::array<std::size_t, kSlotCount> memberStarts(std::size_t fileSize, const std::array<PayloadSlot, kSlotCount>& slots) {
  std::array<std::size_t, kSlotCount> starts{};
  std::size_t end = fileSize;
  for (const PayloadSlot& s : slots) {
    starts[s.Number - 1] = end - static_cast<std::size_t>(s.Length);
    end = starts[s.Number - 1];
  }
  return starts;
}

TEST(MemberCheck, TheRecordedChecksumIsGzipsCrc32OfTheMember) {
  const auto gzip = lz::testing::findOnPath("gzip");
  ASSERT_TRUE(gzip) << "gzip must be on PATH";
  lz::testing::TempDir dir;
  for (const PayloadSlot& s : slotsOf(kModern)) {
    if (s.Number != 1 && s.Number != 17 && s.Number != 57) continue;
    // The gzip trailer: the CRC-32 of the input, then its length, little-endian.
    const fs::path out = dir.path() / "member.gz";
    ASSERT_EQ(lz::testing::runProgram(*gzip, {"-1", "-c"}, kModern.payload / "members" / s.CompressedName, out), 0);
    const Bytes gz = packaging::ReadBytes(out);
    const std::uint8_t* t = gz.data() + gz.size() - 8;
    EXPECT_EQ(s.Crc32, t[0] | t[1] << 8 | t[2] << 16 | static_cast<std::uint32_t>(t[3]) << 24) << s.Number;
    EXPECT_EQ(s.Crc32, Crc32(packaging::ReadBytes(kModern.payload / "members" / s.CompressedName)));
  }
  EXPECT_EQ(Crc32({}), 0u);
  const std::string nine = "123456789";  // the check value of this CRC
  EXPECT_EQ(Crc32({reinterpret_cast<const std::uint8_t*>(nine.data()), nine.size()}), 0xCBF43926u);
}

// Each member as it stands in the delivered file, every header byte changed
// and some of its data bytes: none passes for the member of its slot.
TEST(MemberCheck, EveryHeaderByteAndSampledDataBytesOfEveryMemberOfBothBuildsAreSeen) {
  for (const Deliverable& d : {kModern, kClassic}) {
    SCOPED_TRACE(d.name);
    const Bytes file = packaging::ReadBytes(d.exe);
    const auto slots = slotsOf(d);
    const auto starts = memberStarts(file.size(), slots);
    for (const PayloadSlot& s : slots) {
      if (s.Length == 0) continue;
      SCOPED_TRACE("slot " + std::to_string(s.Number));
      const auto from = file.begin() + static_cast<std::ptrdiff_t>(starts[s.Number - 1]);
      Bytes member(from, from + s.Length);
      ASSERT_EQ(CheckMember(member, s), MemberFault::None);
      const std::size_t length = member.size();
      for (std::size_t at : {std::size_t{0}, std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{4},
                             std::size_t{5}, std::size_t{6}, std::size_t{7}, std::size_t{8}, std::size_t{9},
                             std::size_t{10}, std::size_t{11}, std::size_t{12}, std::size_t{13}, std::size_t{14},
                             length / 2, length - 1}) {
        const std::uint8_t bit = static_cast<std::uint8_t>(1u << (at + static_cast<std::size_t>(s.Number)) % 8);
        member[at] ^= bit;
        const MemberFault expected = at < 9    ? MemberFault::Header
                                     : at < 10 ? MemberFault::Checksum
                                     : at < 14 ? MemberFault::ExpandedLength
                                               : MemberFault::Checksum;
        EXPECT_EQ(CheckMember(member, s), expected) << "byte " << at;
        member[at] ^= bit;
      }
      // Another slot's member in its place, and a member one byte short.
      const PayloadSlot& other = slots[s.Number == 1 ? 1 : 0];
      EXPECT_NE(CheckMember(member, other), MemberFault::None);
      EXPECT_EQ(CheckMember(std::span(member).first(length - 1), s), MemberFault::Length);
    }
  }
}

// A copy of a delivered installer on the machine, changed in place for each case.
class PayloadCheck : public ::testing::Test {
 protected:
  void use(const Deliverable& d) {
    ProgramName = "Zuzuzu Rudavero 5";
    machine.writeFile(kPath, "");
    fs::copy_file(d.exe, host(), fs::copy_options::overwrite_existing);
    size = fs::file_size(host());
    slots = slotsOf(d);
    starts = memberStarts(size, slots);
  }
  bool intact() { return PayloadIntact(kPath, slots); }
  fs::path host() { return machine.host(kPath); }
  std::uint8_t byteAt(std::size_t at) {
    std::ifstream in(host(), std::ios::binary);
    in.seekg(static_cast<std::streamoff>(at));
    return static_cast<std::uint8_t>(in.get());
  }
  void writeAt(std::size_t at, std::uint8_t value) {
    std::fstream out(host(), std::ios::binary | std::ios::in | std::ios::out);
    out.seekp(static_cast<std::streamoff>(at));
    out.put(static_cast<char>(value));
  }
  // The check with one byte of the file changed.
  bool intactWithByteChanged(std::size_t at) {
    const std::uint8_t old = byteAt(at);
    writeAt(at, old ^ 0x10);
    const bool result = intact();
    writeAt(at, old);
    return result;
  }

  const std::string kPath = "C:\\Users\\user\\Downloads\\setupmodern.exe";
  TestMachine machine;
  std::uintmax_t size = 0;
  std::array<PayloadSlot, kSlotCount> slots{};
  std::array<std::size_t, kSlotCount> starts{};
};

// The changed expanded length of the help file's member (bytes 10 to 13),
// then one byte of every member: a header byte for the odd slots, taking
// each of the 14 places in turn, a data byte for the even ones. Of
// setupclassic, the help file and the three members of its own.
TEST_F(PayloadCheck, AChangedByteOfAnyMemberIsRefused) {
  for (const Deliverable& d : {kModern, kClassic}) {
    SCOPED_TRACE(d.name);
    use(d);
    ASSERT_TRUE(intact());
    for (std::size_t at = 10; at < 14; ++at) EXPECT_FALSE(intactWithByteChanged(starts[16] + at)) << at;
    for (const PayloadSlot& s : slots) {
      const bool own = s.Number == 3 || s.Number == 16 || s.Number == 31;
      if (s.Length == 0 || (&d == &kClassic && !own)) continue;
      const std::size_t start = starts[s.Number - 1];
      const std::size_t at = s.Number % 2 ? static_cast<std::size_t>(s.Number) % 14 : static_cast<std::size_t>(s.Length) * 2 / 3;
      EXPECT_FALSE(intactWithByteChanged(start + at)) << "slot " << s.Number << ", byte " << at;
    }
    // The program image is not the payload's: a byte of it changed leaves the members whole.
    EXPECT_TRUE(intactWithByteChanged(starts[56] - 1));
    EXPECT_TRUE(intact());
  }
}

// The file cut to end at every member boundary, one byte before and one
// after it; then bytes appended: one, and copies of the last members, which
// put slot 1's own member in its place.
TEST_F(PayloadCheck, AFileCutOrAppendedToAtAnyMemberBoundaryIsRefused) {
  use(kModern);
  const Bytes whole = packaging::ReadBytes(host());
  const std::size_t ends[] = {whole.size() - slots[0].Length, whole.size() - slots[0].Length - slots[1].Length};
  for (std::size_t end : ends) {
    for (std::size_t copy : {end - 1, end, end + 1}) {
      std::ofstream(host(), std::ios::binary | std::ios::app)
          .write(reinterpret_cast<const char*>(whole.data() + copy), static_cast<std::streamsize>(whole.size() - copy));
      EXPECT_FALSE(intact()) << whole.size() - copy << " bytes appended";
      fs::resize_file(host(), whole.size());
    }
  }
  std::ofstream(host(), std::ios::binary | std::ios::app).put('\0');
  EXPECT_FALSE(intact());

  // Longest first, so that one file serves every cut.
  fs::resize_file(host(), whole.size());
  ASSERT_TRUE(intact());
  fs::resize_file(host(), whole.size() - 1);
  EXPECT_FALSE(intact());
  for (const PayloadSlot& s : slots) {
    if (s.Length == 0) continue;
    for (std::size_t end : {starts[s.Number - 1] + 1, starts[s.Number - 1], starts[s.Number - 1] - 1}) {
      fs::resize_file(host(), end);
      EXPECT_FALSE(intact()) << "cut to " << end << " bytes, at slot " << s.Number;
    }
  }
  fs::resize_file(host(), 0);
  EXPECT_FALSE(intact());
}

// One byte taken out or put in right at a member boundary inside the
// payload moves every member in front of it.
TEST_F(PayloadCheck, AByteLostOrAddedInsideThePayloadIsRefused) {
  use(kModern);
  const Bytes whole = packaging::ReadBytes(host());
  for (int slot : {2, 57}) {
    const auto at = static_cast<std::ptrdiff_t>(starts[slot - 1]);
    for (std::ptrdiff_t near : {at - 1, at, at + 1}) {
      Bytes lost = whole;
      lost.erase(lost.begin() + near);
      packaging::WriteBytes(host(), lost);
      // A byte of the program image lost, or one added right behind it,
      // moves no member.
      const bool imageOnly = slot == 57 && near == at - 1;
      EXPECT_EQ(intact(), imageOnly) << "byte " << near << " lost";
      Bytes added = whole;
      added.insert(added.begin() + near + 1, 0x00);
      packaging::WriteBytes(host(), added);
      EXPECT_EQ(intact(), imageOnly) << "byte added behind " << near;
    }
  }
}

}  // namespace
}  // namespace zov::test
