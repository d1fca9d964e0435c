#include "services/expand_files.h"

#include <array>

#include "localisation/contact_addresses.h"
#include "localisation/translate_text.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "platform/win32/kernel.h"
#include "platform/win32/lz_expand.h"
#include "services/new_file_beside.h"
#include "services/path_exists.h"

namespace zov {

namespace {

// OK, exclamation, system modal.
constexpr int kErrorBoxStyle = 4144;
constexpr const char* kErrorBoxTitle = "ExpandFile - Error!";

struct OpenFailure {
  std::uint16_t dosCode;
  std::int32_t code;
  const char* message;
  bool namesPath;  // the trimmed path and "'" follow the message
};

constexpr std::array<OpenFailure, 15> kOpenFailures{{
    {2, -1, "File not found : '", true},
    {3, -2, "Invalid path : '", true},
    {4, -3, "Too many files opened!", false},
    {5, -4, "Couldn't access to file : '", true},
    {8, -5, "Insufficient memory!", false},
    {11, -6, "Invalid file format : '", true},
    {15, -7, "Invalid drive : '", true},
    {19, -8, "Couldn't write to file : '", true},
    {21, -9, "Drive is not ready! : '", true},
    {23, -10, "CRC file error : '", true},
    {27, -11, "Couldn't find the file sector : '", true},
    {32, -12, "File in use : '", true},
    {54, -13, "Couldn't read from computer : '", true},
    {65, -14, "Access denied : '", true},
    {80, -15, "File already exists : '", true},
}};
// Any other DOS code (the DOS code of this row is not used).
constexpr OpenFailure kUnknownOpenFailure{0, -16, "Unknown error : '", true};

// The reason line of the copy-failure box for LZCopy's result.
std::string CopyFailureReason(std::int32_t copied) {
  switch (copied) {
    case lz::LZERROR_BADINHANDLE: return "Invalid handle number for the source file.";
    case lz::LZERROR_BADOUTHANDLE: return "Invalid handle number for the destionation file.";
    case lz::LZERROR_READ: return "Invalid source file format.";
    case lz::LZERROR_GLOBALLOC: return "Insufficient memory.";
    case lz::LZERROR_UNKNOWNALG: return "Compression algoritm of the source file is not supported.";
    default: return "";
  }
}

void ShowCopyFailure(std::int32_t copied, const std::string& source) {
  const std::string text = TranslateText("Error in ExpandFile: Couldn't decompress the file! ") +
                           CopyFailureReason(copied) + runtime::vbCrLf + runtime::vbCrLf + runtime::Trim(source) +
                           runtime::vbCrLf + runtime::vbCrLf + TranslateText(SupportLine());
  ui::MsgBox(runtime::Trim(text), kErrorBoxStyle, std::string(kErrorBoxTitle));
}

// The code of a failed file operation of the kernel, as a failed open gives it.
std::int32_t failedFileCode() { return MapLZOpenError(-1, static_cast<std::uint16_t>(win32::GetLastError())); }

// Closes what is open when the expansion ends, however it ends: the source
// first, then the destination.
class OpenHandles {
 public:
  OpenHandles() = default;
  OpenHandles(const OpenHandles&) = delete;
  OpenHandles& operator=(const OpenHandles&) = delete;
  ~OpenHandles() {
    if (source >= 0) win32::LZClose(source);
    if (destination >= 0) win32::LZClose(destination);
  }
  std::int32_t source = -1;
  std::int32_t destination = -1;
};

}  // namespace

std::int32_t MapLZOpenError(std::int32_t handle, std::uint16_t errorCode) {
  if (handle >= 0) return 0;
  for (const OpenFailure& failure : kOpenFailures) {
    if (failure.dosCode == errorCode) return failure.code;
  }
  return kUnknownOpenFailure.code;
}

void ShowExpandError(std::int32_t code, const std::string& path) {
  const OpenFailure* row = code == kUnknownOpenFailure.code ? &kUnknownOpenFailure : nullptr;
  for (const OpenFailure& failure : kOpenFailures) {
    if (failure.code == code) row = &failure;
  }
  if (!row) return;
  const std::string message = row->namesPath ? row->message + runtime::Trim(path) + "'" : row->message;
  ui::MsgBox(message, kErrorBoxStyle, std::string(kErrorBoxTitle));
}

std::int32_t ExpandFile(const std::string& source, const std::string& destination, bool showErrors) {
  OpenHandles open;
  win32::OFSTRUCT sourceRecord{};
  open.source = win32::LZOpenFileA(runtime::Trim(source), sourceRecord, win32::OF_READ);
  std::int32_t code = MapLZOpenError(open.source, sourceRecord.nErrCode);
  if (code < 0) {
    if (showErrors) ShowExpandError(code, source);
    return code;
  }
  // A file that is there is replaced only by a whole new one: the expansion
  // goes into a new file beside it, which takes its place once complete, so
  // that a failure leaves the old file as it was. A new file is written in place.
  const std::string target = runtime::Trim(destination);
  const bool replaces = PathExists(target, runtime::vbHidden | runtime::vbSystem);
  const std::string written = replaces ? NewFileBeside(target) : target;
  // Takes the new file away again when it is not to replace the old one.
  auto discard = [&] {
    if (!replaces || written.empty()) return;
    if (open.destination >= 0) win32::LZClose(open.destination);
    open.destination = -1;
    runtime::IgnoreErrors([&] { runtime::Kill(written); });
  };
  auto fail = [&](std::int32_t failure) {
    discard();
    if (showErrors) ShowExpandError(failure, destination);
    return failure;
  };
  if (written.empty()) return fail(failedFileCode());
  win32::OFSTRUCT destinationRecord{};
  open.destination = win32::LZOpenFileA(written, destinationRecord, win32::OF_CREATE);
  code = MapLZOpenError(open.destination, destinationRecord.nErrCode);
  if (code < 0) return fail(code);
  const std::int32_t copied = win32::LZCopy(open.source, open.destination);
  if (copied <= 0) {
    discard();
    if (showErrors) ShowCopyFailure(copied, source);
    return copied * 100;
  }
  if (replaces) {
    // The source stays open meanwhile: a file is not expanded onto itself.
    win32::LZClose(open.destination);
    open.destination = -1;
    if (!win32::MoveFileExA(written, target, win32::MOVEFILE_REPLACE_EXISTING | win32::MOVEFILE_WRITE_THROUGH)) {
      return fail(failedFileCode());
    }
  }
  return copied;
}

}  // namespace zov
