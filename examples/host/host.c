/* A terminal's graphics side in plain C, written against <zizider/zizider.h>
 * alone: what a terminal emulator on Linux (X11, Wayland, a framebuffer) does
 * to give its users ReGIS.
 *
 * A real terminal gets ReGIS from the remote computer inside DCS strings
 * (ESC P p ... ESC \) and hands their contents to the library as they
 * arrive; here the "remote computer" is a list of strings in this file and
 * the "screen" is a buffer of pixels written out as a PPM picture.
 *
 * Build:  cc host.c $(pkg-config --cflags --libs zizider) -o zizider-host
 *   or:   find_package(zizider) and link zizider::zizider (CMakeLists.txt here)
 * Run:    ./zizider-host [picture.ppm]
 * It prints what it does and exits with 0 when everything worked. */
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <zizider/zizider.h>

/* COLORREF is 0x00BBGGRR; pixels come back as 0x00RRGGBB. */
#define COLOUR(r, g, b) ((COLORREF)((r) | ((g) << 8) | ((b) << 16)))

/* One terminal window. The three records are the library's view of it: they
 * are large (the library reads fields at fixed offsets deep inside them),
 * and a real terminal would keep its own state in the gaps or next to them. */
typedef struct Terminal {
  KXREG_SETTINGS settings; /* the flag word: modes and the abort request */
  KXREG_SCREEN screen;     /* text-screen fields the library writes back */
  KXREG_HOST record;       /* geometry, callbacks, the library's three slots */
  uint32_t* pixels;        /* the graphics layer the terminal shows */
  int width, height;
  int reports, pagesErased;
  char answer[32]; /* what the terminal would send back to the remote computer */
} Terminal;

/* Callbacks receive the window or the screen record; with one window the
 * terminal is found directly, a terminal with tabs would look it up. */
static Terminal* the_terminal;

/* A report request (R(P) in ReGIS): the library asks the host to answer. A
 * terminal sends the current position back to the remote computer as
 * "[x,y]" followed by a carriage return. */
static void KXREG_CALLBACK on_input(HWND window, int code) {
  Terminal* t = the_terminal;
  POINT p = KXREG_GetRegisCurPos(&t->record);
  (void)window;
  (void)code;
  snprintf(t->answer, sizeof t->answer, "[%ld,%ld]\r", (long)p.x, (long)p.y);
  t->reports++;
}

/* A hard copy marked a region of text cells in the screen record. */
static void KXREG_CALLBACK on_region(HWND window, int code) {
  const KXREG_SCREEN* s = &the_terminal->screen;
  (void)window;
  printf("hard-copy region (code %d): %d %d %d %d %d\n", code, s->hardCopy[0], s->hardCopy[1], s->hardCopy[2],
         s->hardCopy[3], s->hardCopy[4]);
}

/* A graphics page was erased: a terminal would clear the text it shows over
 * the graphics. */
static void KXREG_CALLBACK on_page_erased(KXREG_SCREEN* screen) {
  (void)screen;
  the_terminal->pagesErased++;
}

/* Lays the records out for a grid of columns x rows cells. */
static Terminal* terminal_open(int columns, int rows, int cell_width, int cell_height) {
  Terminal* t = calloc(1, sizeof *t); /* every field the library does not name stays zero */
  if (!t) return NULL;
  t->screen.settings = &t->settings;
  t->screen.field64 = rows; /* the text screen's line count */
  t->record.screen = &t->screen;
  /* No Win32 window here: left null, the library gives the instance an
   * invisible one of its own (and makes it the pump window too). */
  t->record.window = NULL;
  t->record.rows = rows;
  t->record.columns = columns;
  t->record.cellWidth = cell_width;
  t->record.cellHeight = cell_height;
  t->record.inputCallback = on_input;
  t->record.regionCallback = on_region;
  t->record.pageErasedCallback = on_page_erased;
  the_terminal = t;

  /* Mode 1: a new instance with the default colour map; white on black. */
  if (KXREG_Init(&t->record, COLOUR(255, 255, 255), COLOUR(0, 0, 0), 1) != 0) {
    free(t);
    return NULL;
  }
  return t;
}

/* The repaint: where a Windows terminal calls KXREG_Refresh from WM_PAINT,
 * this one brings its pixel buffer up to date and would then show it. */
