// Random column and booking operations, resizes, top-left changes, window
// moves and orientation switches. After each step every booking's sub-column
// and rectangle, every hit test and the painted picture agree with a plain
// reference that follows the definitions step by step: every booking of
// every layer laid out, every column walked, every booking visited.
#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <map>
#include <random>

#include "../gantt/ReferenceLayout.h"
#include "SchemaSupport.h"

using namespace vx;
using vxtest::TestSchema;

namespace {

constexpr double kH = TestSchema::kHour;

class Reference {
public:
  explicit Reference(TestSchema& s) : fS(s) {}

  // Sub-columns by the definition: every visible booking of every layer, in
  // layer and list order, laid out pair by pair; bookings that are not
  // visible keep what they had.
  void LayOut() {
    TvxDataList2lev* layers = fS.GetLayers();
    TDistinctTimeHolderList holders;
    std::vector<TvxDataEntity_SchemaTime*> visible;
    for (int k = 0; k < layers->Count(); ++k) {
      TvxDataList* layer = layers->GetDataList(k);
      for (int i = 0; i < layer->Count(); ++i) {
        auto* e = static_cast<TvxDataEntity_SchemaTime*>(layer->GetItems(i));
        if (!fPlace.count(e)) fPlace[e] = {false, 0};
        if (!Visible(e)) continue;
        const std::string key =
            (fS.GetCollisionDetectBetweenDataList() ? std::string() : std::to_string(k)) + "*" + std::to_string(e->GetCol());
        holders.Add(Second(e->GetStartDateTime()), Second(e->GetStopDateTime()), key, e);
        visible.push_back(e);
      }
    }
    vxtest::ReferenceLayout(&holders);
    fCounts.assign(static_cast<size_t>(fS.GetColumns()->Count()), 1);
    for (TvxDataEntity_SchemaTime* e : visible) {
      const int p = holders.FindFromReference(e)->GetDistinctPosition();
      fPlace[e] = {p != 0, p - 1};
      const int c = e->GetCol();
      if (c >= 0 && c < static_cast<int>(fCounts.size())) fCounts[static_cast<size_t>(c)] = std::max(fCounts[static_cast<size_t>(c)], p);
    }
  }

  void Forget(TvxDataEntity_SchemaTime* e) { fPlace.erase(e); }
  void ColumnSwitched(TvxDataEntity_SchemaTime* e) {
    if (fPlace.count(e)) fPlace[e].first = false;
  }

  bool Visible(TvxDataEntity_SchemaTime* e) {
    double start = 0, stop = 0;
    if (TvxDataEntity_SchemaColumn* c = fS.GetColumns()->GetColumn(e->GetCol())) {
      start = e->GetStartDateTime() - c->GetOffsetDate();
      stop = e->GetStopDateTime() - c->GetOffsetDate();
    }
    return fS.GetScalerStart() <= stop && fS.GetScalerStop() >= start;
  }

  // Column spans by walking the columns.
  std::pair<int, int> Span(int col) {
    TDataListColumns* cols = fS.GetColumns();
    if (col < 0 || col >= cols->Count()) return {-1, -1};
    const bool flipped = fS.GetFlipView();
    const int top = cols->GetTopLeftCol();
    int far = 0;
    for (int j = top; j <= col; ++j) far += Live(j) + (flipped ? 1 : 0);
    return {far - Live(col), far};
  }
  int Live(int col) {
    return fS.GetFlipView() ? fS.GetFlippedHeader()->GetRowHeights(col)
                            : fS.GetHeader()->GetSections()->GetItem(col)->GetWidth();
  }

  TRect RectOf(TvxDataEntity_SchemaTime* e) {
    auto [n, f] = Span(e->GetCol());
    TvxDataEntity_SchemaColumn* c = fS.GetColumns()->GetColumn(e->GetCol());
    if (e->GetUseSubCol() && c) {
      const int w = static_cast<int>(std::nearbyint(static_cast<double>(f - n) / std::max(c->GetSubColCount(), 1)));
      n += w * e->GetSubCol();
      f = n + w;
    }
    n += e->GetLeftInset();
    f -= e->GetRightInset();
    const double offset = c ? c->GetOffsetDate() : 0;
    const int t1 = fS.GetScaler()->DateToPixel(c ? e->GetStartDateTime() - offset : 0);
    int t2 = fS.GetScaler()->DateToPixel(c ? e->GetStopDateTime() - offset : 0);
    if (t2 < t1 + 5) t2 = t1 + 5;
    return fS.GetFlipView() ? Rect(t1 + 1, n, t2, f) : Rect(n + 1, t1, f, t2);
  }

