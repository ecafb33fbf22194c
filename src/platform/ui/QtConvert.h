#pragma once

// Conversions between the library's values and Qt's, written once.
#include <QColor>
#include <QDateTime>
#include <QString>
#include <string>

#include "platform/rtl/Color.h"
#include "platform/rtl/DateUtils.h"

namespace vx {

// System colours resolve through the palette; Qt's alpha is dropped.
QColor ToQColor(TColor theColor);
TColor FromQColor(const QColor& theColor);

// Strings are UTF-8 on both sides.
QString ToQString(const std::string& theText);
std::string FromQString(const QString& theText);

// Local wall-clock time, to the millisecond. The day of a negative value is
// its whole part and the fraction, whatever its sign, the time of day; days
// outside 0001-01-01 .. 9999-12-31 become the nearest end of that range, both
// ways. An invalid QDateTime gives 0.
QDateTime ToQDateTime(TDateTime theValue);
TDateTime FromQDateTime(const QDateTime& theValue);

}  // namespace vx
