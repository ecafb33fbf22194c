// The schedule control's composition and lifecycle: its children, lists and
// controllers, the child layout in both orientations, and its properties.
#include <vxplan/schema/vxSchema.h>

#include <algorithm>

#include <vxplan/platform/ui/Menus.h>

namespace vx {

namespace {

// The corner grip: the schedule sizes its parts when it is let go, before
// the grip's OnResize, which is the application's.
class TXYSizer_Schema : public TXYSizer {
public:
  TXYSizer_Schema(TComponent* AOwner, TvxSchema_ComBasic* theSchema) : TXYSizer(AOwner), fSchema(theSchema) {}

protected:
  void Resized(TPoint theDelta) override {
    if (!fSchema->IsDestroying()) fSchema->PartResize(this, theDelta);
    TXYSizer::Resized(theDelta);
  }

private:
  TvxSchema_ComBasic* fSchema;
};

}  // namespace

TvxSchema_ComBasic::TvxSchema_ComBasic(TComponent* AOwner) : TCustomPanel(AOwner) { InitializeInConstructor(); }

TvxSchema_ComBasic::TvxSchema_ComBasic(TComponent* AOwner, DeferInitialize) : TCustomPanel(AOwner) {}

void TvxSchema_ComBasic::InitializeInConstructor() { Initialize(); }

void TvxSchema_ComBasic::Initialize() {
  // 1. The panel itself.
  SetCaption(" ");
  SetBevelOuter(bvNone);
  SetBounds(GetLeft(), GetTop(), 400, 300);
  fGesture = std::make_unique<TSchemaGesture>(*this);

  // 2. The schema times' controller. The index of the bookings is kept here,
  // around the handlers a descendant may override.
  itsSchemaTimeListController = std::make_unique<TSchemaTimeListController>();
  itsSchemaTimeListController->fSchema = this;
  fClassOfDataEntity_SchemaTime = ClassOfDataEntity_SchemaTime();
  TvxListController& t = *itsSchemaTimeListController;
  auto booking = [](TvxDataEntity* e) { return dynamic_cast<TvxDataEntity_SchemaTime*>(e); };
  t.fOnContentChanged = [this](TvxDataList* l) { _OnContentChanged(l); };
  t.fOnSelectionChanged = [this](TvxDataList* l, TvxDataEntity* e) { _OnSelectionChanged(l, e); };
  t.fDeleteItem = [this, booking](TvxDataEntity* e) {
    if (TvxDataEntity_SchemaTime* item = booking(e)) fIndexHooks.Indexed(item, false);
    ForgetInteractionItem(e);
    _OnDeleteItem(e);
  };
  t.fInsertItem = [this, booking](TvxDataEntity* e) {
    if (TvxDataEntity_SchemaTime* item = booking(e)) fIndexHooks.Indexed(item, true);
    _OnInsertItem(e);
  };
  t.fOnInfoPush = [this](TvxDataEntity* e) { _OnInfoPush(e); };
  t.fBeforeCanEditItem = [this](TvxDataEntity* e) { _OnBeforeCanEditItem(e); };
  t.fOnLoadItem = [this, booking](TvxDataEntity* e) {
    if (TvxDataEntity_SchemaTime* item = booking(e)) fIndexHooks.Indexed(item, true);
    UpdateSubColumns();
  };
  // A booking moved to another layer (of this control or another) leaves
  // the index of the one and enters that of the other.
  t.fOnLeaveOwnerBeforeChange = [this, booking](TvxDataEntity* e) {
    if (TvxDataEntity_SchemaTime* item = booking(e)) fIndexHooks.Indexed(item, false);
    UpdateSubColumns();
  };
  t.fOnEnterOwnerAfterChange = [this, booking](TvxDataEntity* e) {
    if (TvxDataEntity_SchemaTime* item = booking(e)) fIndexHooks.Indexed(item, true);
    UpdateSubColumns();
  };

  // 3. The pattern, the layers, the text fonts.
  fPainter = std::make_unique<TSchemaPainter>(*this);
  itsvxLayers = Create2LevList();
  fTextFont1 = std::make_unique<TFont>();
  fTextFont2 = std::make_unique<TFont>();
  fTextFont3 = std::make_unique<TFont>();

  // 4. The columns and their controller.
  itsColumnsListController = std::make_unique<TvxListController>();
  itsDataListColumns = CreateColumnsCollection();
  itsDataListColumns->AfterCreate(itsColumnsListController.get(), ClassOfDataEntity_SchemaColumn());
  itsDataListColumns->itsSchema = this;
  itsDataListColumns->itsVisibleDefaultWidth = 50;
  itsDataListColumns->itsVisibleDefaultHeight = 18;
  TvxListController& c = *itsColumnsListController;
  TDataListColumns* columns = itsDataListColumns;
  c.fOnContentChanged = [columns](TvxDataList* l) { columns->_OnColumnsContentChanged(l); };
  c.fOnSelectionChanged = [columns](TvxDataList* l, TvxDataEntity* e) { columns->_OnColumnsSelectionChanged(l, e); };
  c.fDeleteItem = [columns](TvxDataEntity* e) { columns->_OnColumnsDeleteItem(e); };
  c.fInsertItem = [columns](TvxDataEntity* e) { columns->_OnColumnsInsertItem(e); };
  c.fOnInfoPush = [columns](TvxDataEntity* e) { columns->_OnColumnsInfoPush(e); };
  c.fOnHandlePerformedMove = [columns](TvxDataEntity* e, int from, int to) {
    columns->_OnHandlePerformedMove(e, from, to);
  };
  c.fBeforeCanEditItem = [this](TvxDataEntity* e) {
    e->SetCanEdit(true);
    if (OnBeforeCanEditItem_Column) OnBeforeCanEditItem_Column(this, e);
  };

  // 5. Snapping and the mouse settings.
  itsStartSnap = 5 * OneMinute;
  itsLengthSnap = OneMinute;
  itsStartSnapONOFF = itsLengthSnapONOFF = true;
  itsShowBigONOFF = true;
  itsResizeAllCol = true;

  // 6. The time axis.
  itsScaler = CreateDateScaler(this);
  itsScaler->SetParent(this);
  itsScaler->SetVisible(true);
  itsScaler->SetName("Scaler");
  // Labels written along the axis: across it they cannot fit 50 pixels.
  itsScaler->SetVerticalText(true);
  itsBackColor = 32768;
  itsPyjamasColor = 32896;

  // 7. The drawing area.
  itsTA = new TvxOffscreenPaint_Schema(this, this);
  itsTA->SetParent(this);
  itsTA->SetVisible(true);
  itsTA->SetName("SchemaArea");

  // 8. The column header.
  itsHeader = new THeaderControl_MouseControl(this);
  itsHeader->itsDataListColumns = itsDataListColumns;
  itsHeader->SetParent(this);
  itsHeader->SetVisible(true);
  itsHeader->SetName("Header");
  itsHeader->SetAlign(alNone);
  itsDataListColumns->itsHeaderControl = itsHeader;

  // 9. The title grid of the flipped orientation.
  itsFlippedHeader = new TDrawGrid_Schema(this);
  itsFlippedHeader->itsDataListColumns = itsDataListColumns;
  itsFlippedHeader->SetParent(this);
  itsFlippedHeader->SetVisible(false);
  itsFlippedHeader->SetName("FlippedHeader");
  itsFlippedHeader->SetAlign(alNone);
  itsFlippedHeader->SetFixedRows(0);
  itsFlippedHeader->SetFixedCols(1);
  itsFlippedHeader->SetColCount(2);
  itsFlippedHeader->SetRowCount(1);
  itsFlippedHeader->SetOptions(itsFlippedHeader->GetOptions() + TGridOptions{goRowSizing});
  itsFlippedHeader->SetDefaultRowHeight(18);
  itsFlippedHeader->SetColor(clBtnFace);
  itsFlippedHeader->SetBounds(-11, -11, 10, 10);
  itsDataListColumns->itsFlippedHeader = itsFlippedHeader;
  WireChildren();

  // 10. The scaler's window: now and the next 31 days.
  const TDateTime now = Now();
  itsScaler->BeginUpdate();
  itsScaler->SetStart(now);
  itsScaler->SetStop(now + 31);
  itsScaler->EndUpdate();

  // 11. The sizer at the inner corner.
  itsXYSizer = new TXYSizer_Schema(this, this);
  itsXYSizer->SetParent(this);
  itsXYSizer->SetVisible(true);
  itsXYSizer->SetName("itsXYSizer");
  itsXYSizer->BringToFront();
  itsXYSizer->SetBounds(itsXYSizer->GetLeft(), itsXYSizer->GetTop(), 5, 5);

  // 12. The drawing area's keys.
  itsTA->SetTabStop(true);
  for (unsigned key = 33; key <= 40; ++key) itsTA->SetSpecialKey(key);
  itsTA->SetSpecialKey(93);

  // 13. The inner corners.
  itsQuadPoint = Point(70, itsHeader->GetHeight());
  itsFlippedQuadPoint = Point(70, 50);

  // 14. The column scrollers: a scroll bar along the columns' side of the
  // area in each orientation (only the current one shows).
  fScroller->Create();

  // 15. Defaults.
  itsDrawShortLines = false;
  SetScalerWidth(50);
  itsCollisionDetectBetweenDataList = false;
  itsCollisionDetect = true;
  itsDrawLayerArray = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10};

