// Symbol visibility and calling conventions for the C boundary. These are
// compiler matters, kept here so that the rest of the code names no OS.
#pragma once

#if defined(_WIN32)
#define KESTRO_EXPORT __declspec(dllexport)
#if defined(__i386__) || defined(_M_IX86)
#define KESTRO_STDCALL __stdcall
#else
#define KESTRO_STDCALL
#endif
#else
#define KESTRO_EXPORT __attribute__((visibility("default")))
#define KESTRO_STDCALL
#endif

#define KESTRO_CDECL
