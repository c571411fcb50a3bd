// The user data library: the HotSync users (host_store.h) and the folder of
// the HotSync Manager's libraries, which is where the conduit loads them from.
#include <cstring>
#include <string>

#include "base/text.h"
#include "host_call.h"
#include "host_store.h"
#include "hostapi/user_data.h"
#include "platform/process_paths.h"

namespace {

using kestro::Format;
using kestro::host::HostCall;

constexpr int32_t kErrGeneral = -500;
constexpr int32_t kErrNoUser = -504;
constexpr int32_t kErrBufferTooSmall = -506;
constexpr int32_t kErrIndex = -507;

int32_t CopyOut(const std::string& text, char* buffer, int16_t* size) {
  if (!buffer || !size || *size < 1) return kErrBufferTooSmall;
  if (text.size() + 1 > static_cast<std::size_t>(*size)) return kErrBufferTooSmall;
  std::memcpy(buffer, text.c_str(), text.size() + 1);
  return 0;
}

}  // namespace

KESTRO_HOST_API int16_t UmGetUserCount() {
  return static_cast<int16_t>(HostCall(
      "UmGetUserCount", [] { return std::string(); }, kErrGeneral,
      [](std::string*) { return static_cast<int32_t>(kestro::host::ListUsers().size()); }));
}

KESTRO_HOST_API int32_t UmGetUserID(int16_t index, uint32_t* user_id) {
  return HostCall(
      "UmGetUserID", [&] { return Format("%d", index); }, kErrGeneral,
      [&](std::string* out) {
        auto users = kestro::host::ListUsers();
        if (index < 0 || static_cast<std::size_t>(index) >= users.size()) return kErrIndex;
        if (!user_id) return kErrGeneral;
        *user_id = users[static_cast<std::size_t>(index)].id;
        if (out) *out = Format("id=%u", *user_id);
        return 0;
      });
}

KESTRO_HOST_API int32_t UmGetUserDirectory(uint32_t user_id, char* buffer, int16_t* size) {
  return HostCall(
      "UmGetUserDirectory",
      [&] { return Format("%u%s", user_id, size ? Format(", size=%d", *size).c_str() : ", null"); },
      kErrGeneral,
      [&](std::string* out) {
        auto user = kestro::host::FindUserById(user_id);
        if (!user) return kErrNoUser;
        int32_t result = CopyOut(user->directory, buffer, size);
        if (result == 0 && out) *out = kestro::host::QuoteArg(user->directory.c_str());
        return result;
      });
}

KESTRO_HOST_API int32_t UmGetRootDirectory(char* buffer, int16_t* size) {
  return HostCall(
      "UmGetRootDirectory", [&] { return size ? Format("size=%d", *size) : "null"; }, kErrGeneral,
      [&](std::string* out) {
        std::string folder = kestro::platform::FolderOf(kestro::platform::OwnModuleFile());
        int32_t result = CopyOut(folder, buffer, size);
        if (result == 0 && out) *out = kestro::host::QuoteArg(folder.c_str());
        return result;
      });
}
