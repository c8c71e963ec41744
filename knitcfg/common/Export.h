#pragma once

// KNITCFG_API marks the classes and functions that the library exports.
// Everything else stays hidden in the shared library.
//   KNITCFG_BUILDING: defined while the library itself is compiled.
//   KNITCFG_STATIC:   defined for the static library and its consumers.
#if defined(KNITCFG_BUILDING)
#if defined(_WIN32)
#define KNITCFG_API __declspec(dllexport)
#else
#define KNITCFG_API __attribute__((visibility("default")))
#endif
#elif defined(KNITCFG_STATIC)
#define KNITCFG_API
#elif defined(_WIN32)
#define KNITCFG_API __declspec(dllimport)
#else
#define KNITCFG_API
#endif
