// Deterministic test data for the SZDD codec: random bytes, text, blanks.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

namespace zov::lz::testing {

using Bytes = std::vector<std::uint8_t>;

// splitmix64: small, fast and the same everywhere.
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
    return z ^ (z >> 31);
  }
  std::size_t below(std::size_t bound) { return static_cast<std::size_t>(next() % bound); }

 private:
  std::uint64_t state_;
};

inline Bytes randomBytes(std::size_t size, std::uint64_t seed) {
  Random random(seed);
  Bytes bytes(size);
  for (auto& byte : bytes) byte = static_cast<std::uint8_t>(random.next() >> 56);
  return bytes;
}

inline Bytes blanks(std::size_t size) { return Bytes(size, 0x20); }

// Prose-like text: words from a fixed vocabulary of made-up words, frequent
// ones far more often than rare ones, in sentences, lines of at most 72
// characters and paragraphs.
inline Bytes text(std::size_t size, std::uint64_t seed) {
  static constexpr std::array<const char*, 24> kSyllables{"ra", "ve", "do", "zu", "ki", "lo", "men", "tar", "si", "bel", "on", "que", "ti", "nor", "pa", "el", "dri", "us", "an", "co", "ser", "mi", "la", "th"};
  Random random(seed);
  std::vector<std::string> vocabulary(3000);
  for (auto& word : vocabulary) {
    const std::size_t syllables = 1 + random.below(3) + random.below(2);
    for (std::size_t i = 0; i < syllables; ++i) word += kSyllables[random.below(kSyllables.size())];
  }
  Bytes out;
  out.reserve(size + 80);
  std::size_t column = 0;
  std::size_t sentenceWords = 0;
  std::size_t sentences = 0;
  while (out.size() < size) {
    // Cubing a uniform number favours the first words of the list.
    const double u = static_cast<double>(random.next() >> 11) / 9007199254740992.0;
    std::string word = vocabulary[static_cast<std::size_t>(u * u * u * static_cast<double>(vocabulary.size()))];
    if (sentenceWords == 0) word[0] = static_cast<char>(word[0] - 'a' + 'A');
    ++sentenceWords;
    if (sentenceWords > 4 + random.below(14)) {
      word += '.';
      sentenceWords = 0;
      ++sentences;
    } else if (random.below(9) == 0) {
      word += ',';
    }
    if (column > 0 && column + 1 + word.size() > 72) {
      out.push_back('\n');
      column = 0;
    } else if (column > 0) {
      out.push_back(' ');
      ++column;
    }
    out.insert(out.end(), word.begin(), word.end());
    column += word.size();
    if (sentenceWords == 0 && sentences % 6 == 0) {
      out.insert(out.end(), {'\n', '\n'});
      column = 0;
    }
  }
  out.resize(size);
  return out;
}

// The files every codec check runs on, by name: the edge sizes, blanks,
// random data, text, and one file over 5 MB that mixes them.
inline const std::vector<std::string> kCorpusNames{"empty", "one_byte", "blanks", "random", "text", "large_mixed"};

inline const Bytes& corpusFile(const std::string& name) {
  static std::map<std::string, Bytes> files;
  auto found = files.find(name);
  if (found != files.end()) return found->second;
  Bytes data;
  if (name == "one_byte") {
    data = {'Z'};
  } else if (name == "blanks") {
    data = blanks(100000);
  } else if (name == "random") {
    data = randomBytes(256 * 1024, 11);
  } else if (name == "text") {
    data = text(400000, 12);
  } else if (name == "large_mixed") {
    for (const Bytes& part : {text(2000000, 13), randomBytes(1000000, 14), blanks(300000), Bytes(70000, 'a'), text(2300000, 15)}) {
      data.insert(data.end(), part.begin(), part.end());
    }
  } else if (name != "empty") {
    throw std::invalid_argument("no corpus file " + name);
  }
  return files.emplace(name, std::move(data)).first->second;
}

}  // namespace zov::lz::testing
