// Deleting one file without letting a failure stop the installation.
#include "localisation/translate_text.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "wizard/form1.h"

namespace zov {

bool Form1Window::DeleteFileWarn(const std::string& Path, const bool& Warn) {
  const std::string path = runtime::Trim(Path);
  try {
    // Folders, hidden and system files are not listed: they count as absent.
    if (runtime::Dir(path, runtime::vbNormal).empty()) return true;
    runtime::Kill(path);
    return true;
  } catch (const runtime::RuntimeError&) {
    if (!Warn) return false;
    const std::string leadIn = TranslateText("File '");
    const std::string inUse = TranslateText("' could not be deleted! It can be in use!");
    const std::string goingOn =
        TranslateText("Later you may delete this file manually, installation of Rededi Dirirozo is now continuing...");
    const std::string title = TranslateText("Rededi Dirirozo");
    ui::MsgBox(leadIn + path + inUse + "\r" + goingOn, 4144, title);
    return false;
  }
}

}  // namespace zov
