#include "attribute_store.h"

#include <fstream>
#include <sstream>

#include "platform/machine/atomic_file.h"
#include "platform/machine/ini_file.h"

namespace zov::machine {

namespace {

constexpr struct {
  char letter;
  std::uint32_t bit;
} kLetters[] = {{'R', kAttrReadOnly}, {'H', kAttrHidden}, {'S', kAttrSystem}, {'A', kAttrArchive}};

}  // namespace

AttributeStore::AttributeStore(std::filesystem::path file) : file_(std::move(file)) {
  std::ifstream in(file_, std::ios::binary);
  if (!in) return;
  std::string line;
  int lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    const auto space = line.find(' ');
    if (space == std::string::npos || space + 1 >= line.size()) {
      throw MachineFileError(file_, lineNo, "expected '<attributes> <path>'");
    }
    std::uint32_t bits = 0;
    for (char c : line.substr(0, space)) {
      bool known = false;
      for (const auto& l : kLetters) {
        if (c == l.letter) bits |= l.bit, known = true;
      }
      if (!known) throw MachineFileError(file_, lineNo, std::string("unknown attribute letter '") + c + "'");
    }
    attributes_[line.substr(space + 1)] = bits;
  }
}

std::uint32_t AttributeStore::get(const std::string& windowsPath) const {
  const auto it = attributes_.find(windowsPath);
  return it == attributes_.end() ? 0 : it->second;
}

void AttributeStore::set(const std::string& windowsPath, std::uint32_t attributes) {
  attributes &= kStoredAttributes;
  const auto it = attributes_.find(windowsPath);
  if (attributes == 0) {
    if (it == attributes_.end()) return;
    attributes_.erase(it);
  } else {
    if (it != attributes_.end() && it->second == attributes && it->first == windowsPath) return;
    if (it != attributes_.end()) attributes_.erase(it);
    attributes_[windowsPath] = attributes;
  }
  save();
}

void AttributeStore::forget(const std::string& windowsPath) {
  bool changed = false;
  const std::string prefix = windowsPath + "\\";
  for (auto it = attributes_.begin(); it != attributes_.end();) {
    const bool below = it->first.size() > prefix.size() && text::equalsNoCase(it->first.substr(0, prefix.size()), prefix);
    if (text::equalsNoCase(it->first, windowsPath) || below) {
      it = attributes_.erase(it);
      changed = true;
    } else {
      ++it;
    }
  }
  if (changed) save();
}

void AttributeStore::save() const {
  std::ostringstream o;
  o << "; DOS attributes of the machine's files: R read-only, H hidden, S system, A archive.\n";
  for (const auto& [path, bits] : attributes_) {
    for (const auto& l : kLetters) {
      if (bits & l.bit) o << l.letter;
    }
    o << ' ' << path << '\n';
  }
  writeFileAtomically(file_, o.str());
}

}  // namespace zov::machine
