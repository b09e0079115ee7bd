#pragma once

#include <string>
#include <vector>

#include "res/CommandIds.h"

// The program's resources as data: string table, menus, accelerator table, toolbar and status-bar
// indicators. The shell builds its windows from these; nothing here depends on a window system.
namespace res {

// The string with this id, or an empty string when there is none. For a command the text before
// "\n" is its status-bar prompt and the text after it its tooltip.
std::string LoadString(int id);
std::string Prompt(int id);   // the part before "\n"
std::string Tooltip(int id);  // the part after "\n", empty when there is none

struct MenuItem {
  enum Kind { command, separator, popup };
  Kind kind;
  std::string text;  // "&" marks the mnemonic; a key name may follow a tab
  int id = 0;
  std::vector<MenuItem> items;  // a popup's items
};

// Menus 128 (no document open), 129 (a document window active) and 103 (the context menu, one
// popup). An unknown id gives an empty menu.
const std::vector<MenuItem>& LoadMenu(int id);

enum Key : int {
  VK_BACK = 0x08,
  VK_INSERT = 0x2D,
  VK_DELETE = 0x2E,
  VK_UP = 0x26,
  VK_DOWN = 0x28,
  VK_F6 = 0x75,
};

// A key: a virtual-key code (letters are their capital ASCII code) with modifiers.
struct Accelerator {
  int key;
  bool ctrl;
  bool shift;
  bool alt;
  int id;
};
const std::vector<Accelerator>& LoadAccelerators(int id);
// Keys the editor binds beyond that table, in the main window as well: Ctrl+Y and Ctrl+Shift+Z
// for Redo.
const std::vector<Accelerator>& EditorKeys();

// Toolbar 128: command ids left to right, ID_SEPARATOR for a gap. The n-th non-separator button
// shows the n-th 16x16 image of the toolbar picture.
const std::vector<int>& ToolbarButtons();

// Status bar: the message pane (ID_SEPARATOR), then the key-state panes.
const std::vector<int>& StatusIndicators();

// "\nTavlo\nTavlo\nQuirra Files (*.qrf)\n.qrf\nQuirra.Document\nTavlo Document", field by field.
struct DocTemplateStrings {
  std::string windowTitle;
  std::string docName;
  std::string fileNewName;
  std::string filterName;
  std::string filterExt;
  std::string regFileTypeId;
  std::string regFileTypeName;
};
DocTemplateStrings TemplateStrings();

}  // namespace res
