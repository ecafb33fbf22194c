// The grid view and the keyboard: navigation through nested grids, Tab,
// typed characters that start an edit, and type-ahead search.
#include <vxplan/grid/vxBabGridView.h>
#include <vxplan/grid/vxBabGridViewInternal.h>
#include <vxplan/paint/vxDoLater.h>

namespace vx {

namespace gridview {

std::string Utf8Of(char32_t c) {
  std::string s;
  if (c < 0x80) {
    s += static_cast<char>(c);
  } else if (c < 0x800) {
    s += static_cast<char>(0xC0 | (c >> 6));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    s += static_cast<char>(0xE0 | (c >> 12));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  } else {
    s += static_cast<char>(0xF0 | (c >> 18));
    s += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
    s += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
    s += static_cast<char>(0x80 | (c & 0x3F));
  }
  return s;
}

std::string UpperText(const std::string& theText) {
  std::string s = theText;
  for (size_t i = 0; i < s.size(); ++i) {
    const auto c = static_cast<unsigned char>(s[i]);
    if (c >= 'a' && c <= 'z') {
      s[i] = static_cast<char>(c - 'a' + 'A');
    } else if (c == 0xC3 && i + 1 < s.size()) {
      // U+00E0 .. U+00FE, except the division sign, have their capital 0x20 lower.
      const auto d = static_cast<unsigned char>(s[i + 1]);
      if (d >= 0xA0 && d <= 0xBE && d != 0xB7) s[i + 1] = static_cast<char>(d - 0x20);
      ++i;
    }
  }
  return s;
}

}  // namespace gridview

namespace {

bool IsPageOrEnd(TBabDirection d) {
  return d == babdirPageUp || d == babdirPageDown || d == babdirHomeRow || d == babdirEndRow;
}

}  // namespace

// ---------------------------------------------------------------- key down

TBabDirection TBabGridView_Custom::DirectionOf(unsigned short& theKey, TShiftState& theShift) {
  const bool ctrl = theShift.Contains(ssCtrl);
  switch (theKey) {
    case VK_RETURN: return babdirInwards;
    case VK_PRIOR: return babdirPageUp;
    case VK_NEXT: return babdirPageDown;
    case VK_HOME:
      theShift.Exclude(ssCtrl);
      return ctrl ? babdirHomeRow : babdirHomeCell;
    case VK_END:
      theShift.Exclude(ssCtrl);
      return ctrl ? babdirEndRow : babdirEndCell;
    case VK_LEFT: return babdirLeft;
    case VK_RIGHT: return babdirRight;
    case VK_UP: return babdirUp;
    case VK_DOWN: return babdirDown;
    default: return babdirNone;
  }
}

void TBabGridView_Custom::KeyDown(unsigned short& Key, TShiftState Shift) {
  TvxOffscreenPaint::KeyDown(Key, Shift);
  if (Key == 0) return;
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  fEnterWentInwards = false;
  HideReadOnly();
  if (Key == VK_F2) {
    StartEditing();
    ShowReadOnly();
    return;
  }
  // On a pick-list cell Alt+Down and F4 open the editor with its list
  // dropped, as they drop a combo box's.
  if ((Key == VK_F4 || (Key == VK_DOWN && Shift.Contains(ssAlt))) && DropPickList()) {
    Key = 0;
    return;
  }
  if (Key == 'C' && Shift.Contains(ssCtrl)) {
    Perform(WM_COPY);
    return;
  }
  const bool tab = Key == VK_TAB;
  const TBabDirection direction = tab ? babdirNone : DirectionOf(Key, Shift);
  if (direction == babdirNone && !tab) {
    if (fHost.KeyDown) fHost.KeyDown(this, Key, Shift);
    return;
  }
  if (!g->GetFocusedCell()) {
    if (TBabCell* c = g->getCell(g->GetLeft(), g->GetTop())) g->SetFocusedCell(c);
    if (tab) return;
  }
  if (tab) {
    // Past the last cell the focus goes on to the next control.
    if (!TabMove(Shift.Contains(ssShift), false)) SelectNextControl(!Shift.Contains(ssShift));
    Key = 0;
    return;
  }
  TBabCell* before = g->GetFocusedCellDownTrack();
  Scroll(direction, Shift);
  // Enter that went into a nested grid does not also start an edit there.
  fEnterWentInwards = direction == babdirInwards && g->GetFocusedCellDownTrack() != before;
}

void TBabGridView_Custom::Scroll(TBabDirection theDirection, TShiftState theShift) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (theDirection == babdirNone || !g->GetFocusedCell()) return;
  TBabCell* to = g->FindNeighbourCell(g->GetFocusedCell(), theDirection, true);
  if (!to) return;
  // Focus and selection are heard by the application, which may drop the cell.
  TvxWatch<TBabCell> target(to);
  // The search may load rows and free the cell it started from: compare
  // with the focus as it is now.
  if (to != g->GetFocusedCellDownTrack()) {
    g->SetFocusedCell(to);
    if (!target) return;
    if (TBabGridCell* owner = to->getGridCell()) owner->UpdateMultiSelect(to, theShift);
    if (!target) return;
  }
  // Page and end keys bring the row into view at once (again when the focus
  // is there already but off screen).
  if (IsPageOrEnd(theDirection) && to->getGridCell() == g) ShowRow(to->GetRow());
}

