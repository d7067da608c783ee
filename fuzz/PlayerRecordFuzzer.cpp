// Feeds parameter records straight from the input into the engine: a record as a sequence file
// would carry it, a small packed content, then a few frames of motion and drawing, a change of
// the top player and a kill. Any record must compose without crashing or hanging.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "Clock.h"
#include "PlayerEngine.h"

namespace {

class FuzzEngine final : public rova::PlayerEngine {
  public:
    using PlayerEngine::PlayerEngine;
    double degreesPerLampColumn() const override { return 0.7; }
};

// Reads one record from the input, or a default record when the input has run out.
rova::PlayerParameters takeRecord(const std::uint8_t*& data, std::size_t& size) {
    if (size < rova::PlayerParameters::kByteSize) {
        return {};
    }
    const auto record = rova::PlayerParameters::fromBytes(
        std::span<const std::uint8_t, rova::PlayerParameters::kByteSize>(
            data, data + rova::PlayerParameters::kByteSize));
    data += rova::PlayerParameters::kByteSize;
    size -= rova::PlayerParameters::kByteSize;
    return record;
}

void takeContent(rova::PlayerContent& content, const std::uint8_t*& data, std::size_t& size) {
    if (size < 2) {
        return;
    }
    const std::uint32_t columns = data[0] % 64;
    const std::uint32_t rows = 1 + data[1] % 32;
    data += 2;
    size -= 2;
    const auto target = content.allocate(columns, rows);
    for (auto& column : target) {
        const std::size_t n = std::min(sizeof column, size);
        std::memcpy(column.data(), data, n);
        data += n;
        size -= n;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    rova::VirtualClock clock;
    FuzzEngine engine(clock);
    engine.seedRandom(1);
    if (size > 0) {
        engine.setFramesPerSecond(1.0 + data[0] % 60);
        ++data;
        --size;
    }

    rova::ParameterSet first;
    first.parameters = takeRecord(data, size);
    takeContent(first.content, data, size);
    engine.addPlayer(first, true);
    for (int frame = 0; frame < 24; ++frame) {
        engine.composeFrame();
    }

    rova::ParameterSet second;
    second.parameters = takeRecord(data, size);
    takeContent(second.content, data, size);
    engine.changeTopPlayer(second, true, false, true);
    engine.addPlayer(second, true);
    for (int frame = 0; frame < 24; ++frame) {
        engine.composeFrame();
    }
    engine.killTopPlayer(true);
    engine.killAllPlayers(true);
    for (int frame = 0; frame < 40; ++frame) {
        engine.composeFrame();
    }
    return 0;
}
