// How errors leave the engine and the stores: every operation catches what its
// body raises and hands the message, with its own four-digit location code, to
// RaiseError. A message that already carries a code keeps it, so an error
// names the innermost place that caught it.
#pragma once

#include <string>

#include "base/exception.h"

namespace kestro {

// Raises Exception: the message unchanged when it contains "Kestro error",
// else message + " Kestro error: " + code.
[[noreturn]] void RaiseError(const std::string& message, const std::string& code);

// The diagnostic trace of the engine and the stores. It is switched off: it
// returns at once and keeps nothing.
inline void WriteLog(const std::string&) {}

}  // namespace kestro
