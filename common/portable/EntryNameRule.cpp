#include "common/portable/EntryNameRule.h"

#include "common/portable/GbkText.h"

namespace pub {

bool IsSafeEntryName(const std::string& name) {
  if (!name.empty() && (name[0] == '\\' || name[0] == '/')) return false;
  std::string component;
  for (size_t i = 0; i <= name.size(); ++i) {
    unsigned char c = i < name.size() ? static_cast<unsigned char>(name[i]) : '\\';
    if (IsGbkLeadByte(c) && i + 1 < name.size()) {
      component += name.substr(i, 2);
      ++i;
      continue;
    }
    if (c == ':') return false;
    if (c == '\\' || c == '/') {
      if (component == "..") return false;
      component.clear();
    } else {
      component += static_cast<char>(c);
    }
  }
  return true;
}

}  // namespace pub
