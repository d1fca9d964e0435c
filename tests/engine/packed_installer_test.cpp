// The delivered installer files themselves, read as the install routine
// reads them: every slot's member found by its distance from the end.
#include <array>
#include <filesystem>
#include <fstream>
#include <utility>

#include "engine/payload_slots.h"
#include "packaging/installer_file.h"
#include "platform/runtime/files.h"
#include "platform/runtime/strings.h"
#include "services/shared_state.h"
#include "tests/engine/deliverables.h"
#include "tests/lz/support/memory_io.h"
#include "tests/wizard/wizard_fixture.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes bytesOf(const fs::path& p) { return packaging::ReadBytes(p); }

Bytes expanded(const Bytes& member) {
  lz::testing::MemoryReader in(member);
  lz::testing::MemoryWriter out;
  EXPECT_GE(lz::copyExpanded(in, out), 0);
  return out.bytes;
}

bool startsWith(const Bytes& b, const Bytes& prefix) {
  return b.size() >= prefix.size() && std::equal(prefix.begin(), prefix.end(), b.begin());
}

// A started wizard, the temporary folder made, and ExtractMember run on an
// installer file of the machine slot by slot as the install routine runs it.
class PackedInstallerTest : public WizardTest {
 protected:
  void SetUp() override {
    run("");
    extractDir = Trim(TempDir) + "\\ZOVTMP";
    runtime::MkDir(extractDir);
  }
  static std::string Trim(const std::string& s) { return runtime::Trim(s); }
  // Runs every slot that has a member; returns what each extraction gave
  // (nothing when it failed). `endGap` ends as the sum of all lengths.
  std::array<Bytes, kSlotCount> extractAll(const std::string& installer, const std::array<PayloadSlot, kSlotCount>& slots,
                                           std::array<bool, kSlotCount>& ok, std::int32_t& endGap) {
    std::array<Bytes, kSlotCount> got;
    endGap = 0;
    for (const PayloadSlot& s : slots) {
      if (s.Length > 0) {
        const std::string dest = extractDir + "\\" + s.CompressedName;
        ok[s.Number - 1] = Form1().ExtractMember(installer, dest, s.Length, endGap);
        if (fs::exists(machine->host(dest))) got[s.Number - 1] = bytesOf(machine->host(dest));
      }
      endGap += s.Length;
    }
    return got;
  }
  // The deliverable's folder as the machine sees it (a read-only network drive).
  std::string mounted(const Deliverable& d) {
    return machine->machine().files().mountHostFolder(d.exe.parent_path()) + d.exe.filename().string();
  }
  std::string extractDir;
};

TEST_F(PackedInstallerTest, EveryMemberLiesAtItsEndGapAndExpandsToItsSampleFile) {
  for (const Deliverable& d : {kModern, kClassic}) {
    SCOPED_TRACE(d.name);
    const auto slots = slotsOf(d);
    std::array<bool, kSlotCount> ok{};
    std::int32_t endGap = 0;
    const auto got = extractAll(mounted(d), slots, ok, endGap);
    for (const PayloadSlot& s : slots) {
      if (s.Length == 0) continue;
      SCOPED_TRACE("slot " + std::to_string(s.Number));
      ASSERT_TRUE(ok[s.Number - 1]);
      const Bytes& member = got[s.Number - 1];
      EXPECT_EQ(member, bytesOf(d.payload / "members" / s.CompressedName));
      EXPECT_TRUE(startsWith(member, Bytes(lz::szdd::kMagic.begin(), lz::szdd::kMagic.end())));
      EXPECT_EQ(expanded(member), bytesOf(d.payload / "sample" / s.TargetName));
    }
    // The last member read begins at the first byte after the program image.
    const Bytes file = bytesOf(d.exe);
    const Bytes image = bytesOf(imageOf(d));
    EXPECT_EQ(file.size() - static_cast<std::size_t>(endGap), image.size());
    EXPECT_TRUE(startsWith(file, image));
    EXPECT_EQ(Bytes(file.begin() + static_cast<std::ptrdiff_t>(image.size()),
                    file.begin() + static_cast<std::ptrdiff_t>(image.size()) + slots[56].Length),
              got[56]);
    EXPECT_EQ(transcript().find("?? box"), std::string::npos);
  }
}

