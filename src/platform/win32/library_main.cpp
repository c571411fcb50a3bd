#include "platform/library_main.h"
#include "platform/win32/compat.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE, DWORD reason, LPVOID) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      return kestro::OnLibraryLoad() ? TRUE : FALSE;
    case DLL_PROCESS_DETACH:
      kestro::OnLibraryUnload();
      return TRUE;
    default:
      return TRUE;
  }
}
