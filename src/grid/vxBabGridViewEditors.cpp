// In-place editing: five editors owned by the view, placed over the cell,
// filled from its text and written back when the edit ends.
#include <array>
#include <cmath>

#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/paint/vxDoLater.h>
#include <vxplan/platform/ui/Forms.h>
#include <vxplan/platform/ui/HintWindow.h>
#include <vxplan/platform/rtl/FlagScope.h>

namespace vx {

using gridview::StringData;

namespace {

TOnClassEditEvent& StartEditHook() {
  static TOnClassEditEvent hook;
  return hook;
}

TOnClassEditEvent& EndEditHook() {
  static TOnClassEditEvent hook;
  return hook;
}

// Editors are children of the view, hidden until an edit starts.
void SetUpEditor(TControl* theEditor, TBabGridView_Custom* theView) {
  theEditor->SetVisible(false);
  theEditor->SetParent(theView);
  theEditor->SetTabStop(false);
}

// The picker's value in the short form. A date is read from what the picker
// shows, as the user typed it: false when that is no date (in the middle of
// typing the picker still holds the last whole one, which is not what shows).
bool DateTimeText(TDateTimePicker* thePicker, std::string& theText) {
  const TFormatSettings& fs = FormatSettings();
  if (thePicker->GetShowCheckbox() && !thePicker->GetChecked()) {
    theText = FormatDateTime(fs.ShortDateFormat, 0);
    return true;
  }
  if (thePicker->GetKind() != dtkDate) {
    theText = FormatDateTime(fs.ShortTimeFormat, thePicker->GetTime());
    return true;
  }
  theText = thePicker->GetText();
  TDateTime date = 0;
  try {
    date = SafeStrToDate(theText);
  } catch (const EConvertError&) {
    return false;
  }
  theText = FormatDateTime(fs.ShortDateFormat, date);
  return true;
}

}  // namespace

TDateTime SafeStrToDate(const std::string& theText) {
  std::string text = theText;
  if (gridview::UpperText(FormatSettings().ShortDateFormat).find("MMM") != std::string::npos) {
    // Month names as the short date format writes them, read once.
    static const std::array<std::string, 12> names = [] {
      std::array<std::string, 12> n;
      for (int m = 0; m < 12; ++m) n[static_cast<size_t>(m)] = FormatDateTime("mmm", EncodeDate(2003, m + 1, 1));
      return n;
    }();
    for (int m = 0; m < 12; ++m) {
      const std::string& name = names[static_cast<size_t>(m)];
      const size_t at = name.empty() ? std::string::npos : text.find(name);
      if (at != std::string::npos) text = text.substr(0, at) + std::to_string(m + 1) + text.substr(at + name.size());
    }
  }
  TDateTime value;
  if (!TryStrToDateTime(text, value)) throw EConvertError("'" + theText + "' is not a valid date");
  return std::trunc(value);
}

// ---------------------------------------------------------------- the editor classes

template <class Base, bool MultiLine>
void TBabInplace<Base, MultiLine>::KeyDown(unsigned short& Key, TShiftState Shift) {
  Base::KeyDown(Key, Shift);
  if (Key) fBabGridView->EditorKeyDown(this, Key, Shift);
}

template <class Base, bool MultiLine>
void TBabInplace<Base, MultiLine>::KeyPress(char32_t& Key) {
  Base::KeyPress(Key);
  if (Key) fBabGridView->EditorKeyPress(Key, MultiLine);
}

template <class Base, bool MultiLine>
void TBabInplace<Base, MultiLine>::DoExit() {
  Base::DoExit();
  fBabGridView->EditorExit(this);
}

template <class Base, bool MultiLine>
void TBabInplace<Base, MultiLine>::Changed() {
  Base::Changed();
  fBabGridView->EditorChanged(this);
}

template class TBabInplace<TCustomEdit>;
template class TBabInplace<TCustomMemo, true>;
template class TBabInplace<TCustomComboBox>;
template class TBabInplace<TCustomCheckBox>;
template class TBabInplace<TDateTimePicker>;

TBabInplaceEditor::TBabInplaceEditor(TBabGridView_Custom* theView) : TBabInplace(theView) {
  SetUpEditor(this, theView);
  SetDefaultContextMenu(false);
}

TBabInplaceMemoEditor::TBabInplaceMemoEditor(TBabGridView_Custom* theView) : TBabInplace(theView) {
  SetUpEditor(this, theView);
  SetBorderStyle(bsNone);
}

TBabInplaceComboEditor::TBabInplaceComboEditor(TBabGridView_Custom* theView) : TBabInplace(theView) {
  SetUpEditor(this, theView);
}

TBabInplaceBoolEditor::TBabInplaceBoolEditor(TBabGridView_Custom* theView) : TBabInplace(theView) {
  SetUpEditor(this, theView);
  SetCaption("");
  SetColor(clWindow);
}

TBabInplaceDateTimeEditor::TBabInplaceDateTimeEditor(TBabGridView_Custom* theView) : TBabInplace(theView) {
  SetUpEditor(this, theView);
}

// ---------------------------------------------------------------- the view's side

void TBabGridView_Custom::CreateEditors() {
  fInplaceEditor = new TBabInplaceEditor(this);
  fInplaceComboEditor = new TBabInplaceComboEditor(this);
  fInplaceMemoEditor = new TBabInplaceMemoEditor(this);
  fInplaceBooleanEditor = new TBabInplaceBoolEditor(this);
  CreateDateTimeEditor();
}

void TBabGridView_Custom::CreateDateTimeEditor() {
  delete fInplaceDateTimeEditor;
  fInplaceDateTimeEditor = new TBabInplaceDateTimeEditor(this);
}

void TBabGridView_Custom::InstallClassEvents(TOnClassEditEvent theStartEditHook, TOnClassEditEvent theEndEditHook) {
  StartEditHook() = std::move(theStartEditHook);
  EndEditHook() = std::move(theEndEditHook);
}

TBabEditorType TBabGridView_Custom::InternalGetEditorType(TBabCell* theCell) {
  TBabSimpleCellStringData* data = StringData(theCell);
  TBabEditorType type = data && data->GetIsBoolean() ? babETBool : babETEdit;
  if (OnChooseEditor) OnChooseEditor(this, data, type);
  return type;
}

bool TBabGridView_Custom::EditorCanModifyDefaultValue(TBabCell*) { return true; }

bool TBabGridView_Custom::EditorCanModify(TBabCell* theCell) {
  return OnEditorCanModify ? OnEditorCanModify(this, theCell) : true;
}

bool TBabGridView_Custom::EditorValidKey(char32_t) { return true; }

void TBabGridView_Custom::InitEditor(TControl*, TBabCell* theCell, std::string& theText) {
  TBabSimpleCellStringData* data = StringData(theCell);
  theText = data ? data->GetString() : std::string();
}

void TBabGridView_Custom::DeInitEditor(TControl* theEditor, TBabCell* theCell, bool theCanceled, std::string theText) {
  if (theCanceled || !theCell) return;
  fCurrentSortCol = nullptr;
  fCurrentSortUpNotDown = false;
  if (OnEditStop) OnEditStop(this, theEditor, StringData(theCell), theText);
  // The handler may have dropped the cell's row: nothing is written then.
  if (theCell != fEditBabSimpleCell) return;
  const bool accepted = AcceptEditedText(theCell, theText);
  if (!accepted || theCell != fEditBabSimpleCell) return;
  SetText(theCell, theText);
}

void TBabGridView_Custom::CheckEditLayout(TBabCell* theCell, TFont* theFont) {
  TLayoutProp* lp = theCell ? theCell->GetLayoutProp() : nullptr;
  if (!lp || !lp->UseFontInfo) {
    theFont->Assign(*GetFont());
    return;
  }
  theFont->SetName(lp->FontName);
  theFont->SetColor(lp->FontColor);
  theFont->SetSize(lp->FontSize);
  theFont->SetStyle(lp->FontStyle);
}

// Where the cell lies by the current layout (not by the last paint), so that
// an editor can follow its cell before the next paint. False when the cell
// is not on screen.
bool TBabGridView_Custom::CellRectFromLayout(TBabCell* theCell, TRect& theRect) {
  TBabGridCell* g = theCell ? theCell->getGridCell() : nullptr;
  if (!g) return false;
  TAxisContentItem* ix = theCell->GetAxisContentItemX();
  TAxisContentItem* iy = theCell->GetAxisContentItemY();
  if (!ix || !iy || !ix->GetIsOnScreen() || !iy->GetIsOnScreen() || ix->GetHide() || iy->GetHide()) return false;
  TRect area = GetDrawRect();
  if (g->getGridCell() && !CellRectFromLayout(g, area)) return false;
  TRect r = Rect(area.Left + ix->GetAcumSize(), area.Top + iy->GetAcumSize(), 0, 0);
  r.Right = std::min(r.Left + ix->GetCalculatedSize(), area.Right);
  r.Bottom = std::min(r.Top + iy->GetCalculatedSize(), area.Bottom);
  if (r.IsEmpty()) return false;
  theRect = r;
  return true;
}

// A group's cells show as one, its master (the last) standing for all: the
// editor covers the group's shown part.
void TBabGridView_Custom::ExtendOverGroup(TBabCell* theMaster, TRect& theRect) {
  TBabGridCell* g = theMaster->getGridCell();
  if (!theMaster->GetIsGroupedCell() || !theMaster->GetIsMasterGroupCell() || !g) return;
  TAxisContentList* rows = g->GetAxisContentListY();
  for (int v = TBabGridCell::Convert_TrueIndexToVisible(rows, theMaster->GetRow()) - 1; v >= 0; --v) {
    const int y = TBabGridCell::Convert_VisibleIndexToTrue(rows, v);
    TBabCell* above = y >= 0 && y < rows->Count() ? g->getCell(theMaster->GetCol(), y) : nullptr;
    TRect r;
    if (!above || !above->GetIsGroupedCell() || above->GetIsMasterGroupCell() || !CellRectFromLayout(above, r))
      return;
    theRect.Top = std::min(theRect.Top, r.Top);
  }
}

bool TBabGridView_Custom::GetEditRect(TBabCell* theCell, TRect& theRect) {
  if (!CellRectFromLayout(theCell, theRect)) return false;
  ExtendOverGroup(theCell, theRect);
  TvxWatch<TBabCell> alive(theCell);
  OnCellRectTampering(fBabGridCellForViewer.get(), theCell, theRect);
  if (alive && CellHasButton(theCell)) theRect.Left = std::min(theRect.Left + 16, theRect.Right);
  return static_cast<bool>(alive);
}

// ---------------------------------------------------------------- starting

// Starting calls out at every step (the permission, the editor's choice,
// the hooks, focus, selection, the editor's first text): a cell dropped on
// the way ends the start, writing nothing.
void TBabGridView_Custom::StartEditing() {
  if (fEditing || IsDestroying()) return;
  TBabCell* cell = fBabGridCellForViewer->GetFocusedCellDownTrack();
  if (!cell || cell->IsGridCell()) return;
  TvxWatch<TBabCell> alive(cell);
  if (!EditorCanModify(cell) || !alive || fEditing) return;
  if (!StringData(cell)) return;
  const TBabEditorType type = InternalGetEditorType(cell);
  if (!alive || fEditing) return;
  fEditBabSimpleCell = cell;
  if (StartEditHook()) StartEditHook()(this, cell);
  if (!alive) {
    if (EndEditHook()) EndEditHook()(this, nullptr);
    return;
  }
  fEditing = true;
  fEditorChoise = type;
  {
    TFlagScope starting(fStartingEdit);
    cell->getGridCell()->SetFocusedCell(cell);
    if (alive) cell->getGridCell()->UpdateMultiSelect(cell, TShiftState());
  }
  if (!alive || fEditBabSimpleCell != cell) {
    // A handler dropped the cell.
    CloseEditWithoutStoring();
    return;
  }
  try {
    StartByType(cell, StringData(cell), type);
  } catch (...) {
    // A text the editor cannot take: the edit does not start, the cell
    // keeps its text, and the caller hears why.
    CloseEditWithoutStoring();
    throw;
  }
}

void TBabGridView_Custom::StartByType(TBabCell* theCell, TBabSimpleCellStringData* theData, TBabEditorType theType) {
  std::string text = theData->GetString();
  // The editor's first text is heard (OnInplaceEditOnChange), and InitEditor
  // may call out too: the edit goes on only while its cell is there (a cell
  // that goes closes the edit).
  TvxWatch<TBabCell> alive(theCell);
  const auto goesOn = [&] { return alive && fEditing && fEditBabSimpleCell == theCell; };
  switch (theType) {
    case babETEdit:
      fCurrentEditor = fInplaceEditor;
      CheckEditLayout(theCell, fInplaceEditor->GetFont());
      InitEditor(fInplaceEditor, theCell, text);
      if (!goesOn()) return;
      fInplaceEditor->SetText(text);
      break;
    case babETMemo:
      fCurrentEditor = fInplaceMemoEditor;
      CheckEditLayout(theCell, fInplaceMemoEditor->GetFont());
      InitEditor(fInplaceMemoEditor, theCell, text);
      if (!goesOn()) return;
      fInplaceMemoEditor->SetText(text);
      break;
    case babETCombo:
      fCurrentEditor = fInplaceComboEditor;
      CheckEditLayout(theCell, fInplaceComboEditor->GetFont());
      InitEditor(fInplaceComboEditor, theCell, text);
      if (!goesOn()) return;
      fInplaceComboEditor->SetText(text);
      break;
    case babETBool:
      fCurrentEditor = fInplaceBooleanEditor;
      InitEditor(fInplaceBooleanEditor, theCell, text);
      if (!goesOn()) return;
      fInplaceBooleanEditor->SetChecked(gridview::UpperText(text) == "TRUE");
      break;
    case babETDateTime: {
      if (fInplaceDateTimeClearStatesBetweenEdits) CreateDateTimeEditor();
      TBabInplaceDateTimeEditor* picker = fInplaceDateTimeEditor;
      fCurrentEditor = picker;
      CheckEditLayout(theCell, picker->GetFont());
      InitEditor(picker, theCell, text);
      if (!goesOn()) return;
      picker->SetDateTime(0);
      // A text that is no date raises here, before anything shows.
      if (text.empty())
        picker->SetDateTime(picker->GetKind() == dtkDate ? Date() : 0);
      else
        picker->SetDateTime(picker->GetKind() == dtkDate ? SafeStrToDate(text) : StrToTime(text));
      // With a box, it says whether the cell has a date: an empty cell or day 0
      // has none (and offers today, should the box be ticked).
      if (picker->GetShowCheckbox()) {
        const bool none = text.empty() || (picker->GetKind() == dtkDate && picker->GetDateTime() == 0);
        if (none && picker->GetKind() == dtkDate) picker->SetDateTime(Date());
        picker->SetChecked(!none);
      }
      fEditStartText = text;
      fEditStartShown = picker->GetText();
      fEditStartChecked = picker->GetChecked();
      break;
    }
  }
  if (!goesOn()) return;
  if (!StartEditor(fCurrentEditor, theCell)) {
    if (goesOn()) CloseEditWithoutStoring();
    return;
  }
  if (!goesOn()) return;
  if (theType == babETBool && fToggleCheckBoxAndEndEdit) {
    fInplaceBooleanEditor->Toggle();
    StopEditing();
  }
}

bool TBabGridView_Custom::StartEditor(TControl* theEditor, TBabCell* theCell) {
  TRect r;
  TvxWatch<TBabCell> alive(theCell);
  if (!GetEditRect(theCell, r)) {
    // Off screen: scroll it into view first (which is heard: OnTopLeftChanged).
    if (!alive) return false;
    MakeSureFocusedIsVisible();
    UpdateLayout();
    if (!alive || !fEditing || !GetEditRect(theCell, r)) return false;
  }
  if (!alive || !fEditing) return false;
  PlaceEditor(theEditor, r);
  if (theEditor == fInplaceEditor) fInplaceEditor->SetSelStart(static_cast<int>(fInplaceEditor->GetText().size()));
  if (theEditor == fInplaceMemoEditor)
    fInplaceMemoEditor->SetSelStart(static_cast<int>(fInplaceMemoEditor->GetText().size()));
  theEditor->SetVisible(true);
  theEditor->BringToFront();
  theEditor->SetFocus();
  Invalidate();
  return true;
}

void TBabGridView_Custom::PlaceEditor(TControl* theEditor, TRect theRect) {
  if (theEditor == fInplaceBooleanEditor) {
    ++theRect.Left;
    ++theRect.Top;
  }
  int h = theRect.Height() + 1;
  if (theEditor == fInplaceBooleanEditor || theEditor == fInplaceDateTimeEditor) h = std::min(h, 21);
  // Notes show every line: the memo grows below its cell (as far as the
  // grid reaches) when the row is shorter than the text.
  if (theEditor == fInplaceMemoEditor)
    h = std::max(h, std::min(fInplaceMemoEditor->GetLinesHeight(), GetDrawRect().Bottom - theRect.Top));
  theEditor->SetBounds(theRect.Left, theRect.Top, std::max(theRect.Width(), 0), std::max(h, 0));
}

// After a layout pass: the editor moves with its cell, and an edit whose
// cell has scrolled out of sight ends.
void TBabGridView_Custom::FollowEdit_Async(TObject*) {
  if (IsDestroying() || !fEditing || !fCurrentEditor) return;
  UpdateLayout();
  TRect r;
  if (!fEditBabSimpleCell || !GetEditRect(fEditBabSimpleCell, r))
    StopEditing();
  else
    PlaceEditor(fCurrentEditor, r);
}

// F2, Enter or a double click on a cell that cannot be edited: a short hint
// at the cell says so, rather than nothing happening.
void TBabGridView_Custom::ShowReadOnly() {
  TBabCell* cell = fBabGridCellForViewer->GetFocusedCellDownTrack();
  if (fEditing || IsDestroying() || !cell || !StringData(cell)) return;
  TvxWatch<TBabCell> alive(cell);
  TRect r;
  if (EditorCanModify(cell) || !alive || !GetEditRect(cell, r)) return;
  if (!fReadOnlyHint) {
    fReadOnlyHint = new THintWindow(this);
    fReadOnlyHintTimer = new TTimer(this);
    fReadOnlyHintTimer->SetInterval(1500);
    fReadOnlyHintTimer->SetOnTimer([this](TObject*) { HideReadOnly(); });
  }
  const TRect size = fReadOnlyHint->CalcHintRect(400, kReadOnlyHint);
  const TPoint at = ClientToScreen(Point(r.Left, r.Bottom + 2));
  fReadOnlyHint->ActivateHint(Rect(at.X, at.Y, at.X + size.Width(), at.Y + size.Height()), kReadOnlyHint);
  fReadOnlyHintTimer->SetEnabled(false);
  fReadOnlyHintTimer->SetEnabled(true);
}

void TBabGridView_Custom::HideReadOnly() {
  if (fReadOnlyHintTimer) fReadOnlyHintTimer->SetEnabled(false);
  if (fReadOnlyHint) fReadOnlyHint->ReleaseHandle();
}

bool TBabGridView_Custom::ReadOnlyShown() const { return fReadOnlyHint && fReadOnlyHint->IsShowing(); }

// ---------------------------------------------------------------- ending

std::string TBabGridView_Custom::EditorResult() {
  std::string text;
  EditorResult(text);
  return text;
}

bool TBabGridView_Custom::EditorResult(std::string& theText) {
  switch (fEditorChoise) {
    case babETEdit: theText = fInplaceEditor->GetText(); return true;
    case babETMemo: theText = fInplaceMemoEditor->GetText(); return true;
    case babETCombo: theText = fInplaceComboEditor->GetText(); return true;
    case babETBool: theText = fInplaceBooleanEditor->GetChecked() ? "TRUE" : "FALSE"; return true;
    case babETDateTime:
      // Untouched, the picker writes back what the cell held (a date it
      // cannot show, for one, stays as it was).
      if (fInplaceDateTimeEditor->GetText() == fEditStartShown &&
          fInplaceDateTimeEditor->GetChecked() == fEditStartChecked) {
        theText = fEditStartText;
        return true;
      }
      return DateTimeText(fInplaceDateTimeEditor, theText);
  }
  theText.clear();
  return true;
}

bool TBabGridView_Custom::EditorValueValid() {
  std::string text;
  return !fEditing || EditorResult(text);
}

void TBabGridView_Custom::HideEditors(bool theTakeFocus) {
  bool hadFocus = false;
  for (TInputControl* e : std::initializer_list<TInputControl*>{fInplaceEditor, fInplaceMemoEditor, fInplaceComboEditor,
                                                                fInplaceBooleanEditor, fInplaceDateTimeEditor})
    if (e && e->ContainsFocus()) hadFocus = true;
  // The focus comes back before the editor hides, so that it goes nowhere else.
  if (theTakeFocus && hadFocus && !IsDestroying()) SetFocus();
  for (TControl* e : std::initializer_list<TControl*>{fInplaceEditor, fInplaceMemoEditor, fInplaceComboEditor,
                                                      fInplaceBooleanEditor, fInplaceDateTimeEditor})
    if (e) e->SetVisible(false);
}

void TBabGridView_Custom::StopEditing() {
  if (fInsideStopEditing) return;
  TFlagScope inside(fInsideStopEditing);
  const bool was = fEditing;
  if (was && fEditBabSimpleCell && fCurrentEditor) {
    if (fEditorChoise == babETDateTime && fInplaceDateTimeEditor->ContainsFocus()) SetFocus();
    // A text that is no date is not written; the cell keeps its own.
    std::string text;
    const bool valid = EditorResult(text);
    DeInitEditor(fCurrentEditor, fEditBabSimpleCell, !valid, text);
  }
  HideEditors(was);
  if (was && EndEditHook()) EndEditHook()(this, fEditBabSimpleCell);
  fEditing = false;
  fEditBabSimpleCell = nullptr;
  fCurrentEditor = nullptr;
  Invalidate();
}

void TBabGridView_Custom::BreakEditing() {
  if (fInsideStopEditing) return;
  TFlagScope inside(fInsideStopEditing);
  const bool was = fEditing;
  if (was && fEditBabSimpleCell) DeInitEditor(fCurrentEditor, fEditBabSimpleCell, true, "ESCAPED");
  fEditing = false;
  HideEditors(was);
  if (was && EndEditHook()) EndEditHook()(this, fEditBabSimpleCell);
  fEditBabSimpleCell = nullptr;
  fCurrentEditor = nullptr;
  Invalidate();
}

// The edited cell is gone (or the start failed): the editor closes and
// nothing is written.
void TBabGridView_Custom::CloseEditWithoutStoring() {
  TFlagScope inside(fInsideStopEditing);
  const bool was = fEditing;
  fEditing = false;
  fEditBabSimpleCell = nullptr;
  HideEditors(was);
  fCurrentEditor = nullptr;
  if (was && EndEditHook()) EndEditHook()(this, nullptr);
  Invalidate();
}

// ---------------------------------------------------------------- keys and focus of the editors

void TBabGridView_Custom::EditorKeyPress(char32_t& theKey, bool theAllowEnter) {
  if (OnInplaceEditKeyPress) OnInplaceEditKeyPress(this, theKey);
  if (theKey >= 32 && theKey <= 255 && !EditorValidKey(theKey)) {
    Beep();
    theKey = 0;
    return;
  }
  switch (theKey) {
    case 27:
      theKey = 0;
      BreakEditing();
      return;
    case 9:
      theKey = 0;
      if (RefuseInvalidValue()) return;
      StopEditing();
      return;
    case 13:
      if (!theAllowEnter) {
        theKey = 0;
        if (RefuseInvalidValue()) return;
        StopEditing();
      }
      return;
    default: break;
  }
  if (theKey == 8 || theKey == 22 || theKey == 24 || (theKey >= 32 && theKey <= 255))
    if (!EditorCanModify(fBabGridCellForViewer->GetFocusedCellDownTrack())) theKey = 0;
}

bool TBabGridView_Custom::EditorKeyDown(TControl* theEditor, unsigned short& theKey, TShiftState theShift) {
  if (theKey == VK_TAB) {
    // Tab ends the edit and starts one in the next editable cell.
    theKey = 0;
    if (RefuseInvalidValue()) return true;
    StopEditing();
    TabMove(theShift.Contains(ssShift), true);
    return true;
  }
  if (theEditor == fInplaceEditor) {
    if (theKey == VK_RETURN) {
      theKey = 0;
      StopEditing();
      return true;
    }
    if (theKey == VK_UP || theKey == VK_DOWN) {
      // Up and Down end the edit and move, as they do in the grid.
      unsigned short key = theKey;
      theKey = 0;
      StopEditing();
      KeyDown(key, theShift);
      return true;
    }
  }
  if (theEditor == fInplaceDateTimeEditor && theKey == VK_DELETE) {
    theKey = 0;
    fInplaceDateTimeEditor->SetDateTime(0);
    StopEditing();
    return true;
  }
  return false;
}

// Enter or Tab on a value the editor cannot take (a date that does not
// read): the editor stays open, with a beep.
bool TBabGridView_Custom::RefuseInvalidValue() {
  if (EditorValueValid()) return false;
  Beep();
  return true;
}

void TBabGridView_Custom::EditorExit(TControl* theEditor) {
  if (IsDestroying() || theEditor->IsDestroying() || !fEditing || theEditor != fCurrentEditor) return;
  const bool always =
      theEditor == fInplaceEditor || theEditor == fInplaceMemoEditor || theEditor == fInplaceBooleanEditor;
  if (always || fStopEditOnFocusChange) StopEditing();
}

void TBabGridView_Custom::EditorChanged(TControl* theEditor) {
  if (IsDestroying() || !fEditing || theEditor != fCurrentEditor) return;
  // A new line in the notes: the memo grows with it.
  TRect r;
  if (theEditor == fInplaceMemoEditor && fEditBabSimpleCell && GetEditRect(fEditBabSimpleCell, r))
    PlaceEditor(theEditor, r);
  if (OnInplaceEditOnChange && fEditing) OnInplaceEditOnChange(this, EditorResult());
}

}  // namespace vx
