#include "registry_store.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>

#include "platform/machine/registry_file.h"
#include "platform/machine/windows_errors.h"
#include "platform/text/ansi.h"
#include "platform/text/case_map.h"
#include "platform/text/utf8.h"

namespace zov::machine {

namespace fs = std::filesystem;

namespace {

constexpr std::array<std::string_view, 5> kRootNames = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                                        "HKEY_USERS", "HKEY_CURRENT_CONFIG"};
// Windows' limit on the depth of the key tree; it also bounds the recursion
// of saving and destroying a tree read from a file.
constexpr std::size_t kMaxDepth = 512;

// A name that the registry file can hold.
bool isStorableName(std::string_view name) {
  return std::none_of(name.begin(), name.end(), [](char c) { return c == '\0' || c == '\r' || c == '\n'; }) &&
         text::isValid(name);
}

struct KeyPath {
  std::size_t root = 0;
  std::vector<std::string_view> names;
};

// Splits "ROOT\name\name"; returns "" when it is a key path, else the reason it is not.
std::string splitKeyPath(std::string_view path, KeyPath& out) {
  const auto slash = path.find('\\');
  const std::string_view root = path.substr(0, slash);
  // The root names are in upper case already.
  const auto it = std::find(kRootNames.begin(), kRootNames.end(), text::upper(root));
  if (it == kRootNames.end()) return "unknown root key \"" + std::string(root) + "\"";
  out.root = static_cast<std::size_t>(it - kRootNames.begin());
  out.names.clear();
  if (slash == std::string_view::npos) return {};
  std::string_view rest = path.substr(slash + 1);
  for (;;) {
    const auto next = rest.find('\\');
    const std::string_view name = rest.substr(0, next);
    if (name.empty()) return "an empty key name in the key path";
    if (!isStorableName(name)) return "a key name that is not UTF-8 text or holds a NUL, CR or LF";
    if (out.names.size() == kMaxDepth) return "the key path is deeper than 512 levels";
    out.names.push_back(name);
    if (next == std::string_view::npos) return {};
    rest.remove_prefix(next + 1);
  }
}

// The Windows code of a failed save.
std::uint32_t saveError(int err) { return err == ENOSPC || err == EDQUOT ? kErrorDiskFull : kErrorRegistryIoFailed; }

}  // namespace

// The text of a file that keys read from it keep until their values are built.
struct RegistryStore::Source {
  std::string text;
  int codePage;
};

struct RegistryStore::Key {
  std::string name;  // as it was created
  // Keyed by upper-case name, so that the map's order is Windows' enumeration order.
  std::map<std::string, std::unique_ptr<Key>> subkeys;
  // The subkeys by index, rebuilt at the first enumeration after a change.
  mutable std::vector<const Key*> byIndex;
  mutable bool byIndexValid = true;
  // The values in the order they were created, and their index by upper-case
  // name. A key read from the file has its values checked but not built: they
  // are built and indexed at the key's first use, which keeps loading a large
  // registry quick. Until then `lines` holds them (each piece the value lines
  // under one of the key's [key] lines) and a name may stand twice.
  mutable std::shared_ptr<const Source> source;
  mutable std::vector<std::string_view> lines;
  mutable std::vector<std::pair<std::string, RegistryValue>> values;
  mutable std::unordered_map<std::string, std::size_t> valueIndex;
  mutable bool indexed = true;
  // This key's section of the file, kept between saves until its values change.
  mutable std::string section;
  mutable bool sectionValid = false;

  // Builds the values read from the file and indexes them; a name that stood
  // twice keeps its first place and its last data.
  const std::unordered_map<std::string, std::size_t>& index() const {
    if (!lines.empty()) {
      for (std::string_view valueLines : lines) readRegistryValues(valueLines, source->codePage, values);
      lines.clear();
      lines.shrink_to_fit();
      source.reset();
    }
    if (!indexed) {
      valueIndex.clear();
      std::size_t kept = 0;
      for (std::size_t i = 0; i < values.size(); ++i) {
        const auto [it, added] = valueIndex.try_emplace(text::upper(values[i].first), kept);
        if (!added) {
          values[it->second].second = std::move(values[i].second);
          continue;
        }
        if (kept != i) values[kept] = std::move(values[i]);
        ++kept;
      }
      values.resize(kept);
      indexed = true;
    }
    return valueIndex;
  }

