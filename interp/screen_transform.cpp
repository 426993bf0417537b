#include "interp/screen_transform.h"

#include <cmath>
#include <limits>

#include "interp/interpreter.h"

namespace {

// A scale that cannot be divided by behaves as no scaling at all.
double UsableScale(double scale) {
  return (scale == 0.0 || !std::isfinite(scale)) ? 1.0 : scale;
}

double AxisToDevice(double user, double scale, double offset) {
  return (user + offset) * UsableScale(scale);
}

double AxisToUser(double device, double scale, double offset) {
  // Dividing by one gives the dividend exactly: the unscaled screen, which
  // every coordinate's base goes through, needs no division.
  if (scale == 1.0) return device - offset;
  return device / UsableScale(scale) - offset;
}

// The magnitude of a scale that is kept when the new rectangle gives none.
double KeptMagnitude(double previous) {
  return std::fabs(UsableScale(previous));
}

// The signed scale and the offset of one axis: the first corner lands on the
// device origin, the axis runs towards the second corner.
void FitAxis(double first, double second, double magnitude, int32_t origin, double& scale, double& offset) {
  scale = second < first ? -magnitude : magnitude;
  offset = origin / scale - first;
}

}  // namespace

CScreenTransform TransformOf(const CInterpreter& interp) {
  return CScreenTransform{interp.sx, interp.ox, interp.sy, interp.oy};
}

CUserPoint UserToDevice(const CScreenTransform& t, CUserPoint user) {
  return CUserPoint{AxisToDevice(user.x, t.sx, t.ox), AxisToDevice(user.y, t.sy, t.oy)};
}

CUserPoint DeviceToUser(const CScreenTransform& t, CUserPoint device) {
  return CUserPoint{AxisToUser(device.x, t.sx, t.ox), AxisToUser(device.y, t.sy, t.oy)};
}

int32_t RoundToDevice(double value) {
  const double shifted = value + 0.5;
  if (std::isnan(shifted)) return 0;
  // Everything at or above 2^31 truncates above the range; everything at or
  // below -2^31 - 1 truncates below it.
  if (shifted >= 2147483648.0) return std::numeric_limits<int32_t>::max();
  if (shifted <= -2147483649.0) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(shifted);
}

CScreenTransform FitScreenAddress(CUserPoint first, CUserPoint second, const CDeviceRect& device,
                                  const CScreenTransform& previous) {
  const bool changed = std::trunc(first.x) != device.x1 || std::trunc(first.y) != device.y1 ||
                       std::trunc(second.x) != device.x2 || std::trunc(second.y) != device.y2;
  if (!changed) return CScreenTransform{};

  const double userWidth = std::fabs(second.x - first.x);
  const double userHeight = std::fabs(second.y - first.y);
  const double deviceWidth = device.Width();
  const double deviceHeight = device.Height();

  double magnitudeX = KeptMagnitude(previous.sx);
  double magnitudeY = KeptMagnitude(previous.sy);
  const bool usable = userWidth > 0.0 && userHeight > 0.0 && std::isfinite(userWidth) &&
                      std::isfinite(userHeight) && deviceWidth > 0.0 && deviceHeight > 0.0;
  if (usable) {
    const double r = userHeight / userWidth;
    const double r0 = deviceHeight / deviceWidth;
    if (r != r0) {
      double a, b;  // the fitted device extents
      if (r < r0) {
        a = deviceWidth;
        b = deviceWidth * r;
      } else {
        b = deviceHeight;
        a = deviceHeight / r;
      }
      magnitudeX = a / userWidth;
      magnitudeY = b / userHeight;
    }
  }

  CScreenTransform t;
  FitAxis(first.x, second.x, magnitudeX, device.x1, t.sx, t.ox);
  FitAxis(first.y, second.y, magnitudeY, device.y1, t.sy, t.oy);
  return t;
}
