#include "platform/soft/fontcache.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SIZES_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <tuple>

namespace soft {

namespace {

// Bounds that keep one glyph image and the whole cache small; fonts bigger
// than this are drawn at this size.
constexpr int64_t kMaxPixels = 2048;
constexpr size_t kMaxInstances = 64;
constexpr size_t kMaxGlyphs = 1024;
constexpr size_t kMaxGlyphBytes = 8u << 20;
constexpr size_t kMaxFaceRequests = 256;
constexpr int kDefaultCellHeight = 16;
// Slant of a synthesised italic: x grows by this much per unit of height.
constexpr double kItalicShear = 0.2;

// Windows-1252 for the bytes where it differs from Latin-1; the holes keep
// their own value.
constexpr uint16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                      0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                      0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                      0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

uint32_t AnsiToUnicode(unsigned char ch) {
  return ch >= 0x80 && ch < 0xA0 ? kCp1252High[ch - 0x80] : ch;
}

// 26.6 to whole pixels, rounding halves away from zero on both sides.
int64_t Round26(int64_t v) {
  return v >= 0 ? (v + 32) / 64 : -((-v + 32) / 64);
}

int RoundToInt(double v) {
  return static_cast<int>(std::floor(v + 0.5));
}

FT_Fixed ToFixed(double v) {
  return static_cast<FT_Fixed>(std::llround(v * 65536.0));
}

std::string Lower(std::string s) {
  for (char& c : s) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return s;
}

std::string TrimSpaces(const std::string& s) {
  size_t b = s.find_first_not_of(' ');
  if (b == std::string::npos) return std::string();
  size_t e = s.find_last_not_of(' ');
  return s.substr(b, e - b + 1);
}

bool EndsWith(const std::string& s, const char* suffix) {
  size_t n = std::strlen(suffix);
  return s.size() >= n && s.compare(s.size() - n, n, suffix) == 0;
}

// Faces Windows users expect to be fixed-pitch; the stock names have no
// installed counterpart and go straight to the default monospace face.
bool IsStockFaceName(const std::string& name) {
  return name.empty() || name == "system" || name == "fixedsys" || name == "terminal";
}
bool IsFixedFaceName(const std::string& name) {
  return IsStockFaceName(name) || name == "courier new" || name == "courier" || name == "lucida console" ||
         name == "consolas";
}

}  // namespace

void AngleSinCos(int tenths, double* sinOut, double* cosOut) {
  switch (tenths) {
    case 0:
      *sinOut = 0, *cosOut = 1;
      return;
    case 900:
      *sinOut = 1, *cosOut = 0;
      return;
    case 1800:
      *sinOut = 0, *cosOut = -1;
      return;
    case 2700:
      *sinOut = -1, *cosOut = 0;
      return;
    default: {
      // Multiplied before dividing, as GDI does: at 30 and 60 degrees the last
      // bit decides whether a turned advance truncates to n or n - 1.
      const double a = tenths * 3.14159265358979323846 / 1800.0;
      *sinOut = std::sin(a);
      *cosOut = std::cos(a);
    }
  }
}

int NormalizeAngle(LONG tenths) {
  int64_t a = static_cast<int64_t>(tenths) % 3600;
  return static_cast<int>(a < 0 ? a + 3600 : a);
}

struct FontCache::Face {
  FT_Face ft = nullptr;
  bool fixedPitch = false, italic = false, bold = false, symbol = false;
  int upem = 2048;
  int winAscent = 0, winDescent = 0;  // the cell Windows measures, in font units
  int avgWidth = 0;                   // average character width in font units
  int maxAdvance = 0;

  FT_UInt GlyphIndex(unsigned char ch) const {
    if (symbol) return FT_Get_Char_Index(ft, 0xF000u + ch);
    return FT_Get_Char_Index(ft, AnsiToUnicode(ch));
  }
};

class FontCache::Instance {
 public:
  uint64_t serial = 0;
  Face* face = nullptr;  // null: nothing found, metrics only
  FT_Size size = nullptr;
  bool synthItalic = false;
  int emboldenPx = 0;
  Metrics metrics;
  std::array<int, 256> advances;

