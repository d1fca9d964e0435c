#include "script.h"

#include <map>
#include <sstream>

namespace zov::ui {

namespace {

std::string trim(const std::string& s) {
  const auto a = s.find_first_not_of(" \t\r");
  if (a == std::string::npos) return {};
  return s.substr(a, s.find_last_not_of(" \t\r") - a + 1);
}

std::string unquote(const std::string& s) {
  if (s.size() >= 2 && s.front() == '"' && s.back() == '"') return s.substr(1, s.size() - 2);
  return s;
}

// Splits off the first word.
std::string firstWord(std::string& rest) {
  rest = trim(rest);
  const auto space = rest.find(' ');
  std::string word = rest.substr(0, space);
  rest = space == std::string::npos ? std::string() : trim(rest.substr(space + 1));
  return word;
}

}  // namespace

std::string ScriptCommand::text() const {
  std::string t = verb;
  if (!target.empty()) t += " " + target;
  if (!argument.empty()) t += " " + argument;
  return t;
}

std::vector<ScriptCommand> parseScript(const std::string& text, const std::string& source) {
  // verb -> needs a target, needs an argument, argument optional
  struct Shape {
    bool target;
    bool argument;
    bool optionalArgument;
  };
  static const std::map<std::string, Shape> shapes = {
      {"click", {true, false, false}},        {"type", {true, true, true}},
      {"choose", {true, true, false}},        {"close", {true, false, false}},
      {"answer", {true, false, true}},        {"input", {false, true, true}},
      {"input-cancel", {false, false, false}}, {"window-opens", {false, true, false}},
      {"window-closes", {false, true, false}}, {"pass", {false, false, false}},
  };
  std::vector<ScriptCommand> commands;
  std::istringstream in(text);
  std::string raw;
  int lineNo = 0;
  while (std::getline(in, raw)) {
    ++lineNo;
    std::string rest = trim(raw);
    if (rest.empty() || rest[0] == '#') continue;
    ScriptCommand c;
    c.line = lineNo;
    c.verb = firstWord(rest);
    if (c.verb == "busy") {
      c.busy = true;
      c.verb = firstWord(rest);
    }
    const auto shape = shapes.find(c.verb);
    if (shape == shapes.end()) {
      throw ScriptError(source + ":" + std::to_string(lineNo) + ": unknown command '" + c.verb + "'");
    }
    if (shape->second.target) {
      c.target = firstWord(rest);
      if (c.target.empty()) throw ScriptError(source + ":" + std::to_string(lineNo) + ": '" + c.verb + "' needs a name");
    }
    c.argument = unquote(rest);
    if (shape->second.argument && !shape->second.optionalArgument && c.argument.empty()) {
      throw ScriptError(source + ":" + std::to_string(lineNo) + ": '" + c.verb + "' needs a text");
    }
    if (!shape->second.argument && !shape->second.optionalArgument && !rest.empty()) {
      throw ScriptError(source + ":" + std::to_string(lineNo) + ": '" + c.verb + "' takes nothing after its name");
    }
    commands.push_back(c);
  }
  return commands;
}

}  // namespace zov::ui