  Key* child(std::string_view childName) const {
    const auto it = subkeys.find(text::upper(childName));
    return it == subkeys.end() ? nullptr : it->second.get();
  }

  // The key below this one with every missing key on the way; `undo`, when
  // given, receives what removes the keys that were missing.
  Key* make(const std::vector<std::string_view>& names, Undo* undo = nullptr) {
    Key* key = this;
    bool created = false;
    for (std::string_view childName : names) {
      auto [it, added] = key->subkeys.try_emplace(text::upper(childName));
      if (added) {
        it->second = std::make_unique<Key>();
        it->second->name = childName;
        key->byIndexValid = false;
        if (undo && !created) {
          *undo = [key, upperName = it->first] {
            key->subkeys.erase(upperName);
            key->byIndexValid = false;
          };
        }
        created = true;
      }
      key = it->second.get();
    }
    return key;
  }

  const std::vector<const Key*>& ordered() const {
    if (!byIndexValid) {
      byIndex.clear();
      byIndex.reserve(subkeys.size());
      for (const auto& entry : subkeys) byIndex.push_back(entry.second.get());
      byIndexValid = true;
    }
    return byIndex;
  }

  // Sets a value; `undo`, when given, receives what sets it back.
  void put(std::string valueName, RegistryValue value, Undo* undo = nullptr) {
    index();
    sectionValid = false;
    const auto [it, added] = valueIndex.try_emplace(text::upper(valueName), values.size());
    if (added) {
      values.emplace_back(std::move(valueName), std::move(value));
      if (undo) {
        *undo = [this, upperName = it->first] {
          valueIndex.erase(upperName);
          values.pop_back();
          sectionValid = false;
        };
      }
    } else {
      RegistryValue& stored = values[it->second].second;
      if (undo) {
        *undo = [this, &stored, old = stored] {
          stored = old;
          sectionValid = false;
        };
      }
      stored = std::move(value);
    }
  }

  // Removes the value at `place`; `undo` receives what puts it back there.
  void remove(std::size_t place, Undo& undo) {
    sectionValid = false;
    auto removed = std::make_shared<std::pair<std::string, RegistryValue>>(std::move(values[place]));
    valueIndex.erase(text::upper(removed->first));
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(place));
    for (auto& entry : valueIndex) {
      if (entry.second > place) --entry.second;
    }
    undo = [this, place, removed] {
      for (auto& entry : valueIndex) {
        if (entry.second >= place) ++entry.second;
      }
      valueIndex.emplace(text::upper(removed->first), place);
      values.insert(values.begin() + static_cast<std::ptrdiff_t>(place), *removed);
      sectionValid = false;
    };
  }

  // This key's section, then its subkeys' in Windows order; `path` is this
  // key's full path and is given back unchanged.
  void appendTo(std::string& out, std::string& path, int codePage) const {
    if (!sectionValid) {
      index();
      section.clear();
      appendKeyLine(section, path);
      for (const auto& [valueName, value] : values) appendValueLines(section, valueName, value, codePage);
      section += '\n';
      sectionValid = true;
    }
    out += section;
    for (const auto& entry : subkeys) {
      const std::size_t length = path.size();
      path += '\\';
      path += entry.second->name;
      entry.second->appendTo(out, path, codePage);
      path.resize(length);
    }
  }
};

RegistryStore::RegistryStore(fs::path file, int codePage, HostDisk* disk)
    : file_(std::move(file), disk), codePage_(codePage), roots_(emptyRoots()) {
  if (!text::isSupportedCodePage(codePage)) {
    throw std::invalid_argument("registry: unsupported code page " + std::to_string(codePage));
  }
}

