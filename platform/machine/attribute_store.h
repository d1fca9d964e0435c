// The DOS attributes (read-only, hidden, system, archive) of the files and
// folders that have any, kept in the machine folder's "attributes" file,
// one "<letters> <Windows path>" line each. The simulation enforces them
// itself: the programs run as root, so Linux permissions would stop nothing.
// Several processes may share the file: each change is made under its lock
// on its latest content (see SharedFile).
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <string>

#include "platform/machine/shared_file.h"
#include "platform/text/case_map.h"

namespace zov::machine {

inline constexpr std::uint32_t kAttrReadOnly = 1;
inline constexpr std::uint32_t kAttrHidden = 2;
inline constexpr std::uint32_t kAttrSystem = 4;
inline constexpr std::uint32_t kAttrVolume = 8;
inline constexpr std::uint32_t kAttrDirectory = 16;
inline constexpr std::uint32_t kAttrArchive = 32;
inline constexpr std::uint32_t kStoredAttributes = kAttrReadOnly | kAttrHidden | kAttrSystem | kAttrArchive;

class AttributeStore {
 public:
  // Reads the file (missing: no attributes); throws MachineFileError on a bad
  // line. `disk`, when given, is the room left on the host disk.
  explicit AttributeStore(std::filesystem::path file, HostDisk* disk = nullptr);

  const std::filesystem::path& file() const { return file_.path(); }

  std::uint32_t get(const std::string& windowsPath) const;
  // Saves at once; only the stored bits are kept. Changes answer with a
  // Windows error code and change nothing when the file cannot be saved
  // (112 a full disk, 5 anything else, also a file broken by someone else).
  std::uint32_t set(const std::string& windowsPath, std::uint32_t attributes);
  // Forgets the path and everything below it (before a deletion).
  std::uint32_t forget(const std::string& windowsPath);

 private:
  using Map = std::map<std::string, std::uint32_t, text::LessNoCase>;
  // The entries of the file's text; throws MachineFileError.
  Map parse(const std::string& text) const;
  // Reads the file again when another process has replaced it; false when it cannot.
  bool reload() const;
  // Applies a change to the latest content under the lock and saves it.
  std::uint32_t change(const std::function<bool(Map&)>& apply);

  mutable SharedFile file_;
  mutable Map attributes_;
};

}  // namespace zov::machine
