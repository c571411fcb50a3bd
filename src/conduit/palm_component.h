// The conduit component: the conduit's identity (name, version, priority,
// creator ID, ...) and the events through which the host's calls reach the
// engine. Exactly one lives in the process; entry points find it with
// FindConduitComponent.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/exception.h"
#include "conduit/singleton_component.h"
#include "hostapi/host_records.h"

namespace kestro {

using hostapi::ThcdCfgConduitInfo;
using hostapi::ThcdSyncProperties;

class ERegisterError : public Exception {
 public:
  using Exception::Exception;
};

using ThcdConfigConduitProc = std::function<void(ThcdCfgConduitInfo& Data)>;
using ThcdExecConduitProc = std::function<void(const ThcdSyncProperties& props)>;
using TNotifyEvent = std::function<void(Component* Sender)>;
using ThcdUnregisterConduitProc = std::function<void(Component* Sender, bool& RemoveDirs)>;
using ProgressFunction = void (*)(const char* text);

class ThcdPalmComponent : public ThcdSingletonComponent {
 public:
  explicit ThcdPalmComponent(Component* owner = nullptr);

  const std::string& ConduitName() const { return conduit_name_; }
  void SetConduitName(std::string v) { conduit_name_ = std::move(v); }
  std::string ConduitVersion() const;
  void SetConduitVersion(const std::string& text);  // "major.minor", each 0..255
  uint16_t Version() const { return version_; }
  int32_t Priority() const { return priority_; }
  void SetPriority(int32_t priority);  // 0..4
  const std::string& Directory() const { return directory_; }
  void SetDirectory(std::string v) { directory_ = std::move(v); }
  const std::string& CreatorFile() const { return creator_file_; }
  void SetCreatorFile(std::string v) { creator_file_ = std::move(v); }
  const std::string& Information() const { return information_; }
  void SetInformation(std::string v) { information_ = std::move(v); }
  const std::string& RemoteFile() const { return remote_file_; }
  void SetRemoteFile(std::string v) { remote_file_ = std::move(v); }
  const std::string& CreatorID() const { return creator_id_; }
  void SetCreatorID(const std::string& id);  // exactly four characters

  ThcdConfigConduitProc OnConfigConduit;
  ThcdExecConduitProc OnExecConduit;
  TNotifyEvent OnRegisterConduit;
  ThcdUnregisterConduitProc OnUnregisterConduit;

  bool SyncStarted() const { return sync_started_; }
  ProgressFunction ProgressCallback() const { return progress_callback_; }
  void SetProgressCallback(ProgressFunction callback) { progress_callback_ = callback; }
  const std::string& ProgressText() const { return progress_text_; }

  // Passes a text to the host's progress function, then yields to the host.
  virtual void ReportProgress(const std::string& text);
  // Raises OnExecConduit and closes an open HotSync log entry (20 or 21).
  virtual void ExecConduit(const ThcdSyncProperties& props);

  // Adds an entry to the host's log and keeps SyncStarted (19 sets, 20/21 clear).
  void AddLogEntry(const std::string& text, int32_t activity, bool timestamp = false);

 protected:
  // For classes derived from this one: they register under their own name.
  ThcdPalmComponent(std::string class_name, Component* owner);

 private:
  std::string conduit_name_;
  uint16_t version_ = 256;
  int32_t priority_ = 2;
  std::string directory_ = "Default";
  std::string creator_file_;
  std::string information_;
  std::string remote_file_;
  std::string creator_id_ = "STRT";
  bool sync_started_ = false;
  ProgressFunction progress_callback_ = nullptr;
  std::string progress_text_;
};

// The one conduit component; raises Exception "The ThcdPalmComponent could not
// be found" when there is none.
ThcdPalmComponent& FindConduitComponent();
// FindConduitComponent + AddLogEntry; any failure raises EhcdSingletonError.
void AddConduitLogEntry(const std::string& text, int32_t activity, bool timestamp = false);
// The component's ConduitName, or empty text when anything fails.
std::string CurrentConduitName();

}  // namespace kestro
