// USER of the soft platform: windows, painting, the message queue, carets, cursors, resources and wsprintfA.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <vector>

#include "platform/soft/inspect.h"
#include "platform/soft/objects.h"
#include "platform/soft/palette.h"
#include "platform/soft/resource.h"
#include "platform/win32.h"

namespace {

namespace inspect = soft::inspect;

// What the test window procedure saw and how it answers.
struct ProcLog {
  std::vector<std::pair<HWND, UINT>> messages;
  LPVOID createParams = nullptr;
  LRESULT createResult = 0;
};
ProcLog g_log;

LRESULT CALLBACK TestProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  g_log.messages.emplace_back(hwnd, msg);
  if (msg == WM_CREATE) {
    g_log.createParams = reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams;
    return g_log.createResult;
  }
  if (msg == WM_PAINT) {
    PAINTSTRUCT ps;
    BeginPaint(hwnd, &ps);
    EndPaint(hwnd, &ps);
    return 0;
  }
  return DefWindowProcA(hwnd, msg, wParam, lParam);
}

constexpr char kClass[] = "UserTestWindow";

using Box = std::array<LONG, 4>;
Box BoxOf(const RECT& r) {
  return {r.left, r.top, r.right, r.bottom};
}
Box WindowBox(HWND hwnd) {
  RECT r{};
  GetWindowRect(hwnd, &r);
  return BoxOf(r);
}
Box UpdateBox(HWND hwnd) {
  RECT r{};
  GetUpdateRect(hwnd, &r, FALSE);
  return BoxOf(r);
}

class UserTest : public ::testing::Test {
 protected:
  void SetUp() override {
    g_log = ProcLog{};
    inspect::EchoMessageBoxes(false);
    // cbWndExtra holds a pointer at 0 and a LONG at 4, laid out as for 32 bits.
    const WNDCLASSA wc{0,       TestProc, 0,       8,       GetModuleHandleA(nullptr),
                       nullptr, nullptr,  nullptr, nullptr, kClass};
    ASSERT_NE(RegisterClassA(&wc), 0);
    baseline_ = inspect::LiveHandles();
  }
  void TearDown() override {
    for (HWND h : windows_)
      if (IsWindow(h)) DestroyWindow(h);
    DestroyCaret();
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);) ++i;
    EXPECT_TRUE(UnregisterClassA(kClass, GetModuleHandleA(nullptr)));
  }
  HWND Make(int w = 100, int h = 80, HWND parent = nullptr, DWORD style = WS_OVERLAPPED,
            void* param = nullptr) {
    return At(0, 0, w, h, parent, style | (parent ? WS_CHILD : 0), param);
  }
  HWND At(int x, int y, int w, int h, HWND parent = nullptr, DWORD style = 0, void* param = nullptr) {
    HWND hwnd = CreateWindowExA(0, kClass, "test", style, x, y, w, h, parent, nullptr,
                                GetModuleHandleA(nullptr), param);
    windows_.push_back(hwnd);
    return hwnd;
  }
  std::vector<HWND> windows_;
  size_t baseline_ = 0;
};

TEST_F(UserTest, CreateAndDestroySendTheirMessagesInOrder) {
  int param = 0;
  HWND parent = Make(100, 80, nullptr, WS_OVERLAPPED, &param);
  EXPECT_EQ(g_log.createParams, &param);
  HWND child = Make(10, 10, parent);
  EXPECT_FALSE(UnregisterClassA(kClass, GetModuleHandleA(nullptr))) << "a class in use stays";
  EXPECT_TRUE(DestroyWindow(parent));
  const std::vector<std::pair<HWND, UINT>> expected = {
      {parent, WM_NCCREATE}, {parent, WM_CREATE}, {parent, WM_SIZE},     {parent, WM_MOVE},
      {child, WM_NCCREATE},  {child, WM_CREATE},  {child, WM_SIZE},      {child, WM_MOVE},
      {parent, WM_DESTROY},  {child, WM_DESTROY}, {child, WM_NCDESTROY}, {parent, WM_NCDESTROY}};
  EXPECT_EQ(g_log.messages, expected) << "destroy to the parent first, final destroy to it last";
  EXPECT_FALSE(IsWindow(child) || DestroyWindow(parent)) << "the handles are stale";
  g_log.createResult = -1;
  EXPECT_EQ(Make(), nullptr);
  EXPECT_EQ(inspect::LiveHandles(), baseline_) << "creation returning -1 destroys";
}

