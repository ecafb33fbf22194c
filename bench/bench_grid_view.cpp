// Grid view figures: a full repaint of a full-HD grid of text, icons and
// check boxes; one row scrolled and repainted, and a jump to a random row
// and a repaint, on a million rows; the same with a nested five by five
// grid in every row.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include <vxplan/grid/vxBabGridView.h>

using namespace vx;

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kCols = 20;
constexpr int kNestedCol = 2;
const char* const kWords[] = {"Harbour", "North Yard", "Airport", "Campus", "Depot", "Riverside",
                              "Old Town", "Mill", "Survey", "Permits", "Foundations", "Handover"};

// Icons in every fourth column.
class BenchView : public TBabGridView {
public:
  using TBabGridView::TBabGridView;
  bool CellHasIcon(TBabCell* c) override { return c->GetCol() % 4 == 1 && !c->GetIsFixed(); }
  int CellIconIndex(TBabCell* c) override { return c->GetRow() % 4; }
};

// A 1920 x 1080 view: a header row and column, 20 columns of 95 pixels,
// theRows rows loaded as they come; text, icons and check boxes; with
// theNested a five by five grid in column 2 of every row.
struct Scene {
  std::unique_ptr<BenchView> view = std::make_unique<BenchView>(nullptr);
  TCustomImageList images{nullptr, 16, 16};
  TBitmap shot;
  TBabGridCellForViewer* g = view->GetBabGridCellForViewer();

  Scene(int theRows, bool theNested) {
    for (TColor c : {clRed, clGreen, clBlue, clOlive}) {
      TBitmap icon(16, 16);
      icon.GetCanvas()->GetBrush()->SetColor(c);
      icon.GetCanvas()->FillRect(Rect(3, 3, 13, 13));
      images.Add(&icon);
    }
    view->SetBounds(0, 0, kWidth, kHeight);
    view->SetImageList(&images);
    view->OnInitContent = [](TBabGridView_Custom*, TBabSimpleCellStringData* d) {
      TBabCell* c = d->GetBabCell();
      const int row = c->GetRow(), col = c->GetCol();
      if (c->getGridCell()->getGridCell()) {
        d->SetString(std::to_string((row * 5 + col) % 9));
      } else if (row == 0 || col == 0) {
        d->SetString(row == 0 ? "Column " + std::to_string(col) : std::to_string(row));
      } else if (col % 5 == 3) {
        d->SetIsBoolean(true);
        d->SetString(row % 3 ? "TRUE" : "FALSE");
      } else {
        d->SetString(kWords[(row * 7 + col) % 12]);
      }
    };
    TBabGridCellForViewer* outer = g;
    view->OnVirtualUnLoad = [outer](TBabGridCell* caller, TAxisContentItem*, bool isRow, bool, bool& can) {
      can = caller == outer && isRow;
    };
    if (theNested) {
      view->SetOnCreateCell([outer](TBabGridCell* caller, TAxisContentItem* x, TAxisContentItem* y) {
        return caller == outer && x->ListIndex() == kNestedCol && y->ListIndex() > 0 ? babCellTypeGrid
                                                                                    : babCellTypeSimple;
      });
      view->OninitSubGridContent = [](TBabGridView_Custom*, TBabSubGridCellData* d) {
        auto* nested = static_cast<TBabGridCell*>(d->GetBabCell());
        for (int k = 0; k < 5; ++k) {
          TAxisContentItem* col = nested->GetAxisContentListX()->AddNew(nullptr);
          col->SetUserSizeActive(true);
          col->SetUserSize(24);
          nested->GetAxisContentListY()->AddNew(nullptr);
        }
      };
    }
    g->SetFixedCols(1);
    g->SetFixedRows(1);
    for (int c = 0; c < kCols; ++c) {
      TAxisContentItem* col = g->GetAxisContentListX()->AddNew(nullptr);
      col->SetUserSizeActive(true);
      col->SetUserSize(theNested && c == kNestedCol ? 5 * 24 : 95);
    }
    g->GetAxisContentListY()->AddNew(nullptr);
    g->GetAxisContentListY()->AddUnloaded(theRows);
    Paint();
  }
  void Paint() { view->PaintTo(&shot); }
};

void Report(benchmark::State& state, Scene& s) {
  state.counters["rows_visible"] = s.g->GetVisibleRowCount();
  state.counters["cols_visible"] = s.g->GetVisibleColCount();
  state.counters["rows_loaded"] = s.g->GetAxisContentListY()->LoadedCount();
}

// A header and 52 rows: the grid fills the area without needing a bar.
void BM_GridRepaint(benchmark::State& state) {
  Scene s(52, false);
  for (auto _ : state) {
    s.view->Invalidate();
    s.Paint();
  }
  Report(state, s);
}
BENCHMARK(BM_GridRepaint)->Name("GridRepaint/1920x1080")->Unit(benchmark::kMillisecond);

// What every repaint of that size costs before any cell: filling the
// off-screen bitmap and copying it to the window.
void BM_GridRepaintEmpty(benchmark::State& state) {
  TBabGridView view(nullptr);
  view.SetBounds(0, 0, kWidth, kHeight);
  TBitmap shot;
  for (auto _ : state) {
    view.Invalidate();
    view.PaintTo(&shot);
  }
}
BENCHMARK(BM_GridRepaintEmpty)->Name("GridRepaint/1920x1080_empty")->Unit(benchmark::kMillisecond);

void ScrollRow(benchmark::State& state, bool theNested) {
  constexpr int kRows = 1'000'000;
  Scene s(kRows, theNested);
  s.g->SetTop(kRows / 2);
  s.Paint();
  for (auto _ : state) {
    int top = s.g->GetTop() + 1;
    if (top > kRows - 100) top = 1;
    s.g->SetTop(top);
    s.Paint();
  }
  Report(state, s);
}

void Jump(benchmark::State& state, bool theNested) {
  constexpr int kRows = 1'000'000;
  Scene s(kRows, theNested);
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> pick(1, kRows - 60);
  for (auto _ : state) {
    s.g->SetTop(pick(rng));
    s.Paint();
  }
  Report(state, s);
}

void BM_GridScrollRow(benchmark::State& state) { ScrollRow(state, false); }
void BM_GridScrollRowNested(benchmark::State& state) { ScrollRow(state, true); }
void BM_GridJump(benchmark::State& state) { Jump(state, false); }
void BM_GridJumpNested(benchmark::State& state) { Jump(state, true); }
BENCHMARK(BM_GridScrollRow)->Name("GridScrollRow/1M")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridJump)->Name("GridJump/1M")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridScrollRowNested)->Name("GridScrollRow/1M_nested")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GridJumpNested)->Name("GridJump/1M_nested")->Unit(benchmark::kMillisecond);

}  // namespace
