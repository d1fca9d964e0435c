#include "services/attributes.h"

#include <string>

#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/win32/kernel.h"

namespace zov {

namespace {

// Every attribute a listing can ask for: normal, read-only, hidden, system,
// volume label, directory and archive.
constexpr int kAnyEntry = 63;

// Each step runs with its run-time errors ignored. When a reading of the
// attributes fails, the value read before stands, so an attribute that was
// set and cannot be read again still counts as set.
bool clearAttribute(std::string_view path, int bit) {
  const std::string p = runtime::Trim(path);
  if (p.empty()) return false;
  std::string found;
  runtime::IgnoreErrors([&] { found = runtime::Dir(p, kAnyEntry); });
  if (found.empty()) return false;
  int attributes = 0;
  runtime::IgnoreErrors([&] { attributes = runtime::GetAttr(p); });
  if (attributes & bit) win32::SetFileAttributesA(p, static_cast<win32::DWORD>(attributes & ~bit));
  runtime::IgnoreErrors([&] { attributes = runtime::GetAttr(p); });
  return (attributes & bit) != 0;
}

}  // namespace

bool ClearHiddenAttr(std::string_view path) { return clearAttribute(path, runtime::vbHidden); }

bool ClearReadOnlyAttr(std::string_view path) { return clearAttribute(path, runtime::vbReadOnly); }

}  // namespace zov
