#pragma once

// What the shared library exports. The library is built with hidden
// visibility: only classes and functions marked VX_API are part of its
// binary interface, so its private helpers can change without breaking
// applications. A static build (VXPLAN_STATIC) needs no marks.
#if defined(VXPLAN_STATIC)
#define VX_API
#elif defined(_WIN32)
#if defined(VXPLAN_BUILDING)
#define VX_API __declspec(dllexport)
#else
#define VX_API __declspec(dllimport)
#endif
#else
#define VX_API __attribute__((visibility("default")))
#endif

// Kept out of the binary interface even where an exported class encloses it.
#if defined(_WIN32)
#define VX_HIDDEN
#else
#define VX_HIDDEN __attribute__((visibility("hidden")))
#endif
