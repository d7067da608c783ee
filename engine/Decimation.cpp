#include "Decimation.h"

namespace rova {

void buildDecimationMasks(DecimationMasks& masks, std::uint32_t steps, DecimationRandom& random) {
    const double lampsPerStep = 16.0 / steps;
    for (int phase = 15; phase >= 0; --phase) {
        std::uint16_t off = 0;
        double count = 0.5;
        double target = 0.0;
        for (int step = static_cast<int>(steps) - 1; step >= 0; --step) {
            target += lampsPerStep;
            while (count < target && off != 0xFFFF) {
                const unsigned lamp = random() & 0xF;
                const auto bit = static_cast<std::uint16_t>(1u << lamp);
                if ((off & bit) == 0) {
                    off |= bit;
                    count += 1.0;
                }
            }
            masks[step][phase] = static_cast<std::uint16_t>(~off);
        }
    }
}

}  // namespace rova
