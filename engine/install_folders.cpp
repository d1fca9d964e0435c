// The two target folders besides the install folder: the Windows system
// folder for the libraries and the sample project's folder.
#include "engine/install_run.h"
#include "platform/runtime/files.h"
#include "platform/runtime/strings.h"
#include "platform/win32/kernel.h"
#include "services/path_exists.h"
#include "services/shared_state.h"
#include "services/shell_folders.h"

namespace zov {

namespace {

using runtime::Trim;

// The text without a trailing NUL, then without a trailing "\".
std::string WithoutNulAndBackslash(std::string text) {
  if (runtime::Right(Trim(text), 1) == std::string(1, '\0')) text = runtime::Left(Trim(text), runtime::Len(Trim(text)) - 1);
  if (runtime::Right(Trim(text), 1) == "\\") text = runtime::Left(Trim(text), runtime::Len(Trim(text)) - 1);
  return text;
}

}  // namespace

std::string FindSystemDir() {
  std::string buffer = runtime::Space(255);
  const win32::DWORD n = win32::GetSystemDirectoryA(buffer, 255);
  return WithoutNulAndBackslash(runtime::Left(buffer, n));
}

std::string ChooseProjectsDir() {
  std::string docs = GetUserFolder(1);
  if (!Trim(docs).empty()) docs = WithoutNulAndBackslash(docs);
  // Documents that cannot even be listed (moved to a drive without a medium)
  // count as missing, like Documents that are not there.
  if (!PathExists(docs, runtime::vbDirectory)) {
    return Trim(InstallDir) + "\\Projects";
  }
  return Trim(docs) + "\\ZOV Projects";
}

}  // namespace zov
