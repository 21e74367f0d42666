// NQUID.dll: GetNQUID gives an id of the current user on this machine that
// stays the same from run to run: the MD5 (32 lower-case hexadecimal digits)
// of the user's SID and the machine's stable facts.
#include <windows.h>

#include <cstring>
#include <string>
#include <type_traits>

#include "common/export_guard.h"
#include "common/machine_facts.h"
#include "sys/md5.h"
#include "vexa_api.h"

namespace {

constexpr int kOk = 0;
constexpr int kBadArgument = 1;
constexpr int kNoId = 2;

std::string UserId() {
  const std::string input = "nquid-v1|" + CurrentUserText() + "|" + StableMachineFacts();
  return Md5HexOfData(input.data(), static_cast<int64_t>(input.size()));
}

}  // namespace

extern "C" {

// Fills buffer (size bytes, 33 or more for the whole id) with the id and a
// NUL; returns 0. A buffer too small or null gets nothing but, when there is
// room, an empty text, and the result is not 0.
int VEXA_CALL GetNQUID(char* buffer, int size) {
  if (!buffer || size <= 0) return kBadArgument;
  buffer[0] = '\0';
  return Guarded<int>(kNoId, [&] {
    const std::string id = UserId();
    if (id.empty()) return kNoId;
    if (static_cast<size_t>(size) < id.size() + 1) return kBadArgument;
    std::memcpy(buffer, id.c_str(), id.size() + 1);
    return kOk;
  });
}

}  // extern "C"

static_assert(std::is_same<decltype(&GetNQUID), GetNQUID_t>::value, "GetNQUID");
