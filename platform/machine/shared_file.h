// A state file of the machine (registry.reg, attributes) that several
// processes change at once. A change is made under an exclusive lock on
// "<file>.lock", on the file's latest content (re-read when another process
// replaced it since), and written through replaceFile, so that no process
// loses what another one wrote.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

#include "platform/machine/atomic_file.h"

namespace zov::machine {

class SharedFile {
 public:
  explicit SharedFile(std::filesystem::path file, HostDisk* disk = nullptr);

  const std::filesystem::path& path() const { return file_; }

  // Holds the lock for one change while it lives; error() is the errno when
  // the lock could not be had.
  class Lock {
   public:
    explicit Lock(const SharedFile& file);
    ~Lock();
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;
    int error() const { return error_; }

   private:
    int fd_ = -1;
    int error_ = 0;
  };

  // True when the file on disk is not the one last read or written here.
  bool changed() const;
  // Reads the whole file; false when it does not exist. Returns the errno in
  // `error` when it cannot be read.
  bool read(std::string& text, int& error);
  // Takes what read() read as the version now in memory.
  void accept() { seen_ = read_; }
  // Takes the file as it is on disk now as the version in memory, which then
  // replaces it at the next write.
  void adopt() { seen_ = identityOf(file_); }
  // Replaces the file (see replaceFile) and remembers it as seen. Called
  // under the lock: it first removes what earlier saves cut short by a kill
  // left behind (their temporary files; only a save under the lock makes
  // one, so while it is held every one that is there is stale).
  [[nodiscard]] int write(std::string_view content);
  // Takes the lock and removes those leftovers without a save; nothing when
  // the lock cannot be had. Not while this process holds the lock.
  void removeLeftovers() const;

 private:
  std::filesystem::path file_;
  HostDisk* disk_;
  FileIdentity seen_;
  FileIdentity read_;
};

}  // namespace zov::machine
