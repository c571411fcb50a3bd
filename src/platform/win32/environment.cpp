#include "platform/environment.h"

#include "platform/win32/compat.h"

namespace kestro::platform {

// The process environment block, shared by every module of the process
// whatever C runtime each one carries.
std::optional<std::string> GetEnv(const char* name) {
  DWORD n = GetEnvironmentVariableA(name, nullptr, 0);
  if (n == 0) return std::nullopt;
  std::string value(n, '\0');
  DWORD got = GetEnvironmentVariableA(name, value.data(), n);
  value.resize(got);
  return value;
}

void SetEnv(const char* name, const std::string& value) {
  SetEnvironmentVariableA(name, value.c_str());
}

void UnsetEnv(const char* name) { SetEnvironmentVariableA(name, nullptr); }

// The environment block gives no cheap sign of a change: read again always.
bool EnvironmentChangedSince(EnvironmentMark& mark) {
  mark.taken = true;
  return true;
}

uint32_t CurrentProcessId() { return GetCurrentProcessId(); }

// A console answers GetConsoleMode; a file or a pipe does not.
bool StandardOutputIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_OUTPUT_HANDLE), &mode) != 0;
}

bool ProcessIsRunning(uint32_t id) {
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, id);
  if (!process) return GetLastError() != ERROR_INVALID_PARAMETER;  // no such process
  const bool running = WaitForSingleObject(process, 0) == WAIT_TIMEOUT;
  CloseHandle(process);
  return running;
}

}  // namespace kestro::platform
