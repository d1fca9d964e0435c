// Windows shell and COM helpers: special and known folders, the shell's
// task memory, GUID texts, opening a folder or a file. Memory that the
// shell hands out lives in the machine's own address space (Address), so a
// wrong address can never touch the program's memory.
#pragma once

#include <string>

#include "platform/win32/types.h"

namespace zov::win32 {

HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, Address& itemList);
// Writes the folder of an item list into a buffer of 260 characters.
BOOL SHGetPathFromIDList(Address itemList, std::string& buffer);
// Hands out the folder's path as a wide string in task memory. Windows
// before Vista has no such function: calling it raises the runtime's error 453.
HRESULT SHGetKnownFolderPath(const GUID& folderId, DWORD flags, HANDLE token, Address& path);
HRESULT CLSIDFromString(const std::string& text, GUID& guid);
void CoTaskMemFree(Address memory);
// Length in characters of the wide string at an address (0 for address 0).
int lstrlenW(Address text);
// Copies bytes out of task memory; bytes outside the block read as 0.
void RtlMoveMemory(void* destination, Address source, std::size_t size);
// Opens a folder in a shell window or starts a program; above 32 on success.
int ShellExecuteA(HWND owner, const std::string& operation, const std::string& file, const std::string& parameters,
                  const std::string& directory, int showCommand);

}  // namespace zov::win32
