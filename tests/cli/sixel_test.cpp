// The page on a sixel terminal: the encoder, `zizider show`, and `zizider
// run` with a program in a pseudo-terminal, checked with libsixel's decoder.
#include <gtest/gtest.h>
#include <pty.h>
#include <sixel.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_support.h"
#include "tools/zizider/sixel_encoder.h"
#include "tools/zizider/terminal_geometry.h"

namespace {

using namespace std::string_literals;
using Rgb = std::array<uint8_t, 3>;

struct CRgbPicture {
  int width = 0, height = 0;
  std::vector<Rgb> pixels;
};

CRgbPicture Decode(const std::string& sixel) {
  CRgbPicture picture;
  unsigned char *pixels = nullptr, *palette = nullptr;
  int colours = 0;
  std::string bytes = sixel;
  if (SIXEL_FAILED(sixel_decode_raw(reinterpret_cast<unsigned char*>(&bytes[0]),
                                    static_cast<int>(bytes.size()), &pixels, &picture.width, &picture.height,
                                    &palette, &colours, nullptr)))
    return {};
  for (int i = 0; i < picture.width * picture.height; ++i) {
    const unsigned char* c = palette + 3 * pixels[i];
    picture.pixels.push_back({c[0], c[1], c[2]});
  }
  std::free(pixels);
  std::free(palette);
  return picture;
}

CRgbPicture FromPng(const CPng& png) {
  CRgbPicture picture{png.width, png.height, {}};
  for (uint8_t index : png.indices) picture.pixels.push_back(png.palette[index]);
  return picture;
}

// Sixel colours are whole percents: a channel may move by up to 2 of 255.
void ExpectSamePicture(const CRgbPicture& got, const CRgbPicture& want) {
  ASSERT_EQ(got.width, want.width);
  ASSERT_EQ(got.height, want.height);
  int wrong = 0;
  for (size_t i = 0; i < want.pixels.size() && wrong < 5; ++i)
    for (int c = 0; c < 3; ++c)
      if (std::abs(got.pixels[i][c] - want.pixels[i][c]) > 2) {
        ADD_FAILURE() << "pixel " << i % want.width << "," << i / want.width << " channel " << c << ": "
                      << int(got.pixels[i][c]) << " for " << int(want.pixels[i][c]);
        ++wrong;
        break;
      }
}

CRgbPicture RenderedPage(const std::string& input) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", "-o", dir.File("page.png")}, {input});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return FromPng(ReadPng(dir.File("page.png")));
}

TEST(SixelTest, EncodesIndicesAnywhereInThePaletteAsTheirColours) {
  CIndexedPicture picture;
  picture.width = 3;
  picture.height = 7;  // more than one band of six rows
  picture.palette.resize(256);
  picture.palette[200] = {255, 0, 0, 0};
  picture.palette[17] = {0, 0, 255, 0};
  for (int i = 0; i < 21; ++i) picture.indices.push_back(i % 2 ? 200 : 17);
  std::string sixel;
  std::string error;
  ASSERT_TRUE(CSixelEncoder().Encode(picture, sixel, &error)) << error;
  CRgbPicture want{3, 7, {}};
  for (uint8_t index : picture.indices)
    want.pixels.push_back(
        {picture.palette[index].peRed, picture.palette[index].peGreen, picture.palette[index].peBlue});
  ExpectSamePicture(Decode(sixel), want);
}

TEST(SixelTest, ShowWritesThePageThatRenderMakes) {
  const std::string skyline = ZIZIDER_EXAMPLES_DIR "/skyline.regis"s;
  const CProgramRun run = RunZizider({"show", skyline});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  CTempDir dir;
  ASSERT_EQ(RunZizider({"render", skyline, "-o", dir.File("page.png")}).exitCode, 0);
  ExpectSamePicture(Decode(run.out), FromPng(ReadPng(dir.File("page.png"))));
}

// A program in the pseudo-terminal writes text, a ReGIS string asking for a
// report, more text, then prints the answer it reads and exits with 7.
struct RunCase {
  const char* behaviour;
  std::string regis, answer;
};