  // The walk over the draw layers.
  std::vector<TvxDataEntity_SchemaTime*> Walk() {
    std::vector<TvxDataEntity_SchemaTime*> walk;
    TDataListTrav trav(fS.GetLayers(), fS.GetDrawLayerArray(), static_cast<int>(fS.GetDrawLayerArray().size()) - 1);
    for (trav.First(); !trav.Eof(); trav.Next()) walk.push_back(static_cast<TvxDataEntity_SchemaTime*>(trav.DataEntity()));
    return walk;
  }

  int PixelToColumn(int p) {
    TDataListColumns* cols = fS.GetColumns();
    if (p < 0) return 0;
    const bool flipped = fS.GetFlipView();
    int s = 0;
    for (int j = flipped ? cols->GetTopLeftCol() : 0; j < cols->Count(); ++j) {
      const int size = Live(j) + (flipped ? 1 : 0);
      if (size > 0 && p >= s && p < s + size) return j;
      s += size;
    }
    return cols->Count() - 1;
  }

  TvxDataEntity_SchemaTime* Hit(int x, int y) {
    for (TvxDataEntity_SchemaTime* e : Walk())
      if (RectOf(e).Contains(Point(x, y))) return e;
    return nullptr;
  }

  // The picture by the definition: the background, then every booking of
  // the walk, backwards, that is visible, in a valid column of some size.
  void Paint(TBitmap& theBitmap) {
    TvxOffscreenPaint* area = fS.GetSchemaArea();
    theBitmap.SetSize(area->GetWidth(), area->GetHeight());
    TCanvas* c = theBitmap.GetCanvas();
    c->SetFont(*area->GetFont());
    fS.Painter().DoBackground(c, 0, 0, area->GetWidth(), area->GetHeight());
    const std::vector<TvxDataEntity_SchemaTime*> walk = Walk();
    for (auto it = walk.rbegin(); it != walk.rend(); ++it) {
      TvxDataEntity_SchemaTime* e = *it;
      const int col = e->GetCol();
      if (!Visible(e) || col < 0 || col >= fS.GetColumns()->Count() || Live(col) <= 0) continue;
      // Drawn as far as the area shows it, and ten pixels around.
      const TRect r = RectOf(e);
      const TRect clip = Rect(std::max(r.Left, -10), std::max(r.Top, -10), std::min(r.Right, area->GetWidth() + 10),
                              std::min(r.Bottom, area->GetHeight() + 10));
      fS.Painter().DrawContent(e, clip, c);
    }
  }

  std::map<TvxDataEntity_SchemaTime*, std::pair<bool, int>> fPlace;
  std::vector<int> fCounts;

private:
  static double Second(double t) {
    const double d = std::floor(t);
    return d + std::nearbyint((t - d) * 86400) / 86400;
  }
  TestSchema& fS;
};

}  // namespace

