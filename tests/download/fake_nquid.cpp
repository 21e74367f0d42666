// A stand-in NQUID.dll for the install report tests: GetNQUID gives a fixed id.
#include <cstring>

#include "vexa_api.h"

extern "C" __declspec(dllexport) int VEXA_CALL GetNQUID(char* buffer, int size) {
  static const char id[] = "0123456789abcdef0123456789abcdef";
  if (buffer == nullptr || size < static_cast<int>(sizeof(id))) return 1;
  std::memcpy(buffer, id, sizeof(id));
  return 0;
}
