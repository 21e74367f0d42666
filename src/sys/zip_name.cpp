#include "sys/zip_name.h"

namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Windows drops trailing dots and spaces from path components, so ".. " and
// "..." can act like "..": refuse every component made only of dots and
// spaces that holds two dots or more. A lone "." stays harmless.
bool IsParentLike(const std::string& name, size_t begin, size_t end) {
  int dots = 0;
  for (size_t i = begin; i < end; ++i) {
    if (name[i] == '.') {
      ++dots;
    } else if (name[i] != ' ') {
      return false;
    }
  }
  return dots >= 2;
}

}  // namespace

bool IsSafeZipEntryName(const std::string& name) {
  if (name.empty() || IsSeparator(name[0])) return false;
  if (name.find(':') != std::string::npos) return false;
  size_t begin = 0;
  for (size_t i = 0; i <= name.size(); ++i) {
    if (i < name.size() && !IsSeparator(name[i])) continue;
    if (IsParentLike(name, begin, i)) return false;
    begin = i + 1;
  }
  return true;
}
