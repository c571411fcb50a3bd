// The terminal face driven end to end through a pseudo-terminal, as a user
// at a Linux console would: the HotSync action choice with its "Settings ..."
// button, the settings dialog refusing a choice, and the answers written back.
// Without a terminal the dialogs answer Cancel and say so on stderr.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <string>

#include "conduit/configure_conduit.h"
#include "conduit/hotsync_action_dialog.h"
#include "platform/environment.h"
#include "platform/file_system.h"
#include "platform/registry.h"
#include "settings/settings_form.h"
#include "settings/settings_registry.h"
#include "support/test_environment.h"

namespace kestro {
namespace {

// A child process on its own pseudo-terminal, read as a screen of text.
class PtySession {
 public:
  template <typename Body>
  explicit PtySession(Body body) {
    pid_ = forkpty(&fd_, nullptr, nullptr, nullptr);
    if (pid_ == 0) {
      platform::UnsetEnv("KESTRO_DIALOG_SCRIPT");
      platform::UnsetEnv("KESTRO_MESSAGE_LOG");  // boxes appear on the terminal
      body();
      std::fflush(stdout);
      _exit(0);
    }
  }
  ~PtySession() {
    if (pid_ > 0) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
    if (fd_ >= 0) close(fd_);
  }
  bool Started() const { return pid_ > 0; }

  // Reads until the output after the last mark contains text; false on timeout.
  bool WaitFor(const std::string& text) {
    for (int waited = 0; waited < 200; ++waited) {
      if (screen_.find(text, mark_) != std::string::npos) {
        mark_ = screen_.find(text, mark_) + text.size();
        return true;
      }
      pollfd p{fd_, POLLIN, 0};
      if (poll(&p, 1, 100) > 0) {
        char buffer[4096];
        ssize_t n = read(fd_, buffer, sizeof buffer);
        if (n <= 0) return screen_.find(text, mark_) != std::string::npos;
        screen_.append(buffer, static_cast<std::size_t>(n));
      }
    }
    return false;
  }
  void Type(const std::string& line) {
    std::string keys = line + "\n";
    ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
  }
  const std::string& Screen() const { return screen_; }

