#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace rova {

// Bits of the command flag word (offset 20 of the record).
struct CommandFlags {
    static constexpr std::uint32_t Solo = 0x1;               // adding kills every other player
    static constexpr std::uint32_t ReplaceTop = 0x2;         // adding kills the top player
    static constexpr std::uint32_t DeathAfterEnabled = 0x8;  // dies after "death after" seconds
};

// Bits of the player flag word (offset 156 of the record).
struct PlayerFlags {
    static constexpr std::uint32_t OriginSpring = 0x1;
    static constexpr std::uint32_t WidthSpring = 0x2;
    static constexpr std::uint32_t MirrorAtZero = 0x4;
    static constexpr std::uint32_t BounceAtZero = 0x8;
    static constexpr std::uint32_t BounceAtStart = 0x20;
    static constexpr std::uint32_t BounceAtEnd = 0x40;
    static constexpr std::uint32_t OriginSync = 0x80;
    static constexpr std::uint32_t WrapAround = 0x100;
    static constexpr std::uint32_t VerticalBounce = 0x200;
    static constexpr std::uint32_t VerticalBounceCopy = 0x400;  // written with VerticalBounce
    static constexpr std::uint32_t AutoWidth = 0x1000;
    static constexpr std::uint32_t AlignTop = 0x2000;
    static constexpr std::uint32_t AlignBottom = 0x4000;
    static constexpr std::uint32_t Fit = AlignTop | AlignBottom;
    static constexpr std::uint32_t Flip = 0x8000;
    static constexpr std::uint32_t Defaults = OriginSpring | WidthSpring | MirrorAtZero |
                                              WrapAround | VerticalBounce | VerticalBounceCopy |
                                              AutoWidth;
};

enum class DeathType : std::uint32_t { Immediate = 0, DecimateFast = 1, DecimateSlow = 2 };

enum class OriginAnchor : std::uint32_t { LeftEdge = 0, Middle = 1, RightEdge = 2 };

// The fixed 168-byte parameter record of a command, of the parameter form and of every live
// player. A value-initialised record holds the defaults. The members are laid out exactly as the
// record is stored (little-endian, natural alignment), so the byte form is the object's own bytes;
// the static_asserts in the source file pin every offset.
struct PlayerParameters {
    static constexpr std::size_t kByteSize = 168;
    using Bytes = std::array<std::uint8_t, kByteSize>;

    double nextCommandAfter = 5.0;  // s; time from this command's start to the next command's start
    double deathAfter = 5.0;        // s; for a repeat command the repeat count
    std::uint32_t deathType = 0;    // DeathType; 3 and 4 act as immediate
    std::uint32_t commandFlags = CommandFlags::Solo;
    std::uint32_t originAnchor = 1;  // OriginAnchor
    std::uint32_t reserved28 = 0;
    double origin = 90.0;           // deg
    double originSpeed = 0.0;       // deg/s
    double originAccel = 0.0;       // deg/s²; spring strength with OriginSpring
    double width = 140.0;           // deg; negative is mirrored
    double widthSpeed = 0.0;        // deg/s
    double widthAccel = 0.0;        // deg/s²; spring strength with WidthSpring
    double clipStart = 0.0;         // deg
    double clipEnd = 360.0;         // deg
    std::uint32_t projections = 2;  // 1 to 6 copies around the circle
    std::array<std::uint8_t, 16> reserved100{};
    std::uint32_t reserved116 = 16;
    double yShift = 0.0;                        // rows; positive moves the picture down the arm
    double verticalSpeed = 0.0;                 // rows/s
    double flashing = 0.0;                      // Hz
    double flashingAccel = 0.0;                 // Hz/s
    std::uint16_t flashDutyThreshold = 0x8000;  // lit while the flash phase is at or below this
    std::uint16_t reserved154 = 0;
    std::uint32_t playerFlags = PlayerFlags::Defaults;
    std::int32_t heightAdjustment = 0;  // rows added to the natural height when content is built
    std::uint32_t reserved164 = 0;

    static PlayerParameters fromBytes(std::span<const std::uint8_t, kByteSize> bytes);
    Bytes toBytes() const;

    // Zeroes all 42 words, then writes the default values.
    void resetToDefaults();

    bool hasPlayerFlag(std::uint32_t flag) const { return (playerFlags & flag) != 0; }
    bool hasCommandFlag(std::uint32_t flag) const { return (commandFlags & flag) != 0; }
    bool fitsToLamps() const { return (playerFlags & PlayerFlags::Fit) == PlayerFlags::Fit; }

    // Projections as the engine uses them: a stored 0 counts as 1 and more than 6 as 6.
    std::uint32_t effectiveProjections() const;

    // 0 becomes 1, above 6 becomes 6.
    void setProjections(std::uint32_t count);
    // Sets or clears the WrapAround bit only.
    void setWrap(bool on);
    // With wrap or several projections the width field stays within ±(360 / projections − 10).
    void limitWidth();
    // Sets the y-shift from AlignTop / AlignBottom for a content of `rows` rows; returns whether
    // an alignment is set (Fit counts, but computes nothing).
    bool applyVerticalAlignment(std::uint32_t rows);
};

}  // namespace rova
