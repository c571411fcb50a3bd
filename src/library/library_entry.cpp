// Set-up and tear-down of the conduit library, in the host's module order:
// the singleton registry, the desktop libraries (user data, Sync Manager, log,
// HotSync API, Conduit Manager, install aide), and last the data module with
// its component and table. Tear-down runs the other way.
//
// What lives from load to unload is held by plain pointers, never by objects
// with static destructors: at process exit the C++ runtime destroys those
// before the library's own tear-down runs, which would then free them twice.

#include <utility>

#include "conduit/host_libraries.h"
#include "conduit/singleton_component.h"
#include "engine/data_module.h"
#include "platform/library_main.h"
#include "platform/message_box.h"

namespace kestro {
namespace {

TDataModule1* data_module = nullptr;

}  // namespace

bool OnLibraryLoad() {
  try {
    LoadHostLibraries();
    data_module = new TDataModule1();
    return true;
  } catch (const EAbort&) {
    // The failing library has shown its box already.
  } catch (const std::exception& e) {
    platform::ShowMessageBox(MessageOf(e), "Error", platform::MessageIcon::kError);
  } catch (...) {
  }
  // Undo what was set up; the exports then find no component.
  OnLibraryUnload();
  return false;
}

void OnLibraryUnload() {
  try {
    delete std::exchange(data_module, nullptr);
    UnloadHostLibraries();
    ReleaseSingletonRegistry();
  } catch (...) {
  }
}

}  // namespace kestro
