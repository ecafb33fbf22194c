// Editor controls over the platform's input widgets.
#include <vxplan/platform/ui/StdCtrls.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFocusEvent>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextBlock>
#include <QTextCursor>

#include <vxplan/platform/ui/ControlsInternal.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

QFont detail::QtFontOf(const TFont& theFont) {
  QFont q(ToQString(theFont.GetName()));
  q.setPixelSize(std::max(1, std::abs(theFont.GetHeight())));
  q.setBold(theFont.GetStyle().Contains(fsBold));
  q.setItalic(theFont.GetStyle().Contains(fsItalic));
  q.setUnderline(theFont.GetStyle().Contains(fsUnderline));
  q.setStrikeOut(theFont.GetStyle().Contains(fsStrikeOut));
  return q;
}

namespace {

class InputFilter : public QObject {
public:
  explicit InputFilter(TInputControl* theOwner) : fOwner(theOwner) {}
  bool eventFilter(QObject* theWatched, QEvent* theEvent) override {
    auto* w = qobject_cast<QWidget*>(theWatched);
    return w && fOwner->FilterInput(w, theEvent);
  }

private:
  TInputControl* fOwner;
};

}  // namespace

// --- TInputControl -------------------------------------------------------------------------

TInputControl::TInputControl(TComponent* AOwner) : TWinControl(AOwner) { fFilter = new InputFilter(this); }

TInputControl::~TInputControl() {
  Destroying();
  // The widget goes before the filter it reports to.
  delete fInner;
  fInner = nullptr;
  delete fFilter;
}

void TInputControl::SetInner(QWidget* theWidget) {
  fInner = theWidget;
  fInner->setParent(this);
  fInner->setGeometry(0, 0, GetWidth(), GetHeight());
  setFocusProxy(fInner);
  fInner->installEventFilter(fFilter);
  WatchParts();
  FontChanged();
  fInner->show();
}

void TInputControl::WatchParts() {
  if (!fInner) return;
  for (QWidget* part : fInner->findChildren<QWidget*>()) {
    part->removeEventFilter(fFilter);
    part->installEventFilter(fFilter);
  }
}

void TInputControl::RaiseChanged(const TNotifyEvent& theEvent) {
  if (IsDestroying()) return;
  GuardedCall([&] {
    Changed();
    if (theEvent && !IsDestroying()) theEvent(this);
  });
}

bool TInputControl::ContainsFocus() const {
  QWidget* f = QApplication::focusWidget();
  return f && (f == this || isAncestorOf(f) || OwnsPopup(f->window()));
}

bool TInputControl::OwnsPopup(const QWidget* thePopup) const {
  if (!thePopup || !thePopup->isWindow() || !(thePopup->windowType() == Qt::Popup)) return false;
  for (const QWidget* w = thePopup->parentWidget(); w; w = w->parentWidget())
    if (w == this) return true;
  return false;
}

void TInputControl::SetBorderStyle(TBorderStyle theValue) {
  fBorderStyle = theValue;
  ApplyBorderStyle();
}

void TInputControl::SetColor(TColor theColor) {
  TWinControl::SetColor(theColor);
  if (!fInner) return;
  QPalette pal = fInner->palette();
  const QColor c = ToQColor(theColor);
  pal.setColor(QPalette::Base, c);
  pal.setColor(QPalette::Window, c);
  fInner->setPalette(pal);
  fInner->setAutoFillBackground(true);
}

void TInputControl::SetDefaultContextMenu(bool theValue) {
  if (fInner) fInner->setContextMenuPolicy(theValue ? Qt::DefaultContextMenu : Qt::PreventContextMenu);
}

void TInputControl::Resize() {
  if (fInner) fInner->setGeometry(0, 0, GetWidth(), GetHeight());
  TWinControl::Resize();
}

