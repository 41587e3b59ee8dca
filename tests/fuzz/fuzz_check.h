// A property that must hold for every input: when it does not, the fuzzer is told by a crash.
#pragma once

#include <cstdio>
#include <cstdlib>

#define FUZZ_REQUIRE(condition)                                                                   \
  do {                                                                                            \
    if (!(condition)) {                                                                           \
      (void)std::fprintf(stderr, "%s:%d: property broken: %s\n", __FILE__, __LINE__, #condition); \
      std::abort();                                                                               \
    }                                                                                             \
  } while (false)
