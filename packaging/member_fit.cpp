#include "packaging/member_fit.h"

#include <optional>
#include <stdexcept>
#include <string>

#include "packaging/szdd_compressor.h"
#include "platform/win32/lz/szdd.h"

namespace zov::packaging {

namespace {

// The run's byte is 0x80; the rest of the tail uses the other 127.
constexpr std::uint8_t kRunByte = 0x80;
constexpr unsigned kSymbols = 127;
constexpr unsigned kOrder = 3;  // the shortest match
// Three-symbol words over 127 symbols: a sequence up to this long repeats none.
constexpr std::size_t kLongestTail = kSymbols * kSymbols * kSymbols;

// The start of the de Bruijn sequence of order 3 over bytes 0x81-0xFF (the
// Lyndon words in order, by Duval's method), `length` bytes of it.
std::vector<std::uint8_t> deBruijn(std::size_t length) {
  std::vector<std::uint8_t> out;
  out.reserve(length);
  std::vector<unsigned> word{0};
  while (out.size() < length && !word.empty()) {
    if (kOrder % word.size() == 0) {
      for (unsigned s : word) {
        if (out.size() < length) out.push_back(static_cast<std::uint8_t>(kRunByte + 1 + s));
      }
    }
    const std::size_t period = word.size();
    while (word.size() < kOrder) word.push_back(word[word.size() - period]);
    while (!word.empty() && word.back() == kSymbols - 1) word.pop_back();
    if (!word.empty()) ++word.back();
  }
  return out;
}

// The items of a member's data that begin inside the first `contentLength`
// bytes of its file.
struct ContentItems {
  std::size_t items = 0;
  std::size_t matches = 0;
};

ContentItems contentItems(const std::vector<std::uint8_t>& member, std::size_t contentLength) {
  ContentItems found;
  std::size_t at = lz::szdd::kHeaderSize;
  std::size_t written = 0;
  while (at < member.size() && written < contentLength) {
    const std::uint8_t control = member[at++];
    for (int bit = 0; bit < 8 && at < member.size() && written < contentLength; ++bit) {
      ++found.items;
      if (control >> bit & 1) {
        ++at;
        ++written;
      } else {
        ++found.matches;
        written += (member[at + 1] & 0x0F) + lz::szdd::kMinMatch;
        at += 2;
      }
    }
  }
  return found;
}

// Bytes of data and control for `items` items of which `matches` are matches.
std::size_t dataLength(std::size_t items, std::size_t matches) { return items + matches + (items + 7) / 8; }

// A run of r bytes 0x80 compresses to a literal and a match (r from 4 to 19)
// or to a literal and two matches (r from 22 to 37).
struct Run {
  std::size_t matches;
  std::size_t shortest;
};
constexpr Run kRuns[] = {{1, 4}, {2, 22}};

struct Tail {
  std::size_t run;
  std::size_t literals;
};

std::vector<std::uint8_t> tailBytes(Tail tail) {
  std::vector<std::uint8_t> bytes(tail.run, kRunByte);
  const std::vector<std::uint8_t> rest = deBruijn(tail.literals);
  bytes.insert(bytes.end(), rest.begin(), rest.end());
  return bytes;
}

// The tail that brings a member whose content has `content` items to
// `memberLength` and the file of `contentLength` bytes to a multiple of
// `multiple`, if any.
std::optional<Tail> chooseTail(std::size_t memberLength, std::size_t multiple, std::size_t contentLength,
                               ContentItems content) {
  for (const Run& run : kRuns) {
    if (memberLength < lz::szdd::kHeaderSize + content.matches + run.matches) return std::nullopt;
    // items + ceil(items / 8) takes every value but those that are 1 modulo 9.
    const std::size_t value = memberLength - lz::szdd::kHeaderSize - content.matches - run.matches;
    if (value % 9 == 1) continue;
    const std::size_t items = value % 9 == 0 ? value / 9 * 8 : value / 9 * 8 + value % 9 - 1;
    const std::size_t runItems = run.matches + 1;
    if (items < content.items + runItems) return std::nullopt;
    const std::size_t literals = items - content.items - runItems;
    if (literals >= kLongestTail) throw std::logic_error("the content is too short for an exact member");
    const std::size_t length = contentLength + run.shortest + literals;
    return Tail{run.shortest + (multiple - length % multiple) % multiple, literals};
  }
  return std::nullopt;
}

}  // namespace

FittedFile FitToMemberLength(std::size_t memberLength, std::size_t multiple, std::size_t contentSize,
                             const FileMaker& make) {
  std::vector<std::uint8_t> tail;
  for (int attempt = 0; attempt < 64 && contentSize > 0; ++attempt) {
    std::vector<std::uint8_t> file = make(contentSize, tail);
    std::vector<std::uint8_t> member = compressSzdd(file);
    if (member.size() == memberLength && file.size() % multiple == 0) return {std::move(file), std::move(member)};
    const std::size_t contentLength = file.size() - tail.size();
    const ContentItems content = contentItems(member, contentLength);
    const auto choice = chooseTail(memberLength, multiple, contentLength, content);
    if (!choice) {
      // The content alone is too long: aim its member at about 97% of the length.
      const double contentMember = static_cast<double>(lz::szdd::kHeaderSize + dataLength(content.items, content.matches));
      const auto smaller = static_cast<std::size_t>(static_cast<double>(contentSize) * 0.97 * memberLength / contentMember);
      contentSize = std::min(smaller, contentSize - 1);
      tail.clear();
      continue;
    }
    std::vector<std::uint8_t> next = tailBytes(*choice);
    // The same tail again means the content must change: one byte less.
    if (next == tail) --contentSize;
    tail = std::move(next);
  }
  throw std::logic_error("no file has a member of " + std::to_string(memberLength) + " bytes");
}

}  // namespace zov::packaging