  Instance() { advances.fill(-1); }
  ~Instance() {
    if (size) FT_Done_Size(size);
  }
  Instance(const Instance&) = delete;
  Instance& operator=(const Instance&) = delete;
};

bool FontCache::FaceRequest::operator<(const FaceRequest& o) const {
  return std::tie(name, italic, bold, fixed) < std::tie(o.name, o.italic, o.bold, o.fixed);
}
bool FontCache::InstanceKey::operator<(const InstanceKey& o) const {
  if (face < o.face) return true;
  if (o.face < face) return false;
  return std::tie(height, width) < std::tie(o.height, o.width);
}
bool FontCache::GlyphKey::operator<(const GlyphKey& o) const {
  return std::tie(instance, angle, ch) < std::tie(o.instance, o.angle, o.ch);
}

FontCache::FontCache() : instances_(kMaxInstances), glyphs_(kMaxGlyphs) {}
FontCache::~FontCache() {
  Shutdown();
}

FontCache& FontCache::Get() {
  // Never destroyed: text may still be drawn from other objects' destructors
  // at exit; the FreeType and fontconfig state is released by an atexit hook.
  static FontCache* cache = new FontCache();
  return *cache;
}

bool FontCache::EnsureLibraries() {
  if (shutDown_ || !available_) return false;
  if (initTried_) return ready_;
  initTried_ = true;
  if (!FcInit()) return false;
  FT_Library lib = nullptr;
  if (FT_Init_FreeType(&lib) != 0) return false;
  library_ = lib;
  ready_ = true;
  std::atexit(&FontCache::ShutdownAtExit);
  return true;
}

void FontCache::ShutdownAtExit() {
  FontCache& cache = Get();
  auto lock = cache.Lock();
  cache.Shutdown();
}

void FontCache::Shutdown() {
  last_ = nullptr;
  glyphs_.Clear();
  glyphBytes_ = 0;
  instances_.Clear();
  requests_.clear();
  for (auto& entry : faces_) {
    if (entry.second && entry.second->ft) FT_Done_Face(entry.second->ft);
  }
  faces_.clear();
  if (library_) {
    FT_Done_FreeType(static_cast<FT_Library>(library_));
    library_ = nullptr;
    // fontconfig keeps its configuration and caches for the process; letting
    // go here keeps leak checkers quiet about memory that is ours to free.
    FcFini();
  }
  ready_ = false;
  shutDown_ = true;
}

FontCache::Face* FontCache::OpenFace(const std::string& path, int index) {
  auto key = std::make_pair(path, index);
  auto it = faces_.find(key);
  if (it != faces_.end()) return it->second.get();

  auto face = std::make_unique<Face>();
  FT_Face ft = nullptr;
  if (FT_New_Face(static_cast<FT_Library>(library_), path.c_str(), index, &ft) != 0 || !FT_IS_SCALABLE(ft)) {
    if (ft) FT_Done_Face(ft);
    faces_[key] = nullptr;  // remembered, so a broken file is not reopened per character
    return nullptr;
  }
  face->ft = ft;
  if (FT_Select_Charmap(ft, FT_ENCODING_UNICODE) != 0 && FT_Select_Charmap(ft, FT_ENCODING_MS_SYMBOL) == 0) {
    face->symbol = true;
  }
  face->upem = ft->units_per_EM > 0 ? ft->units_per_EM : 2048;
  face->fixedPitch = FT_IS_FIXED_WIDTH(ft);
  face->italic = (ft->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
  face->bold = (ft->style_flags & FT_STYLE_FLAG_BOLD) != 0;
  const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(ft, FT_SFNT_OS2));
  if (os2 && os2->version != 0xFFFF) {
    face->winAscent = os2->usWinAscent;
    face->winDescent = os2->usWinDescent;
    face->avgWidth = os2->xAvgCharWidth;
    if (os2->usWeightClass >= 600) face->bold = true;
  }
  if (face->winAscent + face->winDescent <= 0) {
    face->winAscent = std::max<int>(ft->ascender, 0);
    face->winDescent = std::max<int>(-ft->descender, 0);
  }
  if (face->winAscent + face->winDescent <= 0) {
    face->winAscent = face->upem * 4 / 5;
    face->winDescent = face->upem - face->winAscent;
  }
  face->maxAdvance = ft->max_advance_width > 0 ? ft->max_advance_width : face->upem;
  if (face->avgWidth <= 0) face->avgWidth = face->maxAdvance / 2 > 0 ? face->maxAdvance / 2 : 1;
  if (face->fixedPitch) {
    FT_Fixed adv = 0;
    FT_UInt gi = face->GlyphIndex('x');
    if (gi && FT_Get_Advance(ft, gi, FT_LOAD_NO_SCALE, &adv) == 0 && adv > 0) {
      face->avgWidth = static_cast<int>(adv);
    }
  }
  Face* raw = face.get();
  faces_[key] = std::move(face);
  return raw;
}

FontCache::Face* FontCache::MatchFace(const std::string& family, bool italic, bool bold, bool requireFixed) {
  FcPattern* pat = FcPatternCreate();
  if (!pat) return nullptr;
  if (!family.empty()) FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
  FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
  if (requireFixed) FcPatternAddInteger(pat, FC_SPACING, FC_MONO);
  FcConfigSubstitute(nullptr, pat, FcMatchPattern);
  FcDefaultSubstitute(pat);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pat, &result);
  FcPatternDestroy(pat);
  if (!match) return nullptr;

