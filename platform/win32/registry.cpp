#include "registry.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/text/case_map.h"
#include "platform/win32/ansi_buffer.h"

namespace zov::win32 {

namespace m = zov::machine;

namespace {

m::RegistryStore& store() { return m::currentMachine().registry(); }

std::map<HKEY, std::string>& openKeys() {
  static std::map<HKEY, std::string> keys;
  return keys;
}
HKEY nextKey = 0x2A0;

// The full path of an open or predefined key; empty for a bad handle.
std::string pathOf(HKEY key) {
  switch (static_cast<std::uint32_t>(key)) {
    case 0x80000000u: return "HKEY_CLASSES_ROOT";
    case 0x80000001u: return "HKEY_CURRENT_USER";
    case 0x80000002u: return "HKEY_LOCAL_MACHINE";
    case 0x80000003u: return "HKEY_USERS";
    case 0x80000005u: return "HKEY_CURRENT_CONFIG";
    default: break;
  }
  const auto it = openKeys().find(key);
  return it == openKeys().end() ? std::string() : it->second;
}

// Joins a key path and a subkey text; false for a subkey that names no key
// (an empty component, as "a\\b" or a leading "\" has).
bool join(const std::string& base, const std::string& subKey, std::string& full) {
  full = base;
  const std::string sub = textOf(ansiOf(subKey));
  if (sub.empty()) return true;
  std::size_t start = 0;
  while (start <= sub.size()) {
    const auto end = sub.find('\\', start);
    const std::string part = sub.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (part.empty()) {
      if (end == std::string::npos) break;  // one trailing "\" is allowed
      return false;
    }
    full += "\\" + part;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return true;
}

// True when the path is one of the listed keys (compared without case) or
// lies below one of them.
bool listedOrBelow(const std::string& path, const std::vector<std::string>& keys) {
  for (std::string key : keys) {
    while (!key.empty() && key.back() == '\\') key.pop_back();
    if (key.empty() || path.size() < key.size() || !text::equalsNoCase(path.substr(0, key.size()), key)) continue;
    if (path.size() == key.size() || path[key.size()] == '\\') return true;
  }
  return false;
}

// A key that the machine's faults keep from being read, or one below it.
bool readRefused(const std::string& path) {
  return listedOrBelow(path, m::currentMachine().config().faults.unreadableKeys);
}

// A key that the machine's faults keep from being changed, or one below it.
bool writeRefused(const std::string& path) {
  return listedOrBelow(path, m::currentMachine().config().faults.refuseRegistryWrites);
}

HKEY handleFor(const std::string& path) {
  const HKEY h = nextKey;
  nextKey += 8;
  openKeys()[h] = path;
  return h;
}

}  // namespace

LONG RegOpenKeyA(HKEY key, const std::string& subKey, HKEY& result) {
  result = 0;
  const std::string base = pathOf(key);
  if (base.empty()) return m::kErrorInvalidHandle;
  std::string full;
  if (!join(base, subKey, full)) return m::kErrorFileNotFound;
  if (full == base && base.find('\\') == std::string::npos) {
    result = key;  // a predefined key opens as itself
    return m::kErrorSuccess;
  }
  if (!store().keyExists(full)) return m::kErrorFileNotFound;
  if (readRefused(full)) return m::kErrorAccessDenied;
  result = handleFor(full);
  return m::kErrorSuccess;
}

LONG RegCreateKeyA(HKEY key, const std::string& subKey, HKEY& result) {
  result = 0;
  const std::string base = pathOf(key);
  if (base.empty()) return m::kErrorInvalidHandle;
  std::string full;
  if (!join(base, subKey, full)) return m::kErrorInvalidParameter;
  // It opens the key for writing, so a refused key is refused even when it exists.
  if (writeRefused(full)) return m::kErrorAccessDenied;
  if (const auto e = store().createKey(full).code) return static_cast<LONG>(e);
  result = handleFor(full);
  return m::kErrorSuccess;
}

LONG RegQueryValueExA(HKEY key, const std::string& valueName, DWORD* type, void* data, DWORD* size) {
  const std::string path = pathOf(key);
  if (path.empty()) return m::kErrorInvalidHandle;
  if (readRefused(path)) return m::kErrorAccessDenied;
  const m::RegistryValue* v = store().value(path, textOf(ansiOf(valueName)));
  if (!v) return m::kErrorFileNotFound;
  if (type) *type = v->type;
  const auto needed = static_cast<DWORD>(v->data.size());
  if (!data) {
    if (size) *size = needed;
    return m::kErrorSuccess;
  }
  if (!size) return m::kErrorInvalidParameter;
  if (*size < needed) {
    *size = needed;
    return m::kErrorMoreData;
  }
  if (needed) std::memcpy(data, v->data.data(), needed);
  *size = needed;
  return m::kErrorSuccess;
}

LONG RegSetValueExA(HKEY key, const std::string& valueName, DWORD type, const void* data, DWORD size) {
  const std::string path = pathOf(key);
  if (path.empty()) return m::kErrorInvalidHandle;
  if (writeRefused(path)) return m::kErrorAccessDenied;
  m::RegistryValue v;
  v.type = type;
  if (size) {
    const auto* bytes = static_cast<const std::uint8_t*>(data);
    v.data.assign(bytes, bytes + size);
  }
  return static_cast<LONG>(store().setValue(path, textOf(ansiOf(valueName)), std::move(v)).code);
}

LONG RegDeleteKeyA(HKEY key, const std::string& subKey) {
  const std::string base = pathOf(key);
  if (base.empty()) return m::kErrorInvalidHandle;
  std::string full;
  if (!join(base, subKey, full) || full == base || writeRefused(full)) return m::kErrorAccessDenied;
  return static_cast<LONG>(store().deleteKey(full).code);
}

LONG RegDeleteValueA(HKEY key, const std::string& valueName) {
  const std::string path = pathOf(key);
  if (path.empty()) return m::kErrorInvalidHandle;
  if (writeRefused(path)) return m::kErrorAccessDenied;
  return static_cast<LONG>(store().deleteValue(path, textOf(ansiOf(valueName))).code);
}

LONG RegEnumKeyA(HKEY key, DWORD index, std::string& buffer, DWORD size) {
  const std::string path = pathOf(key);
  if (path.empty()) return m::kErrorInvalidHandle;
  if (readRefused(path)) return m::kErrorAccessDenied;
  const auto name = store().subkeyName(path, index);
  if (!name) return m::kErrorNoMoreItems;
  const std::string ansi = ansiOf(*name);
  if (ansi.size() + 1 > size) return m::kErrorMoreData;
  writeAnsi(buffer, ansi);
  return m::kErrorSuccess;
}

LONG RegCloseKey(HKEY key) {
  if (static_cast<std::uint32_t>(key) >= 0x80000000u && !pathOf(key).empty()) return m::kErrorSuccess;
  return openKeys().erase(key) ? m::kErrorSuccess : m::kErrorInvalidHandle;
}

}  // namespace zov::win32
