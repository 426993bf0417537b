#include "tools/zizider/sixel_encoder.h"

#include <sixel.h>

CSixelEncoder::CSixelEncoder() {
  if (SIXEL_FAILED(sixel_output_new(&output_, &CSixelEncoder::Write, this, nullptr))) output_ = nullptr;
  // Plain 7-bit ESC P ... ESC \, which every terminal and multiplexer takes.
  if (output_) sixel_output_set_8bit_availability(output_, 0);
}

CSixelEncoder::~CSixelEncoder() {
  if (output_) sixel_output_unref(output_);
}

int CSixelEncoder::Write(char* data, int size, void* self) {
  static_cast<CSixelEncoder*>(self)->sink_->append(data, static_cast<size_t>(size));
  return size;
}

bool CSixelEncoder::Encode(const CIndexedPicture& picture, std::string& out, std::string* error) {
  if (!output_) {
    *error = "libsixel could not start its encoder";
    return false;
  }
  const size_t count = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  if (picture.width <= 0 || picture.height <= 0 || picture.indices.size() != count) {
    *error = "the picture to encode is empty";
    return false;
  }

  // Renumbers the used indices from 0 in order of their value, so the same
  // page always gives the same registers.
  std::array<bool, 256> used{};
  for (uint8_t index : picture.indices) used[index] = true;
  std::array<uint8_t, 256> slot{};
  std::vector<unsigned char> palette;
  int colours = 0;
  for (int index = 0; index < 256; ++index) {
    if (!used[index]) continue;
    slot[index] = static_cast<uint8_t>(colours++);
    const bool known = static_cast<size_t>(index) < picture.palette.size();
    const PALETTEENTRY entry = known ? picture.palette[static_cast<size_t>(index)] : PALETTEENTRY{};
    palette.insert(palette.end(), {entry.peRed, entry.peGreen, entry.peBlue});
  }
  compact_.resize(count);
  for (size_t i = 0; i < count; ++i) compact_[i] = slot[picture.indices[i]];

  // A dither of one colour is refused, so a blank page asks for two.
  if (colours < 2) {
    palette.insert(palette.end(), {0, 0, 0});
    colours = 2;
  }
  sixel_dither_t* dither = nullptr;
  if (SIXEL_FAILED(sixel_dither_new(&dither, colours, nullptr))) {
    *error = "libsixel could not make a palette of " + std::to_string(colours) + " colours";
    return false;
  }
  sixel_dither_set_palette(dither, palette.data());
  sixel_dither_set_pixelformat(dither, SIXEL_PIXELFORMAT_PAL8);
  sink_ = &out;
  const SIXELSTATUS status = sixel_encode(compact_.data(), picture.width, picture.height, 8, dither, output_);
  sink_ = nullptr;
  sixel_dither_unref(dither);
  if (SIXEL_FAILED(status)) {
    *error = std::string("libsixel could not encode the page: ") + sixel_helper_format_error(status);
    return false;
  }
  return true;
}
