#include "ansi_buffer.h"

#include "platform/machine/machine.h"
#include "platform/text/ansi.h"

namespace zov::win32 {

namespace {
int codePage() { return machine::currentMachine().config().codePage; }
}  // namespace

std::string ansiOf(std::string_view buffer) { return text::toAnsi(buffer, codePage()); }

void writeAnsi(std::string& buffer, std::string_view ansi) {
  std::string bytes = ansiOf(buffer);
  const std::size_t n = std::min(ansi.size(), bytes.size());
  bytes.replace(0, n, ansi.substr(0, n));
  if (n < bytes.size()) bytes[n] = '\0';
  buffer = text::fromAnsi(bytes, codePage());
}

std::string textOf(std::string_view ansi) { return text::fromAnsi(ansi, codePage()); }

}  // namespace zov::win32
