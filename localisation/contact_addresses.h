// The product's support e-mail address and download address. Each is
// defined here once; the translation table keys its rows by the English
// texts below, and the callers show the same texts, so a key and the text a
// caller passes cannot drift apart.
#pragma once

#include <string>
#include <string_view>

namespace zov {

inline constexpr std::string_view kSupportEmailAddress = "support@zideruv.example";
inline constexpr std::string_view kDownloadAddress = "https://www.zideruv.example/download/zov5";

// "Please email this error message to " followed by the support address: the
// last line of the error boxes of file expansion and of the settings files.
inline std::string SupportLine() {
  return "Please email this error message to " + std::string(kSupportEmailAddress);
}

// The message shown when the installer file is shorter than its payload needs.
inline std::string IncompleteInstallerText() {
  return "Installation file is not complete. Please redownload the file from " +
         std::string(kDownloadAddress);
}

}  // namespace zov
