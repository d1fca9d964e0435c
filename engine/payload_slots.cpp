#include "engine/payload_slots.h"

#include <string_view>

#include "platform/runtime/strings.h"
#include "services/shared_state.h"

namespace zov {

namespace {

struct SlotRow {
  std::string_view target;  // empty: slot 3 (from ProgramName) or slot 4 (nothing)
  SlotFolder folder;
  SlotCondition condition = SlotCondition::None;
};

constexpr SlotFolder I = SlotFolder::Install;
constexpr SlotFolder S = SlotFolder::System;

// In slot order.
constexpr SlotRow kRows[kSlotCount] = {
    {"MCD28m.wav", I},
    {"MCU28m.wav", I},
    {"", I},  // the main program
    {"", SlotFolder::None},
    {"Stop.wav", I},
    {"StartShort.wav", I},
    {"Start.wav", I},
    {"Shot.wav", I},
    {"Key118m.wav", I},
    {"Key1116m.wav", I},
    {"Key128m.wav", I},
    {"MCD18m.wav", I},
    {"MCU18m.wav", I},
    {"Beep.wav", I},
    {"Click.wav", I},
    {"Uninstall Zuzuzu Rudavero 5.exe", I},
    {"ZOV5.chm", I},
    {"Graphics.zov", I},
    {"ZOVDefault.pal", I},
    {"Qmark.jpg", I},
    {"BlueCursor.cur", I},
    {"GreenCursor.cur", I},
    {"RedCursor.cur", I},
    {"YellowCursor.cur", I},
    {"SampleAVI.avi", I},
    {"ZOVUser.exe", I, SlotCondition::NotVista},
    {"SWFGraphs.zov", I},
    {"zovatswf.dll", S},
    {"zovatwmv.dll", S},
    {"SampleProject.qev", SlotFolder::Projects},
    {"UninstallZOV5.exe", I},
    {"vcredist_x86.exe", I, SlotCondition::RuntimePackageWanted},
    {"zovmgps.dll", S},
    {"zovmgcv.dll", S},
    {"zovgvas.dll", S},
    {"MCD116m.wav", I},
    {"MCU116m.wav", I},
    {"MCD216m.wav", I},
    {"MCU216m.wav", I},
    {"Key1216m.wav", I},
    {"Key218m.wav", I},
    {"Key2116m.wav", I},
    {"Key228m.wav", I},
    {"Key2216m.wav", I},
    {"Key318m.wav", I},
    {"Key3116m.wav", I},
    {"Key328m.wav", I},
    {"Key3216m.wav", I},
    {"Zuzuzu Rudavero 5.exe.manifest", I, SlotCondition::Vista},
    {"VideoPlayer.zov", I},
    {"VideoPlayer1.zov", I},
    {"VideoPlayer2.zov", I},
    {"ZOVDELang.dat", I},
    {"ZOVFRLang.dat", I},
    {"ZOVSPLang.dat", I},
    {"zovlback.dll", S},
    {"zoveffs.dll", S},
};

// The target name with its extension cut to two characters and "_" added:
// "MCD28m.wav" gives "MCD28m.wa_".
std::string compressedNameOf(const std::string& target) {
  const auto dot = target.rfind('.');
  return target.substr(0, dot + 1) + target.substr(dot + 1, 2) + "_";
}

}  // namespace

std::array<PayloadSlot, kSlotCount> PayloadSlots(const PayloadRecord& record) {
  std::array<PayloadSlot, kSlotCount> slots;
  for (int k = 1; k <= kSlotCount; ++k) {
    const SlotRow& row = kRows[k - 1];
    PayloadSlot& s = slots[k - 1];
    s.Number = k;
    s.Folder = row.folder;
    s.Condition = row.condition;
    s.Length = record.Length[k - 1];
    s.ExpandedLength = record.ExpandedLength[k - 1];
    s.Crc32 = record.Crc32[k - 1];
    if (k == 4) continue;
    if (k == 3) {
      s.TargetName = runtime::Trim(ProgramName) + ".exe";
      s.CompressedName = runtime::Trim(ProgramName) + ".ex_";
      s.OnFailure = SlotFailureRule::DeleteTempFilesAndEnd;
      continue;
    }
    s.TargetName = row.target;
    s.CompressedName = compressedNameOf(s.TargetName);
    s.ExtractFailureText = "File '" + s.TargetName + "' could not be extracted!";
    s.ExpandFailureText = "File '" + s.TargetName + "' could not be expanded!";
  }

  slots[5 - 1].TranslateExtractFailureTitle = false;
  for (int k : {16, 31}) {
    slots[k - 1].ExtractFailureText = "ZOV uninstall file could not be extracted!";
    slots[k - 1].ExpandFailureText = "ZOV 'Uninstall' file could not be expanded!";
  }
  slots[17 - 1].ExtractFailureText = "ZOV help file could not be extracted!";
  slots[17 - 1].ExpandFailureText = "ZOV help file could not be expanded!";
  slots[32 - 1].ExtractFailureText = "vcredist_x86.exe could not be extracted!";
  slots[32 - 1].ExpandFailureText = "vcredist_x86.exe file could not be expanded!";

  slots[28 - 1].Before = SlotStep::FindSystemDir;
  slots[30 - 1].Before = SlotStep::PrepareProjectsDir;
  slots[30 - 1].After = SlotStep::PatchSampleProject;
  slots[32 - 1].AfterExpansion = SlotStep::RunRuntimePackage;
  return slots;
}

}  // namespace zov
