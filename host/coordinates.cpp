#include "host/coordinates.h"

int32_t Wrap32(int64_t value) {
  return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(value)));
}

int32_t Mul32(int32_t a, int32_t b) {
  return Wrap32(static_cast<int64_t>(a) * b);
}

int32_t Sub32(int32_t a, int32_t b) {
  return Wrap32(static_cast<int64_t>(a) - b);
}

int32_t Div32(int32_t a, int32_t b) {
  if (b == 0) return 0;
  if (b == -1) return Wrap32(-static_cast<int64_t>(a));
  return a / b;
}

CTekSpace TekSpace(int hiRes) {
  return hiRes ? CTekSpace{4096, 3072} : CTekSpace{1024, 768};
}

POINT TekToRegis(POINT tek, CTekSpace space) {
  POINT regis;
  regis.x = Div32(Mul32(tek.x, 800), space.width);
  regis.y = Div32(Mul32(Sub32(space.height, tek.y), 480), space.height);
  return regis;
}

POINT RegisToTek(POINT regis, CTekSpace space) {
  POINT tek;
  tek.x = Div32(Mul32(regis.x, space.width), 800);
  tek.y = Sub32(space.height, Div32(Mul32(regis.y, space.height), 480));
  return tek;
}

POINT RegisToWindow(POINT regis, const CWindowGrid& grid) {
  POINT pixel;
  pixel.x = Div32(Mul32(Mul32(regis.x, grid.columns), grid.cellWidth), 800);
  pixel.y = Div32(Mul32(Mul32(regis.y, grid.rows), grid.cellHeight), 480);
  return pixel;
}

POINT WindowToRegis(POINT pixel, const CWindowGrid& grid) {
  POINT regis;
  regis.x = Div32(Mul32(pixel.x, 800), Mul32(grid.columns, grid.cellWidth));
  regis.y = Div32(Mul32(pixel.y, 480), Mul32(grid.rows, grid.cellHeight));
  return regis;
}
