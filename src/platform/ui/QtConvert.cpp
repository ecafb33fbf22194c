#include <vxplan/platform/ui/QtConvert.h>

#include <algorithm>

namespace vx {

QColor ToQColor(TColor theColor) {
  const TColor rgb = ColorToRGB(theColor);
  // From a packed value: the component constructor checks each, and this
  // runs for every fill of a frame.
  return QColor(qRgb(GetRValue(rgb), GetGValue(rgb), GetBValue(rgb)));
}

TColor FromQColor(const QColor& theColor) { return RGB(theColor.red(), theColor.green(), theColor.blue()); }

QString ToQString(const std::string& theText) {
  return QString::fromUtf8(theText.data(), static_cast<qsizetype>(theText.size()));
}

std::string FromQString(const QString& theText) { return theText.toStdString(); }

QDateTime ToQDateTime(TDateTime theValue) {
  int y, mo, d, h, mi, s, ms;
  DecodeDate(theValue, y, mo, d);
  DecodeTime(theValue, h, mi, s, ms);
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

TDateTime FromQDateTime(const QDateTime& theValue) {
  if (!theValue.isValid()) return 0;
  QDate d = theValue.date();
  QTime t = theValue.time();
  if (d < QDate(1, 1, 1)) {
    d = QDate(1, 1, 1);
    t = QTime(0, 0);
  } else if (d > QDate(9999, 12, 31)) {
    d = QDate(9999, 12, 31);
    t = QTime(23, 59, 59, 999);
  }
  TDateTime date = 0, time = 0;
  TryEncodeDate(d.year(), d.month(), d.day(), date);
  TryEncodeTime(t.hour(), t.minute(), t.second(), t.msec(), time);
  // Before 1899-12-30 the time of day counts away from zero.
  return date >= 0 ? date + time : date - time;
}

}  // namespace vx
