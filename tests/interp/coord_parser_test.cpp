// Coordinate arguments, the screen-address transform they go through, and the
// two routines every command shares: closing an option list and stepping by a
// pixel-vector digit.
#include "interp/coord_parser.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <string>

#include "interp/interpreter.h"
#include "interp/screen_transform.h"
#include "support/test_host.h"
#include "surface/graphics_state.h"

namespace {

struct Delivery {
  bool returned = false;  // PARSE_RETURN came exactly with the closing ']'
  bool delivered = false;
  CPoint32 point;
};

// Offers the characters after '[' to a fresh coordinate parser, as a command
// parser would, and takes the point it leaves.
Delivery ParseCoordinate(CTestHost& host, const std::string& afterBracket) {
  CInterpreter& interp = *host.Interpreter();
  CCoordParser parser;
  Delivery d;
  for (size_t i = 0; i < afterBracket.size(); ++i) {
    const int status = parser.Parse(afterBracket[i], interp);
    if (status == PARSE_RETURN) {
      d.returned = i + 1 == afterBracket.size() && afterBracket[i] == ']';
      break;
    }
    EXPECT_EQ(status, PARSE_CONTINUE) << "at " << i << " of " << afterBracket;
  }
  d.delivered = TakeDevicePoint(interp, d.point);
  return d;
}

void SetPosition(CTestHost& host, int x, int y) {
  host.State()->x = x;
  host.State()->y = y;
}

void SetTransform(CInterpreter& interp, const CScreenTransform& t) {
  interp.sx = t.sx;
  interp.ox = t.ox;
  interp.sy = t.sy;
  interp.oy = t.oy;
}

TEST(CoordinateArgument, DeliversThePointAndRecordsTheError) {
  const struct {
    const char* name;
    const char* text;  // after '['
    int x, y;          // from the current position (300, 200)
    int error, errorChar;
  } rows[] = {
      {"EmptyDeliversTheCurrentPosition", "]", 300, 200, 0, 0},
      {"OmittedXKeepsX", ",100]", 300, 100, 0, 0},
      {"OmittedYKeepsY", "100]", 100, 200, 0, 0},
      {"EmptyYAfterTheCommaKeepsY", "100,]", 100, 200, 0, 0},
      {"SignsMoveFromTheCurrentPosition", "+10,-10]", 310, 190, 0, 0},
      {"AMinusSignIsNeverAnAbsoluteValue", "-5,0]", 295, 0, 0, 0},
      {"FractionsBelowAHalfRoundDown", "12.4,0]", 12, 0, 0, 0},
      {"AHalfRoundsUp", "12.5,0]", 13, 0, 0, 0},
      {"ARelativeHalfRoundsUp", ",+.5]", 300, 201, 0, 0},
      {"ALeadingPointStartsANumber", ".5,.5]", 1, 1, 0, 0},
      {"ExponentsAreRead", "1E2,2E1]", 100, 20, 0, 0},
      {"ASignInsideANumberEndsIt", "10-5,0]", 10, 0, 0, 0},
      {"AnEmptyRelativeNumberMovesByZero", "+,5]", 300, 5, 0, 0},
      {"SpacesAreIgnored", " 1 0 , 2 0 ]", 10, 20, 0, 0},
      {"AThirdComponentIsAnError3", "1,2,3]", 1, 2, 3, 0},
      {"AThirdComponentAfterAnEmptyYKeepsY", "1,,3]", 1, 200, 3, 0},
      {"ABadCharacterIsSkippedUpToTheComma", "1Q,2]", 1, 2, 1, 'Q'},
      {"ABadFirstCharacterStillDelivers", "Q]", 300, 200, 1, 'Q'},
      {"AfterAThirdComponentOnlyDigitsAreQuiet", "1,2,3X]", 1, 2, 1, 'X'},
      {"HugeValuesClampToTheIntegerRange", "99999999999,-99999999999]", INT_MAX, INT_MIN, 0, 0},
      {"InfiniteValuesClampToTheIntegerRange", "1E400,-1E400]", INT_MAX, INT_MIN, 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    SetPosition(host, 300, 200);
    const Delivery d = ParseCoordinate(host, c.text);
    EXPECT_TRUE(d.returned);
    ASSERT_TRUE(d.delivered);
    EXPECT_EQ(d.point.x, c.x);
    EXPECT_EQ(d.point.y, c.y);
    EXPECT_EQ(host.Interpreter()->lastError, c.error);
    EXPECT_EQ(host.Interpreter()->lastErrorChar, c.errorChar);
  }
}

TEST(CoordinateArgument, EveryCharacterRefusedAfterAnErrorIsRecordedAgain) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  CCoordParser parser;
  for (char ch : std::string("1Q")) parser.Parse(ch, interp);
  EXPECT_EQ(interp.lastErrorChar, 'Q');
  EXPECT_EQ(parser.Parse('7', interp), PARSE_CONTINUE);
  EXPECT_EQ(interp.lastError, 1);
  EXPECT_EQ(interp.lastErrorChar, '7');
}

TEST(CoordinateArgument, WithoutRelativeCountingTheBaseIsTheOrigin) {
  CTestHost host;
  SetPosition(host, 300, 200);
  host.Interpreter()->flags &= ~kFlagRelativeFromCurrent;
  Delivery d = ParseCoordinate(host, "]");
  EXPECT_EQ(d.point.x, 0);
  EXPECT_EQ(d.point.y, 0);
  d = ParseCoordinate(host, "+10,]");
  EXPECT_EQ(d.point.x, 10);
  EXPECT_EQ(d.point.y, 0);
}

TEST(CoordinateArgument, ANumberLongerThanTheBufferKeepsItsFirstCharactersAndParsingGoesOn) {
  CTestHost host;
  Delivery d = ParseCoordinate(host, std::string(300, '9') + ",7]");
  EXPECT_TRUE(d.returned);
  EXPECT_EQ(d.point.x, INT_MAX);
  EXPECT_EQ(d.point.y, 7);
  EXPECT_EQ(host.Interpreter()->lastError, 0);
  // 254 zeros, a 4, then a 9 that no longer fits: the number reads as 4.
  d = ParseCoordinate(host, std::string(254, '0') + "49,0]");
  EXPECT_EQ(d.point.x, 4);
}

TEST(CoordinateArgument, RawModeDeliversUserUnitsUntransformed) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  SetPosition(host, 300, 200);
  interp.sx = interp.sy = 2.0;
  interp.flags |= kFlagRawCoordinates;
  CCoordParser parser;
  for (char ch : std::string("12.5,-3")) ASSERT_EQ(parser.Parse(ch, interp), PARSE_CONTINUE);
  ASSERT_EQ(parser.Parse(']', interp), PARSE_RETURN);
  CUserPoint raw;
  ASSERT_TRUE(TakeRawPoint(interp, raw));
  EXPECT_DOUBLE_EQ(raw.x, 12.5);
  EXPECT_DOUBLE_EQ(raw.y, 100.0 - 3.0);  // the base is the position in user units
  EXPECT_EQ(interp.handoff, nullptr);
}

