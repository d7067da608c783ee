#include "PlayerParameters.h"

#include <bit>
#include <cstring>
#include <type_traits>

namespace rova {

// The record is stored byte for byte as it lies in memory; these pin that layout.
static_assert(std::endian::native == std::endian::little, "the record layout is little-endian");
static_assert(std::is_trivially_copyable_v<PlayerParameters>);
static_assert(sizeof(PlayerParameters) == PlayerParameters::kByteSize);
static_assert(offsetof(PlayerParameters, nextCommandAfter) == 0);
static_assert(offsetof(PlayerParameters, deathAfter) == 8);
static_assert(offsetof(PlayerParameters, deathType) == 16);
static_assert(offsetof(PlayerParameters, commandFlags) == 20);
static_assert(offsetof(PlayerParameters, originAnchor) == 24);
static_assert(offsetof(PlayerParameters, reserved28) == 28);
static_assert(offsetof(PlayerParameters, origin) == 32);
static_assert(offsetof(PlayerParameters, originSpeed) == 40);
static_assert(offsetof(PlayerParameters, originAccel) == 48);
static_assert(offsetof(PlayerParameters, width) == 56);
static_assert(offsetof(PlayerParameters, widthSpeed) == 64);
static_assert(offsetof(PlayerParameters, widthAccel) == 72);
static_assert(offsetof(PlayerParameters, clipStart) == 80);
static_assert(offsetof(PlayerParameters, clipEnd) == 88);
static_assert(offsetof(PlayerParameters, projections) == 96);
static_assert(offsetof(PlayerParameters, reserved100) == 100);
static_assert(offsetof(PlayerParameters, reserved116) == 116);
static_assert(offsetof(PlayerParameters, yShift) == 120);
static_assert(offsetof(PlayerParameters, verticalSpeed) == 128);
static_assert(offsetof(PlayerParameters, flashing) == 136);
static_assert(offsetof(PlayerParameters, flashingAccel) == 144);
static_assert(offsetof(PlayerParameters, flashDutyThreshold) == 152);
static_assert(offsetof(PlayerParameters, reserved154) == 154);
static_assert(offsetof(PlayerParameters, playerFlags) == 156);
static_assert(offsetof(PlayerParameters, heightAdjustment) == 160);
static_assert(offsetof(PlayerParameters, reserved164) == 164);

PlayerParameters PlayerParameters::fromBytes(std::span<const std::uint8_t, kByteSize> bytes) {
    PlayerParameters record;
    std::memcpy(&record, bytes.data(), kByteSize);
    return record;
}

PlayerParameters::Bytes PlayerParameters::toBytes() const {
    Bytes bytes;
    std::memcpy(bytes.data(), this, kByteSize);
    return bytes;
}

void PlayerParameters::resetToDefaults() {
    *this = PlayerParameters{};
}

std::uint32_t PlayerParameters::effectiveProjections() const {
    if (projections == 0) {
        return 1;
    }
    return projections > 6 ? 6 : projections;
}

void PlayerParameters::setProjections(std::uint32_t count) {
    projections = count;
    projections = effectiveProjections();
}

void PlayerParameters::setWrap(bool on) {
    if (on) {
        playerFlags |= PlayerFlags::WrapAround;
    } else {
        playerFlags &= ~PlayerFlags::WrapAround;
    }
}

void PlayerParameters::limitWidth() {
    const std::uint32_t count = effectiveProjections();
    if (!hasPlayerFlag(PlayerFlags::WrapAround) && count < 2) {
        return;
    }
    const double limit = static_cast<double>(static_cast<int>(360 / count) - 10);
    if (width < -limit) {
        width = -limit;
    } else if (width > limit) {
        width = limit;
    }
}

bool PlayerParameters::applyVerticalAlignment(std::uint32_t rows) {
    const std::uint32_t alignment = playerFlags & PlayerFlags::Fit;
    const int h = static_cast<int>(rows);
    const int centre = (48 - h) / 2;
    switch (alignment) {
        case PlayerFlags::Fit:
            return true;
        case PlayerFlags::AlignTop:
            yShift = 16 - centre;
            return true;
        case PlayerFlags::AlignBottom:
            yShift = 32 - (h + centre);
            return true;
        default:
            return false;
    }
}

}  // namespace rova
