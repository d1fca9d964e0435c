// The sample product: 56 files standing in for the product's own files, made
// deterministically. Each looks like what its name says (a WAV sound, a
// cursor, a JPEG picture, ...), has a body that compresses about as well as
// such a file does, and ends with an incompressible tail that makes its member
// exactly as long as the product's. The programs among them
// are simulated programs that the machine can start:
//   "MZ" CR LF, "ZOVSIM " and the program's name CR LF, one line of greeting
//   CR LF, then the program's body.
// Only the main program and the two uninstallers differ between the builds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace zov::packaging {

enum class Build { Modern, Classic };

std::optional<Build> BuildNamed(std::string_view name);  // "modern" or "classic"

// The main program's base name in this product. The installer's ProgramName
// names slot 3's files with it, so the two must agree.
inline constexpr std::string_view kMainProgramName = "Zuzuzu Rudavero 5";

struct SampleProductFile {
  std::vector<std::uint8_t> file;
  std::vector<std::uint8_t> member;  // the file compressed, exactly as long as its slot's member
};

// The file `targetName` of slot `slot` (every slot but 4) and its member.
SampleProductFile SampleFile(int slot, const std::string& targetName, Build build);

}  // namespace zov::packaging
