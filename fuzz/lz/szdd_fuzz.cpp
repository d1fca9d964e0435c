// Fuzz target of the SZDD codec. Each input is expanded as a member (any
// result but a crash, a hang or output past the unpacked size is fine, and a
// success must report what it wrote), then compressed and expanded back,
// which must give the input again. Reads come in sizes taken from the input,
// so that refills happen at every offset.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <span>

#include "packaging/szdd_compressor.h"
#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/memory_io.h"

namespace {

using namespace zov::lz;
using zov::lz::testing::MemoryReader;

// Counts the output and, when given what it must be, compares it.
class CheckingWriter : public ByteWriter {
 public:
  explicit CheckingWriter(std::span<const std::uint8_t> expected = {}, bool check = false)
      : expected_(expected), check_(check) {}
  bool write(const std::uint8_t* data, std::size_t size) override {
    if (check_ && (size > expected_.size() - count || std::memcmp(data, expected_.data() + count, size) != 0)) std::abort();
    count += size;
    return true;
  }
  std::size_t count = 0;

 private:
  std::span<const std::uint8_t> expected_;
  bool check_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> input(data, size);
  const std::size_t chunk = size == 0 ? 1 : (data[size - 1] & 0x80 ? 4096 : 1 + data[size - 1] % 32);

  const bool member = size >= szdd::kMagic.size() && std::equal(szdd::kMagic.begin(), szdd::kMagic.end(), data);
  MemoryReader reader(input, chunk);
  CheckingWriter writer(input, !member);
  const std::int32_t result = copyExpanded(reader, writer);
  if (result >= 0 && static_cast<std::size_t>(result) != writer.count) std::abort();
  if (!member && result != static_cast<std::int32_t>(size)) std::abort();
  if (member && size < szdd::kHeaderSize && result != LZERROR_READ) std::abort();
  if (member && size >= szdd::kHeaderSize) {
    const std::uint32_t declared = data[10] | data[11] << 8 | data[12] << 16 | std::uint32_t{data[13]} << 24;
    if (writer.count > declared || (result >= 0 && static_cast<std::uint32_t>(result) != declared)) std::abort();
  }

  const std::vector<std::uint8_t> packed = zov::packaging::compressSzdd(input);
  MemoryReader packedReader(packed, chunk);
  CheckingWriter roundTrip(input, true);
  if (copyExpanded(packedReader, roundTrip) != static_cast<std::int32_t>(size) || roundTrip.count != size) std::abort();
  return 0;
}
