// The working state of one run of the install routine and the steps that
// it is made of. Each step is a part of RunInstallation, kept in a file of
// its own; none is called from anywhere else.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "engine/install_account.h"
#include "engine/payload_slots.h"
#include "wizard/form1.h"

namespace zov {

// The locals of RunInstallation.
struct InstallRun {
  explicit InstallRun(Form1Window& owner) : form(owner) {}
  Form1Window& form;
  std::string InstallerPath;  // the installer's own file
  std::string ExtractDir;     // TempDir\ZOVTMP, one temporary file per member
  std::int32_t EndGap = 0;    // the sum of the lengths of the slots already processed
  std::string SystemDir;      // found before slot 28
  std::string ProjectsDir;    // chosen before slot 30
  InstallAccount Account;     // what the run has made
};

// True when the installer file holds every member of the slot table where
// the table puts it, counted from the end of the file, each the very member
// the build packed (CheckMember), and is no longer than the extraction's
// 32-bit positions reach. Bytes appended to the file or lost from its end
// move every member; a changed byte changes a member. Reads each byte of the
// payload once.
bool PayloadIntact(const std::string& installerPath, const std::array<PayloadSlot, kSlotCount>& slots);

// One slot: its steps before, its member extracted and expanded when its
// condition holds, its steps after, EndGap and its progress step.
void ProcessSlot(InstallRun& run, const PayloadSlot& slot);

// SystemDir from GetSystemDirectoryA, without a trailing NUL or "\".
std::string FindSystemDir();
// The sample project's folder: "ZOV Projects" in Documents, or "Projects"
// in the install folder when Documents is missing.
std::string ChooseProjectsDir();
// Writes the path of SampleAVI.avi in the install folder, 512 ANSI
// characters padded with blanks, at byte offset 25 of the sample project;
// false when the project could not be written.
bool PatchSampleProject(const InstallRun& run);
// Starts the runtime package in the install folder, waits for it to end
// and deletes it.
void RunRuntimePackage(InstallRun& run);

}  // namespace zov
