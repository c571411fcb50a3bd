// How the HotSync host's functions are declared: C linkage and the C calling
// convention. The stand-in host defines KESTRO_BUILDING_HOST to export them;
// the conduit only takes their types and resolves them by name at run time.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/export.h"

#if defined(KESTRO_BUILDING_HOST)
#define KESTRO_HOST_API extern "C" KESTRO_EXPORT
#else
#define KESTRO_HOST_API extern "C"
#endif

// Checks a field's offset in a packed host record.
#define KESTRO_ASSERT_OFFSET(type, field, offset) \
  static_assert(offsetof(type, field) == (offset), #type "." #field " must be at offset " #offset)
