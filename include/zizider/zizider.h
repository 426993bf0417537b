/* zizider: ReGIS graphics for terminal emulators.
 *
 * The host owns one record per terminal window and passes its address as the
 * first argument of every per-window export. The library keeps its three
 * per-window objects in slots of that record. Records are read and written at
 * fixed byte offsets (pinned below for 32-bit targets, where every field is 32
 * bits); on 64-bit targets pointer fields take their natural width and the
 * offsets grow accordingly. */
#ifndef ZIZIDER_ZIZIDER_H
#define ZIZIDER_ZIZIDER_H

#include <stddef.h>
#include <stdint.h>

#ifdef _WIN32
#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#include <windows.h>
#elif !defined(ZIZIDER_WIN32_BASICS)
/* The few Win32 types of the interface. The library's own platform layer
 * declares the same block; whichever comes first defines them. */
#define ZIZIDER_WIN32_BASICS
typedef int BOOL;
typedef uint32_t COLORREF;
typedef struct HWND__* HWND;
typedef struct HDC__* HDC;
typedef struct HPALETTE__* HPALETTE;
typedef struct tagPOINT {
  int32_t x;
  int32_t y;
} POINT;
#endif

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define KXREG_API __declspec(dllexport) __stdcall
#define KXREG_32BIT_LAYOUT 1
#elif defined(_WIN32)
#define KXREG_API __declspec(dllexport)
#else
#define KXREG_API __attribute__((visibility("default")))
#endif

#ifdef _WIN32
#define KXREG_CALLBACK __stdcall
#else
#define KXREG_CALLBACK
#endif

/* Settings flag word bits (KXREG_SETTINGS.flags). */
#define KXREG_SETTING_GRAPHICS_CURSOR 0x00002000u
#define KXREG_SETTING_4010_MODE 0x00008000u
#define KXREG_SETTING_4010_SOLID 0x00080000u
#define KXREG_SETTING_CURSOR_IN_4010 0x00200000u
#define KXREG_SETTING_ABORT 0x04000000u

/* The host's settings record: only the flag word is used. */
typedef struct KXREG_SETTINGS {
  uint8_t reserved0[0x9E8];
  uint32_t flags; /* 0x9E8 */
} KXREG_SETTINGS;

/* The host's screen record. */
typedef struct KXREG_SCREEN {
  uint8_t reserved0[0x008];
  HWND pumpWindow; /* 0x008: window whose queue the library pumps; its long 0 holds the host record */
  uint8_t reserved1[0x008];
  KXREG_SETTINGS* settings; /* 0x014 */
  uint8_t reserved2[0x014];
  int32_t field2C; /* 0x02C: set to field64 - 1 after a page clear */
  uint8_t reserved3[0x034];
  int32_t field64; /* 0x064 */
  uint8_t reserved4[0x02C];
  int32_t hardCopy[5]; /* 0x094 .. 0x0A4: text-cell region of a hard copy */
} KXREG_SCREEN;

typedef void(KXREG_CALLBACK* KXREG_RegionCallback)(HWND window, int code);
typedef void(KXREG_CALLBACK* KXREG_InputCallback)(HWND window, int code);
typedef void(KXREG_CALLBACK* KXREG_PageErasedCallback)(KXREG_SCREEN* screen);

/* The library's per-window objects, opaque to the host. */
#ifdef __cplusplus
class CGrDrv;
class CGraphicsContext;
class CInterpreter;
typedef CGrDrv KXREG_GrDrv;
typedef CGraphicsContext KXREG_GraphicsContext;
typedef CInterpreter KXREG_Interpreter;
#else
typedef struct CGrDrv KXREG_GrDrv;
typedef struct CGraphicsContext KXREG_GraphicsContext;
typedef struct CInterpreter KXREG_Interpreter;
#endif

/* The host record, one per terminal window. */
typedef struct KXREG_HOST {
  uint8_t reserved0[0x00C];
  KXREG_SCREEN* screen; /* 0x00C: may become null while the host tears down */
  uint8_t reserved1[0x6E4];
  HWND window; /* 0x6F4: its window long 0 holds this record's address */
  uint8_t reserved2[0x014];
  int32_t rows;    /* 0x70C */
  int32_t columns; /* 0x710 */
  uint8_t reserved3[0x010];
  int32_t cellWidth;  /* 0x724 */
  int32_t cellHeight; /* 0x728 */
  uint8_t reserved4[0x2E8];
  int32_t fieldA14; /* 0xA14: set to 0 when the report command switches graphics input */
  int32_t fieldA18; /* 0xA18: likewise */
  KXREG_GrDrv* grDrv;                 /* 0xA1C: library */
  KXREG_GraphicsContext* context;     /* 0xA20: library */
  KXREG_Interpreter* interpreter;     /* 0xA24: library */
  uint8_t reserved5[0x004];
  int32_t graphicsData; /* 0xA2C: 1 once a string was accepted, 0 after the journal is cleared */
  uint8_t reserved6[0x15C];
  KXREG_RegionCallback regionCallback;         /* 0xB8C */
  KXREG_InputCallback inputCallback;           /* 0xB90 */
  KXREG_PageErasedCallback pageErasedCallback; /* 0xB94 */
} KXREG_HOST;

