// The tree printer: which entities go on paper, in what order, where, and
// where a page ends.
#include <gtest/gtest.h>

#include "UiTestSupport.h"
#include <vxplan/platform/rtl/Color.h>
#include <vxplan/printing/vxTreePrinting.h>

using namespace vx;

namespace {

// Roots a, b (open: b1, b2), c (closed: c1, which holds c1x), d.
struct Plan {
  TvxTree tree{nullptr};
  TvxDataEntity_Tree *a, *b, *b1, *b2, *c, *c1, *c1x, *d;
  Plan() {
    tree.SetBounds(0, 0, 300, 400);
    a = Add(nullptr, "a");
    b = Add(nullptr, "b");
    b1 = Add(b, "b1");
    b2 = Add(b, "b2");
    c = Add(nullptr, "c");
    c1 = Add(c, "c1");
    c1x = Add(c1, "c1x");
    d = Add(nullptr, "d");
    b->SetExpanded(true);
    vxtest::ProcessEventsUntilIdle();
  }
  TvxDataEntity_Tree* Add(TvxDataEntity_Tree* parent, const std::string& text) {
    TvxDataEntity_Tree* e = tree.AddDataEntity(parent);
    e->SetText(text);
    return e;
  }
  // The texts printed, in order, and the rows answered.
  std::string Printed(TvxDataEntity_Tree* start, int rows, bool expandAll, int pageHeight = -1,
                      TOnSizeCallBack callback = {}, int* answered = nullptr) {
    auto dc = TDeviceContext::CreateImage(200, 400);
    std::string texts;
    TvxPrintTree printer;
    printer.fOnItemPrinted = [&](TvxDataEntity_Tree* e) { texts += (texts.empty() ? "" : " ") + e->GetText(); };
    int w = 0, h = 0;
    printer.PrintDynamic(&tree, dc.get(), 0, 0, 1, 1, 200, start, rows, expandAll, w, h, pageHeight, callback);
    if (answered) *answered = rows;
    return texts;
  }
};

}  // namespace

TEST(TreePrinting, RowsInPrintOrderFromTheStartRow) {
  Plan p;
  int rows = 0;
  EXPECT_EQ(p.Printed(nullptr, -1, false, -1, {}, &rows), "a b b1 b2 c d");
  EXPECT_EQ(rows, 6);
  // Closed entities print their children only when asked to.
  EXPECT_EQ(p.Printed(nullptr, -1, true, -1, {}, &rows), "a b b1 b2 c c1 c1x d");
  EXPECT_EQ(rows, 8);
  EXPECT_FALSE(p.c->GetExpanded());
  // From a row in the middle, on through its parent's next sibling.
  EXPECT_EQ(p.Printed(p.b2, -1, false, -1, {}, &rows), "b2 c d");
  EXPECT_EQ(rows, 3);
  EXPECT_EQ(p.Printed(p.c1, -1, true), "c1 c1x d");
  // A row count is exact, even with more rows to follow.
  EXPECT_EQ(p.Printed(p.b, 2, false, -1, {}, &rows), "b b1");
  EXPECT_EQ(rows, 2);
  EXPECT_EQ(TvxPrintTree::CountPrintRows(&p.tree, nullptr, true, -1), 8);
  EXPECT_EQ(TvxPrintTree::CountPrintRows(&p.tree, p.b1, false, 2), 2);

  // The static entry point (scaled in TextAtScaledPlacesClippedToTheBlock), without a device.
  int w = 0, h = 0;
  rows = -1;
  TvxPrintTree::Print(&p.tree, nullptr, 0, 0, 1, 1, 100, nullptr, rows, false, w, h);
  EXPECT_EQ(rows, 0);
  EXPECT_EQ(h, 0);
}

TEST(TreePrinting, APageEndsAtTheRowThatDoesNotFit) {
  Plan p;
  std::vector<std::pair<int, std::string>> reports;
  auto callback = [&](bool isWidth, int value, TObject* o) {
    EXPECT_FALSE(isWidth);
    reports.emplace_back(value, static_cast<TvxDataEntity_Tree*>(o)->GetText());
  };
  int rows = 0;
  // Rows of 18 from y 0: three fit under 60, the fourth would end at 72.
  EXPECT_EQ(p.Printed(nullptr, -1, false, 60, callback, &rows), "a b b1");
  EXPECT_EQ(rows, 3);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0], std::make_pair(54, std::string("b2")));
  // The next page starts there; the last page reports nothing.
  reports.clear();
  EXPECT_EQ(p.Printed(p.b2, -1, false, 60, callback), "b2 c d");
  EXPECT_TRUE(reports.empty());
  // A page too small for one row prints none and says where it stopped.
  EXPECT_EQ(p.Printed(nullptr, -1, false, 10, callback, &rows), "");
  EXPECT_EQ(rows, 0);
  ASSERT_EQ(reports.size(), 1u);
  EXPECT_EQ(reports[0].second, "a");
}

TEST(TreePrinting, TextAtScaledPlacesClippedToTheBlock) {
  Plan p;
  p.tree.GetFont()->SetHeight(-12);
  auto dc = TDeviceContext::CreateImage(600, 400);
  int rows = 3, w = 0, h = 0;
  // From b: "b" on row 0, "b1" and "b2" indented one level; scale 2.
  TvxPrintTree::Print(&p.tree, dc.get(), 40, 30, 2, 2, 150, p.b, rows, false, w, h);
  EXPECT_EQ(w, 300);
  EXPECT_EQ(h, 3 * 36);
  auto inked = [&](const TRect& r) { return vxtest::Inked(dc.get(), r); };
  const int indent = 2 * p.tree.GetIndent();
  EXPECT_TRUE(inked(Rect(40, 30, 40 + indent, 66)));             // "b" at the left edge
  EXPECT_FALSE(inked(Rect(40, 66, 40 + indent, 30 + 3 * 36)));   // its children start an indent in
  EXPECT_TRUE(inked(Rect(40 + indent, 66, 340, 102)));            // "b1"
  EXPECT_TRUE(inked(Rect(40 + indent, 102, 340, 138)));           // "b2"
  // Nothing outside the block: not above, not left of it, not below it.
  EXPECT_FALSE(inked(Rect(0, 0, 600, 30)));
  EXPECT_FALSE(inked(Rect(0, 0, 40, 400)));
  EXPECT_FALSE(inked(Rect(0, 138, 600, 400)));
  // The device is as it was.
  EXPECT_FALSE(dc->HasClip());
  EXPECT_EQ(dc->GetViewportOrg().X, 0);
  EXPECT_EQ(dc->GetViewportOrg().Y, 0);
}
