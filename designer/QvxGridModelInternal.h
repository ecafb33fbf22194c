#pragma once

// The item-model binding's parts, shared by its two source files.
#include <QString>
#include <map>
#include <memory>
#include <string>
#include <tuple>

#include <vxplan/designer/QvxGridModelBinding.h>
#include <vxplan/grid/vxGrid.h>

namespace vx {

// What a cell shows, read from the model before anything is applied.
struct VX_HIDDEN QvxGridModelBinding::CellValues {
  QString text;
  int check = -1;  // -1 no check box, else 0 or 1
  int align = 0;
  bool hasFore = false;
  bool hasBack = false;
  TColor fore = 0;
  TColor back = 0;
  bool bold = false;
};

// The grid asks through this; every call goes to the binding.
class VX_HIDDEN QvxGridModelBinding::Source : public TvxGridContentSource {
public:
  explicit Source(QvxGridModelBinding* theBinding) : fBinding(theBinding) {}
  void FillCell(TBabSimpleCellStringData* theData) override;
  bool CanEditCell(TBabCell* theCell) override;
  bool WriteCell(TBabCell* theCell, std::string& theText) override;
  void RowLoaded(TAxisContentItem* theRow) override;

private:
  QvxGridModelBinding* fBinding;
};

// The layouts of cells with colours, alignment or bold from the model: one
// per distinct look, kept while the binding lives (cells point at them).
class VX_HIDDEN QvxGridModelBinding::Looks {
public:
  static constexpr size_t kMaxLooks = 256;
  // Nil for the plain look.
  TLayoutProp* For(const CellValues& theValues, const TLayoutProp* thePlain, const TFont* theFont);
  void Clear() { fProps.clear(); }

private:
  using Key = std::tuple<TColor, TColor, int, bool, const TLayoutProp*>;
  std::map<Key, std::unique_ptr<TLayoutProp>> fProps;
};

}  // namespace vx
