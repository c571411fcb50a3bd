#include "platform/deep_stack.h"

#include <pthread.h>

#include <exception>

namespace kestro::platform {
namespace {

struct Call {
  const std::function<void()>* work;
  std::exception_ptr failure;
};

void* Run(void* argument) {
  auto* call = static_cast<Call*>(argument);
  try {
    (*call->work)();
  } catch (...) {
    call->failure = std::current_exception();
  }
  return nullptr;
}

}  // namespace

void RunOnDeepStack(const std::function<void()>& work) {
  Call call{&work, nullptr};
  pthread_attr_t attributes;
  pthread_t thread;
  bool started = false;
  if (pthread_attr_init(&attributes) == 0) {
    started = pthread_attr_setstacksize(&attributes, kDeepStackBytes) == 0 &&
              pthread_create(&thread, &attributes, Run, &call) == 0;
    pthread_attr_destroy(&attributes);
  }
  if (!started) {
    work();
    return;
  }
  pthread_join(thread, nullptr);
  if (call.failure) std::rethrow_exception(call.failure);
}

}  // namespace kestro::platform
