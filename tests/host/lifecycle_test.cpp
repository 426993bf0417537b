// Creating, resetting and erasing an instance, and the small queries.
#include <gtest/gtest.h>

#include "interp/interpreter.h"
#include "platform/soft/inspect.h"
#include "support/test_host.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"
#include "surface/grdrv.h"

namespace inspect = soft::inspect;

namespace {

std::string ClassCursorName(CTestHost& host) {
  return inspect::CursorName(inspect::ClassCursor(host.Window()));
}

TEST(Lifecycle, InitWithModeZeroKeepsAnInstanceAndModeOneResetsTheSharedColourMap) {
  CTestHost host;
  CGrDrv* surface = host.Surface();
  EXPECT_EQ(KXREG_Init(host.Host(), RGB(255, 0, 0), RGB(0, 0, 255), 0), 0);
  EXPECT_EQ(host.Surface(), surface);
  EXPECT_EQ(surface->foregroundColour, 0xFFFFFFu) << "the colours are not taken either";
  WorkingColourMap()[3] = CColour{1, 2, 3};
  CTestHost::Options uninitialised;
  uninitialised.init = false;
  CTestHost second(uninitialised);
  ASSERT_EQ(second.Init(0), 0);
  EXPECT_EQ(WorkingColourMap()[3].red, 1);
  second.Erase();
  ASSERT_EQ(second.Init(1), 0);
  EXPECT_EQ(WorkingColourMap()[3].blue, kDefaultColourMap[3].blue);
}

TEST(Lifecycle, InitWithModeOneOrThreeOnAnInstanceBuildsANewSetAndLeavesTheOldOneAlone) {
  for (int mode : {1, 3}) {
    CTestHost host;
    KXREG_HOST old = *host.Host();
    HDC oldPage = KXREG_GetMemDC(host.Host(), 1);
    host.Feed("Q");
    ASSERT_EQ(host.Init(mode), 0);
    EXPECT_NE(host.Surface(), old.grDrv);
    EXPECT_NE(host.Context(), old.context);
    EXPECT_EQ(host.Interpreter()->lastError, 0);
    EXPECT_EQ(old.interpreter->lastErrorChar, 'Q');
    EXPECT_EQ(inspect::ReadDC(oldPage).width, 800) << "a page context the host still holds";
    KXREG_Erase(&old);  // the old set is the host's to erase through its slots
  }
}

TEST(Lifecycle, EraseEmptiesTheSlotsDestroysTheCaretPutsTheIBeamBackAndLeavesNoHandles) {
  const size_t before = inspect::LiveHandles();
  {
    CTestHost host;
    host.Feed("abc");
    KXREG_Reset(host.Host(), RGB(0, 255, 0), RGB(0, 0, 0), 0, 0);
    KXREG_RefreshFromBuf(host.Host());
    ASSERT_EQ(KXREG_OutCursor(host.Host(), 2), 0);
    EXPECT_EQ(host.Erase(), 0);
    EXPECT_EQ(host.Surface(), nullptr);
    EXPECT_EQ(host.Context(), nullptr);
    EXPECT_EQ(host.Interpreter(), nullptr);
    EXPECT_EQ(inspect::Caret().owner, nullptr);
    EXPECT_EQ(ClassCursorName(host), "IDC_32513");
    EXPECT_EQ(inspect::CursorName(inspect::CurrentCursor()), "IDC_32513");
    EXPECT_EQ(host.Erase(), 0) << "twice is harmless";
  }
  EXPECT_EQ(inspect::LiveHandles(), before);
}

TEST(Lifecycle, ResetRebuildsAtTheNewGeometryInTheNewColoursAndKeepsTheJournalAndCursorBit) {
  CTestHost host;
  host.Feed("Q");
  host.Host()->rows = 12;
  ASSERT_EQ(KXREG_Reset(host.Host(), RGB(255, 255, 0), RGB(0, 0, 128), 0, 0), 0);
  EXPECT_EQ(host.PageImage(1).height, 240);
  EXPECT_EQ(host.PageImage(1).RgbAt(400, 200), RGB(0, 0, 128));
  EXPECT_EQ(host.Surface()->foregroundColour, RGB(255, 255, 0));
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(ClassCursorName(host), "ReGisCursor");
  host.Interpreter()->SetError(0, 0);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 0);
  EXPECT_EQ(host.Interpreter()->lastErrorChar, 'Q');
  host.State()->flags &= ~kOutputCursorOn;
  ASSERT_EQ(KXREG_Reset(host.Host(), 0xFFFFFF, 0, 0, 0), 0);
  EXPECT_FALSE(host.State()->OutputCursorOn());
  EXPECT_FALSE(inspect::Caret().shown);
}

