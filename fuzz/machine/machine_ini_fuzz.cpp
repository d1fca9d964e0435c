// libFuzzer target: arbitrary bytes as a machine.ini. Reading must either
// give a configuration or refuse the file with its line; never crash or hang.
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/machine/ini_file.h"
#include "platform/machine/machine_config.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const auto config = zov::machine::MachineConfig::parse(text, "machine.ini");
    // What the machine writes of itself reads back.
    zov::machine::MachineConfig::parse(config.toIniText(), "machine.ini");
  } catch (const zov::machine::MachineFileError&) {
  }
  return 0;
}