  Face* face = nullptr;
  FcChar8* file = nullptr;
  int index = 0;
  int spacing = 0;
  if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch && file) {
    FcPatternGetInteger(match, FC_INDEX, 0, &index);
    face = OpenFace(reinterpret_cast<const char*>(file), index);
  }
  if (face && FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch && spacing >= FC_MONO) {
    face->fixedPitch = true;
  }
  FcPatternDestroy(match);
  if (face && requireFixed && !face->fixedPitch) return nullptr;
  return face;
}

FontCache::FaceChoice FontCache::Resolve(const FaceRequest& req) {
  auto it = requests_.find(req);
  if (it != requests_.end()) return it->second;

  FaceChoice choice;
  if (EnsureLibraries()) {
    Face* face = nullptr;
    if (!IsStockFaceName(req.name)) face = MatchFace(req.name, req.italic, req.bold, req.fixed);
    if (!face) face = MatchFace("monospace", req.italic, req.bold, false);
    if (!face) face = MatchFace(std::string(), req.italic, req.bold, false);
    if (face) {
      choice.face = face;
      choice.synthItalic = req.italic && !face->italic;
      choice.synthBold = req.bold && !face->bold;
    }
  }
  // Face names come from callers, so the table of answers is bounded too.
  if (requests_.size() >= kMaxFaceRequests) requests_.clear();
  requests_[req] = choice;
  return choice;
}

