// zov-payload: the packing step of the build, in three commands.
//   zov-payload members BUILD FOLDER    the sample product of BUILD (modern or classic)
//                                       and its members, with FOLDER/members.list
//   zov-payload record LIST OUT.cpp     the source of the payload record that the build compiles in:
//                                       each member's length, expanded length and CRC-32
//   zov-payload pack IMAGE LIST OUT     the installer file: IMAGE with the members behind it
#include <iostream>
#include <string>

#include "packaging/installer_file.h"
#include "packaging/payload_members.h"
#include "packaging/sample_product.h"

namespace {

int usage() {
  std::cerr << "usage: zov-payload members modern|classic FOLDER\n"
               "       zov-payload record LIST OUT.cpp\n"
               "       zov-payload pack IMAGE LIST OUT\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  using namespace zov::packaging;
  const std::string command = argc > 1 ? argv[1] : "";
  try {
    if (command == "members" && argc == 4) {
      const auto build = BuildNamed(argv[2]);
      if (!build) return usage();
      WriteMembers(*build, argv[3]);
    } else if (command == "record" && argc == 4) {
      const std::string source = PayloadRecordSource(RecordOf(ReadMemberList(argv[2]), argv[2]), argv[2]);
      WriteBytes(argv[3], std::vector<std::uint8_t>(source.begin(), source.end()));
    } else if (command == "pack" && argc == 5) {
      PackInstaller(argv[2], argv[3], argv[4]);
    } else {
      return usage();
    }
  } catch (const PackError& e) {
    std::cerr << "zov-payload " << command << ": " << e.what() << "\n";
    return 1;
  }
  return 0;
}
