// registry.reg after the settings stage, read by another program's importer:
// hivexregedit (libwin-hivex-perl) merges it into an empty hive and exports
// what the stage wrote.
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "services/registry.h"
#include "tests/engine/settings_stage_fixture.h"

namespace zov::test {
namespace {

namespace fs = std::filesystem;

void put32(std::vector<unsigned char>& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

// A hive file holding only its root key: the base block, then one 4 KiB bin
// with the root's key cell, its security cell and one free cell.
void writeEmptyHive(const fs::path& file) {
  std::vector<unsigned char> hive(8192, 0);
  const std::size_t bin = 4096, key = 0x20, security = 0x80;
  // Base block: signature, sequence numbers, version 1.3, root cell, bins size, checksum.
  hive[0] = 'r', hive[1] = 'e', hive[2] = 'g', hive[3] = 'f';
  put32(hive, 4, 1), put32(hive, 8, 1), put32(hive, 20, 1), put32(hive, 24, 3), put32(hive, 32, 1);
  put32(hive, 36, key), put32(hive, 40, 4096), put32(hive, 44, 1);
  std::uint32_t sum = 0;
  for (std::size_t i = 0; i < 508; i += 4) sum ^= hive[i] | hive[i + 1] << 8 | hive[i + 2] << 16 | std::uint32_t{hive[i + 3]} << 24;
  put32(hive, 508, sum);
  // Bin header.
  hive[bin] = 'h', hive[bin + 1] = 'b', hive[bin + 2] = 'i', hive[bin + 3] = 'n';
  put32(hive, bin + 8, 4096);
  // Root key cell (used cells have a negative size): no subkeys, values or class.
  const std::size_t k = bin + key;
  put32(hive, k, static_cast<std::uint32_t>(-0x60));
  hive[k + 4] = 'n', hive[k + 5] = 'k', hive[k + 6] = 0x2C;  // hive entry, no delete, compressed name
  put32(hive, k + 4 + 16, 0xFFFFFFFF);                          // parent
  put32(hive, k + 4 + 28, 0xFFFFFFFF), put32(hive, k + 4 + 32, 0xFFFFFFFF);  // subkey lists
  put32(hive, k + 4 + 40, 0xFFFFFFFF);                                      // value list
  put32(hive, k + 4 + 44, security), put32(hive, k + 4 + 48, 0xFFFFFFFF);   // security, class
  hive[k + 4 + 72] = 4;
  hive[k + 4 + 76] = 'R', hive[k + 4 + 77] = 'O', hive[k + 4 + 78] = 'O', hive[k + 4 + 79] = 'T';
  // Security cell: a list of one, used once, an empty self-relative descriptor.
  const std::size_t s = bin + security;
  put32(hive, s, static_cast<std::uint32_t>(-0x28));
  hive[s + 4] = 's', hive[s + 5] = 'k';
  put32(hive, s + 8, security), put32(hive, s + 12, security), put32(hive, s + 16, 1), put32(hive, s + 20, 20);
  hive[s + 24] = 1, hive[s + 27] = 0x80;
  // The rest of the bin is one free cell.
  put32(hive, bin + security + 0x28, static_cast<std::uint32_t>(4096 - security - 0x28));
  std::ofstream(file, std::ios::binary).write(reinterpret_cast<const char*>(hive.data()), static_cast<long>(hive.size()));
}

struct CommandRun {
  bool ok = false;
  std::string out;  // standard output and error
};

CommandRun output(const std::string& command) {
  CommandRun run;
  std::FILE* pipe = ::popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return run;
  char buffer[4096];
  for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) run.out.append(buffer, n);
  run.ok = ::pclose(pipe) == 0;
  return run;
}

TEST_F(SettingsStage, HivexImportsTheRegistryTheStageLeaves) {
  start([](machine::MachineConfig& c) { c = windowsXp(); });
  SetRegString(win32::HKEY_CLASSES_ROOT, "AVIFile\\Extensions\\AVI", "", "changed", ForceRegistry);
  Form1().Combo1.ListIndex = 1;
  stage();
  const fs::path hive = machine->folder() / "scratch.hive";
  writeEmptyHive(hive);
  const std::string quotedHive = "'" + hive.string() + "'";
  const CommandRun merge = output("hivexregedit --merge " + quotedHive + " '" + (machine->folder() / "registry.reg").string() + "'");
  ASSERT_TRUE(merge.ok) << merge.out;

  const auto settings = output("hivexregedit --export " + quotedHive + " 'HKEY_LOCAL_MACHINE\\Software\\Zideruv\\ZOV4'");
  ASSERT_TRUE(settings.ok) << settings.out;
  for (const char* line : {"\"Version\"=dword:00000013", "\"IncCur\"=dword:00000001", "\"dwKFE\"=dword:0000000f",
                           "\"RecSnd\"=dword:00000001", "\"CapSpeed\"=dword:00000001", "\"Language\"=dword:00000001"}) {
    EXPECT_NE(settings.out.find(line), std::string::npos) << line << "\n" << settings.out;
  }
  const auto classes = output("hivexregedit --export " + quotedHive + " 'HKEY_CLASSES_ROOT'");
  ASSERT_TRUE(classes.ok) << classes.out;
  for (const char* key : {"[\\HKEY_CLASSES_ROOT\\.qev]", "[\\HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\shell\\open\\command]",
                          "[\\HKEY_CLASSES_ROOT\\ZOV.KineloftProject\\DefaultIcon]",
                          "[\\HKEY_CLASSES_ROOT\\AVIFile\\Extensions\\AVI]"}) {
    EXPECT_NE(classes.out.find(key), std::string::npos) << key << "\n" << classes.out;
  }
}

}  // namespace
}  // namespace zov::test