TEST(CoordinateArgument, AbsoluteCoordinatesGoThroughTheScreenAddressTransform) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  SetTransform(interp, FitScreenAddress({100, 50}, {899, 529}, CDeviceRect{}, CScreenTransform{}));
  Delivery d = ParseCoordinate(host, "100,50]");
  EXPECT_EQ(d.point.x, 0);
  EXPECT_EQ(d.point.y, 0);
  d = ParseCoordinate(host, "899,529]");
  EXPECT_EQ(d.point.x, 799);
  EXPECT_EQ(d.point.y, 479);
}

TEST(CoordinateArgument, RelativeZeroStaysPutUnderAnyTransform) {
  const CScreenTransform transforms[] = {
      FitScreenAddress({100, 50}, {899, 529}, CDeviceRect{}, CScreenTransform{}),
      FitScreenAddress({0, 479}, {799, 0}, CDeviceRect{}, CScreenTransform{}),
      FitScreenAddress({-400, -240}, {400, 240}, CDeviceRect{}, CScreenTransform{}),
      FitScreenAddress({1000, -50}, {200, 430}, CDeviceRect{}, CScreenTransform{}),
  };
  for (const CScreenTransform& t : transforms) {
    CTestHost host;
    SetTransform(*host.Interpreter(), t);
    SetPosition(host, 123, 321);
    const Delivery d = ParseCoordinate(host, "+0,+0]");
    EXPECT_EQ(d.point.x, 123);
    EXPECT_EQ(d.point.y, 321);
  }
}

// The screen-address transform.

TEST(ScreenTransform, ScalesFitTheRectangleAndAnExactlyEqualRatioKeepsThePreviousOnes) {
  const struct {
    const char* behaviour;
    CUserPoint second;  // the first corner is (0, 0)
    CScreenTransform previous;
    double scale;
  } rows[] = {
      {"corners at the device rectangle give the identity", {799, 479}, {3.0, 5.0, 3.0, 5.0}, 1.0},
      {"a taller rectangle is fitted by its height", {1599, 959}, {}, 479.0 / 959.0},
      {"an exactly equal ratio keeps the previous scales", {1598, 958}, {0.25, 9.0, 0.25, 9.0}, 0.25},
  };
  for (const auto& c : rows) {
    const CScreenTransform t = FitScreenAddress({0, 0}, c.second, CDeviceRect{}, c.previous);
    EXPECT_DOUBLE_EQ(t.sx, c.scale) << c.behaviour;
    EXPECT_DOUBLE_EQ(t.sy, c.scale) << c.behaviour;
    EXPECT_EQ(t.ox, 0.0) << c.behaviour;
    EXPECT_EQ(t.oy, 0.0) << c.behaviour;
  }
}

