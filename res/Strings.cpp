#include <map>

#include "res/Resources.h"

namespace res {

namespace {

const std::map<int, std::string>& Table() {
  static const std::map<int, std::string> table = {
      {IDR_MAINFRAME, "Quirra"},
      {IDR_TAVLOTYPE, "\nTavlo\nTavlo\nQuirra Files (*.qrf)\n.qrf\nQuirra.Document\nTavlo Document"},
      {ID_PEN_COLOR, "Set the pen color\nPen color"},
      {ID_BRUSH_COLOR, "Set the brush color\nBrush color"},
      {ID_EDIT_DELETE, "Delete the selection\nDelete"},
      {ID_EDIT_BACKWARDS, "Backwards the selection"},
      {ID_EDIT_FORWARDS, "Forwards the selection"},
      {ID_EDIT_TOTALLYFORWARDS, "Totally forward the selection"},
      {ID_EDIT_TOTALLYBACKWARDS, "Totally backwards the selection"},
      {ID_ZOOM_50, "Window zoom"},
      {ID_ZOOM_100, "Window zoom"},
      {ID_ZOOM_200, "Window zoom"},
      {ID_ZOOM_300, "Window zoom"},
      {ID_ZOOM_500, "Window zoom"},
      {ID_EDIT_ROTATE, "Set rotate mode\nRotate"},
      {ID_EDIT_PROPERTIES, "Current selection's properties\nProperties"},

      {AFX_IDS_APP_TITLE, "Quirra"},
      {AFX_IDS_IDLEMESSAGE, "Ready"},
      {ID_FILE_NEW, "Create a new document\nNew"},
      {ID_FILE_OPEN, "Open an existing document\nOpen"},
      {ID_FILE_CLOSE, "Close the active document\nClose"},
      {ID_FILE_SAVE, "Save the active document\nSave"},
      {ID_FILE_SAVE_AS, "Save the active document with a new name\nSave As"},
      {ID_EDIT_COPY, "Copy the selection and put it on the Clipboard\nCopy"},
      {ID_EDIT_CUT, "Cut the selection and put it on the Clipboard\nCut"},
      {ID_EDIT_PASTE, "Insert Clipboard contents\nPaste"},
      {ID_EDIT_UNDO, "Undo the last action\nUndo"},
      {ID_WINDOW_NEW, "Open another window for the active document\nNew Window"},
      {ID_WINDOW_ARRANGE, "Arrange icons at the bottom of the window\nArrange Icons"},
      {ID_WINDOW_CASCADE, "Arrange windows so they overlap\nCascade Windows"},
      {ID_WINDOW_TILE_HORZ, "Arrange windows as non-overlapping tiles\nTile Windows"},
      {ID_APP_ABOUT, "Display program information, version number and copyright\nAbout"},
      {ID_APP_EXIT, "Quit the application; prompts to save documents\nExit"},
      {ID_INDICATOR_CAPS, "CAP"},
      {ID_INDICATOR_NUM, "NUM"},
      {ID_INDICATOR_SCRL, "SCRL"},
      {ID_VIEW_TOOLBAR, "Show or hide the toolbar\nToggle ToolBar"},
      {ID_VIEW_STATUS_BAR, "Show or hide the status bar\nToggle StatusBar"},

      // Standard prompts no menu of this program uses.
      {57632, "Erase the selection\nErase"},
      {57633, "Erase everything\nErase All"},
      {57636, "Find the specified text\nFind"},
      {57640, "Repeat the last action\nRepeat"},
      {57641, "Replace specific text with different text\nReplace"},
      {57642, "Select the entire document\nSelect All"},
      {ID_EDIT_REDO, "Redo the previously undone action\nRedo"},
      {57652, "Arrange windows as non-overlapping tiles\nTile Windows"},
      {57653, "Split the active window into panes\nSplit"},
      {ID_NEXT_PANE, "Switch to the next window pane\nNext Pane"},
      {ID_PREV_PANE, "Switch back to the previous window pane\nPrevious Pane"},
      {59136, "EXT"},
      {59140, "OVR"},
      {59141, "REC"},
      {61184, "Change the window size"},
      {61185, "Change the window position"},
      {61186, "Reduce the window to an icon"},
      {61187, "Enlarge the window to full size"},
      {61188, "Switch to the next document window"},
      {61189, "Switch to the previous document window"},
      {61190, "Close the active window and prompts to save the documents"},
      {61202, "Restore the window to normal size"},
      {61203, "Activate Task List"},
      {61215, "Activate this window"},
  };
  return table;
}

}  // namespace

std::string LoadString(int id) {
  if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_LAST) return "Open this document";
  const auto it = Table().find(id);
  return it == Table().end() ? std::string() : it->second;
}

std::string Prompt(int id) {
  const std::string s = LoadString(id);
  return s.substr(0, s.find('\n'));
}

std::string Tooltip(int id) {
  const std::string s = LoadString(id);
  const size_t nl = s.find('\n');
  return nl == std::string::npos ? std::string() : s.substr(nl + 1);
}

DocTemplateStrings TemplateStrings() {
  std::vector<std::string> parts;
  const std::string s = LoadString(IDR_TAVLOTYPE);
  size_t start = 0;
  for (size_t nl; (nl = s.find('\n', start)) != std::string::npos; start = nl + 1)
    parts.push_back(s.substr(start, nl - start));
  parts.push_back(s.substr(start));
  parts.resize(7);
  return {parts[0], parts[1], parts[2], parts[3], parts[4], parts[5], parts[6]};
}

}  // namespace res
