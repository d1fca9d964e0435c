#include "registry_store.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <map>
#include <unordered_map>
#include <utility>

#include "platform/machine/atomic_file.h"
#include "platform/machine/registry_file.h"
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
  const auto it = std::find_if(kRootNames.begin(), kRootNames.end(),
                               [&](std::string_view r) { return text::equalsNoCase(root, r); });
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

[[noreturn]] void throwFileError(const fs::path& file, const char* what, int err) {
  throw std::runtime_error(file.string() + ": " + what + ": " + std::strerror(err));
}

// The whole file; false when it does not exist.
bool readFile(const fs::path& file, std::string& text) {
  const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) {
    if (errno == ENOENT) return false;
    throwFileError(file, "cannot be read", errno);
  }
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
    const int err = ::fstat(fd, &st) != 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
    ::close(fd);
    throwFileError(file, "cannot be read", err);
  }
  text.resize(static_cast<std::size_t>(st.st_size));
  std::size_t done = 0;
  for (;;) {
    if (done == text.size()) text.resize(text.size() + 65536);  // room to see the end, or a file that grew
    const ssize_t n = ::read(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) {
      const int err = errno;
      ::close(fd);
      throwFileError(file, "cannot be read", err);
    }
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  ::close(fd);
  text.resize(done);
  return true;
}

}  // namespace

struct RegistryStore::Key {
  std::string name;  // as it was created
  // Keyed by upper-case name, so that the map's order is Windows' enumeration order.
  std::map<std::string, std::unique_ptr<Key>> subkeys;
  // The subkeys by index, rebuilt at the first enumeration after a change.
  mutable std::vector<const Key*> byIndex;
  mutable bool byIndexValid = true;
  std::vector<std::pair<std::string, RegistryValue>> values;  // in the order they were created
  std::unordered_map<std::string, std::size_t> valueIndex;    // upper-case name -> place in values

  Key* child(std::string_view childName) const {
    const auto it = subkeys.find(text::upper(childName));
    return it == subkeys.end() ? nullptr : it->second.get();
  }

