// The sequence of one payload slot: extract its member into the temporary
// folder, show where it goes, expand it there, and move the progress on.
#include "engine/fit_path_to_label.h"
#include "engine/install_run.h"
#include "engine/progress_steps.h"
#include "localisation/translate_text.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "services/expand_files.h"
#include "services/shared_state.h"

namespace zov {

namespace {

using runtime::Trim;

bool ConditionHolds(const Form1Window& form, SlotCondition condition) {
  switch (condition) {
    case SlotCondition::None: return true;
    case SlotCondition::NotVista: return OsCode != 4;
    case SlotCondition::Vista: return OsCode == 4;
    case SlotCondition::RuntimePackageWanted: return Trim(form.Image1.Tag.get()) != "1";
  }
  return true;
}

std::string TargetFolder(const InstallRun& run, SlotFolder folder) {
  switch (folder) {
    case SlotFolder::System: return run.SystemDir;
    case SlotFolder::Projects: return run.ProjectsDir;
    default: return InstallDir;
  }
}

// The main program cannot be done without: the temporary files go and the
// program ends, with no box of the routine's own.
[[noreturn]] void EndInstallation(Form1Window& form) {
  form.DeleteTempFiles();
  runtime::End();
}

// The sample project is the user's to open, not a file the product runs from.
void FileMissing(InstallRun& run, const PayloadSlot& slot) {
  (slot.Folder == SlotFolder::Projects ? run.Account.OtherFiles : run.Account.ProductFiles) = false;
}

void ShowFailure(const std::string& text, bool translateTitle) {
  const std::string prompt = TranslateText(text);
  ui::MsgBox(prompt, 4144, translateTitle ? TranslateText("Rededi Dirirozo") : std::string("Rededi Dirirozo"));
}

// Extracts the slot's member and expands it into its target folder.
void ExtractAndExpand(InstallRun& run, const PayloadSlot& slot) {
  Form1Window& form = run.form;
  const bool fatal = slot.OnFailure == SlotFailureRule::DeleteTempFilesAndEnd;
  const std::string temporary = Trim(run.ExtractDir) + "\\" + slot.CompressedName;
  form.Label12.Caption = slot.CompressedName;
  form.Label12.Refresh();
  if (!form.ExtractMember(Trim(run.InstallerPath), Trim(temporary), slot.Length, run.EndGap)) {
    if (fatal) EndInstallation(form);
    // The expansion is attempted all the same, on whatever the file holds.
    FileMissing(run, slot);
    ShowFailure(slot.ExtractFailureText, slot.TranslateExtractFailureTitle);
  }
  // The file line names the install folder even for the system libraries.
  const std::string shownFolder = slot.Folder == SlotFolder::Projects ? run.ProjectsDir : std::string(InstallDir);
  form.Label12.Caption = FitPathToLabel(Trim(shownFolder) + "\\" + slot.TargetName, form, form.Label12);
  form.InstallDoEvents();

  const std::int32_t result =
      ExpandFile(Trim(temporary), Trim(TargetFolder(run, slot.Folder)) + "\\" + slot.TargetName, true);
  if (result < 0) {
    if (fatal) EndInstallation(form);
    FileMissing(run, slot);
    ShowFailure(slot.ExpandFailureText, true);
    return;
  }
  if (slot.AfterExpansion == SlotStep::RunRuntimePackage) RunRuntimePackage(run);
}

}  // namespace

void ProcessSlot(InstallRun& run, const PayloadSlot& slot) {
  bool folderReady = true;
  if (slot.Before == SlotStep::FindSystemDir) run.SystemDir = FindSystemDir();
  if (slot.Before == SlotStep::PrepareProjectsDir) {
    run.ProjectsDir = ChooseProjectsDir();
    // A projects folder that cannot be made skips the slot; its length still counts.
    folderReady = runtime::IgnoreErrors([&] {
      if (runtime::Dir(Trim(run.ProjectsDir), runtime::vbDirectory).empty()) runtime::MkDir(Trim(run.ProjectsDir));
    });
  }
  if (!folderReady) FileMissing(run, slot);
  if (slot.Folder != SlotFolder::None && folderReady && ConditionHolds(run.form, slot.Condition)) {
    ExtractAndExpand(run, slot);
  }
  run.EndGap += slot.Length;
  run.form.ShowProgress(StepPercent(slot.Number));
  if (slot.After == SlotStep::PatchSampleProject && !PatchSampleProject(run)) run.Account.OtherFiles = false;
}

}  // namespace zov
