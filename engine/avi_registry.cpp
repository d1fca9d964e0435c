#include "engine/avi_registry.h"

#include <string>

#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "services/registry.h"

namespace zov {

const std::array<AviRegistration, 10> AviRegistryTable{{
    {"AVIFile\\Compressors\\vids", "{00020001-0000-0000-C000-000000000046}"},
    {"AVIFile\\Compressors\\auds", "{0002000F-0000-0000-C000-000000000046}"},
    {"AVIFile\\Extensions\\WAV", "{00020003-0000-0000-C000-000000000046}"},
    {"AVIFile\\Extensions\\AVI", "{00020000-0000-0000-C000-000000000046}"},
    {"AVIFile\\Extensions\\AU", "{00020003-0000-0000-C000-000000000046}"},
    {"AVIFile\\Extensions\\BMP", "{00020006-0000-0000-C000-000000000046}"},
    {"AVIFile\\Extensions\\DIB", "{00020006-0000-0000-C000-000000000046}"},
    {"AVIFile\\RIFFHandlers\\AVI", "{00020000-0000-0000-C000-000000000046}"},
    {"AVIFile\\RIFFHandlers\\WAVE", "{00020003-0000-0000-C000-000000000046}"},
    {"AVIFile\\CLSID", "{00022602-0000-0000-C000-000000000046}"},
}};

bool CheckAviRegistry() {
  for (const AviRegistration& row : AviRegistryTable) {
    if (runtime::Trim(GetRegString(win32::HKEY_CLASSES_ROOT, row.key, "", "", ForceRegistry)) != row.classId) return false;
  }
  return true;
}

bool FixAviRegistry() {
  // Each row is written whatever the one before it achieved, so that one
  // refused row leaves none of the others broken.
  bool written = true;
  for (const AviRegistration& row : AviRegistryTable) {
    try {
      SetRegString(win32::HKEY_CLASSES_ROOT, row.key, "", row.classId, ForceRegistry);
    } catch (const runtime::RuntimeError&) {
      written = false;
    }
  }
  // The registry functions do not say when Windows refuses a write; reading
  // the values back does, so a refused repair is not taken for a done one.
  return written && CheckAviRegistry();
}

}  // namespace zov
