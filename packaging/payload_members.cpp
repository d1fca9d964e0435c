#include "packaging/payload_members.h"

#include <fstream>
#include <sstream>

#include "engine/payload_slots.h"
#include "services/shared_state.h"

namespace zov::packaging {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadBytes(const fs::path& file) {
  std::error_code ec;
  const auto size = fs::file_size(file, ec);
  std::ifstream in(file, std::ios::binary);
  if (ec || !in) throw PackError(file.string() + ": cannot be read");
  std::vector<std::uint8_t> bytes(size);
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) throw PackError(file.string() + ": cannot be read");
  return bytes;
}

void WriteBytes(const fs::path& file, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) throw PackError(file.string() + ": cannot be written");
}

void WriteMembers(Build build, const fs::path& folder) {
  std::error_code ec;
  fs::create_directories(folder / "sample", ec);
  fs::create_directories(folder / "members", ec);
  if (ec) throw PackError(folder.string() + ": cannot be created: " + ec.message());
  // Only the names matter here; the lengths come from these members.
  ProgramName = kMainProgramName;
  std::ostringstream list;
  for (const PayloadSlot& slot : PayloadSlots({})) {
    if (slot.CompressedName.empty()) {
      list << slot.Number << "\t0\t\n";
      continue;
    }
    const SampleProductFile sample = SampleFile(slot.Number, slot.TargetName, build);
    WriteBytes(folder / "sample" / slot.TargetName, sample.file);
    WriteBytes(folder / "members" / slot.CompressedName, sample.member);
    list << slot.Number << '\t' << sample.member.size() << '\t' << slot.CompressedName << '\n';
  }
  const std::string text = list.str();
  WriteBytes(folder / "members.list", std::vector<std::uint8_t>(text.begin(), text.end()));
}

fs::path MemberFile(const fs::path& list, const ListedMember& member) {
  return list.parent_path() / "members" / member.name;
}

std::vector<ListedMember> ReadMemberList(const fs::path& list) {
  std::ifstream in(list);
  if (!in) throw PackError(list.string() + ": cannot be read");
  std::vector<ListedMember> members;
  std::string line;
  while (std::getline(in, line)) {
    const std::string where = list.string() + ":" + std::to_string(members.size() + 1) + ": ";
    const auto tab1 = line.find('\t');
    const auto tab2 = tab1 == std::string::npos ? tab1 : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos) throw PackError(where + "not \"slot, length, name\"");
    ListedMember m;
    try {
      m.slot = std::stoi(line.substr(0, tab1));
      m.length = std::stoi(line.substr(tab1 + 1, tab2 - tab1 - 1));
    } catch (const std::exception&) {
      throw PackError(where + "the slot or the length is not a number");
    }
    m.name = line.substr(tab2 + 1);
    if (m.slot != static_cast<int>(members.size()) + 1) throw PackError(where + "slot " + std::to_string(m.slot) + " out of order");
    if (m.name.empty() != (m.length == 0)) throw PackError(where + "slot " + std::to_string(m.slot) + ": a member needs a name and bytes");
    if (!m.name.empty()) {
      std::error_code ec;
      const auto size = fs::file_size(MemberFile(list, m), ec);
      if (ec || size != static_cast<std::uintmax_t>(m.length)) {
        throw PackError(where + "slot " + std::to_string(m.slot) + ": the member " + m.name +
                        (ec ? " is missing" : " is " + std::to_string(size) + " bytes, not " + std::to_string(m.length)));
      }
    }
    members.push_back(m);
  }
  if (members.size() != kSlotCount) throw PackError(list.string() + ": lists " + std::to_string(members.size()) + " slots, not 57");
  return members;
}

}  // namespace zov::packaging
