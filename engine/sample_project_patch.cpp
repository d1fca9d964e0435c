// The sample project names its video by full path: after the project has
// been expanded, the path of SampleAVI.avi in the install folder is written
// into it.
#include "engine/install_run.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/win32/ansi_buffer.h"
#include "services/shared_state.h"

namespace zov {

void PatchSampleProject(const InstallRun& run) {
  runtime::FixedString<512> block;
  block = runtime::Trim(InstallDir) + "\\SampleAVI.avi";
  // A project that cannot be written (its folder was not made, the file is
  // locked or read-only) keeps its old path; its own failures were reported
  // by the slot, and the installation goes on.
  int file = 0;
  runtime::IgnoreErrors([&] {
    const int number = runtime::FreeFile();
    runtime::Open(runtime::Trim(run.ProjectsDir) + "\\SampleProject.qev", runtime::OpenMode::Binary, number,
                  runtime::OpenAccess::Write);
    file = number;
    runtime::Put(file, 26, win32::ansiOf(block.value()));
  });
  if (file) runtime::Close(file);
}

}  // namespace zov
