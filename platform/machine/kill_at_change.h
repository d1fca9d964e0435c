// The fault setting KillAtChange: the program is killed (SIGKILL) at its Nth
// change of the machine's files, so that a test can stop it at any chosen
// change and look at what a kill there leaves. A change is a file or folder
// created, emptied, written, renamed or deleted on a drive, and each step of
// a save of the machine's own files (the temporary file made, written,
// renamed over the file).
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>

namespace zov::machine {

// Arms the kill at the `change`th change from now on (none: never), counting afresh.
void killAtChange(std::optional<std::uint64_t> change);

// Counts the change the caller is about to make. When it is the armed one,
// `partly` (when given) makes part of it first, as a write that a kill cuts
// short, and the program is killed.
void beforeChange(const std::function<void()>& partly = {});

}  // namespace zov::machine
