// The running program as the runtime sees it: its folder and name on the
// machine, its default message-box title, starting other programs, and
// letting pending window messages run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>

namespace zov::runtime {

struct Application {
  std::string Path;     // Windows folder of the program, without a trailing "\" (but "Z:\" for a root)
  std::string EXEName;  // base name without ".exe"
  std::string Title;    // the default title of message boxes that name none
};

Application& App();

// Finds the running program on the machine (mounting its host folder as a
// drive when it lies outside every drive) and fills App.
void LocateProgram(const std::filesystem::path& hostExecutable, const std::string& title);

// Starts a program by command line; the window styles are those of the
// runtime (1 normal with focus). Returns the process id; error 53 when the
// program cannot be found.
std::uint32_t Shell(const std::string& commandLine, int windowStyle = 1);

// Lets pending window messages run. The window toolkit installs the handler.
void DoEvents();
void SetDoEventsHandler(std::function<void()> handler);

}  // namespace zov::runtime
