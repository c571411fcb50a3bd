// Set-up and tear-down of the conduit library, in the host's module order:
// the singleton registry, the desktop libraries (user data, Sync Manager, log,
// HotSync API, Conduit Manager, install aide), and last the data module with
// its component and table. Tear-down runs the other way.
#include <memory>

#include "conduit/host_libraries.h"
#include "conduit/singleton_component.h"
#include "engine/data_module.h"
#include "platform/library_main.h"
#include "platform/message_box.h"

namespace kestro {
namespace {

std::unique_ptr<TDataModule1>& DataModule() {
  static std::unique_ptr<TDataModule1> module;
  return module;
}

}  // namespace

bool OnLibraryLoad() {
  try {
    LoadHostLibraries();
    DataModule() = std::make_unique<TDataModule1>();
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
    DataModule().reset();
    UnloadHostLibraries();
    ReleaseSingletonRegistry();
  } catch (...) {
  }
}

}  // namespace kestro
