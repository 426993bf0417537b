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

TEST(RenderProgramTest, StatePrintsTheFinalPositionAndNoErrorAsOneJsonLine) {
  CTempDir dir;
  const CProgramRun run =
      RunZizider({"render", "--state", "-o", dir.File("s.png")}, {Wrapped("P[100,100]V[200,150]")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_EQ(CountLines(run.out), 1);
  EXPECT_EQ(run.out.front(), '{');
  EXPECT_EQ(run.out.substr(run.out.size() - 2), "}\n");
  EXPECT_NE(run.out.find("\"position\":[200,150]"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"last_error\":[0,0]"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"pages\":2"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"writing\":{"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"text\":{"), std::string::npos) << run.out;
  EXPECT_NE(run.out.find("\"colour_map\":[[0,0,0],"), std::string::npos) << run.out;
  EXPECT_TRUE(run.err.empty()) << run.err;
}

TEST(RenderProgramTest, StateReportsTheLastSyntaxErrorWithoutFailing) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", "--state", "-o", dir.File("e.png")}, {Wrapped("P[10,10]?")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"last_error\":[1,63]"), std::string::npos) << run.out;
}

TEST(RenderProgramTest, AMissingInputFailsWithOneLineAndWritesNothing) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", dir.File("absent.regis")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(CountLines(run.err), 1);
  EXPECT_EQ(run.err.rfind("zizider: ", 0), 0u) << run.err;
  EXPECT_NE(run.err.find("absent.regis"), std::string::npos) << run.err;
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, AFolderAsInputIsUnreadable) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", dir.path(), "-o", dir.File("x.png")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(CountLines(run.err), 1) << run.err;
}

TEST(RenderProgramTest, AnOutputInAMissingFolderFailsWithOneLineAndLeavesNoFile) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", "-o", dir.File("gone/x.png")}, {Wrapped("V[]")});
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(CountLines(run.err), 1) << run.err;
  EXPECT_NE(run.err.find("gone/x.png"), std::string::npos) << run.err;
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, AWriteThatFailsMidwayLeavesNeitherPictureNorTemporaryFile) {
  CTempDir dir;
  CProgramInput input{Wrapped("P[0,0]V[799,479]")};
  input.fileSizeLimit = 100;  // far less than any 800 x 480 PNG
  const CProgramRun run = RunZizider({"render", "-o", dir.File("x.png")}, input);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(CountLines(run.err), 1) << run.err;
  EXPECT_NE(run.err.find("x.png"), std::string::npos) << run.err;
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, AnUnknownOptionIsAUsageError) {
  const CProgramRun run = RunZizider({"render", "--colour=red"});
  EXPECT_EQ(run.exitCode, 2);
  EXPECT_EQ(CountLines(run.err), 1) << run.err;
  EXPECT_NE(run.err.find("--colour"), std::string::npos) << run.err;
}

TEST(RenderProgramTest, HelpAndVersionSucceed) {
  const CProgramRun help = RunZizider({"--help"});
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.out.find("zizider render"), std::string::npos);
  const CProgramRun version = RunZizider({"--version"});
  EXPECT_EQ(version.exitCode, 0);
  EXPECT_EQ(version.out.rfind("zizider ", 0), 0u);
}

TEST(RenderProgramTest, AnEmptyInputGivesABlankPageInTheBackgroundColour) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", "--bg", "0000ff", "-o", dir.File("blank.png")}, {""});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const CPng png = ReadPng(dir.File("blank.png"));
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 800);
  EXPECT_EQ(png.height, 480);
  EXPECT_EQ(png.bitDepth, 8);
  EXPECT_EQ(png.colourType, 3);
  EXPECT_EQ(png.palette.size(), 256u);
  const uint8_t first = png.indices.front();
  EXPECT_TRUE(std::all_of(png.indices.begin(), png.indices.end(), [&](uint8_t i) { return i == first; }));
  EXPECT_EQ(png.palette[first], (std::array<uint8_t, 3>{0, 0, 255}));
}

