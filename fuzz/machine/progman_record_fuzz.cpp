// libFuzzer target: arbitrary bytes as Program Manager's progman.ini.
// Reading must either give groups or refuse the file with its line, and
// what the record writes of those groups reads back as the same groups.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/machine/ini_file.h"
#include "platform/machine/program_manager.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using zov::machine::ProgramManager;
  const std::string text(reinterpret_cast<const char*>(data), size);
  try {
    const auto groups = ProgramManager::parseRecord(text, "progman.ini");
    if (ProgramManager::parseRecord(ProgramManager::recordText(groups), "progman.ini") != groups) std::abort();
  } catch (const zov::machine::MachineFileError&) {
  }
  return 0;
}
