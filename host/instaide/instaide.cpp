// The install aide: queues a file for a user's handheld; the next HotSync
// installs it (install_queue.h).
#include "host_call.h"
#include "hostapi/install_aide.h"
#include "install_queue.h"

KESTRO_HOST_API int32_t PltInstallFile(const char* user_name, const char* file_path) {
  using namespace kestro::host;
  return HostCall(
      "PltInstallFile", [&] { return QuoteArg(user_name) + ", " + QuoteArg(file_path); }, -500,
      [&](std::string*) {
        if (!user_name || !file_path) return -513;
        auto user = FindUserByName(user_name);
        if (!user) return -504;
        return QueueInstall(*user, file_path);
      });
}