TEST_F(UserTest, AWindowClosedThroughDefWindowProcFailsEveryLaterCallAsDoBadArguments) {
  HWND hwnd = Make(), live = Make();
  SendMessageA(hwnd, WM_CLOSE, 0, 0);
  RECT r{1, 2, 3, 4};
  MSG msg;
  PAINTSTRUCT ps;
  WNDCLASSA wc{}, noProc{}, big{}, atom{};
  wc.lpfnWndProc = big.lpfnWndProc = atom.lpfnWndProc = DefWindowProcA;
  wc.lpszClassName = noProc.lpszClassName = big.lpszClassName = "UserTestBad";
  atom.lpszClassName = MAKEINTRESOURCEA(7);
  wc.cbWndExtra = -1;
  big.cbClsExtra = 5000;
  const auto create = [&](const char* cls, DWORD style, HWND parent) {
    return CreateWindowExA(0, cls, "", style, 0, 0, 5, 5, parent, nullptr, nullptr, nullptr);
  };
  const bool failed[] = {RegisterClassA(nullptr) == 0,
                         RegisterClassA(&wc) == 0,
                         RegisterClassA(&noProc) == 0,
                         RegisterClassA(&big) == 0,
                         RegisterClassA(&atom) == 0,
                         create("NoSuchClass", 0, nullptr) == nullptr,
                         create(kClass, 0, hwnd) == nullptr,
                         create(kClass, WS_CHILD, nullptr) == nullptr,
                         !GetClientRect(live, nullptr),
                         !GetWindowRect(live, nullptr),
                         SetWindowLongPtrA(live, GWLP_WNDPROC, 0) == 0,
                         !PeekMessageA(nullptr, nullptr, 0, 0, PM_REMOVE),
                         !GetMessageA(nullptr, nullptr, 0, 0),
                         GetMessageA(&msg, hwnd, 0, 0) == -1,
                         GetClassLongA(live, 0) == 0 && SetClassLongA(live, 0, 5) == 0,  // no class extra
                         !TranslateMessage(nullptr),
                         DispatchMessageA(nullptr) == 0,
                         BeginPaint(live, nullptr) == nullptr,
                         !IsWindow(hwnd),
                         !ShowWindow(hwnd, SW_SHOW),
                         !IsWindowVisible(hwnd),
                         !SetWindowPos(hwnd, nullptr, 1, 1, 5, 5, 0),
                         !GetClientRect(hwnd, &r),
                         !GetWindowRect(hwnd, &r),
                         SetWindowLongPtrA(hwnd, 0, 42) == 0,
                         GetWindowLongPtrA(hwnd, 0) == 0,
                         GetClassLongA(hwnd, GCL_HCURSOR) == 0,
                         GetDC(hwnd) == nullptr,
                         !InvalidateRect(hwnd, nullptr, TRUE),
                         !ValidateRect(hwnd, nullptr),
                         !GetUpdateRect(hwnd, &r, FALSE),
                         !UpdateWindow(hwnd),
                         BeginPaint(hwnd, &ps) == nullptr,
                         !PostMessageA(hwnd, WM_USER, 0, 0),
                         SendMessageA(hwnd, WM_USER, 0, 0) == 0,
                         !PeekMessageA(&msg, hwnd, 0, 0, PM_REMOVE),
                         !CreateCaret(hwnd, nullptr, 2, 10)};
  for (size_t i = 0; i < std::size(failed); ++i) EXPECT_TRUE(failed[i]) << "call " << i;
  EXPECT_EQ(inspect::ReadWindow(hwnd).width, 0);
}

