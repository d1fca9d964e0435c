#include "platform/win32/numbered_file.h"

#include <unistd.h>

#include <cstdio>
#include <memory>

#include "platform/machine/machine.h"
#include "platform/machine/windows_errors.h"

namespace zov::win32 {

std::string NumberedFileName(const std::string& folder, const std::string& prefix, unsigned number) {
  char hex[8];
  std::snprintf(hex, sizeof hex, "%04X", number & 0xFFFFu);
  return folder + prefix + hex + ".tmp";
}

unsigned CreateNumberedFile(const std::string& folder, const std::string& prefix, std::string& path,
                            std::uint32_t& error) {
  static unsigned next = static_cast<unsigned>(::getpid()) * 40503u;
  error = machine::kErrorFileExists;
  for (unsigned tries = 0; tries < 0xFFFFu && error == machine::kErrorFileExists; ++tries) {
    const unsigned number = next++ % 0xFFFFu + 1;
    path = NumberedFileName(folder, prefix, number);
    std::unique_ptr<machine::OpenFile> file;
    error = machine::currentMachine().files().openFile(path, machine::FileAccess::Write,
                                                       machine::FileDisposition::CreateNew, machine::FileShare::All, file);
    if (error == machine::kErrorSuccess) return number;
  }
  path.clear();
  return 0;
}

}  // namespace zov::win32
