#pragma once

// Codes of a shape's kind, pen and brush, as stored in shape records and files.

enum ShapeKind : int {
  kLine = 1,
  kRectangle = 2,
  kPolygonRect = 3,
  kClosedOutline = 4,  // never stored by the editor: draws any shape's points as a closed polygon
  kBezier = 5,
  kEllipse = 6,
};

enum BrushStyleCode : int {
  kBrushTransparent = -200,
  kBrushPaint = -100,
  kBrushUnset = -1,  // what a bare record, and every Line, carries
};

// Grip kinds: what the last press on the selected shape took hold of.
enum HitKind : int {
  HIT_NONE = 0,
  HIT_VERTEX = 1,
  HIT_EDGE = 2,
  HIT_OUTLINE = 3,
  HIT_ROTATE = 4,
  HIT_CENTER = 5,
};

constexpr int kMaxPoints = 10;