static int terminal_repaint(Terminal* t) {
  int width = t->record.columns * t->record.cellWidth;
  int height = t->record.rows * t->record.cellHeight;
  if (width != t->width || height != t->height) {
    uint32_t* grown = realloc(t->pixels, (size_t)width * (size_t)height * sizeof *grown);
    if (!grown) return 1;
    t->pixels = grown;
    t->width = width;
    t->height = height;
  }
  return KXREG_RefreshPixels(&t->record, t->pixels, width, height);
}

/* Data from the remote computer: one DCS string's contents at a time. */
static int terminal_receive(Terminal* t, const char* regis) {
  if (KXREG_HandleNextString(&t->record, regis) != 0) return 1;
  return terminal_repaint(t);
}

/* The font changed: new cell size, the same grid. The library rebuilds its
 * pages at the new size and redraws everything from its journal. */
static int terminal_resize(Terminal* t, int cell_width, int cell_height) {
  t->record.cellWidth = cell_width;
  t->record.cellHeight = cell_height;
  if (KXREG_Reset(&t->record, COLOUR(255, 255, 255), COLOUR(0, 0, 0), 0, 0) != 0) return 1;
  if (KXREG_RefreshFromBuf(&t->record) != 0) return 1;
  return terminal_repaint(t);
}

static void terminal_close(Terminal* t) {
  KXREG_Erase(&t->record); /* before the records go away */
  free(t->pixels);
  free(t);
  the_terminal = NULL;
}

static long lit_pixels(const Terminal* t) {
  long lit = 0;
  for (long i = 0; i < (long)t->width * t->height; i++) lit += t->pixels[i] != 0;
  return lit;
}

static int write_ppm(const Terminal* t, const char* path) {
  FILE* f = fopen(path, "wb");
  long i;
  if (!f) return 1;
  fprintf(f, "P6\n%d %d\n255\n", t->width, t->height);
  for (i = 0; i < (long)t->width * t->height; i++) {
    uint32_t p = t->pixels[i];
    fputc((int)(p >> 16) & 0xFF, f);
    fputc((int)(p >> 8) & 0xFF, f);
    fputc((int)p & 0xFF, f);
  }
  return fclose(f) != 0;
}

/* What the remote computer sends: an erase and a frame in the foreground, a
 * shaded zigzag in colour 2 and a dashed diagonal in colour 3 (temporary
 * writing controls, so that a redraw from the journal starts as the picture
 * did), and back to the centre with a position report request. */
static const char* const kRemote[] = {
    "S(E)P[50,50]V[750,50][750,430][50,430][50,50]",
    "P[100,130]V(W(I2,S1))[250,330][400,130][550,330][700,130]",
    "P[50,50]V(W(I3,P2))[750,430]",
    "P[400,240]R(P)",
};

int main(int argc, char** argv) {
  Terminal* t = terminal_open(80, 24, 10, 20);
  size_t i;
  long lit_before, lit_after;
  int failed = 0;
  if (!t) {
    fprintf(stderr, "zizider-host: the library could not set up the window\n");
    return 1;
  }

  for (i = 0; i < sizeof kRemote / sizeof kRemote[0]; i++) failed |= terminal_receive(t, kRemote[i]);
  lit_before = lit_pixels(t);
  printf("%dx%d picture, %ld pixels lit, %d page erase(s)\n", t->width, t->height, lit_before,
         t->pagesErased);
  printf("report sent: %.*s\n", (int)strcspn(t->answer, "\r"), t->answer);
  failed |= t->reports != 1 || strcmp(t->answer, "[400,240]\r") != 0;
  /* The frame's left edge is drawn in the foreground, white. */
  failed |= t->pixels[240 * t->width + 50] != 0xFFFFFFu;

  failed |= terminal_resize(t, 8, 16);
  lit_after = lit_pixels(t);
  printf("redrawn from the journal at %dx%d: %ld pixels lit\n", t->width, t->height, lit_after);
  failed |= lit_after == 0 || t->pixels[192 * t->width + 40] != 0xFFFFFFu;

  if (argc > 1 && write_ppm(t, argv[1]) != 0) {
    fprintf(stderr, "zizider-host: cannot write %s\n", argv[1]);
    failed = 1;
  }
  terminal_close(t);
  printf("%s\n", failed ? "FAILED" : "ok");
  return failed ? 1 : 0;
}