void TInputControl::FontChanged() {
  TWinControl::FontChanged();
  if (!fInner) return;
  TFont* f = GetFont();
  fInner->setFont(detail::QtFontOf(*f));
  QPalette pal = fInner->palette();
  pal.setColor(QPalette::Text, ToQColor(f->GetColor()));
  fInner->setPalette(pal);
}

bool TInputControl::event(QEvent* theEvent) {
  const auto type = theEvent->type();
  if (type == QEvent::KeyPress || type == QEvent::KeyRelease) {
    const int key = static_cast<QKeyEvent*>(theEvent)->key();
    QWidget* focus = QApplication::focusWidget();
    // A key the widget (or one of its parts) left unused comes up to the
    // control. The control heard it already, before the widget did
    // (FilterKey), and a character typed again would come straight back
    // here: a widget that takes no characters (a check box) would loop.
    const bool fromInside = fTyping || (focus && focus != this && isAncestorOf(focus));
    if (fromInside && key != Qt::Key_Tab && key != Qt::Key_Backtab) {
      theEvent->accept();
      return true;
    }
  }
  return TWinControl::event(theEvent);
}

void TInputControl::Dispatch(TMessage& Message) {
  TWinControl::Dispatch(Message);
  // A character sent to the control (not typed into the widget) is typed now.
  if (Message.Msg == WM_CHAR && !fFromWidget && Message.CharCode != 0 && !IsDestroying())
    TypeChar(static_cast<char32_t>(Message.CharCode));
}

void TInputControl::TypeChar(char32_t theChar) {
  QWidget* target = QApplication::focusWidget();
  if (!target || !(target == this || isAncestorOf(target))) target = fInner ? fInner->focusProxy() : nullptr;
  if (!target) target = fInner;
  if (!target) return;
  const QString text = QString::fromUcs4(&theChar, 1);
  QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
  QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, text);
  fTyping = true;
  QCoreApplication::sendEvent(target, &press);
  QCoreApplication::sendEvent(target, &release);
  fTyping = false;
}

bool TInputControl::FilterInput(QWidget* theWidget, QEvent* theEvent) {
  if (IsDestroying() || fTyping) return false;
  switch (theEvent->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
      if (theWidget != QApplication::focusWidget()) return false;
      return FilterKey(static_cast<QKeyEvent*>(theEvent), theEvent->type() == QEvent::KeyPress);
    case QEvent::FocusIn:
      if (!fFocusInside) {
        fFocusInside = true;
        GuardedCall([&] { Perform(WM_SETFOCUS); });
      }
      return false;
    case QEvent::FocusOut: {
      // Focus moving between the widget's parts, or into its own pop-up (a
      // combo box's list, a calendar: windows of their own), stays inside.
      const auto reason = static_cast<QFocusEvent*>(theEvent)->reason();
      if (ContainsFocus() || reason == Qt::PopupFocusReason || OwnsPopup(QApplication::activePopupWidget()))
        return false;
      if (fFocusInside) {
        fFocusInside = false;
        GuardedCall([&] { Perform(WM_KILLFOCUS); });
      }
      return false;
    }
    case QEvent::ChildAdded:
      WatchParts();
      return false;
    default: return false;
  }
}

// A key of the widget as WM_KEYDOWN (or WM_KEYUP), then its character as
// WM_CHAR; answers whether the widget must not see the key.
bool TInputControl::FilterKey(QKeyEvent* theKey, bool thePress) {
  bool swallow = false;
  GuardedCall([&] {
    TMessage m;
    m.Decoded = true;
    m.Msg = thePress ? WM_KEYDOWN : WM_KEYUP;
    m.CharCode = detail::VirtualKeyOf(theKey->key());
    m.WParam = m.CharCode;
    m.Shift = detail::ShiftOf(theKey->modifiers());
    if (theKey->key() == Qt::Key_Backtab) m.Shift.Include(ssShift);
    if (m.CharCode != 0) {
      WndProc(m);
      if (m.CharCode == 0) {
        swallow = true;
        return;
      }
    }
    const QString text = theKey->text();
    if (!thePress || text.isEmpty() || IsDestroying()) return;
    const char32_t typed = text.toUcs4().value(0);
    TMessage c;
    c.Decoded = true;
    c.Msg = WM_CHAR;
    c.CharCode = typed;
    c.WParam = typed;
    c.Shift = m.Shift;
    fFromWidget = true;
    WndProc(c);
    fFromWidget = false;
    if (c.CharCode == typed) return;
    swallow = true;
    if (c.CharCode != 0 && !IsDestroying()) TypeChar(static_cast<char32_t>(c.CharCode));
  });
  fFromWidget = false;
  return swallow;
}

