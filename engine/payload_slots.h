// The payload slots: the 57 fixed steps of the install routine. Each takes
// one member (a whole SZDD file) out of the installer's own file and expands
// it into one target file. Members carry no names; they are found by their
// distance from the end of the file (EndGap, the sum of the lengths of all
// lower-numbered slots), so the table's lengths must be those of the members
// packed behind this very program, and their checksums tell whether the
// bytes found there are those members.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace zov {

inline constexpr int kSlotCount = 57;

enum class SlotFolder {
  None,      // slot 4: no member, no file
  Install,   // InstallDir
  System,    // SystemDir, the Windows system folder
  Projects,  // ProjectsDir, the sample-project folder
};

enum class SlotCondition {
  None,
  NotVista,              // OsCode <> 4
  Vista,                 // OsCode = 4
  RuntimePackageWanted,  // the trimmed Tag of Image1 is not "1" (the six-click switch)
};

enum class SlotFailureRule {
  ReportAndGoOn,
  // The main program: delete the temporary files and end the program, with
  // no box of the routine's own.
  DeleteTempFilesAndEnd,
};

// Steps of the install routine that belong to a slot beyond extracting and
// expanding its member.
enum class SlotStep {
  None,
  FindSystemDir,       // before the slot: SystemDir from GetSystemDirectoryA
  PrepareProjectsDir,  // before the slot: ProjectsDir chosen and created; on failure the slot is skipped
  PatchSampleProject,  // after the slot, whatever its outcome: the 512-byte path block at offset 25
  RunRuntimePackage,   // after a successful expansion: run, wait for and delete the package
};

struct PayloadSlot {
  int Number = 0;
  // Name of the temporary file in ExtractDir and the file line's first text.
  std::string CompressedName;
  std::string TargetName;
  SlotFolder Folder = SlotFolder::None;
  std::int32_t Length = 0;
  // What the member's header states as the expanded file's length, and the
  // CRC-32 of the member's bytes (both 0 for slot 4).
  std::uint32_t ExpandedLength = 0;
  std::uint32_t Crc32 = 0;
  SlotCondition Condition = SlotCondition::None;
  // Keys for TranslateText; empty where the routine shows no box of its own.
  std::string ExtractFailureText;
  std::string ExpandFailureText;
  // The title "Rededi Dirirozo" of the extract-failure box passes through
  // TranslateText, except for slot 5.
  bool TranslateExtractFailureTitle = true;
  SlotFailureRule OnFailure = SlotFailureRule::ReportAndGoOn;
  SlotStep Before = SlotStep::None;
  SlotStep AfterExpansion = SlotStep::None;
  SlotStep After = SlotStep::None;
};

// One build's members as the packing step measured them; index k - 1 is
// slot k's. The packing step generates this record from the build's own
// members before the program is compiled, and finds it again in the built
// image by its marker (a fixed text, NUL-padded) to check the members
// against it.
struct PayloadRecord {
  char Marker[24];
  std::array<std::int32_t, kSlotCount> Length;
  std::array<std::uint32_t, kSlotCount> ExpandedLength;
  std::array<std::uint32_t, kSlotCount> Crc32;
};

// This build's record, defined by the source that the packing step generates.
extern const PayloadRecord kCompiledPayload;

// The 57 slots in processing order (slot 1 first) with the record's members.
// Slot 3's names are built from the trimmed ProgramName at the call.
std::array<PayloadSlot, kSlotCount> PayloadSlots(const PayloadRecord& record = kCompiledPayload);

}  // namespace zov
