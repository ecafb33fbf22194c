#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <memory>
#include <string>
#include <vector>

#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Controls.h>
#include <vxplan/platform/ui/ExtCtrls.h>

class QCheckBox;
class QKeyEvent;
class QComboBox;
class QDateTimeEdit;
class QLineEdit;
class QPlainTextEdit;

namespace vx {

// A control around one of the platform's input widgets. Its keys and focus
// changes arrive as the classic messages, before the widget sees them:
// KeyDown and KeyPress may change or drop a key (set it to 0), and the
// control hears WM_SETFOCUS and WM_KILLFOCUS (DoEnter, DoExit) once for the
// widget and its parts together. A WM_CHAR sent with Perform is typed into
// the widget after KeyPress has seen it.
class VX_API TInputControl : public TWinControl {
public:
  explicit TInputControl(TComponent* AOwner);
  ~TInputControl() override;

  // The input focus is on the widget or one of its parts.
  bool ContainsFocus() const;
  // With bsNone the widget draws no frame.
  TBorderStyle GetBorderStyle() const noexcept { return fBorderStyle; }
  void SetBorderStyle(TBorderStyle theValue);
  void SetColor(TColor theColor) override;
  // Whether a right click opens the platform's own menu (cut, copy, paste);
  // without it the click only takes the focus.
  void SetDefaultContextMenu(bool theValue);

  // Toolkit internals.
  bool FilterInput(QWidget* theWidget, QEvent* theEvent);

protected:
  // Takes theWidget as the control's widget (a child filling it).
  void SetInner(QWidget* theWidget);
  QWidget* GetInner() const noexcept { return fInner; }
  // Watches widgets the inner widget made since (its parts).
  void WatchParts();
  virtual void ApplyBorderStyle() {}
  // The content changed (text, pick, check state, value); heard here first,
  // by descendants, then by the control's public change event.
  virtual void Changed() {}
  void RaiseChanged(const TNotifyEvent& theEvent);
  void Resize() override;
  void FontChanged() override;
  bool event(QEvent* theEvent) override;
  void Dispatch(TMessage& Message) override;
  // Types theChar into the widget as if it were pressed.
  void TypeChar(char32_t theChar);
  bool FilterKey(QKeyEvent* theKey, bool thePress);
  // thePopup is a pop-up window of the widget's own (a list, a calendar).
  bool OwnsPopup(const QWidget* thePopup) const;

private:
  QWidget* fInner = nullptr;
  QObject* fFilter = nullptr;
  TBorderStyle fBorderStyle = bsSingle;
  bool fFocusInside = false;
  bool fFromWidget = false;
  bool fTyping = false;
};

// A single-line edit.
class VX_API TCustomEdit : public TInputControl {
public:
  explicit TCustomEdit(TComponent* AOwner);
  std::string GetText() const;
  void SetText(const std::string& theText);
  int GetSelStart() const;
  void SetSelStart(int theValue);
  int GetSelLength() const;
  void SetSelLength(int theValue);
  void SelectAll();
  bool GetReadOnly() const;
  void SetReadOnly(bool theValue);
  // Any change of the text, by the user or the program.
  TNotifyEvent OnChange;

protected:
  void ApplyBorderStyle() override;

private:
  QLineEdit* fEdit;
};

// A multi-line edit; lines are separated by "\n".
class VX_API TCustomMemo : public TInputControl {
public:
  explicit TCustomMemo(TComponent* AOwner);
  std::string GetText() const;
  void SetText(const std::string& theText);
  int GetSelStart() const;
  void SetSelStart(int theValue);
  int GetSelLength() const;
  void SelectAll();
  // The height that shows every line of the text (its paragraphs, not
  // wrapped), frame and margins included.
  int GetLinesHeight() const;
  TNotifyEvent OnChange;

protected:
  void ApplyBorderStyle() override;

private:
  QPlainTextEdit* fMemo;
};

enum TComboBoxStyle { csDropDown, csDropDownList };

// A combo box: a list to pick from, and with csDropDown a text of one's own.
class VX_API TCustomComboBox : public TInputControl {
public:
  explicit TCustomComboBox(TComponent* AOwner);
  TComboBoxStyle GetStyle() const noexcept { return fStyle; }
  void SetStyle(TComboBoxStyle theValue);
  std::vector<std::string> GetItems() const;
  void SetItems(const std::vector<std::string>& theItems);
  // -1 when the text is none of the items.
  int GetItemIndex() const;
  void SetItemIndex(int theValue);
  std::string GetText() const;
  void SetText(const std::string& theText);
  // Selects the text of one's own (csDropDown); nothing with csDropDownList.
  void SelectAll();
  bool GetDroppedDown() const;
  void SetDroppedDown(bool theValue);
  // The text or the picked item changed (user or program).
  TNotifyEvent OnChange;

private:
  QComboBox* fCombo;
  TComboBoxStyle fStyle = csDropDown;
};

// A check box.
class VX_API TCustomCheckBox : public TInputControl {
public:
  explicit TCustomCheckBox(TComponent* AOwner);
  bool GetChecked() const;
  void SetChecked(bool theValue);
  void Toggle() { SetChecked(!GetChecked()); }
  std::string GetCaption() const;
  void SetCaption(const std::string& theCaption);
  // Any change of the checked state.
  TNotifyEvent OnClick;

private:
  QCheckBox* fBox;
};

enum TDateTimeKind { dtkDate, dtkTime };

// A date or a time, typed or (for dates) picked from a calendar. It shows and
// reads its value by the library's own format settings (ShortDateFormat,
// ShortTimeFormat), never by the system's locale. With ShowCheckbox a box
// beside the value says whether there is one.
class VX_API TDateTimePicker : public TInputControl {
public:
  explicit TDateTimePicker(TComponent* AOwner);
  TDateTimeKind GetKind() const noexcept { return fKind; }
  void SetKind(TDateTimeKind theValue);
  TDateTime GetDateTime() const;
  void SetDateTime(TDateTime theValue);
  TDateTime GetDate() const;
  TDateTime GetTime() const;
  // What the picker shows, as typed (in the middle of typing it may be no
  // date yet, while GetDateTime still answers the last whole one).
  std::string GetText() const;
  bool GetShowCheckbox() const noexcept { return fShowCheckbox; }
  void SetShowCheckbox(bool theValue);
  bool GetChecked() const;
  void SetChecked(bool theValue);
  bool GetDroppedDown() const;
  // Takes the format settings again (after they changed).
  void UpdateFormat();
  TNotifyEvent OnChange;

protected:
  void Resize() override;

private:
  QDateTimeEdit* fEdit;
  QCheckBox* fCheck;
  TDateTimeKind fKind = dtkDate;
  bool fShowCheckbox = false;
};

}  // namespace vx
