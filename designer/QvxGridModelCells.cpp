// The item-model binding's cells: what a cell shows from the model's roles,
// whether it may be edited, and how an edit is written back.
#include <QBrush>
#include <QFont>
#include <cmath>
#include <map>
#include <tuple>

#include <vxplan/designer/QvxGridModelBinding.h>
#include <vxplan/designer/QvxGridModelInternal.h>
#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/ui/QtConvert.h>

namespace vx {

namespace {

// Numbers and dates as QVariant writes them (shortest round trip, ISO dates),
// so that the text an edit starts from converts back to the same value.
QString DisplayText(const QVariant& theValue) {
  QString text = theValue.isValid() ? theValue.toString() : QString();
  if (text.size() > QvxGridModelBinding::kMaxCellText) text.truncate(QvxGridModelBinding::kMaxCellText);
  return text;
}

bool ColorOf(const QVariant& theValue, TColor& theColor) {
  QColor c;
  if (theValue.canConvert<QBrush>() && theValue.typeId() == QMetaType::QBrush)
    c = theValue.value<QBrush>().color();
  else if (theValue.typeId() == QMetaType::QColor)
    c = theValue.value<QColor>();
  if (!c.isValid()) return false;
  theColor = FromQColor(c);
  return true;
}

QVariant Read(const QAbstractItemModel* theModel, const QModelIndex& theIndex, int theRole) {
  return theRole < 0 ? QVariant() : theModel->data(theIndex, theRole);
}

}  // namespace

// ---------------------------------------------------------------- looks

TLayoutProp* QvxGridModelBinding::Looks::For(const CellValues& theValues, const TLayoutProp* thePlain,
                                             const TFont* theFont) {
  if (!theValues.hasFore && !theValues.hasBack && theValues.align == 0 && !theValues.bold) return nullptr;
  const Key key{theValues.hasFore ? theValues.fore : -1, theValues.hasBack ? theValues.back : -1, theValues.align,
                theValues.bold, thePlain};
  if (auto it = fProps.find(key); it != fProps.end()) return it->second.get();
  // A model with a look per cell gets the plain look past this many.
  if (fProps.size() >= kMaxLooks) return nullptr;
  auto lp = std::make_unique<TLayoutProp>();
  lp->MinWidth = thePlain->MinWidth;
  lp->MinHeight = thePlain->MinHeight;
  lp->FrameOptions = thePlain->FrameOptions;
  lp->FrameOptionsUse = thePlain->FrameOptionsUse;
  lp->FrameColor = thePlain->FrameColor;
  lp->FrameKind = thePlain->FrameKind;
  lp->WrapTextAndFit = thePlain->WrapTextAndFit;
  lp->EndEllipsis = thePlain->EndEllipsis;
  lp->FrontColor = thePlain->FrontColor;
  lp->FontColor = theValues.hasFore ? theValues.fore : thePlain->FontColor;
  lp->BackColor = theValues.hasBack ? theValues.back : thePlain->BackColor;
  lp->HorzAlignRight = (theValues.align & Qt::AlignRight) != 0;
  lp->HorzAlignCenter = (theValues.align & Qt::AlignHCenter) != 0;
  lp->VertAlignCenter = (theValues.align & Qt::AlignVCenter) != 0;
  if (theValues.bold) {
    lp->UseFontInfo = true;
    lp->FontName = thePlain->UseFontInfo ? thePlain->FontName : theFont->GetName();
    lp->FontSize = thePlain->UseFontInfo ? thePlain->FontSize : theFont->GetSize();
    lp->FontStyle = TFontStyles{fsBold};
  } else if (thePlain->UseFontInfo) {
    lp->UseFontInfo = true;
    lp->FontName = thePlain->FontName;
    lp->FontSize = thePlain->FontSize;
    lp->FontStyle = thePlain->FontStyle;
  }
  return fProps.emplace(key, std::move(lp)).first->second.get();
}

// ---------------------------------------------------------------- the grid's content source

void QvxGridModelBinding::Source::FillCell(TBabSimpleCellStringData* theData) { fBinding->fillCell(theData); }
bool QvxGridModelBinding::Source::CanEditCell(TBabCell* theCell) { return fBinding->canEditCell(theCell); }
bool QvxGridModelBinding::Source::WriteCell(TBabCell* theCell, std::string& theText) {
  return fBinding->writeCell(theCell, theText);
}
void QvxGridModelBinding::Source::RowLoaded(TAxisContentItem* theRow) { fBinding->rowLoaded(theRow->ListIndex()); }

// ---------------------------------------------------------------- reading

QvxGridModelBinding::CellValues QvxGridModelBinding::readCell(const QModelIndex& theIndex) const {
  CellValues v;
  const QAbstractItemModel* m = fModel;
  if (!m || !theIndex.isValid()) return v;
  const QVariant check = Read(m, theIndex, fRoles.checkState);
  if (check.isValid()) v.check = check.toInt() == Qt::Checked ? 1 : 0;
  else v.text = DisplayText(Read(m, theIndex, fRoles.display));
  if (const QVariant a = Read(m, theIndex, fRoles.alignment); a.isValid())
    v.align = a.toInt() & (Qt::AlignRight | Qt::AlignHCenter | Qt::AlignVCenter);
  v.hasFore = ColorOf(Read(m, theIndex, fRoles.foreground), v.fore);
  v.hasBack = ColorOf(Read(m, theIndex, fRoles.background), v.back);
  if (const QVariant f = Read(m, theIndex, fRoles.font); f.typeId() == QMetaType::QFont) v.bold = f.value<QFont>().bold();
  return v;
}

void QvxGridModelBinding::fillCell(TBabSimpleCellStringData* theData) {
  TBabCell* cell = theData ? theData->GetBabCell() : nullptr;
  if (!cell || !bound()) return;
  const QModelIndex index = indexOf(cell);
  TvxWatch<TBabCell> alive(cell);
  const CellValues v = readCell(index);
  // data() is the application's: the cell (or the grid's rows) may be gone.
  if (!alive || !bound()) return;
  theData->SetIsBoolean(v.check >= 0);
  theData->SetString(v.check >= 0 ? (v.check ? "TRUE" : "FALSE") : FromQString(v.text));
  TvxGrid_Column* col = fGrid->CellToColumn(cell);
  TLayoutProp* plain = col && col->GetLayoutProp() ? col->GetLayoutProp() : fGrid->GetDefaultContentLayoutProperty();
  TLayoutProp* look = fLooks->For(v, plain, fGrid->GetFont());
  cell->SetLayoutProp(look ? look : plain);
}

void QvxGridModelBinding::refreshCell(TBabCell* theCell) {
  auto* data = theCell ? dynamic_cast<TBabSimpleCellStringData*>(theCell->GetBabCellData()) : nullptr;
  if (data) fillCell(data);
}

// ---------------------------------------------------------------- editing

bool QvxGridModelBinding::canEditCell(TBabCell* theCell) {
  const QModelIndex index = indexOf(theCell);
  if (!index.isValid()) return false;
  auto* data = dynamic_cast<TBabSimpleCellStringData*>(theCell->GetBabCellData());
  const bool check = data && data->GetIsBoolean();
  const Qt::ItemFlags flags = fModel->flags(index);
  if (!(flags & Qt::ItemIsEnabled)) return false;
  return check ? fRoles.checkState >= 0 && (flags & Qt::ItemIsUserCheckable)
               : fRoles.edit >= 0 && (flags & Qt::ItemIsEditable);
}

// The text converts to the type the model holds: a text that does not (or a
// number that is not finite) is refused.
bool QvxGridModelBinding::valueFromText(const QString& theText, const QVariant& theOld, QVariant& theValue) {
  QVariant v(theText);
  if (theOld.isValid() && theOld.typeId() != QMetaType::QString && !v.convert(theOld.metaType())) return false;
  if ((v.typeId() == QMetaType::Double || v.typeId() == QMetaType::Float) && !std::isfinite(v.toDouble())) return false;
  theValue = v;
  return true;
}

bool QvxGridModelBinding::writeCell(TBabCell* theCell, std::string& theText) {
  const QModelIndex index = indexOf(theCell);
  if (!index.isValid()) return false;
  auto* data = dynamic_cast<TBabSimpleCellStringData*>(theCell->GetBabCellData());
  const bool check = data && data->GetIsBoolean();
  const QPersistentModelIndex kept(index);
  QPointer<QAbstractItemModel> model = fModel;
  bool written = false;
  // From here on the cell is not touched: setData may change everything.
  if (check) {
    written = fRoles.checkState >= 0 &&
              model->setData(index, theText == "TRUE" ? Qt::Checked : Qt::Unchecked, fRoles.checkState);
  } else {
    QVariant value;
    if (fRoles.edit < 0 || !valueFromText(ToQString(theText), model->data(index, fRoles.edit), value)) return false;
    if (!model || !kept.isValid()) return false;
    written = model->setData(kept, value, fRoles.edit);
  }
  if (!written || !model || !kept.isValid()) return false;
  // The cell shows what the model holds now, not what was typed.
  const CellValues v = readCell(kept);
  theText = v.check >= 0 ? (v.check ? "TRUE" : "FALSE") : FromQString(v.text);
  return true;
}

}  // namespace vx
