// A stand-in desktop launcher for the logger's unit tests.
#include <cstdint>
#include <cstring>

#include "vexa_api.h"

extern "C" __declspec(dllexport) intptr_t VEXA_CALL ShellExecAsUser(const char* verb, const char* file, int, int,
                                                                    int) {
  return std::strcmp(verb, "open") == 0 && file && *file ? 42 : 2;
}
