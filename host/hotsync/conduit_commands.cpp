// hotsync config / register / unregister / conduits: the conduit's own
// configuration and registration entry points, and the registrations the
// Conduit Manager keeps.
#include <algorithm>
#include <cstring>

#include "base/text.h"
#include "command_line.h"
#include "commands.h"
#include "conduit_library.h"
#include "host_store.h"
#include "session.h"

namespace kestro::hotsync {
namespace {

// The library named by --conduit PATH or a positional path, or registered
// for --creator ID (the only registered one when neither is given).
struct Chosen {
  std::string library;
  std::optional<host::ConduitRegistration> registration;
  int error = kOk;
};

Chosen ChooseConduit(const Arguments& a, bool allow_default) {
  Chosen c;
  std::optional<std::string> path = a.Option("conduit");
  if (!path && !a.positional.empty()) path = a.positional[0];
  if (path) {
    c.library = *path;
    for (const auto& r : host::ListConduits()) {
      if (r.library == *path) c.registration = r;
    }
    return c;
  }
  if (auto creator = a.Option("creator")) {
    c.registration = host::FindConduit(*creator);
    if (!c.registration) c.error = Fail(kNotFound, "no conduit is registered for creator " + *creator);
  } else if (allow_default) {
    auto all = host::ListConduits();
    if (all.size() == 1) {
      c.registration = all[0];
    } else {
      c.error = Fail(kUsage, all.empty() ? "no conduit is registered; give --conduit PATH"
                                         : "several conduits are registered; give --creator ID");
    }
  } else {
    c.error = Fail(kUsage, "give the conduit's PATH or --creator ID");
  }
  if (c.registration) c.library = c.registration->library;
  return c;
}

uint32_t CreatorNumber(const std::string& creator) {
  // Four characters as four bytes in text order, the first in the lowest byte.
  uint32_t value = 0;
  for (std::size_t i = 0; i < 4 && i < creator.size(); ++i) value |= static_cast<uint32_t>(static_cast<uint8_t>(creator[i])) << (8 * i);
  return value;
}

}  // namespace

int ConfigCommand(const Args& args) {
  Arguments a = ParseArguments(args, {"creator", "conduit", "user", "type"}, {});
  if (a.help) {
    Say("usage: hotsync config [PATH | --conduit PATH | --creator ID] [--type N] [--user NAME]\n"
        "Lets the conduit configure its HotSync action (its CfgConduit). The action\n"
        "chosen is kept for the conduit: as its default, or for the next HotSync only.\n"
        "  --type N  the action to start from (default: the conduit's current one)\n"
        "Exit codes: 0 done, 1 the conduit refused, 2 usage, 3 not registered, 4 not loadable.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error + " (see hotsync config --help)");
  Chosen chosen = ChooseConduit(a, true);
  if (chosen.error != kOk) return chosen.error;
  auto user = ResolveUser(a.Option("user"));
  if (!user) return Fail(kUsage, "not a user name");
  int current = 0;
  if (chosen.registration) {
    const auto& r = *chosen.registration;
    current = r.next_sync_type >= 0 ? r.next_sync_type : std::max(r.sync_type, 0);
  }
  if (auto t = a.Option("type")) {
    auto parsed = ParseSyncType(*t);
    if (!parsed) return Fail(kUsage, "not a sync type: " + *t);
    current = *parsed;
  }
  ConduitLibrary conduit(chosen.library);
  if (!conduit.IsLoaded()) return Fail(kNoConduit, conduit.Error());
  hostapi::ThcdCfgConduitInfo info{};
  info.dwVersion = 1;
  info.dwSize = sizeof info;
  info.dwCreatorId = chosen.registration ? CreatorNumber(chosen.registration->creator) : 0;
  info.dwUserId = user->id;
  SetFieldText(info.szUser, sizeof info.szUser, user->name);
  info.syncPermanent = chosen.registration ? std::max(chosen.registration->sync_type, 0) : 0;
  info.syncTemporary = current;
  info.syncNew = current;
  info.syncPref = 0;
  int32_t result = 0;
  if (!conduit.CfgConduit(info, result)) return Fail(kNoConduit, conduit.Error());
  if (result != 0) return Fail(kFailed, Format("the conduit's configuration answered %d", result));
  bool permanent = info.syncPref == 1;
  Say("HotSync action: " + SyncTypeName(info.syncNew) + (permanent ? " (default)" : " (next HotSync only)"));
  if (chosen.registration) {
    host::ConduitRegistration r = *chosen.registration;
    if (permanent) {
      r.sync_type = info.syncNew;
      r.next_sync_type = -1;
    } else {
      r.next_sync_type = info.syncNew;
    }
    if (!host::SaveConduit(r)) return Fail(kFailed, "the HotSync action could not be saved");
  }
  return kOk;
}

int RegisterCommand(const Args& args) {
  Arguments a = ParseArguments(args, {}, {});
  if (a.help || (a.positional.size() != 1 && a.error.empty())) {
    Say("usage: hotsync register PATH\n"
        "Asks the conduit library to register itself with the Conduit Manager\n"
        "(its DllRegisterServer).\n"
        "Exit codes: 0 registered, 1 the conduit refused, 2 usage, 4 not loadable.");
    return a.help ? kOk : kUsage;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  ConduitLibrary conduit(a.positional[0]);
  if (!conduit.IsLoaded()) return Fail(kNoConduit, conduit.Error());
  auto before = host::ListConduits();
  int32_t result = 0;
  if (!conduit.RegisterServer(result)) return Fail(kNoConduit, conduit.Error());
  if (result != 0) return Fail(kFailed, Format("registration failed: DllRegisterServer answered %d", result));
  bool named = false;
  for (const auto& r : host::ListConduits()) {
    bool is_new = std::none_of(before.begin(), before.end(), [&](const auto& b) { return b.creator == r.creator; });
    if (!is_new) continue;
    Say("Registered " + (r.title.empty() ? r.library : r.title) + " for creator " + r.creator + " (" + r.library + ")");
    named = true;
  }
  if (!named) Say("Registered " + a.positional[0]);
  return kOk;
}

int UnregisterCommand(const Args& args) {
  Arguments a = ParseArguments(args, {"creator"}, {});
  if (a.help) {
    Say("usage: hotsync unregister (PATH | --creator ID)\n"
        "Asks the conduit library to unregister itself (its DllUnregisterServer).\n"
        "Exit codes: 0 unregistered, 1 the conduit refused, 2 usage, 3 not registered, 4 not loadable.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  Chosen chosen = ChooseConduit(a, false);
  if (chosen.error != kOk) return chosen.error;
  ConduitLibrary conduit(chosen.library);
  if (!conduit.IsLoaded()) return Fail(kNoConduit, conduit.Error());
  int32_t result = 0;
  if (!conduit.UnregisterServer(result)) return Fail(kNoConduit, conduit.Error());
  if (result != 0) return Fail(kFailed, Format("unregistration failed: DllUnregisterServer answered %d", result));
  Say("Unregistered " + chosen.library);
  return kOk;
}

int ConduitsCommand(const Args& args) {
  Arguments a = ParseArguments(args, {}, {});
  if (a.help) {
    Say("usage: hotsync conduits\nLists the conduits registered with the Conduit Manager.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  auto conduits = host::ListConduits();
  if (conduits.empty()) Say("No conduit is registered.");
  for (const auto& c : conduits) {
    std::string action = c.next_sync_type >= 0 ? SyncTypeName(c.next_sync_type) + " (next HotSync only)"
                                               : SyncTypeName(std::max(c.sync_type, 0));
    Say(c.creator + "  " + (c.title.empty() ? "(no title)" : c.title) + "  priority " + std::to_string(c.priority) +
        "  " + action);
    Say("      library:   " + c.library);
    Say("      directory: " + c.directory + (c.file.empty() ? "" : "  file: " + c.file) +
        (c.remote.empty() ? "" : "  remote: " + c.remote) + (c.info.empty() ? "" : "  info: " + c.info));
  }
  return kOk;
}

}  // namespace kestro::hotsync