std::unique_ptr<FontCache::Instance> FontCache::MakeInstance(const InstanceKey& key,
                                                             const FaceChoice& choice) {
  auto inst = std::make_unique<Instance>();
  inst->serial = nextSerial_++;
  Metrics& m = inst->metrics;
  m.italic = key.face.italic;
  m.weight = key.face.bold ? FW_BOLD : FW_NORMAL;

  const int64_t cellRequest = key.height == 0 ? kDefaultCellHeight : key.height;
  Face* face = choice.face;
  double em = 0;
  if (face) {
    const double units = static_cast<double>(face->winAscent) + face->winDescent;
    if (cellRequest < 0) {
      em = static_cast<double>(-cellRequest);
      m.ascent = RoundToInt(face->winAscent * em / face->upem);
      m.descent = RoundToInt(face->winDescent * em / face->upem);
    } else {
      em = cellRequest * face->upem / units;
      m.ascent = RoundToInt(face->winAscent * cellRequest / units);
      m.descent = static_cast<int>(cellRequest) - m.ascent;
    }
    const double naturalAvg = face->avgWidth * em / face->upem;
    const double emX = key.width > 0 && naturalAvg > 0 ? em * key.width / naturalAvg : em;
    auto to26 = [](double px) {
      return static_cast<FT_F26Dot6>(std::clamp<double>(std::llround(px * 64), 64, kMaxPixels * 2 * 64));
    };
    FT_Size size = nullptr;
    if (FT_New_Size(face->ft, &size) == 0) {
      inst->size = size;
      if (FT_Activate_Size(size) != 0 || FT_Set_Char_Size(face->ft, to26(emX), to26(em), 72, 72) != 0) {
        face = nullptr;
      }
    } else {
      face = nullptr;
    }
    if (face) {
      inst->face = face;
      inst->synthItalic = choice.synthItalic;
      inst->emboldenPx = choice.synthBold ? std::max(1, RoundToInt(em / 24)) : 0;
      m.scalable = true;
      m.fixedPitch = face->fixedPitch;
      m.internalLeading = std::max(0, m.ascent + m.descent - RoundToInt(em));
      if (key.width > 0) {
        m.aveCharWidth = static_cast<int>(key.width);
      } else if (face->fixedPitch) {
        m.aveCharWidth = Advance(inst.get(), 'x');
      } else {
        m.aveCharWidth = std::max(1, RoundToInt(face->avgWidth * emX / face->upem));
      }
      m.maxCharWidth =
          std::max(m.aveCharWidth, RoundToInt(face->maxAdvance * emX / face->upem) + inst->emboldenPx);
      return inst;
    }
  }

  // Nothing usable is installed: keep plausible metrics so layout still works.
  if (inst->size) {
    FT_Done_Size(inst->size);
    inst->size = nullptr;
  }
  if (cellRequest < 0) {
    em = static_cast<double>(-cellRequest);
    const int cell = std::max(1, RoundToInt(em * 1.15));
    m.ascent = RoundToInt(cell * 0.8);
    m.descent = cell - m.ascent;
  } else {
    m.ascent = RoundToInt(cellRequest * 0.8);
    m.descent = static_cast<int>(cellRequest) - m.ascent;
    em = cellRequest / 1.15;
  }
  m.internalLeading = std::max(0, m.ascent + m.descent - RoundToInt(em));
  m.aveCharWidth = key.width > 0 ? static_cast<int>(key.width) : std::max(1, RoundToInt(em * 0.6));
  m.maxCharWidth = m.aveCharWidth;
  m.fixedPitch = true;
  m.scalable = false;
  return inst;
}

FontCache::Instance* FontCache::Find(const LOGFONTA& lf) {
  // The library makes the same font for character after character: the last
  // one found is the most recent in the list, so it is handed out again as
  // it is.
  if (last_ && std::memcmp(&lastLog_, &lf, sizeof lf) == 0) return last_;
  last_ = FindInstance(lf);
  lastLog_ = lf;
  return last_;
}

FontCache::Instance* FontCache::FindInstance(const LOGFONTA& lf) {
  FaceRequest req;
  std::string name = Lower(TrimSpaces(std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE))));
  for (bool more = true; more;) {
    more = false;
    if (EndsWith(name, " italic")) {
      req.italic = true;
      name = TrimSpaces(name.substr(0, name.size() - 7));
      more = true;
    } else if (EndsWith(name, " bold")) {
      req.bold = true;
      name = TrimSpaces(name.substr(0, name.size() - 5));
      more = true;
    }
  }
  req.name = name;
  req.italic = req.italic || lf.lfItalic != 0;
  req.bold = req.bold || lf.lfWeight >= 600;
  req.fixed = IsFixedFaceName(name) || (lf.lfPitchAndFamily & 0x03) == FIXED_PITCH ||
              (lf.lfPitchAndFamily & 0xF0) == FF_MODERN;

  InstanceKey key;
  key.face = req;
  key.height = std::clamp<int64_t>(lf.lfHeight, -kMaxPixels, kMaxPixels);
  key.width = std::min<int64_t>(std::llabs(static_cast<int64_t>(lf.lfWidth)), kMaxPixels);

  if (auto* found = instances_.Find(key)) return found->get();
  FaceChoice choice = Resolve(req);
  auto inst = MakeInstance(key, choice);
  while (instances_.Full()) instances_.EvictOldest();
  return instances_.Insert(key, std::move(inst)).get();
}

const FontCache::Metrics& FontCache::MetricsOf(const Instance* inst) const {
  return inst->metrics;
}

int FontCache::Advance(Instance* inst, unsigned char ch) {
  int& adv = inst->advances[ch];
  if (adv >= 0) return adv;
  adv = inst->metrics.aveCharWidth;
  if (inst->face && FT_Activate_Size(inst->size) == 0) {
    FT_Face ft = inst->face->ft;
    if (FT_Load_Glyph(ft, inst->face->GlyphIndex(ch), FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) == 0) {
      adv =
          static_cast<int>(std::max<int64_t>(0, Round26(ft->glyph->metrics.horiAdvance))) + inst->emboldenPx;
    }
  }
  return adv;
}

