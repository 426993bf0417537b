// Reading what ReGIS strings did to a test host.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "interp/interpreter.h"
#include "platform/soft/inspect.h"
#include "platform/win32.h"
#include "support/test_host.h"
#include "surface/graphics_context.h"
#include "surface/graphics_state.h"
#include "surface/grdrv.h"
#include "surface/text_state.h"

namespace commands_test {

// The ReGIS index a page pixel holds; -1 outside the page or for a value no
// index draws.
inline int IndexAt(CTestHost& host, int x, int y, int page = 1) {
  const uint32_t stored = host.PageIndex(x, y, page);
  for (int i = 0; i < 16; ++i)
    if (StoredIndex(host.Surface(), i) == stored) return i;
  return -1;
}

// How many pixels of a page hold a colour index other than the background 0.
inline int DrawnPixels(CTestHost& host, int page = 1) {
  const soft::inspect::Image image = host.PageImage(page);
  const uint32_t background = StoredIndex(host.Surface(), 0);
  int n = 0;
  for (uint32_t p : image.pixels) n += p != background;
  return n;
}

inline CPoint32 Position(CTestHost& host) {
  return CPoint32{host.State()->x, host.State()->y};
}
inline int LastError(CTestHost& host) {
  return host.Interpreter()->lastError;
}
inline int LastErrorChar(CTestHost& host) {
  return host.Interpreter()->lastErrorChar;
}
inline CWriteControls& Active(CTestHost& host) {
  return *host.State()->active;
}
inline CWriteControls& Permanent(CTestHost& host) {
  return *host.State()->permanent;
}
inline const CTextState& Current(CTestHost& host) {
  return *host.Context()->text->pair.current;
}
// The colour index lines are drawn with after start-up.
inline int DefaultForeground(CTestHost& host) {
  return host.State()->permanent->foreground;
}

// Checks what the host holds against facts written "key=value", separated by
// spaces:
//   at=x,y      the current position
//   err=n'c'    the last error and its character (err=n#v for a value);
//               without it the string must leave no error
//   pos=n       position-stack entries;  parse=n  parser objects on the stack
//   drawn=n     pixels of page 1 not in index 0 (drawn2=n: of page 2)
//   px=x,y:i    the index of a page-1 pixel; i may be fg, the default foreground
//   fg=i afg=i  the permanent and the active foreground
inline void ExpectFacts(CTestHost& host, const char* facts) {
  SCOPED_TRACE(facts);
  const char* p = facts;
  auto number = [&p] {
    char* end = nullptr;
    const long v = std::strtol(p, &end, 10);
    EXPECT_NE(end, p) << "a number at: " << p;
    p = *end == ',' || *end == ':' ? end + 1 : end;
    return static_cast<int>(v);
  };
  int error = 0, errorChar = 0;
  while (*p) {
    if (*p == ' ') {
      ++p;
      continue;
    }
    const char* eq = std::strchr(p, '=');
    ASSERT_NE(eq, nullptr) << "no value at: " << p;
    const std::string key(p, eq);
    p = eq + 1;
    if (key == "err") {
      error = number();
      if (*p == '\'' && p[1] && p[2] == '\'') {
        errorChar = static_cast<unsigned char>(p[1]);
        p += 3;
      } else {
        ASSERT_EQ(*p++, '#') << facts;
        errorChar = number();
      }
    } else if (key == "at") {
      const int x = number(), y = number();
      EXPECT_EQ(Position(host).x, x);
      EXPECT_EQ(Position(host).y, y);
    } else if (key == "pos") {
      EXPECT_EQ(host.Interpreter()->positionStack.Count(), number());
    } else if (key == "parse") {
      EXPECT_EQ(host.Interpreter()->parseStack.Count(), number());
    } else if (key == "drawn" || key == "drawn2") {
      EXPECT_EQ(DrawnPixels(host, key == "drawn" ? 1 : 2), number()) << key;
    } else if (key == "px") {
      const int x = number(), y = number();
      const bool fg = std::strncmp(p, "fg", 2) == 0;
      if (fg) p += 2;
      const int index = fg ? DefaultForeground(host) : number();
      EXPECT_EQ(IndexAt(host, x, y), index) << "at " << x << "," << y;
    } else if (key == "fg" || key == "afg") {
      EXPECT_EQ((key == "fg" ? Permanent(host) : Active(host)).foreground, number()) << key;
    } else {
      ADD_FAILURE() << "unknown fact " << key;
      return;
    }
  }
  EXPECT_EQ(LastError(host), error);
  EXPECT_EQ(LastErrorChar(host), errorChar);
}

// A string fed to a fresh host and the facts it must leave, with no fill or
// macrograph left running and raw coordinates ended.
struct CCase {
  const char* name;
  std::string text;
  const char* facts;
};

template <size_t N>
void ExpectCases(const CCase (&cases)[N]) {
  for (const CCase& c : cases) {
    SCOPED_TRACE(c.name);
    CTestHost host;
    host.Feed(c.text);
    ExpectFacts(host, c.facts);
    EXPECT_EQ(host.Surface()->pointList, nullptr);
    EXPECT_FALSE(host.Interpreter()->macroRunning);
    EXPECT_EQ(host.Interpreter()->macroStack.Count(), 0);
    EXPECT_EQ(host.Interpreter()->flags & kFlagRawCoordinates, 0u);
  }
}

}  // namespace commands_test