// The first corner becomes the origin and the second the far corner; the
// inverse undoes the forward transform on a grid of device points.
TEST(ScreenTransform, MapsTheCornersAndInvertsExactly) {
  const struct {
    const char* name;
    CUserPoint first, second;
    double previousScale;  // what an exactly equal aspect ratio keeps
    bool exactCorners;     // the aspect fits, so the second corner lands on the far corner
  } rows[] = {
      {"FirstCornerAtZero", {0, 0}, {799, 479}, 1.0, true},
      {"FirstCornerInside", {100, 50}, {899, 529}, 1.0, true},
      {"NegativeFirstCorner", {-799, -479}, {0, 0}, 1.0, true},
      {"YAxisFlipped", {0, 479}, {799, 0}, 1.0, true},
      {"BothAxesFlipped", {1000, 600}, {201, 121}, 1.0, true},
      {"AnEqualRatioKeepsTheHalfScale", {-100, 200}, {1498, 1158}, 0.5, true},
      {"FittedByHeight", {0, 0}, {1599, 959}, 1.0, true},
      {"FittedByHeightAroundTheCentre", {-400, -240}, {400, 240}, 1.0, false},
      {"FittedAndFlippedInX", {1000, -50}, {200, 430}, 1.0, false},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    const CScreenTransform t =
        FitScreenAddress(c.first, c.second, CDeviceRect{}, {c.previousScale, 0.0, c.previousScale, 0.0});
    const CUserPoint origin = UserToDevice(t, c.first);
    const CUserPoint far = UserToDevice(t, c.second);
    EXPECT_EQ(RoundToDevice(origin.x), 0);
    EXPECT_EQ(RoundToDevice(origin.y), 0);
    EXPECT_EQ(RoundToDevice(far.y), 479);
    if (c.exactCorners) {
      EXPECT_EQ(RoundToDevice(far.x), 799);
    } else {  // the limiting axis reaches the far side, the other stays inside
      EXPECT_GE(RoundToDevice(far.x), 790);
      EXPECT_LE(RoundToDevice(far.x), 799);
    }
    for (int x = -50; x <= 850; x += 37) {
      for (int y = -30; y <= 510; y += 29) {
        const CUserPoint back = UserToDevice(t, DeviceToUser(t, CUserPoint{double(x), double(y)}));
        EXPECT_NEAR(back.x, x, 1e-9);
        EXPECT_NEAR(back.y, y, 1e-9);
        EXPECT_EQ(RoundToDevice(back.x), RoundToDevice(x));
        EXPECT_EQ(RoundToDevice(back.y), RoundToDevice(y));
      }
    }
  }
}

TEST(ScreenTransform, AFlippedAxisKeepsItsScaleMagnitudeForPixelVectors) {
  const CScreenTransform t = FitScreenAddress({0, 959}, {1599, 0}, CDeviceRect{}, CScreenTransform{});
  EXPECT_DOUBLE_EQ(std::fabs(t.sy), 479.0 / 959.0);
  EXPECT_LT(t.sy, 0.0);
  EXPECT_GT(t.sx, 0.0);
}

TEST(ScreenTransform, AnEmptyRectangleKeepsTheScalesAndNeverDividesByZero) {
  const CScreenTransform previous{2.0, 0.0, 2.0, 0.0};
  const CScreenTransform t = FitScreenAddress({10, 10}, {10, 300}, CDeviceRect{}, previous);
  EXPECT_EQ(std::fabs(t.sx), 2.0);
  EXPECT_EQ(std::fabs(t.sy), 2.0);
  const CUserPoint d = UserToDevice(t, CUserPoint{10, 10});
  EXPECT_EQ(RoundToDevice(d.x), 0);
  EXPECT_EQ(RoundToDevice(d.y), 0);
}

TEST(ScreenTransform, RoundingAddsAHalfAndTruncatesWithinTheIntegerRange) {
  const struct {
    const char* name;
    double value;
    int32_t expected;
  } rows[] = {
      {"BelowAHalfDown", 12.4, 12},
      {"AHalfUp", 12.5, 13},
      {"MinusAHalfToZero", -0.5, 0},
      {"NegativeValuesMoveTowardZero", -10.0, -9},
      {"NegativeHalvesTruncate", -9.5, -9},
      {"TheLargestIntStays", 2147483647.0, INT_MAX},
      {"AboveTheRangeClamps", 2147483648.0, INT_MAX},
      {"TheSmallestIntIsReachable", -2147483649.0, INT_MIN},
      {"FarBelowClamps", -1e300, INT_MIN},
      {"NotANumberIsZero", std::nan(""), 0},
  };
  for (const auto& c : rows) EXPECT_EQ(RoundToDevice(c.value), c.expected) << c.name;
}

