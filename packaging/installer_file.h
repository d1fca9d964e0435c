// The installer file: the program image, then the members in the order of
// slots 57, 56, ... 5, 3, 2, 1, back to back, nothing after slot 1. Each
// member is found by its distance from the end of the file, so the lengths
// compiled into the image must be those of the members behind it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "engine/payload_slots.h"
#include "packaging/payload_members.h"

namespace zov::packaging {

// Marks the record of slot lengths (SlotLengthRecord) in a built image; the
// rest of its 24 bytes are NUL.
inline constexpr char kSlotLengthMarker[24] = "ZOV5 slot lengths:";
inline constexpr std::int64_t kMinimumInstallerSize = 9000000;

// The C++ source that compiles a build's lengths (in slot order) into it.
std::string SlotLengthsSource(const std::vector<ListedMember>& members, const std::string& origin);

// The lengths compiled into an image: the one record that carries the
// marker. Throws PackError when there is none or more than one.
std::array<std::int32_t, kSlotCount> CompiledLengthsIn(std::span<const std::uint8_t> image);

// Writes image + members to `out` (with the image's permissions), after
// checking every member against the lengths the image carries, and checks
// the written file by the location rule. Throws PackError naming the slot.
void PackInstaller(const std::filesystem::path& image, const std::filesystem::path& list,
                   const std::filesystem::path& out);

}  // namespace zov::packaging
