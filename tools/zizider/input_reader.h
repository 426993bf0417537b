// The inputs of one run read as one stream, file after file, in fixed-size
// pieces: the whole input is never held.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

class CInputReader {
 public:
  enum class Result { Data, End, Error, Stopped };

  // "-" names standard input; no names at all means standard input.
  explicit CInputReader(std::vector<std::string> names);
  ~CInputReader();
  CInputReader(const CInputReader&) = delete;
  CInputReader& operator=(const CInputReader&) = delete;

  // Every named file exists, is no folder and can be opened; else one line.
  bool CheckAll(std::string* error) const;
  // Bytes in all inputs, or -1 when one of them has no known size (a pipe).
  long long TotalSize() const;

  // Fills up to capacity bytes. Stopped when a read was interrupted by a
  // signal and shouldStop says so.
  Result Read(char* buffer, size_t capacity, size_t* got, std::string* error);

  std::function<bool()> shouldStop;

 private:
  bool OpenNext(std::string* error);
  void CloseCurrent();

  std::vector<std::string> names_;
  size_t next_ = 0;
  int fd_ = -1;
  std::string current_;
};
