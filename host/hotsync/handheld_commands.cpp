// hotsync log / list / dump / users / install: what the last HotSync logged,
// the handheld's databases, one database as a readable tree, the HotSync
// users, and files queued for the handheld.
#include <cstdio>
#include <memory>

#include "base/text.h"
#include "command_line.h"
#include "commands.h"
#include "favorites_tree.h"
#include "handheld_database.h"
#include "handheld_folder.h"
#include "host_paths.h"
#include "install_queue.h"
#include "log_file.h"
#include "run_records.h"
#include "platform/file_system.h"
#include "session.h"

namespace kestro::hotsync {
namespace {

std::string FourChars(uint32_t code) {
  std::string s;
  for (int shift = 24; shift >= 0; shift -= 8) {
    char c = static_cast<char>((code >> shift) & 0xFF);
    s += (c >= 0x20 && c < 0x7F) ? c : '?';
  }
  return s;
}

std::string HexBytes(const std::string& data, std::size_t limit) {
  std::string out;
  for (std::size_t i = 0; i < data.size() && i < limit; ++i) out += Format("%02x", static_cast<uint8_t>(data[i]));
  if (data.size() > limit) out += "...";
  return out;
}

}  // namespace

int LogCommand(const Args& args) {
  Arguments a = ParseArguments(args, {"user"}, {"details"});
  if (a.help) {
    Say("usage: hotsync log [--user NAME] [--details]\n"
        "Prints the HotSync log of the last HotSync: time, activity and text of each entry.\n"
        "  --details  the detail of the last run that worked on the data instead: one\n"
        "             line per change (side, action, folder, title, old URL, new URL)\n"
        "Exit codes: 0 printed, 2 usage, 3 nothing logged yet.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  auto user = ResolveUser(a.Option("user"));
  if (!user) return Fail(kUsage, "not a user name");
  if (a.Has("details")) {
    auto runs = RunRecords(*user, /*backups=*/false);
    std::string text;
    if (runs.empty() || !platform::ReadWholeFile(runs.back().path, text))
      return Fail(kNotFound, "no run has been recorded yet");
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return kOk;
  }
  std::string path = LogPathFor(*user);
  if (!platform::FileExists(path)) return Fail(kNotFound, "no HotSync has been logged yet (" + path + ")");
  for (const auto& e : host::ReadLastSession(path)) {
    Say(e.time + "  " + host::ActivityName(e.activity) + (e.text.empty() ? "" : ": " + e.text));
  }
  return kOk;
}

int ListCommand(const Args& args) {
  Arguments a = ParseArguments(args, {}, {});
  if (a.help) {
    Say("usage: hotsync list\nLists the databases on the handheld: name, creator, type, records, file.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  const std::string folder = host::HandheldFolder();
  auto list = host::ListDatabases(folder);
  Say("Handheld: " + folder + " (" + std::to_string(list.size()) + " databases)");
  for (const auto& d : list) {
    std::string file = d.path.substr(d.path.find_last_of("/\\") + 1);
    if (d.readable) {
      Say(Format("%-31s %s %s %6u records  %s", d.name.c_str(), FourChars(d.creator).c_str(),
                 FourChars(d.type).c_str(), static_cast<unsigned>(d.records), file.c_str()));
    } else {
      Say(Format("%-31s damaged: %s  %s", d.name.c_str(), d.problem.c_str(), file.c_str()));
    }
  }
  return kOk;
}

int DumpCommand(const Args& args) {
  Arguments a = ParseArguments(args, {}, {"hex", "records"});
  if (a.help || (a.positional.size() != 1 && a.error.empty())) {
    Say("usage: hotsync dump NAME [--records] [--hex]\n"
        "Prints one handheld database. \"KestroDB\" is shown as the favourites tree\n"
        "(name, parent, level, status flags, URL); --records shows any database\n"
        "record by record, --hex with all record bytes.\n"
        "Exit codes: 0 printed, 1 the database is damaged, 2 usage, 3 no such database.");
    return a.help ? kOk : kUsage;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  const std::string& name = a.positional[0];
  auto path = host::FindDatabaseFile(host::HandheldFolder(), name);
  if (!path) return Fail(kNotFound, "no database \"" + name + "\" on the handheld");
  std::unique_ptr<host::HandheldDatabase> db;
  std::string why;
  if (host::HandheldDatabase::Open(*path, db, &why) != 0) return Fail(kFailed, name + " is damaged: " + why);
  const host::PdbDatabase& c = db->Contents();
  Say(Format("%s: creator %s, type %s, version %u, attributes 0x%04X, %u records", c.name.c_str(),
             FourChars(c.creator).c_str(), FourChars(c.type).c_str(), c.version, c.attributes, static_cast<unsigned>(c.records.size())));
  if (name == "KestroDB" && !a.Has("records") && !a.Has("hex")) {
    for (const std::string& line : FavoritesTree(c.records)) Say(line);
    return kOk;
  }
  if (!c.app_info.empty()) Say("app info: " + HexBytes(c.app_info, a.Has("hex") ? SIZE_MAX : 32));
  for (std::size_t i = 0; i < c.records.size(); ++i) {
    const host::PdbRecord& r = c.records[i];
    Say(Format("%5u  id %-8u attr 0x%02X cat %2u  %5u bytes  %s", static_cast<unsigned>(i), r.id, r.attributes & 0xF0,
               r.attributes & 0x0F, static_cast<unsigned>(r.data.size()), HexBytes(r.data, a.Has("hex") ? SIZE_MAX : 24).c_str()));
  }
  return kOk;
}

int UsersCommand(const Args& args) {
  Arguments a = ParseArguments(args, {"add"}, {});
  if (a.help) {
    Say("usage: hotsync users [--add NAME]\nLists the HotSync users and their folders; --add adds one.");
    return kOk;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  if (auto name = a.Option("add")) {
    if (!host::AddUser(*name)) return Fail(kUsage, "not a user name: " + *name);
  }
  Say("Core path: " + host::CorePath());
  for (const auto& u : host::ListUsers()) Say(Format("%u  %s  %s", u.id, u.name.c_str(), host::UserFolder(u).c_str()));
  return kOk;
}

int InstallCommand(const Args& args) {
  Arguments a = ParseArguments(args, {"user"}, {});
  if (a.help || (a.positional.size() != 1 && a.error.empty())) {
    Say("usage: hotsync install FILE [--user NAME]\n"
        "Queues a handheld database or application (.pdb, .prc, .pqa); the next\n"
        "HotSync puts it on the handheld.\n"
        "Exit codes: 0 queued, 1 not queued, 2 usage, 3 no such file.");
    return a.help ? kOk : kUsage;
  }
  if (!a.error.empty()) return Fail(kUsage, a.error);
  auto user = ResolveUser(a.Option("user"));
  if (!user) return Fail(kUsage, "not a user name");
  int32_t result = host::QueueInstall(*user, a.positional[0]);
  if (result == -554) return Fail(kNotFound, "no such file: " + a.positional[0]);
  if (result == -553) return Fail(kFailed, "not a handheld database or application: " + a.positional[0]);
  if (result != 0) return Fail(kFailed, Format("the file could not be queued (%d)", result));
  Say("Queued " + a.positional[0] + " for " + user->name + "'s next HotSync");
  return kOk;
}

}  // namespace kestro::hotsync
