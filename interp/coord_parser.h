// The bracketed coordinate argument ([100,200], [+10,-5], [,50], []) and the
// two small routines every command parser shares: what may follow an option
// value, and where a pixel-vector digit leads.
#pragma once

#include <cstdint>
#include <memory>

#include "interp/parse_obj.h"
#include "interp/screen_transform.h"
#include "surface/text_state.h"

// The point a coordinate leaves in the interpreter's handoff slot: device
// units normally, untransformed user units while the screen-address option
// reads its corners.
struct CPointHandoff final : CHandoff {
  int32_t x = 0, y = 0;
};
struct CRawPointHandoff final : CHandoff {
  double x = 0.0, y = 0.0;
};

// Takes the point a finished coordinate left and empties the slot; false
// when the slot held no point. A raw point is converted to device units.
bool TakeDevicePoint(CInterpreter& interp, CPoint32& point);
// Takes a raw point (user units) and empties the slot; false when the slot
// held no raw point.
bool TakeRawPoint(CInterpreter& interp, CUserPoint& point);

class CCoordParser : public CParseObj {
 public:
  // The longest number text kept; further characters of that number are
  // dropped.
  static constexpr int kMaxText = 255;

  enum class State : int32_t {
    Start1 = 1,         // first character after '['
    ReadX25 = 25,       // reading x
    AfterComma26 = 26,  // after the comma, y not started
    ReadY32 = 32,       // reading y
    AfterThird33 = 33,  // after a third component
  };

  enum class Sign : int32_t {
    Absolute0 = 0,
    PlusX27 = 27,
    MinusX28 = 28,
    DefaultY29 = 29,  // the comma came and y has not started: y defaults to the base
    PlusY30 = 30,
    MinusY31 = 31,
  };

  int Parse(char ch, CInterpreter& interp) override;
  size_t TakeDigits(const char* text) override;

 private:
  void Begin(CInterpreter& interp);
  void Append(char ch);
  double TakeNumber();
  double ApplySign(double base, double number, Sign plus, Sign minus) const;
  int Deliver(CInterpreter& interp);
  int Refuse(char ch, CInterpreter& interp);

  State state_ = State::Start1;
  Sign sign_ = Sign::Absolute0;
  CPoint32 start_;
  CUserPoint base_;
  int32_t skipping_ = 0;
  CUserPoint value_;
  // Only the first length_ characters are ever read (a terminator is put
  // after them before conversion), so the buffer is not cleared: a parser
  // is made for every bracket.
  char text_[kMaxText + 1];
  int32_t length_ = 0;
};

// The caller's states that CloseOptionList moves to.
constexpr int kOptionStateStart = 1;
constexpr int kOptionStateLetter = 3;

// What may follow an option value: a separator (another option letter may
// follow), the ')' that closes the list, or an error. Sets state to 1 or 3.
int CloseOptionList(char ch, int32_t& depth, int& state, int returnOnClose, CInterpreter& interp);

// The same for parsers whose state enumeration gives Start the value 1 and
// OptionLetter the value 3.
template <class State>
int CloseOptionList(char ch, int32_t& depth, State& state, int returnOnClose, CInterpreter& interp) {
  int plain = static_cast<int>(state);
  const int status = CloseOptionList(ch, depth, plain, returnOnClose, interp);
  state = static_cast<State>(plain);
  return status;
}

// The target of one pixel-vector digit from (x, y): digits 0..7 step by the
// multiplier times the magnitude of the screen-address scale, counter-
// clockwise from right; 8 and 9 record error 1 with the digit's value.
CPoint32 PixelVectorStep(int digit, int multiplier, int x, int y, CInterpreter& interp);
