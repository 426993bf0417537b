// The built program, run as a user runs it.
#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <regex>
#include <string>

#include "cli_support.h"

namespace {

using namespace std::string_literals;
using Strings = std::vector<std::string>;

std::string Wrapped(const std::string& regis) {
  return "\33P1p" + regis + "\33\\";
}

// Renders the input to a PNG in the folder and reads it back.
CPng Render(const CTempDir& dir, const std::string& name, const std::string& input, Strings args = {}) {
  args.insert(args.begin(), "render");
  args.push_back("--output=" + dir.File(name));
  const CProgramRun run = RunZizider(args, {input});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return ReadPng(dir.File(name));
}

TEST(RenderProgramTest, StateIsOneJsonLineThatFollowsTheWholeInput) {
  std::string large = "\33PpP[400,240]";  // 20 MiB through the pipe
  while (large.size() < 20u << 20) large += "V[+1,+0][-1,+0]";
  large += "V[+0,+1]\33\\";
  const char* whole =
      R"(^\{"position":\[200,150\],"last_error":\[0,0\],"pages":2,.*"writing":\{.*"text":\{.*"colour_map":\[\[0,0,0\],.*\]\]\}\n$)";
  const struct {
    const char* behaviour;
    Strings inputs;  // in order: "-" is standard input, "name=bytes" a file
    std::string stdinText;
    const char* pattern;
  } rows[] = {
      {"the final position and no error", {}, Wrapped("P[100,100]V[200,150]"), whole},
      {"the last syntax error, not a failure", {}, Wrapped("P[10,10]?"), R"("last_error":\[1,63\])"},
      // Files are one stream in their order, ended by ST; standard input can sit between them.
      {"files", {"a=\33PpP[100,100]", "b=V[+50,+0]\33\\P[1,1]"}, "", R"("position":\[150,100\])"},
      {"standard input", {"a=P[100,100]", "-", "c=V[+0,+7]"}, "V[+3,+0]", R"("position":\[103,107\])"},
      {"a large input", {}, large, R"("position":\[400,241\])"},
      {"ten minutes of delay on the virtual clock", {}, Wrapped("S(T36000)P[1,4]"), R"("position":\[1,4\])"},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTempDir dir;
    Strings args{"render", "--state", "-o", dir.File("o.png")};
    for (const std::string& input : c.inputs) {
      const size_t eq = input.find('=');
      if (eq != std::string::npos) dir.Write(input.substr(0, eq), input.substr(eq + 1));
      args.push_back(eq == std::string::npos ? input : dir.File(input.substr(0, eq)));
    }
    const CProgramRun run = RunZizider(args, {c.stdinText});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(run.err.empty()) << run.err;
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1) << run.out;
    EXPECT_TRUE(std::regex_search(run.out, std::regex(c.pattern))) << run.out;
  }
}

TEST(RenderProgramTest, FailuresExplainThemselvesInOneLineAndLeaveNoFile) {
  const struct {
    const char* behaviour;
    Strings args;  // "@" is the temporary folder
    long long fileSizeLimit;
    int exitCode;
    const char* mentions;
  } rows[] = {
      {"a missing input", {"@/absent.regis"}, -1, 1, "absent.regis"},
      {"a folder as input", {"@", "-o", "@/x.png"}, -1, 1, "zizider: "},
      {"an output in a missing folder", {"-o", "@/gone/x.png"}, -1, 1, "gone/x.png"},
      {"a folder as output", {"-o", "@"}, -1, 1, "Is a directory"},
      {"a write that fails midway", {"-o", "@/x.png"}, 100, 1, "x.png"},  // far less than any PNG
      {"an unknown option is a usage error", {"--colour=red"}, -1, 2, "--colour"},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.behaviour);
    CTempDir dir;
    Strings args{"render"};
    for (std::string arg : c.args) args.push_back(arg[0] == '@' ? dir.path() + arg.substr(1) : arg);
    CProgramInput input{Wrapped("P[0,0]V[799,479]")};
    input.fileSizeLimit = c.fileSizeLimit;
    const CProgramRun run = RunZizider(args, input);
    EXPECT_EQ(run.exitCode, c.exitCode);
    EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << run.err;
    EXPECT_EQ(run.err.rfind("zizider: ", 0), 0u) << run.err;
    EXPECT_NE(run.err.find(c.mentions), std::string::npos) << run.err;
    EXPECT_TRUE(dir.List().empty());
  }
}