/* Lifecycle and queries. */
KXREG_API int KXREG_Init(KXREG_HOST* host, COLORREF foreground, COLORREF background, int mode);
KXREG_API int KXREG_Reset(KXREG_HOST* host, COLORREF foreground, COLORREF background, int reserved, int ignored);
KXREG_API int KXREG_Erase(KXREG_HOST* host);
KXREG_API int KXREG_ClearPage(KXREG_HOST* host);
KXREG_API HDC KXREG_GetMemDC(KXREG_HOST* host, int page);
KXREG_API HPALETTE KXREG_GetPalette(KXREG_HOST* host);
KXREG_API int KXREG_GetCurPageNum(KXREG_HOST* host);
KXREG_API int KXREG_DrawInitialText(KXREG_HOST* host);
KXREG_API int KXREG_SetSmooth(KXREG_HOST* host, int smooth);
KXREG_API void KXREG_DeleteSplash(void);

/* ReGIS input, redraw from the journal, clearing the journal. */
KXREG_API int KXREG_HandleNextString(KXREG_HOST* host, const char* string);
KXREG_API int KXREG_RefreshFromBuf(KXREG_HOST* host);
KXREG_API int KXREG_ClearParserBuf(KXREG_HOST* host);

/* The host's Tektronix 4010 primitives and beam position. */
KXREG_API POINT KXREG_DrawLine(KXREG_HOST* host, int x1, int y1, int x2, int y2, int hiRes);
KXREG_API POINT KXREG_DrawPoint(KXREG_HOST* host, int x, int y, int hiRes);
KXREG_API void KXREG_SetLinePattern(KXREG_HOST* host, int patternChar);
KXREG_API void KXREG_SetWritingMode(KXREG_HOST* host, int modeChar);
KXREG_API POINT KXREG_Set4010CurPos(KXREG_HOST* host, int x, int y, int hiRes);
KXREG_API POINT KXREG_Get4010CurPos(KXREG_HOST* host, int hiRes);
KXREG_API POINT KXREG_SetRegisCurPos(KXREG_HOST* host, int x, int y, int reGISUnits);
KXREG_API POINT KXREG_GetRegisCurPos(KXREG_HOST* host);

/* The window: scrolling, redraw control, repaint, cursor, printing. */
KXREG_API int KXREG_LineFeed(KXREG_HOST* host);
KXREG_API int KXREG_SetScrollRange(KXREG_HOST* host, int horizontal, int vertical);
KXREG_API int KXREG_SetScrollPos(KXREG_HOST* host, int horizontal, int vertical);
KXREG_API int KXREG_SetRedraw(KXREG_HOST* host, BOOL redraw);
KXREG_API int KXREG_Refresh(KXREG_HOST* host, HDC dc, int left, int top, int right, int bottom);
KXREG_API int KXREG_OutCursor(KXREG_HOST* host, int code);
/* The repaint for hosts that draw with something other than a Win32 window
 * (X11, Wayland, a framebuffer): KXREG_Refresh of the whole area into the
 * host's width x height pixels, 0x00RRGGBB row after row from the top; what
 * lies beyond the page stays black. Such a host leaves the record's window
 * null: KXREG_Init then gives the instance an invisible window of the
 * library's own, stored as the record's window and, when the screen record
 * has none, as its pump window; KXREG_Erase destroys it and empties both. */
KXREG_API int KXREG_RefreshPixels(KXREG_HOST* host, uint32_t* pixels, int width, int height);
KXREG_API int KXREG_Print(KXREG_HOST* host, HDC printer, int a, int b, int c, int d, int e, int f);

#ifdef __cplusplus
}
#endif

#ifdef KXREG_32BIT_LAYOUT
#ifdef __cplusplus
#define KXREG_STATIC_ASSERT static_assert
#else
#define KXREG_STATIC_ASSERT _Static_assert
#endif
KXREG_STATIC_ASSERT(offsetof(KXREG_SETTINGS, flags) == 0x9E8, "settings flags");
KXREG_STATIC_ASSERT(offsetof(KXREG_SCREEN, pumpWindow) == 0x008, "screen pump window");
KXREG_STATIC_ASSERT(offsetof(KXREG_SCREEN, settings) == 0x014, "screen settings");
KXREG_STATIC_ASSERT(offsetof(KXREG_SCREEN, field2C) == 0x02C, "screen 0x2C");
KXREG_STATIC_ASSERT(offsetof(KXREG_SCREEN, field64) == 0x064, "screen 0x64");
KXREG_STATIC_ASSERT(offsetof(KXREG_SCREEN, hardCopy) == 0x094, "screen hard copy");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, screen) == 0x00C, "host screen");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, window) == 0x6F4, "host window");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, rows) == 0x70C, "host rows");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, columns) == 0x710, "host columns");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, cellWidth) == 0x724, "host cell width");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, cellHeight) == 0x728, "host cell height");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, fieldA14) == 0xA14, "host 0xA14");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, fieldA18) == 0xA18, "host 0xA18");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, grDrv) == 0xA1C, "host CGrDrv slot");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, context) == 0xA20, "host context slot");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, interpreter) == 0xA24, "host interpreter slot");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, graphicsData) == 0xA2C, "host graphics-data flag");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, regionCallback) == 0xB8C, "host region callback");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, inputCallback) == 0xB90, "host input callback");
KXREG_STATIC_ASSERT(offsetof(KXREG_HOST, pageErasedCallback) == 0xB94, "host page-erased callback");
#endif

#endif /* ZIZIDER_ZIZIDER_H */
