// The Conduit Manager: conduit registrations per creator ID, kept in the
// registry (host_store.h). Setters need an installed creator; codes are the
// Conduit Manager's own negative numbers.
#include <cstring>
#include <string>

#include "base/text.h"
#include "host_call.h"
#include "host_paths.h"
#include "host_store.h"
#include "hostapi/conduit_manager.h"

namespace {

using kestro::Format;
using kestro::host::ConduitRegistration;
using kestro::host::HostCall;
using kestro::host::QuoteArg;

constexpr int32_t kErrGeneral = -1000;
constexpr int32_t kErrNotFound = kestro::hostapi::kCmErrCreatorNotFound;  // -1003
constexpr int32_t kErrExists = -1004;
constexpr int32_t kErrBufferTooSmall = -1006;
constexpr int32_t kErrBadCreator = -1005;
constexpr int32_t kErrBadType = -1007;
constexpr int32_t kErrWrite = -1011;
constexpr int32_t kErrBadPriority = -1013;

bool IsCreator(const char* creator) { return creator && std::strlen(creator) == 4; }

// Changes one field of an installed creator.
int32_t Change(const char* function, const char* creator, const std::string& shown,
               void (*apply)(ConduitRegistration&, const void*), const void* value) {
  return HostCall(
      function, [&] { return QuoteArg(creator) + ", " + shown; }, kErrGeneral,
      [&](std::string*) {
        if (!IsCreator(creator)) return kErrBadCreator;
        auto conduit = kestro::host::FindConduit(creator);
        if (!conduit) return kErrNotFound;
        apply(*conduit, value);
        return kestro::host::SaveConduit(*conduit) ? 0 : kErrWrite;
      });
}

int32_t SetText(const char* function, const char* creator, const char* text,
                std::string ConduitRegistration::*field) {
  if (!text) {
    return HostCall(
        function, [&] { return QuoteArg(creator) + ", null"; }, kErrGeneral,
        [](std::string*) { return -1; });
  }
  struct Arg {
    std::string ConduitRegistration::*field;
    const char* text;
  } arg{field, text};
  return Change(
      function, creator, QuoteArg(text),
      [](ConduitRegistration& c, const void* a) {
        auto* p = static_cast<const Arg*>(a);
        c.*(p->field) = p->text;
      },
      &arg);
}

// Copies text into a caller's buffer of *size bytes.
int32_t CopyOut(const std::string& text, char* buffer, int32_t* size) {
  if (!buffer || !size || *size < 1) return kErrBufferTooSmall;
  if (text.size() + 1 > static_cast<std::size_t>(*size)) return kErrBufferTooSmall;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return 0;
}

}  // namespace

KESTRO_HOST_API int32_t CmInstallCreator(const char* creator, int32_t conduit_type) {
  return HostCall(
      "CmInstallCreator", [&] { return Format("%s, %d", QuoteArg(creator).c_str(), conduit_type); },
      kErrGeneral,
      [&](std::string*) {
        if (!IsCreator(creator)) return kErrBadCreator;
        if (conduit_type < 0) return kErrBadType;
        if (kestro::host::FindConduit(creator)) return kErrExists;
        ConduitRegistration conduit;
        conduit.creator = creator;
        conduit.type = conduit_type;
        return kestro::host::SaveConduit(conduit) ? 0 : kErrWrite;
      });
}

KESTRO_HOST_API int32_t CmSetCreatorName(const char* creator, const char* library_path) {
  return SetText("CmSetCreatorName", creator, library_path, &ConduitRegistration::library);
}
KESTRO_HOST_API int32_t CmSetCreatorTitle(const char* creator, const char* title) {
  return SetText("CmSetCreatorTitle", creator, title, &ConduitRegistration::title);
}
KESTRO_HOST_API int32_t CmSetCreatorDirectory(const char* creator, const char* directory) {
  return SetText("CmSetCreatorDirectory", creator, directory, &ConduitRegistration::directory);
}
KESTRO_HOST_API int32_t CmSetCreatorFile(const char* creator, const char* file) {
  return SetText("CmSetCreatorFile", creator, file, &ConduitRegistration::file);
}
KESTRO_HOST_API int32_t CmSetCreatorRemote(const char* creator, const char* remote_database) {
  return SetText("CmSetCreatorRemote", creator, remote_database, &ConduitRegistration::remote);
}
KESTRO_HOST_API int32_t CmSetCreatorInfo(const char* creator, const char* information) {
  return SetText("CmSetCreatorInfo", creator, information, &ConduitRegistration::info);
}

KESTRO_HOST_API int32_t CmSetCreatorPriority(const char* creator, int32_t priority) {
  if (priority < 0 || priority > 4) {
    return HostCall(
        "CmSetCreatorPriority",
        [&] { return Format("%s, %d", QuoteArg(creator).c_str(), priority); }, kErrGeneral,
        [](std::string*) { return kErrBadPriority; });
  }
  return Change(
      "CmSetCreatorPriority", creator, std::to_string(priority),
      [](ConduitRegistration& c, const void* p) { c.priority = *static_cast<const int32_t*>(p); },
      &priority);
}

KESTRO_HOST_API int32_t CmRemoveConduitByCreatorID(const char* creator) {
  return HostCall(
      "CmRemoveConduitByCreatorID", [&] { return QuoteArg(creator); }, kErrGeneral,
      [&](std::string*) {
        if (!IsCreator(creator)) return kErrBadCreator;
        if (!kestro::host::FindConduit(creator)) return kErrNotFound;
        return kestro::host::RemoveConduit(creator) ? 1 : kErrWrite;
      });
}

KESTRO_HOST_API int32_t CmGetCorePath(char* buffer, int32_t* size) {
  return HostCall(
      "CmGetCorePath", [&] { return size ? Format("size=%d", *size) : "null"; }, kErrGeneral,
      [&](std::string* out) {
        std::string core = kestro::host::CorePath();
        int32_t result = CopyOut(core, buffer, size);
        if (result == 0 && out) *out = QuoteArg(core.c_str());
        return result;
      });
}

KESTRO_HOST_API int32_t CmGetCreatorDirectory(const char* creator, char* buffer, int32_t* size) {
  return HostCall(
      "CmGetCreatorDirectory",
      [&] { return QuoteArg(creator) + (size ? Format(", size=%d", *size) : ", null"); },
      kErrGeneral,
      [&](std::string* out) {
        if (!IsCreator(creator)) return kErrBadCreator;
        auto conduit = kestro::host::FindConduit(creator);
        if (!conduit) return kErrNotFound;
        int32_t result = CopyOut(conduit->directory, buffer, size);
        if (result == 0 && out) *out = QuoteArg(conduit->directory.c_str());
        return result;
      });
}