bool FontCache::Render(Instance* inst, unsigned char ch, int angle, GlyphImage* out) {
  if (!inst->face || FT_Activate_Size(inst->size) != 0) return false;
  FT_Face ft = inst->face->ft;
  if (FT_Load_Glyph(ft, inst->face->GlyphIndex(ch), FT_LOAD_NO_BITMAP | FT_LOAD_TARGET_MONO) != 0)
    return false;
  FT_GlyphSlot slot = ft->glyph;
  if (slot->format != FT_GLYPH_FORMAT_OUTLINE) return false;

  if (inst->emboldenPx > 0) {
    const FT_Pos strength = static_cast<FT_Pos>(inst->emboldenPx) * 64;
    FT_Outline_EmboldenXY(&slot->outline, strength, 0);
  }
  // The outline is hinted upright, then slanted and turned, so the advance
  // and the cell do not depend on the angle.
  double s = 0, c = 1;
  AngleSinCos(angle, &s, &c);
  const double k = inst->synthItalic ? kItalicShear : 0.0;
  if (angle != 0 || k != 0) {
    FT_Matrix m;
    m.xx = ToFixed(c);
    m.xy = ToFixed(c * k - s);
    m.yx = ToFixed(s);
    m.yy = ToFixed(s * k + c);
    FT_Outline_Transform(&slot->outline, &m);
  }
  if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return false;

  const FT_Bitmap& bm = slot->bitmap;
  out->left = slot->bitmap_left;
  out->top = -slot->bitmap_top;
  out->width = static_cast<int>(bm.width);
  out->rows = static_cast<int>(bm.rows);
  out->stride = (out->width + 7) / 8;
  out->bits.assign(static_cast<size_t>(out->stride) * out->rows, 0);
  if (out->width == 0 || out->rows == 0) return true;
  const int pitch = bm.pitch;
  for (int r = 0; r < out->rows; ++r) {
    const unsigned char* src = pitch >= 0 ? bm.buffer + static_cast<size_t>(r) * pitch
                                          : bm.buffer + static_cast<size_t>(out->rows - 1 - r) * -pitch;
    uint8_t* dst = out->bits.data() + static_cast<size_t>(r) * out->stride;
    if (bm.pixel_mode == FT_PIXEL_MODE_MONO) {
      std::memcpy(dst, src, out->stride);
    } else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY) {
      for (int x = 0; x < out->width; ++x) {
        if (src[x] >= 128) dst[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
      }
    }
  }
  return true;
}

const FontCache::GlyphImage* FontCache::Glyph(Instance* inst, unsigned char ch, int angle) {
  if (!inst->face) return nullptr;
  GlyphKey key{inst->serial, angle, ch};
  GlyphImage* image = glyphs_.Find(key);
  if (!image) {
    GlyphImage fresh;
    if (!Render(inst, ch, angle, &fresh)) fresh = GlyphImage();
    while (glyphs_.Size() > 0 && (glyphs_.Full() || glyphBytes_ + fresh.bits.size() > kMaxGlyphBytes)) {
      glyphBytes_ -= glyphs_.Oldest().bits.size();
      glyphs_.EvictOldest();
    }
    glyphBytes_ += fresh.bits.size();
    image = &glyphs_.Insert(key, std::move(fresh));
  }
  return image->width > 0 && image->rows > 0 ? image : nullptr;
}

FontCache::Stats FontCache::CurrentStats() const {
  Stats s;
  s.faces = faces_.size();
  s.faceRequests = requests_.size();
  s.instances = instances_.Size();
  s.glyphs = glyphs_.Size();
  s.glyphBytes = glyphBytes_;
  return s;
}

void FontCache::Trim() {
  last_ = nullptr;
  glyphs_.Clear();
  glyphBytes_ = 0;
  instances_.Clear();
}

void FontCache::SetFontsAvailable(bool available) {
  Trim();
  requests_.clear();
  available_ = available;
}

}  // namespace soft