TEST_F(UserTest, GeometryDefaultsSitsChildrenInTheirParentAndClampsHugeSizes) {
  EXPECT_EQ(WindowBox(At(CW_USEDEFAULT, 5, CW_USEDEFAULT, 7)), (Box{0, 0, 800, 600}));
  HWND parent = At(100, 50, 300, 200);
  EXPECT_EQ(WindowBox(At(10, 20, 30, 40, parent, WS_CHILD)), (Box{110, 70, 140, 110}));
  HWND hwnd = At(10, 20, 30, 40);
  SetWindowPos(hwnd, nullptr, 1, 2, 999, 999, SWP_NOSIZE);
  EXPECT_EQ(WindowBox(hwnd), (Box{1, 2, 31, 42}));
  SetWindowPos(hwnd, nullptr, 500, 500, 5, 6, SWP_NOMOVE);
  EXPECT_EQ(WindowBox(hwnd), (Box{1, 2, 6, 8}));
  EXPECT_EQ(std::count(g_log.messages.begin(), g_log.messages.end(), std::make_pair(hwnd, UINT{WM_SIZE})), 2)
      << "one at creation, one for the resize";
  const auto topmost = [&] { return (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0; };
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER);
  EXPECT_FALSE(topmost()) << "SWP_NOZORDER leaves the stacking";
  SetWindowPos(hwnd, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_TRUE(topmost());
  SetWindowPos(hwnd, HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  EXPECT_FALSE(topmost());
  EXPECT_TRUE(SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW) &&
              IsWindowVisible(hwnd) &&
              SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_HIDEWINDOW) &&
              !IsWindowVisible(hwnd));

  HWND huge = At(INT32_MAX, INT32_MIN + 1, INT32_MAX, 1);
  ASSERT_NE(huge, nullptr);
  const Box b = WindowBox(huge);
  EXPECT_GT(b[2], b[0]);
  EXPECT_LE(b[2] - b[0], 8192) << "clamped, not allocated";
  EXPECT_TRUE(SetWindowPos(huge, nullptr, 0, 0, -5, -5, 0));
  RECT r;
  ASSERT_TRUE(GetClientRect(huge, &r));
  EXPECT_EQ(BoxOf(r), (Box{0, 0, 0, 0}));
}

TEST_F(UserTest, WindowLongsKeepAPointerAtZeroBesideALongAtFourAndNameTheWindowsAttributes) {
  HWND hwnd = Make();
  int object = 0;
  const LONG_PTR ptr = reinterpret_cast<LONG_PTR>(&object);
  EXPECT_EQ(SetWindowLongPtrA(hwnd, 0, ptr), 0);
  EXPECT_EQ(SetWindowLongA(hwnd, 4, 0x12345678), 0);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, 0), ptr);
  EXPECT_EQ(GetWindowLongA(hwnd, 4), 0x12345678);
  EXPECT_EQ(SetWindowLongPtrA(hwnd, 0, 7), ptr) << "returns the previous value";
  EXPECT_EQ(GetWindowLongA(hwnd, 8), 0) << "past cbWndExtra";
  EXPECT_EQ(SetWindowLongA(hwnd, 8, 1), 0);
  EXPECT_EQ(SetWindowLongA(hwnd, -1, 1), 0);
  EXPECT_EQ(SetWindowLongPtrA(hwnd, GWLP_USERDATA, 99), 0);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_USERDATA), 99);
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&TestProc));
  EXPECT_EQ(GetWindowLongPtrA(hwnd, GWLP_HINSTANCE), reinterpret_cast<LONG_PTR>(GetModuleHandleA(nullptr)));
  EXPECT_EQ(GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE, 0);
  ShowWindow(hwnd, SW_SHOW);
  EXPECT_NE(GetWindowLongA(hwnd, GWL_STYLE) & WS_VISIBLE, 0);
}

