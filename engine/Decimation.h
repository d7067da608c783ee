#pragma once

#include <array>
#include <cstdint>
#include <random>

namespace rova {

// Lamp masks of a decimating player, indexed [step][column mod 16]; a set bit lets the lamp
// through. masks[d − 1] switches off about 16 / d lamps, each lower step about 16 / d more, and
// masks[0] switches off all 16.
using DecimationMasks = std::array<std::array<std::uint16_t, 16>, 16>;

// The engine's source of random lamp numbers: seeded once per engine, reseedable for tests.
using DecimationRandom = std::mt19937;

// Fills masks[0] to masks[steps − 1] (steps from 1 to 16) with fresh random patterns.
void buildDecimationMasks(DecimationMasks& masks, std::uint32_t steps, DecimationRandom& random);

}  // namespace rova
