// First stand-in install aide.
#include "hostapi/install_aide.h"

KESTRO_HOST_API int32_t PltInstallFile(const char*, const char*) { return -551; }
