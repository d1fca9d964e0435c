// Windows kernel, account and process functions, on the simulated machine.
// Text buffers are texts of a given length (see ansi_buffer.h); results and
// error behaviour are those that the installer relies on.
#pragma once

#include <string>

#include "platform/win32/types.h"

namespace zov::win32 {

// Writes the temporary folder (with a trailing "\") into the first
// `bufferLength` bytes; returns its length, or the size it needs (NUL
// included) when it does not fit, leaving the buffer unchanged; 0 on failure.
DWORD GetTempPathA(DWORD bufferLength, std::string& buffer);
// The same for the Windows folder and the system folder (no trailing "\").
DWORD GetWindowsDirectoryA(std::string& buffer, DWORD size);
DWORD GetSystemDirectoryA(std::string& buffer, DWORD size);

unsigned GetDriveTypeA(const std::string& rootPath);
BOOL GetDiskFreeSpaceA(const std::string& rootPath, DWORD& sectorsPerCluster, DWORD& bytesPerSector,
                       DWORD& freeClusters, DWORD& totalClusters);

// Fills the record when its size field is 148. On a machine whose version
// query is declared missing the call cannot be made at all: the runtime
// raises error 453, as for any function a DLL does not export.
BOOL GetVersionExA(OSVERSIONINFO& info);
std::uint16_t GetSystemDefaultUILanguage();
BOOL SetFileAttributesA(const std::string& path, DWORD attributes);

// With `unique` 0: creates a new empty file "<prefix, 3 characters at
// most><4 hex digits>.tmp" in the folder `pathName` (a name no file has yet)
// and writes its path into the buffer; returns the number it used, 0 on
// failure (the error of the file's creation; 111 when the path does not fit
// the buffer with its NUL). Another `unique` only names such a file.
unsigned GetTempFileNameA(const std::string& pathName, const std::string& prefix, unsigned unique,
                          std::string& tempFileName);

inline constexpr DWORD MOVEFILE_REPLACE_EXISTING = 0x1;
inline constexpr DWORD MOVEFILE_WRITE_THROUGH = 0x8;
// Renames a file on the same drive, replacing a file of the new name in one
// step (see FileSystem::moveFile). The machine knows only the replacing move
// that is flushed to disk before it returns: `flags` must be both flags
// above (87 otherwise).
BOOL MoveFileExA(const std::string& existingFileName, const std::string& newFileName, DWORD flags);

BOOL GetUserNameA(std::string& buffer, DWORD& size);
BOOL LookupAccountNameA(const std::string& systemName, const std::string& accountName, std::string& sid, DWORD& sidSize,
                        std::string& domain, DWORD& domainSize, DWORD& use);

// Creates the named mutex and owns it, or, when another program holds that
// name, gives a handle that owns nothing and sets the last error to
// ERROR_ALREADY_EXISTS (183). Named mutexes belong to the machine: every
// program on it sees the others'. The name is let go when its handle is
// closed or the program ends, a kill included. 0 when the mutex cannot be
// made at all. The security attributes and the initial-owner flag are not
// looked at: a mutex that the call makes is owned at once.
inline constexpr DWORD ERROR_ALREADY_EXISTS = 183;
HANDLE CreateMutexA(const void* securityAttributes, BOOL initialOwner, const std::string& name);

void Sleep(DWORD milliseconds);
HANDLE OpenProcess(DWORD access, BOOL inherit, DWORD processId);
DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds);
// Closes a process or mutex handle; a mutex that the handle holds is let go.
BOOL CloseHandle(HANDLE handle);

// The error of the last failed call on this thread.
DWORD GetLastError();

}  // namespace zov::win32