TEST_F(UserTest, ClassCursorRoundTripsThroughThe32BitClassLong) {
  HWND hwnd = Make();
  HCURSOR cross = LoadCursorA(nullptr, IDC_CROSS);
  ASSERT_NE(cross, nullptr);
  EXPECT_EQ(SetClassLongA(hwnd, GCL_HCURSOR, static_cast<LONG>(reinterpret_cast<LONG_PTR>(cross))), 0u);
  EXPECT_EQ(inspect::ClassCursor(hwnd), cross);
  EXPECT_EQ(reinterpret_cast<HCURSOR>(static_cast<ULONG_PTR>(GetClassLongA(hwnd, GCL_HCURSOR))), cross);
  HCURSOR arrow = LoadCursorA(nullptr, IDC_ARROW);
  EXPECT_EQ(SetClassLongPtrA(hwnd, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(arrow)),
            reinterpret_cast<ULONG_PTR>(cross));
  SetCursor(nullptr);
  EXPECT_TRUE(SendMessageA(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), 1));
  EXPECT_EQ(GetCursor(), arrow) << "DefWindowProcA sets the class cursor";
  EXPECT_EQ(inspect::CursorName(GetCursor()), "IDC_32512");
  SetClassLongPtrA(hwnd, GCLP_HCURSOR, 0);
}

TEST_F(UserTest, WindowDCsDrawOnTheFramebufferAndAreReleased) {
  HWND hwnd = Make(8, 8);
  HDC dc = GetDC(hwnd);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(soft::Target(soft::GetDCObj(dc)), soft::WindowFramebuffer(hwnd));
  EXPECT_EQ(inspect::LiveHandles(), baseline_ + 2);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 1);
  EXPECT_EQ(inspect::LiveHandles(), baseline_ + 1);
  EXPECT_EQ(ReleaseDC(hwnd, dc), 0);
  HDC screen = GetDC(nullptr);
  EXPECT_EQ(soft::Target(soft::GetDCObj(screen)), nullptr) << "the screen DC draws nowhere";
  EXPECT_EQ(ReleaseDC(nullptr, screen), 1);
}

TEST_F(UserTest, InvalidationsAreRecordedAsPassedAndUnionedClippedToTheClient) {
  HWND hwnd = Make(100, 100);
  EXPECT_TRUE(InvalidateRect(hwnd, nullptr, FALSE));
  EXPECT_EQ(UpdateBox(hwnd), (Box{0, 0, 100, 100})) << "no rectangle means the client";
  ASSERT_EQ(inspect::Invalidations(hwnd).size(), 1u);
  EXPECT_EQ(BoxOf(inspect::Invalidations(hwnd)[0]), (Box{0, 0, 100, 100}));
  inspect::ClearInvalidations(hwnd);
  EXPECT_TRUE(inspect::Invalidations(hwnd).empty());
  ValidateRect(hwnd, nullptr);
  EXPECT_TRUE(InvalidateRect(nullptr, nullptr, FALSE));
  EXPECT_EQ(UpdateBox(hwnd), (Box{0, 0, 100, 100})) << "no window means every window";
  ValidateRect(hwnd, nullptr);
  inspect::ClearInvalidations(hwnd);

  const RECT a{10, 10, 20, 20}, b{50, 60, 200, 70}, outside{150, 150, 160, 160};
  for (const RECT* r : {&a, &b, &outside}) InvalidateRect(hwnd, r, FALSE);
  EXPECT_EQ(UpdateBox(hwnd), (Box{10, 10, 100, 70}));
  const std::vector<RECT> recorded = inspect::Invalidations(hwnd);
  ASSERT_EQ(recorded.size(), 3u);
  EXPECT_EQ(BoxOf(recorded[1]), BoxOf(b)) << "recorded as passed";

  const RECT top{0, 0, 100, 30}, middle{40, 40, 60, 60};
  InvalidateRect(hwnd, nullptr, FALSE);
  ValidateRect(hwnd, &top);
  EXPECT_EQ(UpdateBox(hwnd), (Box{0, 30, 100, 100})) << "validating an edge band takes it away";
  ValidateRect(hwnd, &middle);
  EXPECT_EQ(UpdateBox(hwnd), (Box{0, 30, 100, 100})) << "a hole cannot be expressed by one rectangle";
  ValidateRect(hwnd, nullptr);
  EXPECT_FALSE(inspect::PendingUpdate(hwnd, nullptr));
  RECT r;
  EXPECT_FALSE(GetUpdateRect(hwnd, &r, FALSE));
  EXPECT_EQ(BoxOf(r), (Box{0, 0, 0, 0}));
}

