#include "platform/library_main.h"

#include "platform/win32/compat.h"
#include "platform/win32/library_detach.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return kestro::OnLibraryLoad() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      // At process exit (reserved set) other threads and libraries may be
      // gone already; the system reclaims everything, so nothing is touched.
      if (reserved != nullptr) return TRUE;
      kestro::platform::SetInsideLibraryDetach(true);
      kestro::OnLibraryUnload();
      kestro::platform::SetInsideLibraryDetach(false);
      return TRUE;
    default:
      return TRUE;
  }
}
