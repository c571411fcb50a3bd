// First stand-in HotSync log: one line per entry in the file named by
// KESTRO_HOTSYNC_LOG ("activity|text"), or on stderr.
#include "hostapi/hotsync_log.h"

#include <cstdio>

#include "platform/environment.h"

KESTRO_HOST_API int32_t LogAddEntry(const char* text, int32_t activity, int32_t) {
  auto file = kestro::platform::GetEnv("KESTRO_HOTSYNC_LOG");
  std::FILE* f = file ? std::fopen(file->c_str(), "ab") : stderr;
  if (!f) return -1;
  std::fprintf(f, "%d|%s\n", activity, text ? text : "");
  if (f != stderr) std::fclose(f);
  return 0;
}
