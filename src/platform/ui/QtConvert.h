#pragma once

#include <vxplan/platform/rtl/Export.h>

// Conversions between the library's values and Qt's, written once.
#include <QColor>
#include <QDateTime>
#include <QString>
#include <string>

#include <vxplan/platform/rtl/Color.h>
#include <vxplan/platform/rtl/DateUtils.h>

namespace vx {

// System colours resolve through the palette; Qt's alpha is dropped.
VX_API QColor ToQColor(TColor theColor);
VX_API TColor FromQColor(const QColor& theColor);

// Strings are UTF-8 on both sides.
VX_API QString ToQString(const std::string& theText);
VX_API std::string FromQString(const QString& theText);

// Local wall-clock time, to the millisecond. The day of a negative value is
// its whole part and the fraction, whatever its sign, the time of day; days
// outside 0001-01-01 .. 9999-12-31 become the nearest end of that range, both
// ways. An invalid QDateTime gives 0.
VX_API QDateTime ToQDateTime(TDateTime theValue);
VX_API TDateTime FromQDateTime(const QDateTime& theValue);

}  // namespace vx
