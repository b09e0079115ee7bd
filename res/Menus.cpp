#include "res/Resources.h"

namespace res {

namespace {

MenuItem Item(const char* text, int id) { return {MenuItem::command, text, id, {}}; }
MenuItem Separator() { return {MenuItem::separator, "", 0, {}}; }
MenuItem Popup(const char* text, std::vector<MenuItem> items) { return {MenuItem::popup, text, 0, std::move(items)}; }

MenuItem PenMenu() {
  return Popup(
      "&Pen", {Item("&Color", ID_PEN_COLOR),
               Popup("&Style", {Item("Null", ID_PEN_STYLE_NULL), Item("Solid", ID_PEN_STYLE_SOLID),
                                Item("Dash", ID_PEN_STYLE_DASH), Item("Dot", ID_PEN_STYLE_DOT),
                                Item("Dash Dot", ID_PEN_STYLE_DASHDOT), Item("Dash Dot Dot", ID_PEN_STYLE_DASHDOTDOT)}),
               Popup("&Width", {Item("Normal", ID_PEN_WIDTH_NORMAL), Item("Bold", ID_PEN_WIDTH_BOLD),
                                Item("Extra Bold", ID_PEN_WIDTH_EXTRABOLD)})});
}

MenuItem BrushMenu() {
  return Popup(
      "&Brush",
      {Item("&Color", ID_BRUSH_COLOR),
       Popup("&Style", {Item("Paint", ID_BRUSH_STYLE_PAINT), Item("Transparent", ID_BRUSH_STYLE_TRANSPARENT),
                        Item("Horizontal", ID_BRUSH_STYLE_HORIZONTAL), Item("Vertical", ID_BRUSH_STYLE_VERTICAL),
                        Item("B - Diagonal", ID_BRUSH_STYLE_BDIAGONAL), Item("F - Diagonal", ID_BRUSH_STYLE_FDIAGONAL),
                        Item("Cross", ID_BRUSH_STYLE_CROSS), Item("Cross Diagonal", ID_BRUSH_STYLE_CROSSDIAGONAL)})});
}

MenuItem ObjectMenu() {
  return Popup("&Object",
               {Item("&Line", ID_OBJECT_LINE), Item("&Bezier", ID_OBJECT_BEZIER), Item("&Ellipse", ID_OBJECT_ELLIPSE),
                Item("&Rectangle", ID_OBJECT_RECTANGLE), Item("Polygon Rectangle", ID_OBJECT_POLYGONRECT)});
}

MenuItem ZoomMenu() {
  return Popup("Zoom", {Item("50%", ID_ZOOM_50), Item("100%", ID_ZOOM_100), Item("200%", ID_ZOOM_200),
                        Item("300%", ID_ZOOM_300), Item("500%", ID_ZOOM_500)});
}

MenuItem HelpMenu() { return Popup("&Help", {Item("&About Quirra...", ID_APP_ABOUT)}); }

}  // namespace

const std::vector<MenuItem>& LoadMenu(int id) {
  static const std::vector<MenuItem> mainframe = {
      Popup("&File", {Item("&New\tCtrl+N", ID_FILE_NEW), Item("&Open...\tCtrl+O", ID_FILE_OPEN), Separator(),
                      Item("Recent File", ID_FILE_MRU_FILE1), Separator(), Item("E&xit", ID_APP_EXIT)}),
      Popup("&View", {Item("&Toolbar", ID_VIEW_TOOLBAR), Item("&Status Bar", ID_VIEW_STATUS_BAR)}),
      HelpMenu(),
  };
  static const std::vector<MenuItem> document = {
      Popup("&File",
            {Item("&New\tCtrl+N", ID_FILE_NEW), Item("&Open...\tCtrl+O", ID_FILE_OPEN), Item("&Close", ID_FILE_CLOSE),
             Item("&Save\tCtrl+S", ID_FILE_SAVE), Item("Save &As...", ID_FILE_SAVE_AS), Separator(),
             Item("Recent File", ID_FILE_MRU_FILE1), Separator(), Item("E&xit", ID_APP_EXIT)}),
      Popup("&Edit",
            {Item("&Rotate\tCtrl+R", ID_EDIT_ROTATE), Separator(), Item("Totally Forwards", ID_EDIT_TOTALLYFORWARDS),
             Item("&Forwards\tUp", ID_EDIT_FORWARDS), Item("&Backwards\tDown", ID_EDIT_BACKWARDS),
             Item("Totally Backwards", ID_EDIT_TOTALLYBACKWARDS), Separator(), Item("&Delete\tDel", ID_EDIT_DELETE),
             Separator(), Item("Cu&t\tCtrl+X", ID_EDIT_CUT), Item("&Copy\tCtrl+C", ID_EDIT_COPY),
             Item("&Paste\tCtrl+V", ID_EDIT_PASTE), Separator(), Item("&Properties", ID_EDIT_PROPERTIES)}),
      Popup("&View",
            {Item("&Toolbar", ID_VIEW_TOOLBAR), Item("&Status Bar", ID_VIEW_STATUS_BAR), Separator(), ZoomMenu()}),
      Popup("&Window", {Item("&New Window", ID_WINDOW_NEW), Item("&Cascade", ID_WINDOW_CASCADE),
                        Item("&Tile", ID_WINDOW_TILE_HORZ), Item("&Arrange Icons", ID_WINDOW_ARRANGE)}),
      HelpMenu(),
      PenMenu(),
      BrushMenu(),
      ObjectMenu(),
  };
  static const std::vector<MenuItem> popup = {
      Popup("_POPUP_",
            {Item("Cu&t", ID_EDIT_CUT), Item("&Copy", ID_EDIT_COPY), Item("&Paste", ID_EDIT_PASTE), Separator(),
             Item("&Delete", ID_EDIT_DELETE), Separator(), Item("Totally Forwards", ID_EDIT_TOTALLYFORWARDS),
             Item("&Forwards", ID_EDIT_FORWARDS), Item("&Backwards", ID_EDIT_BACKWARDS),
             Item("Totally Backwards", ID_EDIT_TOTALLYBACKWARDS), Separator(), PenMenu(), BrushMenu(), ObjectMenu(),
             Separator(), ZoomMenu(), Item("&Rotate", ID_EDIT_ROTATE), Item("&Properties", ID_EDIT_PROPERTIES)}),
  };
  static const std::vector<MenuItem> none;
  switch (id) {
    case IDR_MAINFRAME: return mainframe;
    case IDR_TAVLOTYPE: return document;
    case IDR_POPUP: return popup;
    default: return none;
  }
}

const std::vector<Accelerator>& LoadAccelerators(int id) {
  static const std::vector<Accelerator> table = {
      {'C', true, false, false, ID_EDIT_COPY},        {'N', true, false, false, ID_FILE_NEW},
      {'O', true, false, false, ID_FILE_OPEN},        {'R', true, false, false, ID_EDIT_ROTATE},
      {'S', true, false, false, ID_FILE_SAVE},        {'V', true, false, false, ID_EDIT_PASTE},
      {VK_BACK, false, false, true, ID_EDIT_UNDO},    {VK_DELETE, false, false, false, ID_EDIT_DELETE},
      {VK_DELETE, false, true, false, ID_EDIT_CUT},   {VK_DOWN, false, false, false, ID_EDIT_BACKWARDS},
      {VK_F6, false, false, false, ID_NEXT_PANE},     {VK_F6, false, true, false, ID_PREV_PANE},
      {VK_INSERT, true, false, false, ID_EDIT_COPY},  {VK_INSERT, false, true, false, ID_EDIT_PASTE},
      {VK_UP, false, false, false, ID_EDIT_FORWARDS}, {'X', true, false, false, ID_EDIT_CUT},
      {'Z', true, false, false, ID_EDIT_UNDO},
  };
  static const std::vector<Accelerator> none;
  return id == IDR_MAINFRAME ? table : none;
}

const std::vector<Accelerator>& EditorKeys() {
  static const std::vector<Accelerator> keys = {
      {'Y', true, false, false, ID_EDIT_REDO},
      {'Z', true, true, false, ID_EDIT_REDO},
  };
  return keys;
}

const std::vector<int>& ToolbarButtons() {
  static const std::vector<int> buttons = {
      ID_FILE_NEW,   ID_FILE_OPEN,   ID_FILE_SAVE,  ID_SEPARATOR,   ID_EDIT_CUT,  ID_EDIT_COPY,
      ID_EDIT_PASTE, ID_SEPARATOR,   ID_FILE_PRINT, ID_SEPARATOR,   ID_APP_ABOUT, ID_EDIT_PROPERTIES,
      ID_SEPARATOR,  ID_EDIT_DELETE, ID_SEPARATOR,  ID_EDIT_ROTATE,
  };
  return buttons;
}

const std::vector<int>& StatusIndicators() {
  static const std::vector<int> indicators = {ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM, ID_INDICATOR_SCRL};
  return indicators;
}

}  // namespace res
