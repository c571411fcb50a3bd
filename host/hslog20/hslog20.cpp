// The HotSync log: each entry becomes one line of the log file (see
// log_file.h), with the time it was added, its activity and its text.
#include "base/text.h"
#include "host_call.h"
#include "hostapi/hotsync_log.h"
#include "log_file.h"

KESTRO_HOST_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t timestamp) {
  using namespace kestro::host;
  return HostCall(
      "LogAddEntry",
      [&] { return kestro::Format("%s, %d, %d", QuoteArg(text).c_str(), activity, timestamp); }, -1,
      [&](std::string*) {
        return AppendLogEntry(LogFilePath(), activity, text ? text : "") ? 0 : -1;
      });
}
