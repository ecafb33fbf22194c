// The tree page: a portfolio of projects in a data-bound tree. Phases and
// tasks are made only when their parent is first opened; a button offers the
// same tree as a cascading menu for picking one entity.
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QVBoxLayout>

#include "Gallery.h"
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/printing/vxTreePrinting.h>
#include <vxplan/tree/vxTreePopup.h>

using namespace vx;

namespace {

enum Kind { kProject = 0, kPhase = 1, kTask = 2 };

const char* const kPhases[] = {"Planning", "Design", "Build", "Test", "Rollout"};
const char* const kTasks[] = {"Kick-off",  "Requirements", "Estimates", "Review",     "Prototype",
                              "Interfaces", "Migration",   "Training",  "Acceptance", "Handover"};
const char* const kSites[] = {"Harbour", "North Yard", "Airport", "Campus", "Depot", "Riverside", "Old Town", "Mill"};

// Entities standing for tasks have no children, so they show no button.
class PortfolioTree : public TvxTree {
public:
  using TvxTree::TvxTree;
  bool NeedsDummyNode(TvxDataEntity_Tree* e) override { return e->GetUserIntegerReference() != kTask; }
};

void AddChildren(TvxTree* tree, TvxDataEntity_Tree* parent) {
  if (parent->GetSubDataList()->Count() > 0) return;
  const int kind = parent->GetUserIntegerReference();
  if (kind == kProject) {
    for (int i = 0; i < 5; ++i) {
      TvxDataEntity_Tree* e = tree->AddDataEntity(parent);
      e->SetText(kPhases[i]);
      e->SetUserIntegerReference(kPhase);
      e->SetImageIndex(1);
      e->SetSelectedIndex(1);
      e->SetFontStyle(TFontStyles{fsItalic});
    }
  } else if (kind == kPhase) {
    const int n = 3 + parent->ListIndex() % 4;
    for (int i = 0; i < n; ++i) {
      TvxDataEntity_Tree* e = tree->AddDataEntity(parent);
      e->SetText(std::string(kTasks[(parent->ListIndex() * 3 + i) % 10]) + " " + std::to_string(i + 1));
      e->SetUserIntegerReference(kTask);
      e->SetImageIndex(2);
      e->SetSelectedIndex(2);
      e->SetCanEdit(true);
    }
  }
}

void DrawIcon(TBitmap& b, TColor theColor, bool theRound) {
  b.SetSize(16, 16);
  TCanvas* c = b.GetCanvas();
  c->GetBrush()->SetColor(clWindow);
  c->FillRect(Rect(0, 0, 16, 16));
  c->GetBrush()->SetColor(theColor);
  c->GetPen()->SetColor(clBtnShadow);
  if (theRound)
    c->Ellipse(3, 3, 13, 13);
  else
    c->Rectangle(2, 3, 14, 13);
}

}  // namespace

