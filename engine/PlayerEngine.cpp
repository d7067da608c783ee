#include "PlayerEngine.h"

#include <cstdint>
#include <new>

namespace rova {

PlayerEngine::PlayerEngine(Clock& clock)
    : frameClock_(clock),
      random_(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(this))) {}

PlayerEngine::~PlayerEngine() {
    stopWorker();
}

void PlayerEngine::resetLagIf(bool resetLag) {
    if (resetLag) {
        frameClock_.resetLag();
    }
}

bool PlayerEngine::addPlayer(const ParameterSet& set, bool resetLag) {
    MutexLock guard(lock_);
    return addOnTop(set, resetLag);
}

bool PlayerEngine::addOnTop(const ParameterSet& set, bool resetLag) {
    resetLagIf(resetLag);
    PlayerList created;
    try {
        created.emplace_back(frameClock_);
    } catch (const std::bad_alloc&) {
        return false;
    }
    Player& player = created.front();
    if (!player.assign(set)) {
        return false;  // `created` takes the player and its partial content with it
    }
    if (player.parameters().hasCommandFlag(CommandFlags::Solo)) {
        for (auto it = players_.begin(); it != players_.end();) {
            kill(it++);
        }
    } else if (player.parameters().hasCommandFlag(CommandFlags::ReplaceTop) && !players_.empty()) {
        kill(players_.begin());
    }
    players_.splice(players_.begin(), created);
    player.start();
    return true;
}

bool PlayerEngine::changeTopPlayer(const ParameterSet& set, bool contentToo, bool restart,
                                   bool resetLag) {
    MutexLock guard(lock_);
    if (players_.empty()) {
        return addOnTop(set, resetLag);
    }
    resetLagIf(resetLag);
    return players_.front().applyChange(set.parameters, contentToo ? &set.content : nullptr,
                                        restart);
}

void PlayerEngine::killTopPlayer(bool resetLag) {
    MutexLock guard(lock_);
    resetLagIf(resetLag);
    if (!players_.empty()) {
        kill(players_.begin());
    }
}

void PlayerEngine::killAllPlayers(bool resetLag) {
    MutexLock guard(lock_);
    resetLagIf(resetLag);
    for (auto it = players_.begin(); it != players_.end();) {
        kill(it++);
    }
}

void PlayerEngine::kill(PlayerList::iterator player) {
    switch (static_cast<DeathType>(player->parameters().deathType)) {
        case DeathType::DecimateFast:
            player->decimate(1.0, random_);
            break;
        case DeathType::DecimateSlow:
            player->decimate(2.0, random_);
            break;
        default:  // immediate, and the stored values that act as immediate
            players_.erase(player);
            break;
    }
}

std::size_t PlayerEngine::playerCount() const {
    MutexLock guard(lock_);
    return players_.size();
}

void PlayerEngine::setFramesPerSecond(double framesPerSecond) {
    MutexLock guard(lock_);
    frameClock_.setFramesPerSecond(framesPerSecond);
}

void PlayerEngine::seedRandom(std::uint32_t seed) {
    MutexLock guard(lock_);
    random_.seed(seed);
}

std::int32_t PlayerEngine::tick() {
    // Not under the lock: compose takes it, and a subclass may draw after composing under a lock
    // of its own that is always taken before this one.
    return frameClock_.tick([this] { composeFrame(); });
}

void PlayerEngine::composeFrame() {
    MutexLock guard(lock_);
    frame_.clear();
    for (auto it = players_.begin(); it != players_.end();) {
        const auto player = it++;  // the player may be removed below
        player->draw(frame_);
        player->step();
        switch (player->countDown()) {
            case Countdown::Alive:
                break;
            case Countdown::Expired:
                kill(player);
                break;
            case Countdown::Finished:
                players_.erase(player);
                break;
        }
    }
}

LampFrame PlayerEngine::frame() const {
    MutexLock guard(lock_);
    return frame_;
}

void PlayerEngine::runFrameLoop() {
    frameClock_.begin();
    frameClock_.clearStopped();
    while (!frameClock_.stopRequested()) {
        frameClock_.readNow();
        const std::int32_t wait = tick();
        if (wait > 0) {
            frameClock_.clock().sleepFor(static_cast<std::uint32_t>(wait));
        }
    }
    frameClock_.markStopped();
}

void PlayerEngine::startWorker() {
    if (worker_.joinable()) {
        return;
    }
    frameClock_.prepareWorker();
    worker_ = std::thread([this] { runFrameLoop(); });
}

void PlayerEngine::stopWorker() {
    if (!worker_.joinable()) {
        return;
    }
    frameClock_.requestStop();
    frameClock_.clock().wake();
    worker_.join();
}

}  // namespace rova