TEST(RenderProgramTest, AnInterruptWritesNothingAndSaysSo) {
  // The second waits in a real-time delay of an hour when the break comes.
  for (const char* regis : {"P[100,100]V[200,200]", "S(T360000)P[1,1]"}) {
    CTempDir dir;
    CProgramInput input{Wrapped(regis)};
    input.keepOpen = true;  // until the break
    int turns = 0;  // the break comes 100 ms after the temporary output appears, while the program waits
    input.whileRunning = [&](int pid) {
      if (!dir.List().empty() && ++turns == 10) kill(pid, SIGINT);
    };
    const CProgramRun run = RunZizider({"render", "--real-time", "-o", dir.File("i.png")}, input);
    EXPECT_GE(turns, 10) << regis;
    EXPECT_EQ(run.exitCode, 1) << regis;
    EXPECT_EQ(run.err, "zizider: interrupted\n") << regis;
    EXPECT_TRUE(dir.List().empty()) << regis;
  }
}

TEST(RenderProgramTest, HelpAndVersionSucceed) {
  const CProgramRun help = RunZizider({"--help"}), version = RunZizider({"--version"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("zizider render"), std::string::npos);
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("zizider ", 0), 0u);
}

TEST(RenderProgramTest, WritesAnIndexedPageOfTheOptionsSize) {
  const std::string line = Wrapped("P[100,200]V[300,200]"), diagonal = Wrapped("P[0,0]V[799,479]");
  const std::string sixel = "\33Pq#0;2;100;0;0#0~~~~~~-~~~~\33\\",
                    onSecondPage = Wrapped("P(P1)P[100,100]V[700,100]");
  const struct {
    Strings args;
    std::string input;
    int width, height, x, y, rgb;  // the colour at x, y
    int drawn;                     // pixels off the background; -1 not counted
  } rows[] = {
      {{"--bg=#0000FF"}, "", 800, 480, 0, 0, 0x0000ff, 0},
      {{"--fg", "ffff00"}, line, 800, 480, 200, 200, 0xffff00, 200},  // the end pixel is left, as LineTo does
      {{}, sixel, 800, 480, 0, 0, 0, 0},  // a sixel string alone leaves the page blank
      {{"--cols", "40", "--rows=12", "--cell=8x16"}, diagonal, 320, 192, 160, 96, 0xffffff, -1},
      {{}, onSecondPage, 800, 480, 400, 100, 0xffffff, -1},  // the output page, not the one shown
      {{"--page", "screen"}, onSecondPage, 800, 480, 400, 100, 0, 0},
  };
  for (const auto& c : rows) {
    SCOPED_TRACE(c.input);
    CTempDir dir;
    const CPng p = Render(dir, "p.png", c.input, c.args);
    EXPECT_EQ(std::vector<int>({p.width, p.height, p.bitDepth, p.colourType, int(p.palette.size())}),
              std::vector<int>({c.width, c.height, 8, 3, 256}));
    ASSERT_TRUE(p.ok);
    const auto& rgb = p.palette[p.At(c.x, c.y)];
    EXPECT_EQ(rgb[0] << 16 | rgb[1] << 8 | rgb[2], c.rgb);
    const uint8_t bg = p.indices[0];  // the top left corner, off every drawing with a count
    const auto drawn = std::count_if(p.indices.begin(), p.indices.end(), [&](uint8_t i) { return i != bg; });
    EXPECT_TRUE(c.drawn < 0 || drawn == c.drawn) << drawn << " pixels drawn";
  }
}

TEST(RenderProgramTest, TheStringSizeDoesNotChangeThePictureNorDoesTheRepaintedWindow) {
  CTempDir dir;
  const std::string input =
      Wrapped("P[10,10]V[+300,+0][+0,+200]W(C)V[-150,-300]P[20,400]V(B)[+100,+0][+0,-50](E)");
  const CPng big = Render(dir, "big.png", input);
  ASSERT_TRUE(big.ok);
  EXPECT_NE(big.At(160, 10), big.At(0, 0));
  for (const Strings& args : {Strings{"--chunk=1"}, Strings{"--chunk", "7"}, Strings{"--window"}})
    EXPECT_EQ(Render(dir, "other.png", input, args).indices, big.indices) << args[0];
}

TEST(RenderProgramTest, ATrueColourDisplayWritesTheColoursThePaletteDisplayShows) {
  CTempDir dir;
  const std::string input = Wrapped("S(M1(R)2(H120L50S100))W(I1)P[0,0]V[799,479]W(I2)F(C[400,240],[100])");
  const CPng indexed = Render(dir, "indexed.png", input);
  const CPng rgb = Render(dir, "rgb.png", input, {"--display=truecolor"});
  ASSERT_TRUE(indexed.ok);
  ASSERT_EQ(rgb.colourType, 2);
  EXPECT_TRUE(rgb.indices == indexed.Rgb());
}

TEST(RenderProgramTest, TheDefaultOutputReplacesTheInputExtension) {
  CTempDir dir;
  dir.Write("pic.regis", Wrapped("V[]"));
  const CProgramRun run = RunZizider({"render", dir.File("pic.regis")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(dir.List(), (Strings{"pic.png", "pic.regis"}));
}

}  // namespace
