#pragma once

// What the Qt face library exports (see <vxplan/platform/rtl/Export.h>).
#if defined(VXPLAN_STATIC)
#define VX_QT_API
#elif defined(_WIN32)
#if defined(VXPLAN_WIDGETS_BUILDING)
#define VX_QT_API __declspec(dllexport)
#else
#define VX_QT_API __declspec(dllimport)
#endif
#else
#define VX_QT_API __attribute__((visibility("default")))
#endif
