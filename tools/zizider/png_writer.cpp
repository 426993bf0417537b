#include "tools/zizider/png_writer.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>

namespace {

// libpng reports errors by longjmp; the message goes straight to the
// caller's string, which outlives the jump.
void OnPngError(png_structp png, png_const_charp message) {
  if (auto* error = static_cast<std::string*>(png_get_error_ptr(png))) *error = message;
  png_longjmp(png, 1);
}

void OnPngWarning(png_structp, png_const_charp) {}

// All of libpng's work, in a frame that holds no C++ objects: the jump back
// from an error then skips no clean-up and clobbers nothing.
// A null palette writes 8-bit RGB.
bool WriteRows(FILE* file, png_uint_32 width, png_uint_32 height, const png_color* colours, int count,
               png_bytep* rows, std::string* error) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, error, OnPngError, OnPngWarning);
  if (!png) return false;
  png_infop info = png_create_info_struct(png);
  if (!info) {
    png_destroy_write_struct(&png, nullptr);
    return false;
  }
  if (setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, width, height, 8, colours ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (colours) png_set_PLTE(png, info, colours, count);
  // Pages are long runs of few indices: run-length matching compresses them
  // nearly as well as the default effort, in a fraction of the time. It
  // looks back one byte only, so an 8 KiB window and smaller tables do as
  // well within 3 %: the compressor's state shrinks from 256 KiB to 48 KiB,
  // every page of which a one-shot render would touch for the first time.
  png_set_compression_strategy(png, Z_RLE);
  png_set_compression_window_bits(png, 13);
  png_set_compression_mem_level(png, 5);
  png_write_info(png, info);
  png_write_image(png, rows);
  png_write_end(png, info);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WriteIndexedPng(FILE* file, const CIndexedRows& image, const std::vector<PALETTEENTRY>& palette,
                     std::string* error) {
  if (image.width <= 0 || image.height <= 0 || !image.first || palette.empty() || palette.size() > 256) {
    *error = "the picture to write is malformed";
    return false;
  }

  std::vector<png_color> colours(palette.size());
  for (size_t i = 0; i < colours.size(); ++i)
    colours[i] = png_color{palette[i].peRed, palette[i].peGreen, palette[i].peBlue};
  std::vector<png_bytep> rows(static_cast<size_t>(image.height));
  for (size_t y = 0; y < rows.size(); ++y)
    rows[y] = const_cast<png_bytep>(image.first + static_cast<ptrdiff_t>(y) * image.step);

  error->clear();
  if (WriteRows(file, static_cast<png_uint_32>(image.width), static_cast<png_uint_32>(image.height),
                colours.data(), static_cast<int>(colours.size()), rows.data(), error))
    return true;
  if (error->empty()) *error = "libpng failed";
  return false;
}

bool WriteIndexedPng(FILE* file, const CIndexedPicture& picture, std::string* error) {
  const size_t pixels = static_cast<size_t>(picture.width) * static_cast<size_t>(picture.height);
  if (picture.width <= 0 || picture.height <= 0 || picture.indices.size() != pixels) {
    *error = "the picture to write is malformed";
    return false;
  }
  const CIndexedRows rows{picture.width, picture.height, picture.indices.data(), picture.width};
  return WriteIndexedPng(file, rows, picture.palette, error);
}

bool WriteRgbPng(FILE* file, const CRgbPicture& picture, std::string* error) {
  const size_t rowBytes = static_cast<size_t>(picture.width) * 3;
  if (picture.width <= 0 || picture.height <= 0 ||
      picture.rgb.size() != rowBytes * static_cast<size_t>(picture.height)) {
    *error = "the picture to write is malformed";
    return false;
  }
  std::vector<png_bytep> rows(static_cast<size_t>(picture.height));
  for (size_t y = 0; y < rows.size(); ++y) rows[y] = const_cast<png_bytep>(picture.rgb.data() + y * rowBytes);
  error->clear();
  if (WriteRows(file, static_cast<png_uint_32>(picture.width), static_cast<png_uint_32>(picture.height),
                nullptr, 0, rows.data(), error))
    return true;
  if (error->empty()) *error = "libpng failed";
  return false;
}
