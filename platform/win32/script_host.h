// Windows Script Host's shell object, "WScript.Shell", on the simulated
// machine: created by its ProgID like any automation object, it makes
// shortcut objects whose Save writes a Shell Link file (.lnk), and it names
// the user's special folders.
#pragma once

#include <memory>
#include <string>

#include "platform/runtime/runtime_error.h"

namespace zov::win32 {

// An automation object, used late-bound: the caller asks it for the
// interface it expects (Late below).
class AutomationObject {
 public:
  virtual ~AutomationObject() = default;
};

// Creates an object of the class that the machine's registry names for the
// ProgID (HKEY_CLASSES_ROOT\<ProgID>\CLSID). Error 429 when the machine has
// no such class.
std::shared_ptr<AutomationObject> CreateObject(const std::string& progId);

// The object as the interface T: error 91 when there is no object, 438 when
// it has not the properties and methods of T.
template <typename T>
T& Late(const std::shared_ptr<AutomationObject>& object) {
  if (!object) runtime::Raise(runtime::kObjectNotSet);
  auto* typed = dynamic_cast<T*>(object.get());
  if (!typed) runtime::Raise(runtime::kObjectDoesNotSupport);
  return *typed;
}

// A shortcut being made. The properties start empty (WindowStyle 1, a normal
// window); Save writes them to FullName, replacing a file that is there.
class WshShortcut : public AutomationObject {
 public:
  explicit WshShortcut(std::string fullName) : fullName_(std::move(fullName)) {}

  std::string TargetPath;
  std::string Arguments;
  std::int32_t WindowStyle = 1;
  // "path, index" or a bare path (index 0).
  std::string IconLocation;
  std::string Description;
  std::string WorkingDirectory;

  const std::string& FullName() const { return fullName_; }
  // Written into a new file beside FullName that then takes its place, so
  // that a shortcut that was there holds its old content or the new one. A
  // file that cannot be written (a refused path, a read-only or locked file,
  // a missing folder, a full disk) raises the automation error, and nothing
  // of it is left behind.
  void Save() const;

 private:
  std::string fullName_;
};

class WshShell : public AutomationObject {
 public:
  // A shortcut object for a path that ends in ".lnk"; another path raises
  // the automation error. Nothing is written before Save.
  std::shared_ptr<WshShortcut> CreateShortcut(const std::string& path) const;
  // The folder of a special folder's name ("Desktop", "Programs",
  // "MyDocuments", without case), without a trailing "\"; the empty text
  // for a name the machine does not know or a folder it cannot give.
  std::string SpecialFolders(const std::string& name) const;
};

// The error number of a failure reported by an automation object.
inline constexpr int kAutomationException = -2147352567;  // 0x80020009

}  // namespace zov::win32
