// Turns an indexed picture into a sixel image that a graphics terminal shows
// where its cursor stands. Only the colours the picture uses are sent, as
// the first colour registers, since a terminal may have no more than 16.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "tools/zizider/png_writer.h"

struct sixel_output;
struct sixel_dither;

class CSixelEncoder {
 public:
  CSixelEncoder();
  ~CSixelEncoder();
  CSixelEncoder(const CSixelEncoder&) = delete;
  CSixelEncoder& operator=(const CSixelEncoder&) = delete;

  // Appends the whole DCS string (introducer to ST) to out; false with a
  // one-line reason when libsixel refuses.
  bool Encode(const CIndexedPicture& picture, std::string& out, std::string* error);

 private:
  static int Write(char* data, int size, void* self);

  sixel_output* output_ = nullptr;
  std::string* sink_ = nullptr;
  std::vector<uint8_t> compact_;  // the picture renumbered into the used colours
};
