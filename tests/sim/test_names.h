// Turns a case's label into a GoogleTest parameter name.
#pragma once

#include <cctype>
#include <string>

namespace velnor::sim {

inline std::string TestName(const char* label) {
  std::string name;
  for (const char* p = label; *p != '\0'; ++p)
    name += std::isalnum(static_cast<unsigned char>(*p)) != 0 ? *p : '_';
  return name;
}

struct LabelName {
  template <typename Info>
  std::string operator()(const Info& info) const {
    return TestName(info.param.label);
  }
};

}  // namespace velnor::sim
