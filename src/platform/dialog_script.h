// The scripted dialog face for tests. KESTRO_DIALOG_SCRIPT names a text file;
// each dialog shown takes the first line off it (so scripts work across
// libraries and processes) and plays its words as a user would:
//   action window:   check N | default on|off | data | about | ok | cancel | escape | close
//   settings window: select N|none | browse | ok | cancel
//   choosers:        choose <path> | cancel
// A line that ends without closing the window, or an empty script, answers
// Cancel. With KESTRO_DIALOG_RECORD set, every dialog shown appends what it
// showed to that file, one line per showing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/dialogs.h"

namespace kestro::platform {

// True when KESTRO_DIALOG_SCRIPT is set: the scripted face answers.
bool DialogScriptActive();

ModalResult ScriptActionForm(ActionFormControls& form);
ModalResult ScriptSettingsForm(SettingsFormControls& form);
std::optional<std::string> ScriptChooseFolder(const std::string& title, const std::string& start);
std::optional<std::string> ScriptChooseOpenFile(const FileOpenRequest& request);

// Appends one line to KESTRO_DIALOG_RECORD when it is set.
void RecordDialog(const std::string& line);

// The native face of this build: Win32 dialogs or the terminal UI.
ModalResult NativeActionForm(ActionFormControls& form);
ModalResult NativeSettingsForm(SettingsFormControls& form);
std::optional<std::string> NativeChooseFolder(const std::string& title, const std::string& start);
std::optional<std::string> NativeChooseOpenFile(const FileOpenRequest& request);

}  // namespace kestro::platform
