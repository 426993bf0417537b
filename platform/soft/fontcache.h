// Fonts of the soft display: a LOGFONTA is resolved to an installed face
// through fontconfig, sized and rendered monochrome by FreeType. The core
// creates and deletes a font per character, so faces, sized instances and
// glyph images live here, keyed by what they depend on, and a font object
// keeps nothing but its LOGFONTA.
#pragma once

#include <cstddef>
#include <cstdint>
#include <list>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32.h"

namespace soft {

// Sine and cosine of an angle in tenths of a degree, exact at the right
// angles so that turned text lands on whole pixels.
void AngleSinCos(int tenths, double* sinOut, double* cosOut);

// Escapement reduced to [0, 3600).
int NormalizeAngle(LONG tenths);

// A small least-recently-used map; lookups move an entry to the front.
template <class K, class V>
class LruMap {
 public:
  explicit LruMap(size_t capacity) : capacity_(capacity) {}

  V* Find(const K& key) {
    auto it = index_.find(key);
    if (it == index_.end()) return nullptr;
    order_.splice(order_.begin(), order_, it->second);
    return &it->second->second;
  }
  // Inserts at the front; the caller evicts when it wants to.
  V& Insert(const K& key, V value) {
    order_.emplace_front(key, std::move(value));
    index_[key] = order_.begin();
    return order_.front().second;
  }
  bool Full() const { return order_.size() >= capacity_; }
  const V& Oldest() const { return order_.back().second; }
  void EvictOldest() {
    index_.erase(order_.back().first);
    order_.pop_back();
  }
  size_t Size() const { return order_.size(); }
  void Clear() {
    index_.clear();
    order_.clear();
  }

 private:
  size_t capacity_;
  std::list<std::pair<K, V>> order_;
  std::map<K, typename std::list<std::pair<K, V>>::iterator> index_;
};

class FontCache {
 public:
  // The dots of a glyph relative to its pen origin on the baseline, in screen
  // orientation (y down), packed one bit a dot, most significant bit first.
  struct GlyphImage {
    int left = 0, top = 0;  // offset of the first column and row from the origin
    int width = 0, rows = 0, stride = 0;
    std::vector<uint8_t> bits;
    bool Dot(int col, int row) const {
      return (bits[static_cast<size_t>(row) * stride + (col >> 3)] & (0x80 >> (col & 7))) != 0;
    }
  };

  struct Metrics {
    int ascent = 0, descent = 0;  // cell above and below the baseline
    int internalLeading = 0;
    int aveCharWidth = 0, maxCharWidth = 0;
    int weight = FW_NORMAL;
    bool italic = false;
    bool fixedPitch = true;
    bool scalable = false;  // false only for the empty stand-in when no face exists
  };

  class Instance;  // a resolved face at one size

  struct Stats {
    size_t faces = 0, faceRequests = 0, instances = 0, glyphs = 0, glyphBytes = 0;
  };

  static FontCache& Get();

  // Every call below needs this lock held; pointers handed out stay valid
  // until the next Find (instances) or Glyph (glyph images) call.
  std::unique_lock<std::mutex> Lock() { return std::unique_lock<std::mutex>(mutex_); }

  // Never null: a face that cannot be found gives an instance that draws nothing.
  Instance* Find(const LOGFONTA& lf);
  const Metrics& MetricsOf(const Instance* inst) const;
  // Advance of a character of the ANSI code page, in whole pixels.
  int Advance(Instance* inst, unsigned char ch);
  // The glyph turned counterclockwise by angle tenths of a degree
  // (0 <= angle < 3600); null when there is nothing to draw.
  const GlyphImage* Glyph(Instance* inst, unsigned char ch, int angle);

  Stats CurrentStats() const;
  // Drops sized instances and glyph images (faces stay open).
  void Trim();
  // Pretends no font is installed, so tests can check that text then draws
  // nothing without failing.
  void SetFontsAvailable(bool available);

  ~FontCache();

 private:
  struct Face;
  struct FaceChoice {
    Face* face = nullptr;
    bool synthItalic = false, synthBold = false;
  };
  struct FaceRequest {
    std::string name;  // lower case, style suffixes removed
    bool italic = false, bold = false, fixed = false;
    bool operator<(const FaceRequest& o) const;
  };
  struct InstanceKey {
    FaceRequest face;
    int64_t height = 0, width = 0;
    bool operator<(const InstanceKey& o) const;
  };
  struct GlyphKey {
    uint64_t instance = 0;
    int angle = 0;
    unsigned char ch = 0;
    bool operator<(const GlyphKey& o) const;
  };

  FontCache();
  bool EnsureLibraries();
  void Shutdown();
  static void ShutdownAtExit();
  FaceChoice Resolve(const FaceRequest& req);
  Face* MatchFace(const std::string& family, bool italic, bool bold, bool requireFixed);
  Face* OpenFace(const std::string& path, int index);
  Instance* FindInstance(const LOGFONTA& lf);
  std::unique_ptr<Instance> MakeInstance(const InstanceKey& key, const FaceChoice& choice);
  bool Render(Instance* inst, unsigned char ch, int angle, GlyphImage* out);

  std::mutex mutex_;
  bool initTried_ = false, ready_ = false, shutDown_ = false, available_ = true;
  void* library_ = nullptr;  // FT_Library, kept opaque so this header needs no FreeType
  std::map<std::pair<std::string, int>, std::unique_ptr<Face>> faces_;
  std::map<FaceRequest, FaceChoice> requests_;
  LruMap<InstanceKey, std::unique_ptr<Instance>> instances_;
  LruMap<GlyphKey, GlyphImage> glyphs_;
  size_t glyphBytes_ = 0;
  // What the last Find was asked and gave (null when the instances changed).
  LOGFONTA lastLog_{};
  Instance* last_ = nullptr;
  uint64_t nextSerial_ = 1;
};

}  // namespace soft
