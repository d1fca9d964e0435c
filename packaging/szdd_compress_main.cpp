// szdd-compress IN OUT: writes IN as an SZDD file (mode 'A') to OUT.
#include <cstdint>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "packaging/szdd_compressor.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::cerr << "usage: szdd-compress IN OUT\n";
    return 2;
  }
  std::ifstream in(argv[1], std::ios::binary);
  const std::vector<std::uint8_t> data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (!in.is_open() || in.bad()) {
    std::cerr << "szdd-compress: cannot read " << argv[1] << "\n";
    return 1;
  }
  std::vector<std::uint8_t> packed;
  try {
    packed = zov::packaging::compressSzdd(data);
  } catch (const std::length_error& error) {
    std::cerr << "szdd-compress: " << argv[1] << ": " << error.what() << "\n";
    return 1;
  }
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(packed.data()), static_cast<std::streamsize>(packed.size()));
  out.close();
  if (!out) {
    std::cerr << "szdd-compress: cannot write " << argv[2] << "\n";
    return 1;
  }
  return 0;
}
