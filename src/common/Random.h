// The system's one random generator: 15-bit values (0 to 32767), seedable for tests and runs.
#pragma once

#include <cstdint>

// Next value in 0..32767. Cost: constant.
int vimoraRand();

// Restarts the sequence from `seed`.
void vimoraSeed(uint32_t seed);