TEST_F(UserTest, ABackgroundBrushErasesTheUpdateRectangleOnlyAndBeginPaintHidesTheCaret) {
  const WNDCLASSA wc{0,       DefWindowProcA, 0,       0,
                     nullptr, nullptr,        nullptr, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)),
                     nullptr, "UserTestBrush"};
  ASSERT_NE(RegisterClassA(&wc), 0);
  HWND hwnd = CreateWindowExA(0, "UserTestBrush", "", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_TRUE(CreateCaret(hwnd, nullptr, 2, 12));
  ShowCaret(hwnd);
  const RECT r{2, 2, 4, 4};
  InvalidateRect(hwnd, &r, TRUE);
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  ASSERT_NE(dc, nullptr);
  EXPECT_FALSE(ps.fErase) << "WM_ERASEBKGND did the erasing";
  EXPECT_FALSE(inspect::Caret().shown);
  EndPaint(hwnd, &ps);
  EXPECT_TRUE(inspect::Caret().shown);
  EXPECT_EQ(GetObjectType(dc), 0u) << "EndPaint released the DC";
  BeginPaint(hwnd, &ps);
  EndPaint(hwnd, &ps);
  EXPECT_EQ(BoxOf(ps.rcPaint), (Box{0, 0, 0, 0})) << "nothing is left to paint";
  const inspect::Image img = inspect::ReadWindow(hwnd);
  EXPECT_EQ(std::vector<COLORREF>({img.RgbAt(2, 2), img.RgbAt(3, 3), img.RgbAt(4, 4)}),
            std::vector<COLORREF>({RGB(255, 255, 255), RGB(255, 255, 255), RGB(0, 0, 0)}));
  DestroyWindow(hwnd);
  EXPECT_TRUE(UnregisterClassA("UserTestBrush", nullptr));
}

TEST_F(UserTest, PeekFiltersByWindowAndRangeAndGetMessageStopsAtQuitOrAnEmptyQueue) {
  HWND a = Make(), b = Make(), child = Make(5, 5, a);
  PostMessageA(child, WM_USER, 0, 0);
  PostMessageA(b, WM_USER + 2, 0, 0);
  PostMessageA(nullptr, WM_USER + 3, 0, 0);
  MSG msg;
  ASSERT_TRUE(PeekMessageA(&msg, b, 0, 0, PM_NOREMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 2));
  ASSERT_TRUE(PeekMessageA(&msg, reinterpret_cast<HWND>(-1), 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER + 3)) << "-1 takes thread messages only";
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, WM_USER + 2, WM_USER + 2, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, b);
  ASSERT_TRUE(PeekMessageA(&msg, a, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, child) << "a window filter takes its children's messages";
  EXPECT_FALSE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  PostMessageA(b, WM_USER, 0, 0);
  PostMessageA(a, WM_USER + 1, 0, 0);
  DestroyWindow(b);
  ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
  EXPECT_EQ(msg.hwnd, a) << "a destroyed window's posted messages went with it";
  msg.hwnd = nullptr;
  EXPECT_EQ(DispatchMessageA(&msg), 0) << "a thread message has no procedure";
  msg.message = WM_KEYUP;
  EXPECT_TRUE(TranslateMessage(&msg)) << "keystrokes count as translated";
  msg.message = WM_USER;
  EXPECT_FALSE(TranslateMessage(&msg));

  PostMessageA(nullptr, WM_USER, 0, 0);
  PostQuitMessage(9);
  EXPECT_TRUE(GetMessageA(&msg, nullptr, 0, 0));
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE);
  EXPECT_EQ(msg.message + msg.wParam, WM_QUIT + 9u) << "GetMessageA answers FALSE for WM_QUIT";
  EXPECT_EQ(GetMessageA(&msg, nullptr, 0, 0), FALSE) << "an empty queue would otherwise wait forever";
  EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
}

