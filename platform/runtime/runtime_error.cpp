#include "runtime_error.h"

namespace zov::runtime {

std::string ErrorDescription(int number) {
  switch (number) {
    case kInvalidProcedureCall: return "Invalid procedure call or argument";
    case kOverflow: return "Overflow";
    case kOutOfMemory: return "Out of memory";
    case kSubscriptOutOfRange: return "Subscript out of range";
    case kTypeMismatch: return "Type mismatch";
    case kBadFileNameOrNumber: return "Bad file name or number";
    case kFileNotFound: return "File not found";
    case kBadFileMode: return "Bad file mode";
    case kFileAlreadyOpen: return "File already open";
    case kDiskFull: return "Disk full";
    case kInputPastEndOfFile: return "Input past end of file";
    case kBadRecordNumber: return "Bad record number";
    case kTooManyFiles: return "Too many files";
    case kDeviceUnavailable: return "Device unavailable";
    case kPermissionDenied: return "Permission denied";
    case kDiskNotReady: return "Disk not ready";
    case kPathFileAccessError: return "Path/File access error";
    case kPathNotFound: return "Path not found";
    case kObjectNotSet: return "Object variable or With block variable not set";
    case kNoDdeResponse: return "No foreign application responded to a DDE initiate";
    case kDdeRefused: return "Foreign application won't perform DDE method or operation";
    case kDdeTimeout: return "Timeout occurred while waiting for DDE response";
    case kDdeNoChannel: return "DDE method invoked with no channel open";
    case kInvalidPropertyValue: return "Invalid property value";
    case kInvalidPropertyIndex: return "Invalid property array index";
    case kCannotCreateObject: return "ActiveX component can't create object";
    case kObjectDoesNotSupport: return "Object doesn't support this property or method";
    case kDllEntryPointNotFound: return "Specified DLL function not found";
    default: return "Application-defined or object-defined error";
  }
}

RuntimeError::RuntimeError(int number) : RuntimeError(number, ErrorDescription(number)) {}

RuntimeError::RuntimeError(int number, const std::string& description)
    : std::runtime_error("Run-time error '" + std::to_string(number) + "': " + description),
      number_(number),
      description_(description) {}

void Raise(int number) { throw RuntimeError(number); }

void End() { throw ProgramEnd{}; }

}  // namespace zov::runtime
