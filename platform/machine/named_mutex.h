// The machine's named mutexes: a name that one program at a time holds, from
// the moment it takes it until it lets it go or ends, however it ends. Each
// is an exclusive lock on a file of the machine folder, "<name>.mutex" (each
// character of the name other than a letter, a digit, '.', '-' or '_' as
// '_'), opened through no link; the host releases the lock with the process.
#pragma once

#include <filesystem>
#include <string>

#include "platform/machine/fd.h"

namespace zov::machine {

class NamedMutex {
 public:
  // Takes the name unless another program holds it.
  NamedMutex(const std::filesystem::path& machineFolder, const std::string& name);

  // True when this object holds the name.
  bool held() const { return static_cast<bool>(lock_); }
  // True when another program holds it. Neither is true when the lock file
  // cannot be opened or locked.
  bool heldElsewhere() const { return heldElsewhere_; }

 private:
  Fd lock_;
  bool heldElsewhere_ = false;
};

}  // namespace zov::machine
