// Message boxes. On Windows a real modal box; on Linux a prompt on the
// terminal, or a line on stderr without one. With KESTRO_MESSAGE_LOG set, every
// box is appended to that file instead ("caption|text" per line) and answers
// OK, so tests can record what a user would have seen.
#pragma once

#include <functional>
#include <string>

namespace kestro::platform {

enum class MessageIcon { kNone, kError, kWarning, kInformation };

void ShowMessageBox(const std::string& text, const std::string& caption, MessageIcon icon);

// Runs what a window's button does. A failure is shown in an error box with
// the caption (an EAbort silently) and goes no further, so the window stays
// open, as after any failed click.
void ShowingFailure(const std::function<void()>& action, const std::string& caption);

// True when a box was recorded to KESTRO_MESSAGE_LOG (used by both faces).
bool RecordMessageBox(const std::string& text, const std::string& caption);

}  // namespace kestro::platform