bool TBabGridView_Custom::DropPickList() {
  TBabCell* f = fBabGridCellForViewer->GetFocusedCellDownTrack();
  if (fEditing || !f || f->IsGridCell()) return false;
  TvxWatch<TBabCell> alive(f);
  if (InternalGetEditorType(f) != babETCombo || !alive) return false;
  StartEditing();
  if (!fEditing || fCurrentEditor != fInplaceComboEditor) {
    ShowReadOnly();
    return true;
  }
  fInplaceComboEditor->SetDroppedDown(true);
  return true;
}

// ---------------------------------------------------------------- Tab

// The cell after (x, y) of theGrid in reading order, hidden columns and rows
// left out: along the row, then from the first cell of the next row; past
// the end of a nested grid on after the nested grid in its parent. Nil at
// the end of the outermost grid.
TBabCell* TBabGridView_Custom::TabStepFrom(TBabGridCell* theGrid, int x, int y, bool theBackwards) {
  for (TBabGridCell* g = theGrid; g;) {
    TAxisContentList* ax = g->GetAxisContentListX();
    TAxisContentList* ay = g->GetAxisContentListY();
    const int fx = g->GetFixedCols(), fy = g->GetFixedRows(), nx = ax->Count(), ny = ay->Count();
    const int step = theBackwards ? -1 : 1;
    bool out = false;
    // Bounded: a row of hidden cells costs one round each.
    for (int guard = 0; guard < 1000000 && !out; ++guard) {
      x += step;
      if (x < fx || x >= nx) {
        y += step;
        x = theBackwards ? nx - 1 : fx;
        if (y < fy || y >= ny) {
          out = true;
          break;
        }
      }
      TAxisContentItem* ix = ax->getAxisContentItem(x);
      TAxisContentItem* iy = ay->getAxisContentItem(y);
      if (!ix || !iy || ix->GetHide()) continue;
      if (iy->GetHide()) {
        x = theBackwards ? fx : nx - 1;
        continue;
      }
      if (TBabCell* c = g->getCell(x, y)) return c->GetGroupMaster();
    }
    if (!out) return nullptr;
    // Out of this grid: on from the nested grid's own place.
    x = g->GetCol();
    y = g->GetRow();
    g = g->getGridCell();
  }
  return nullptr;
}

// The next cell for Tab (the previous with theBackwards), into nested grids
// and out of them; with theEditable only cells an edit may start in count.
// Nil when there is none.
TBabCell* TBabGridView_Custom::NextTabCell(TBabCell* theCell, bool theBackwards, bool theEditable) {
  TBabCell* cell = theCell;
  // A bound on the search, so that a grid without any editable cell ends it.
  for (int step = 0; step < 1000 && cell; ++step) {
    TBabCell* next = TabStepFrom(cell->getGridCell(), cell->GetCol(), cell->GetRow(), theBackwards);
    while (next && next->IsGridCell()) {
      // Into a nested grid, at its first (or last) cell.
      auto* inner = static_cast<TBabGridCell*>(next);
      const int nx = inner->GetAxisContentListX()->Count(), ny = inner->GetAxisContentListY()->Count();
      TBabCell* first = theBackwards ? TabStepFrom(inner, nx, ny - 1, true)
                                     : TabStepFrom(inner, inner->GetFixedCols() - 1, inner->GetFixedRows(), false);
      if (!first || first == next) break;
      next = first;
    }
    cell = next;
    if (!cell || cell->IsGridCell() || cell->GetIsFixed()) continue;
    if (!theEditable) return cell;
    TvxWatch<TBabCell> alive(cell);
    const bool editable = EditorCanModify(cell);
    if (!alive) return nullptr;
    if (editable) return cell;
  }
  return nullptr;
}

bool TBabGridView_Custom::TabMove(bool theBackwards, bool theEdit) {
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  TBabCell* from = g->GetFocusedCellDownTrack();
  if (!from) return false;
  TBabCell* to = NextTabCell(from, theBackwards, theEdit);
  if (!to) return false;
  TvxWatch<TBabCell> target(to);
  g->SetFocusedCell(to);
  if (!target) return true;
  if (TBabGridCell* owner = to->getGridCell()) owner->UpdateMultiSelect(to, TShiftState());
  if (theEdit && target) StartEditing();
  return true;
}

