#pragma once

#include <vector>

#include <QByteArray>
#include <QSize>

class CTavlo;

// A drawing as SVG that other programs draw the way the editor paints it: sized in pixels, one
// group of plain elements per shape, hatches as small shared patterns, dashed pens over a white
// stroke that fills their gaps, and one-pixel lines on pixel centres so that they stay sharp.
class SvgPicture final {
 public:
  // The shapes of `drawing` listed in `order` (indices, back to front) at `zoom`, on a white
  // picture of `size` pixels.
  static QByteArray Write(const CTavlo& drawing, int zoom, const std::vector<int>& order, QSize size);
};
