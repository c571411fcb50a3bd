#include "conduit/palm_component.h"

#include <typeinfo>

#include "base/text.h"
#include "conduit/host_libraries.h"
#include "palmdb/default_creator_id.h"
#include "palmdb/sync_manager.h"

namespace kestro {
namespace {

constexpr const char* kClassName = "ThcdPalmComponent";

// A whole decimal number from 0 to 255.
bool ReadVersionPart(const std::string& text, int& value) {
  int64_t v = 0;
  if (!ParseInt64(text, v) || v < 0 || v > 255) return false;
  value = static_cast<int>(v);
  return true;
}

}  // namespace

ThcdPalmComponent::ThcdPalmComponent(Component* owner) : ThcdPalmComponent(kClassName, owner) {}

ThcdPalmComponent::ThcdPalmComponent(std::string class_name, Component* owner)
    : ThcdSingletonComponent(std::move(class_name), owner) {}

std::string ThcdPalmComponent::ConduitVersion() const {
  return Format("%d.%d", version_ >> 8, version_ & 0xFF);
}

void ThcdPalmComponent::SetConduitVersion(const std::string& text) {
  std::size_t dot = text.find('.');
  int major = 0, minor = 0;
  if (dot == std::string::npos || !ReadVersionPart(text.substr(0, dot), major) ||
      !ReadVersionPart(text.substr(dot + 1), minor)) {
    throw ERegisterError("The specified version string was invalid");
  }
  version_ = static_cast<uint16_t>(major * 256 + minor);
}

void ThcdPalmComponent::SetPriority(int32_t priority) {
  if (priority < 0 || priority > 4) throw ERegisterError("The priority must be in the range 0 to 4");
  priority_ = priority;
}

void ThcdPalmComponent::SetCreatorID(const std::string& id) {
  if (id.size() != 4) throw ERegisterError("The Creator ID must be four characters long");
  creator_id_ = id;
  DefaultCreatorID() = id;
}

void ThcdPalmComponent::ReportProgress(const std::string& text) {
  progress_text_ = text;
  if (progress_callback_) {
    progress_callback_(progress_text_.c_str());
    SyncManager().SyncYieldCycles(1);
  }
}

void ThcdPalmComponent::ExecConduit(const ThcdSyncProperties& props) {
  if (!OnExecConduit) return;
  try {
    OnExecConduit(props);
  } catch (const EAbort& e) {
    // Only the plain silent abort ends a run without a closing entry.
    if (typeid(e) != typeid(EAbort) && sync_started_) AddLogEntry(conduit_name_, hostapi::kActivitySyncAborted);
    throw;
  } catch (...) {
    if (sync_started_) AddLogEntry(conduit_name_, hostapi::kActivitySyncAborted);
    throw;
  }
  if (sync_started_) AddLogEntry(conduit_name_, hostapi::kActivitySyncFinished);
}

void ThcdPalmComponent::AddLogEntry(const std::string& text, int32_t activity, bool timestamp) {
  HotSyncLog().LogAddEntry(text.c_str(), activity, timestamp ? 1 : 0);
  if (activity == hostapi::kActivitySyncStarted) {
    sync_started_ = true;
  } else if (activity == hostapi::kActivitySyncFinished || activity == hostapi::kActivitySyncAborted) {
    sync_started_ = false;
  }
}

ThcdPalmComponent& FindConduitComponent() {
  auto* found = static_cast<ThcdPalmComponent*>(FindSingleton(kClassName));
  if (!found) throw Exception("The ThcdPalmComponent could not be found");
  return *found;
}

void AddConduitLogEntry(const std::string& text, int32_t activity, bool timestamp) {
  try {
    FindConduitComponent().AddLogEntry(text, activity, timestamp);
  } catch (...) {
    throw EhcdSingletonError("The singleton derived class was not found");
  }
}

std::string CurrentConduitName() {
  try {
    return FindConduitComponent().ConduitName();
  } catch (...) {
    return {};
  }
}

}  // namespace kestro
