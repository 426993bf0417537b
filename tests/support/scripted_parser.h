// A parser object that records its characters and answers per a rule.
#pragma once

#include <functional>
#include <string>

#include "interp/parse_obj.h"

class CScriptedParser : public CParseObj {
 public:
  // The status for a character; PARSE_CONTINUE when no rule is given.
  using Rule = std::function<int(char ch, CInterpreter& interp)>;

  explicit CScriptedParser(std::string* seen, Rule rule = nullptr) : seen_(seen), rule_(std::move(rule)) {}

  int Parse(char ch, CInterpreter& interp) override {
    if (seen_) seen_->push_back(ch);
    return rule_ ? rule_(ch, interp) : PARSE_CONTINUE;
  }

 private:
  std::string* seen_;
  Rule rule_;
};