  // 16. The first layout.
  UpdatePartSize();

  // 17. The hint and the preview: their timers, and outside the form
  // designer their windows.
  // 18. The scroller's visibility.
  fPreview->Create(!IsDesigning());
  SetScrollVisibility(svWhenNeeded);
  UpdateColumnScrollerLater();

  // 19. Printing fonts, auto-scroll, the column stepping timer.
  itsTA->SetOwnerPrintResizeFont([this](TvxOffscreenPaint* s, int& size, bool& resize) { _OnPrintResizeFont(s, size, resize); });
  fTimeItemAutoScroll = true;
}

// The children are heard through their virtual operations and private
// listeners: every public event of theirs is left to the application.
void TvxSchema_ComBasic::WireChildren() {
  itsHeader->itsSchema = this;
  itsFlippedHeader->itsSchema = this;
  TDataListColumns* columns = itsDataListColumns;
  itsFlippedHeader->itsOnCellExtentChange = [columns](TObject* s) { columns->FlippedHeaderResize(s); };
  fScalerChangeDelivered = std::make_unique<TSingleEventListener>(
      itsScaler->GetChangeDeliveredEvent(), [this](TSingleEventListener*) { ScaleChanged(itsScaler); }, false);
  itsTA->fWired = true;
}

TvxSchema_ComBasic::~TvxSchema_ComBasic() {
  Destroying();
  if (fPopupSchema) fPopupSchema->RemoveFreeNotification(this);
  // Nothing deferred may reach the control any more.
  TDoLater::NeverMind(DoLaterCall<&TvxSchema_ComBasic::UpdateColumnScroller>(this));
  fParts->NeverMind();
  // No gesture outlives the control: its timers stop and its bookings go.
  fPreview->Stop();
  if (itsScaler) itsScaler->StopStep();
  fScalerChangeDelivered.reset();
  if (fGesture) fGesture->Engine().Reset();
  if (itsTA && itsTA->Dragging()) itsTA->EndDrag(false);
  fScroller->Destroy();
  fSubColumns->Cancel();
  // The lists go while every child is whole: their notifications reach the
  // header and the title grid. The last layer first.
  if (itsvxLayers) {
    while (itsvxLayers->Count() > 0) {
      const int last = itsvxLayers->Count() - 1;
      TvxDataList* layer = itsvxLayers->GetDataList(last);
      itsvxLayers->Delete(last);
      if (layer) layer->FreeWheneverPossible();
    }
    itsvxLayers->FreeWheneverPossible();
    itsvxLayers = nullptr;
  }
  if (itsDataListColumns) itsDataListColumns->FreeWheneverPossible();
  itsDataListColumns = nullptr;
  fIndex.Clear();
  // The children stop calling into the lists that went.
  if (itsHeader) {
    itsHeader->itsDataListColumns = nullptr;
    itsHeader->itsSchema = nullptr;
  }
  if (itsFlippedHeader) {
    itsFlippedHeader->itsDataListColumns = nullptr;
    itsFlippedHeader->itsSchema = nullptr;
    itsFlippedHeader->itsOnCellExtentChange = nullptr;
  }
  fPainter.reset();
  itsSchemaTimeListController.reset();
  itsColumnsListController.reset();
  fTextFont1.reset();
  fTextFont2.reset();
  fTextFont3.reset();
  DestroyComponents();
}

