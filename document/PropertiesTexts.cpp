#include "document/PropertiesTexts.h"

#include "model/CShape.h"

namespace {

std::string Name(int code, std::initializer_list<std::pair<int, const char*>> names) {
  for (const auto& [value, name] : names)
    if (value == code) return name;
  return "Unknow";
}

std::string Components(COLORREF c) {
  return std::to_string(GetRValue(c)) + ", " + std::to_string(GetGValue(c)) + ", " + std::to_string(GetBValue(c));
}

}  // namespace

std::array<std::string, 9> PropertiesTexts(const CShape& s, int objectNumber) {
  std::string points = "Other:";
  for (int i = 0; i < s.GetPointCount(); ++i)
    points += "\t" + std::to_string(s.GetPoint(i).x) + "\t" + std::to_string(s.GetPoint(i).y) + "\n";
  return {
      "Object number:\t" + std::to_string(objectNumber),
      "Object type:\t" +
          Name(s.GetType(), {{1, "Line"}, {2, "Rectangle"}, {3, "Polygon (rectangle)"}, {5, "Bezier"}, {6, "Ellipse"}}),
      "Color:\t" + Components(s.GetPenColor()),
      "Style:\t" + Name(s.GetPenStyle(),
                        {{0, "Solid"}, {1, "Dash"}, {2, "Dot"}, {3, "Dash Dot"}, {4, "Dash Dot Dot"}, {5, "Null"}}),
      "Width:\t" + Name(s.GetPenWidth(), {{1, "Normal"}, {2, "Bold"}, {3, "Extra Bold"}}),
      "Color:\t" + Components(s.GetBrushColor()),
      "Style:\t" + Name(s.GetBrushStyle(), {{-200, "Transparent"},
                                            {-100, "Paint"},
                                            {0, "Horizontal"},
                                            {1, "Vertical"},
                                            {2, "F - diagonal"},
                                            {3, "B - diagonal"},
                                            {4, "Cross"},
                                            {5, "Cross diagonal"}}),
      "Center:\t" + std::to_string(s.GetCenter().x) + "\t" + std::to_string(s.GetCenter().y),
      points,
  };
}