// --- TCustomEdit ---------------------------------------------------------------------------

TCustomEdit::TCustomEdit(TComponent* AOwner) : TInputControl(AOwner), fEdit(new QLineEdit) {
  SetBounds(0, 0, 121, 21);
  SetInner(fEdit);
  QObject::connect(fEdit, &QLineEdit::textChanged, [this](const QString&) {
    RaiseChanged(OnChange);
  });
}

std::string TCustomEdit::GetText() const { return FromQString(fEdit->text()); }
void TCustomEdit::SetText(const std::string& theText) { fEdit->setText(ToQString(theText)); }
int TCustomEdit::GetSelStart() const {
  return fEdit->hasSelectedText() ? fEdit->selectionStart() : fEdit->cursorPosition();
}
void TCustomEdit::SetSelStart(int theValue) { fEdit->setCursorPosition(theValue); }
int TCustomEdit::GetSelLength() const { return static_cast<int>(fEdit->selectedText().size()); }
void TCustomEdit::SetSelLength(int theValue) { fEdit->setSelection(fEdit->cursorPosition(), theValue); }
void TCustomEdit::SelectAll() { fEdit->selectAll(); }
bool TCustomEdit::GetReadOnly() const { return fEdit->isReadOnly(); }
void TCustomEdit::SetReadOnly(bool theValue) { fEdit->setReadOnly(theValue); }
void TCustomEdit::ApplyBorderStyle() { fEdit->setFrame(GetBorderStyle() != bsNone); }

// --- TCustomMemo ---------------------------------------------------------------------------

TCustomMemo::TCustomMemo(TComponent* AOwner) : TInputControl(AOwner), fMemo(new QPlainTextEdit) {
  SetBounds(0, 0, 185, 89);
  fMemo->setTabChangesFocus(false);
  // No scroll bars, as a classic memo starts.
  fMemo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  fMemo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  SetInner(fMemo);
  QObject::connect(fMemo, &QPlainTextEdit::textChanged, [this] {
    RaiseChanged(OnChange);
  });
}

std::string TCustomMemo::GetText() const { return FromQString(fMemo->toPlainText()); }
void TCustomMemo::SetText(const std::string& theText) { fMemo->setPlainText(ToQString(theText)); }
int TCustomMemo::GetSelStart() const { return fMemo->textCursor().selectionStart(); }
void TCustomMemo::SetSelStart(int theValue) {
  QTextCursor c = fMemo->textCursor();
  c.setPosition(std::clamp(theValue, 0, static_cast<int>(fMemo->document()->characterCount()) - 1));
  fMemo->setTextCursor(c);
}
void TCustomMemo::SelectAll() { fMemo->selectAll(); }
int TCustomMemo::GetLinesHeight() const {
  const QFontMetrics fm(fMemo->font());
  const int lines = std::max(1, static_cast<int>(fMemo->document()->blockCount()));
  const int margins = static_cast<int>(2 * fMemo->document()->documentMargin()) + 2 * fMemo->frameWidth();
  return lines * fm.lineSpacing() + margins;
}