// --- factories ------------------------------------------------------------------------

TvxDataList* TvxSchema_ComBasic::CreateDataList() { return new TvxDataList(); }

TvxDateScaler* TvxSchema_ComBasic::CreateDateScaler(TComponent* theOwner) { return new TvxDateScaler(theOwner); }

TDataListColumns* TvxSchema_ComBasic::CreateColumnsCollection() { return new TDataListColumns(); }

TvxDataList2lev* TvxSchema_ComBasic::Create2LevList() { return new TvxDataList2lev(); }

TvxDataEntityClass TvxSchema_ComBasic::ClassOfDataEntity_SchemaColumn() {
  return TvxDataEntityClass::Of<TvxDataEntity_SchemaColumn>();
}

TvxDataEntityClass TvxSchema_ComBasic::ClassOfDataEntity_SchemaTime() {
  return TvxDataEntityClass::Of<TvxDataEntity_SchemaTime>();
}

// --- child layout ---------------------------------------------------------------------

void TvxSchema_ComBasic::BeginUpdate() {
  itsTA->BeginUpdate();
  itsScaler->BeginUpdate();
  itsHeader->GetSections()->BeginUpdate();
}

void TvxSchema_ComBasic::EndUpdate() {
  itsTA->EndUpdate();
  itsScaler->EndUpdate();
  itsHeader->GetSections()->EndUpdate();
}

