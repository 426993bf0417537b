// Takes the ReGIS data out of a byte stream as a terminal receives it: the
// contents of DCS strings whose final character is 'p' pass, everything
// around them (escape sequences, text, other DCS strings such as sixel) is
// dropped. Works on any split of the stream into reads.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

class CDcsStripper {
 public:
  // Auto decides by the first kSniffLimit bytes: terminal data when a DCS
  // introducer shows up in them, plain ReGIS otherwise.
  enum class Mode { Auto, Dcs, Plain };

  static constexpr size_t kSniffLimit = 64 * 1024;

  explicit CDcsStripper(Mode mode = Mode::Auto);

  // Appends the ReGIS bytes found in data to out (NUL bytes never).
  void Feed(const char* data, size_t size, std::string& out);
  // The input has ended: settles an undecided mode and releases what it held.
  void Finish(std::string& out);

  Mode mode() const { return mode_; }

 private:
  enum class State {
    Ground,        // outside any string
    Escape,        // after ESC
    DcsEntry,      // DCS parameters and intermediates, up to the final character
    ReGisData,     // inside a ReGIS DCS: the bytes we keep
    IgnoreString,  // another DCS, SOS, PM or APC: skipped to ST
    OscString,     // an OSC: skipped to ST or BEL
  };

  void Step(uint8_t byte, std::string& out);
  void Control(uint8_t c1);
  // Whether a 0x80-0x9F byte continues a UTF-8 character rather than being a
  // C1 control; keeps the UTF-8 bookkeeping up to date for every byte.
  bool ContinuesUtf8(uint8_t byte);
  void Sniff(const char* data, size_t size, std::string& out);

  Mode mode_;
  State state_ = State::Ground;
  bool intermediates_ = false;
  int utf8Remaining_ = 0;
  bool heldLead_ = false;  // a C2 byte that may open a UTF-8 encoded C1 control
  bool sawIntroducer_ = false;
  std::string sniffed_;  // raw bytes kept while Auto is undecided
};
