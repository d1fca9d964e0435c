// Removal of the installer's temporary folder, TempDir\ZOVTMP.
#include "localisation/translate_text.h"
#include "platform/runtime/files.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "services/shared_state.h"
#include "wizard/form1.h"

namespace zov {

void Form1Window::DeleteTempFiles() {
  // Every failure is ignored: a missing folder, a file in use, a subfolder.
  runtime::IgnoreErrors([this] { Label11.Caption = TranslateText("Temporary files are being deleted..."); });
  runtime::IgnoreErrors([this] { Label11.Refresh(); });
  runtime::IgnoreErrors([] { runtime::Kill(runtime::Trim(TempDir) + "\\ZOVTMP\\*.*"); });
  runtime::IgnoreErrors([] { runtime::RmDir(runtime::Trim(TempDir) + "\\ZOVTMP"); });
}

}  // namespace zov