void TvxSchema_ComBasic::Repaint() {
  TCustomPanel::Repaint();
  if (itsScaler) itsScaler->Repaint();
  if (itsTA) itsTA->Repaint();
}

void TvxSchema_ComBasic::UpdatePartSize() {
  if (!itsTA || !itsHeader || !itsFlippedHeader || !itsXYSizer || IsDestroying()) return;
  BeginUpdate();
  try {
    fParts->Place();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TvxSchema_ComBasic::PartResize(TXYSizer*, TPoint Delta) { fParts->MoveCorner(Delta); }

void TvxSchema_ComBasic::HeaderChanged(TObject*) { UpdatePartSize(); }

void TvxSchema_ComBasic::Resize() {
  TCustomPanel::Resize();
  UpdatePartSize();
}

void TvxSchema_ComBasic::SetQuadPoint(TPoint thePoint) {
  itsQuadPoint = thePoint;
  UpdatePartSize();
}

void TvxSchema_ComBasic::SetFlippedQuadPoint(TPoint thePoint) {
  itsFlippedQuadPoint = thePoint;
  UpdatePartSize();
}

int TvxSchema_ComBasic::GetScalerWidth() const { return fParts->ScalerWidth(); }

void TvxSchema_ComBasic::SetScalerWidth(int theWidth) { fParts->AskScalerWidth(theWidth); }

int TvxSchema_ComBasic::GetScalerHeight() const { return fParts->ScalerHeight(); }

void TvxSchema_ComBasic::SetScalerHeight(int theHeight) { fParts->AskScalerHeight(theHeight); }

// --- properties -----------------------------------------------------------------------

void TvxSchema_ComBasic::SetFlipView(bool theValue) {
  if (theValue == itsFlipView) return;
  // Rectangles and positions of the other orientation mean nothing any more.
  CancelGesture();
  itsFlipView = theValue;
  fGesture->Orient(theValue);
  UpdatePartSize();
  UpdateColumnScrollerLater();
  InvalidateArea();
}

void TvxSchema_ComBasic::SetPopupSchema(TPopupMenu* theMenu) {
  if (theMenu == fPopupSchema) return;
  if (fPopupSchema) fPopupSchema->RemoveFreeNotification(this);
  fPopupSchema = theMenu;
  if (fPopupSchema) fPopupSchema->FreeNotification(this);
}

void TvxSchema_ComBasic::Notification(TComponent* AComponent, TOperation Operation) {
  TCustomPanel::Notification(AComponent, Operation);
  if (Operation == opRemove && AComponent == fPopupSchema) fPopupSchema = nullptr;
}

void TvxSchema_ComBasic::LookChanged(bool) {
  InvalidateArea();
}

void TvxSchema_ComBasic::CollisionSettingChanged() {
  fSubColumns->MarkAllColumnsDirty();
  if (itsCollisionDetect)
    UpdateSubColumns();
  else
    fSubColumns->Cancel();  // nothing to lay out any more: what waits or runs goes
}

void TvxSchema_ComBasic::ColumnSizesChanged(bool theSizes) {
  if (theSizes && itsDataListColumns->Count() > 0) itsDataListColumns->ApplyTopLeft(itsDataListColumns->GetTopLeftCol());
  UpdateColumnScrollerLater();
  if (theSizes) InvalidateArea();
}

void TvxSchema_ComBasic::SetScalerStart(TDateTime theValue) {
  itsScaler->SetStart(theValue);
  fSubColumns->WindowMoved();
  UpdateSubColumns();
  InvalidateArea();
}

void TvxSchema_ComBasic::SetScalerStop(TDateTime theValue) {
  itsScaler->SetStop(theValue);
  fSubColumns->WindowMoved();
  UpdateSubColumns();
  InvalidateArea();
}

void TvxSchema_ComBasic::SetActiveDataEntity(TvxDataEntity_SchemaTime* theItem) {
  itsActiveDataEntity = theItem;
  if (itsTA && !IsDestroying()) itsTA->Repaint();
}

TvxOffscreenPaint* TvxSchema_ComBasic::SettingsArea() const { return itsTA; }

void TvxSchema_ComBasic::SetDrawLayerArray(const TDrawLayerArray& theArray) {
  itsDrawLayerArray = theArray;
  InvalidateArea();
}

// --- the drawing area's and the children's handlers -------------------------------------

TvxOffscreenPaint_Schema::TvxOffscreenPaint_Schema(TComponent* AOwner, TvxSchema_ComBasic* theSchema)
    : TvxOffscreenPaint(AOwner), fSchema(theSchema) {}

TvxAccessibleContent* TvxOffscreenPaint_Schema::AccessibleContent() {
  if (!fSchema || IsDestroying()) return nullptr;
  if (!fAccessible) fAccessible = std::make_unique<TSchemaAccessible>(*fSchema);
  return fAccessible.get();
}

bool TvxOffscreenPaint_Schema::PaintsEveryPixel() const { return fSchema && !fSchema->IsDestroying(); }

bool TvxOffscreenPaint_Schema::Live() const { return fWired && fSchema && !fSchema->IsDestroying(); }

void TvxOffscreenPaint_Schema::OffscreenPaint() {
  if (Live()) fSchema->Painter().Paint();
  TvxOffscreenPaint::OffscreenPaint();
}

void TvxOffscreenPaint_Schema::Resize() {
  if (Live()) fSchema->ScaleChanged(this);
  TvxOffscreenPaint::Resize();
}

void TvxOffscreenPaint_Schema::MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Live()) fSchema->SchemaMouseDown(this, Button, Shift, X, Y);
  TvxOffscreenPaint::MouseDown(Button, Shift, X, Y);
}

