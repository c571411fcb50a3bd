// The one road through which every exported function of the stand-in host
// libraries runs. It counts the call, fails it on request without carrying it
// out (KESTRO_HOST_FAULT), writes one line per call to the call journal
// (KESTRO_HOST_JOURNAL), and turns any exception of the body into a result
// code, so nothing ever crosses the C boundary. docs/host.md describes both
// switches.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace kestro::host {

// Describes the arguments of a call as passed, for the journal.
using CallArgs = std::function<std::string()>;

// Runs body for the named host function. args and out are only for the
// journal, and cost nothing without one: args runs (before the body) only
// when a journal is written, and out is null then; otherwise the body may set
// *out to what it handed back (an assigned ID, a count). An exception from
// the body answers error_code.
int32_t HostCall(const char* function, const CallArgs& args, int32_t error_code,
                 const std::function<int32_t(std::string* out)>& body);

// Called once when a sticky fault cuts the link, as a handheld ends its side
// of the session: the Sync Manager closes its open databases then.
void OnLinkLost(void (*handler)());

// Quotes a text argument for the journal ("null" for a null pointer).
std::string QuoteArg(const char* text);

}  // namespace kestro::host