TEST_F(UserTest, TheCaretStartsHiddenCountsHidesAndGoesWithItsWindow) {
  HWND hwnd = Make(), other = Make();
  EXPECT_FALSE(SetCaretPos(1, 1)) << "no caret yet";
  ASSERT_TRUE(CreateCaret(hwnd, nullptr, 0, 14));
  EXPECT_EQ(inspect::Caret().width, 1) << "zero width means the border width";
  const auto shownAfter = [&](std::initializer_list<int> shows) {
    for (int show : shows) show > 0 ? ShowCaret(hwnd) : HideCaret(show < 0 ? nullptr : hwnd);
    return inspect::Caret().shown;
  };
  EXPECT_FALSE(shownAfter({}));
  EXPECT_TRUE(shownAfter({1}));
  EXPECT_FALSE(shownAfter({0, -1, 1})) << "hidden twice, shown once";
  EXPECT_TRUE(shownAfter({1}));
  EXPECT_FALSE(shownAfter({1, 0})) << "showing a shown caret does not bank a show";
  POINT pt;
  ASSERT_TRUE(SetCaretPos(30, 40) && GetCaretPos(&pt));
  EXPECT_EQ(pt.x + pt.y * 1000, 40030);
  EXPECT_FALSE(ShowCaret(other)) << "another window owns no caret";
  CreateCaret(other, nullptr, 2, 10);  // replaces the first
  DestroyWindow(other);
  EXPECT_EQ(inspect::Caret().owner, nullptr) << "the window took its caret with it";
  EXPECT_FALSE(DestroyCaret());
}

TEST_F(UserTest, SystemCursorsAreSharedResourceCursorsNewPerLoadAndBitmapsTakeTheNearestColours) {
  HCURSOR ibeam = LoadCursorA(nullptr, IDC_IBEAM);
  ASSERT_NE(ibeam, nullptr);
  EXPECT_EQ(LoadCursorA(nullptr, IDC_IBEAM), ibeam);
  EXPECT_TRUE(DestroyCursor(ibeam));
  EXPECT_EQ(inspect::CursorName(ibeam), "IDC_32513") << "a system cursor survives DestroyCursor";
  EXPECT_EQ(LoadCursorA(nullptr, MAKEINTRESOURCEA(1234)), nullptr);
  HCURSOR wait = LoadCursorA(nullptr, IDC_WAIT);
  SetCursor(ibeam);
  EXPECT_EQ(SetCursor(wait), ibeam);
  EXPECT_EQ(SetCursor(reinterpret_cast<HCURSOR>(0x7ff0)), nullptr) << "a stale handle is refused";
  EXPECT_EQ(GetCursor(), wait);

  soft::AddCursorResource("UserTestCursor", 32, 32, 15, 15, std::vector<uint8_t>(128, 0xFF),
                          std::vector<uint8_t>(128, 0));
  soft::AddCursorResource("UserTestEmpty", 0, 32, 0, 0, {}, {});  // ignored, as is an empty bitmap below
  soft::AddBitmapResource("UserTestEmpty", 3, 0, {}, {});
  HINSTANCE module = GetModuleHandleA(nullptr);
  EXPECT_TRUE(!LoadCursorA(module, "NoSuchCursor") && !LoadCursorA(module, "UserTestEmpty") &&
              !LoadBitmapA(module, "UserTestEmpty") && !LoadBitmapA(module, nullptr));
  for (WORD id : {32516, 32640, 32649, 32650, 32651})
    EXPECT_NE(LoadCursorA(nullptr, MAKEINTRESOURCEA(id)), nullptr);
  HCURSOR a = LoadCursorA(module, "UserTestCursor"), b = LoadCursorA(nullptr, "usertestcursor");
  ASSERT_TRUE(a && b && a != b) << "found by either case, a new cursor per load";
  EXPECT_EQ(inspect::CursorName(a), "UserTestCursor");
  EXPECT_EQ(SetCursor(a), wait);
  EXPECT_EQ(inspect::CurrentCursor(), a);
  EXPECT_TRUE(DestroyCursor(a));
  EXPECT_EQ(GetCursor(), nullptr) << "a destroyed cursor stops being current";
  EXPECT_FALSE(DestroyCursor(a));
  EXPECT_TRUE(DestroyCursor(b));
  EXPECT_EQ(inspect::LiveHandles(), baseline_);
  soft::AddBitmapResource("UserTestBitmap", 3, 2,
                          {RGBQUAD{0, 0, 250, 0}, RGBQUAD{255, 255, 255, 0}, RGBQUAD{130, 0, 0, 0}},
                          {0, 1, 2, 2, 1, 0});
  HBITMAP bmp = LoadBitmapA(module, "UserTestBitmap");
  ASSERT_NE(bmp, nullptr);
  const inspect::Image img = inspect::ReadBitmap(bmp);
  EXPECT_EQ(std::vector<int>({img.width, img.height, img.bpp}), std::vector<int>({3, 2, 8}));
  const auto nearest = [](COLORREF c) { return static_cast<uint32_t>(soft::NearestSystemIndex(c)); };
  EXPECT_EQ(img.pixels, std::vector<uint32_t>({nearest(RGB(250, 0, 0)), 255, nearest(RGB(0, 0, 130)),
                                               nearest(RGB(0, 0, 130)), 255, nearest(RGB(250, 0, 0))}));
  DeleteObject(bmp);
}

