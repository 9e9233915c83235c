#pragma once
// A broken property is a finding like a crash: the fuzzer keeps the input that broke it.
#include <cstdio>
#include <cstdlib>

namespace orvan::fuzz {

inline void require(bool condition, const char* what)
{
    if (!condition) {
        std::fprintf(stderr, "broken: %s\n", what);
        std::abort();
    }
}

} // namespace orvan::fuzz
