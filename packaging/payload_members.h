// One build's members, as the packing step makes them in a folder of its own:
//   sample/<target name>         the sample product's 56 files
//   members/<compressed name>    each of them as an SZDD member
//   members.list                 the index: one line per slot 1 to 57, in order,
//                                "slot<TAB>length<TAB>member name"; slot 4
//                                has length 0 and no name.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "packaging/sample_product.h"

namespace zov::packaging {

// A refusal of the packing step; the message says what is wrong and where.
struct PackError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

struct ListedMember {
  int slot = 0;
  std::int32_t length = 0;
  std::string name;  // empty: the slot has no member
};

void WriteMembers(Build build, const std::filesystem::path& folder);

// The index, checked: 57 lines in slot order, every named member present and
// as long as listed. Throws PackError.
std::vector<ListedMember> ReadMemberList(const std::filesystem::path& list);
std::filesystem::path MemberFile(const std::filesystem::path& list, const ListedMember& member);

std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file);
void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes);

}  // namespace zov::packaging
