// Arbitrary bytes as a registry file. Reading must end in a store or a
// RegistryFileError; a store read from any text must write a text (building
// every value that loading only checked, which must not fail) that reads back
// to the same store.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "platform/machine/registry_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const int codePage = size % 2 == 0 ? 1252 : 1254;
  std::optional<zov::machine::RegistryStore> store;
  try {
    store.emplace(zov::machine::RegistryStore::fromText(text, "fuzz.reg", codePage));
  } catch (const zov::machine::RegistryFileError&) {
    return 0;
  }
  try {
    const std::string written = store->toText();
    if (zov::machine::RegistryStore::fromText(written, "fuzz.reg", codePage).toText() != written) std::abort();
  } catch (const zov::machine::RegistryFileError&) {
    std::abort();  // the text was taken, so writing it and reading it back cannot fail
  }
  return 0;
}
