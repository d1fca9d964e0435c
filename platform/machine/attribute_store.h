// The DOS attributes (read-only, hidden, system, archive) of the files and
// folders that have any, kept in the machine folder's "attributes" file,
// one "<letters> <Windows path>" line each. The simulation enforces them
// itself: the programs run as root, so Linux permissions would stop nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>

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
  // Reads the file (missing: no attributes); throws MachineFileError on a bad line.
  explicit AttributeStore(std::filesystem::path file);

  std::uint32_t get(const std::string& windowsPath) const;
  // Saves at once. Only the stored bits are kept.
  void set(const std::string& windowsPath, std::uint32_t attributes);
  // Forgets the path and everything below it (after a deletion).
  void forget(const std::string& windowsPath);

 private:
  void save() const;

  std::filesystem::path file_;
  std::map<std::string, std::uint32_t, text::LessNoCase> attributes_;
};

}  // namespace zov::machine
