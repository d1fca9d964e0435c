// Copies one member of the payload out of the installer's own file into a
// temporary file, byte for byte, through one buffer of the member's length.
#include <cstdint>
#include <limits>
#include <new>
#include <vector>

#include "localisation/translate_text.h"
#include "platform/runtime/app.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "wizard/form1.h"

namespace zov {

namespace {

using runtime::Trim;

// A 32-bit signed value, or the runtime's overflow error.
std::int32_t checked(std::int64_t value) {
  if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max()) {
    runtime::Raise(runtime::kOverflow);
  }
  return static_cast<std::int32_t>(value);
}

// The buffer with the positions 1 to length: none below 1, as the runtime
// refuses such an array.
std::vector<std::uint8_t> memberBuffer(std::int32_t length) {
  if (length < 1) runtime::Raise(runtime::kSubscriptOutOfRange);
  try {
    return std::vector<std::uint8_t>(static_cast<std::size_t>(length));
  } catch (const std::bad_alloc&) {
    runtime::Raise(runtime::kOutOfMemory);
  }
}

// An ordinary file (not hidden, system or a folder) at the trimmed path.
bool listed(const std::string& path) {
  bool found = false;
  runtime::IgnoreErrors([&] { found = !Trim(path).empty() && !runtime::Dir(Trim(path), runtime::vbNormal).empty(); });
  return found;
}

// An old file still at the path when the member is written (hidden or
// system, so that the look for an old file did not see it, or one that could
// not be deleted as it was) is a leftover of the installer's own: it loses
// its attributes and goes, so that the member lands in a new file that holds
// its bytes alone. One that stays (held by another program) fails the open.
void removeLeftover(const std::string& path) {
  bool there = false;
  runtime::IgnoreErrors([&] { there = !path.empty() && !runtime::Dir(path, runtime::vbHidden | runtime::vbSystem).empty(); });
  if (!there) return;
  runtime::IgnoreErrors([&] { runtime::SetAttr(path, runtime::vbNormal); });
  runtime::IgnoreErrors([&] { runtime::Kill(path); });
}

}  // namespace

bool Form1Window::ExtractMember(const std::string& Source, const std::string& Dest, const std::int32_t& Length,
                                const std::int32_t& EndGap) {
  // An old file of that name goes first; a failure here only earns a box.
  if (listed(Dest)) {
    runtime::IgnoreErrors([&] { runtime::Kill(Trim(Dest)); });
    runtime::IgnoreErrors([this] { InstallDoEvents(); });
    if (listed(Dest)) ui::MsgBox(TranslateText("Couldn't delete the file ") + Trim(Dest), 48, std::string("ZOV"));
  }

  int source = 0;  // file numbers, 0 while not open
  int dest = 0;
  try {
    std::vector<std::uint8_t> buffer = memberBuffer(Length);
    const int s = runtime::FreeFile();
    // Other readers may share the running installer's own file.
    runtime::Open(Trim(Source), runtime::OpenMode::Binary, s, runtime::OpenAccess::Read, runtime::OpenLock::LockWrite);
    source = s;
    removeLeftover(Trim(Dest));
    const int d = runtime::FreeFile();
    runtime::Open(Trim(Dest), runtime::OpenMode::Binary, d, runtime::OpenAccess::ReadWrite,
                  runtime::OpenLock::LockReadWrite);
    dest = d;

    const std::int32_t fileLength = checked(runtime::Lof(source));
    // Worked out from left to right, each step in 32 bits.
    std::int32_t start = checked(std::int64_t{fileLength} - EndGap);
    start = checked(std::int64_t{start} - Length);
    start = checked(std::int64_t{start} + 1);
    if (start < 1) {
      // The read from below position 1 that follows is refused.
      ui::MsgBox(TranslateText("Installation file is not complete! You should download the whole installation file "
                               "to install ZOV."),
                 48, std::string("ZOV"));
    } else if (std::int64_t{start} - 1 + Length > fileLength) {
      // Only a negative EndGap gets here: the member would run past the end.
      runtime::Raise(runtime::kInputPastEndOfFile);
    }
    runtime::Get(source, start, buffer);
    runtime::Put(dest, 1, buffer);
    // An old file that could not be removed, but could be opened, must not
    // leave its tail behind the member: that would be a member it is not.
    if (runtime::Lof(dest) != Length) runtime::Raise(runtime::kPathFileAccessError);
    runtime::Close(dest);
    runtime::Close(source);
    return true;
  } catch (const runtime::RuntimeError& error) {
    if (source) runtime::Close(source);
    if (dest) runtime::Close(dest);
    const std::string leadIn = TranslateText("Error in Extract File - ");
    const std::string fileText = TranslateText(" : File '");
    const std::string title = TranslateText("Error");
    ui::MsgBox(leadIn + std::to_string(error.number()) + fileText + Trim(Dest) + "' could not be written!" +
                   error.description(),
               4144, title);
    return false;
  }
}

}  // namespace zov
