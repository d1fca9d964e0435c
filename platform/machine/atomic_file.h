// Writing a file so that it is never left half-written: a temporary file of
// its own unique name in the same folder ("<file>.~zovsave-XXXXXX", six
// letters or digits), flushed to disk, then renamed over the target, and the
// folder flushed, so that a host crash after the call keeps the new file.
// Several processes may write the same file at once; each one's rename is
// whole. A kill before the rename leaves the temporary file behind; the mark
// "~zovsave-" tells it from the files a user keeps beside it
// ("registry.reg.backup"), so that removing leftovers touches no other file.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string_view>

namespace zov::machine {

// The room left on the host disk that holds the machine folder, when a fault
// setting limits it: every byte the machine writes there uses it up, and a
// write that does not fit fails as a full disk does (ENOSPC).
struct HostDisk {
  std::optional<std::uint64_t> freeBytes;  // unlimited when not set
  // Takes `bytes` of the room; false (and nothing taken) when they do not fit.
  bool take(std::uint64_t bytes);
};

// Which version of a file is on disk: every replacement is a new file, so a
// change by anyone changes the identity.
struct FileIdentity {
  bool exists = false;
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t modified = 0;  // nanoseconds
  bool operator==(const FileIdentity&) const = default;
};

// The identity of the file now (exists is false when it is missing).
FileIdentity identityOf(const std::filesystem::path& file);
FileIdentity identityOf(int openFile);

// Replaces `file` with `content`; returns 0 or the errno of the failure, with
// the file as it was and no temporary file left. `written` receives the
// identity of the new file.
[[nodiscard]] int replaceFile(const std::filesystem::path& file, std::string_view content, HostDisk* disk = nullptr,
                              FileIdentity* written = nullptr);

// The same for tools and machine creation: throws std::runtime_error naming
// the file when it cannot be written.
void writeFileAtomically(const std::filesystem::path& file, std::string_view content);

// Removes the temporary files of `file` that replacements cut short by a
// kill left behind: only names of exactly the shape replaceFile makes. The
// caller makes sure that no replacement of `file` is under way.
void removeLeftoverTemporaries(const std::filesystem::path& file);

}  // namespace zov::machine
