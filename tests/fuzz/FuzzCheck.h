#pragma once

#include <cstdio>
#include <cstdlib>

// Ends the run as a failure: a property of the reader did not hold for this input.
[[noreturn]] inline void fuzzFail(const char* message)
{
    std::fprintf(stderr, "%s\n", message);
    std::abort();
}
