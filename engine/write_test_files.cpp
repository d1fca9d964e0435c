// The two small file routines with which the install routine finds out
// whether a user folder accepts new files: write a one-line file, delete it.
// Neither says anything: every failure is the result.
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "wizard/form1.h"

namespace zov {

bool Form1Window::WriteTextFile(const std::string& Folder, const std::string& Name, const std::string& Text) {
  int fileNumber = 0;
  try {
    const std::string folder = runtime::Trim(Folder);
    const std::string name = runtime::Trim(Name);
    if (folder.empty() || name.empty()) return false;
    fileNumber = runtime::FreeFile();
    // Created, or emptied when it exists; a read-only file refuses the open.
    runtime::Open(folder + "\\" + name, runtime::OpenMode::Output, fileNumber);
    runtime::PrintLine(fileNumber, Text);
    runtime::Close(fileNumber);
    return true;
  } catch (const runtime::RuntimeError&) {
    if (fileNumber) runtime::IgnoreErrors([&] { runtime::Close(fileNumber); });
    return false;
  }
}

bool Form1Window::DeleteFileIn(const std::string& Folder, const std::string& Name) {
  try {
    const std::string folder = runtime::Trim(Folder);
    const std::string name = runtime::Trim(Name);
    if (folder.empty() || name.empty()) return true;
    const std::string path = folder + "\\" + name;
    // Ordinary files only: a folder, a hidden or a system entry of that name is left alone.
    if (runtime::Dir(path, runtime::vbNormal).empty()) return true;
    runtime::Kill(path);
    return true;
  } catch (const runtime::RuntimeError&) {
    return false;
  }
}

}  // namespace zov
