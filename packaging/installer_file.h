// The installer file: the program image, then the members in the order of
// slots 57, 56, ... 5, 3, 2, 1, back to back, nothing after slot 1. Each
// member is found by its distance from the end of the file, so the lengths
// compiled into the image must be those of the members behind it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "engine/payload_slots.h"
#include "packaging/payload_members.h"

namespace zov::packaging {

// Marks the payload record (PayloadRecord) in a built image; the rest of
// its 24 bytes are NUL.
inline constexpr char kPayloadRecordMarker[24] = "ZOV5 payload record:";
inline constexpr std::int64_t kMinimumInstallerSize = 9000000;

// The record of the listed members, measured on the member files: each
// one's length, the length it expands to and its CRC-32. A member that is
// not a whole SZDD file of mode 'A' expanding to exactly the length its
// header states is refused (PackError naming its slot).
PayloadRecord RecordOf(const std::vector<ListedMember>& members, const std::filesystem::path& list);

// The C++ source that compiles a build's record into it.
std::string PayloadRecordSource(const PayloadRecord& record, const std::string& origin);

// The record compiled into an image: the one that carries the marker.
// Throws PackError when there is none or more than one.
PayloadRecord CompiledRecordIn(std::span<const std::uint8_t> image);

// Writes image + members to `out` (with the image's permissions), after
// checking every member against the record the image carries (CheckMember),
// and checks the written file by the location rule. Throws PackError naming
// the slot.
void PackInstaller(const std::filesystem::path& image, const std::filesystem::path& list,
                   const std::filesystem::path& out);

}  // namespace zov::packaging
