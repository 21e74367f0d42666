// FUZZ_CHECK: an invariant the codecs promise; breaking it is a finding.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_CHECK(condition)                                                      \
  do {                                                                             \
    if (!(condition)) {                                                            \
      std::fprintf(stderr, "%s:%d: invariant failed: %s\n", __FILE__, __LINE__, \
                   #condition);                                                    \
      std::abort();                                                                \
    }                                                                              \
  } while (0)
