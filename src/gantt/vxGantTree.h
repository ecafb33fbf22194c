#pragma once

#include <vxplan/platform/rtl/Export.h>

#include <vxplan/gantt/vxGantItems.h>
#include <vxplan/tree/vxTree.h>

namespace vx {

// The chart's tree: every node gets a Gantt row.
class VX_API TGantTree : public TvxTree_ComBasic {
public:
  TGantTree(TComponent* AOwner, TvxGant_ComBasic* theGant);
  ~TGantTree() override;

  TScrollBar* GetVertScrollExternal() const noexcept { return fVertScrollExternal; }
  void SetVertScrollExternal(TScrollBar* theBar);
  // Moves the current node one visible node up (theDelta < 0) or down.
  void Scroll(int theDelta);
  void ExternalScrollOutOfDate();
  void UpdateExternalScroll(TObject* theData);
  TvxGant_ComBasic* GetGant() const noexcept { return fGant; }

protected:
  // A new node (inserted or loaded) has its row before the application
  // hears of the node, so that its handler can give the row items.
  void SetUpEntity(TvxDataEntity_Tree* theEntity) override;
  void _DeleteItem(TvxDataEntity* e) override;
  void _OnVisibleChanged(TvxDataEntity* e) override;
  void _SelectionChanged(TvxDataList* l, TvxDataEntity* e) override;
  // A node on the page being printed stays loaded until the page is done.
  void _UnLoadItem(TvxDataEntity* e, bool& CanUnload) override;
  void Expand(TTreeNode* Node) override;
  void Collapse(TTreeNode* Node) override;
  void Scrolled() override;
  void Change(TTreeNode* Node) override;
  bool DoMouseWheel(TShiftState Shift, int WheelDelta, TPoint MousePos) override;
  // The chart's zoom keys work here too.
  void KeyDown(unsigned short& Key, TShiftState Shift) override;
  void Resize() override;
  // The tree's events reach the chart's OnTree… and …_Tree events after the
  // tree's own, which stay the application's.
  void DoInsertItem(TvxDataEntity_Tree* e) override;
  void DoDeleteItem(TvxDataEntity_Tree* e) override;
  void DoContentChanged(TvxDataList* l) override;
  void DoSelectionChanged(TvxDataList* l, TvxDataEntity* e) override;
  void DoValueChanged(TvxDataEntity* e) override;
  void DoBeforeCanEditItem(TvxDataEntity* e) override;
  void MouseDown(TMouseButton Button, TShiftState Shift, int X, int Y) override;
  void MouseMove(TShiftState Shift, int X, int Y) override;
  void DragOver(TObject* Source, int X, int Y, TDragState State, bool& Accept) override;
  void DragDrop(TObject* Source, int X, int Y) override;
  void DoStartDrag(TObject*& DragObject) override;
  void DoEndDrag(TObject* Target, int X, int Y) override;

private:
  friend class TvxGant_ComBasic;
  void OnExternalScroll(TObject* Sender);
  void RefreshSelection();
  bool ChartAlive() const;

  TScrollBar* fVertScrollExternal = nullptr;
  TvxGant_ComBasic* fGant;
  TScrollInfo fLastScrollInfo{-1, -1, -1, -1};
  bool fExternalScrollAsked = false;  // an UpdateExternalScroll is on its way
  int fLastCount = 0;
  TTreeNode* fLastSelected = nullptr;
  bool fVertScrolling = false;
};

}  // namespace vx
