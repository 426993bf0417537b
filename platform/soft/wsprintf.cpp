// wsprintfA: Win32's small formatter. %[-][#][0][width][.precision]type with
// the h, l and I64 size prefixes; l means 32 bits as on Windows. The output
// stops at 1024 bytes, terminator included.
#include <cstdarg>
#include <cstdint>
#include <cstring>

#include "platform/win32.h"

namespace {

constexpr size_t kMaxOutput = 1024;
constexpr int kMaxField = static_cast<int>(kMaxOutput);  // a wider field could not fit anyway

struct Conversion {
  bool left = false, alt = false, zero = false;
  int width = 0;
  int precision = -1;
  enum class Size { Default, Short, Long, Int64 } size = Size::Default;
};

class Output {
 public:
  explicit Output(char* dst) : dst_(dst) {}
  void Put(char c) {
    if (n_ < kMaxOutput - 1) dst_[n_++] = c;
  }
  void Repeat(char c, int count) {
    for (int i = 0; i < count; ++i) Put(c);
  }
  int Finish() {
    dst_[n_] = '\0';
    return static_cast<int>(n_);
  }

 private:
  char* dst_;
  size_t n_ = 0;
};

// Pads a finished body out to the field width; zeros go after any sign or
// 0x prefix, spaces on whichever side the alignment leaves free.
void Field(Output& out, const Conversion& s, const char* prefix, const char* body, int length) {
  const int prefixLength = static_cast<int>(std::strlen(prefix));
  const int pad = s.width > prefixLength + length ? s.width - prefixLength - length : 0;
  if (!s.left && !s.zero) out.Repeat(' ', pad);
  for (const char* p = prefix; *p; ++p) out.Put(*p);
  if (!s.left && s.zero) out.Repeat('0', pad);
  for (int i = 0; i < length; ++i) out.Put(body[i]);
  if (s.left) out.Repeat(' ', pad);
}

void Number(Output& out, const Conversion& s, bool negative, uint64_t magnitude, unsigned base, bool upper) {
  char digits[80];
  int n = 0;
  const char* set = upper ? "0123456789ABCDEF" : "0123456789abcdef";
  do {
    digits[n++] = set[magnitude % base];
    magnitude /= base;
  } while (magnitude);
  const int precision = s.precision > 0 ? s.precision : 1;
  char body[kMaxOutput + 80];
  int length = 0;
  for (int i = n; i < precision && length < kMaxField; ++i) body[length++] = '0';
  while (n) body[length++] = digits[--n];
  const bool hexPrefix = s.alt && base == 16 && !(length == 1 && body[0] == '0');
  const char* prefix = negative ? "-" : hexPrefix ? (upper ? "0X" : "0x") : "";
  Field(out, s, prefix, body, length);
}

char Narrow(unsigned unit) {
  return unit < 256 ? static_cast<char>(unit) : '?';
}

void String(Output& out, const Conversion& s, const char* str) {
  if (!str) str = "(null)";
  int length = 0;
  while (str[length] && (s.precision < 0 || length < s.precision) && length < kMaxField) ++length;
  Field(out, s, "", str, length);
}

// Wide strings are Windows' 16-bit units.
void WideString(Output& out, const Conversion& s, const uint16_t* str) {
  if (!str) return String(out, s, nullptr);
  char body[kMaxOutput];
  int length = 0;
  while (str[length] && (s.precision < 0 || length < s.precision) && length < kMaxField) {
    body[length] = Narrow(str[length]);
    ++length;
  }
  Field(out, s, "", body, length);
}

int ReadNumber(const char*& f) {
  int v = 0;
  while (*f >= '0' && *f <= '9') {
    if (v < kMaxField) v = v * 10 + (*f - '0');
    ++f;
  }
  return v < kMaxField ? v : kMaxField;
}

int64_t SignedArg(va_list& ap, Conversion::Size size) {
  switch (size) {
    case Conversion::Size::Int64:
      return va_arg(ap, long long);
    case Conversion::Size::Short:
      return static_cast<short>(va_arg(ap, int));
    default:
      return va_arg(ap, int);
  }
}

uint64_t UnsignedArg(va_list& ap, Conversion::Size size) {
  switch (size) {
    case Conversion::Size::Int64:
      return va_arg(ap, unsigned long long);
    case Conversion::Size::Short:
      return static_cast<unsigned short>(va_arg(ap, unsigned));
    default:
      return va_arg(ap, unsigned);
  }
}

int Format(char* dst, const char* f, va_list& ap) {
  Output out(dst);
  while (*f) {
    if (*f != '%') {
      out.Put(*f++);
      continue;
    }
    ++f;
    Conversion s;
    for (;; ++f) {
      if (*f == '-')
        s.left = true;
      else if (*f == '#')
        s.alt = true;
      else if (*f == '0')
        s.zero = true;
      else
        break;
    }
    s.width = ReadNumber(f);
    if (*f == '.') {
      ++f;
      s.precision = ReadNumber(f);
    }
    bool wide = false, narrow = false;
    if (*f == 'h') {
      s.size = Conversion::Size::Short;
      narrow = true;
      ++f;
    } else if (*f == 'l') {
      ++f;
      if (*f == 'l') {  // not Win32's, but a 64-bit argument must be read as one
        s.size = Conversion::Size::Int64;
        ++f;
      } else {
        s.size = Conversion::Size::Long;
        wide = true;
      }
    } else if (f[0] == 'I' && f[1] == '6' && f[2] == '4') {
      s.size = Conversion::Size::Int64;
      f += 3;
    }
    const char type = *f;
    if (!type) break;
    ++f;
    switch (type) {
      case 'c':
      case 'C': {
        const unsigned unit = static_cast<unsigned>(va_arg(ap, int));
        const bool isWide = wide || (type == 'C' && !narrow);
        const char ch = isWide ? Narrow(unit & 0xFFFF) : static_cast<char>(unit);
        Field(out, s, "", &ch, 1);
        break;
      }
      case 's':
      case 'S':
        if (wide || (type == 'S' && !narrow))
          WideString(out, s, va_arg(ap, const uint16_t*));
        else
          String(out, s, va_arg(ap, const char*));
        break;
      case 'd':
      case 'i': {
        const int64_t v = SignedArg(ap, s.size);
        const uint64_t magnitude = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
        Number(out, s, v < 0, magnitude, 10, false);
        break;
      }
      case 'u':
        Number(out, s, false, UnsignedArg(ap, s.size), 10, false);
        break;
      case 'x':
      case 'X':
        Number(out, s, false, UnsignedArg(ap, s.size), 16, type == 'X');
        break;
      case 'p': {
        Conversion p = s;
        p.precision = static_cast<int>(2 * sizeof(void*));
        Number(out, p, false, reinterpret_cast<uintptr_t>(va_arg(ap, void*)), 16, true);
        break;
      }
      default:  // "%%" and any other character stand for themselves
        out.Put(type);
        break;
    }
  }
  return out.Finish();
}

}  // namespace

extern "C" int wsprintfA(LPSTR out, LPCSTR format, ...) {
  if (!out) return 0;
  if (!format) {
    out[0] = '\0';
    return 0;
  }
  va_list ap;
  va_start(ap, format);
  const int n = Format(out, format, ap);
  va_end(ap);
  return n;
}
