// The date-time picker over Qt's date-time edit, shown and read by the
// library's own format settings.
#include <QCalendarWidget>
#include <QCheckBox>
#include <QDateTimeEdit>
#include <QKeyEvent>
#include <QLocale>
#include <cctype>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>
#include <vxplan/platform/ui/StdCtrls.h>

namespace vx {

namespace {

QString Quoted(char c) {
  if (std::isalpha(static_cast<unsigned char>(c)) || c == '\'') return QStringLiteral("'") + QChar(c) + QStringLiteral("'");
  return QString(QChar(c));
}

size_t Run(const std::string& f, size_t i, char c) {
  size_t n = 0;
  while (i + n < f.size() && std::tolower(static_cast<unsigned char>(f[i + n])) == c) ++n;
  return n;
}

// The display format of Qt's date-time edit for a format of FormatDateTime.
QString QtFormat(const std::string& f) {
  const TFormatSettings& fs = FormatSettings();
  const bool twelve = [&] {
    for (size_t i = 0; i < f.size(); ++i)
      if (std::tolower(static_cast<unsigned char>(f[i])) == 'a') return true;
    return false;
  }();
  QString out;
  bool afterHour = false;
  for (size_t i = 0; i < f.size();) {
    const char c = static_cast<char>(std::tolower(static_cast<unsigned char>(f[i])));
    if (c == '"' || c == '\'') {
      const size_t close = f.find(f[i], i + 1);
      const std::string lit = f.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
      out += QStringLiteral("'") + ToQString(lit) + QStringLiteral("'");
      i = close == std::string::npos ? f.size() : close + 1;
      continue;
    }
    const size_t n = std::max<size_t>(Run(f, i, c), 1);
    switch (c) {
      case 'y': out += n >= 3 ? QStringLiteral("yyyy") : QStringLiteral("yy"); break;
      case 'm':
        if (afterHour)
          out += n >= 2 ? QStringLiteral("mm") : QStringLiteral("m");
        else
          out += n >= 4 ? QStringLiteral("MMMM") : QString(static_cast<qsizetype>(n), QChar('M'));
        break;
      case 'd': out += QString(static_cast<qsizetype>(std::min<size_t>(n, 4)), QChar('d')); break;
      case 'h': out += QString(static_cast<qsizetype>(std::min<size_t>(n, 2)), QChar(twelve ? 'h' : 'H')); break;
      case 'n': out += n >= 2 ? QStringLiteral("mm") : QStringLiteral("m"); break;
      case 's': out += n >= 2 ? QStringLiteral("ss") : QStringLiteral("s"); break;
      case 'z': out += QStringLiteral("zzz"); break;
      case '/': out += Quoted(fs.DateSeparator); break;
      case ':': out += Quoted(fs.TimeSeparator); break;
      case 'a': {
        std::string rest;
        for (size_t k = i; k < f.size() && k < i + 5; ++k)
          rest += static_cast<char>(std::tolower(static_cast<unsigned char>(f[k])));
        const size_t len = rest.rfind("am/pm", 0) == 0 ? 5 : rest.rfind("ampm", 0) == 0 ? 4 : rest.rfind("a/p", 0) == 0 ? 3 : 0;
        if (len == 0) {
          out += Quoted(f[i]);
          i += 1;
        } else {
          out += QStringLiteral("AP");
          i += len;
        }
        afterHour = false;
        continue;
      }
      default:
        for (size_t k = 0; k < n; ++k) out += Quoted(f[i + k]);
        break;
    }
    if (c == 'h') afterHour = true;
    else if (c != 'm' && c != ':' && c != ' ') afterHour = false;
    i += n;
  }
  return out;
}

// Qt's date-time edit moves to the next field once a field is full, and a
// separator typed then moves on once more: "2026-12-03" would land in the
// wrong fields. Here a separator right after such a move is taken as the
// one the user meant.
class DateTimeEdit : public QDateTimeEdit {
public:
  using QDateTimeEdit::QDateTimeEdit;

protected:
  void keyPressEvent(QKeyEvent* theEvent) override {
    const QString text = theEvent->text();
    const bool separator = text.size() == 1 && text[0].isPrint() && !text[0].isLetterOrNumber();
    if (separator && fMovedOn) {
      fMovedOn = false;
      theEvent->accept();
      return;
    }
    const int before = currentSectionIndex();
    QDateTimeEdit::keyPressEvent(theEvent);
    fMovedOn = text.size() == 1 && text[0].isDigit() && currentSectionIndex() != before;
  }
  void focusInEvent(QFocusEvent* theEvent) override {
    fMovedOn = false;
    QDateTimeEdit::focusInEvent(theEvent);
  }

private:
  bool fMovedOn = false;
};

}  // namespace

TDateTimePicker::TDateTimePicker(TComponent* AOwner)
    : TInputControl(AOwner), fEdit(new DateTimeEdit), fCheck(new QCheckBox) {
  SetBounds(0, 0, 186, 21);
  auto* frame = new QWidget;
  fEdit->setParent(frame);
  fCheck->setParent(frame);
  fCheck->hide();
  fCheck->setFocusPolicy(Qt::NoFocus);
  fCheck->setChecked(true);
  frame->setFocusProxy(fEdit);
  // Never the system's locale: names and formats come from the settings.
  fEdit->setLocale(QLocale::c());
  fEdit->setMinimumDateTime(QDateTime(QDate(1, 1, 1), QTime(0, 0)));
  fEdit->setMaximumDateTime(QDateTime(QDate(9999, 12, 31), QTime(23, 59, 59, 999)));
  SetInner(frame);
  UpdateFormat();
  QObject::connect(fEdit, &QDateTimeEdit::dateTimeChanged, [this](const QDateTime&) {
    RaiseChanged(OnChange);
  });
  QObject::connect(fCheck, &QCheckBox::toggled, [this](bool on) {
    // Unticked, the value cannot be typed; disabling it instead would drop
    // the focus (and end a grid's edit the moment the box is clicked).
    fEdit->setReadOnly(!on);
    RaiseChanged(OnChange);
  });
  SetDateTime(Now());
}

void TDateTimePicker::UpdateFormat() {
  const TFormatSettings& fs = FormatSettings();
  fEdit->setDisplayFormat(QtFormat(fKind == dtkDate ? fs.ShortDateFormat : fs.ShortTimeFormat));
  fEdit->setCalendarPopup(fKind == dtkDate);
  if (fKind == dtkDate && fEdit->calendarWidget()) fEdit->calendarWidget()->setLocale(QLocale::c());
  WatchParts();
}

void TDateTimePicker::SetKind(TDateTimeKind theValue) {
  if (theValue == fKind) return;
  fKind = theValue;
  UpdateFormat();
}

TDateTime TDateTimePicker::GetDateTime() const { return FromQDateTime(fEdit->dateTime()); }
std::string TDateTimePicker::GetText() const { return FromQString(fEdit->text()); }
void TDateTimePicker::SetDateTime(TDateTime theValue) { fEdit->setDateTime(ToQDateTime(theValue)); }

TDateTime TDateTimePicker::GetDate() const {
  const TDateTime v = GetDateTime();
  return v >= 0 ? static_cast<double>(static_cast<long long>(v)) : -static_cast<double>(static_cast<long long>(-v));
}

TDateTime TDateTimePicker::GetTime() const {
  const TDateTime v = GetDateTime();
  return v >= 0 ? v - GetDate() : GetDate() - v;
}

void TDateTimePicker::SetShowCheckbox(bool theValue) {
  fShowCheckbox = theValue;
  fCheck->setVisible(theValue);
  Resize();
}

bool TDateTimePicker::GetChecked() const { return !fShowCheckbox || fCheck->isChecked(); }
void TDateTimePicker::SetChecked(bool theValue) { fCheck->setChecked(theValue); }

bool TDateTimePicker::GetDroppedDown() const {
  return fEdit->calendarPopup() && fEdit->calendarWidget() && fEdit->calendarWidget()->isVisible();
}

void TDateTimePicker::Resize() {
  TInputControl::Resize();
  const int box = fShowCheckbox ? std::min(GetHeight(), 20) : 0;
  fCheck->setGeometry(2, 0, box, GetHeight());
  fEdit->setGeometry(box ? box + 2 : 0, 0, std::max(GetWidth() - (box ? box + 2 : 0), 0), GetHeight());
}

}  // namespace vx
