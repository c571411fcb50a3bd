#include "host_switches.h"

#include "platform/environment.h"

namespace kestro::host {

const HostSwitches& Switches() {
  static platform::EnvironmentMark mark;
  static HostSwitches switches;
  if (platform::EnvironmentChangedSince(mark)) {
    switches.fault = platform::GetEnv("KESTRO_HOST_FAULT").value_or("");
    switches.handheld = platform::GetEnv("KESTRO_HANDHELD").value_or("");
    switches.journal = platform::GetEnv("KESTRO_HOST_JOURNAL").value_or("");
    switches.flush_every_change = platform::GetEnv("KESTRO_HANDHELD_FSYNC").value_or("") == "1";
    ++switches.reading;
  }
  return switches;
}

}  // namespace kestro::host
