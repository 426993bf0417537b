// Pages are long runs of few colours, and most rows repeat the row above.
// The image data is compressed here in one pass that tries just those two
// matches at each position, a copy of the row above and a repeat of the pixel
// before, and writes them in one deflate block with Huffman codes made for the
// picture: a fraction of the time a general compressor needs, in files no
// larger. zlib gives the checksums.
#include "tools/zizider/png_writer.h"

#include <zlib.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <queue>

namespace {

constexpr size_t kMinMatch = 3;
constexpr size_t kMaxMatch = 258;
constexpr size_t kMaxDistance = 32768;
constexpr int kEndOfBlock = 256;
constexpr int kLiteralSymbols = 286;
constexpr int kDistanceSymbols = 30;
constexpr int kLengthSymbols = 19;

const uint16_t kLengthBase[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                  31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
const uint8_t kLengthExtra[29] = {0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2,
                                  2, 3, 3, 3, 3, 4, 4, 4, 4, 5, 5, 5, 5, 0};
const uint16_t kDistanceBase[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                    33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                    1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
// The order in which the code lengths of the code-length alphabet are sent.
const uint8_t kLengthOrder[kLengthSymbols] = {16, 17, 18, 0, 8,  7, 9,  6, 10, 5,
                                              11, 4,  12, 3, 13, 2, 14, 1, 15};

int LengthIndex(size_t length) {
  int i = 28;
  while (kLengthBase[i] > length) --i;
  return i;
}

int DistanceIndex(size_t distance) {
  int i = 29;
  while (kDistanceBase[i] > distance) --i;
  return i;
}

int DistanceExtra(int index) {
  return index < 4 ? 0 : index / 2 - 1;
}

// Deflate's bits go out least significant first; Huffman codes are stored
// with their first bit there, that is reversed.
uint32_t Reversed(uint32_t code, int length) {
  uint32_t result = 0;
  for (int i = 0; i < length; ++i) result |= ((code >> i) & 1u) << (length - 1 - i);
  return result;
}

struct CCode {
  uint32_t bits = 0;
  int length = 0;
};

// Huffman code lengths of at most `limit` bits for the counts. Where the
// tree would be deeper the counts are halved and the tree made again. A
// single symbol gets one bit, as inflaters expect.
std::vector<int> CodeLengths(std::vector<uint32_t> counts, int limit) {
  const int n = static_cast<int>(counts.size());
  std::vector<int> lengths(n, 0);
  for (;;) {
    std::vector<int> used;
    for (int i = 0; i < n; ++i)
      if (counts[i]) used.push_back(i);
    if (used.size() <= 1) {
      if (!used.empty()) lengths[used[0]] = 1;
      return lengths;
    }
    // Leaves are 0..n-1, inner nodes follow; parent links give the depths.
    std::vector<int> parent(n + used.size(), -1);
    using CNode = std::pair<uint64_t, int>;
    std::priority_queue<CNode, std::vector<CNode>, std::greater<CNode>> queue;
    for (int i : used) queue.push({counts[i], i});
    int next = n;
    while (queue.size() > 1) {
      const CNode a = queue.top();
      queue.pop();
      const CNode b = queue.top();
      queue.pop();
      parent[a.second] = parent[b.second] = next;
      queue.push({a.first + b.first, next++});
    }
    int deepest = 0;
    for (int i : used) {
      int depth = 0;
      for (int node = i; parent[node] >= 0; node = parent[node]) ++depth;
      lengths[i] = depth;
      deepest = std::max(deepest, depth);
    }
    if (deepest <= limit) return lengths;
    for (uint32_t& count : counts)
      if (count) count = (count + 1) / 2;
  }
}

// The canonical codes of the lengths, reversed for the bit writer.
std::vector<CCode> CanonicalCodes(const std::vector<int>& lengths) {
  int perLength[16] = {};
  for (int length : lengths) ++perLength[length];
  perLength[0] = 0;
  uint32_t nextCode[16] = {};
  uint32_t code = 0;
  for (int bits = 1; bits < 16; ++bits) {
    code = (code + static_cast<uint32_t>(perLength[bits - 1])) << 1;
    nextCode[bits] = code;
  }
  std::vector<CCode> codes(lengths.size());
  for (size_t i = 0; i < lengths.size(); ++i)
    if (lengths[i]) codes[i] = {Reversed(nextCode[lengths[i]]++, lengths[i]), lengths[i]};
  return codes;
}

class CBitWriter {
 public:
  explicit CBitWriter(uint8_t* out) : out_(out) {}
  // At most 31 bits at a time.
  void Put(uint32_t bits, int length) {
    pending_ |= static_cast<uint64_t>(bits) << count_;
    count_ += length;
    if (count_ >= 32) {
      const uint32_t word = static_cast<uint32_t>(pending_);
      for (int i = 0; i < 4; ++i) *out_++ = static_cast<uint8_t>(word >> (8 * i));
      pending_ >>= 32;
      count_ -= 32;
    }
  }
  void Put(CCode code) { Put(code.bits, code.length); }
  uint8_t* Finish() {
    for (; count_ > 0; count_ -= 8, pending_ >>= 8) *out_++ = static_cast<uint8_t>(pending_);
    count_ = 0;
    return out_;
  }

 private:
  uint8_t* out_;
  uint64_t pending_ = 0;
  int count_ = 0;
};

// How many bytes from the start a and b share, at most `limit`.
size_t CommonLength(const uint8_t* a, const uint8_t* b, size_t limit) {
  size_t n = 0;
  for (; n + 8 <= limit; n += 8) {
    uint64_t x, y;
    std::memcpy(&x, a + n, 8);
    std::memcpy(&y, b + n, 8);
    if (x != y) return n + static_cast<size_t>(__builtin_ctzll(x ^ y) / 8);
  }
  while (n < limit && a[n] == b[n]) ++n;
  return n;
}

// The rows as PNG filters them with filter type None: a zero byte, then the
// row. Positions are (row, column), column -1 being the filter byte.
struct CRows {
  const uint8_t* data;
  size_t rowBytes, rows, pixelBytes;
  ptrdiff_t step;  // from one row to the next
  const uint8_t* Row(size_t y) const { return data + static_cast<ptrdiff_t>(y) * step; }
};

// The length of a copy from one filtered row back, which may run on through
// the following rows: their filter bytes always agree.
size_t MatchAbove(const CRows& image, size_t y, long x) {
  size_t length = 0;
  while (length < kMaxMatch && y < image.rows) {
    if (x < 0) {
      ++length;
      x = 0;
      continue;
    }
    const size_t column = static_cast<size_t>(x);
    const size_t limit = std::min(image.rowBytes - column, kMaxMatch - length);
    const size_t same = CommonLength(image.Row(y) + column, image.Row(y - 1) + column, limit);
    length += same;
    if (same < image.rowBytes - column) break;
    ++y;
    x = -1;
  }
  return length;
}

// The length of a repeat of the pixel before, within the row.
size_t MatchPixelBefore(const CRows& image, size_t y, long x) {
  if (x < static_cast<long>(image.pixelBytes)) return 0;
  const size_t column = static_cast<size_t>(x);
  const uint8_t* at = image.Row(y) + column;
  return CommonLength(at, at - image.pixelBytes, std::min(image.rowBytes - column, kMaxMatch));
}

// A literal byte, or a match: its length and whether it copies from above.
struct CToken {
  uint16_t value;  // the byte, or the match length
  uint8_t match;   // 0 literal, 1 pixel before, 2 row above
};

// The greedy parse: at each position the longer of the two matches, else a literal.
std::vector<CToken> Parse(const CRows& image) {
  const size_t stride = image.rowBytes + 1;
  const bool above = stride <= kMaxDistance;
  const long rowEnd = static_cast<long>(image.rowBytes);
  std::vector<CToken> tokens;
  tokens.reserve(4096);
  size_t y = 0;
  long x = -1;
  while (y < image.rows) {
    const size_t up = above && y > 0 ? MatchAbove(image, y, x) : 0;
    const size_t before = MatchPixelBefore(image, y, x);
    const size_t length = std::max(up, before);
    if (length < kMinMatch) {
      tokens.push_back({static_cast<uint16_t>(x < 0 ? 0 : image.Row(y)[x]), 0});
      ++x;
    } else {
      tokens.push_back({static_cast<uint16_t>(length), static_cast<uint8_t>(before >= up ? 1 : 2)});
      // A copy from above may end rows further on.
      const size_t position = static_cast<size_t>(x + 1) + length;
      y += position / stride;
      x = static_cast<long>(position % stride) - 1;
    }
    if (x >= rowEnd) {
      ++y;
      x = -1;
    }
  }
  return tokens;
}

// The code lengths of both alphabets, run-length coded as deflate sends them:
// symbol and extra bits.
std::vector<std::pair<int, int>> RunLengthCoded(const std::vector<int>& lengths) {
  std::vector<std::pair<int, int>> out;
  for (size_t i = 0; i < lengths.size();) {
    const int value = lengths[i];
    size_t run = 1;
    while (i + run < lengths.size() && lengths[i + run] == value) ++run;
    i += run;
    if (value == 0) {
      for (; run >= 11; run -= std::min<size_t>(run, 138))
        out.push_back({18, static_cast<int>(std::min<size_t>(run, 138) - 11)});
      if (run >= 3) {
        out.push_back({17, static_cast<int>(run - 3)});
        run = 0;
      }
    } else {
      out.push_back({value, 0});
      --run;
      for (; run >= 3; run -= std::min<size_t>(run, 6))
        out.push_back({16, static_cast<int>(std::min<size_t>(run, 6) - 3)});
    }
    for (; run > 0; --run) out.push_back({value, 0});
  }
  return out;
}

// The zlib stream of the filtered rows: one final deflate block with dynamic
// codes, then the Adler-32 of the rows.
std::vector<uint8_t> Compress(const CRows& image) {
  const std::vector<CToken> tokens = Parse(image);
  const int distanceIndex[3] = {0, DistanceIndex(image.pixelBytes), DistanceIndex(image.rowBytes + 1)};
  const uint32_t distanceExtra[3] = {
      0, static_cast<uint32_t>(image.pixelBytes - kDistanceBase[distanceIndex[1]]),
      static_cast<uint32_t>(image.rowBytes + 1 - kDistanceBase[distanceIndex[2]])};

  std::vector<uint32_t> literalCounts(kLiteralSymbols, 0), distanceCounts(kDistanceSymbols, 0);
  for (const CToken& token : tokens) {
    if (token.match) {
      ++literalCounts[257 + LengthIndex(token.value)];
      ++distanceCounts[distanceIndex[token.match]];
    } else {
      ++literalCounts[token.value];
    }
  }
  literalCounts[kEndOfBlock] = 1;
  const std::vector<int> literalLengths = CodeLengths(literalCounts, 15);
  std::vector<int> distanceLengths = CodeLengths(distanceCounts, 15);
  // Without matches one unused distance code of one bit stands in.
  if (std::all_of(distanceLengths.begin(), distanceLengths.end(), [](int l) { return l == 0; }))
    distanceLengths[0] = 1;

  int literalsSent = kLiteralSymbols;
  while (literalsSent > 257 && literalLengths[literalsSent - 1] == 0) --literalsSent;
  int distancesSent = kDistanceSymbols;
  while (distancesSent > 1 && distanceLengths[distancesSent - 1] == 0) --distancesSent;
  std::vector<int> sent(literalLengths.begin(), literalLengths.begin() + literalsSent);
  sent.insert(sent.end(), distanceLengths.begin(), distanceLengths.begin() + distancesSent);
  const std::vector<std::pair<int, int>> runs = RunLengthCoded(sent);
  std::vector<uint32_t> lengthCounts(kLengthSymbols, 0);
  for (const auto& run : runs) ++lengthCounts[run.first];
  const std::vector<int> lengthLengths = CodeLengths(lengthCounts, 7);
  int lengthsSent = kLengthSymbols;
  while (lengthsSent > 4 && lengthLengths[kLengthOrder[lengthsSent - 1]] == 0) --lengthsSent;

  // The exact size: the block header, then every symbol with its extra bits.
  static const int kRunExtraBits[3] = {2, 3, 7};
  uint64_t totalBits = 3 + 5 + 5 + 4 + 3 * static_cast<uint64_t>(lengthsSent);
  for (const auto& run : runs)
    totalBits += static_cast<uint64_t>(lengthLengths[run.first]) +
                 (run.first >= 16 ? kRunExtraBits[run.first - 16] : 0);
  for (int symbol = 0; symbol < kLiteralSymbols; ++symbol) {
    const int extra = symbol > kEndOfBlock ? kLengthExtra[symbol - 257] : 0;
    totalBits +=
        static_cast<uint64_t>(literalCounts[symbol]) * static_cast<uint64_t>(literalLengths[symbol] + extra);
  }
  for (int symbol = 0; symbol < kDistanceSymbols; ++symbol)
    totalBits += static_cast<uint64_t>(distanceCounts[symbol]) *
                 static_cast<uint64_t>(distanceLengths[symbol] + DistanceExtra(symbol));

  const std::vector<CCode> literalCodes = CanonicalCodes(literalLengths);
  const std::vector<CCode> distanceCodes = CanonicalCodes(distanceLengths);
  const std::vector<CCode> lengthCodes = CanonicalCodes(lengthLengths);

  const size_t deflated = static_cast<size_t>((totalBits + 7) / 8);
  std::vector<uint8_t> stream(2 + deflated + 4);
  stream[0] = 0x78;  // deflate, 32 KiB window
  stream[1] = 0x01;  // no dictionary; check bits
  CBitWriter bits(stream.data() + 2);
  bits.Put(0x5, 3);  // final block, dynamic codes
  bits.Put(static_cast<uint32_t>(literalsSent - 257), 5);
  bits.Put(static_cast<uint32_t>(distancesSent - 1), 5);
  bits.Put(static_cast<uint32_t>(lengthsSent - 4), 4);
  for (int i = 0; i < lengthsSent; ++i) bits.Put(static_cast<uint32_t>(lengthLengths[kLengthOrder[i]]), 3);
  for (const auto& run : runs) {
    bits.Put(lengthCodes[run.first]);
    if (run.first >= 16) bits.Put(static_cast<uint32_t>(run.second), kRunExtraBits[run.first - 16]);
  }

  // Each match kind's distance code with its extra bits behind it.
  CCode distance[3];
  for (int kind = 1; kind < 3; ++kind) {
    const CCode code = distanceCodes[distanceIndex[kind]];
    distance[kind] = {code.bits | (distanceExtra[kind] << code.length),
                      code.length + DistanceExtra(distanceIndex[kind])};
  }
  for (const CToken& token : tokens) {
    if (!token.match) {
      bits.Put(literalCodes[token.value]);
      continue;
    }
    const int index = LengthIndex(token.value);
    const CCode code = literalCodes[257 + index];
    bits.Put(code.bits | ((static_cast<uint32_t>(token.value) - kLengthBase[index]) << code.length),
             code.length + kLengthExtra[index]);
    bits.Put(distance[token.match]);
  }
  bits.Put(literalCodes[kEndOfBlock]);
  uint8_t* out = bits.Finish();

  uLong adler = adler32(0, nullptr, 0);
  static const uint8_t kFilterNone = 0;
  for (size_t y = 0; y < image.rows; ++y) {
    adler = adler32(adler, &kFilterNone, 1);
    adler = adler32(adler, image.Row(y), static_cast<uInt>(image.rowBytes));
  }
  for (int shift = 24; shift >= 0; shift -= 8) *out++ = static_cast<uint8_t>(adler >> shift);
  return stream;
}

void PutBig32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

// Length, type and data, to which the CRC of type and data is added.
void PutChunk(std::vector<uint8_t>& out, const char type[4], const uint8_t* data, size_t size) {
  PutBig32(out, static_cast<uint32_t>(size));
  const size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data, data + size);
  PutBig32(out, static_cast<uint32_t>(crc32(0, out.data() + start, static_cast<uInt>(size + 4))));
}

// colourType 3 (palette, 8-bit indices) or 2 (8-bit RGB).
bool WritePng(FILE* file, const CRows& image, int colourType, const std::vector<PALETTEENTRY>* palette,
              std::string* error) {
  std::vector<uint8_t> head = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  std::vector<uint8_t> header;
  PutBig32(header, static_cast<uint32_t>(image.rowBytes / image.pixelBytes));
  PutBig32(header, static_cast<uint32_t>(image.rows));
  header.insert(header.end(), {8, static_cast<uint8_t>(colourType), 0, 0, 0});
  PutChunk(head, "IHDR", header.data(), header.size());
  if (palette) {
    std::vector<uint8_t> colours;
    for (const PALETTEENTRY& entry : *palette)
      colours.insert(colours.end(), {entry.peRed, entry.peGreen, entry.peBlue});
    PutChunk(head, "PLTE", colours.data(), colours.size());
  }

  // The image data goes out from its own buffer, the rest around it.
  const std::vector<uint8_t> stream = Compress(image);
  PutBig32(head, static_cast<uint32_t>(stream.size()));
  head.insert(head.end(), {'I', 'D', 'A', 'T'});
  uLong crc = crc32(0, head.data() + head.size() - 4, 4);
  crc = crc32(crc, stream.data(), static_cast<uInt>(stream.size()));
  std::vector<uint8_t> tail;
  PutBig32(tail, static_cast<uint32_t>(crc));
  PutChunk(tail, "IEND", nullptr, 0);

  errno = 0;
  if (std::fwrite(head.data(), 1, head.size(), file) != head.size() ||
      std::fwrite(stream.data(), 1, stream.size(), file) != stream.size() ||
      std::fwrite(tail.data(), 1, tail.size(), file) != tail.size()) {
    *error = errno ? std::strerror(errno) : "write error";
    return false;
  }
  return true;
}

}  // namespace

bool WriteIndexedPng(FILE* file, const CIndexedRows& rows, const std::vector<PALETTEENTRY>& palette,
                     std::string* error) {
  if (rows.width <= 0 || rows.height <= 0 || !rows.first || palette.empty() || palette.size() > 256) {
    *error = "the picture to write is malformed";
    return false;
  }
  const CRows image{rows.first, static_cast<size_t>(rows.width), static_cast<size_t>(rows.height), 1,
                    rows.step};
  return WritePng(file, image, 3, &palette, error);
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
  const CRows rows{picture.rgb.data(), rowBytes, static_cast<size_t>(picture.height), 3,
                   static_cast<ptrdiff_t>(rowBytes)};
  return WritePng(file, rows, 2, nullptr, error);
}
