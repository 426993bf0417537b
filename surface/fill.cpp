// Area fill: the polygon through the points a fill collected, drawn with
// the drawing recipe and a brush even when shading is off.
#include <algorithm>
#include <cstdint>
#include <new>
#include <vector>

#include "surface/drawing_recipe.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/wrap_arith.h"

int CGrDrv::BeginFill(CGraphicsState* state) {
  if (!state) return 0;
  pointList.reset(new (std::nothrow) CPointList);
  return pointList ? 1 : 0;
}

void CGrDrv::DiscardFill() {
  if (!pointList) return;
  pointList->Clear();
  pointList.reset();
}

int CGrDrv::FillPolygon(CGraphicsState* state) {
  if (!pointList || pointList->Count() < 3 || !state) return 0;
  CDrawingRecipe recipe(*this, *state, 1);
  if (recipe.Skip()) return 0;

  // Every collected point is a vertex, also past 65535 of them.
  std::vector<POINT> points;
  try {
    points.reserve(static_cast<size_t>(pointList->Count()));
  } catch (const std::bad_alloc&) {
    return 0;
  }
  int32_t minX = 32767, minY = 32767, maxX = -32767, maxY = -32767;
  while (pointList->Count() > 0) {
    const POINT unit = pointList->get();
    const POINT pixel{PixelX(unit.x), PixelY(unit.y)};
    minX = std::min<int32_t>(minX, pixel.x);
    minY = std::min<int32_t>(minY, pixel.y);
    maxX = std::max<int32_t>(maxX, pixel.x);
    maxY = std::max<int32_t>(maxY, pixel.y);
    points.push_back(pixel);
  }
  Polygon(recipe.DC(), points.data(), static_cast<int>(points.size()));

  auto clampX = [this](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, 0, pageWidth)); };
  auto clampY = [this](int64_t v) { return static_cast<LONG>(std::clamp<int64_t>(v, 0, pageHeight)); };
  const RECT box{clampX(minX), clampY(minY), clampX(int64_t{maxX} + 1), clampY(int64_t{maxY} + 1)};
  recipe.Finish(&box);
  InvalidateDrawn(state, RECT{SubWrap(minX, scrollX), SubWrap(minY, scrollY),
                              AddWrap(SubWrap(maxX, scrollX), 1), AddWrap(SubWrap(maxY, scrollY), 1)});
  return 1;
}