RegistryStore::RegistryStore(RegistryStore&&) noexcept = default;
RegistryStore& RegistryStore::operator=(RegistryStore&&) noexcept = default;
RegistryStore::~RegistryStore() = default;

RegistryStore::Roots RegistryStore::emptyRoots() {
  Roots roots;
  for (std::string_view name : kRootNames) {
    roots.push_back(std::make_unique<Key>());
    roots.back()->name = name;
  }
  return roots;
}

RegistryStore RegistryStore::load(fs::path file, int codePage, HostDisk* disk) {
  RegistryStore store(std::move(file), codePage, disk);
  std::string text;
  int err = 0;
  const bool exists = store.file_.read(text, err);
  if (err) throw std::runtime_error(store.file().string() + ": cannot be read: " + std::strerror(err));
  if (exists) store.roots_ = parse(std::move(text), store.file(), codePage);
  store.file_.accept();
  return store;
}

RegistryStore RegistryStore::fromText(std::string_view text, fs::path file, int codePage) {
  RegistryStore store(std::move(file), codePage, nullptr);
  store.roots_ = parse(std::string(text), store.file(), codePage);
  store.file_.adopt();
  return store;
}

RegistryStore::Roots RegistryStore::parse(std::string text, const fs::path& file, int codePage) {
  class Builder final : public RegistryTextSink {
   public:
    Builder(Roots& roots, std::shared_ptr<const Source> source) : roots_(roots), source_(std::move(source)) {}
    std::string key(std::string_view path) override {
      std::string reason = splitKeyPath(path, path_);
      if (reason.empty()) current_ = roots_[path_.root]->make(path_.names);
      return reason;
    }
    void values(std::string_view lines) override {
      if (current_->lines.empty()) current_->source = source_;
      current_->lines.push_back(lines);
      current_->indexed = false;
      current_->sectionValid = false;
    }

   private:
    Roots& roots_;
    std::shared_ptr<const Source> source_;
    KeyPath path_;
    Key* current_ = nullptr;
  };

  Roots roots = emptyRoots();
  auto source = std::make_shared<const Source>(Source{std::move(text), codePage});
  Builder builder(roots, source);
  readRegistryText(source->text, file, codePage, builder);
  return roots;
}

std::uint32_t RegistryStore::reload() const {
  if (!file_.changed()) return kErrorSuccess;
  std::string text;
  int err = 0;
  const bool exists = file_.read(text, err);
  if (err) return kErrorRegistryIoFailed;
  try {
    roots_ = exists ? parse(std::move(text), file(), codePage_) : emptyRoots();
  } catch (const RegistryFileError&) {
    return kErrorRegistryCorrupt;
  } catch (const std::bad_alloc&) {
    return kErrorNotEnoughMemory;
  }
  file_.accept();
  return kErrorSuccess;
}

RegistryResult RegistryStore::change(const std::function<std::uint32_t(Undo&)>& apply) {
  const SharedFile::Lock lock(file_);
  if (lock.error()) return {saveError(lock.error())};
  if (const std::uint32_t e = reload()) return {e};
  Undo undo;
  if (const std::uint32_t e = apply(undo)) return {e};
  if (!undo) return {};  // nothing changed
  std::string text;
  try {
    text = toText();
  } catch (const std::bad_alloc&) {
    undo();
    return {kErrorNotEnoughMemory};
  }
  if (const int err = file_.write(text)) {
    undo();
    return {saveError(err)};
  }
  return {};
}

const RegistryStore::Key* RegistryStore::find(std::string_view keyPath) const {
  KeyPath path;
  if (!splitKeyPath(keyPath, path).empty()) return nullptr;
  const Key* key = roots_[path.root].get();
  for (std::size_t i = 0; key && i < path.names.size(); ++i) key = key->child(path.names[i]);
  return key;
}

RegistryStore::Key* RegistryStore::find(std::string_view keyPath) {
  return const_cast<Key*>(std::as_const(*this).find(keyPath));
}

