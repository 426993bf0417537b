// The character classes every ReGIS parser tests.
#pragma once

inline bool IsDigit(char ch) {
  return ch >= '0' && ch <= '9';
}

// Space and comma separate the items of coordinate and option lists.
inline bool IsSeparator(char ch) {
  return ch == ' ' || ch == ',';
}
