// The Windows LZ expansion functions (lz32), on the simulated machine's file
// system: open a file for reading or for writing, copy a source to a
// destination expanding an SZDD source on the way (any other file is copied
// unchanged), close. They never throw: a failed open gives a negative value
// and the DOS error code in the record, a failed copy a negative LZERROR code
// (platform/win32/lz/szdd.h).
//
// Handles belong to the current machine: close them before it goes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/win32/lz/szdd.h"
#include "platform/win32/types.h"

namespace zov::win32 {

inline constexpr std::size_t OFS_MAXPATHNAME = 128;

// What an open reports about the file. The caller clears it before the call.
struct OFSTRUCT {
  std::uint8_t cBytes;      // the size of the record
  std::uint8_t fFixedDisk;  // 1 when the file is on a fixed drive
  std::uint16_t nErrCode;   // the DOS error code of a failed open, 0 after a successful one
  std::uint16_t Reserved1;
  std::uint16_t Reserved2;
  char szPathName[OFS_MAXPATHNAME];  // the full path of the opened file (ANSI, NUL-terminated, cut to fit)
};
static_assert(sizeof(OFSTRUCT) == 136);

// Styles of LZOpenFileA.
inline constexpr std::uint16_t OF_READ = 0x0000;    // an existing file, for reading
inline constexpr std::uint16_t OF_CREATE = 0x1000;  // created, or emptied when there, for writing

// Opens `path` with one of the styles above. While a handle is open, nobody
// else may write the file (a second open for writing is "file in use", so a
// file cannot be expanded onto itself). Returns a handle (0 or more), or
// LZERROR_BADINHANDLE with nErrCode set: 2 no such file, 3 no such folder or
// a bad name, 5 access denied (read-only file, refused path, a folder),
// 15 no such drive, 21 drive not ready, 32 file in use, 87 any other style.
std::int32_t LZOpenFileA(const std::string& path, OFSTRUCT& record, std::uint16_t style);

// Writes the expanded content of `source` to `destination` from where each
// handle stands, streaming through the codec's fixed buffers. Returns the
// bytes written, LZERROR_BADINHANDLE / LZERROR_BADOUTHANDLE for a handle that
// is not open, or the codec's code (LZERROR_WRITE for a full disk or a
// handle not open for writing, LZERROR_READ for a corrupt member or a handle
// not open for reading, ...).
LONG LZCopy(std::int32_t source, std::int32_t destination);

// Closes a handle of LZOpenFileA; a handle that is not open is ignored.
void LZClose(std::int32_t handle);

}  // namespace zov::win32
