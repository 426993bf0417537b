// Splits a program's output as a terminal with ReGIS sees it: ReGIS DCS
// strings (ESC P ... p ... ESC \) go one way, every other byte the other, in
// order and unchanged. Only the 7-bit introducer counts: in UTF-8 output a
// 0x90 byte continues a character. Works on any split of the stream.
#pragma once

#include <cstddef>
#include <string>

class CReGisSplitter {
 public:
  class Sink {
   public:
    virtual ~Sink() = default;
    virtual void Text(const char* data, size_t size) = 0;
    virtual void ReGis(const char* data, size_t size) = 0;  // never holds NUL
    virtual void StringEnd() = 0;
  };

  // An introducer longer than this is no ReGIS: its bytes pass as text.
  static constexpr size_t kMaxIntroducer = 64;

  void Feed(const char* data, size_t size, Sink& sink);
  // The output has ended: held bytes pass, an open string ends.
  void Finish(Sink& sink);
  bool inString() const { return state_ == State::ReGisData || state_ == State::ReGisEscape; }

 private:
  enum class State {
    Ground,       // text
    Escape,       // text, after ESC
    DcsEntry,     // after ESC P: parameters and intermediates, held back
    ReGisData,    // inside a ReGIS string
    ReGisEscape,  // inside one, after ESC: ST or the end of the string
  };

  // Consumes from data[i], returns the next index.
  size_t Step(const char* data, size_t i, size_t size, Sink& sink);
  void PassHeld(Sink& sink);

  State state_ = State::Ground;
  std::string held_;  // ESC, or ESC P and what followed, until their fate is known
  bool intermediates_ = false;
};