void TvxOffscreenPaint_Schema::MouseMove(TShiftState Shift, int X, int Y) {
  if (Live()) fSchema->SchemaMouseMove(this, Shift, X, Y);
  TvxOffscreenPaint::MouseMove(Shift, X, Y);
}

void TvxOffscreenPaint_Schema::MouseUp(TMouseButton Button, TShiftState Shift, int X, int Y) {
  if (Live()) fSchema->SchemaMouseUp(this, Button, Shift, X, Y);
  TvxOffscreenPaint::MouseUp(Button, Shift, X, Y);
}

void TvxOffscreenPaint_Schema::MouseLeave() {
  if (Live()) fSchema->SchemaMouseLeave();
  TvxOffscreenPaint::MouseLeave();
}

// The schedule's answer first; the area's OnDragOver, when set, may change it.
void TvxOffscreenPaint_Schema::DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) {
  ScrollNearEdge(X, Y);
  Accept = false;
  if (Live()) fSchema->SchemaDragOver(this, Source, X, Y, State, Accept);
  if (OnDragOver) OnDragOver(this, Source, X, Y, State, Accept);
}

void TvxOffscreenPaint_Schema::DragDrop(TObject* Source, int X, int Y) {
  if (Live()) fSchema->SchemaDragDrop(this, Source, X, Y);
  TvxOffscreenPaint::DragDrop(Source, X, Y);
}

