// The menus, keys, toolbar and command strings: the few properties a typo would break.
#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "res/Resources.h"

namespace {

using res::MenuItem;

std::vector<std::string> Titles(int menu) {
  std::vector<std::string> titles;
  for (const MenuItem& popup : res::LoadMenu(menu)) titles.push_back(popup.text);
  return titles;
}

// Every command item below `items`, with its text up to the key name.
void Collect(const std::vector<MenuItem>& items, std::vector<std::pair<int, std::string>>& out) {
  for (const MenuItem& item : items) {
    if (item.kind == MenuItem::popup) Collect(item.items, out);
    if (item.kind == MenuItem::command) out.emplace_back(item.id, item.text.substr(0, item.text.find('\t')));
  }
}

TEST(Resources, MenuBarsInOrder) {
  EXPECT_EQ(Titles(128), (std::vector<std::string>{"&File", "&View", "&Help"}));
  EXPECT_EQ(Titles(129),
            (std::vector<std::string>{"&File", "&Edit", "&View", "&Window", "&Help", "&Pen", "&Brush", "&Object"}));
  EXPECT_EQ(Titles(103), std::vector<std::string>{"_POPUP_"});
}

TEST(Resources, EachCommandHasOneMeaningAcrossMenus) {
  // One id, one text (apart from the key name after the tab); and no text of one popup used for
  // two ids, so a copied line with a stale id shows up.
  std::map<int, std::string> textOf;
  for (int menu : {128, 129, 103}) {
    std::vector<std::pair<int, std::string>> items;
    Collect(res::LoadMenu(menu), items);
    ASSERT_FALSE(items.empty());
    std::map<int, int> uses;
    for (const auto& [id, text] : items) {
      EXPECT_NE(id, 0) << text;
      ++uses[id];
      const auto [it, added] = textOf.emplace(id, text);
      if (!added) {
        EXPECT_EQ(it->second, text) << "id " << id;
      }
    }
    for (const auto& [id, n] : uses) EXPECT_EQ(n, 1) << "menu " << menu << " uses id " << id << " twice";
  }
  EXPECT_EQ(textOf[ID_BRUSH_STYLE_BDIAGONAL], "B - Diagonal");
  EXPECT_EQ(textOf[ID_BRUSH_STYLE_FDIAGONAL], "F - Diagonal");
  EXPECT_EQ(textOf[ID_PEN_STYLE_DOT], "Dot");
  EXPECT_EQ(textOf[ID_PEN_STYLE_DASH], "Dash");
  // Every toolbar button stands in the document menu too.
  for (int id : res::ToolbarButtons())
    if (id != ID_SEPARATOR && id != ID_FILE_PRINT) {
      EXPECT_TRUE(textOf.count(id)) << id;
    }
}

TEST(Resources, ToolbarButtonsAndTooltips) {
  // New, Open, Save | Cut, Copy, Paste | Print | About, Properties | Delete | Rotate
  EXPECT_EQ(res::ToolbarButtons(), (std::vector<int>{57600, 57601, 57603, 0, 57635, 57634, 57637, 0, 57607, 0, 57664,
                                                     32814, 0, 32794, 0, 32813}));
  EXPECT_EQ(res::Prompt(ID_EDIT_ROTATE), "Set rotate mode");
  EXPECT_EQ(res::Tooltip(ID_EDIT_ROTATE), "Rotate");
  EXPECT_EQ(res::Tooltip(ID_EDIT_PROPERTIES), "Properties");
  EXPECT_EQ(res::Prompt(ID_EDIT_FORWARDS), "Forwards the selection");
  EXPECT_EQ(res::Tooltip(ID_EDIT_FORWARDS), "");
  EXPECT_EQ(res::Prompt(ID_ZOOM_500), "Window zoom");
  EXPECT_EQ(res::Prompt(ID_OBJECT_LINE), "");
  EXPECT_EQ(res::Prompt(57620), "Open this document");
  for (int id : res::ToolbarButtons())
    if (id != ID_SEPARATOR && id != ID_FILE_PRINT) {
      EXPECT_FALSE(res::Tooltip(id).empty()) << id;
    }
}

TEST(Resources, AcceleratorTable) {
  const auto& keys = res::LoadAccelerators(128);
  ASSERT_EQ(keys.size(), 17u);
  std::map<int, int> perCommand;
  for (const res::Accelerator& a : keys) ++perCommand[a.id];
  const std::map<int, int> expected = {
      {ID_EDIT_COPY, 2},  {ID_FILE_NEW, 1},  {ID_FILE_OPEN, 1},    {ID_EDIT_ROTATE, 1}, {ID_FILE_SAVE, 1},
      {ID_EDIT_PASTE, 2}, {ID_EDIT_UNDO, 2}, {ID_EDIT_DELETE, 1},  {ID_EDIT_CUT, 2},    {ID_EDIT_BACKWARDS, 1},
      {ID_NEXT_PANE, 1},  {ID_PREV_PANE, 1}, {ID_EDIT_FORWARDS, 1}};
  EXPECT_EQ(perCommand, expected);
  // Shift+Delete cuts; Delete alone deletes; Up moves forwards.
  auto find = [&](int key, bool ctrl, bool shift, bool alt) {
    for (const res::Accelerator& a : keys)
      if (a.key == key && a.ctrl == ctrl && a.shift == shift && a.alt == alt) return a.id;
    return -1;
  };
  EXPECT_EQ(find(res::VK_DELETE, false, true, false), ID_EDIT_CUT);
  EXPECT_EQ(find(res::VK_DELETE, false, false, false), ID_EDIT_DELETE);
  EXPECT_EQ(find(res::VK_UP, false, false, false), ID_EDIT_FORWARDS);
  EXPECT_EQ(find(res::VK_BACK, false, false, true), ID_EDIT_UNDO);
  EXPECT_EQ(find('R', true, false, false), ID_EDIT_ROTATE);
}

}  // namespace
