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

bool PatchSampleProject(const InstallRun& run) {
  runtime::FixedString<512> block;
  block = runtime::Trim(InstallDir) + "\\SampleAVI.avi";
  // A project that cannot be written (its folder was not made, the file is
  // locked or read-only) keeps its old path, and the installation goes on.
  int file = 0;
  const bool written = runtime::IgnoreErrors([&] {
    const int number = runtime::FreeFile();
    runtime::Open(runtime::Trim(run.ProjectsDir) + "\\SampleProject.qev", runtime::OpenMode::Binary, number,
                  runtime::OpenAccess::Write);
    file = number;
    runtime::Put(file, 26, win32::ansiOf(block.value()));
  });
  const bool closed = file != 0 && runtime::IgnoreErrors([&] { runtime::Close(file); });
  return written && closed;
}

}  // namespace zov
