// A parser object for tests: it records every character offered to it and
// answers with a status chosen per character, so that the interpreter's
// stack handling can be observed without any real command parser.
#pragma once

#include <functional>
#include <string>

#include "interp/parse_obj.h"

class CScriptedParser : public CParseObj {
 public:
  // The status for a character; PARSE_CONTINUE when no rule is given.
  using Rule = std::function<int(char ch, CInterpreter& interp)>;

  explicit CScriptedParser(std::string* seen, Rule rule = nullptr, bool* deleted = nullptr)
      : seen_(seen), rule_(std::move(rule)), deleted_(deleted) {}
  ~CScriptedParser() override {
    if (deleted_) *deleted_ = true;
  }

  int Parse(char ch, CInterpreter& interp) override {
    if (seen_) seen_->push_back(ch);
    return rule_ ? rule_(ch, interp) : PARSE_CONTINUE;
  }

 private:
  std::string* seen_;
  Rule rule_;
  bool* deleted_;
};
