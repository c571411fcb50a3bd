// Test helper: plays a user's answers to the dialogs through the scripted
// face and reads back what each dialog showed. Lives inside a TestEnvironment.
#pragma once

#include <string>
#include <vector>

#include "platform/environment.h"
#include "platform/file_system.h"
#include "support/test_environment.h"

namespace kestro::testing {

class ScriptedDialogs {
 public:
  explicit ScriptedDialogs(const TestEnvironment& env)
      : script_(env.Path("dialog-script.txt")), record_(env.Path("dialog-record.txt")) {
    platform::WriteFileAtomically(script_, "");
    platform::SetEnv("KESTRO_DIALOG_SCRIPT", script_);
    platform::SetEnv("KESTRO_DIALOG_RECORD", record_);
  }
  ~ScriptedDialogs() {
    platform::UnsetEnv("KESTRO_DIALOG_SCRIPT");
    platform::UnsetEnv("KESTRO_DIALOG_RECORD");
  }

  // The answers, one line per dialog shown, in the order they will show.
  void Script(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\n";
    platform::WriteFileAtomically(script_, text);
  }
  // Lines of the script not used yet.
  std::vector<std::string> Unused() const { return ReadLines(script_); }
  // What each dialog showed, one line per showing.
  std::vector<std::string> Shown() const { return ReadLines(record_); }

 private:
  std::string script_;
  std::string record_;
};

}  // namespace kestro::testing
