// The Vista/7 build: its manifest asks for administrator rights, declares
// Windows 7 support and common controls version 6.
#include "services/build_identity.h"

namespace {
[[gnu::used, gnu::section(".manifest")]] const char kManifest[] = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<assembly xmlns="urn:schemas-microsoft-com:asm.v1" manifestVersion="1.0">
  <assemblyIdentity version="5.2.6.0" processorArchitecture="X86" name="Zideruv.ZOV5.Setup" type="win32"/>
  <description>ZOV Zuzuzu Rudavero 5 Setup</description>
  <trustInfo xmlns="urn:schemas-microsoft-com:asm.v3">
    <security>
      <requestedPrivileges>
        <requestedExecutionLevel level="requireAdministrator" uiAccess="false"/>
      </requestedPrivileges>
    </security>
  </trustInfo>
  <compatibility xmlns="urn:schemas-microsoft-com:compatibility.v1">
    <application>
      <supportedOS Id="{35138b9a-5d96-4fbd-8e2d-a2440225f93a}"/>
    </application>
  </compatibility>
  <dependency>
    <dependentAssembly>
      <assemblyIdentity type="win32" name="Microsoft.Windows.Common-Controls" version="6.0.0.0" processorArchitecture="X86" publicKeyToken="6595b64144ccf1df" language="*"/>
    </dependentAssembly>
  </dependency>
</assembly>
)";
}  // namespace

namespace zov {
const std::string& VersionLabel() {
  static const std::string label = "Version 5.2.6";
  return label;
}
}  // namespace zov
