// The editor controls over Qt's input widgets, and image lists from files.
#include <gtest/gtest.h>

#include <QDir>

#include "UiTestSupport.h"
#include <vxplan/platform/ui/ComCtrls.h>
#include <vxplan/platform/ui/ExtCtrls.h>
#include <vxplan/platform/ui/StdCtrls.h>

using namespace vx;

TEST(ImageList, PicturesFromFilesKeepTheirTransparency) {
  const std::string file = QDir::tempPath().toStdString() + "/vx_imagelist_test.png";
  {
    TBitmap picture;
    picture.SetTransparent(true);
    picture.SetSize(16, 16);
    picture.GetCanvas()->GetBrush()->SetColor(clRed);
    picture.GetCanvas()->FillRect(Rect(4, 4, 12, 12));
    ASSERT_TRUE(picture.SaveToFile(file));
  }
  TCustomImageList images(nullptr);
  EXPECT_EQ(images.AddFromFile(file), 0);
  EXPECT_EQ(images.AddFromFile(file + ".missing"), -1);
  EXPECT_EQ(images.Count(), 1);
  TBitmap target(20, 20);
  target.GetCanvas()->GetBrush()->SetColor(clBlue);
  target.GetCanvas()->FillRect(Rect(0, 0, 20, 20));
  images.Draw(target.GetCanvas(), 2, 2, 0);
  EXPECT_EQ(target.GetCanvas()->GetPixel(10, 10), clRed);
  EXPECT_EQ(target.GetCanvas()->GetPixel(3, 3), clBlue);
  QDir().remove(QString::fromStdString(file));
}

TEST(EditorControls, KeysAndFocusPassTheClassicHandlersFirst) {
  TPanel form(nullptr);
  form.SetBounds(0, 0, 300, 100);
  auto* edit = new TCustomEdit(&form);
  edit->SetParent(&form);
  edit->SetBounds(10, 10, 120, 22);
  auto* combo = new TCustomComboBox(&form);
  combo->SetParent(&form);
  combo->SetBounds(150, 10, 120, 22);
  std::vector<std::string> log;
  edit->OnKeyPress = [](TObject*, char32_t& key) {
    if (key == 'a') key = 'b';
    if (key == 'x') key = 0;
  };
  edit->OnKeyDown = [&log](TObject*, unsigned short& key, TShiftState) {
    if (key == VK_RETURN) {
      log.push_back("enter");
      key = 0;
    }
  };
  edit->OnEnter = [&log](TObject*) { log.push_back("enter edit"); };
  edit->OnExit = [&log](TObject*) { log.push_back("exit edit"); };
  vxtest::ShowWindow(&form);
  edit->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  EXPECT_TRUE(edit->ContainsFocus());
  for (Qt::Key k : {Qt::Key_A, Qt::Key_X, Qt::Key_C, Qt::Key_Return}) vxtest::KeyClick(edit, k);
  EXPECT_EQ(edit->GetText(), "bc");
  // A character sent to the control is typed as well, after KeyPress.
  edit->Perform(WM_CHAR, 'a');
  EXPECT_EQ(edit->GetText(), "bcb");
  // The combo box's own line edit hears the keys too; leaving the edit is
  // told once.
  combo->SetFocus();
  vxtest::ProcessEventsUntilIdle();
  vxtest::KeyClick(combo, Qt::Key_Q);
  EXPECT_EQ(combo->GetText(), "q");
  EXPECT_EQ(log, (std::vector<std::string>{"enter edit", "enter", "exit edit"}));
}

// A key no widget of the control takes (letters on a check box, Space on a
// read-only edit) reaches the classic handlers once and ends there: it is
// never typed again into the widget that left it, which would loop.
TEST(EditorControls, KeysAWidgetLeavesAreHeardOnceAndNeverTypedAgain) {
  struct Case {
    const char* name;
    std::function<TInputControl*(TPanel*)> make;
  };
  const Case cases[] = {
      {"check box", [](TPanel* p) { return new TCustomCheckBox(p); }},
      {"date picker with a check box",
       [](TPanel* p) {
         auto* d = new TDateTimePicker(p);
         d->SetShowCheckbox(true);
         return d;
       }},
      {"drop-down list", [](TPanel* p) {
         auto* c = new TCustomComboBox(p);
         c->SetStyle(csDropDownList);
         return c;
       }},
      {"read-only edit", [](TPanel* p) {
         auto* e = new TCustomEdit(p);
         e->SetReadOnly(true);
         return e;
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TPanel form(nullptr);
    form.SetBounds(0, 0, 300, 100);
    TInputControl* control = c.make(&form);
    control->SetParent(&form);
    control->SetBounds(10, 10, 150, 22);
    int downs = 0, chars = 0;
    control->OnKeyDown = [&downs](TObject*, unsigned short&, TShiftState) { ++downs; };
    control->OnKeyPress = [&chars](TObject*, char32_t&) { ++chars; };
    vxtest::ShowWindow(&form);
    control->SetFocus();
    vxtest::ProcessEventsUntilIdle();
    for (Qt::Key k : {Qt::Key_A, Qt::Key_7, Qt::Key_Space, Qt::Key_Z}) vxtest::KeyClick(control, k);
    EXPECT_EQ(downs, 4);
    EXPECT_EQ(chars, 4);
    // A character sent to the control is typed once, and ends there too.
    control->Perform(WM_CHAR, 'q');
    EXPECT_EQ(chars, 5);
  }
}
