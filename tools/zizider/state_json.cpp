#include "tools/zizider/state_json.h"

#include <cstdio>

#include "interp/interpreter.h"
#include "surface/colour_map.h"
#include "surface/graphics_context.h"

namespace {

void AppendString(std::string& out, const char* text, size_t maxLength) {
  out.push_back('"');
  for (size_t i = 0; i < maxLength && text[i] != '\0'; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out.push_back('\\');
      out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c >= 0x7F) {
      // Alphabet names are bytes of unknown encoding; each stays one character.
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out.push_back(static_cast<char>(c));
    }
  }
  out.push_back('"');
}

void AppendPair(std::string& out, const char* name, long long a, long long b) {
  out += '"';
  out += name;
  out += "\":[" + std::to_string(a) + "," + std::to_string(b) + "]";
}

void AppendNumber(std::string& out, const char* name, long long value) {
  out += '"';
  out += name;
  out += "\":" + std::to_string(value);
}

void AppendBool(std::string& out, const char* name, bool value) {
  out += '"';
  out += name;
  out += value ? "\":true" : "\":false";
}

const char* ModeName(int32_t mode) {
  switch (mode) {
    case kOverlay:
      return "overlay";
    case kReplace:
      return "replace";
    case kComplement:
      return "complement";
    case kErase:
      return "erase";
    default:
      return nullptr;
  }
}

void AppendWriting(std::string& out, const CWriteControls& w) {
  out += "\"writing\":{";
  AppendNumber(out, "foreground", w.foreground);
  out += ',';
  AppendNumber(out, "pixel_multiplier", w.pixelMultiplier);
  out += ',';
  AppendNumber(out, "pattern", w.pattern);
  out += ',';
  AppendNumber(out, "pattern_multiplier", w.patternMultiplier);
  out += ",\"mode\":";
  if (const char* name = ModeName(w.mode))
    AppendString(out, name, 16);
  else
    out += std::to_string(w.mode);
  out += ',';
  AppendNumber(out, "plane_mask", w.planeMask);
  out += ',';
  AppendBool(out, "negative", w.Negative());
  out += ",\"shading\":{";
  AppendBool(out, "on", (w.shading.flags & kShadingOn) != 0);
  out += ",\"character\":";
  if (w.shading.character == 0) {
    out += "null";
  } else {
    const char text[2] = {static_cast<char>(w.shading.character), '\0'};
    AppendString(out, text, 1);
  }
  out += ',';
  AppendNumber(out, "reference", w.shading.reference);
  out += ',';
  AppendBool(out, "horizontal", (w.shading.flags & kShadingHorizontal) != 0);
  out += "}}";
}

void AppendText(std::string& out, const CTextState& t) {
  out += "\"text\":{";
  AppendPair(out, "display_cell", t.displayCellWidth, t.displayCellHeight);
  out += ',';
  AppendPair(out, "unit_cell", t.unitCellWidth, t.unitCellHeight);
  out += ',';
  AppendPair(out, "spacing", t.spacingX, t.spacingY);
  out += ',';
  AppendNumber(out, "string_direction", t.stringDirection);
  out += ',';
  AppendNumber(out, "character_direction", t.characterDirection);
  out += ',';
  AppendNumber(out, "italic", t.italic);
  out += ',';
  AppendNumber(out, "g0_set", t.g0Set);
  out += ',';
  AppendNumber(out, "g1_set", t.g1Set);
  out += ',';
  AppendNumber(out, "alphabet", t.alphabet);
  out += ',';
  AppendNumber(out, "loading_alphabet", t.loadingAlphabet);
  out += ",\"alphabet_names\":[";
  for (int i = 0; i < 3; ++i) {
    if (i) out += ',';
    AppendString(out, t.loaded[i].name, sizeof t.loaded[i].name);
  }
  out += "]}";
}

}  // namespace

std::string StateJson(KXREG_HOST* host) {
  if (!host || !host->context || !host->interpreter || !host->context->state) return "null";
  const CGraphicsState& state = *host->context->state;
  const CInterpreter& interp = *host->interpreter;

  std::string out = "{";
  AppendPair(out, "position", state.x, state.y);
  out += ',';
  AppendPair(out, "last_error", interp.lastError, interp.lastErrorChar);
  out += ',';
  AppendNumber(out, "pages", state.pages);
  out += ',';
  AppendNumber(out, "output_page", state.outputPage);
  out += ',';
  AppendNumber(out, "screen_page", state.screenPage);
  out += ',';
  if (state.active) {
    AppendWriting(out, *state.active);
  } else {
    out += "\"writing\":null";
  }
  out += ',';
  const CTextCtx* text = host->context->text;
  if (text && text->pair.current) {
    AppendText(out, *text->pair.current);
  } else {
    out += "\"text\":null";
  }
  out += ",\"colour_map\":[";
  const CColour* map = WorkingColourMap();
  for (int i = 0; i < kColourMapSize; ++i) {
    if (i) out += ',';
    out += "[" + std::to_string(map[i].red) + "," + std::to_string(map[i].green) + "," +
           std::to_string(map[i].blue) + "]";
  }
  out += "]}";
  return out;
}

int ScreenPageNumber(KXREG_HOST* host) {
  if (!host || !host->context || !host->context->state) return 0;
  const CGraphicsState& state = *host->context->state;
  return state.pages == 1 || state.screenPage == 0 ? 1 : 2;
}
