// Expansion memory does not grow with the member: it allocates the same few
// fixed buffers for 1 MB and for 50 MB.
#include <gtest/gtest.h>

#include <cstdlib>
#include <new>

#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/memory_io.h"
#include "tests/lz/support/random_member.h"

namespace {

bool counting = false;
std::size_t allocated = 0;

void* allocate(std::size_t size) noexcept {
  if (counting) allocated += size;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

// Every allocation of this test program goes through here, counted while `counting` is set.
void* operator new(std::size_t size) {
  if (void* p = allocate(size)) return p;
  throw std::bad_alloc();
}
void* operator new[](std::size_t size) { return operator new(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }

namespace zov::lz {
namespace {

std::size_t bytesAllocatedExpanding(std::uint32_t size) {
  testing::RandomMemberReader reader(size, 31);
  testing::CountingWriter writer;
  counting = true;
  allocated = 0;
  const std::int32_t result = copyExpanded(reader, writer);
  counting = false;
  EXPECT_EQ(result, static_cast<std::int32_t>(size));
  EXPECT_EQ(writer.count, size);
  return allocated;
}

TEST(SzddMemory, ExpansionAllocatesTheSameFixedBuffersWhateverTheSize) {
  const std::size_t small = bytesAllocatedExpanding(1u << 20);
  const std::size_t large = bytesAllocatedExpanding(50u << 20);
  EXPECT_EQ(small, large);
  EXPECT_LT(large, 256u * 1024);
}

}  // namespace
}  // namespace zov::lz
