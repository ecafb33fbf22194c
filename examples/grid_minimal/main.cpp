// A column grid: five columns of different kinds (text, pick list, date,
// check box, number) over a dozen rows. Click a header to sort by it;
// double-click a cell or press F2 to edit it.
//
//   grid_minimal                  opens a window
//   grid_minimal --render FILE    renders the grid to FILE (PNG) and exits
#include <QApplication>
#include <QImage>
#include <QPixmap>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include <vxplan/grid/vxGrid.h>
#include <vxplan/platform/rtl/DateUtils.h>
#include <vxplan/platform/ui/Forms.h>

using namespace vx;

namespace {

struct ColumnDef {
  const char* header;
  TColumnKind kind;
  int width;
  bool numeric;
};

const ColumnDef kColumns[] = {
    {"Task", tckSimpleEdit, 180, false},
    {"Owner", tckCombo, 90, false},
    {"Due", tckDate, 90, false},
    {"Done", tckBool, 50, false},
    {"Hours", tckSimpleEdit, 60, true},
};
const char* const kTasks[] = {"Survey", "Permits",  "Excavation", "Foundations", "Walls",  "Roof",
                              "Windows", "Wiring", "Plumbing",   "Interiors",   "Paint", "Handover"};
const std::vector<std::string> kOwners = {"Ada", "Björn", "Chen", "Dana"};

}  // namespace

int main(int argc, char** argv) {
  const char* renderTo = nullptr;
  for (int k = 1; k + 1 < argc; ++k)
    if (std::strcmp(argv[k], "--render") == 0) renderTo = argv[k + 1];
  if (renderTo && !std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);

  TvxGrid grid(nullptr);
  grid.SetBounds(0, 0, 520, 320);

  // Columns come from definitions; the first one builds the grid's columns.
  for (const ColumnDef& def : kColumns) {
    TvxGrid_Column* column = grid.AddColumn();
    column->SetHeaderText(def.header);
    column->SetKind(def.kind);
    column->SetWidth(def.width);
    column->SetSortEnable(true);
    column->SetNumericSort(def.numeric);
  }
  TvxCellLayout* numbers = grid.GetCellLayouts()->Add();
  numbers->SetName("Numbers");
  numbers->SetHorzAlignRight(true);
  grid.GetColumns()->GetColumn(4)->SetLayoutName("Numbers");
  grid.EnsureFixed();

  // One row per task; the first data column follows the fixed info column.
  const int first = grid.GetBabGridCellForViewer()->GetFixedCols();
  const TDateTime due = EncodeDate(2025, 3, 7);
  int row = 0;
  for (const char* task : kTasks) {
    const int y = grid.AddRow(nullptr)->ListIndex();
    grid.SetText(grid.GetCell(first + 0, y), task);
    grid.SetText(grid.GetCell(first + 1, y), kOwners[row % kOwners.size()]);
    grid.SetText(grid.GetCell(first + 2, y), FormatDateTime(FormatSettings().ShortDateFormat, due + 7 * row));
    grid.SetText(grid.GetCell(first + 3, y), row < 4 ? "TRUE" : "FALSE");
    grid.SetText(grid.GetCell(first + 4, y), std::to_string(8 + (row * 13) % 40));
    ++row;
  }

  // The pick list's choices, offered when an owner cell is edited.
  grid.OnBeforeEditWithCombo = [](TvxGrid* theGrid, TvxGrid_Column*, TBabCell*) {
    theGrid->InitEditCombo(kOwners, -1);
  };
  // Every edit ends here with the new text, which the application may change.
  grid.OnEditStop = [&grid](TBabGridView_Custom*, TControl*, TBabSimpleCellStringData*, std::string& theText) {
    grid.setWindowTitle(QString::fromStdString("Edited: " + theText));
  };

  grid.setWindowTitle(QStringLiteral("vxplan: a column grid"));
  grid.show();
  if (!renderTo) return app.exec();

  Application()->ProcessMessages();
  const QImage image = grid.grab().toImage();
  if (!image.save(QString::fromUtf8(renderTo))) {
    std::fprintf(stderr, "could not write %s\n", renderTo);
    return 1;
  }
  std::printf("wrote %s\n", renderTo);
  return 0;
}
