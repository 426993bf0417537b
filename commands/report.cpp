#include "commands/report.h"

#include "commands/command_access.h"
#include "interp/coord_parser.h"
#include "platform/win32.h"

namespace {

// Room for either report with two full 32-bit numbers.
constexpr int kReportSize = 32;

void SetInputMode(CInterpreter& interp, int32_t mode) {
  if (CGraphicsState* state = GraphicsStateOf(interp)) state->SetInputMode(mode);
}

void NotifyReport(CInterpreter& interp) {
  if (CDrawContext* draw = DrawContextOf(interp)) draw->NotifyReport();
}

}  // namespace

int CReportCmd::Error(char ch, CInterpreter& interp) {
  interp.SetError(1, ch);
  return PARSE_CONTINUE;
}

int CReportCmd::Next(char ch, CInterpreter& interp) {
  int next = static_cast<int>(state_);
  const int status = CloseOptionList(ch, depth_, next, 0, interp);
  // An error leaves this command where it is rather than at its start.
  if (next == kOptionStateLetter || status != PARSE_CONTINUE) state_ = static_cast<State>(next);
  return status;
}

void CReportCmd::ReportError(CInterpreter& interp) {
  char text[kReportSize];
  wsprintfA(text, kErrorReportFormat, static_cast<int>(interp.lastError),
            static_cast<int>(interp.lastErrorChar));
  OutputDebugStringA(text);
}

void CReportCmd::ReportPosition(CInterpreter& interp) {
  const CPoint32 position = CurrentPositionOf(interp);
  char text[kReportSize];
  wsprintfA(text, kPositionReportFormat, static_cast<int>(position.x), static_cast<int>(position.y));
  OutputDebugStringA(text);
  NotifyReport(interp);
}

int CReportCmd::Parse(char ch, CInterpreter& interp) {
  switch (state_) {
    case State::ReportStart:
      if (ch != '(') return PARSE_RETURN;
      ++depth_;
      state_ = State::ReportOptions;
      return PARSE_CONTINUE;

    case State::ReportOptions:
      switch (ch) {
        case 'E':
          ReportError(interp);
          state_ = State::ReportNext;
          return PARSE_CONTINUE;
        case 'I':
          state_ = State::ReportInput;
          return PARSE_CONTINUE;
        case 'L':
        case 'M':
          state_ = State::ReportNext;
          return PARSE_CONTINUE;
        case 'P':
          state_ = State::ReportPosition;
          return PARSE_CONTINUE;
        default:
          return Error(ch, interp);
      }

    case State::ReportNext:
      return Next(ch, interp);

    case State::ReportClose:
      if (ch != ')') return Error(ch, interp);
      state_ = State::ReportNext;
      return PARSE_CONTINUE;

    case State::ReportInput:
      if (ch == '0') SetInputMode(interp, kInputOneShot);
      if (ch == '1') SetInputMode(interp, kInputMultiple);
      state_ = State::ReportNext;
      return PARSE_CONTINUE;

    case State::ReportPosition:
      if (ch == '(') {
        state_ = State::ReportPosOpt;
        return PARSE_CONTINUE;
      }
      if (ch == ')' || ch == ',') {
        // The host may delete the instance from its callback: this object
        // is then gone, so the report comes last.
        const int status = Next(ch, interp);
        ReportPosition(interp);
        return status;
      }
      return Error(ch, interp);

    case State::ReportPosOpt:
      state_ = State::ReportClose;
      if (ch == 'I') {
        if (CDrawContext* draw = DrawContextOf(interp)) draw->ApplyInputMode(1);
        NotifyReport(interp);
      }
      return PARSE_CONTINUE;
  }
  return PARSE_CONTINUE;
}
