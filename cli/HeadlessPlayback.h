#pragma once

#include <QString>
#include <QTemporaryDir>
#include <cstdint>

#include "Clock.h"
#include "Command.h"
#include "MemorySettingsStore.h"
#include "NodeList.h"
#include "PreviewSimulator.h"
#include "SequencePlayer.h"

namespace rova {

class UserPrompt;

// Plays a file in virtual time as the application plays a file named on its command line with
// Auto Run on: a sequence player executes the commands on a simulated rotor with the default
// simulation settings, and the runner starts at the first command at time 0.
//
// Time moves only through advanceTo(), which lets the runner execute every command due by then
// before the engine composes (and draws) what is due, so the same file, rate and seed always
// give the same frames.
class HeadlessPlayback final : private SequencePlayer::Observer {
  public:
    HeadlessPlayback(double framesPerSecond, std::uint32_t seed, UserPrompt& prompt);

    // Reads a sequence (".rova") or a text file (".txt", ".rtf") as a one-command sequence.
    // False when the file cannot be read; the reason has gone to the prompt.
    bool open(const QString& path);
    // Starts running from the first command at virtual time 0.
    void start();
    // Moves the virtual time to `ms`, lets the runner execute every command due by then, then
    // lets the engine compose the frame or draw the sweep that is due. Returns the milliseconds
    // until the engine has something to do again.
    std::int32_t advanceTo(std::uint32_t ms);

    // The commands opened.
    const NodeList<Command>& commands() const { return commands_; }
    PreviewSimulator& engine() { return engine_; }
    // The parameter form's text, as the last text file opened left it.
    const RichTextDocument& richText() { return player_.form().richText(); }
    // The frame period in milliseconds: 1000 / rate, rounded to the nearest.
    std::uint32_t framePeriod() { return engine_.frameClock().period(); }

  private:
    void currentChanged() override {}
    void sequenceEnded() override {}

    // The shipped default presets, in a folder of their own that vanishes with the playback, so
    // the tool never sees or changes the user's own presets.
    class ShippedPresets {
      public:
        explicit ShippedPresets(UserPrompt& prompt);
        QString path() const;

      private:
        QTemporaryDir folder_;
    };

    UserPrompt& prompt_;
    ShippedPresets presets_;
    VirtualClock clock_;
    MemorySettingsStore settings_;
    PreviewSimulator engine_;
    NodeList<Command> commands_;
    SequencePlayer player_;
};

}  // namespace rova
