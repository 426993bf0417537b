// The report command R: position and error reports for the host, and the
// switch between one-shot and multiple graphics input.
#pragma once

#include <cstdint>

#include "interp/parse_obj.h"

// The report texts as written to the debugger output: the current position,
// and the last error code with its character between double quotes.
constexpr char kPositionReportFormat[] = "[%d;%d]";
constexpr char kErrorReportFormat[] = "\"%d;%d\"";

class CReportCmd : public CParseObj {
 public:
  // ReportStart and ReportOptions have the values CloseOptionList moves to.
  enum class State : int32_t {
    ReportStart = 1,
    ReportNext = 2,
    ReportOptions = 3,
    ReportClose,
    ReportInput,
    ReportPosition,
    ReportPosOpt,
  };

  int Parse(char ch, CInterpreter& interp) override;

  State state() const { return state_; }

 private:
  int Error(char ch, CInterpreter& interp);
  // A separator, or the ")" that ends the list; anything else is an error
  // that keeps the state.
  int Next(char ch, CInterpreter& interp);
  void ReportError(CInterpreter& interp);
  void ReportPosition(CInterpreter& interp);

  State state_ = State::ReportStart;
  int32_t depth_ = 0;
};
