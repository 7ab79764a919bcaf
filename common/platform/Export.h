#pragma once

// Marks a C function as an export of the shared library it is built into. Everything else stays
// hidden (the build hides symbols by default), so each module exports exactly what it marks.

#if defined(_WIN32)
#define ZOR_EXPORT __declspec(dllexport)
#else
#define ZOR_EXPORT __attribute__((visibility("default")))
#endif