TEST(SchemaRandom, EveryStepAgreesWithThePlainReference) {
  TestSchema s;
  Reference ref(s);
  std::mt19937 rng(20251209);
  auto pick = [&](int n) { return static_cast<int>(rng() % static_cast<unsigned>(std::max(n, 1))); };
  std::vector<TvxDataEntity_SchemaTime*> items;
  for (int c = 0; c < 6; ++c) s.Column(std::to_string(c), c % 3);

  TBitmap expected;
  for (int step = 0; step < 400; ++step) {
    const int columns = s.GetColumns()->Count();
    const int op = pick(22);
    if (op < 6 || items.size() < 5) {
      const int col = pick(columns + 2) - 1;
      TvxDataEntity_SchemaTime* e = s.AddSchemaTime(pick(3));
      ASSERT_NE(e, nullptr);
      e->SetCol(col);
      const double offset = s.GetColumns()->GetColumn(col) ? s.GetColumns()->GetColumn(col)->GetOffsetDate() : 0;
      const double from = TestSchema::kDay0 + offset + (6 + pick(12 * 12) / 12.0) * kH + pick(3) / 86400.0;
      e->SetStartDateTime(from);
      e->SetStopDateTime(from + (pick(8) == 0 ? 0 : (1 + pick(36)) * 5 / 1440.0));
      e->SetBackColor(RGB(pick(256), pick(256), 200));
      if (pick(3) == 0) e->AddText("b" + std::to_string(step), 2, 2, 1 + pick(3));
      items.push_back(e);
    } else if (op < 8) {
      const size_t k = static_cast<size_t>(pick(static_cast<int>(items.size())));
      ref.Forget(items[k]);
      s.RemoveSchemaTime(items[k]);
      items.erase(items.begin() + static_cast<long>(k));
    } else if (op < 10) {
      TvxDataEntity_SchemaTime* e = items[static_cast<size_t>(pick(static_cast<int>(items.size())))];
      const double shift = (pick(9) - 4) * 20 / 1440.0;
      e->SetStartDateTime(e->GetStartDateTime() + shift);
      e->SetStopDateTime(e->GetStopDateTime() + shift + pick(2) * 10 / 1440.0);
    } else if (op < 12) {
      TvxDataEntity_SchemaTime* e = items[static_cast<size_t>(pick(static_cast<int>(items.size())))];
      const int before = e->GetCol();
      s.SetMoveInTimeWhenColSwitch(pick(2) == 0);
      TDateTime start, stop;
      int col;
      s.GetStartStopDateAndCol(e, start, stop, col);
      s.SetStartStopDateAndCol(e, start + (pick(5) - 2) * 7 / 1440.0, stop, pick(columns + 2) - 1);
      if (e->GetCol() != before) ref.ColumnSwitched(e);
    } else if (op == 12) {
      s.Column("n" + std::to_string(step), pick(3));
    } else if (op == 13 && columns > 1) {
      s.RemoveColumn(s.GetColumns()->GetColumn(pick(columns)));
    } else if (op == 14 && columns > 0) {
      s.GetColumns()->GetColumn(pick(columns))->SetWidth(20 + pick(80));
    } else if (op == 15 && columns > 0) {
      s.GetColumns()->GetColumn(pick(columns))->SetOffsetDate(pick(3) - 1);
    } else if (op == 16 && columns > 0) {
      s.GetColumns()->SetTopLeftCol(pick(columns));
    } else if (op == 17) {
      s.SetFlipView(!s.GetFlipView());
    } else if (op == 18) {
      const double from = TestSchema::kDay0 + (4 + pick(12)) * kH;
      s.SetWindow(from, from + (2 + pick(10)) * kH);
    } else if (op == 19) {
      s.SetBounds(0, 0, 500 + pick(300), 400 + pick(200));
    } else if (op == 20) {
      s.SetCollisionDetectBetweenDataList(!s.GetCollisionDetectBetweenDataList());
    } else {
      TvxDataEntity_SchemaTime* e = items[static_cast<size_t>(pick(static_cast<int>(items.size())))];
      e->SetLeftInset(pick(4));
      e->SetRightInset(pick(10) == 0 ? -pick(15) : pick(4));
      if (pick(4) == 0) s.SetDrawLayerArray(pick(2) ? TDrawLayerArray{2, 0, 1} : TDrawLayerArray{0, 1, 2});
      if (pick(3) == 0 && columns > 1) s.GetColumns()->GetColumn(pick(columns))->Move(pick(columns));
    }
    s.Settle();
    ref.LayOut();

    // Places and rectangles.
    for (TvxDataEntity_SchemaTime* e : items) {
      const auto want = ref.fPlace[e];
      ASSERT_EQ(e->GetUseSubCol(), want.first) << "step " << step;
      ASSERT_EQ(e->GetSubCol(), want.second) << "step " << step;
      TRect r;
      s.RectFromDataEntity(s.GetFlipView(), e, r);
      ASSERT_EQ(r, ref.RectOf(e)) << "step " << step;
    }
    for (int c = 0; c < s.GetColumns()->Count(); ++c)
      ASSERT_EQ(s.GetColumns()->GetColumn(c)->GetSubColCount(), ref.fCounts[static_cast<size_t>(c)]) << "step " << step;
    TDataListColumns* cols = s.GetColumns();
    for (int c = -2; c < cols->Count() + 2; ++c) {
      const bool spans = c >= 0 && c < cols->Count() && c >= cols->GetTopLeftCol();
      ASSERT_EQ(cols->GetFarSideOffset(c), spans ? ref.Span(c).second : 0) << "step " << step;
    }
    // Pixels to columns, and hit tests.
    for (int k = 0; k < 40; ++k) {
      const int x = pick(s.GetSchemaArea()->GetWidth() + 20) - 10, y = pick(s.GetSchemaArea()->GetHeight() + 20) - 10;
      ASSERT_EQ(s.PixelToColumn(s.GetFlipView() ? y : x), ref.PixelToColumn(s.GetFlipView() ? y : x)) << "step " << step;
      ASSERT_EQ(s.GetDataEntityFromXY(x, y), ref.Hit(x, y)) << "step " << step << " at " << x << "," << y;
    }
    // The picture, now and then.
    if (step % 20 == 0) {
      ref.Paint(expected);
      s.PaintArea();
      ASSERT_TRUE(s.GetSchemaArea()->GetDrawBitmap()->Image() == expected.Image()) << "step " << step;
    }
  }
}
