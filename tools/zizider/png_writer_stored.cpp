// The PNG writer of the Windows build, where no libpng is at hand: the image
// data goes into stored (uncompressed) deflate blocks, which every PNG reader
// accepts. Pictures are larger than libpng's, and exactly the same pixels.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstring>

#include "tools/zizider/png_writer.h"

namespace {

uint32_t Crc32(const uint8_t* data, size_t size, uint32_t crc = 0) {
  crc = ~crc;
  for (size_t i = 0; i < size; ++i) {
    crc ^= data[i];
    for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
  }
  return ~crc;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

void Chunk(std::vector<uint8_t>& out, const char type[4], const std::vector<uint8_t>& data) {
  PutBig32(out, static_cast<uint32_t>(data.size()));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  PutBig32(out, Crc32(out.data() + start, out.size() - start));
}

// A zlib stream of stored blocks of at most 65535 bytes.
std::vector<uint8_t> StoredZlib(const std::vector<uint8_t>& raw) {
  std::vector<uint8_t> out = {0x78, 0x01};
  uint32_t a = 1, b = 0;
  for (uint8_t byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  size_t offset = 0;
  do {
    const size_t size = std::min<size_t>(65535, raw.size() - offset);
    out.push_back(offset + size == raw.size() ? 1 : 0);
    const uint16_t len = static_cast<uint16_t>(size);
    const uint16_t nlen = static_cast<uint16_t>(~len);
    out.insert(out.end(), {static_cast<uint8_t>(len), static_cast<uint8_t>(len >> 8),
                           static_cast<uint8_t>(nlen), static_cast<uint8_t>(nlen >> 8)});
    out.insert(out.end(), raw.begin() + static_cast<std::ptrdiff_t>(offset),
               raw.begin() + static_cast<std::ptrdiff_t>(offset + size));
    offset += size;
  } while (offset < raw.size());
  PutBig32(out, (b << 16) | a);
  return out;
}

// Rows of `rowBytes` each, every one led by filter type 0.
bool WritePng(FILE* file, int width, int height, uint8_t colourType, const std::vector<uint8_t>& pixels,
              size_t rowBytes, const std::vector<uint8_t>& plte, std::string* error) {
  if (width <= 0 || height <= 0 || pixels.size() < rowBytes * static_cast<size_t>(height)) {
    *error = "empty picture";
    return false;
  }
  std::vector<uint8_t> raw;
  raw.reserve((rowBytes + 1) * static_cast<size_t>(height));
  for (int y = 0; y < height; ++y) {
    raw.push_back(0);
    const auto row = pixels.begin() + static_cast<std::ptrdiff_t>(rowBytes * static_cast<size_t>(y));
    raw.insert(raw.end(), row, row + static_cast<std::ptrdiff_t>(rowBytes));
  }
  std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(width));
  PutBig32(header, static_cast<uint32_t>(height));
  header.insert(header.end(), {8, colourType, 0, 0, 0});
  Chunk(out, "IHDR", header);
  if (!plte.empty()) Chunk(out, "PLTE", plte);
  Chunk(out, "IDAT", StoredZlib(raw));
  Chunk(out, "IEND", {});
  if (std::fwrite(out.data(), 1, out.size(), file) != out.size()) {
    *error = std::strerror(errno);
    return false;
  }
  return true;
}

}  // namespace

bool WriteIndexedPng(FILE* file, const CIndexedPicture& picture, std::string* error) {
  std::vector<uint8_t> plte;
  for (const PALETTEENTRY& e : picture.palette) plte.insert(plte.end(), {e.peRed, e.peGreen, e.peBlue});
  if (plte.empty() || plte.size() > 256 * 3) {
    *error = "no palette";
    return false;
  }
  return WritePng(file, picture.width, picture.height, 3, picture.indices, static_cast<size_t>(picture.width),
                  plte, error);
}

bool WriteRgbPng(FILE* file, const CRgbPicture& picture, std::string* error) {
  return WritePng(file, picture.width, picture.height, 2, picture.rgb, static_cast<size_t>(picture.width) * 3,
                  {}, error);
}
