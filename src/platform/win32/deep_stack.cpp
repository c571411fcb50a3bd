#include "platform/deep_stack.h"

#include <windows.h>

#include <exception>

namespace kestro::platform {
namespace {

struct Call {
  const std::function<void()>* work;
  std::exception_ptr failure;
};

DWORD WINAPI Run(LPVOID argument) {
  auto* call = static_cast<Call*>(argument);
  try {
    (*call->work)();
  } catch (...) {
    call->failure = std::current_exception();
  }
  return 0;
}

}  // namespace

void RunOnDeepStack(const std::function<void()>& work) {
  Call call{&work, nullptr};
  // Reserved, not committed: pages are committed as the stack grows.
  HANDLE thread = CreateThread(nullptr, kDeepStackBytes, Run, &call, STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
  if (!thread) {
    work();
    return;
  }
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  if (call.failure) std::rethrow_exception(call.failure);
}

}  // namespace kestro::platform
