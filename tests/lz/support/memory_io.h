// In-memory sources and destinations for the SZDD codec.
#pragma once

#include <algorithm>
#include <cstring>
#include <limits>
#include <span>

#include "platform/win32/lz/szdd.h"
#include "tests/lz/support/corpus.h"

namespace zov::lz::testing {

// Hands out `data` at most `chunk` bytes per read.
class MemoryReader : public ByteReader {
 public:
  explicit MemoryReader(std::span<const std::uint8_t> data, std::size_t chunk = std::numeric_limits<std::size_t>::max())
      : data_(data), chunk_(chunk) {}
  std::ptrdiff_t read(std::uint8_t* buffer, std::size_t size) override {
    const std::size_t count = std::min({size, chunk_, data_.size() - pos_});
    if (count > 0) std::memcpy(buffer, data_.data() + pos_, count);
    pos_ += count;
    return static_cast<std::ptrdiff_t>(count);
  }

 private:
  std::span<const std::uint8_t> data_;
  std::size_t chunk_;
  std::size_t pos_ = 0;
};

// Keeps what is written; refuses any write that would go past `capacity` (a full disk).
class MemoryWriter : public ByteWriter {
 public:
  explicit MemoryWriter(std::size_t capacity = std::numeric_limits<std::size_t>::max()) : capacity_(capacity) {}
  bool write(const std::uint8_t* data, std::size_t size) override {
    if (size > capacity_ - bytes.size()) return false;
    bytes.insert(bytes.end(), data, data + size);
    return true;
  }
  Bytes bytes;

 private:
  std::size_t capacity_;
};

// Counts what is written and keeps nothing.
class CountingWriter : public ByteWriter {
 public:
  bool write(const std::uint8_t*, std::size_t size) override {
    count += size;
    return true;
  }
  std::size_t count = 0;
};

}  // namespace zov::lz::testing
