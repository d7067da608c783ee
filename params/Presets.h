#pragma once

#include <QString>

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

#include "Command.h"
#include "NodeList.h"
#include "PlayerParameters.h"

namespace rova {

class UserPrompt;

// Named sets of player parameters, kept in a sequence file of their own: each command of the
// file is one preset, its name the preset's name, its record the preset's values.
//
// The presets are sorted by name, compared without regard to case. A preset goes in before the
// first preset whose name sorts at or after its own, so among equal names the newest comes
// first. Every change is written to the file at once; failures to read or write it are shown
// through the prompt with the sequence file's messages.
class Presets {
  public:
    Presets(QString path, UserPrompt& prompt);

    // Replaces the presets with those of the file at `path`: the own file, or the shipped
    // defaults while the user has none. They are sorted in, in file order. A missing file
    // gives no presets and no message; after a failed read the presets are what could be read.
    void load(const QString& path);

    std::size_t size() const { return presets_.size(); }
    const Command* at(int index) const;
    // The first preset whose name equals `name` apart from case; -1 when there is none.
    int find(std::string_view name) const;

    // The preset last applied, which store() overwrites. It follows its preset when the list
    // changes order; -1 when there is none.
    int currentIndex() const;
    // Makes the preset at `index` the current one; an index without a preset leaves none.
    void setCurrent(int index);

    // Puts the preset in its sorted place and saves; returns its index.
    int insertSorted(std::unique_ptr<Command> preset);
    // Copies the whole record into the current preset and sorts it in again, or, without a
    // current preset, stores a new one. Returns the preset's index.
    int store(const PlayerParameters& record);
    // Stores a new preset: keyword CHNG, the record, no content and the name
    // "*** new preset ***". Returns its index.
    int storeNew(const PlayerParameters& record);
    // Gives the preset a new name and sorts it in again. An empty name is refused (-1).
    // Returns the preset's new index.
    int rename(int index, std::string name);
    // Removes and destroys the preset; afterwards no preset is current. False, with nothing
    // changed, when there is no preset at `index`.
    bool remove(int index);

  private:
    std::size_t sortedIndex(const std::string& name) const;
    void save() const;

    QString path_;
    UserPrompt& prompt_;
    NodeList<Command> presets_;
    Command* current_ = nullptr;
};

}  // namespace rova