const RunCase kReports[] = {
    {"a position report", "P[123,45]V[300,200]P[123,45]R(P)", "[123;45]"},
    {"an error report", "P[10,10]V[20,20]?R(E)", "\"1;63\""},
};

class RunReportTest : public testing::TestWithParam<RunCase> {};

TEST_P(RunReportTest, ShowsTheStringAsSixelAndTypesTheAnswer) {
  const RunCase& c = GetParam();
  const std::string program =
      "stty -echo; printf 'before\\n\\033P1p%s\\033\\\\after\\n' \"$1\"; "
      "IFS= read -r -t 5 answer; printf 'got %s\\n' \"$answer\"; exit 7";
  const CProgramRun run = RunZizider({"run", "--", "bash", "-c", program, "child", c.regis});
  EXPECT_EQ(run.exitCode, 7) << run.err;

  const std::string head =
                        "before\r\n\x1b"
                        "7\x1b[H",
                    tail =
                        "\x1b"
                        "8after\r\ngot " +
                        c.answer + "\r\n";
  const size_t start = run.out.find("\x1bP"), end = run.out.find("\x1b\\");
  ASSERT_NE(end, std::string::npos) << run.out;
  EXPECT_EQ(run.out.substr(0, start), head);
  EXPECT_EQ(run.out.substr(end + 2), tail);
  ExpectSamePicture(Decode(run.out.substr(start, end + 2 - start)),
                    RenderedPage("\x1bP1p" + c.regis + "\x1b\\"));
}

INSTANTIATE_TEST_SUITE_P(Reports, RunReportTest, testing::ValuesIn(kReports), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.behaviour; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

TEST(SixelTest, RunEndsWithTheCommandAndLeavesNoStringOpen) {
  // Killed in the middle of a string: the page drawn so far is still shown whole.
  CProgramRun run = RunZizider({"run", "--", "bash", "-c", "printf 'x\\033P1pP[10,10]V[90,90]'; kill -9 $$"});
  EXPECT_EQ(run.exitCode, 128 + 9) << run.err;
  EXPECT_EQ(run.out.substr(0, 3),
            "x\x1b"
            "7");
  EXPECT_EQ(run.out.substr(run.out.size() - 4),
            "\x1b\\\x1b"
            "8");
  run = RunZizider({"run", "--", "/nonexistent/program"});
  EXPECT_EQ(run.exitCode, 127);
  EXPECT_NE(run.out.find("cannot run"), std::string::npos);
}

// The terminal end of a pseudo-terminal stands in for the user's terminal.
struct GeometryCase {
  const char* behaviour;
  unsigned short xpixel, ypixel;
  std::string answers;
  int cellWidth, cellHeight;
};

const GeometryCase kGeometries[] = {
    {"the kernel knows the pixels", 800, 480, "", 10, 20},
    {"the terminal reports its cell", 0, 0, "\x1b[6;16;8t\x1b[?62c", 8, 16},
    {"the terminal reports its text area", 0, 0, "\x1b[4;240;480t\x1b[?62c", 6, 10},
    {"a terminal that answers nothing leaves the cell unknown", 0, 0, "", 0, 0},
};

class GeometryTest : public testing::TestWithParam<GeometryCase> {};

TEST_P(GeometryTest, FindsTheCellSize) {
  const GeometryCase& c = GetParam();
  int master = -1, slave = -1;
  winsize size{24, 80, c.xpixel, c.ypixel};
  ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &size), 0);
  if (!c.answers.empty()) {
    ASSERT_EQ(write(master, c.answers.data(), c.answers.size()), ssize_t(c.answers.size()));
  }
  CTerminalGeometry geometry;
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(AskTerminalGeometry(slave, 300, &geometry));
  EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
  EXPECT_EQ(geometry.columns, 80);
  EXPECT_EQ(geometry.rows, 24);
  EXPECT_EQ(geometry.cellWidth, c.cellWidth);
  EXPECT_EQ(geometry.cellHeight, c.cellHeight);
  close(slave);
  close(master);
}

INSTANTIATE_TEST_SUITE_P(Terminals, GeometryTest, testing::ValuesIn(kGeometries), [](const auto& info) {
  std::string name;
  for (const char* p = info.param.behaviour; *p; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) ? *p : '_';
  return name;
});

}  // namespace
