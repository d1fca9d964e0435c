// The registry of the simulated machine: keys and values in memory, kept in
// registry.reg (REGEDIT4 text, UTF-8) and saved after every change.
//
// Several processes may use one registry.reg at once: each change is made
// under the file's lock on its latest content and saved before the lock is
// let go, so a change reported done is in the file; reads see the changes of
// other processes. A change that cannot be saved is undone in memory.
//
// Key and value names are UTF-8, compare without case (the program's one
// case map) and keep the case they were created with. Value data are the
// exact bytes a program stored: string data are in the machine's ANSI code
// page, and a REG_SZ written without its terminating NUL stays without one.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/machine/shared_file.h"

namespace zov::machine {

inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;

// type: 1 REG_SZ, 2 REG_EXPAND_SZ, 3 REG_BINARY, 4 REG_DWORD, 7 REG_MULTI_SZ;
// any other number is kept as it is.
struct RegistryValue {
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  bool operator==(const RegistryValue&) const = default;
};

// A registry file that does not parse. what() is "<file>:<line>: <reason>".
struct RegistryFileError : std::runtime_error {
  RegistryFileError(const std::filesystem::path& file, int line, const std::string& reason);
  std::filesystem::path file;
  int line;
};

// The answer of a change: a Windows error code, 0 when done. It does not
// turn into a bool, so that no caller takes 0 for a failure.
struct RegistryResult {
  std::uint32_t code = 0;
  bool operator==(std::uint32_t other) const { return code == other; }
};

class RegistryStore {
 public:
  // Reads the file; a missing file gives an empty registry (the file is
  // created at the first change). A file that does not parse throws
  // RegistryFileError naming the line, and the file is left untouched; a
  // file that cannot be read throws std::runtime_error.
  // `disk`, when given, is the room left on the host disk (a fault setting).
  static RegistryStore load(std::filesystem::path file, int codePage, HostDisk* disk = nullptr);
  // The same from the text of a file; the store replaces `file` at its first
  // change (unless someone else changes the file before).
  static RegistryStore fromText(std::string_view text, std::filesystem::path file, int codePage);

  RegistryStore(RegistryStore&&) noexcept;
  RegistryStore& operator=(RegistryStore&&) noexcept;
  ~RegistryStore();

  // Key paths are full paths starting with a root name, e.g.
  // "HKEY_LOCAL_MACHINE\Software\Zideruv". The roots HKEY_CLASSES_ROOT,
  // HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS and HKEY_CURRENT_CONFIG
  // always exist. A path is no key path when its root is unknown, a name in
  // it is empty, a name is not UTF-8 or holds a NUL, CR or LF (the file could
  // not keep it), or it is more than 512 levels deep (Windows' limit).
  bool keyExists(std::string_view keyPath) const;

  // Changes answer with a Windows error code and never throw: 0 done;
  // 87 a path or name the file cannot hold; 2 no such key or value; 5 a root
  // or a key with subkeys to delete; 112 the host disk is full and 1016 the
  // file cannot be written (nothing changed); 1015 registry.reg was broken by
  // someone else (it is left as it is).
  //
  // Creates the key with every missing parent.
  RegistryResult createKey(std::string_view keyPath);
  RegistryResult deleteKey(std::string_view keyPath);
  // Setting an existing value keeps its name and its place.
  RegistryResult setValue(std::string_view keyPath, std::string_view name, RegistryValue value);
  RegistryResult deleteValue(std::string_view keyPath, std::string_view name);

  // "" is the default value; nullptr when missing. The pointer holds until
  // the next call.
  const RegistryValue* value(std::string_view keyPath, std::string_view name) const;

  // Subkey names in the order Windows enumerates them: sorted without case
  // (by upper case, code point order). Empty when the key does not exist.
  std::vector<std::string> subkeyNames(std::string_view keyPath) const;
  // The index-th of those, without building the list (for RegEnumKey loops).
  std::optional<std::string> subkeyName(std::string_view keyPath, std::size_t index) const;
  // Value names in the order they were created.
  std::vector<std::string> valueNames(std::string_view keyPath) const;

  const std::filesystem::path& file() const;
  // The file text of the registry as it is now.
  std::string toText() const;

 private:
  struct Source;
  struct Key;
  using Roots = std::vector<std::unique_ptr<Key>>;  // in the order of kRootNames
  using Undo = std::function<void()>;
  RegistryStore(std::filesystem::path file, int codePage, HostDisk* disk);
  static Roots emptyRoots();
  // The keys of a file's text; throws RegistryFileError.
  static Roots parse(std::string text, const std::filesystem::path& file, int codePage);
  // Reads the file again when another process has replaced it; returns 0 or
  // the error code of a file that cannot be read or does not parse.
  std::uint32_t reload() const;
  // Applies one change under the file's lock: `apply` answers with an error
  // code and sets `undo` when it changed something, which is then saved (or
  // undone when the save fails).
  RegistryResult change(const std::function<std::uint32_t(Undo&)>& apply);
  const Key* find(std::string_view keyPath) const;
  Key* find(std::string_view keyPath);

  mutable SharedFile file_;
  int codePage_;
  mutable Roots roots_;
};

}  // namespace zov::machine
