#pragma once

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

    bool shouldRetireOutsideWindow(const Span& span) const;

    const FrameClock& clock_;
    PlayerParameters parameters_;
    PlayerContent content_;
    PlayerState state_;
    DecimationMasks masks_{};
};

}  // namespace rova
