// The Properties texts, and the Properties and colour dialogs opened by the document's commands:
// found as the application's modal widget while they run, then filled in or closed like a user
// would.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QColorDialog>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

#include "DocFixture.h"
#include "document/CPropertiesDlg.h"
#include "document/PropertiesTexts.h"
#include "platform/qt/CStaticText.h"
#include "platform/qt/DialogUnits.h"
#include "res/CommandIds.h"
#include "tests/support/ModalHandler.h"

namespace {

CShape WithCodes(int type, int penStyle, int penWidth, int brushStyle) {
  CShape s;
  s.SetType(type);
  s.SetPenStyle(penStyle);
  s.SetPenWidth(penWidth);
  s.SetBrushStyle(brushStyle);
  return s;
}

TEST(PropertiesTexts, NamesEveryCodeAndUnknowForTheRest) {
  using Names = std::vector<std::pair<int, std::string>>;
  const Names types = {{1, "Line"},   {2, "Rectangle"}, {3, "Polygon (rectangle)"},
                       {5, "Bezier"}, {6, "Ellipse"},   {4, "Unknow"},
                       {0, "Unknow"}, {7, "Unknow"},    {-1, "Unknow"}};
  for (const auto& [code, name] : types)
    EXPECT_EQ(PropertiesTexts(WithCodes(code, 0, 1, 0), 0)[1], "Object type:\t" + name);

  const Names penStyles = {{0, "Solid"},        {1, "Dash"}, {2, "Dot"},    {3, "Dash Dot"},
                           {4, "Dash Dot Dot"}, {5, "Null"}, {6, "Unknow"}, {-1, "Unknow"}};
  for (const auto& [code, name] : penStyles)
    EXPECT_EQ(PropertiesTexts(WithCodes(1, code, 1, 0), 0)[3], "Style:\t" + name);

  const Names widths = {{1, "Normal"}, {2, "Bold"}, {3, "Extra Bold"}, {0, "Unknow"}, {4, "Unknow"}};
  for (const auto& [code, name] : widths) EXPECT_EQ(PropertiesTexts(WithCodes(1, 0, code, 0), 0)[4], "Width:\t" + name);

  const Names brushStyles = {{-200, "Transparent"}, {-100, "Paint"},     {0, "Horizontal"}, {1, "Vertical"},
                             {2, "F - diagonal"},   {3, "B - diagonal"}, {4, "Cross"},      {5, "Cross diagonal"},
                             {-1, "Unknow"},        {6, "Unknow"},       {-300, "Unknow"}};
  for (const auto& [code, name] : brushStyles)
    EXPECT_EQ(PropertiesTexts(WithCodes(2, 0, 1, code), 0)[6], "Style:\t" + name);
}

TEST(PropertiesTexts, NumberColoursCentreAndPoints) {
  CShape s;
  s.SetPenColor(0x00FF00);    // green only
  s.SetBrushColor(0xFF0000);  // blue only
  s.SetCenter(-5, 7);
  s.SetPoint(0, 10, 20);
  s.SetPoint(1, 30, 40);
  s.SetPoint(2, 99, 99);  // beyond the point count: not shown
  s.SetPointCount(2);
  auto texts = PropertiesTexts(s, 12);
  EXPECT_EQ(texts[0], "Object number:\t12");
  EXPECT_EQ(texts[2], "Color:\t0, 255, 0");
  EXPECT_EQ(texts[5], "Color:\t0, 0, 255");
  EXPECT_EQ(texts[7], "Center:\t-5\t7");
  EXPECT_EQ(texts[8], "Other:\t10\t20\n\t30\t40\n");

  s.SetPenColor(0xFFFFFF);
  s.SetBrushColor(0x030201);
  s.SetPointCount(0);
  texts = PropertiesTexts(s, 0);
  EXPECT_EQ(texts[0], "Object number:\t0");
  EXPECT_EQ(texts[2], "Color:\t255, 255, 255");
  EXPECT_EQ(texts[5], "Color:\t1, 2, 3");
  EXPECT_EQ(texts[8], "Other:");
}

class DocDialogs : public DocTest {
 protected:
  // Three shapes: a line, a rectangle with coloured pen and brush, and an ellipse.
  void SetUp() override {
    DocTest::SetUp();
    Drawing().AddShape(DragShape(doc, 1, 2, 3, 4));
    doc.SetTool(kRectangle);
    // F - diagonal
    doc.SetAttributes({.penWidth = 3, .penColor = 0x00FF00, .brushStyle = 2, .brushColor = 0xFF0000});
    Drawing().AddShape(DragShape(doc, 10, 20, 30, 40));
    doc.SetTool(kEllipse);
    doc.SetAttributes({});
    Drawing().AddShape(DragShape(doc, 50, 60, 70, 80));
    doc.SetTool(kLine);
    Release();
  }

