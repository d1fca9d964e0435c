#include "shell.h"

#include <cstring>
#include <map>
#include <vector>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"
#include "platform/runtime/runtime_error.h"
#include "platform/text/utf8.h"
#include "platform/win32/ansi_buffer.h"

namespace zov::win32 {

namespace {

machine::Machine& host() { return machine::currentMachine(); }

// The shell's task memory: blocks at made-up addresses.
struct Block {
  std::vector<std::uint8_t> bytes;
  std::string folder;  // for an item list: the folder it names
};
std::map<Address, Block>& blocks() {
  static std::map<Address, Block> b;
  return b;
}
Address nextAddress = 0x00150000;

Address allocate(Block block) {
  const Address a = nextAddress;
  nextAddress += static_cast<Address>((block.bytes.size() + 0x1F) & ~0xFu) + 0x10;
  blocks()[a] = std::move(block);
  return a;
}

const Block* blockAt(Address a, std::size_t& offset) {
  auto it = blocks().upper_bound(a);
  if (it == blocks().begin()) return nullptr;
  --it;
  offset = a - it->first;
  if (offset > it->second.bytes.size()) return nullptr;
  return &it->second;
}

std::string withoutTrailingBackslash(std::string s) {
  if (s.size() > 3 && s.back() == '\\') s.pop_back();
  return s;
}

std::string folderOf(int csidl) {
  const auto& c = host().config();
  switch (csidl) {
    case CSIDL_PROGRAMS: return c.programsFolder;
    case CSIDL_PERSONAL: return c.documentsFolder;
    case CSIDL_DESKTOP:
    case CSIDL_DESKTOPDIRECTORY: return c.desktopFolder;
    case CSIDL_LOCAL_APPDATA: return c.localAppDataFolder;
    default: return {};
  }
}

int hexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr GUID kDocuments{0xFDD39AD0, 0x238F, 0x46AF, {0xAD, 0xB4, 0x6C, 0x85, 0x48, 0x03, 0x69, 0xC7}};
constexpr GUID kLocalAppData{0xF1B32785, 0x6FBA, 0x4FCF, {0x9D, 0x55, 0x7B, 0x8E, 0x7F, 0x15, 0x70, 0x91}};
constexpr GUID kDesktop{0xB4BFCC3A, 0xDB2C, 0x424C, {0xB0, 0x29, 0x7F, 0xE9, 0x9A, 0x87, 0xC6, 0x41}};
constexpr GUID kPrograms{0xA77F5D77, 0x2E2B, 0x44C3, {0xA6, 0xA2, 0xAB, 0xA6, 0x01, 0x05, 0x4A, 0x51}};

}  // namespace

HRESULT SHGetSpecialFolderLocation(HWND owner, int csidl, Address& itemList) {
  itemList = 0;
  const std::string folder = folderOf(csidl);
  if (folder.empty()) return E_FAIL;
  itemList = allocate({std::vector<std::uint8_t>(20, 0), withoutTrailingBackslash(folder)});
  return S_OK;
}

BOOL SHGetPathFromIDList(Address itemList, std::string& buffer) {
  const auto it = blocks().find(itemList);
  if (it == blocks().end() || it->second.folder.empty()) return FALSE;
  const std::string ansi = ansiOf(it->second.folder);
  if (ansi.size() + 1 > 260) return FALSE;
  writeAnsi(buffer, ansi);
  return TRUE;
}

HRESULT SHGetKnownFolderPath(const GUID& folderId, DWORD flags, HANDLE token, Address& path) {
  path = 0;
  const auto& c = host().config();
  if (c.majorVersion < 6 || c.platformId != 2) runtime::Raise(runtime::kDllEntryPointNotFound);
  if (c.faults.knownFoldersFail) return E_FAIL;
  std::string folder;
  if (folderId == kDocuments) folder = c.documentsFolder;
  else if (folderId == kLocalAppData) folder = c.localAppDataFolder;
  else if (folderId == kDesktop) folder = c.desktopFolder;
  else if (folderId == kPrograms) folder = c.programsFolder;
  else return E_INVALIDARG;
  if (folder.empty()) return E_FAIL;
  const std::u16string wide = text::toUtf16(withoutTrailingBackslash(folder));
  Block b;
  b.bytes.resize((wide.size() + 1) * 2, 0);
  std::memcpy(b.bytes.data(), wide.data(), wide.size() * 2);
  path = allocate(std::move(b));
  return S_OK;
}

HRESULT CLSIDFromString(const std::string& text, GUID& guid) {
  // {XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}
  if (text.size() != 38 || text.front() != '{' || text.back() != '}') return CO_E_CLASSSTRING;
  std::string hex;
  for (std::size_t i = 1; i < 37; ++i) {
    if (i == 9 || i == 14 || i == 19 || i == 24) {
      if (text[i] != '-') return CO_E_CLASSSTRING;
      continue;
    }
    if (hexDigit(text[i]) < 0) return CO_E_CLASSSTRING;
    hex += text[i];
  }
  auto field = [&](std::size_t at, std::size_t digits) {
    std::uint32_t v = 0;
    for (std::size_t k = 0; k < digits; ++k) v = v * 16 + static_cast<std::uint32_t>(hexDigit(hex[at + k]));
    return v;
  };
  guid.Data1 = field(0, 8);
  guid.Data2 = static_cast<std::uint16_t>(field(8, 4));
  guid.Data3 = static_cast<std::uint16_t>(field(12, 4));
  for (std::size_t k = 0; k < 8; ++k) guid.Data4[k] = static_cast<std::uint8_t>(field(16 + 2 * k, 2));
  return S_OK;
}

void CoTaskMemFree(Address memory) { blocks().erase(memory); }

int lstrlenW(Address textAddress) {
  if (textAddress == 0) return 0;
  std::size_t offset = 0;
  const Block* b = blockAt(textAddress, offset);
  if (!b) return 0;
  int n = 0;
  for (std::size_t i = offset; i + 1 < b->bytes.size(); i += 2, ++n) {
    if (b->bytes[i] == 0 && b->bytes[i + 1] == 0) break;
  }
  return n;
}

void RtlMoveMemory(void* destination, Address source, std::size_t size) {
  auto* out = static_cast<std::uint8_t*>(destination);
  std::memset(out, 0, size);
  std::size_t offset = 0;
  const Block* b = blockAt(source, offset);
  if (!b) return;
  const std::size_t available = b->bytes.size() - offset;
  std::memcpy(out, b->bytes.data() + offset, std::min(size, available));
}

int ShellExecuteA(HWND owner, const std::string& operation, const std::string& file, const std::string& parameters,
                  const std::string& directory, int showCommand) {
  const std::string target = textOf(ansiOf(file));
  std::uint32_t attrs = 0;
  if (host().files().attributes(target, attrs) != machine::kErrorSuccess) return static_cast<int>(machine::kErrorFileNotFound);
  if (attrs & machine::kAttrDirectory) {
    host().log().write("opened folder window: " + target);
    return 42;
  }
  std::uint32_t error = 0;
  std::string line = '"' + target + '"';
  if (!parameters.empty()) line += ' ' + textOf(ansiOf(parameters));
  return host().startProgram(line, showCommand, error) ? 42 : static_cast<int>(error);
}

}  // namespace zov::win32
