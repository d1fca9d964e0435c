// Expansion of one compressed file into its destination with the LZ
// expansion functions, the mapping of their failures to result codes, and
// the English error messages of a failed open or copy.
#pragma once

#include <cstdint>
#include <string>

namespace zov {

// Expands `source` (an SZDD file; any other file is copied unchanged) into
// `destination`, both trimmed of blanks. Returns:
//   > 0   the number of bytes written;
//   0     nothing written (an empty source): the copy-failure box is shown;
//   -1 .. -16  the source or the destination could not be opened (MapLZOpenError);
//   -100, -200, ... the copy failed: its LZERROR code times 100.
// With `showErrors` every failure shows exactly one box; without it none.
// Both handles are closed again. A destination that was there is replaced
// only by the whole expansion: after a failure it is as it was. A new
// destination is written in place, and a failure leaves what was written.
std::int32_t ExpandFile(const std::string& source, const std::string& destination, bool showErrors);

// 0 for a handle of 0 or more; otherwise the code of the DOS error of the
// failed open: 2 -> -1, 3 -> -2, 4 -> -3, 5 -> -4, 8 -> -5, 11 -> -6,
// 15 -> -7, 19 -> -8, 21 -> -9, 23 -> -10, 27 -> -11, 32 -> -12, 54 -> -13,
// 65 -> -14, 80 -> -15, any other -> -16.
std::int32_t MapLZOpenError(std::int32_t handle, std::uint16_t errorCode);

// For a code from -16 to -1, the box of that failed open, naming the trimmed
// path (except for -3 and -5, whose messages stand alone). Any other code
// shows nothing. The messages are English only.
void ShowExpandError(std::int32_t code, const std::string& path);

}  // namespace zov