template <class... Args>
std::string Fmt(const char* format, Args... args) {
  char buf[1100];
  const int n = wsprintfA(buf, format, args...);
  std::string s(buf);
  return static_cast<size_t>(n) == s.size() ? s : "length mismatch";
}

TEST(WsprintfA, FormatsLikeWin32AndStopsAt1023Characters) {
  const struct {
    const char* behaviour;
    std::string got;
    const char* expected;
  } rows[] = {
      {"width pads on the left", Fmt("%5d|", 42), "   42|"},
      {"minus aligns left", Fmt("%-5d|", 42), "42   |"},
      {"zero pads after the sign", Fmt("%05d", -42), "-0042"},
      {"precision gives minimum digits", Fmt("%.3u", 7u), "007"},
      {"hex in both cases with prefix", Fmt("%x %#X", 255u, 255u), "ff 0XFF"},
      {"l is 32 bits as on Windows", Fmt("%lu %ld", 4294967295u, -1), "4294967295 -1"},
      {"I64 reads a 64-bit argument", Fmt("%I64d", -5000000000LL), "-5000000000"},
      {"h truncates to 16 bits", Fmt("%hd", 65535), "-1"},
      {"strings, with precision cutting", Fmt("%s/%.2s/%4s", "abc", "abc", "ab"), "abc/ab/  ab"},
      {"a null string prints as (null)", Fmt("%s", static_cast<const char*>(nullptr)), "(null)"},
      {"characters and a literal percent", Fmt("%c%%%c", 'a', 'b'), "a%b"},
      {"an unknown type prints itself", Fmt("%q"), "q"},
      {"wide units narrow, or ? above 255", Fmt("%C%lc%S%hS", 0x263A, 'b', u"cd", "ef"), "?bcdef"},
      {"ll reads 64 bits; a zero has no prefix", Fmt("%lld %#x", -5000000000LL, 0u), "-5000000000 0"},
      {"a format ending in a bare % stops", Fmt("ab%"), "ab"},
  };
  for (const auto& row : rows) EXPECT_EQ(row.got, row.expected) << row.behaviour;
  std::string big(2000, 'x');
  char buf[1100];
  std::memset(buf, '#', sizeof buf);
  EXPECT_EQ(wsprintfA(buf, "%s%d", big.c_str(), 5), 1023);
  EXPECT_EQ(std::string(buf + 1022, 3), std::string("x\0#", 3));
  EXPECT_EQ(wsprintfA(buf, "%2000d", 1), 1023);
  EXPECT_EQ(wsprintfA(nullptr, "x") + wsprintfA(buf, nullptr) + buf[0], 0);
}

}  // namespace
