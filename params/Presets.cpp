#include "Presets.h"

#include <QFileInfo>
#include <optional>
#include <utility>

#include "CommandFile.h"
#include "ParameterFormText.h"

namespace rova {

namespace {

// Names are UTF-8; comparing their decoded text keeps multi-byte characters whole.
int compareNames(std::string_view a, std::string_view b) {
    return QString::fromUtf8(a.data(), static_cast<qsizetype>(a.size()))
        .compare(QString::fromUtf8(b.data(), static_cast<qsizetype>(b.size())),
                 Qt::CaseInsensitive);
}

}  // namespace

Presets::Presets(QString path, UserPrompt& prompt) : path_(std::move(path)), prompt_(prompt) {}

void Presets::load(const QString& path) {
    presets_.clear();
    current_ = nullptr;
    if (!QFileInfo::exists(path)) {
        return;
    }
    NodeList<Command> read;
    readCommands(read, 0, path, prompt_);
    while (!read.empty()) {
        NodeList<Command> first = read.detachRun(0, 1);
        presets_.insert(sortedIndex(first.at(0)->name()), std::move(first));
    }
}

const Command* Presets::at(int index) const {
    return index >= 0 ? presets_.at(static_cast<std::size_t>(index)) : nullptr;
}

int Presets::find(std::string_view name) const {
    int index = 0;
    for (const Command& preset : presets_) {
        if (compareNames(preset.name(), name) == 0) {
            return index;
        }
        ++index;
    }
    return -1;
}

int Presets::currentIndex() const {
    if (current_ == nullptr) {
        return -1;
    }
    const std::optional<std::size_t> index = presets_.indexOf(*current_);
    return index ? static_cast<int>(*index) : -1;
}

void Presets::setCurrent(int index) {
    current_ = index >= 0 ? presets_.at(static_cast<std::size_t>(index)) : nullptr;
}

int Presets::insertSorted(std::unique_ptr<Command> preset) {
    const std::size_t index = sortedIndex(preset->name());
    presets_.insert(index, std::move(preset));
    save();
    return static_cast<int>(index);
}

int Presets::store(const PlayerParameters& record) {
    if (current_ == nullptr) {
        return storeNew(record);
    }
    current_->parameters() = record;
    return insertSorted(presets_.detach(*current_));
}

int Presets::storeNew(const PlayerParameters& record) {
    auto preset = std::make_unique<Command>();
    preset->setKeyword(Keyword::Change);
    preset->parameters() = record;
    preset->setName(std::string(preset_name::kNew), false);
    return insertSorted(std::move(preset));
}

int Presets::rename(int index, std::string name) {
    const Command* preset = at(index);
    if (preset == nullptr || name.empty()) {
        return -1;
    }
    std::unique_ptr<Command> renamed = presets_.detach(*preset);
    renamed->setName(std::move(name), false);
    return insertSorted(std::move(renamed));
}

bool Presets::remove(int index) {
    const Command* preset = at(index);
    if (preset == nullptr) {
        return false;
    }
    presets_.detach(*preset);
    current_ = nullptr;
    save();
    return true;
}

std::size_t Presets::sortedIndex(const std::string& name) const {
    std::size_t index = 0;
    for (const Command& preset : presets_) {
        if (compareNames(preset.name(), name) >= 0) {
            break;
        }
        ++index;
    }
    return index;
}

void Presets::save() const {
    writeCommands(presets_, path_, prompt_);
}

}  // namespace rova