GalleryPage MakeTreePage() {
  auto* form = new TPanel(nullptr);
  form->SetBevelOuter(bvNone);
  form->SetBounds(0, 0, 1100, 560);  // the selection below is scrolled into this
  auto* images = new TCustomImageList(form);
  for (auto [colour, round] : {std::pair{RGB(0x33, 0x66, 0xCC), false}, std::pair{RGB(0xE0, 0x9A, 0x2A), false},
                               std::pair{RGB(0x4C, 0xA6, 0x4C), true}}) {
    TBitmap icon;
    DrawIcon(icon, colour, round);
    images->Add(&icon);
  }

  auto* tree = new PortfolioTree(form);
  tree->SetParent(form);
  tree->SetAlign(alClient);
  tree->SetImages(images);
  tree->SetMultiSelect(true);
  tree->SetDrawGridLines(true);
  tree->OnExpanding = [tree](TObject*, TTreeNode* node, bool&) {
    if (TvxDataEntity_Tree* e = TvxTree_ComBasic::GetDataEntityFromNode(node)) AddChildren(tree, e);
  };
  // Four thousand projects; their phases and tasks come on demand.
  for (int i = 0; i < 4000; ++i) {
    TvxDataEntity_Tree* e = tree->AddDataEntity(nullptr);
    e->SetText("P-" + std::to_string(1000 + i) + "  " + kSites[i % 8] + " " + std::to_string(i / 8 + 1));
    e->SetUserIntegerReference(kProject);
    e->SetImageIndex(0);
    e->SetSelectedIndex(0);
    e->SetCanEdit(true);
    if (i % 5 == 0) e->SetFontStyle(TFontStyles{fsBold});
  }
  auto* roots = tree->GetRootDataList();
  auto* first = static_cast<TvxDataEntity_Tree*>(roots->GetItems(0));
  first->SetExpanded(true);
  static_cast<TvxDataEntity_Tree*>(first->GetSubDataList()->GetItems(2))->SetExpanded(true);
  static_cast<TvxDataEntity_Tree*>(roots->GetItems(3))->SetExpanded(true);
  tree->SetCurrentDataEntity(static_cast<TvxDataEntity_Tree*>(
      static_cast<TvxDataEntity_Tree*>(first->GetSubDataList()->GetItems(2))->GetSubDataList()->GetItems(1)));

  auto* popup = new TvxTreePopup(form);
  popup->SetTree(tree);

  auto* page = new QWidget;
  auto* layout = new QVBoxLayout(page);
  auto* bar = new QHBoxLayout;
  auto* pick = new QPushButton(QStringLiteral("Pick from menu…"));
  auto* picked = new QLabel(QStringLiteral("Tasks can be picked; projects and phases open as sub-menus."));
  bar->addWidget(pick);
  bar->addWidget(picked, 1);
  layout->addLayout(bar);
  layout->addWidget(form, 1);

  popup->OnCheckUserPickEnable = [](TvxTreePopup*, TvxDataEntity_Tree* e) {
    return e->GetUserIntegerReference() == kTask;
  };
  popup->OnUserPickDataEntity = [tree, picked](TvxTreePopup*, TvxDataEntity_Tree* e) {
    std::string path = e->GetText();
    for (TvxDataEntity_Tree* p = e->ParentNode(); p; p = p->ParentNode()) path = p->GetText() + " / " + path;
    picked->setText(QString::fromStdString("Picked: " + path));
    tree->SetCurrentDataEntity(e);
  };
  QObject::connect(pick, &QPushButton::clicked, [pick, popup] {
    const QPoint at = pick->mapToGlobal(QPoint(0, pick->height()));
    popup->Popup(at.x(), at.y());
  });

  GalleryPage result{"tree", page, nullptr, nullptr, nullptr, {tree}, nullptr};
  // The tree as the tree printer puts it on paper: every row, open or not.
  result.print = [tree](TDeviceContext* dc) {
    const double scale = dc->PixelsPerInch() / 96.0;
    int rows = -1, w = 0, h = 0;
    TvxPrintTree::Print(tree, dc, dc->PixelsPerInch() / 2, dc->PixelsPerInch() / 2, scale, scale, 400, nullptr, rows,
                        true, w, h, dc->Height() - dc->PixelsPerInch() / 2);
  };
  // The menu as the user sees it after opening the first project and its design phase.
  result.extra = [popup](const std::string& dir) {
    popup->InitRootLevel();
    TMenuItem* project = popup->GetItems()->GetItem(0);
    project->Click();
    TMenuItem* design = project->GetItem(3);
    design->Click();
    std::vector<std::pair<std::string, QMenu*>> shots{{"tree-popup", popup->GetItems()->SubMenu(true)},
                                                      {"tree-popup-project", project->SubMenu(true)},
                                                      {"tree-popup-phase", design->SubMenu(true)}};
    for (auto& [name, menu] : shots) {
      menu->adjustSize();
      const std::string png = dir + "/" + name + ".png";
      if (menu->grab().save(QString::fromStdString(png))) std::printf("wrote %s\n", png.c_str());
    }
  };
  return result;
}
