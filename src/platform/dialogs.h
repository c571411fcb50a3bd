// Modal dialogs, described as plain controls at pixel positions so that the
// dialogs' rules live in their own models and only the drawing lives here. A
// face shows the controls, writes the user's changes back into them (checked
// radio button, check box, edit text) and runs the event handlers; handlers
// may change the controls, and the face shows the change at once.
// Faces: native Win32 dialogs; a terminal UI on Linux (Cancel, with a line on
// stderr, when there is no terminal); a scripted face for tests, chosen by
// KESTRO_DIALOG_SCRIPT (see dialog_script.h), in every build.
#pragma once

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace kestro::platform {

struct Rect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  int Bottom() const { return top + height; }
};

enum class ModalResult { kOk, kCancel };

struct FontFace {
  std::string name;
  int height_pixels = 0;  // character height in pixels
};

struct ButtonControl {
  std::string caption;
  Rect rect;
  bool visible = true;
  std::function<void()> on_click;
};

// The HotSync action window: four actions, each a picture and a radio button,
// in a group box; OK (default), Cancel (Escape, close box), a check box and
// two optional buttons that run a handler and leave the window open.
struct ActionFormControls {
  std::string caption;
  int client_width = 0;
  int client_height = 0;
  FontFace font;
  std::string group_caption;
  Rect group;  // in client coordinates; the pictures and radios are inside it
  struct Action {
    std::string caption;  // "&" marks the accelerator
    Rect picture;         // picture i shows action i (see the faces)
    Rect radio;
    bool enabled = true;
    bool checked = false;
  };
  std::array<Action, 4> actions;
  ButtonControl ok, cancel, data, about;
  std::string check_caption;
  Rect check;
  bool check_state = false;
};

// The settings window: a two-item radio group, a label, a read-only edit box
// and three buttons. Ok closes only when on_ok answers true; Cancel closes.
// The model fills the controls before showing them.
struct SettingsFormControls {
  std::string caption;
  int left = 0;  // position on the screen
  int top = 0;
  int client_width = 0;
  int client_height = 0;
  FontFace font;
  std::string group_caption;
  Rect group;
  std::array<std::string, 2> items;
  int item_index = -1;  // -1: nothing selected
  std::string label;
  Rect label_rect;
  std::string edit_text;
  Rect edit;
  ButtonControl browse, ok, cancel;
  std::function<void()> on_item_click;    // after item_index changed
  std::function<bool()> on_ok;            // true: close with OK
};

ModalResult ShowActionForm(ActionFormControls& form);
ModalResult ShowSettingsForm(SettingsFormControls& form);

// A folder chooser (drives, folder tree, the folder's files; no Help, no new
// folder) starting at start. nullopt when the user cancels.
std::optional<std::string> ChooseFolder(const std::string& title, const std::string& start);

struct FileOpenRequest {
  std::string title;
  std::string filter;  // "Description|pattern;pattern|..." pairs
  std::string file_name;  // initial name
  // The options of the settings dialog's file chooser: hide the read-only
  // box, accept only existing files, let the user resize the window.
  bool hide_read_only = true;
  bool file_must_exist = true;
  bool resizable = true;
};
std::optional<std::string> ChooseOpenFile(const FileOpenRequest& request);

}  // namespace kestro::platform
