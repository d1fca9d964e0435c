// Whether the bytes found in a slot's place are the member that the build
// packed there: as long as the slot, an SZDD file of mode 'A' whose header
// states the slot's expanded length, and of the slot's CRC-32. The install
// routine refuses an installer file with any other member; the packing step
// refuses to pack one.
#pragma once

#include <cstdint>
#include <span>

#include "engine/payload_slots.h"

namespace zov {

// CRC-32 with the reflected polynomial 0xEDB88320, as zlib and PNG compute it.
std::uint32_t Crc32(std::span<const std::uint8_t> bytes);

enum class MemberFault {
  None,
  Length,          // not as long as the slot
  Header,          // no SZDD signature of mode 'A'
  ExpandedLength,  // the header states another expanded length
  Checksum,        // other bytes
};

// The first fault found, in the order of the enumeration.
MemberFault CheckMember(std::span<const std::uint8_t> member, const PayloadSlot& slot);

}  // namespace zov
