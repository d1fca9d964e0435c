#include "attribute_store.h"

#include <cerrno>
#include <cstring>
#include <sstream>

#include "platform/machine/ini_file.h"
#include "platform/machine/windows_errors.h"

namespace zov::machine {

namespace {

constexpr struct {
  char letter;
  std::uint32_t bit;
} kLetters[] = {{'R', kAttrReadOnly}, {'H', kAttrHidden}, {'S', kAttrSystem}, {'A', kAttrArchive}};

}  // namespace

AttributeStore::AttributeStore(std::filesystem::path file, HostDisk* disk) : file_(std::move(file), disk) {
  std::string text;
  int err = 0;
  if (file_.read(text, err)) attributes_ = parse(text);
  if (err) throw MachineFileError(file_.path(), 0, std::string("cannot be read: ") + std::strerror(err));
  file_.accept();
}

AttributeStore::Map AttributeStore::parse(const std::string& text) const {
  Map map;
  std::istringstream in(text);
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    const auto space = line.find(' ');
    if (space == std::string::npos || space + 1 >= line.size()) {
      throw MachineFileError(file_.path(), lineNo, "expected '<attributes> <path>'");
    }
    std::uint32_t bits = 0;
    for (char c : line.substr(0, space)) {
      bool known = false;
      for (const auto& l : kLetters) {
        if (c == l.letter) bits |= l.bit, known = true;
      }
      if (!known) throw MachineFileError(file_.path(), lineNo, std::string("unknown attribute letter '") + c + "'");
    }
    map[line.substr(space + 1)] = bits;
  }
  return map;
}

bool AttributeStore::reload() const {
  if (!file_.changed()) return true;
  std::string text;
  int err = 0;
  const bool exists = file_.read(text, err);
  if (err) return false;
  try {
    attributes_ = exists ? parse(text) : Map{};
  } catch (const MachineFileError&) {
    return false;
  }
  file_.accept();
  return true;
}

std::uint32_t AttributeStore::get(const std::string& windowsPath) const {
  reload();
  const auto it = attributes_.find(windowsPath);
  return it == attributes_.end() ? 0 : it->second;
}

std::uint32_t AttributeStore::change(const std::function<bool(Map&)>& apply) {
  const SharedFile::Lock lock(file_);
  if (lock.error()) return lock.error() == ENOSPC ? kErrorDiskFull : kErrorAccessDenied;
  if (!reload()) return kErrorAccessDenied;
  Map changed = attributes_;
  if (!apply(changed)) return kErrorSuccess;
  std::ostringstream o;
  o << "; DOS attributes of the machine's files: R read-only, H hidden, S system, A archive.\n";
  for (const auto& [path, bits] : changed) {
    for (const auto& l : kLetters) {
      if (bits & l.bit) o << l.letter;
    }
    o << ' ' << path << '\n';
  }
  if (const int err = file_.write(o.str())) return err == ENOSPC || err == EDQUOT ? kErrorDiskFull : kErrorAccessDenied;
  attributes_ = std::move(changed);
  return kErrorSuccess;
}

std::uint32_t AttributeStore::set(const std::string& windowsPath, std::uint32_t attributes) {
  attributes &= kStoredAttributes;
  return change([&](Map& map) {
    const auto it = map.find(windowsPath);
    if (attributes == 0) {
      if (it == map.end()) return false;
      map.erase(it);
      return true;
    }
    if (it != map.end() && it->second == attributes && it->first == windowsPath) return false;
    if (it != map.end()) map.erase(it);
    map[windowsPath] = attributes;
    return true;
  });
}

std::uint32_t AttributeStore::forget(const std::string& windowsPath) {
  const std::string prefix = windowsPath + "\\";
  return change([&](Map& map) {
    bool changed = false;
    for (auto it = map.begin(); it != map.end();) {
      const bool below = it->first.size() > prefix.size() && text::equalsNoCase(it->first.substr(0, prefix.size()), prefix);
      if (text::equalsNoCase(it->first, windowsPath) || below) {
        it = map.erase(it);
        changed = true;
      } else {
        ++it;
      }
    }
    return changed;
  });
}

}  // namespace zov::machine