TEST_F(PackedInstallerTest, TheSlotNamesAreThoseOfTheProgramThatFormLoadNames) {
  // members.list names what the packing step packed; the installer names
  // slot 3 after ProgramName.
  std::ifstream list(kModern.payload / "members.list");
  std::string line;
  for (const PayloadSlot& s : PayloadSlots()) {
    ASSERT_TRUE(std::getline(list, line));
    EXPECT_EQ(line, std::to_string(s.Number) + "\t" + std::to_string(s.Length) + "\t" + s.CompressedName);
  }
}

TEST_F(PackedInstallerTest, BytesAppendedBehindSlotOneMoveEveryMember) {
  Bytes file = bytesOf(kModern.exe);
  const Bytes tail = {'S', 'I', 'G', 'N', 'A', 'T', 'U', 'R', 'E'};
  file.insert(file.end(), tail.begin(), tail.end());
  const std::string installer = "C:\\Users\\user\\Downloads\\setupmodern.exe";
  machine->writeFile(installer, std::string(file.begin(), file.end()));

  const auto slots = PayloadSlots();
  std::array<bool, kSlotCount> ok{};
  std::int32_t endGap = 0;
  const auto got = extractAll(installer, slots, ok, endGap);
  for (const PayloadSlot& s : slots) {
    if (s.Length == 0) continue;
    EXPECT_TRUE(ok[s.Number - 1]);
    EXPECT_NE(got[s.Number - 1], bytesOf(kModern.payload / "members" / s.CompressedName)) << "slot " << s.Number;
  }
  // Slot 1 receives the appended bytes, behind the end of its own member.
  const Bytes first = bytesOf(kModern.payload / "members" / slots[0].CompressedName);
  Bytes shifted(first.begin() + static_cast<std::ptrdiff_t>(tail.size()), first.end());
  shifted.insert(shifted.end(), tail.begin(), tail.end());
  EXPECT_EQ(got[0], shifted);
}

TEST_F(PackedInstallerTest, BytesLostAtTheEndMoveEveryMemberAndAShortFileIsReported) {
  const Bytes whole = bytesOf(kModern.exe);
  const auto slots = PayloadSlots();
  const std::string installer = "C:\\Users\\user\\Downloads\\setupmodern.exe";
  machine->writeFile(installer, std::string(whole.begin(), whole.end() - 5));
  std::array<bool, kSlotCount> ok{};
  std::int32_t payload = 0;
  auto got = extractAll(installer, slots, ok, payload);
  for (const PayloadSlot& s : slots) {
    if (s.Length == 0) continue;
    EXPECT_TRUE(ok[s.Number - 1]);
    EXPECT_NE(got[s.Number - 1], bytesOf(kModern.payload / "members" / s.CompressedName)) << "slot " << s.Number;
  }
  // Slot 1 now starts 5 bytes early, in slot 2's member.
  const Bytes first = bytesOf(kModern.payload / "members" / slots[0].CompressedName);
  EXPECT_TRUE(std::equal(first.begin(), first.end() - 5, got[0].begin() + 5));

  // A file that holds less than the whole payload: the slot that reaches
  // beyond its start reports it, the others are read from wrong places.
  machine->writeFile(installer, std::string(whole.end() - payload + 1, whole.end()));
  machine->script("answer OK\nanswer OK\n");
  got = extractAll(installer, slots, ok, payload);
  for (const PayloadSlot& s : slots) {
    if (s.Length > 0 && s.Number < kSlotCount) {
      EXPECT_TRUE(ok[s.Number - 1]) << "slot " << s.Number;
    }
  }
  EXPECT_FALSE(ok[56]);
  EXPECT_TRUE(got[56].empty());
  EXPECT_NE(transcript().find("Installation file is not complete!"), std::string::npos);
  EXPECT_NE(transcript().find("Error in Extract File - 63"), std::string::npos);
}

