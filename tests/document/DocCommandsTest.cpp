// Enabling, check marks and effects of the document's commands, asked and run through the command
// router the way the menus, toolbar and keys reach them.
#include <gtest/gtest.h>

#include <vector>

#include "DocFixture.h"
#include "res/CommandIds.h"
#include "tests/support/ModalHandler.h"

namespace {

struct Item {
  int id;
  int value;
};
// One group of radio-like items: each carries a value of one attribute.
struct Group {
  const char* name;
  std::vector<Item> items;
  int CQuirraDoc::Attributes::*field;
  int (CShape::*shapeValue)() const;
};

const std::vector<Item> kTools = {{ID_OBJECT_LINE, 1},
                                  {ID_OBJECT_BEZIER, 5},
                                  {ID_OBJECT_ELLIPSE, 6},
                                  {ID_OBJECT_RECTANGLE, 2},
                                  {ID_OBJECT_POLYGONRECT, 3}};

const std::vector<Group> kAttributeGroups = {
    {"pen style",
     {{ID_PEN_STYLE_NULL, 5},
      {ID_PEN_STYLE_SOLID, 0},
      {ID_PEN_STYLE_DASH, 1},
      {ID_PEN_STYLE_DOT, 2},
      {ID_PEN_STYLE_DASHDOT, 3},
      {ID_PEN_STYLE_DASHDOTDOT, 4}},
     &CQuirraDoc::Attributes::penStyle,
     &CShape::GetPenStyle},
    {"pen width",
     {{ID_PEN_WIDTH_NORMAL, 1}, {ID_PEN_WIDTH_BOLD, 2}, {ID_PEN_WIDTH_EXTRABOLD, 3}},
     &CQuirraDoc::Attributes::penWidth,
     &CShape::GetPenWidth},
    {"brush style",
     {{ID_BRUSH_STYLE_PAINT, -100},
      {ID_BRUSH_STYLE_TRANSPARENT, -200},
      {ID_BRUSH_STYLE_HORIZONTAL, 0},
      {ID_BRUSH_STYLE_VERTICAL, 1},
      {ID_BRUSH_STYLE_BDIAGONAL, 3},
      {ID_BRUSH_STYLE_FDIAGONAL, 2},
      {ID_BRUSH_STYLE_CROSS, 4},
      {ID_BRUSH_STYLE_CROSSDIAGONAL, 5}},
     &CQuirraDoc::Attributes::brushStyle,
     &CShape::GetBrushStyle},
};

const std::vector<int> kNeedGrip = {ID_EDIT_DELETE, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PROPERTIES};
const std::vector<int> kReorder = {ID_EDIT_TOTALLYFORWARDS, ID_EDIT_FORWARDS, ID_EDIT_BACKWARDS,
                                   ID_EDIT_TOTALLYBACKWARDS};
const std::vector<Item> kZooms = {
    {ID_ZOOM_50, 50}, {ID_ZOOM_100, 100}, {ID_ZOOM_200, 200}, {ID_ZOOM_300, 300}, {ID_ZOOM_500, 500}};

class DocCommands : public DocTest {
 protected:
  // The ids of `items` that carry a check mark.
  std::vector<int> CheckedOf(const std::vector<Item>& items) const {
    std::vector<int> ids;
    for (const Item& item : items)
      if (Checked(item.id)) ids.push_back(item.id);
    return ids;
  }
  // The ids of `ids` that are enabled.
  std::vector<int> EnabledOf(const std::vector<int>& ids) const {
    std::vector<int> on;
    for (int id : ids)
      if (Enabled(id)) on.push_back(id);
    return on;
  }
};

using Ids = std::vector<int>;

TEST_F(DocCommands, NewDocumentChecksTheDefaultsAndGreysTheSelectionCommands) {
  EXPECT_EQ(CheckedOf(kTools), Ids{ID_OBJECT_LINE});
  EXPECT_EQ(CheckedOf(kAttributeGroups[0].items), Ids{ID_PEN_STYLE_SOLID});
  EXPECT_EQ(CheckedOf(kAttributeGroups[1].items), Ids{ID_PEN_WIDTH_NORMAL});
  EXPECT_EQ(CheckedOf(kAttributeGroups[2].items), Ids{ID_BRUSH_STYLE_TRANSPARENT});
  EXPECT_EQ(CheckedOf(kZooms), Ids{ID_ZOOM_100});
  EXPECT_FALSE(Checked(ID_EDIT_ROTATE));
  EXPECT_TRUE(Enabled(ID_EDIT_ROTATE));

  EXPECT_EQ(EnabledOf(kNeedGrip), Ids{});
  EXPECT_EQ(EnabledOf(kReorder), Ids{});
  // Tools, pen, brush and the colour commands (which have no update handler) are all available.
  for (const Item& item : kTools) EXPECT_TRUE(Enabled(item.id)) << item.id;
  for (const Group& group : kAttributeGroups)
    for (const Item& item : group.items) EXPECT_TRUE(Enabled(item.id)) << item.id;
  EXPECT_TRUE(Enabled(ID_PEN_COLOR));
  EXPECT_TRUE(Enabled(ID_BRUSH_COLOR));
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(DocCommands, CommandsNobodyHandlesAreDisabledAndDoNotRun) {
  for (int id : {ID_FILE_PRINT, ID_EDIT_UNDO, ID_NEXT_PANE, ID_EDIT_PASTE}) {
    EXPECT_FALSE(Enabled(id)) << id;
    EXPECT_FALSE(router.Run(id)) << id;
  }
  // Delete is enabled by the document but carried out by the view, which is not in this chain.
  AddShapes(1);
  Grip(0);
  EXPECT_TRUE(Enabled(ID_EDIT_DELETE));
  EXPECT_FALSE(router.Run(ID_EDIT_DELETE));
  EXPECT_EQ(Drawing().GetUpperBound(), 0);
}

TEST_F(DocCommands, ToolCommandsSetTheToolOnlyWhileNothingIsGripped) {
  for (const Item& item : kTools) {
    EXPECT_TRUE(router.Run(item.id)) << item.id;
    EXPECT_EQ(doc.GetTool(), item.value);
    EXPECT_EQ(CheckedOf(kTools), Ids{item.id});
  }
  EXPECT_FALSE(doc.IsModified());

  // A double-click selection has set the tool to the kind of the shape it gripped.
  doc.SetTool(kEllipse);
  AddShapes(1);
  Grip(0);
  for (const Item& item : kTools) EXPECT_FALSE(Enabled(item.id)) << item.id;
  EXPECT_EQ(CheckedOf(kTools), Ids{ID_OBJECT_ELLIPSE});
  EXPECT_FALSE(router.Run(ID_OBJECT_RECTANGLE));
  EXPECT_EQ(doc.GetTool(), kEllipse);

  // A disabled Properties command must not open its dialog.
  Release();
  ModalHandler modal([](QWidget* w) { w->close(); });
  EXPECT_FALSE(router.Run(ID_EDIT_PROPERTIES));
  EXPECT_EQ(modal.Seen(), 0);
}

TEST_F(DocCommands, WithoutGripEachAttributeItemSetsTheDefaultForNewShapes) {
  // A shape is selected (as after Paste) but not gripped: it keeps its attributes.
  doc.SetTool(kRectangle);
  AddShapes(1);
  const CShape before = ShapeAt(0);
  for (const Group& group : kAttributeGroups)
    for (const Item& item : group.items) {
      SCOPED_TRACE(group.name + std::string(" ") + std::to_string(item.value));
      EXPECT_TRUE(router.Run(item.id));
      EXPECT_EQ(doc.GetAttributes().*group.field, item.value);
      EXPECT_EQ(CheckedOf(group.items), Ids{item.id});
    }
  EXPECT_TRUE(ShapeAt(0) == before);
  EXPECT_FALSE(doc.IsModified());

  // "Dash", then a drag: the new shape is dashed.
  ASSERT_TRUE(router.Run(ID_PEN_STYLE_DASH));
  EXPECT_EQ(doc.GetAttributes().penStyle, 1);
  EXPECT_EQ(doc.EffectivePenStyle(), 1);
  AddShapes(1);
  EXPECT_EQ(ShapeAt(1).GetPenStyle(), 1);
}

TEST_F(DocCommands, WithGripEachAttributeItemChangesOnlyTheGrippedShape) {
  doc.SetTool(kRectangle);
  AddShapes(3);
  const CShape back = ShapeAt(0), front = ShapeAt(2);
  Grip(1, HIT_OUTLINE, 2);
  const CShape start = ShapeAt(1);
  for (const Group& group : kAttributeGroups)
    for (const Item& item : group.items) {
      SCOPED_TRACE(group.name + std::string(" ") + std::to_string(item.value));
      const int before = doc.GetAttributes().*group.field;
      EXPECT_TRUE(router.Run(item.id));
      EXPECT_EQ((ShapeAt(1).*group.shapeValue)(), item.value);
      EXPECT_EQ(doc.GetAttributes().*group.field, before);
      // Modified exactly when the value was new to the shape; undone, the drawing is as it was.
      EXPECT_EQ(doc.IsModified(), (start.*group.shapeValue)() != item.value);
      EXPECT_EQ(CheckedOf(group.items), Ids{item.id});
      doc.Undo();
      EXPECT_TRUE(ShapeAt(1) == start);
      EXPECT_FALSE(doc.IsModified());
    }
  EXPECT_TRUE(ShapeAt(0) == back);
  EXPECT_TRUE(ShapeAt(2) == front);
  EXPECT_EQ(Drawing().GetSelected(), 1);
  EXPECT_EQ(doc.GetHitMode(), HIT_OUTLINE);
  EXPECT_EQ(doc.GetHitPart(), 2);
}

TEST_F(DocCommands, BoldOnGrippedShapeLeavesTheDefaultNormal) {
  AddShapes(2);
  Grip(0);
  ASSERT_TRUE(router.Run(ID_PEN_WIDTH_BOLD));
  EXPECT_EQ(ShapeAt(0).GetPenWidth(), 2);
  EXPECT_EQ(ShapeAt(1).GetPenWidth(), 1);
  EXPECT_EQ(doc.GetAttributes().penWidth, 1);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_TRUE(Checked(ID_PEN_WIDTH_BOLD));
  EXPECT_FALSE(Checked(ID_PEN_WIDTH_NORMAL));

  Release();
  EXPECT_TRUE(Checked(ID_PEN_WIDTH_NORMAL));
  EXPECT_FALSE(Checked(ID_PEN_WIDTH_BOLD));
  EXPECT_EQ(doc.EffectivePenWidth(), 1);
  EXPECT_EQ(ShapeAt(0).GetPenWidth(), 2);
}

TEST_F(DocCommands, ReorderingFollowsThePositionOfTheGrippedShape) {
  AddShapes(1);  // selected, but a selection alone is no grip
  EXPECT_EQ(EnabledOf(kNeedGrip), Ids{});
  Grip(0);
  EXPECT_EQ(EnabledOf(kReorder), Ids{}) << "a single shape cannot move";
  EXPECT_EQ(EnabledOf(kNeedGrip), kNeedGrip);

  AddShapes(2);
  Grip(0);
  EXPECT_EQ(EnabledOf(kReorder), (Ids{ID_EDIT_TOTALLYFORWARDS, ID_EDIT_FORWARDS}));
  Grip(2, HIT_EDGE, 1);
  EXPECT_EQ(EnabledOf(kReorder), (Ids{ID_EDIT_BACKWARDS, ID_EDIT_TOTALLYBACKWARDS}));
  Grip(1, HIT_OUTLINE, 3);
  EXPECT_EQ(EnabledOf(kReorder), kReorder);
  Release();
  EXPECT_EQ(EnabledOf(kReorder), Ids{});
}

TEST_F(DocCommands, ZoomAndRotateChecksFollowTheDrawing) {
  for (const Item& zoom : kZooms) {
    Drawing().SetZoom(zoom.value);
    EXPECT_EQ(CheckedOf(kZooms), Ids{zoom.id}) << zoom.value;
    EXPECT_TRUE(Enabled(zoom.id));
  }
  Drawing().SetZoom(150);
  EXPECT_EQ(CheckedOf(kZooms), Ids{});

  Drawing().SetRotateMode(true);
  EXPECT_TRUE(Checked(ID_EDIT_ROTATE));
  Drawing().SetRotateMode(false);
  EXPECT_FALSE(Checked(ID_EDIT_ROTATE));
}

}  // namespace