  // The key below this one with every missing key on the way; `created` tells
  // whether one was missing.
  Key* make(const std::vector<std::string_view>& names, bool& created) {
    Key* key = this;
    created = false;
    for (std::string_view childName : names) {
      auto [it, added] = key->subkeys.try_emplace(text::upper(childName));
      if (added) {
        it->second = std::make_unique<Key>();
        it->second->name = childName;
        key->byIndexValid = false;
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

  void put(std::string valueName, RegistryValue value) {
    const auto [it, added] = valueIndex.try_emplace(text::upper(valueName), values.size());
    if (added) {
      values.emplace_back(std::move(valueName), std::move(value));
    } else {
      values[it->second].second = std::move(value);
    }
  }

  // This key's section, then its subkeys' in Windows order; `path` is this
  // key's full path and is given back unchanged.
  void appendTo(std::string& out, std::string& path, int codePage) const {
    for (const auto& [valueName, value] : values) appendValueComment(out, valueName, value, codePage);
    appendKeyLine(out, path);
    for (const auto& [valueName, value] : values) appendValueLines(out, valueName, value, codePage);
    out += '\n';
    for (const auto& entry : subkeys) {
      const std::size_t length = path.size();
      path += '\\';
      path += entry.second->name;
      entry.second->appendTo(out, path, codePage);
      path.resize(length);
    }
  }
};

RegistryStore::RegistryStore(fs::path file, int codePage) : file_(std::move(file)), codePage_(codePage) {
  if (!text::isSupportedCodePage(codePage)) {
    throw std::invalid_argument("registry: unsupported code page " + std::to_string(codePage));
  }
  for (std::string_view name : kRootNames) {
    roots_.push_back(std::make_unique<Key>());
    roots_.back()->name = name;
  }
}

RegistryStore::RegistryStore(RegistryStore&&) noexcept = default;
RegistryStore& RegistryStore::operator=(RegistryStore&&) noexcept = default;
RegistryStore::~RegistryStore() = default;

RegistryStore RegistryStore::load(fs::path file, int codePage) {
  std::string text;
  if (!readFile(file, text)) return RegistryStore(std::move(file), codePage);
  return fromText(text, std::move(file), codePage);
}

RegistryStore RegistryStore::fromText(std::string_view text, fs::path file, int codePage) {
  RegistryStore store(std::move(file), codePage);

  class Builder final : public RegistryTextSink {
   public:
    explicit Builder(RegistryStore& s) : store_(s) {}
    std::string key(std::string_view path) override {
      std::string reason = splitKeyPath(path, path_);
      bool created = false;
      if (reason.empty()) current_ = store_.roots_[path_.root]->make(path_.names, created);
      return reason;
    }
    void value(std::string name, RegistryValue value) override { current_->put(std::move(name), std::move(value)); }

   private:
    RegistryStore& store_;
    KeyPath path_;
    Key* current_ = nullptr;
  };

  Builder builder(store);
  readRegistryText(text, store.file_, codePage, builder);
  return store;
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

void RegistryStore::save() const { writeFileAtomically(file_, toText()); }

bool RegistryStore::keyExists(std::string_view keyPath) const { return find(keyPath) != nullptr; }

bool RegistryStore::createKey(std::string_view keyPath) {
  KeyPath path;
  if (!splitKeyPath(keyPath, path).empty()) return false;
  bool created = false;
  roots_[path.root]->make(path.names, created);
  if (created) save();
  return true;
}

RegistryStore::DeleteResult RegistryStore::deleteKey(std::string_view keyPath) {
  KeyPath path;
  if (!splitKeyPath(keyPath, path).empty()) return DeleteResult::NotFound;
  if (path.names.empty()) return DeleteResult::IsRoot;
  Key* parent = roots_[path.root].get();
  for (std::size_t i = 0; parent && i + 1 < path.names.size(); ++i) parent = parent->child(path.names[i]);
  if (!parent) return DeleteResult::NotFound;
  const auto it = parent->subkeys.find(text::upper(path.names.back()));
  if (it == parent->subkeys.end()) return DeleteResult::NotFound;
  if (!it->second->subkeys.empty()) return DeleteResult::HasSubkeys;
  parent->subkeys.erase(it);
  parent->byIndexValid = false;
  save();
  return DeleteResult::Deleted;
}

const RegistryValue* RegistryStore::value(std::string_view keyPath, std::string_view name) const {
  const Key* key = find(keyPath);
  if (!key) return nullptr;
  const auto it = key->valueIndex.find(text::upper(name));
  return it == key->valueIndex.end() ? nullptr : &key->values[it->second].second;
}

bool RegistryStore::setValue(std::string_view keyPath, std::string_view name, RegistryValue value) {
  Key* key = find(keyPath);
  if (!key || !isStorableName(name)) return false;
  key->put(std::string(name), std::move(value));
  save();
  return true;
}

bool RegistryStore::deleteValue(std::string_view keyPath, std::string_view name) {
  Key* key = find(keyPath);
  if (!key) return false;
  const auto it = key->valueIndex.find(text::upper(name));
  if (it == key->valueIndex.end()) return false;
  const std::size_t place = it->second;
  key->valueIndex.erase(it);
  key->values.erase(key->values.begin() + static_cast<std::ptrdiff_t>(place));
  for (auto& entry : key->valueIndex) {
    if (entry.second > place) --entry.second;
  }
  save();
  return true;
}

std::vector<std::string> RegistryStore::subkeyNames(std::string_view keyPath) const {
  std::vector<std::string> names;
  if (const Key* key = find(keyPath)) {
    names.reserve(key->subkeys.size());
    for (const auto& entry : key->subkeys) names.push_back(entry.second->name);
  }
  return names;
}

std::optional<std::string> RegistryStore::subkeyName(std::string_view keyPath, std::size_t index) const {
  const Key* key = find(keyPath);
  if (!key) return std::nullopt;
  const auto& ordered = key->ordered();
  if (index >= ordered.size()) return std::nullopt;
  return ordered[index]->name;
}

std::vector<std::string> RegistryStore::valueNames(std::string_view keyPath) const {
  std::vector<std::string> names;
  if (const Key* key = find(keyPath)) {
    names.reserve(key->values.size());
    for (const auto& entry : key->values) names.push_back(entry.first);
  }
  return names;
}

const fs::path& RegistryStore::file() const { return file_; }

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
