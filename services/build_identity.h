// What tells the two builds of the installer apart. Each executable links
// its own definition.
#pragma once

#include <string>

namespace zov {

// "Version 5.2.6" for the Vista/7 build, "Version 5.2.6 XP" for the XP build.
const std::string& VersionLabel();

}  // namespace zov
