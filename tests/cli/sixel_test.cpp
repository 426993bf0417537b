// zizider show/run on a sixel terminal, decoded with libsixel; the cell size.
#include <gtest/gtest.h>
#include <pty.h>
#include <sixel.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <vector>

#include "cli_support.h"
#include "tools/zizider/terminal_geometry.h"

namespace {

using namespace std::string_literals;

CPng Decode(std::string sixel) {
  CPng picture;
  unsigned char *pixels = nullptr, *palette = nullptr;
  int colours = 0;
  if (SIXEL_FAILED(sixel_decode_raw(reinterpret_cast<unsigned char*>(&sixel[0]),
                                    static_cast<int>(sixel.size()), &pixels, &picture.width, &picture.height,
                                    &palette, &colours, nullptr)))
    return {};
  picture.indices.assign(pixels, pixels + picture.width * picture.height);
  for (int i = 0; i < colours; ++i)
    picture.palette.push_back({palette[3 * i], palette[3 * i + 1], palette[3 * i + 2]});
  std::free(pixels);
  std::free(palette);
  return picture;
}

CPng RenderedPage(std::vector<std::string> args, const std::string& input = "") {
  CTempDir dir;
  args.insert(args.begin(), {"render", "-o", dir.File("page.png")});
  EXPECT_EQ(RunZizider(args, {input}).exitCode, 0);
  return ReadPng(dir.File("page.png"));
}

// Sixel colours are whole percents: a channel may move by up to 2 of 255.
void ExpectSamePicture(const CPng& got, const CPng& want) {
  ASSERT_EQ(std::vector<int>({got.width, got.height}), std::vector<int>({want.width, want.height}));
  const std::vector<uint8_t> a = got.Rgb(), b = want.Rgb();
  int wrong = 0;
  for (size_t i = 0; i < b.size(); ++i) wrong += std::abs(a[i] - b[i]) > 2;
  EXPECT_EQ(wrong, 0) << "channels off";
}

TEST(SixelTest, ShowWritesThePageThatRenderMakes) {
  const std::string skyline = ZIZIDER_EXAMPLES_DIR "/skyline.regis"s;
  const CProgramRun run = RunZizider({"show", skyline});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  ExpectSamePicture(Decode(run.out), RenderedPage({skyline}));
}

// A program in the pseudo-terminal writes text, a ReGIS string asking for a
// report, more text, then prints the answer it reads and exits with 7.
TEST(SixelTest, RunShowsTheStringAsSixelAndTypesTheReportBack) {
  const std::string program =
      "stty -echo; printf 'before\\n\\033P1p%s\\033\\\\after\\n' \"$1\"; "
      "IFS= read -r -t 5 answer; printf 'got %s\\n' \"$answer\"; exit 7";
  const std::pair<const char*, const char*> rows[] = {
      {"P[123,45]V[300,200]P[123,45]R(P)", "[123;45]"},  // a position report
      {"P[10,10]V[20,20]?R(E)", "\"1;63\""},             // an error report
  };
  for (const auto& [regis, answer] : rows) {
    SCOPED_TRACE(regis);
    const CProgramRun run = RunZizider({"run", "--", "bash", "-c", program, "child", regis});
    EXPECT_EQ(run.exitCode, 7) << run.err;
    const size_t start = run.out.find("\33P"), end = run.out.find("\33\\");
    ASSERT_NE(end, std::string::npos) << run.out;
    EXPECT_EQ(run.out.substr(0, start),
              "before\r\n\0337\33[H");  // the cursor is kept, the picture goes top left
    EXPECT_EQ(run.out.substr(end + 2), "\338after\r\ngot "s + answer + "\r\n");
    ExpectSamePicture(Decode(run.out.substr(start, end + 2 - start)),
                      RenderedPage({}, "\33P1p"s + regis + "\33\\"));
  }
  // Killed in the middle of a string: the page drawn so far is still shown whole.
  CProgramRun run = RunZizider({"run", "--", "bash", "-c", "printf 'x\\033P1pP[10,10]V[90,90]'; kill -9 $$"});
  EXPECT_EQ(run.exitCode, 128 + 9) << run.err;
  EXPECT_EQ(run.out.substr(0, 3), "x\0337");
  EXPECT_EQ(run.out.substr(run.out.size() - 4), "\33\\\338");
  run = RunZizider({"run", "--", "/nonexistent/program"});
  EXPECT_EQ(run.exitCode, 127);
  EXPECT_NE(run.out.find("cannot run"), std::string::npos);
}

// The terminal end of a pseudo-terminal stands in for the user's terminal.
TEST(SixelTest, TheTerminalGivesTheCellSize) {
  const struct {
    const char* behaviour;
    unsigned short xpixel, ypixel;
    std::string answers;
    int cellWidth, cellHeight;
  } rows[] = {
      {"the kernel knows the pixels", 800, 480, "", 10, 20},
      {"the terminal reports its cell", 0, 0, "\33[6;16;8t\33[?62c", 8, 16},
      {"the terminal reports its text area", 0, 0, "\33[4;240;480t\33[?62c", 6, 10},
      {"a terminal that answers nothing leaves the cell unknown", 0, 0, "", 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    int master = -1, slave = -1;
    winsize size{24, 80, c.xpixel, c.ypixel};
    ASSERT_EQ(openpty(&master, &slave, nullptr, nullptr, &size), 0);
    ASSERT_EQ(write(master, c.answers.data(), c.answers.size()), ssize_t(c.answers.size()));
    CTerminalGeometry geometry;
    const auto start = std::chrono::steady_clock::now();
    EXPECT_TRUE(AskTerminalGeometry(slave, 300, &geometry));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(2));
    EXPECT_EQ(std::vector<int>({geometry.columns, geometry.rows, geometry.cellWidth, geometry.cellHeight}),
              std::vector<int>({80, 24, c.cellWidth, c.cellHeight}));
    close(slave);
    close(master);
  }
}

}  // namespace
