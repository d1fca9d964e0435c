// Whether the members of the payload stand where the slot table puts them.
#include <vector>

#include "engine/install_run.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"

namespace zov {

namespace {
// The SZDD signature and compression mode 'A' that begin every member.
const std::vector<std::uint8_t> kMemberStart = {0x53, 0x5A, 0x44, 0x44, 0x88, 0xF0, 0x27, 0x33, 0x41};
}  // namespace

bool MembersInPlace(const std::string& installerPath, const std::array<PayloadSlot, kSlotCount>& slots) {
  int file = 0;
  bool inPlace = true;
  const bool read = runtime::IgnoreErrors([&] {
    const int number = runtime::FreeFile();
    runtime::Open(installerPath, runtime::OpenMode::Binary, number, runtime::OpenAccess::Read,
                  runtime::OpenLock::LockWrite);
    file = number;
    const std::int64_t length = runtime::Lof(file);
    std::int64_t endGap = 0;
    for (const PayloadSlot& slot : slots) {
      if (slot.Length > 0) {
        const std::int64_t start = length - endGap - slot.Length + 1;
        std::vector<std::uint8_t> head(kMemberStart.size());
        if (start < 1 || slot.Length < static_cast<std::int32_t>(head.size())) {
          inPlace = false;
          return;
        }
        runtime::Get(file, start, head);
        if (head != kMemberStart) {
          inPlace = false;
          return;
        }
      }
      endGap += slot.Length;
    }
  });
  if (file) runtime::Close(file);
  return read && inPlace;
}

}  // namespace zov