// ---------------------------------------------------------------- typed characters

bool TBabGridView_Custom::IsEditingChar(char32_t theKey) const {
  if (theKey == ' ') return true;
  // Qt's views: any printable character typed without Ctrl or Alt (controls,
  // delete and the surrogate range are not text).
  if (fTypingConvention == tcQt)
    return !GetCharShift().Contains(ssCtrl) && !GetCharShift().Contains(ssAlt) && theKey > 0x20 &&
           theKey != 0x7F && !(theKey >= 0x80 && theKey < 0xA0) && !(theKey >= 0xD800 && theKey < 0xE000) &&
           theKey <= 0x10FFFF;
  if ((theKey >= '0' && theKey <= '9') || (theKey >= 'A' && theKey <= 'Z') || (theKey >= 'a' && theKey <= 'z'))
    return true;
  switch (theKey) {
    case 0xC4: case 0xC5: case 0xD6: case 0xE4: case 0xE5: case 0xF6: return true;
    default: return false;
  }
}

void TBabGridView_Custom::KeyPress(char32_t& Key) {
  TvxOffscreenPaint::KeyPress(Key);
  if (Key == 0) return;
  StopEditing();
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (Key == 13) {
    TBabCell* f = g->GetFocusedCellDownTrack();
    if (f && CellHasButton(f))
      DoButtonAction(g->GetFocusedCell());
    else if (fStartEditOnEnter && !fEnterWentInwards) {
      StartEditing();
      ShowReadOnly();
    }
    fEnterWentInwards = false;
    Key = 0;
    return;
  }
  if (!IsEditingChar(Key)) return;
  StartEditing();
  TypeIntoEditor(Key);
  if (!fEditing && fAllowKeyNavigation) {
    const TDateTime now = Now();
    if (now - fNaviStringEditTime > 1.0 / 86400) fNaviString.clear();
    fNaviString += gridview::Utf8Of(Key);
    fNaviStringEditTime = now;
    TDoLater::DoLater(DoLaterCall<&TBabGridView_Custom::NavigateKey_Async>(this), nullptr);
  }
  Key = 0;
}

void TBabGridView_Custom::TypeIntoEditor(char32_t theKey) {
  if (!fEditing || !fCurrentEditor) return;
  if (fCurrentEditor == fInplaceBooleanEditor) {
    // A check box takes no characters: Space toggles it, as in the box itself.
    if (theKey == ' ') fInplaceBooleanEditor->Toggle();
    return;
  }
  if (fTypingConvention == tcQt) {
    if (fCurrentEditor == fInplaceEditor) fInplaceEditor->SelectAll();
    if (fCurrentEditor == fInplaceMemoEditor) fInplaceMemoEditor->SelectAll();
    if (fCurrentEditor == fInplaceComboEditor) fInplaceComboEditor->SelectAll();
  }
  fCurrentEditor->Perform(WM_CHAR, theKey);
}

// ---------------------------------------------------------------- type-ahead search

void TBabGridView_Custom::NavigateKey_Async(TObject*) {
  if (IsDestroying() || fNaviString.empty()) return;
  TBabGridCellForViewer* g = fBabGridCellForViewer.get();
  if (!g->GetFocusedCell()) {
    const int col = fCurrentSortCol && fCurrentSortCol->getGridCell() == g ? fCurrentSortCol->GetCol() : g->GetLeft();
    if (TBabCell* c = g->getCell(col, g->GetTop())) g->SetFocusedCell(c);
  }
  TBabCell* f = g->GetFocusedCell();
  if (!f) return;
  const int col = f->GetCol(), start = f->GetRow();
  const std::string wanted = gridview::UpperText(fNaviString);
  TAxisContentList* rows = g->GetAxisContentListY();
  const int count = rows->Count();
  // From the focused row to the last, then from the top to the row before.
  // Only loaded rows: reading an unloaded one would load it, and a search of
  // a virtual grid would load every row it passes.
  for (int k = 0; k < count; ++k) {
    const int row = (start + k) % count;
    if (row < g->GetFixedRows() || !rows->IsLoaded(row)) continue;
    TAxisContentItem* item = rows->getAxisContentItem(row);
    if (!item || item->GetHide()) continue;
    TBabCell* cell = g->getCell(col, row);
    TBabSimpleCellStringData* data = gridview::StringData(cell);
    if (!data || gridview::UpperText(data->GetString()).rfind(wanted, 0) != 0) continue;
    TvxWatch<TBabCell> found(cell);
    g->UpdateMultiSelect(cell, TShiftState());
    if (found) g->SetFocusedCell(cell);
    MakeSureFocusedIsVisible();
    Invalidate();
    return;
  }
}

}  // namespace vx
