// The built program, run as a user runs it.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <string>

#include "cli_support.h"

namespace {

using namespace std::string_literals;

const std::string kEsc = "\x1b";
const std::string kSt = "\x1b\\";

std::string Wrapped(const std::string& regis) {
  return kEsc + "P1p" + regis + kSt;
}

int CountLines(const std::string& text) {
  return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
}

// The most frequent index of a picture: its background.
uint8_t Background(const CPng& png) {
  std::map<uint8_t, size_t> counts;
  for (uint8_t i : png.indices) ++counts[i];
  return std::max_element(counts.begin(), counts.end(), [](auto& a, auto& b) { return a.second < b.second; })
      ->first;
}

bool Blank(const CPng& png) {
  return std::all_of(png.indices.begin(), png.indices.end(), [&](uint8_t i) { return i == png.indices[0]; });
}

// Renders the input to a PNG in the folder and reads it back.
CPng Render(const CTempDir& dir, const std::string& name, const std::string& input,
            std::vector<std::string> args = {}) {
  args.insert(args.begin(), "render");
  args.insert(args.end(), {"-o", dir.File(name)});
  const CProgramRun run = RunZizider(args, {input});
  EXPECT_EQ(run.exitCode, 0) << run.err;
  return ReadPng(dir.File(name));
}

// Sends SIGINT once the temporary output exists, the sign that the program
// is ready for a break; standard input stays open until then.
CProgramInput InterruptedOnceReady(const std::string& text, const CTempDir& dir, bool& sent) {
  CProgramInput input{text};
  input.keepOpen = true;
  input.whileRunning = [&dir, &sent](int pid) {
    if (!sent && !dir.List().empty()) {
      kill(pid, SIGINT);
      sent = true;
    }
  };
  return input;
}

TEST(RenderProgramTest, StatePrintsTheFinalPositionAndNoErrorAsOneJsonLine) {
  CTempDir dir;
  const CProgramRun run =
      RunZizider({"render", "--state", "-o", dir.File("s.png")}, {Wrapped("P[100,100]V[200,150]")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(CountLines(run.out), 1);
  EXPECT_EQ(run.out.front(), '{');
  EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");
  for (const char* field : {"\"position\":[200,150]", "\"last_error\":[0,0]", "\"pages\":2", "\"writing\":{",
                            "\"text\":{", "\"colour_map\":[[0,0,0],"})
    EXPECT_NE(run.out.find(field), std::string::npos) << field << " in " << run.out;
  EXPECT_TRUE(run.err.empty()) << run.err;
}

// Inputs that end with a known state, read from --state.
TEST(RenderProgramTest, TheStateFollowsTheWholeInput) {
  const struct {
    const char* behaviour;
    std::map<std::string, std::string> files;
    std::vector<std::string> inputs;  // in order; "-" is standard input
    std::string stdinText;
    const char* expected;
  } rows[] = {
      {"the last syntax error is reported without failing",
       {},
       {},
       Wrapped("P[10,10]?"),
       "\"last_error\":[1,63]"},
      {"files are one stream in their order, ended by ST",
       {{"a", kEsc + "PpP[100,100]"}, {"b", "V[+50,+0]" + kSt + "P[1,1]"}},
       {"a", "b"},
       "",
       "\"position\":[150,100]"},
      {"standard input can sit between files",
       {{"a", "P[100,100]"}, {"c", "V[+0,+7]"}},
       {"a", "-", "c"},
       "V[+3,+0]",
       "\"position\":[103,107]"},
      {"NUL bytes are dropped",
       {},
       {},
       Wrapped("P[1\0"
               "00,10\0"
               "0]"s),
       "\"position\":[100,100]"},
      {"ten minutes of delay pass on the virtual clock",
       {},
       {},
       Wrapped("S(T36000)P[123,45]"),
       "\"position\":[123,45]"},
  };
  for (const auto& c : rows) {
    CTempDir dir;
    std::vector<std::string> args{"render", "--state", "-o", dir.File("o.png")};
    for (const auto& [name, bytes] : c.files) dir.Write(name, bytes);
    for (const std::string& name : c.inputs) args.push_back(name == "-" ? name : dir.File(name));
    const CProgramRun run = RunZizider(args, {c.stdinText});
    ASSERT_EQ(run.exitCode, 0) << c.behaviour << "\n" << run.err;
    EXPECT_NE(run.out.find(c.expected), std::string::npos) << c.behaviour << "\n" << run.out;
  }
}

TEST(RenderProgramTest, FailuresExplainThemselvesInOneLineAndLeaveNoFile) {
  const struct {
    const char* behaviour;
    std::vector<std::string> args;  // "@" is the temporary folder
    long long fileSizeLimit;
    int exitCode;
    const char* mentions;
  } rows[] = {
      {"a missing input", {"@/absent.regis"}, -1, 1, "absent.regis"},
      {"a folder as input", {"@", "-o", "@/x.png"}, -1, 1, "zizider: "},
      {"an output in a missing folder", {"-o", "@/gone/x.png"}, -1, 1, "gone/x.png"},
      {"a write that fails midway", {"-o", "@/x.png"}, 100, 1, "x.png"},  // far less than any PNG
      {"an unknown option is a usage error", {"--colour=red"}, -1, 2, "--colour"},
  };
  for (const auto& c : rows) {
    CTempDir dir;
    std::vector<std::string> args{"render"};
    for (std::string arg : c.args) args.push_back(arg[0] == '@' ? dir.path() + arg.substr(1) : arg);
    CProgramInput input{Wrapped("P[0,0]V[799,479]")};
    input.fileSizeLimit = c.fileSizeLimit;
    const CProgramRun run = RunZizider(args, input);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.behaviour;
    EXPECT_EQ(CountLines(run.err), 1) << c.behaviour << ": " << run.err;
    EXPECT_EQ(run.err.rfind("zizider: ", 0), 0u) << c.behaviour << ": " << run.err;
    EXPECT_NE(run.err.find(c.mentions), std::string::npos) << c.behaviour << ": " << run.err;
    EXPECT_TRUE(dir.List().empty()) << c.behaviour;
  }
}

TEST(RenderProgramTest, HelpAndVersionSucceed) {
  const CProgramRun help = RunZizider({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("zizider render"), std::string::npos);
  const CProgramRun version = RunZizider({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("zizider ", 0), 0u);
}

TEST(RenderProgramTest, AnEmptyInputGivesABlankIndexedPageInTheBackgroundColour) {
  CTempDir dir;
  const CPng png = Render(dir, "blank.png", "", {"--bg", "0000ff"});
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 800);
  EXPECT_EQ(png.height, 480);
  EXPECT_EQ(png.bitDepth, 8);
  EXPECT_EQ(png.colourType, 3);
  EXPECT_EQ(png.palette.size(), 256u);
  EXPECT_TRUE(Blank(png));
  EXPECT_EQ(png.palette[png.indices.front()], (std::array<uint8_t, 3>{0, 0, 255}));
}

TEST(RenderProgramTest, DrawsALineInTheForegroundColour) {
  CTempDir dir;
  const CPng png = Render(dir, "l.png", Wrapped("P[100,200]V[300,200]"), {"--fg", "ffff00"});
  ASSERT_TRUE(png.ok);
  const uint8_t background = Background(png);
  EXPECT_NE(png.At(200, 200), background);
  EXPECT_EQ(png.palette[png.At(200, 200)], (std::array<uint8_t, 3>{255, 255, 0}));
  EXPECT_EQ(png.At(200, 100), background);
  EXPECT_EQ(png.At(200, 201), background);
}

TEST(RenderProgramTest, TheDefaultOutputReplacesTheInputExtension) {
  CTempDir dir;
  dir.Write("pic.regis", Wrapped("V[]"));
  const CProgramRun run = RunZizider({"render", dir.File("pic.regis")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(dir.List(), (std::vector<std::string>{"pic.png", "pic.regis"}));
}

TEST(RenderProgramTest, TheStringSizeDoesNotChangeThePictureNorDoesTheRepaintedWindow) {
  CTempDir dir;
  const std::string input =
      Wrapped("P[10,10]V[+300,+0][+0,+200]W(C)V[-150,-300]P[20,400]V(B)[+100,+0][+0,-50](E)");
  const CPng big = Render(dir, "big.png", input);
  ASSERT_TRUE(big.ok);
  EXPECT_NE(big.At(160, 10), Background(big));
  EXPECT_EQ(Render(dir, "one.png", input, {"--chunk", "1"}).indices, big.indices);
  EXPECT_EQ(Render(dir, "seven.png", input, {"--chunk", "7"}).indices, big.indices);
  EXPECT_EQ(Render(dir, "window.png", input, {"--window"}).indices, big.indices);
}

TEST(RenderProgramTest, PageChoiceFollowsTheOutputAndScreenPages) {
  CTempDir dir;
  // Drawn on the second page while the screen shows the first.
  const std::string input = Wrapped("P(P1)P[100,100]V[700,100]");
  const CPng output = Render(dir, "out.png", input);
  const CPng screen = Render(dir, "screen.png", input, {"--page", "screen"});
  ASSERT_TRUE(output.ok && screen.ok);
  EXPECT_NE(output.At(400, 100), Background(output));
  EXPECT_EQ(screen.At(400, 100), Background(screen));
}

TEST(RenderProgramTest, ATrueColourDisplayWritesTheColoursThePaletteDisplayShows) {
  CTempDir dir;
  const std::string input = Wrapped("S(M1(R)2(H120L50S100))W(I1)P[0,0]V[799,479]W(I2)F(C[400,240],[100])");
  const CPng indexed = Render(dir, "indexed.png", input);
  const CPng rgb = Render(dir, "rgb.png", input, {"--display", "truecolor"});
  ASSERT_TRUE(indexed.ok);
  ASSERT_EQ(rgb.colourType, 2);  // RGB
  ASSERT_EQ(rgb.indices.size(), indexed.indices.size() * 3);
  for (size_t i = 0; i < indexed.indices.size(); ++i) {
    const auto& colour = indexed.palette[indexed.indices[i]];
    ASSERT_TRUE(
        std::equal(colour.begin(), colour.end(), rgb.indices.begin() + static_cast<std::ptrdiff_t>(i * 3)))
        << "pixel " << i;
  }
}

TEST(RenderProgramTest, TheTextGridAndCellSetThePictureSize) {
  CTempDir dir;
  const CPng png =
      Render(dir, "g.png", Wrapped("P[0,0]V[799,479]"), {"--cols", "40", "--rows", "12", "--cell", "8x16"});
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 320);
  EXPECT_EQ(png.height, 192);
  EXPECT_NE(png.At(160, 96), Background(png)) << "the diagonal is scaled onto the smaller page";
}

TEST(RenderProgramTest, ASixelStringAloneLeavesTheBlankPage) {
  CTempDir dir;
  const CPng png = Render(dir, "s.png", kEsc + "Pq#0;2;100;0;0#0~~~~~~-~~~~" + kSt);
  ASSERT_TRUE(png.ok);
  EXPECT_TRUE(Blank(png));
}

// Runs with --real-time and breaks in once the program is ready.
CProgramRun RunInterrupted(const std::string& regis, const CTempDir& dir) {
  bool sent = false;
  const CProgramRun run = RunZizider({"render", "--real-time", "-o", dir.File("i.png")},
                                     InterruptedOnceReady(Wrapped(regis), dir, sent));
  EXPECT_TRUE(sent);
  return run;
}

TEST(RenderProgramTest, AnInterruptWritesNothingAndSaysSo) {
  CTempDir dir;
  const CProgramRun run = RunInterrupted("P[100,100]V[200,200]", dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "zizider: interrupted\n");
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, AnInterruptDuringARealTimeDelayStopsTheRun) {
  CTempDir dir;
  const CProgramRun run = RunInterrupted("S(T360000)P[1,1]", dir);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "zizider: interrupted\n");
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, ALargeInputIsStreamedThroughAPipe) {
  CTempDir dir;
  CProgramInput input{kEsc + "PpP[400,240]"};
  std::string piece;
  for (int i = 0; i < 4096; ++i) piece += "V[+1,+0][-1,+0]";
  size_t sent = 0;
  input.more = [&](std::string& next) {
    if (sent >= 20u * 1024 * 1024) {
      next = kSt;
      return false;
    }
    next = piece;
    sent += piece.size();
    return true;
  };
  const CProgramRun run = RunZizider({"render", "--state", "-o", dir.File("big.png")}, input);
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"position\":[400,240]"), std::string::npos) << run.out;
  const CPng png = ReadPng(dir.File("big.png"));
  ASSERT_TRUE(png.ok);
  EXPECT_NE(png.At(400, 240), Background(png));
}

}  // namespace