TEST(RenderProgramTest, DrawsALineInTheForegroundColour) {
  CTempDir dir;
  const CProgramRun run =
      RunZizider({"render", "--fg", "ffff00", "-o", dir.File("l.png")}, {Wrapped("P[100,200]V[300,200]")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const CPng png = ReadPng(dir.File("l.png"));
  ASSERT_TRUE(png.ok);
  const uint8_t background = Background(png);
  EXPECT_NE(png.At(200, 200), background);
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

TEST(RenderProgramTest, FilesAreReadAsOneStreamInTheirOrder) {
  CTempDir dir;
  dir.Write("a", kEsc + "PpP[100,100]");
  dir.Write("b", "V[+50,+0]" + kSt + "P[1,1]");  // after the ST: not ReGIS
  const CProgramRun run =
      RunZizider({"render", "--state", dir.File("a"), dir.File("b"), "-o", dir.File("o.png")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"position\":[150,100]"), std::string::npos) << run.out;
}

TEST(RenderProgramTest, StandardInputCanSitBetweenFiles) {
  CTempDir dir;
  dir.Write("a", "P[100,100]");
  dir.Write("c", "V[+0,+7]");
  const CProgramRun run = RunZizider(
      {"render", "--state", dir.File("a"), "-", dir.File("c"), "-o", dir.File("o.png")}, {"V[+3,+0]"});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"position\":[103,107]"), std::string::npos) << run.out;
}

TEST(RenderProgramTest, NulBytesInTheInputAreDropped) {
  CTempDir dir;
  const CProgramRun run = RunZizider({"render", "--state", "-o", dir.File("n.png")}, {Wrapped("P[1\0"
                                                                                              "00,10\0"
                                                                                              "0]"s)});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"position\":[100,100]"), std::string::npos) << run.out;
}

TEST(RenderProgramTest, TheStringSizeDoesNotChangeThePicture) {
  CTempDir dir;
  const std::string input =
      Wrapped("P[10,10]V[+300,+0][+0,+200]W(C)V[-150,-300]P[20,400]V(B)[+100,+0][+0,-50](E)");
  ASSERT_EQ(RunZizider({"render", "-o", dir.File("big.png")}, {input}).exitCode, 0);
  ASSERT_EQ(RunZizider({"render", "--chunk", "1", "-o", dir.File("one.png")}, {input}).exitCode, 0);
  ASSERT_EQ(RunZizider({"render", "--chunk", "7", "-o", dir.File("seven.png")}, {input}).exitCode, 0);
  const CPng big = ReadPng(dir.File("big.png"));
  ASSERT_TRUE(big.ok);
  EXPECT_EQ(ReadPng(dir.File("one.png")).indices, big.indices);
  EXPECT_EQ(ReadPng(dir.File("seven.png")).indices, big.indices);
}

TEST(RenderProgramTest, TheWindowAfterARepaintShowsTheOutputPage) {
  CTempDir dir;
  const std::string input = Wrapped("P[100,100]V[700,100][700,400][100,400][100,100]");
  ASSERT_EQ(RunZizider({"render", "-o", dir.File("page.png")}, {input}).exitCode, 0);
  ASSERT_EQ(RunZizider({"render", "--window", "-o", dir.File("window.png")}, {input}).exitCode, 0);
  const CPng page = ReadPng(dir.File("page.png"));
  const CPng window = ReadPng(dir.File("window.png"));
  ASSERT_TRUE(page.ok && window.ok);
  EXPECT_NE(page.At(400, 100), Background(page));
  EXPECT_EQ(window.indices, page.indices);
}

