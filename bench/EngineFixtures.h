#pragma once

#include "PlayerEngine.h"

namespace rova::bench {

// An engine with a fixed lamp spacing, as the simulator would give it.
class BenchEngine final : public PlayerEngine {
  public:
    using PlayerEngine::PlayerEngine;
    ~BenchEngine() override { stopWorker(); }
    double degreesPerLampColumn() const override { return 0.7; }
};

// A player that stays: no death time, not solo, wrapping round the circle.
inline ParameterSet wrappingPlayer(std::uint32_t columns, std::uint32_t projections,
                                   double originSpeed) {
    ParameterSet set;
    set.parameters.commandFlags = 0;
    set.parameters.width = 140.0;
    set.parameters.originSpeed = originSpeed;
    set.parameters.setProjections(projections);
    set.parameters.setWrap(true);
    const auto data = set.content.allocate(columns, 16);
    for (std::uint32_t x = 0; x < columns; ++x) {
        // A mix of lit rows in all three planes, different in each column.
        data[x] = {0xA5A50000u ^ (x << 16), 0x0F0F0000u << (x % 3), 0xFFFF0000u >> (x % 5)};
    }
    return set;
}

}  // namespace rova::bench
