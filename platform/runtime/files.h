// The file statements of the language runtime, on the simulated machine:
// directory listing with an attribute mask, deletion by pattern, folders,
// file length and attributes, and files opened by number (binary and text).
// Failures raise run-time errors, as the runtime does.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zov::runtime {

inline constexpr int vbNormal = 0;
inline constexpr int vbReadOnly = 1;
inline constexpr int vbHidden = 2;
inline constexpr int vbSystem = 4;
inline constexpr int vbVolume = 8;
inline constexpr int vbDirectory = 16;
inline constexpr int vbArchive = 32;

// The name of the first entry that `path` (a path or a pattern) finds, or
// the empty text. Plain files are always found (read-only and archived ones
// too); hidden, system and folder entries only when the mask names them.
// A missing folder finds nothing; a bad name or an unusable drive is an error.
std::string Dir(std::string_view path, int attributes = vbNormal);
// The next entry of the last listing, or the empty text.
std::string Dir();

// Deletes every plain file that the pattern matches; none is error 53.
void Kill(std::string_view pattern);
void MkDir(std::string_view path);
void RmDir(std::string_view path);
std::int64_t FileLen(std::string_view path);
int GetAttr(std::string_view path);
void SetAttr(std::string_view path, int attributes);

enum class OpenMode { Input, Output, Append, Binary };
enum class OpenAccess { Default, Read, Write, ReadWrite };
enum class OpenLock { Shared, LockRead, LockWrite, LockReadWrite };

int FreeFile();
void Open(std::string_view path, OpenMode mode, int fileNumber, OpenAccess access = OpenAccess::Default,
          OpenLock lock = OpenLock::Shared);
// Closes one file number (no error when it is not open), or all of them.
void Close(int fileNumber);
void CloseAll();

// Binary access at a 1-based byte position. Get reads what the file holds
// from there (a short read leaves the rest of the buffer unchanged).
void Get(int fileNumber, std::int64_t position, std::vector<std::uint8_t>& buffer);
void Put(int fileNumber, std::int64_t position, const std::vector<std::uint8_t>& bytes);
void Put(int fileNumber, std::int64_t position, std::string_view ansiBytes);

// Text output: the text in the machine's ANSI code page, then CR LF.
void PrintLine(int fileNumber, std::string_view text);
// Text input: one line without its line end.
std::string LineInput(int fileNumber);
// Text input of one item: items end at a comma or a line end; an item that
// starts with a double quote runs to the next one, quotes dropped.
std::string InputItem(int fileNumber);
bool Eof(int fileNumber);
std::int64_t Lof(int fileNumber);

// Maps a Windows error code of a file operation to the run-time error the
// runtime raises for it.
int ErrorNumberOf(std::uint32_t windowsError);

}  // namespace zov::runtime
