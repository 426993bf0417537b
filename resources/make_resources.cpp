// Build step for the module's resources: reads the cursor and the splash
// picture drawn as text art and writes
//   module_resources.cpp  the data for the soft platform,
//   ReGisCursor.cur, SplashScrBmp.bmp and zizider.rc  for the Windows build.
//
//   make_resources CURSOR.txt SPLASH.txt OUTPUT_DIR
//
// Text art: lines starting with ';' are comments; "name N" gives the
// resource name, "hotspot X Y" a cursor's hot spot, "colour C RRGGBB" the
// colour of character C in a bitmap; every other line is one row of pixels,
// top row first. Cursor pixels are '.' transparent, '#' black, 'o' white.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct Art {
  std::string path;
  std::string name;
  int hotX = 0, hotY = 0;
  std::vector<std::pair<char, uint32_t>> colours;  // in the order given: the colour table
  std::vector<std::string> rows;
  int Width() const { return rows.empty() ? 0 : static_cast<int>(rows[0].size()); }
  int Height() const { return static_cast<int>(rows.size()); }
};

[[noreturn]] void Die(const std::string& message) {
  std::fprintf(stderr, "make_resources: %s\n", message.c_str());
  std::exit(1);
}

Art ReadArt(const std::string& path) {
  std::ifstream in(path);
  if (!in) Die("cannot read " + path);
  Art art;
  art.path = path;
  std::string line;
  int number = 0;
  while (std::getline(in, line)) {
    ++number;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    std::istringstream words(line);
    std::string word;
    words >> word;
    if (word == "name") {
      words >> art.name;
    } else if (word == "hotspot") {
      words >> art.hotX >> art.hotY;
    } else if (word == "colour" && line.size() > 9) {
      std::string hex;
      std::istringstream rest(line.substr(9));
      rest >> hex;
      if (hex.size() != 6) Die(path + ":" + std::to_string(number) + ": colour wants RRGGBB");
      art.colours.emplace_back(line[7], static_cast<uint32_t>(std::stoul(hex, nullptr, 16)));
    } else {
      if (!art.rows.empty() && line.size() != art.rows[0].size())
        Die(path + ":" + std::to_string(number) + ": rows differ in width");
      art.rows.push_back(line);
    }
  }
  if (art.name.empty() || art.rows.empty()) Die(path + ": needs a name and pixel rows");
  return art;
}

// Little-endian writers for the Windows file formats.
void Put16(std::string& out, uint32_t v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}
void PutInfoHeader(std::string& out, int width, int height, int bits, uint32_t imageSize, uint32_t colours) {
  Put32(out, 40);
  Put32(out, static_cast<uint32_t>(width));
  Put32(out, static_cast<uint32_t>(height));
  Put16(out, 1);
  Put16(out, static_cast<uint32_t>(bits));
  Put32(out, 0);  // BI_RGB
  Put32(out, imageSize);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, colours);
  Put32(out, 0);
}
void PutRgbQuad(std::string& out, uint32_t rgb) {
  out.push_back(static_cast<char>(rgb & 0xFF));
  out.push_back(static_cast<char>((rgb >> 8) & 0xFF));
  out.push_back(static_cast<char>((rgb >> 16) & 0xFF));
  out.push_back(0);
}

void WriteFile(const std::string& path, const std::string& bytes) {
  const std::string temporary = path + ".tmp";
  {
    std::ofstream out(temporary, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) Die("cannot write " + temporary);
  }
  if (std::rename(temporary.c_str(), path.c_str()) != 0) Die("cannot write " + path);
}

// Mask rows of `bytesPerRow`, most significant bit first: bit set where
// `pixel` says so.
template <class Pred>
std::vector<uint8_t> MaskRows(const Art& art, int bytesPerRow, bool bottomUp, Pred pixel) {
  std::vector<uint8_t> mask;
  for (int r = 0; r < art.Height(); ++r) {
    const std::string& row = art.rows[static_cast<size_t>(bottomUp ? art.Height() - 1 - r : r)];
    for (int b = 0; b < bytesPerRow; ++b) {
      uint8_t byte = 0;
      for (int bit = 0; bit < 8; ++bit) {
        const int x = b * 8 + bit;
        if (pixel(x < art.Width() ? row[static_cast<size_t>(x)] : '.'))
          byte |= static_cast<uint8_t>(0x80 >> bit);
      }
      mask.push_back(byte);
    }
  }
  return mask;
}

// Transparent keeps the screen (AND 1, XOR 0); black clears it (0, 0);
// white sets it (0, 1).
bool AndBit(char c) {
  return c == '.';
}
bool XorBit(char c) {
  return c == 'o';
}

void CheckCursor(const Art& art) {
  for (const std::string& row : art.rows)
    for (char c : row)
      if (c != '.' && c != '#' && c != 'o') Die(art.path + ": cursor pixels are '.', '#' or 'o'");
}

std::vector<uint8_t> Indices(const Art& art) {
  std::map<char, uint8_t> index;
  for (size_t i = 0; i < art.colours.size(); ++i) index[art.colours[i].first] = static_cast<uint8_t>(i);
  if (art.colours.empty() || art.colours.size() > 16) Die(art.path + ": a bitmap has 1 to 16 colours");
  std::vector<uint8_t> out;
  for (const std::string& row : art.rows) {
    for (char c : row) {
      auto it = index.find(c);
      if (it == index.end()) Die(art.path + ": pixel '" + std::string(1, c) + "' has no colour");
      out.push_back(it->second);
    }
  }
  return out;
}

