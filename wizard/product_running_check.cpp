// The installer does not go on while the product runs: its main window and
// its settings window are both among the top-level windows.
#include "localisation/translate_text.h"
#include "platform/runtime/runtime_error.h"
#include "platform/runtime/strings.h"
#include "platform/ui/backend.h"
#include "platform/win32/types.h"
#include "platform/win32/window_manager.h"
#include "wizard/form1.h"

namespace zov {

namespace {

// The title of a top-level window, trimmed; empty for a window without one.
std::string titleOf(win32::HWND window) {
  std::string title;
  runtime::IgnoreErrors([&] {
    const int length = win32::GetWindowTextLengthA(window);
    if (length < 1) return;
    std::string buffer = runtime::Space(static_cast<std::size_t>(length) + 1);
    win32::GetWindowTextA(window, buffer, length + 1);
    if (runtime::Right(buffer, 1) == std::string(1, '\0')) buffer = runtime::Left(buffer, runtime::Len(buffer) - 1);
    title = runtime::Trim(buffer);
  });
  return title;
}

}  // namespace

bool Form1Window::WaitWhileProductRuns() {
  // The marks keep their value from one window to the next, so the two
  // windows may come in either order; only an OK answer clears them.
  bool productSeen = false;
  bool settingsSeen = false;
  win32::HWND window = win32::GetWindow(hWnd(), win32::GW_HWNDFIRST);
  while (window != 0) {
    const std::string t = titleOf(window);
    if (!t.empty()) {
      if (t == "Orvand's Rededi Dirirozo" || t == "ZOV" || t == "ZOV Rededi Dirirozo" ||
          t == TranslateText("ZOV Rededi Dirirozo")) {
        productSeen = true;
      }
      if (t == "Rededi Dirirozo Settings" || t == TranslateText("Rededi Dirirozo Settings")) settingsSeen = true;
      if (productSeen && settingsSeen) {
        const int answer =
            ui::MsgBox(TranslateText("ZOV Rededi Dirirozo is currently running, please close it before starting to "
                                     "install.") +
                           runtime::vbCrLf + runtime::vbCrLf + TranslateText("Press on OK button to continue..."),
                       305, TranslateText("Rededi Dirirozo"));
        if (answer == ui::vbCancel) {
          Command2.Caption = TranslateText("Finish");
          ui::Unload(*this);
          return false;
        }
        productSeen = false;
        settingsSeen = false;
        window = win32::GetWindow(hWnd(), win32::GW_HWNDFIRST);
        continue;
      }
    }
    window = win32::GetWindow(window, win32::GW_HWNDNEXT);
  }
  return true;
}

}  // namespace zov
