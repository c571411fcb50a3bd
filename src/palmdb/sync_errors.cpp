#include "palmdb/sync_errors.h"

#include <algorithm>
#include <iterator>

#include "base/text.h"

namespace kestro {
namespace {

struct CodeText {
  int32_t code;
  const char* text;
};

// Sorted by code, looked up by exact value.
constexpr CodeText kErrorTexts[] = {
    // Conduit Manager
    {-1017, "The conduit registry is in use by another program."},
    {-1016, "The conduit's file name is not valid."},
    {-1015, "The conduit's remote database name is not valid."},
    {-1013, "The conduit's priority is not valid."},
    {-1012, "The conduit registry could not be read."},
    {-1011, "The conduit registry could not be written."},
    {-1010, "The conduit's directory is not valid."},
    {-1009, "The conduit's title is not valid."},
    {-1008, "The conduit's library name is not valid."},
    {-1007, "The conduit type is not valid."},
    {-1006, "The buffer is too small for the requested value."},
    {-1005, "The conduit's creator ID is not valid."},
    {-1004, "A conduit with this creator ID already exists."},
    {-1003, "The specified conduit does not exist."},
    {-1002, "The HotSync Manager's core path could not be found."},
    {-1001, "The conduit registry is damaged."},
    {-1000, "A Conduit Manager error occurred."},
    // Install aide and user data
    {-555, "The file to install could not be copied."},
    {-554, "The file to install was not found."},
    {-553, "The file to install is not a handheld database or application."},
    {-552, "The install folder could not be created."},
    {-551, "The install aide could not start."},
    {-516, "The user data is damaged."},
    {-515, "The user's password is not valid."},
    {-514, "The user name is already in use."},
    {-513, "The user name is not valid."},
    {-512, "The user's folder could not be created."},
    {-511, "The user's folder could not be found."},
    {-510, "The user data could not be written."},
    {-509, "The user data could not be read."},
    {-507, "The user index is out of range."},
    {-506, "The buffer is too small for the user data."},
    {-505, "The user ID is not valid."},
    {-504, "The specified user does not exist."},
    {-503, "No HotSync users are defined."},
    {-502, "The HotSync Manager's root folder could not be found."},
    {-501, "The user data library could not start."},
    {-500, "A user data error occurred."},
    // General results
    {-1, "A nonspecific error."},
    {0, "The function call was successful."},
    // Conduit and configuration results
    {4097, "The conduit could not be loaded."},
    {4098, "The conduit is not registered."},
    {4099, "The conduit could not open a database."},
    {4100, "The conduit could not read a record."},
    {4101, "The conduit could not write a record."},
    {4102, "The conduit could not delete a record."},
    {4103, "The conduit could not create a database."},
    {4104, "The conduit ran out of memory."},
    {4105, "The conduit's desktop file could not be opened."},
    {4106, "The conduit's desktop file could not be written."},
    {4107, "The conduit's desktop data is not valid."},
    {4108, "The conduit was stopped by the user."},
    {4109, "The conduit's configuration could not be read."},
    {4110, "The conduit's configuration could not be written."},
    {4111, "The conduit returned an unexpected result."},
    {4112, "The conduit does not support this operation."},
    {4113, "The conduit's version is not supported."},
    {4114, "The specified synchronization type is not valid."},
    {4176, "The conduit's information could not be obtained."},
    {4192, "The conduit's configuration dialog could not be shown."},
    {4209, "A pointer is not valid."},
    {4210, "The buffer is not valid."},
    {4211, "The buffer size is not valid for the buffer."},
    {4212, "The input arguments pointer is not valid."},
    {4213, "The input arguments structure is not valid."},
    {4214, "The output arguments pointer is not valid."},
    {4215, "The output size pointer is not valid."},
    {4216, "The output arguments size is not valid."},
    {4217, "The specified CfgConduit enumeration value is not supported."},
    {4218, "The argument size is not valid."},
    {4219, "The version number of the structure is not supported on the handheld."},
    // Sync Manager
    {16385, "A Sync Manager error occurred."},
    {16386, "Not used."},
    {16387, "The requested database, record, resource, etc. could not be found."},
    {16388, "The handheld is out of memory."},
    {16389, "Not used."},
    {16390, "A parameter passed to the Sync Manager is not valid."},
    {16391, "The requested database already exists."},
    {16393, "No database is open with this handle."},
    {16394, "The database could not be opened."},
    {16395, "The handheld reported a general error."},
    {16396, "The requested database is already opened."},
    {16397, "The record has been deleted."},
    {16398, "The record is in use on the handheld."},
    {16399, "The operation is not supported by the handheld."},
    {16400, "The database is read only."},
    {16401, "There is not enough space on the handheld."},
    {16402, "The data is larger than the handheld accepts."},
    {16403, "The handheld cancelled the HotSync."},
    {16404, "The handheld's reply could not be understood."},
    {16405, "Too many databases are open on the handheld."},
    {16406, "The Sync Manager is not registered for this conduit."},
    {16407, "The conduit is already registered with the Sync Manager."},
    {16408,
     "A data limit has been exceeded on the handheld. For example, this happens when the HotSync Manager error "
     "log size limit has been exceeded on the handheld."},
    // Desktop Link
    {268452867, "The Desktop Link could not start."},
    {268452869, "The HotSync Manager was cancelled by the handheld user."},
    {268452881, "The HotSync Manager was cancelled by the desktop computer user."},
    {268461072, "The connection with the handheld was lost."},
};

}  // namespace

const char* ErrorText(int32_t code) {
  auto it = std::lower_bound(std::begin(kErrorTexts), std::end(kErrorTexts), code,
                             [](const CodeText& e, int32_t c) { return e.code < c; });
  return (it != std::end(kErrorTexts) && it->code == code) ? it->text : "";
}

int ErrorTextCount() { return static_cast<int>(std::size(kErrorTexts)); }

EPalmSyncError::EPalmSyncError(int32_t code)
    : Exception(Format("Error %d :%s", code, ErrorText(code))), code_(code) {}

void RaiseSyncError(int32_t code) { throw EPalmSyncError(code); }

void CheckSyncResult(int32_t code) {
  if (code != 0) RaiseSyncError(code);
}

}  // namespace kestro