TEST(Lifecycle, ClearPageTellsTheHostEmptiesTheJournalAndEndsTheInitialText) {
  CTestHost host;
  host.Feed("Q");
  KXREG_DrawLine(host.Host(), 0, 0, 100, 100, 0);
  EXPECT_EQ(KXREG_DrawInitialText(host.Host()), 1);
  KXREG_SetRedraw(host.Host(), FALSE);
  ASSERT_EQ(KXREG_ClearPage(host.Host()), 0);
  EXPECT_EQ(host.Surface()->redrawSuspended, 1) << "the redraw flag is kept";
  EXPECT_EQ(KXREG_DrawInitialText(host.Host()), 0);
  ASSERT_EQ(host.callbacks.size(), 1u);
  EXPECT_EQ(host.callbacks[0].kind, CTestHost::Callback::PageErased);
  EXPECT_EQ(host.Screen()->field2C, host.Screen()->field64 - 1);
  EXPECT_TRUE(host.Surface()->vectors.Entries().empty());
  EXPECT_EQ(host.Host()->graphicsData, 0);
  host.Interpreter()->SetError(0, 0);
  KXREG_RefreshFromBuf(host.Host());
  EXPECT_EQ(host.Interpreter()->lastError, 0);
}

TEST(Lifecycle, QueriesNamePagesFromOneAndSetSmoothReturnsThePreviousFlag) {
  CTestHost host;
  EXPECT_EQ(KXREG_GetMemDC(host.Host(), 1), host.Surface()->pageDC[0]);
  for (int page : {0, 2, -1, 3})
    EXPECT_EQ(KXREG_GetMemDC(host.Host(), page), host.Surface()->pageDC[1]) << page;
  EXPECT_EQ(KXREG_GetCurPageNum(host.Host()), 1);
  host.State()->outputPage = 1;
  EXPECT_EQ(KXREG_GetCurPageNum(host.Host()), 2);
  EXPECT_EQ(KXREG_SetSmooth(host.Host(), 1), 0);
  EXPECT_EQ(KXREG_SetSmooth(host.Host(), 0), 1);
}

// Every per-window export on a record without an instance, or on no record,
// answers its failure value and does nothing; on a record without a graphics
// context, those that need one do.
TEST(Lifecycle, ExportsWithoutAnInstanceFail) {
  CTestHost host, partial;  // the second has lost its context slot: a surface without a graphics state
  host.Erase();
  CGraphicsContext* context = partial.Context();
  partial.Host()->context = nullptr;
  for (KXREG_HOST* h : {host.Host(), static_cast<KXREG_HOST*>(nullptr), partial.Host()}) {
    const std::vector<int> none = {-1, -1};
    uint32_t pixel = 0;
    auto xy = [](POINT p) { return std::vector<int>({p.x, p.y}); };
    EXPECT_EQ(std::vector<int>(
                  {KXREG_Reset(h, 0, 0, 0, 0), KXREG_ClearPage(h), KXREG_SetSmooth(h, 0),
                   KXREG_HandleNextString(h, "P"), KXREG_RefreshFromBuf(h), KXREG_ClearParserBuf(h),
                   KXREG_LineFeed(h), KXREG_SetScrollRange(h, 1, 1), KXREG_SetScrollPos(h, 1, 1),
                   KXREG_SetRedraw(h, TRUE), KXREG_Refresh(h, nullptr, 0, 0, 10, 10), KXREG_OutCursor(h, 2),
                   KXREG_RefreshPixels(h, &pixel, 1, 1), KXREG_Print(h, nullptr, 1, 1, 1, 24, 1, 80)}),
              h == partial.Host() ? std::vector<int>({1, 1, 0, 1, 1, 0, 1, 0, 1, 0, 1, 1, 1, 1})
                                  : std::vector<int>(14, 1));
    EXPECT_EQ(KXREG_GetMemDC(h, 1), h == partial.Host() ? partial.Surface()->pageDC[0] : nullptr);
    EXPECT_EQ(KXREG_GetPalette(h), h == partial.Host() ? partial.Surface()->palette : nullptr);
    EXPECT_EQ(KXREG_GetCurPageNum(h), -1);
    EXPECT_EQ(KXREG_DrawInitialText(h), h == partial.Host() ? 1 : 0);
    EXPECT_EQ(xy(KXREG_DrawLine(h, 0, 0, 1, 1, 0)), none);
    EXPECT_EQ(xy(KXREG_DrawPoint(h, 0, 0, 0)), none);
    KXREG_SetLinePattern(h, 'a');
    KXREG_SetWritingMode(h, '1');
    EXPECT_EQ(xy(KXREG_Set4010CurPos(h, 0, 0, 0)), none);
    EXPECT_EQ(xy(KXREG_Get4010CurPos(h, 0)), none);
    EXPECT_EQ(xy(KXREG_SetRegisCurPos(h, 0, 0, 1)), none);
    EXPECT_EQ(xy(KXREG_GetRegisCurPos(h)), none);
    EXPECT_EQ(h == partial.Host() ? 0 : KXREG_Erase(h), 0);
  }
  partial.Host()->context = context;
  CInterpreter* interpreter = partial.Interpreter();  // now its interpreter slot lost instead
  partial.Host()->interpreter = nullptr;
  KXREG_HOST* h = partial.Host();
  EXPECT_EQ(
      std::vector<int>({KXREG_HandleNextString(h, "P"), KXREG_RefreshFromBuf(h), KXREG_ClearParserBuf(h)}),
      std::vector<int>(3, 1));
  partial.Host()->interpreter = interpreter;
  EXPECT_EQ(KXREG_Init(nullptr, 0, 0, 0), 1);
  host.SetSetting(KXREG_SETTING_4010_MODE);
  EXPECT_EQ(KXREG_ClearParserBuf(host.Host()), 1);
  EXPECT_EQ(KXREG_RefreshFromBuf(host.Host()), 1);
}

}  // namespace
