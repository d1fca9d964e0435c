// The two packed installers of the build and the folders of their sample
// product and members (the property ZOV_PAYLOAD_DIR, app/).
#pragma once

#include <array>
#include <filesystem>
#include <string>

#include "engine/payload_slots.h"
#include "packaging/installer_file.h"

namespace zov::test {

struct Deliverable {
  const char* name;
  std::filesystem::path exe;
  std::filesystem::path payload;  // sample/, members/, the image
};

inline const Deliverable kModern{"setupmodern", ZOV_SETUPMODERN_EXE, ZOV_SETUPMODERN_PAYLOAD};
inline const Deliverable kClassic{"setupclassic", ZOV_SETUPCLASSIC_EXE, ZOV_SETUPCLASSIC_PAYLOAD};

inline std::filesystem::path imageOf(const Deliverable& d) { return d.payload / (std::string(d.name) + ".image"); }

// The build's slots with the record compiled into its own image.
inline std::array<PayloadSlot, kSlotCount> slotsOf(const Deliverable& d) {
  return PayloadSlots(packaging::CompiledRecordIn(packaging::ReadBytes(imageOf(d))));
}

}  // namespace zov::test