  // Runs `id` through the router while `act` deals with the dialog it opens; returns the
  // number of dialogs that were shown.
  int RunWithDialog(int id, std::function<void(QWidget*)> act) {
    ModalHandler modal(std::move(act));
    EXPECT_TRUE(router.Run(id));
    EXPECT_FALSE(modal.TimedOut()) << "the dialog had to be closed for the test";
    return modal.Seen();
  }
};

TEST_F(DocDialogs, PropertiesShowsTheGrippedShapeAndClosesWithEnterOrEscape) {
  for (const auto key : {Qt::Key_Return, Qt::Key_Escape}) {
    SCOPED_TRACE(key == Qt::Key_Return ? "Enter" : "Escape");
    Grip(1, HIT_OUTLINE, 2);
    const CTavlo before = Drawing();
    QStringList texts;
    QStringList buttons;
    QString caption;
    QSize size, expectedSize;
    QRect cancel, expectedCancel;
    bool closed = false;
    const int shown = RunWithDialog(ID_EDIT_PROPERTIES, [&](QWidget* w) {
      auto* dlg = qobject_cast<CPropertiesDlg*>(w);
      ASSERT_NE(dlg, nullptr);
      EXPECT_EQ(dlg->parentWidget(), nullptr);
      caption = dlg->windowTitle();
      for (int id : {1004, 1005, 1006, 1007, 1008, 1009, 1010, 1011, 1013}) texts << dlg->ControlText(id);
      for (QPushButton* b : dlg->findChildren<QPushButton*>()) {
        buttons << b->text();
        cancel = b->geometry();
      }
      const DialogUnits du(dlg->font());
      size = dlg->size();
      // 28 units wider than the template, for the point column.
      expectedSize = QSize(du.X(235), du.Y(121));
      expectedCancel = du.ToPixels(178, 10, 50, 14);
      QTest::keyClick(dlg, key);
      closed = !dlg->isVisible();
    });
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(closed);
    EXPECT_EQ(caption, "Properties");
    EXPECT_EQ(buttons, QStringList{"Cancel"});
    EXPECT_EQ(size, expectedSize);
    EXPECT_EQ(cancel, expectedCancel);
    EXPECT_EQ(texts, (QStringList{"Object number:\t1", "Object type:\tRectangle", "Color:\t0, 255, 0", "Style:\tSolid",
                                  "Width:\tExtra Bold", "Color:\t0, 0, 255", "Style:\tF - diagonal", "Center:\t20\t30",
                                  "Other:\t10\t20\n\t30\t20\n\t30\t40\n\t10\t40\n"}));
    EXPECT_TRUE(Drawing() == before);
    EXPECT_EQ(doc.GetHitMode(), HIT_OUTLINE);
    EXPECT_EQ(doc.GetHitPart(), 2);
    EXPECT_FALSE(doc.IsModified());
  }
}

TEST_F(DocDialogs, PropertiesOfTheBackShapeShowsObjectNumberZero) {
  Grip(0);
  QStringList texts;
  RunWithDialog(ID_EDIT_PROPERTIES, [&](QWidget* w) {
    auto* dlg = qobject_cast<CPropertiesDlg*>(w);
    ASSERT_NE(dlg, nullptr);
    texts << dlg->ControlText(1004) << dlg->ControlText(1005) << dlg->ControlText(1010);
    dlg->findChild<QPushButton*>()->click();
  });
  EXPECT_EQ(texts, (QStringList{"Object number:\t0", "Object type:\tLine", "Style:\tUnknow"}));
}

// The longest names and signed six-digit coordinates: every line shows whole in its box, and
// the point column stays inside its group and the group inside the dialog.
TEST(PropertiesDialog, LongestTextsFitTheirBoxes) {
  CPropertiesDlg dlg;
  dlg.shape = WithCodes(3, 4, 3, 5);  // Polygon (rectangle), Dash Dot Dot, Extra Bold, Cross diagonal
  dlg.shape.SetPenColor(0xFFFFFF);
  dlg.shape.SetBrushColor(0xFFFFFF);
  dlg.shape.SetCenter(-123456, -654321);
  const CPoint points[] = {{-123456, -654321}, {654321, -123456}, {-999999, -888888}, {100000, -100000}};
  for (int i = 0; i < 4; ++i) dlg.shape.SetPoint(i, points[i].x, points[i].y);
  dlg.shape.SetPointCount(4);
  dlg.objectNumber = 123456;
  dlg.UpdateData();

  QStringList cut;
  const auto texts = dlg.findChildren<CStaticText*>();
  for (const CStaticText* t : texts)
    if (!t->Fits()) cut << t->text();
  EXPECT_EQ(texts.size(), 9);
  EXPECT_EQ(cut.join(" | ").toStdString(), "");

  const QGroupBox* group = nullptr;
  for (const QGroupBox* g : dlg.findChildren<QGroupBox*>())
    if (g->title() == "Points") group = g;
  ASSERT_NE(group, nullptr);
  for (const char* name : {"IDC_1011", "IDC_1013"})
    EXPECT_TRUE(group->geometry().contains(dlg.findChild<CStaticText*>(name)->geometry())) << name;
  for (const QWidget* child : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
    EXPECT_TRUE(dlg.rect().contains(child->geometry())) << child->metaObject()->className();
}

// Picks `color` in the colour dialog and accepts it, or cancels after picking it.
std::function<void(QWidget*)> PickColor(QColor color, bool accept, QColor* shownFirst = nullptr) {
  return [=](QWidget* w) {
    auto* dlg = qobject_cast<QColorDialog*>(w);
    ASSERT_NE(dlg, nullptr);
    if (shownFirst) *shownFirst = dlg->currentColor();
    dlg->setCurrentColor(color);
    if (accept)
      dlg->accept();
    else
      dlg->reject();
  };
}

constexpr COLORREF kChosen = 0x00C8140A;  // red 10, green 20, blue 200

TEST_F(DocDialogs, PenColourWithoutGripBecomesTheDefault) {
  const CTavlo before = Drawing();
  EXPECT_EQ(RunWithDialog(ID_PEN_COLOR, PickColor(QColor(10, 20, 200), true)), 1);
  EXPECT_EQ(doc.GetAttributes().penColor, kChosen);
  EXPECT_EQ(doc.GetAttributes().brushColor, 0u);
  EXPECT_TRUE(Drawing() == before);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocDialogs, ColourWithGripGoesToTheGrippedShape) {
  Grip(2, HIT_VERTEX, 1);
  EXPECT_EQ(RunWithDialog(ID_PEN_COLOR, PickColor(QColor(10, 20, 200), true)), 1);
  EXPECT_EQ(ShapeAt(2).GetPenColor(), kChosen);
  EXPECT_EQ(ShapeAt(2).GetBrushColor(), 0u);
  EXPECT_EQ(ShapeAt(1).GetPenColor(), 0x00FF00u);
  EXPECT_EQ(doc.GetAttributes().penColor, 0u);
  EXPECT_TRUE(doc.IsModified());

  doc.Undo();
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(RunWithDialog(ID_BRUSH_COLOR, PickColor(QColor(255, 128, 0), true)), 1);
  EXPECT_EQ(ShapeAt(2).GetBrushColor(), 0x000080FFu);
  EXPECT_EQ(ShapeAt(2).GetPenColor(), 0u);  // the undone pen colour
  EXPECT_EQ(doc.GetAttributes().brushColor, 0u);
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(DocDialogs, CancelledColourChangesNothing) {
  for (int mode : {HIT_NONE, HIT_OUTLINE}) {
    if (mode != HIT_NONE) Grip(1, mode, 0);
    const CTavlo before = Drawing();
    EXPECT_EQ(RunWithDialog(ID_PEN_COLOR, PickColor(QColor(10, 20, 200), false)), 1);
    EXPECT_EQ(RunWithDialog(ID_BRUSH_COLOR, PickColor(QColor(10, 20, 200), false)), 1);
    EXPECT_TRUE(Drawing() == before);
    EXPECT_EQ(doc.GetAttributes().penColor, 0u);
    EXPECT_EQ(doc.GetAttributes().brushColor, 0u);
    EXPECT_FALSE(doc.IsModified());
  }
}

TEST_F(DocDialogs, ColourDialogNeverOpensOnACurrentColour) {
  QColor first, second;
  RunWithDialog(ID_PEN_COLOR, PickColor(QColor(10, 20, 200), true, &first));
  Grip(1);  // its pen is green
  RunWithDialog(ID_BRUSH_COLOR, PickColor(QColor(1, 2, 3), true, &second));
  EXPECT_EQ(second, first);
  EXPECT_NE(second, QColor(10, 20, 200));
  EXPECT_NE(second, QColor(0, 255, 0));
  EXPECT_NE(second, QColor(0, 0, 255));
}

}  // namespace