int TCustomMemo::GetSelLength() const {
  const QTextCursor c = fMemo->textCursor();
  return c.selectionEnd() - c.selectionStart();
}
void TCustomMemo::ApplyBorderStyle() {
  fMemo->setFrameStyle(GetBorderStyle() == bsNone ? QFrame::NoFrame : QFrame::StyledPanel | QFrame::Sunken);
}

// --- TCustomComboBox -----------------------------------------------------------------------

TCustomComboBox::TCustomComboBox(TComponent* AOwner) : TInputControl(AOwner), fCombo(new QComboBox) {
  SetBounds(0, 0, 145, 21);
  fCombo->setEditable(true);
  fCombo->setInsertPolicy(QComboBox::NoInsert);
  SetInner(fCombo);
  QObject::connect(fCombo, &QComboBox::currentTextChanged, [this](const QString&) {
    RaiseChanged(OnChange);
  });
}

void TCustomComboBox::SetStyle(TComboBoxStyle theValue) {
  fStyle = theValue;
  fCombo->setEditable(theValue == csDropDown);
  if (theValue == csDropDown) fCombo->setInsertPolicy(QComboBox::NoInsert);
  WatchParts();
}

std::vector<std::string> TCustomComboBox::GetItems() const {
  std::vector<std::string> r;
  for (int k = 0; k < fCombo->count(); ++k) r.push_back(FromQString(fCombo->itemText(k)));
  return r;
}

void TCustomComboBox::SetItems(const std::vector<std::string>& theItems) {
  const QString text = fCombo->currentText();
  fCombo->clear();
  for (const std::string& s : theItems) fCombo->addItem(ToQString(s));
  // A new list does not change what is typed.
  if (fStyle == csDropDown)
    fCombo->setEditText(text);
  else
    fCombo->setCurrentIndex(fCombo->findText(text));
}

int TCustomComboBox::GetItemIndex() const {
  return fStyle == csDropDown ? fCombo->findText(fCombo->currentText()) : fCombo->currentIndex();
}

void TCustomComboBox::SetItemIndex(int theValue) {
  fCombo->setCurrentIndex(theValue >= 0 && theValue < fCombo->count() ? theValue : -1);
  if (theValue < 0 && fStyle == csDropDown) fCombo->setEditText(QString());
}

std::string TCustomComboBox::GetText() const { return FromQString(fCombo->currentText()); }

void TCustomComboBox::SetText(const std::string& theText) {
  if (fStyle == csDropDown) {
    const int k = fCombo->findText(ToQString(theText));
    if (k >= 0) fCombo->setCurrentIndex(k);
    fCombo->setEditText(ToQString(theText));
  } else {
    fCombo->setCurrentIndex(fCombo->findText(ToQString(theText)));
  }
}

void TCustomComboBox::SelectAll() {
  if (QLineEdit* line = fCombo->lineEdit()) line->selectAll();
}
bool TCustomComboBox::GetDroppedDown() const { return fCombo->view() && fCombo->view()->isVisible(); }

void TCustomComboBox::SetDroppedDown(bool theValue) {
  if (theValue)
    fCombo->showPopup();
  else
    fCombo->hidePopup();
}

// --- TCustomCheckBox -----------------------------------------------------------------------

TCustomCheckBox::TCustomCheckBox(TComponent* AOwner) : TInputControl(AOwner), fBox(new QCheckBox) {
  SetBounds(0, 0, 97, 17);
  SetInner(fBox);
  QObject::connect(fBox, &QCheckBox::toggled, [this](bool) {
    RaiseChanged(OnClick);
  });
}

bool TCustomCheckBox::GetChecked() const { return fBox->isChecked(); }
void TCustomCheckBox::SetChecked(bool theValue) { fBox->setChecked(theValue); }
std::string TCustomCheckBox::GetCaption() const { return FromQString(fBox->text()); }
void TCustomCheckBox::SetCaption(const std::string& theCaption) { fBox->setText(ToQString(theCaption)); }

}  // namespace vx
