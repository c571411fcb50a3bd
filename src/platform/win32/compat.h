// The one place that includes <windows.h> for the platform layer. The macros
// it defines would clash with our names elsewhere; they are undone here.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX  // min/max macros break std::min and std::max
#endif
#include <windows.h>

// DeleteFile, GetObject, SetCurrentDirectory and MessageBox are A/W-switching
// macros; our own functions of similar names must not be renamed by them.
#undef DeleteFile
#undef GetObject
#undef SetCurrentDirectory
#undef MessageBox
