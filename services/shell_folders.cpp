#include "services/shell_folders.h"

#include "platform/runtime/runtime_error.h"
#include "platform/text/utf8.h"
#include "platform/ui/form.h"
#include "platform/win32/shell.h"
#include "services/shared_state.h"

namespace zov {

namespace {

constexpr std::uint8_t kDocumentsKind = 1;
constexpr std::uint8_t kLocalAppDataKind = 2;
constexpr const char* kDocumentsFolderId = "{FDD39AD0-238F-46AF-ADB4-6C85480369C7}";
constexpr const char* kLocalAppDataFolderId = "{F1B32785-6FBA-4FCF-9D55-7B8E7F157091}";

}  // namespace

std::string GetSpecialFolderPath(std::int32_t csidl) {
  // The wizard window owns the shell call; asking for it creates it.
  const win32::HWND owner = ui::DefaultInstance("Form1").hWnd();
  win32::Address itemList = 0;
  if (win32::SHGetSpecialFolderLocation(owner, csidl, itemList) != win32::S_OK) return {};
  std::string buffer(260, '\0');
  const win32::BOOL found = win32::SHGetPathFromIDList(itemList, buffer);
  // The item list is released on both paths, so a folder without a path
  // leaves no block behind in the shell's memory.
  win32::CoTaskMemFree(itemList);
  if (!found) return {};
  return buffer.substr(0, buffer.find('\0'));
}

std::string GetUserFolder(std::uint8_t kind) {
  std::string result;
  try {
    if (OsCode != 4) return GetSpecialFolderPath(win32::CSIDL_PERSONAL);
    const char* folderId = kind == kDocumentsKind      ? kDocumentsFolderId
                           : kind == kLocalAppDataKind ? kLocalAppDataFolderId
                                                       : nullptr;
    if (!folderId) return result;
    win32::GUID guid{};
    if (win32::CLSIDFromString(folderId, guid) != win32::S_OK) return result;
    win32::Address path = 0;
    if (win32::SHGetKnownFolderPath(guid, 0, 0, path) != win32::S_OK) return result;
    result = StringFromWidePtr(path);
    win32::CoTaskMemFree(path);
  } catch (const runtime::RuntimeError&) {
    // Reported as the text held so far, without a message.
  }
  return result;
}

std::string StringFromWidePtr(win32::Address address) {
  if (address == 0) return {};
  const int length = win32::lstrlenW(address);
  if (length <= 0) return {};
  std::u16string wide(static_cast<std::size_t>(length), u'\0');
  win32::RtlMoveMemory(wide.data(), address, wide.size() * sizeof(char16_t));
  return text::fromUtf16(wide);
}

}  // namespace zov
