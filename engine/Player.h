#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "Decimation.h"
#include "FrameClock.h"
#include "LampFrame.h"
#include "PlayerContent.h"
#include "PlayerParameters.h"

namespace rova {

// Bits of a player's run-time state word.
struct PlayerStateBits {
    static constexpr std::uint32_t CountingDown = 0x1;
    static constexpr std::uint32_t Decimating = 0x2;
    static constexpr std::uint32_t Retiring = 0x4;
};

// A player's motion as it stands in the current frame. Speeds and accelerations are per frame.
struct PlayerState {
    double origin = 0.0;  // deg
    double originSpeed = 0.0;
    double originAccel = 0.0;
    double width = 0.0;  // deg; negative is mirrored
    double widthSpeed = 0.0;
    double widthAccel = 0.0;
    double clipStart = 0.0;
    double clipEnd = 0.0;
    bool clipActive = false;
    double verticalOffset = 0.0;  // rows
    double verticalSpeed = 0.0;
    std::uint16_t flashPhase = 0;  // 1/65536 cycle
    double flashRate = 0.0;        // cycles/frame
    double flashRateChange = 0.0;
    double deathCountdown = 0.0;  // frames
    std::uint32_t bits = 0;       // PlayerStateBits
    std::uint32_t decimationSteps = 0;
};

// The degrees a player covers on the circle.
struct Span {
    double start;
    double end;
};

// What the end of a frame means for a player's life.
enum class Countdown {
    Alive,     // nothing happens
    Expired,   // its own time is up: kill it with its death type
    Finished,  // decimation or retiring has ended: remove it now
};

// One animated layer on the rotor: its own parameters and content, and the motion derived from
// them, advanced once per frame and drawn into a LampFrame. Every call happens under the
// engine's lock.
class Player {
  public:
    explicit Player(const FrameClock& clock) : clock_(clock) {}

    const PlayerParameters& parameters() const { return parameters_; }
    const PlayerContent& content() const { return content_; }
    const PlayerState& state() const { return state_; }
    PlayerState& state() { return state_; }

    // Takes a copy of the set's record and content; false when the content cannot be copied.
    bool assign(const ParameterSet& set);

    // Starts (or restarts) the motion from the parameters.
    void start();
    // Applies a new record (and content, when given) to the running player, re-deriving only
    // what changed. Returns false when the content could not be copied; the player then runs
    // the new record with no content.
    bool applyChange(const PlayerParameters& parameters, const PlayerContent* content,
                     bool restart);
    // Advances one frame; runs right after draw().
    void step();
    // ORs this frame's picture into `frame`. May start the player's retiring when it can never
    // be seen again.
    void draw(LampFrame& frame);
    // Counts the frame against the player's death countdown and decimation.
    Countdown countDown();

    // Without a death time of its own, the player goes away quietly ten seconds from now.
    void retire();
    // Starts switching the lamps off at random over `seconds`; nothing when already decimating.
    void decimate(double seconds, DecimationRandom& random);

    Span span() const;

  private:
    double framesPerSecond() const { return clock_.framesPerSecond(); }
    bool has(std::uint32_t flag) const { return parameters_.hasPlayerFlag(flag); }

    void placeStartAt(double position);
    void normalise();
    void resetClip();
    double spring(double target, double value, double speed, double strength) const;

    void deriveOriginSpeed();
    void deriveOriginAccel();
    void deriveWidthSpeed();
    void deriveWidthAccel();
    void deriveVerticalSpeed();
    void deriveFlashRate();
    void deriveFlashRateChange();

    void applyOriginChange(const PlayerParameters& old);
    void applyWidthChange(const PlayerParameters& old);
    void applyClipChange(const PlayerParameters& old);
    void applyVerticalChange(const PlayerParameters& old);
    void applyFlashChange(const PlayerParameters& old);

    void bounceOffClipWindow();
    void moveVertically();
    void advanceFlash();

    // The lamp mask of each column mod 16.
    using ColumnMasks = DecimationMasks::value_type;

    // One frame's picture, sampled onto degree columns and shifted onto the lamps: `count`
    // columns from degree column `first` (never negative) on. Projections differ only in place
    // and decimation masks, so the picture is sampled once for all of them.
    struct Samples {
        std::int64_t first;
        int count;
        std::array<LampFrame::Column, LampFrame::kColumns> columns;
    };

    // Drawing steps, in the order draw() takes them. The retire checks run when nothing can be
    // seen this frame and tell whether the player can never be seen again.

    // A negative width that is not mirrored: it neither grows nor bounces back through zero.
    bool shouldRetireAtNegativeWidth() const;
    // How far the content's words shift down onto the 16 lamps: the rows centred on the lamps,
    // moved by the vertical offset.
    std::int64_t lampShift() const;
    // Whether any row of the content lands on a lamp after `shift`.
    bool reachesLamps(std::int64_t shift) const;
    // Wholly above or below the lamps: it neither moves back towards them nor bounces.
    bool shouldRetireOffLamps(std::int64_t shift) const;
    // The part of `covered` inside the clip window while the window is active; start beyond end
    // when none of it is.
    Span clipToWindow(const Span& covered) const;
    // Wholly outside the clip window: neither its width nor its motion brings it back inside.
    bool shouldRetireOutsideWindow(const Span& covered) const;
    // Content columns per degree column, negative when mirrored.
    double samplingStep() const;
    // The content position sampled for the first visible degree column, `clipped` degrees into
    // the covered span; mirrored sampling counts from the far end.
    double firstSamplePosition(double clipped, double step) const;
    // Samples the content across the visible span, one sample per degree column.
    Samples sampleContent(const Span& covered, const Span& visible, std::int64_t shift) const;
    // The decimation masks of the current step while decimating, otherwise every lamp.
    ColumnMasks lampMasks() const;
    // ORs the samples into `frame` once per projection, spaced evenly round the circle.
    void drawProjections(const Samples& samples, LampFrame& frame) const;
    // ORs the samples into `frame` from degree column `column` on, through `masks`.
    static void drawProjection(const Samples& samples, std::size_t column, const ColumnMasks& masks,
                               LampFrame& frame);

    const FrameClock& clock_;
    PlayerParameters parameters_;
    PlayerContent content_;
    PlayerState state_;
    DecimationMasks masks_{};
};

}  // namespace rova
