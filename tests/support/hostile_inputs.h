// Hostile streams of size n, shared by the tests and the benchmarks.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

struct CHostileRow {
  const char* name;
  size_t fullSize;  // the size the tests use
  std::string (*make)(size_t n);
};

inline std::string Repeat(const std::string& unit, size_t times) {
  std::string out;
  out.reserve(unit.size() * times);
  for (size_t i = 0; i < times; ++i) out += unit;
  return out;
}

constexpr size_t kMiB = 1024 * 1024;

inline const std::vector<CHostileRow>& HostileRows() {
  static const std::vector<CHostileRow> rows = {
      {"nested_option_lists", 100000,
       [](size_t n) { return "V" + std::string(n, '(') + std::string(n, ')'); }},
      {"nested_temporary_writes", 100000,
       [](size_t n) { return "V" + Repeat("(W", n) + std::string(2 * n, ')'); }},
      {"nested_screen_writes", 100000, [](size_t n) { return "S" + Repeat("(W(W", n); }},
      {"unterminated_text", kMiB, [](size_t n) { return "T\"" + std::string(n, 'A'); }},
      {"unterminated_alphabet", kMiB, [](size_t n) { return "L\"A" + std::string(n, 'F'); }},
      {"unterminated_shading_character", kMiB, [](size_t n) { return "V(W(S'" + std::string(n, 'x'); }},
      {"coordinate_list", 10 * kMiB, [](size_t n) { return "P" + Repeat("[+1,+1]", n / 7); }},
      {"vector_list", kMiB, [](size_t n) { return "V" + Repeat("[+9,-9][-9,+9]", n / 14); }},
      {"pixel_vectors", kMiB, [](size_t n) { return "W(M2147483647)V" + Repeat("01234567", n / 8); }},
      {"long_coordinate_number", 1000000,
       [](size_t n) { return "P[" + std::string(n, '9') + ",-0." + std::string(n, '5') + "]"; }},
      {"long_option_numbers", 1000000,
       [](size_t n) {
         const std::string digits(n, '9');
         return "W(M" + digits + ")W(P" + digits + ")T(S" + digits + ")T(D" + digits + ")S(I" + digits +
                ")S(P" + digits + ")";
       }},
      {"long_zero_delay", 1000000, [](size_t n) { return "S(T" + std::string(n, '0') + ")"; }},
      {"curve_point_list", 10 * kMiB, [](size_t n) { return "C(B)" + Repeat("[+9,+1]", n / 7) + "(E)"; }},
      {"unclosed_curve", kMiB, [](size_t n) { return "C(S)" + Repeat("[+9,-9][-9,+9]", n / 14); }},
      {"fill_of_a_million_points", 7000000,
       [](size_t n) { return "F(V" + Repeat("[+9,+1][-9,+1]", n / 14) + ")"; }},
      {"fill_of_circles", kMiB, [](size_t n) { return "P[400,240]F(" + Repeat("C[+300]", n / 7) + ")"; }},
      {"unclosed_fill", kMiB, [](size_t n) { return "F(V" + Repeat("[+9,-9][-9,+9]", n / 14); }},
      {"macrograph_definition", 10 * kMiB,
       [](size_t n) { return "@:A" + Repeat("V[+1,+1]", n / 8) + "@;@A"; }},
      {"unterminated_macrograph_definition", 10 * kMiB, [](size_t n) { return "@:B" + std::string(n, 'x'); }},
      {"nested_macrograph_definitions", 100000, [](size_t n) { return Repeat("@:A", n) + "@;@A@;"; }},
      {"self_calling_macrographs", kMiB,
       [](size_t n) { return "@:AP[+1,+1]@A@A@;@:BV[]@B@A@;" + Repeat("@A@B", n / 4); }},
      {"unknown_letters", 10 * kMiB, [](size_t n) { return Repeat("QXZ,K]", n / 6); }},
  };
  return rows;
}