// CloseOptionList.

TEST(CloseOptionList, GivesTheStatusStateAndDepth) {
  const struct {
    const char* name;
    char ch;
    int32_t depth;
    int returnOnClose;
    int status, state, depthAfter, error;
  } rows[] = {
      {"ASpaceExpectsAnotherOption", ' ', 1, 0, PARSE_CONTINUE, kOptionStateLetter, 1, 0},
      {"ACommaExpectsAnotherOption", ',', 1, 0, PARSE_CONTINUE, kOptionStateLetter, 1, 0},
      {"TheLastParenthesisFinishesTheCaller", ')', 1, 0, PARSE_DONE, kOptionStateStart, 0, 0},
      {"TheLastParenthesisCanGoBelow", ')', 1, 1, PARSE_RETURN, kOptionStateStart, 0, 0},
      {"AnInnerParenthesisIsAnError", ')', 2, 0, PARSE_CONTINUE, kOptionStateStart, 1, 1},
      {"AnythingElseIsAnErrorBackAtTheStart", 'X', 1, 0, PARSE_CONTINUE, kOptionStateStart, 1, 1},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    CInterpreter& interp = *host.Interpreter();
    int32_t depth = c.depth;
    int state = 99;
    EXPECT_EQ(CloseOptionList(c.ch, depth, state, c.returnOnClose, interp), c.status);
    EXPECT_EQ(state, c.state);
    EXPECT_EQ(depth, c.depthAfter);
    EXPECT_EQ(interp.lastError, c.error);
    EXPECT_EQ(interp.lastErrorChar, c.error ? static_cast<uint8_t>(c.ch) : 0);
  }
}

// PixelVectorStep.

TEST(PixelVectorStep, StepsInTheDigitsDirectionAndRecordsEightAndNineByValue) {
  const struct {
    const char* name;
    int digit, multiplier;
    int x, y;
    int tx, ty;
    int error;
  } rows[] = {
      {"ZeroGoesRight", 0, 1, 100, 100, 101, 100, 0},
      {"OneGoesUpRight", 1, 1, 100, 100, 101, 99, 0},
      {"TwoGoesUp", 2, 1, 100, 100, 100, 99, 0},
      {"ThreeGoesUpLeft", 3, 1, 100, 100, 99, 99, 0},
      {"FourGoesLeft", 4, 1, 100, 100, 99, 100, 0},
      {"FiveGoesDownLeft", 5, 1, 100, 100, 99, 101, 0},
      {"SixGoesDown", 6, 1, 100, 100, 100, 101, 0},
      {"SevenGoesDownRight", 7, 1, 100, 100, 101, 101, 0},
      {"TheMultiplierLengthensTheStep", 6, 10, 100, 100, 100, 110, 0},
      {"LeftOfZeroRoundsBackToZero", 4, 1, 0, 0, 0, 0, 0},
      {"LeftOfZeroByTenGivesMinusNine", 4, 10, 0, 0, -9, 0, 0},
      {"AHugeMultiplierClamps", 0, INT_MAX, INT_MAX, 5, INT_MAX, 5, 0},
      {"EightIsAnErrorAndStaysPut", 8, 1, 40, 50, 40, 50, 1},
      {"NineIsAnErrorAndStaysPut", 9, 1, 40, 50, 40, 50, 1},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    const CPoint32 p = PixelVectorStep(c.digit, c.multiplier, c.x, c.y, *host.Interpreter());
    EXPECT_EQ(p.x, c.tx);
    EXPECT_EQ(p.y, c.ty);
    EXPECT_EQ(host.Interpreter()->lastError, c.error);
    EXPECT_EQ(host.Interpreter()->lastErrorChar, c.error ? c.digit : 0) << "the value, not the character";
  }
}

TEST(PixelVectorStep, StepsScaleByTheMagnitudeOfTheScreenScale) {
  CTestHost host;
  CInterpreter& interp = *host.Interpreter();
  interp.sx = -2.0;  // a flipped axis still steps right for 0
  interp.sy = 3.0;
  CPoint32 p = PixelVectorStep(0, 5, 100, 100, interp);
  EXPECT_EQ(p.x, 110);
  EXPECT_EQ(p.y, 100);
  p = PixelVectorStep(2, 5, 100, 100, interp);
  EXPECT_EQ(p.x, 100);
  EXPECT_EQ(p.y, 85);
}

}  // namespace
