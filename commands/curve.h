// The curve command C: circles and arcs about the current position or about
// the given point, and interpolated curves through the points between a B
// or S option and the option list (E).
#pragma once

#include <cstdint>
#include <memory>

#include "interp/parse_obj.h"
#include "surface/curve_point_list.h"
#include "surface/text_state.h"

class CCurveCmd : public CParseObj {
 public:
  // Start and OptionLetter have the values CloseOptionList moves to.
  enum class State : int32_t {
    Start = 1,
    AfterCoordinate = 2,
    OptionLetter = 3,
    AfterWrite = 4,
    OptionEnd = 5,
    CentreOption = 6,
    ArcAngle = 7,
    AfterOptions = 8,
    CurveOpen = 9,
    CurvePoints = 10,
    CurveCoordinate = 11,
    CurveEnd = 12,
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }
  // The curve being defined, null outside a B or S definition.
  const CCurvePointList* curve() const { return curve_.get(); }

 private:
  // A circle or arc with one end at p and the other at the snapshot.
  void DrawAt(CInterpreter& interp, CPoint32 p);
  // A curve point: the position moves there and the curve takes it.
  void AddCurvePoint(CInterpreter& interp, CPoint32 p);
  bool PushCoordinate(CInterpreter& interp, char ch);
  bool PushWrite(CInterpreter& interp, char ch);

  State state_ = State::Start;
  bool lastOptionWasW_ = false;
  int32_t depth_ = 0;
  int32_t multiplier_ = 1;
  int32_t arcAngle_ = 0;
  CPoint32 snapshot_;
  bool move_ = false;
  bool centre_ = false;
  bool arc_ = false;
  bool negative_ = false;
  bool closed_ = false;
  std::unique_ptr<CCurvePointList> curve_;
};