std::string CursorFile(const Art& art) {
  const int rowBytes = ((art.Width() + 31) / 32) * 4;
  const std::vector<uint8_t> xorMask = MaskRows(art, rowBytes, true, XorBit);
  const std::vector<uint8_t> andMask = MaskRows(art, rowBytes, true, AndBit);
  const uint32_t imageSize = static_cast<uint32_t>(xorMask.size() + andMask.size());
  std::string image;
  // The image holds the XOR mask over the AND mask: twice the height.
  PutInfoHeader(image, art.Width(), art.Height() * 2, 1, imageSize, 0);
  PutRgbQuad(image, 0x000000);
  PutRgbQuad(image, 0xFFFFFF);
  image.append(xorMask.begin(), xorMask.end());
  image.append(andMask.begin(), andMask.end());

  std::string out;
  Put16(out, 0);
  Put16(out, 2);  // a cursor
  Put16(out, 1);
  out.push_back(static_cast<char>(art.Width() & 0xFF));
  out.push_back(static_cast<char>(art.Height() & 0xFF));
  out.push_back(0);
  out.push_back(0);
  Put16(out, static_cast<uint32_t>(art.hotX));
  Put16(out, static_cast<uint32_t>(art.hotY));
  Put32(out, static_cast<uint32_t>(image.size()));
  Put32(out, 6 + 16);
  return out + image;
}

std::string BitmapFile(const Art& art, const std::vector<uint8_t>& indices) {
  const int width = art.Width(), height = art.Height();
  const int rowBytes = ((width * 4 + 31) / 32) * 4;
  const uint32_t imageSize = static_cast<uint32_t>(rowBytes * height);
  const uint32_t bitsAt = 14 + 40 + 16 * 4;
  std::string out = "BM";
  Put32(out, bitsAt + imageSize);
  Put32(out, 0);
  Put32(out, bitsAt);
  PutInfoHeader(out, width, height, 4, imageSize, 16);
  for (size_t i = 0; i < 16; ++i) PutRgbQuad(out, i < art.colours.size() ? art.colours[i].second : 0);
  for (int y = height - 1; y >= 0; --y) {
    std::string row(static_cast<size_t>(rowBytes), '\0');
    for (int x = 0; x < width; ++x) {
      const uint8_t v = indices[static_cast<size_t>(y) * width + x];
      row[static_cast<size_t>(x / 2)] |= static_cast<char>(x % 2 ? v : v << 4);
    }
    out += row;
  }
  return out;
}

std::string ByteList(const std::vector<uint8_t>& bytes) {
  std::string out;
  for (size_t i = 0; i < bytes.size(); ++i) {
    out += std::to_string(bytes[i]);
    out += (i + 1) % 32 == 0 ? ",\n    " : ",";
  }
  return out;
}

std::string SoftSource(const Art& cursor, const Art& splash, const std::vector<uint8_t>& indices) {
  const int rowBytes = ((cursor.Width() + 15) / 16) * 2;
  std::ostringstream out;
  out << "// Generated by resources/make_resources.cpp from " << cursor.path << " and " << splash.path
      << ";\n// edit those instead.\n"
      << "#include <cstdint>\n#include <vector>\n\n"
      << "#include \"host/module_resources.h\"\n#include \"platform/soft/resource.h\"\n\n"
      << "namespace {\n\n"
      << "const uint8_t kCursorAnd[] = {\n    " << ByteList(MaskRows(cursor, rowBytes, false, AndBit))
      << "};\n"
      << "const uint8_t kCursorXor[] = {\n    " << ByteList(MaskRows(cursor, rowBytes, false, XorBit))
      << "};\n"
      << "const uint8_t kSplashPixels[] = {\n    " << ByteList(indices) << "};\n\n"
      << "template <size_t N>\nstd::vector<uint8_t> Bytes(const uint8_t (&a)[N]) {\n"
      << "  return std::vector<uint8_t>(a, a + N);\n}\n\n"
      << "}  // namespace\n\n"
      << "void RegisterModuleResources() {\n"
      << "  soft::AddCursorResource(\"" << cursor.name << "\", " << cursor.Width() << ", " << cursor.Height()
      << ", " << cursor.hotX << ", " << cursor.hotY << ", Bytes(kCursorAnd), Bytes(kCursorXor));\n"
      << "  soft::AddBitmapResource(\"" << splash.name << "\", " << splash.Width() << ", " << splash.Height()
      << ", {";
  for (const auto& c : splash.colours) {
    char quad[64];
    std::snprintf(quad, sizeof(quad), "{0x%02X, 0x%02X, 0x%02X, 0}, ", c.second & 0xFF,
                  (c.second >> 8) & 0xFF, (c.second >> 16) & 0xFF);
    out << quad;
  }
  out << "}, kSplashPixels, sizeof kSplashPixels);\n}\n";
  return out.str();
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) Die("usage: make_resources CURSOR.txt SPLASH.txt OUTPUT_DIR");
  const Art cursor = ReadArt(argv[1]);
  const Art splash = ReadArt(argv[2]);
  const std::string dir = argv[3];
  CheckCursor(cursor);
  const std::vector<uint8_t> indices = Indices(splash);

  WriteFile(dir + "/" + cursor.name + ".cur", CursorFile(cursor));
  WriteFile(dir + "/" + splash.name + ".bmp", BitmapFile(splash, indices));
  WriteFile(dir + "/zizider.rc",
            "// Generated by resources/make_resources.cpp; edit the text art instead.\n" + cursor.name +
                " CURSOR \"" + cursor.name + ".cur\"\n" + splash.name + " BITMAP \"" + splash.name +
                ".bmp\"\n");
  WriteFile(dir + "/module_resources.cpp", SoftSource(cursor, splash, indices));
  return 0;
}
