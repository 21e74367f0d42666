#include "download/package_version.h"

#include <vector>

#include "sys/text_util.h"

bool IsVersionNotOlder(const std::string& a, const std::string& b) {
  const std::vector<std::string> partsA = SplitNarrow(a, ".");
  const std::vector<std::string> partsB = SplitNarrow(b, ".");
  if (partsA.empty() || partsA.size() != partsB.size()) return false;
  for (size_t i = 0; i < partsA.size(); ++i) {
    const int64_t left = ParseInt64(partsA[i]);
    const int64_t right = ParseInt64(partsB[i]);
    if (left != right) return left > right;
  }
  return true;
}
