// The stand-in host's switches (docs/host.md). They are read from the
// environment again only when it has changed since they were last read, so
// that the tens of thousands of host calls of one HotSync do not each read
// them, while a test that sets a switch between two calls is still heard.
#pragma once

#include <cstdint>
#include <string>

namespace kestro::host {

struct HostSwitches {
  std::string fault;     // KESTRO_HOST_FAULT
  std::string handheld;  // KESTRO_HANDHELD
  std::string journal;   // KESTRO_HOST_JOURNAL: empty when none is written
  bool flush_every_change = false;  // KESTRO_HANDHELD_FSYNC=1
  uint64_t reading = 0;  // counts the times they were read, from 1
};

// The switches as the environment holds them now. One caller at a time:
// host calls are serialised by HostCall.
const HostSwitches& Switches();

}  // namespace kestro::host
