// Run-time errors of the language runtime. A run-time error is an exception
// carrying the runtime's error number and description. Code that "ignores
// errors" runs each statement through IgnoreErrors; an error trap is a
// handler around the procedure.
#pragma once

#include <stdexcept>
#include <string>

namespace zov::runtime {

// Error numbers that the runtime raises.
enum ErrorNumber : int {
  kInvalidProcedureCall = 5,
  kOverflow = 6,
  kOutOfMemory = 7,
  kSubscriptOutOfRange = 9,
  kTypeMismatch = 13,
  kBadFileNameOrNumber = 52,
  kFileNotFound = 53,
  kBadFileMode = 54,
  kFileAlreadyOpen = 55,
  kDiskFull = 61,
  kInputPastEndOfFile = 62,
  kBadRecordNumber = 63,
  kTooManyFiles = 67,
  kDeviceUnavailable = 68,
  kPermissionDenied = 70,
  kDiskNotReady = 71,
  kPathFileAccessError = 75,
  kPathNotFound = 76,
  kObjectNotSet = 91,
  kNoDdeResponse = 282,
  kDdeRefused = 285,
  kDdeTimeout = 286,
  kDdeNoChannel = 293,
  kInvalidPropertyValue = 380,
  kInvalidPropertyIndex = 381,
  kCannotCreateObject = 429,
  kObjectDoesNotSupport = 438,
  kDllEntryPointNotFound = 453,
};

class RuntimeError : public std::runtime_error {
 public:
  explicit RuntimeError(int number);
  RuntimeError(int number, const std::string& description);
  int number() const { return number_; }
  const std::string& description() const { return description_; }

 private:
  int number_;
  std::string description_;
};

// The runtime's description of an error number.
std::string ErrorDescription(int number);

[[noreturn]] void Raise(int number);

// Thrown by End: the program stops at once. It is not a run-time error, so
// no error handling of the program stops it.
struct ProgramEnd {};
[[noreturn]] void End();

// Runs one statement with run-time errors ignored. Returns false when it failed.
template <typename F>
bool IgnoreErrors(F&& statement) {
  try {
    statement();
    return true;
  } catch (const RuntimeError&) {
    return false;
  }
}

}  // namespace zov::runtime
