// Whether the installer's own file holds the payload that the build packed
// behind this program, checked before anything is written.
#include <cstdint>
#include <limits>
#include <vector>

#include "engine/install_run.h"
#include "engine/member_check.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"

namespace zov {

bool PayloadIntact(const std::string& installerPath, const std::array<PayloadSlot, kSlotCount>& slots) {
  int file = 0;
  bool intact = false;
  runtime::IgnoreErrors([&] {
    const int number = runtime::FreeFile();
    runtime::Open(installerPath, runtime::OpenMode::Binary, number, runtime::OpenAccess::Read,
                  runtime::OpenLock::LockWrite);
    file = number;
    const std::int64_t length = runtime::Lof(file);
    // The extraction counts positions in 32 bits: it cannot reach into a
    // longer file. Within that every member's start counts without overflow.
    if (length > std::numeric_limits<std::int32_t>::max()) return;
    std::int64_t endGap = 0;
    std::vector<std::uint8_t> member;
    for (const PayloadSlot& slot : slots) {
      if (slot.Length > 0) {
        const std::int64_t start = length - endGap - slot.Length + 1;
        if (start < 1) return;
        member.resize(static_cast<std::size_t>(slot.Length));
        runtime::Get(file, start, member);
        if (CheckMember(member, slot) != MemberFault::None) return;
      }
      endGap += slot.Length;
    }
    // A file that changed while it was read may no longer hold what was checked.
    intact = runtime::Lof(file) == length;
  });
  if (file) runtime::Close(file);
  return intact;
}

}  // namespace zov
