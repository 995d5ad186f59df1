#pragma once

#include <cstdint>

// Every operator new of a benchmark program that links this counter is
// counted, so a benchmark can show whether a steady state allocates.
std::uint64_t AllocationCount();
