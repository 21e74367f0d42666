// Entry names of the zip archives the installer unpacks. Whatever the name, an
// accepted one must stay inside the target folder when joined to it.
#include <cstddef>
#include <cstdint>
#include <string>

#include "fuzz_check.h"
#include "sys/zip_name.h"

namespace {

bool StaysInside(const std::string& name) {
  if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
  if (name.find(':') != std::string::npos) return false;
  size_t start = 0;
  while (start <= name.size()) {
    size_t end = name.find_first_of("/\\", start);
    if (end == std::string::npos) end = name.size();
    // Windows trims trailing dots and spaces: a component of only those with
    // two dots or more climbs out.
    std::string component = name.substr(start, end - start);
    size_t dots = 0;
    bool onlyDotsAndSpaces = true;
    for (char c : component) {
      if (c == '.') ++dots;
      else if (c != ' ') onlyDotsAndSpaces = false;
    }
    if (onlyDotsAndSpaces && dots >= 2) return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string name(reinterpret_cast<const char*>(data), size);
  if (IsSafeZipEntryName(name)) FUZZ_CHECK(StaysInside(name));
  return 0;
}