// The product's slot table: the member lengths of setupmodern, by slot.
constexpr std::int32_t kModernLengths[kSlotCount] = {
    194,    178,   3252960, 0,      2576,   6938,    10594,  2990,  677,   892,   1175,   122,   112,   3375,  1055,
    9801,   98743, 99993,   1173,   586,    1066,    1066,   1066,  1073,  5732115, 18764, 11090, 334131, 81754, 955,
    54375,  2973945, 113812, 382130, 44190, 160,     137,    248,   225,   1587,  546,    690,   886,   1155,  534,
    648,    872,   1036,    671,    42688,  110856,  94248,  86407, 86440, 85438, 49875, 50616};

TEST(PackedInstallers, CarryTheProductsSlotTableAndMembersOfExactlyThoseLengths) {
  auto classicLengths = std::to_array(kModernLengths);
  classicLengths[2] = 3929883;
  classicLengths[15] = 8642;
  classicLengths[30] = 64060;
  const std::pair<const Deliverable&, std::array<std::int32_t, kSlotCount>> builds[] = {
      {kModern, std::to_array(kModernLengths)}, {kClassic, classicLengths}};
  const std::int64_t totals[] = {13861629, 14547078};
  for (int b = 0; b < 2; ++b) {
    const auto& [d, lengths] = builds[b];
    SCOPED_TRACE(d.name);
    std::int64_t payload = 0;
    for (const PayloadSlot& s : slotsOf(d)) {
      EXPECT_EQ(s.Length, lengths[s.Number - 1]) << "slot " << s.Number;
      payload += s.Length;
    }
    // The members themselves (the listing is read only when each is as long as listed).
    for (const packaging::ListedMember& m : packaging::ReadMemberList(d.payload / "members.list")) {
      EXPECT_EQ(m.length, lengths[m.slot - 1]) << "slot " << m.slot;
    }
    EXPECT_EQ(payload, totals[b]);
    EXPECT_EQ(static_cast<std::int64_t>(fs::file_size(d.exe) - fs::file_size(imageOf(d))), totals[b]);
  }
}

TEST(PackedInstallers, AreLongEnoughAndDifferOnlyInTheirOwnProgramsAndImages) {
  const Bytes modern = bytesOf(kModern.exe);
  const Bytes classic = bytesOf(kClassic.exe);
  EXPECT_GE(modern.size(), 9000000u);
  EXPECT_GE(classic.size(), 9000000u);
  const auto modernSlots = slotsOf(kModern);
  const auto classicSlots = slotsOf(kClassic);
  std::size_t modernEnd = modern.size(), classicEnd = classic.size();
  for (int k = 0; k < kSlotCount; ++k) {
    const auto m = static_cast<std::size_t>(modernSlots[k].Length);
    const auto c = static_cast<std::size_t>(classicSlots[k].Length);
    const Bytes modernMember(modern.begin() + static_cast<std::ptrdiff_t>(modernEnd - m),
                             modern.begin() + static_cast<std::ptrdiff_t>(modernEnd));
    const Bytes classicMember(classic.begin() + static_cast<std::ptrdiff_t>(classicEnd - c),
                              classic.begin() + static_cast<std::ptrdiff_t>(classicEnd));
    const bool own = k + 1 == 3 || k + 1 == 16 || k + 1 == 31;
    EXPECT_EQ(modernMember != classicMember, own) << "slot " << k + 1;
    EXPECT_EQ(m != c, own) << "slot " << k + 1;
    modernEnd -= m;
    classicEnd -= c;
  }
  EXPECT_EQ(modernEnd, bytesOf(imageOf(kModern)).size());
  EXPECT_EQ(classicEnd, bytesOf(imageOf(kClassic)).size());
  EXPECT_FALSE(std::equal(modern.begin(), modern.begin() + static_cast<std::ptrdiff_t>(modernEnd), classic.begin(),
                          classic.begin() + static_cast<std::ptrdiff_t>(classicEnd)));
}

}  // namespace
}  // namespace zov::test
