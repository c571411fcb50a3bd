// hotsync sync: one HotSync of every registered conduit, or of one, for one
// user: queued installs first, then each conduit's OpenConduit with the
// user's folders, its progress shown on a terminal as one changing line. A conduit that answers
// non-zero, or whose run ends in a "sync aborted" log entry, fails the
// HotSync (exit 1).
#include <cstdio>
#include <memory>

#include "base/text.h"
#include "command_line.h"
#include "commands.h"
#include "conduit_library.h"
#include "handheld_database.h"
#include "handheld_folder.h"
#include "host_paths.h"
#include "install_queue.h"
#include "log_file.h"
#include "platform/dynamic_library.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "session.h"

namespace kestro::hotsync {
namespace {

const char kHelp[] =
    "usage: hotsync sync [--type N] [--creator ID | --conduit PATH] [--user NAME]\n"
    "                    [--dry-run] [--allow-mass-deletion]\n"
    "Runs a HotSync of every registered conduit (or of one) for one user.\n"
    "  --type N        sync type: 0 synchronize (default), 2 handheld overwrites\n"
    "                  desktop, 3 desktop overwrites handheld, 6 do nothing; names\n"
    "                  synchronize, handheld-overwrites, desktop-overwrites, nothing.\n"
    "                  Without it each conduit runs with the action set by 'config'.\n"
    "  --creator ID    only the conduit registered for this creator ID\n"
    "  --conduit PATH  run this conduit library directly (no registration needed)\n"
    "  --user NAME     the HotSync user (default: the first user, created if none)\n"
    "  --dry-run       print what each conduit would change on each side, and change\n"
    "                  nothing (no installs either)\n"
    "  --allow-mass-deletion  let this HotSync delete more than the conduit's\n"
    "                  limit of a side's favourites\n"
    "Exit codes: 0 done, 1 a conduit failed, 2 usage, 3 no such conduit, 4 conduit not loadable.";

// On a terminal, progress is one line that each report overwrites; without
// one (a file, a pipe) it is not shown.
bool progress_shown = false;
void ShowProgress(const char* text) {
  static const bool terminal = platform::StandardOutputIsTerminal();
  if (!terminal) return;
  std::string line = std::string("  ") + (text ? text : "");
  if (line.size() < 79) line.resize(79, ' ');
  std::fputs(("\r" + line).c_str(), stdout);
  std::fflush(stdout);
  progress_shown = true;
}
void EndProgress() {
  if (progress_shown) std::fputs("\n", stdout);
  progress_shown = false;
}

// Moves the files queued by the install aide onto the handheld.
void InstallQueued(const host::HotSyncUser& user) {
  const std::string handheld = host::HandheldFolder();
  for (const std::string& file : host::QueuedInstalls(user)) {
    std::string name = file.substr(file.find_last_of("/\\") + 1);
    std::string image;
    if (!platform::ReadWholeFile(file, image)) continue;
    std::string target = handheld + name;
    if (EndsWith(AsciiUpper(name), ".PDB")) {
      std::string why;
      auto db = host::ParsePdb(image, &why);
      if (!db) {
        Say("Could not install " + name + ": " + why);
        continue;
      }
      target = host::FindDatabaseFile(handheld, db->name).value_or(host::NewDatabasePath(handheld, db->name));
    }
    platform::CreateDirectories(handheld);
    if (!platform::WriteFileAtomically(target, image)) {
      Say("Could not install " + name);
      continue;
    }
    platform::DeleteFileAt(host::JournalPathOf(target));
    platform::DeleteFileAt(file);
    Say("Installed " + name + " on the handheld");
  }
}

struct Target {
  std::string library;
  std::string creator;    // empty for --conduit
  std::string directory;  // the conduit's folder in the user's folder
  int sync_type = 0;
};

// Runs one conduit; true when it succeeded.
bool RunConduit(const Target& target, const host::HotSyncUser& user, const std::string& log,
                const std::string& preview, int& exit_code) {
  ConduitLibrary conduit(target.library);
  std::string name;
  uint32_t version = 0;
  if (!conduit.IsLoaded() || !conduit.Name(name) || !conduit.Version(version)) {
    Fail(kNoConduit, conduit.Error());
    exit_code = std::max(exit_code, static_cast<int>(kNoConduit));
    return false;
  }
  Say(Format("%s %u.%u: %s", name.c_str(), version >> 8, version & 0xFF, SyncTypeName(target.sync_type).c_str()));
  hostapi::ThcdSyncProperties props{};
  props.m_SyncType = target.sync_type;
  SetFieldText(props.m_UserName, sizeof props.m_UserName, user.name);
  std::string local = host::UserFolder(user);
  std::string path = local + (target.directory.empty() ? name : target.directory);
  platform::CreateDirectories(path);
  SetFieldText(props.m_LocalName, sizeof props.m_LocalName, local);
  SetFieldText(props.m_PathName, sizeof props.m_PathName, path);
  props.m_UserId = user.id;
  std::size_t logged = host::ReadLastSession(log).size();
  int32_t result = 0;
  const bool opened = conduit.OpenConduit(ShowProgress, props, result);
  EndProgress();
  if (!opened) {
    Fail(kNoConduit, conduit.Error());
    exit_code = std::max(exit_code, static_cast<int>(kNoConduit));
    return false;
  }
  auto entries = host::ReadLastSession(log);
  for (std::size_t i = logged; i < entries.size(); ++i) {
    if (entries[i].activity == 21) {
      Fail(kFailed, name + " aborted: " + entries[i].text);
      exit_code = std::max(exit_code, static_cast<int>(kFailed));
      return false;
    }
  }
  if (result != 0) {
    Fail(kFailed, Format("%s failed: OpenConduit answered %d", name.c_str(), result));
    exit_code = std::max(exit_code, static_cast<int>(kFailed));
    return false;
  }
  if (!preview.empty() && platform::FileExists(preview)) {
    std::string text;
    platform::ReadWholeFile(preview, text);
    platform::DeleteFileAt(preview);
    Say("Preview of " + name + " (nothing was changed):");
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
  }
  Say(name + " done");
  return true;
}

}  // namespace

int SyncCommand(const Args& raw) {
  Args args = raw;
  for (auto& a : args) {
    if (a == "--sync-type") a = "--type";  // the first hotsync's spelling
  }
  Arguments a = ParseArguments(args, {"type", "creator", "conduit", "user"}, {"dry-run", "allow-mass-deletion"});
  if (a.help) return Say(kHelp), kOk;
  if (!a.error.empty()) return Fail(kUsage, a.error + " (see hotsync sync --help)");
  if (!a.positional.empty()) return Fail(kUsage, "unexpected argument " + a.positional[0]);
  if (a.Has("creator") && a.Has("conduit")) return Fail(kUsage, "give --creator or --conduit, not both");
  std::optional<int> type;
  if (auto t = a.Option("type")) {
    type = ParseSyncType(*t);
    if (!type) return Fail(kUsage, "not a sync type: " + *t);
  }
  auto user = ResolveUser(a.Option("user"));
  if (!user) return Fail(kUsage, "not a user name: " + a.Option("user").value_or(""));

  std::vector<Target> targets;
  if (auto path = a.Option("conduit")) {
    if (!platform::FileExists(platform::PlatformLibraryName(*path)))
      return Fail(kNoConduit, "cannot load the conduit " + *path + ": there is no such file");
    targets.push_back({*path, "", "", type.value_or(0)});
  } else {
    std::vector<host::ConduitRegistration> conduits;
    if (auto creator = a.Option("creator")) {
      auto found = host::FindConduit(*creator);
      if (!found) return Fail(kNotFound, "no conduit is registered for creator " + *creator);
      conduits.push_back(*found);
    } else {
      conduits = host::ListConduits();
    }
    for (auto& c : conduits) {
      if (c.library.empty()) continue;
      int chosen = type.value_or(c.next_sync_type >= 0 ? c.next_sync_type : std::max(c.sync_type, 0));
      if (!type && c.next_sync_type >= 0 && !a.Has("dry-run")) {
        c.next_sync_type = -1;  // a one-time action is used up
        host::SaveConduit(c);
      }
      targets.push_back({c.library, c.creator, c.directory, chosen});
    }
    if (targets.empty()) return Fail(kNotFound, "no conduit is registered (hotsync register PATH adds one)");
  }

  const std::string log = LogPathFor(*user);
  platform::SetEnv("KESTRO_HOTSYNC_LOG", log);
  host::AppendSessionMark(log, "HotSync of " + user->name);
  Say("HotSync of " + user->name + " with the handheld in " + host::HandheldFolder());
  // A preview changes nothing: the conduit writes its plan to a file that is
  // printed here, and queued installs wait.
  std::string preview;
  if (a.Has("dry-run")) {
    preview = host::UserFolder(*user) + "hotsync-preview.txt";
    platform::SetEnv("KESTRO_DRY_RUN", preview);
  } else {
    InstallQueued(*user);
  }
  if (a.Has("allow-mass-deletion")) platform::SetEnv("KESTRO_ALLOW_MASS_DELETION", "1");
  int exit_code = kOk;
  for (const Target& t : targets) RunConduit(t, *user, log, preview, exit_code);
  Say(exit_code == kOk ? "HotSync complete" : "HotSync finished with errors (hotsync log shows them)");
  return exit_code;
}

}  // namespace kestro::hotsync