 private:
  int fd_ = -1;
  pid_t pid_ = -1;
  std::string screen_;
  std::size_t mark_ = 0;
};

TEST(TerminalDialogs, ActionChoiceWithSettingsDrivenThroughAPseudoTerminal) {
  testing::TestEnvironment env;
  std::string bookmarks = env.Path("bookmarks.htm");
  platform::WriteFileAtomically(bookmarks, "<!DOCTYPE NETSCAPE-Bookmark-file-1>\n");
  PtySession tty([] {
    ThcdCfgConduitInfo info{};
    info.syncTemporary = 3;
    RunHotSyncActionChoice(info, [] { ShowSettings(); });
    std::printf("RESULT syncNew=%d syncPref=%d\n", info.syncNew, info.syncPref);
  });
  ASSERT_TRUE(tty.Started());
  ASSERT_TRUE(tty.WaitFor("== Change HotSync Action ==")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("HotSync Action for Untitled")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("2 (*) Desktop overwrites handheld")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("3 ( ) Handheld overwites Desktop   (not available)")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("[d] Settings ...")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("3");  // not offered
  ASSERT_TRUE(tty.WaitFor("That action is not available.")) << tty.Screen();
  tty.Type("4");
  ASSERT_TRUE(tty.WaitFor("4 (*) Do nothing")) << tty.Screen();
  tty.Type("a");
  ASSERT_TRUE(tty.WaitFor("[x] Set as Default")) << tty.Screen();

  tty.Type("d");  // the settings dialog, over the action window
  ASSERT_TRUE(tty.WaitFor("== Kestro Conduit configuration ==")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Select the favorites folder:")) << tty.Screen();
  tty.Type("2");
  ASSERT_TRUE(tty.WaitFor("2 (*) Netscape")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Select the bookmark file (bookmarks.htm):")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("o");  // the box holds no bookmark file yet
  ASSERT_TRUE(tty.WaitFor("The Netscape bookmark file you've selected does not exists.")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("b");
  ASSERT_TRUE(tty.WaitFor("== Select file ==")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("File name: ")) << tty.Screen();
  tty.Type(bookmarks);
  ASSERT_TRUE(tty.WaitFor("  [" + bookmarks + "]")) << tty.Screen();
  tty.Type("o");
  ASSERT_TRUE(tty.WaitFor("== Change HotSync Action ==")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("");  // Enter: the default button, OK
  ASSERT_TRUE(tty.WaitFor("RESULT syncNew=6 syncPref=1")) << tty.Screen();
  EXPECT_EQ(ReadBrowserType(), 1);
  EXPECT_EQ(ReadFavoritesPath(), bookmarks);
}

TEST(TerminalDialogs, EscapeCancels) {
  testing::TestEnvironment env;
  PtySession tty([] {
    ThcdHotSyncActionDialog dialog;
    dialog.SetActionIndex(2);
    std::printf("RESULT %d %d\n", dialog.Execute() ? 1 : 0, dialog.ActionIndex());
  });
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("1");
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("\x1b");  // Escape
  ASSERT_TRUE(tty.WaitFor("RESULT 0 2")) << tty.Screen();
}

TEST(TerminalDialogs, HotsyncConfigReachesBothDialogsOnTheTerminal) {
  testing::TestEnvironment env;
  const std::string hotsync = testing::BinFolder() + "hotsync";
  const std::string conduit = testing::BinFolder() + "Kestro.so";
  PtySession tty([&] {
    execl(hotsync.c_str(), "hotsync", "config", conduit.c_str(), static_cast<char*>(nullptr));
    std::printf("cannot run %s\n", hotsync.c_str());
  });
  ASSERT_TRUE(tty.WaitFor("HotSync Action for Untitled")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("d");
  ASSERT_TRUE(tty.WaitFor("== Kestro Conduit configuration ==")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("c");  // nothing is stored
  ASSERT_TRUE(tty.WaitFor("== Change HotSync Action ==")) << tty.Screen();
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("4");
  ASSERT_TRUE(tty.WaitFor("Choice: ")) << tty.Screen();
  tty.Type("o");
  ASSERT_TRUE(tty.WaitFor("do nothing")) << tty.Screen();
  auto key = platform::OpenCurrentUserKey(kSettingsKey, false);
  EXPECT_FALSE(key && key->Read(kFavoritesPathValue)) << "a cancelled settings dialog stored something";
}

TEST(TerminalDialogs, WithoutATerminalDialogsAnswerCancelAndSaySo) {
  testing::TestEnvironment env;
  int err[2];
  ASSERT_EQ(pipe(err), 0);
  pid_t pid = fork();
  if (pid == 0) {
    setsid();  // no controlling terminal any more
    dup2(err[1], 2);
    platform::UnsetEnv("KESTRO_DIALOG_SCRIPT");
    ThcdHotSyncActionDialog dialog;
    bool confirmed = dialog.Execute();
    TForm1 form;
    bool stored = form.ShowModal() == platform::ModalResult::kOk;
    _exit(confirmed || stored ? 1 : 0);
  }
  close(err[1]);
  std::string said;
  char buffer[512];
  for (ssize_t n; (n = read(err[0], buffer, sizeof buffer)) > 0;) said.append(buffer, static_cast<std::size_t>(n));
  close(err[0]);
  int status = 0;
  waitpid(pid, &status, 0);
  EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "a dialog did not answer Cancel";
  EXPECT_NE(said.find("no terminal to show \"Change HotSync Action\""), std::string::npos) << said;
  EXPECT_NE(said.find("no terminal to show \"Kestro Conduit configuration\""), std::string::npos) << said;
  EXPECT_FALSE(platform::OpenCurrentUserKey(kSettingsKey, false) &&
               platform::OpenCurrentUserKey(kSettingsKey, false)->Read(kFavoritesPathValue));
}

}  // namespace
}  // namespace kestro
