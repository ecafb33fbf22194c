#include <gtest/gtest.h>

#include <vector>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/QtConvert.h>

using namespace vx;

namespace {

// Half a millisecond, in days: the precision of the conversion.
constexpr double kHalfMs = 0.5 / 86'400'000.0;

QDateTime At(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0) {
  return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
}

}  // namespace

TEST(QtConvert, DateTimeGoesToQtAndBack) {
  struct Case {
    const char* what;
    TDateTime value;
    QDateTime qt;
    TDateTime back;
  };
  const double lastDay = EncodeDate(9999, 12, 31);
  const double firstDay = EncodeDate(1, 1, 1);
  const std::vector<Case> cases = {
      {"day zero", 0, At(1899, 12, 30), 0},
      {"noon of the day after", 1.5, At(1899, 12, 31, 12), 1.5},
      {"after 1900's February", 61.25, At(1900, 3, 1, 6), 61.25},
      {"milliseconds", 45000 + 12'345 / 86'400'000.0, At(2023, 3, 15, 0, 0, 12, 345), 45000 + 12'345 / 86'400'000.0},
      {"negative: the fraction is the time of day", -1.25, At(1899, 12, 29, 6), -1.25},
      {"long before 1900", EncodeDate(1066, 10, 14) - 0.75, At(1066, 10, 14, 18), EncodeDate(1066, 10, 14) - 0.75},
      {"first day", firstDay, At(1, 1, 1), firstDay},
      {"before the first day", firstDay - 1000.5, At(1, 1, 1, 12), firstDay - 0.5},
      {"last day", lastDay + 0.75, At(9999, 12, 31, 18), lastDay + 0.75},
      {"after the last day", lastDay + 5000.25, At(9999, 12, 31, 6), lastDay + 0.25},
      {"within half a ms of midnight", 45000 + (1 - kHalfMs / 2), At(2023, 3, 15, 23, 59, 59, 999),
       45000 + 86'399'999 / 86'400'000.0},
      // Between -1 and 0 the day is day zero, and the value comes back positive.
      {"minus half a day", -0.5, At(1899, 12, 30, 12), 0.5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const QDateTime q = ToQDateTime(c.value);
    EXPECT_EQ(q, c.qt) << q.toString(Qt::ISODateWithMs).toStdString();
    EXPECT_NEAR(FromQDateTime(q), c.back, kHalfMs);
  }
  // From Qt, outside the range: the nearest end.
  EXPECT_NEAR(FromQDateTime(At(10000, 6, 1, 8)), lastDay + 86'399'999 / 86'400'000.0, kHalfMs);
  EXPECT_NEAR(FromQDateTime(At(-5, 6, 1, 8)), firstDay, kHalfMs);
  EXPECT_EQ(FromQDateTime(QDateTime()), 0);
}

TEST(QtConvert, ColourGoesToQtAndBack) {
  struct Case {
    const char* what;
    TColor value;
    QColor qt;
    TColor back;
  };
  const TColor face = ColorToRGB(clBtnFace);
  const std::vector<Case> cases = {
      {"black", clBlack, QColor(0, 0, 0), clBlack},
      {"channels in their places", RGB(1, 2, 3), QColor(1, 2, 3), RGB(1, 2, 3)},
      {"white", RGB(255, 255, 255), QColor(255, 255, 255), RGB(255, 255, 255)},
      {"system colour resolves", clBtnFace, QColor(GetRValue(face), GetGValue(face), GetBValue(face)), face},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(ToQColor(c.value), c.qt);
    EXPECT_EQ(FromQColor(ToQColor(c.value)), c.back);
  }
  EXPECT_EQ(FromQColor(QColor(10, 20, 30, 40)), RGB(10, 20, 30));  // alpha dropped
}

TEST(QtConvert, StringGoesToQtAndBackAsUtf8) {
  struct Case {
    std::string text;
    qsizetype qtLength;
  };
  const std::vector<Case> cases = {
      {"", 0},
      {"plain", 5},
      {"\xC3\xA4\xC3\xB6 \xE2\x82\xAC", 4},        // ä ö space €
      {"\xF0\x9F\x93\x85", 2},                      // a calendar: one surrogate pair
      {std::string("a\0b", 3), 3},                  // an embedded NUL is kept
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    const QString q = ToQString(c.text);
    EXPECT_EQ(q.size(), c.qtLength);
    EXPECT_EQ(FromQString(q), c.text);
  }
}