bool RegistryStore::keyExists(std::string_view keyPath) const {
  reload();
  return find(keyPath) != nullptr;
}

RegistryResult RegistryStore::createKey(std::string_view keyPath) {
  KeyPath path;
  if (!splitKeyPath(keyPath, path).empty()) return {kErrorInvalidParameter};
  return change([&](Undo& undo) {
    roots_[path.root]->make(path.names, &undo);
    return kErrorSuccess;
  });
}

RegistryResult RegistryStore::deleteKey(std::string_view keyPath) {
  KeyPath path;
  if (!splitKeyPath(keyPath, path).empty()) return {kErrorFileNotFound};
  if (path.names.empty()) return {kErrorAccessDenied};
  return change([&](Undo& undo) {
    Key* parent = roots_[path.root].get();
    for (std::size_t i = 0; parent && i + 1 < path.names.size(); ++i) parent = parent->child(path.names[i]);
    if (!parent) return kErrorFileNotFound;
    const auto it = parent->subkeys.find(text::upper(path.names.back()));
    if (it == parent->subkeys.end()) return kErrorFileNotFound;
    if (!it->second->subkeys.empty()) return kErrorAccessDenied;
    auto removed = std::make_shared<decltype(parent->subkeys)::node_type>(parent->subkeys.extract(it));
    parent->byIndexValid = false;
    undo = [parent, removed] {
      parent->subkeys.insert(std::move(*removed));
      parent->byIndexValid = false;
    };
    return kErrorSuccess;
  });
}

const RegistryValue* RegistryStore::value(std::string_view keyPath, std::string_view name) const {
  reload();
  const Key* key = find(keyPath);
  if (!key) return nullptr;
  const auto& index = key->index();
  const auto it = index.find(text::upper(name));
  return it == index.end() ? nullptr : &key->values[it->second].second;
}

RegistryResult RegistryStore::setValue(std::string_view keyPath, std::string_view name, RegistryValue value) {
  if (!isStorableName(name)) return {kErrorInvalidParameter};
  return change([&](Undo& undo) {
    Key* key = find(keyPath);
    if (!key) return kErrorFileNotFound;
    key->put(std::string(name), std::move(value), &undo);
    return kErrorSuccess;
  });
}

RegistryResult RegistryStore::deleteValue(std::string_view keyPath, std::string_view name) {
  return change([&](Undo& undo) {
    Key* key = find(keyPath);
    if (!key) return kErrorFileNotFound;
    const auto& index = key->index();
    const auto it = index.find(text::upper(name));
    if (it == index.end()) return kErrorFileNotFound;
    key->remove(it->second, undo);
    return kErrorSuccess;
  });
}

std::vector<std::string> RegistryStore::subkeyNames(std::string_view keyPath) const {
  reload();
  std::vector<std::string> names;
  if (const Key* key = find(keyPath)) {
    names.reserve(key->subkeys.size());
    for (const auto& entry : key->subkeys) names.push_back(entry.second->name);
  }
  return names;
}

std::optional<std::string> RegistryStore::subkeyName(std::string_view keyPath, std::size_t index) const {
  reload();
  const Key* key = find(keyPath);
  if (!key) return std::nullopt;
  const auto& ordered = key->ordered();
  if (index >= ordered.size()) return std::nullopt;
  return ordered[index]->name;
}

std::vector<std::string> RegistryStore::valueNames(std::string_view keyPath) const {
  reload();
  std::vector<std::string> names;
  if (const Key* key = find(keyPath)) {
    key->index();
    names.reserve(key->values.size());
    for (const auto& entry : key->values) names.push_back(entry.first);
  }
  return names;
}

const fs::path& RegistryStore::file() const { return file_.path(); }

std::string RegistryStore::toText() const {
  std::string out;
  appendRegistryHeader(out);
  std::string path;
  for (const auto& root : roots_) {
    path = root->name;
    root->appendTo(out, path, codePage_);
  }
  return out;
}

}  // namespace zov::machine