TEST(RenderProgramTest, PageChoiceFollowsTheOutputAndScreenPages) {
  CTempDir dir;
  // Drawn on the second page while the screen shows the first.
  const std::string input = Wrapped("P(P1)P[100,100]V[700,100]");
  ASSERT_EQ(RunZizider({"render", "-o", dir.File("out.png")}, {input}).exitCode, 0);
  ASSERT_EQ(RunZizider({"render", "--page", "screen", "-o", dir.File("screen.png")}, {input}).exitCode, 0);
  const CPng output = ReadPng(dir.File("out.png"));
  const CPng screen = ReadPng(dir.File("screen.png"));
  ASSERT_TRUE(output.ok && screen.ok);
  EXPECT_NE(output.At(400, 100), Background(output));
  EXPECT_EQ(screen.At(400, 100), Background(screen));
}

TEST(RenderProgramTest, TheTextGridAndCellSetThePictureSize) {
  CTempDir dir;
  ASSERT_EQ(RunZizider({"render", "--cols", "40", "--rows", "12", "--cell", "8x16", "-o", dir.File("g.png")},
                       {Wrapped("P[0,0]V[799,479]")})
                .exitCode,
            0);
  const CPng png = ReadPng(dir.File("g.png"));
  ASSERT_TRUE(png.ok);
  EXPECT_EQ(png.width, 320);
  EXPECT_EQ(png.height, 192);
  // The diagonal is scaled onto the smaller page.
  EXPECT_NE(png.At(160, 96), Background(png));
}

TEST(RenderProgramTest, ASixelStringAloneLeavesTheBlankPage) {
  CTempDir dir;
  const CProgramRun run =
      RunZizider({"render", "-o", dir.File("s.png")}, {kEsc + "Pq#0;2;100;0;0#0~~~~~~-~~~~" + kSt});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  const CPng png = ReadPng(dir.File("s.png"));
  ASSERT_TRUE(png.ok);
  EXPECT_TRUE(
      std::all_of(png.indices.begin(), png.indices.end(), [&](uint8_t i) { return i == png.indices[0]; }));
}

TEST(RenderProgramTest, AnInterruptWritesNothingAndSaysSo) {
  CTempDir dir;
  CProgramInput input{Wrapped("P[100,100]V[200,200]")};
  input.keepOpen = true;  // the program waits for more input until the break
  bool sent = false;
  input.whileRunning = [&](int pid) {
    // The temporary output exists once the program is ready for a break.
    if (!sent && !dir.List().empty()) {
      kill(pid, SIGINT);
      sent = true;
    }
  };
  const CProgramRun run = RunZizider({"render", "--real-time", "-o", dir.File("i.png")}, input);
  EXPECT_TRUE(sent);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "zizider: interrupted\n");
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, ALongDelayPassesOnTheVirtualClock) {
  CTempDir dir;
  // Ten minutes of waiting, then a move that must still happen.
  const CProgramRun run =
      RunZizider({"render", "--state", "-o", dir.File("d.png")}, {Wrapped("S(T36000)P[123,45]")});
  ASSERT_EQ(run.exitCode, 0) << run.err;
  EXPECT_NE(run.out.find("\"position\":[123,45]"), std::string::npos) << run.out;
}

TEST(RenderProgramTest, AnInterruptDuringARealTimeDelayStopsTheRun) {
  CTempDir dir;
  CProgramInput input{Wrapped("S(T360000)P[1,1]")};
  input.keepOpen = true;
  bool sent = false;
  input.whileRunning = [&](int pid) {
    if (!sent && !dir.List().empty()) {
      kill(pid, SIGINT);
      sent = true;
    }
  };
  const CProgramRun run = RunZizider({"render", "--real-time", "-o", dir.File("d.png")}, input);
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.err, "zizider: interrupted\n");
  EXPECT_TRUE(dir.List().empty());
}

TEST(RenderProgramTest, ALargeInputIsStreamedThroughAPipe) {
  CTempDir dir;
  CProgramInput input{kEsc + "PpP[400,240]"};
  const std::string piece = [] {
    std::string s;
    for (int i = 0; i < 4096; ++i) s += "V[+1,+0][-1,+0]";
    return s;
  }();
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