void TvxOffscreenPaint_Schema::DoStartDrag(TObject*& DragObject) {
  if (Live()) fSchema->SchemaStartDrag(this, DragObject);
  TvxOffscreenPaint::DoStartDrag(DragObject);
}

void TvxOffscreenPaint_Schema::DoEndDrag(TObject* Target, int X, int Y) {
  if (Live()) fSchema->SchemaEndDrag(this, Target, X, Y);
  TvxOffscreenPaint::DoEndDrag(Target, X, Y);
}

void TvxOffscreenPaint_Schema::KeyDown(unsigned short& Key, TShiftState Shift) {
  TvxOffscreenPaint::KeyDown(Key, Shift);
  if (fSchema && !fSchema->IsDestroying()) fSchema->SchemaKeyDown(this, Key, Shift);
}

void TvxSchema_ComBasic::ScaleChanged(TObject* Sender) {
  if (IsDestroying()) return;
  fSubColumns->WindowMoved();
  UpdateSubColumns();
  InvalidateArea();
  if (OnScalerChange && Sender == itsScaler) OnScalerChange(itsScaler);
}

// The drawing area's drag events go to the control's own, with the same arguments.
void TvxSchema_ComBasic::SchemaStartDrag(TObject* Sender, TObject*& DragObject) {
  if (OnStartDrag) OnStartDrag(Sender, DragObject);
}

void TvxSchema_ComBasic::SchemaDragOver(TObject* Sender, TObject* Source, int X, int Y, TDragState State,
                                        bool& Accept) {
  Accept = false;
  if (OnDragOver) OnDragOver(Sender, Source, X, Y, State, Accept);
}

void TvxSchema_ComBasic::SchemaDragDrop(TObject* Sender, TObject* Source, int X, int Y) {
  if (OnDragDrop) OnDragDrop(Sender, Source, X, Y);
}

void TvxSchema_ComBasic::SchemaEndDrag(TObject* Sender, TObject* Target, int X, int Y) {
  if (OnEndDrag) OnEndDrag(Sender, Target, X, Y);
}

void TvxSchema_ComBasic::_OnPrintResizeFont(TvxOffscreenPaint* Sender, int& FontSize, bool& DefaultResize) {
  if (OnPrintResizeFont) OnPrintResizeFont(Sender, FontSize, DefaultResize);
}

void TvxSchema_ComBasic::InvalidateArea() {
  if (itsTA && !IsDestroying()) itsTA->Invalidate();
}

TPoint TvxSchema_ComBasic::PreferredSize() const { return Point(GetScalerWidth() + 480, GetScalerHeight() + 320); }

TPoint TvxSchema_ComBasic::MinimumSize() const { return Point(GetScalerWidth() + 60, GetScalerHeight() + 60); }

}  // namespace vx
