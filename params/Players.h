#pragma once

#include "PlayerContent.h"
#include "PlayerEngine.h"

namespace rova {

// The players on the rotor as the parameter form drives them: the four operations a command
// can perform and the angle Auto width needs. The application's players are those of the
// player engine (EnginePlayers); tests may put in players that fail.
class Players {
  public:
    virtual ~Players() = default;

    // False when the player or its content cannot be allocated.
    virtual bool addPlayer(const ParameterSet& set, bool resetLag) = 0;
    // Adds a player when there is none. False when the new content cannot be copied.
    virtual bool changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart,
                                 bool resetLag) = 0;
    virtual void killTopPlayer(bool resetLag) = 0;
    virtual void killAllPlayers(bool resetLag) = 0;
    virtual double degreesPerLampColumn() const = 0;
};

class EnginePlayers final : public Players {
  public:
    explicit EnginePlayers(PlayerEngine& engine) : engine_(engine) {}

    bool addPlayer(const ParameterSet& set, bool resetLag) override {
        return engine_.addPlayer(set, resetLag);
    }
    bool changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart,
                         bool resetLag) override {
        return engine_.changeTopPlayer(set, contentToo, restart, resetLag);
    }
    void killTopPlayer(bool resetLag) override { engine_.killTopPlayer(resetLag); }
    void killAllPlayers(bool resetLag) override { engine_.killAllPlayers(resetLag); }
    double degreesPerLampColumn() const override { return engine_.degreesPerLampColumn(); }

  private:
    PlayerEngine& engine_;
};

}  // namespace rova
