#include "ParameterFormController.h"

#include <QTextDocument>

#include <algorithm>
#include <climits>
#include <cmath>
#include <new>
#include <optional>
#include <utility>

#include "CharacterFormat.h"
#include "Command.h"
#include "CommandContent.h"
#include "ContentBuilder.h"
#include "Numeric.h"
#include "ParameterFormText.h"
#include "Players.h"
#include "Presets.h"
#include "RichTextDocument.h"
#include "UserPrompt.h"

namespace rova {

namespace {

// Every value pair of the form shows one decimal.
constexpr int kDecimals = 1;

// The field a value pair edits, whether its text shows a plus sign, and whether it shows the
// field negated. The height adjustment is an integer field and has no member here.
struct PairField {
    double PlayerParameters::*field;
    bool plusSign;
    bool negated;
};

// In the order of FormValue.
constexpr std::array<PairField, kFormValueCount> kPairFields{{
    {&PlayerParameters::origin, false, false},
    {&PlayerParameters::originSpeed, true, false},
    {&PlayerParameters::originAccel, true, false},
    {&PlayerParameters::width, false, false},
    {&PlayerParameters::widthSpeed, true, false},
    {&PlayerParameters::widthAccel, true, false},
    {&PlayerParameters::clipStart, false, false},
    {&PlayerParameters::clipEnd, false, false},
    {nullptr, true, false},  // Height
    {&PlayerParameters::yShift, true, true},
    {&PlayerParameters::verticalSpeed, true, true},
    {&PlayerParameters::flashing, false, false},
    {&PlayerParameters::flashingAccel, true, false},
}};

constexpr std::array kAllPairs{
    FormValue::Origin,        FormValue::OriginSpeed, FormValue::OriginAccel,   FormValue::Width,
    FormValue::WidthSpeed,    FormValue::WidthAccel,  FormValue::ClipStart,     FormValue::ClipEnd,
    FormValue::Height,        FormValue::YShift,      FormValue::VerticalSpeed, FormValue::Flashing,
    FormValue::FlashingAccel,
};
static_assert(kAllPairs.size() == kFormValueCount);
constexpr std::array kWidthPair{FormValue::Width};
constexpr std::array kVerticalPairs{FormValue::Height, FormValue::YShift, FormValue::VerticalSpeed};

const PairField& fieldOf(FormValue pair) {
    return kPairFields[static_cast<std::size_t>(pair)];
}

template <std::size_t... I>
std::array<ValueText, kFormValueCount> makePairTexts(std::index_sequence<I...>) {
    return {ValueText(kDecimals, kPairFields[I].plusSign)...};
}

// The first 24 bytes of a record: the command's own timing and flags, which presets never
// change and a CHNG command leaves to the player it changes.
struct CommandFields {
    double nextCommandAfter;
    double deathAfter;
    std::uint32_t deathType;
    std::uint32_t commandFlags;

    static CommandFields of(const PlayerParameters& record) {
        return {record.nextCommandAfter, record.deathAfter, record.deathType, record.commandFlags};
    }
    void putInto(PlayerParameters& record) const {
        record.nextCommandAfter = nextCommandAfter;
        record.deathAfter = deathAfter;
        record.deathType = deathType;
        record.commandFlags = commandFlags;
    }
};

// A command adds a solo player exactly when its keyword is SOLO.
void setSoloFromKeyword(PlayerParameters& record, CommandKeyword keyword) {
    if (keyword == Keyword::Solo) {
        record.commandFlags |= CommandFlags::Solo;
    } else {
        record.commandFlags &= ~CommandFlags::Solo;
    }
}

bool isBlank(QChar ch) {
    return ch == u'\t' || ch == u'\n' || ch == u'\r' || ch == u' ';
}

}  // namespace

class ParameterFormController::Updating {
  public:
    explicit Updating(int& depth) : depth_(depth) { ++depth_; }
    ~Updating() { --depth_; }
    Updating(const Updating&) = delete;
    Updating& operator=(const Updating&) = delete;

  private:
    int& depth_;
};

QString normalisedPlainText(QStringView text) {
    const auto first = std::find_if_not(text.begin(), text.end(), isBlank);
    const auto last = std::find_if_not(text.rbegin(), text.rend(), isBlank).base();
    QString normalised;
    if (first < last) {
        normalised.reserve(last - first);
        for (auto it = first; it != last; ++it) {
            normalised += isBlank(*it) ? QChar(u' ') : *it;
        }
    }
    return normalised;
}

ParameterFormController::ParameterFormController(Players& players, RichTextDocument& richText,
                                                 PictureEditorModel& pictureEditor,
                                                 Presets& presets, UserPrompt& prompt,
                                                 ParameterFormHost& host)
    : players_(players),
      richText_(richText),
      pictureEditor_(pictureEditor),
      presets_(presets),
      prompt_(prompt),
      host_(host),
      pairs_(makePairTexts(std::make_index_sequence<kFormValueCount>())) {}

void ParameterFormController::initialise(bool openingFromList) {
    constexpr int kTwelvePoints = 240;
    constexpr std::uint32_t kRed = 0x0000FF;
    constexpr std::uint32_t kBlack = 0x000000;
    {
        // Setting up the text's appearance is no edit of the content.
        Updating updating(updating_);
        richText_.setDefaultFormat(
            {CharacterFormat::kAll, CharacterFormat::kBold, kTwelvePoints, kRed, "Arial"});
        richText_.setBackgroundColour(kBlack);
    }
    if (!openingFromList) {
        showPlainText(ParameterFormText::startText(), preset_name::kStatic);
    }
}

// ---- commands ----

bool ParameterFormController::execute(Command& command, bool resetLag) {
    PlayerParameters& record = working_.parameters;
    record.nextCommandAfter = command.parameters().nextCommandAfter;
    const CommandFields before = CommandFields::of(record);
    record = command.parameters();
    working_.keep = KeepFlags::Width | KeepFlags::Height;
    setSoloFromKeyword(record, command.keyword());
    if (!loadContent(command)) {
        return false;
    }

    const std::optional<Keyword> keyword = command.keyword().known();
    if (keyword == Keyword::Kill) {
        players_.killTopPlayer(resetLag);
        return true;
    }
    if (keyword == Keyword::KillAll) {
        players_.killAllPlayers(resetLag);
        return true;
    }
    if (!command.keyword().keepsContent()) {
        return true;
    }

    const bool cached = takeCachedContent(command);
    bool done = false;
    if (keyword == Keyword::Change) {
        // The top player keeps its death settings; only the time to the next command is new.
        before.putInto(record);
        done = apply(cached, false, resetLag);
    } else {
        done = makeNewPlayer(resetLag);
    }
    if (done && !cached) {
        cacheBuiltContent(command);
    }
    return done;
}

void ParameterFormController::killAllPlayers() {
    players_.killAllPlayers(true);
}

void ParameterFormController::resetParameters() {
    resetWithPreset(preset_name::kStatic);
}

void ParameterFormController::applyRecord(const PlayerParameters& record) {
    CommandFields::of(record).putInto(working_.parameters);
    // A kill or a mark leaves the form without content: nothing is given to the players then,
    // so that the kill stands.
    if (autoUpdate_ && holdsContent()) {
        applyToTopPlayer(false, false);
    }
}

bool ParameterFormController::storeInto(Command& command, bool withContent) {
    command.parameters() = working_.parameters;
    if (!withContent) {
        return true;
    }
    bool stored = true;
    if (contentKind_ == content_kind::Rich) {
        stored = takeText(command, richText_);
    } else if (contentKind_ == content_kind::Picture) {
        stored = pictureEditor_.takeContent(command);
    } else {
        command.assignContent(content_kind::None, {});
    }
    if (!contentBuilt_ || !command.packedContent().copyFrom(working_.content)) {
        command.packedContent().release();
    }
    return stored;
}

std::unique_ptr<Command> ParameterFormController::commandFromParameters() {
    auto command = std::unique_ptr<Command>(new (std::nothrow) Command);
    if (!command || !storeInto(*command, true)) {
        return nullptr;
    }
    return command;
}

// Shows the command's values and puts its content into the rich text or the picture editor, by
// its kind. False when that content cannot be loaded.
bool ParameterFormController::loadContent(const Command& command) {
    contentBuilt_ = false;
    Updating updating(updating_);
    showValues();
    host_.selectPresetRow(-1);
    contentKind_ = command.contentKind();
    bool loaded = true;
    if (contentKind_ == content_kind::Rich) {
        loaded = putText(command, richText_);
        richText_.setSelection(0, -1);
    } else if (contentKind_ == content_kind::Picture) {
        loaded = pictureEditor_.restore(command);
    }
    host_.showParameters();
    return loaded;
}

// A command run before carries the content packed then; the working set takes it with the
// command's record, so nothing needs building. False when the command has none.
bool ParameterFormController::takeCachedContent(const Command& command) {
    if (command.packedContent().empty()) {
        return false;
    }
    working_.parameters = command.parameters();
    setSoloFromKeyword(working_.parameters, command.keyword());
    contentBuilt_ = working_.content.copyFrom(command.packedContent());
    return contentBuilt_;
}

// The command takes the working record (with the width and y-shift the build set) and the
// packed content, so later runs need not build it again. A CHNG command keeps its own timing
// and flags: the working record holds those of the player it changed.
void ParameterFormController::cacheBuiltContent(Command& command) const {
    const CommandFields own = CommandFields::of(command.parameters());
    command.parameters() = working_.parameters;
    if (command.keyword() == Keyword::Change) {
        own.putInto(command.parameters());
    }
    // Only a cache: when its memory cannot be had, the next run builds the content again.
    static_cast<void>(command.packedContent().copyFrom(working_.content));
}

// ---- players ----

bool ParameterFormController::resetsLag() const {
    return !host_.isSequenceRunning();
}

bool ParameterFormController::applyToTopPlayer(bool contentChanged, bool reset) {
    return apply(contentChanged, reset, resetsLag());
}

bool ParameterFormController::apply(bool contentChanged, bool reset, bool resetLag) {
    if (buildContentIfNeeded()) {
        contentChanged = true;
    }
    if (players_.changeTopPlayer(working_, contentChanged, reset, resetLag)) {
        return true;
    }
    prompt_.showWarning(ParameterFormText::updatePlayerFailed());
    return false;
}

bool ParameterFormController::makeNewPlayer(bool resetLag) {
    {
        Updating updating(updating_);
        buildContentIfNeeded();
    }
    if (players_.addPlayer(working_, resetLag)) {
        return true;
    }
    prompt_.showWarning(ParameterFormText::createPlayerFailed());
    return false;
}

bool ParameterFormController::buildContentIfNeeded() {
    if (contentBuilt_) {
        return false;
    }
    if (contentKind_ == content_kind::Rich) {
        contentBuilt_ = buildTextContent(working_, richText_.document(), richText_.defaultFormat());
    } else if (contentKind_ == content_kind::Picture) {
        contentBuilt_ =
            buildPictureContent(working_, pictureEditor_.workingPicture(), pictureEditor_.rows());
    } else {
        working_.content.release();
        contentBuilt_ = true;
        return true;
    }
    if (contentBuilt_) {
        if (applyAutoWidth(working_, players_.degreesPerLampColumn())) {
            showPairs(kWidthPair);
        }
        if (working_.parameters.applyVerticalAlignment(working_.content.rowCount())) {
            showPairs(kVerticalPairs);
        }
    }
    return true;
}

// ---- presets and texts ----

void ParameterFormController::resetWithPreset(std::string_view name) {
    working_.parameters.resetToDefaults();
    working_.content.release();
    const int index = presets_.find(name);
    if (index >= 0) {
        applyPreset(index);
    } else {
        showValues();
        contentBuilt_ = false;
        working_.keep = 0;
    }
    host_.selectPresetRow(index);
    host_.refreshTimingControls();
    applyToTopPlayer(true, true);
}

void ParameterFormController::applyPreset(int index) {
    presets_.setCurrent(index);
    const Command* preset = presets_.at(index);
    if (preset == nullptr) {
        return;
    }
    const CommandFields own = CommandFields::of(working_.parameters);
    working_.parameters = preset->parameters();
    own.putInto(working_.parameters);
    showValues();
    // Rebuilt with the preset's Fit, Height, Flip and Auto settings as they stand: keep bits
    // left over from a command whose content was never built must not skip the Fit search or
    // Auto width.
    contentBuilt_ = false;
    working_.keep = 0;
    if (autoUpdate_) {
        applyToTopPlayer(true, true);
    }
}

void ParameterFormController::showPlainText(const QString& text, std::string_view presetName) {
    {
        Updating updating(updating_);
        // Text put in as plain text has no format of its own: it takes the default format.
        richText_.dropCachedFormatting();
        richText_.document().setPlainText(normalisedPlainText(text));
        textReplaced();
    }
    resetWithPreset(presetName);
}

void ParameterFormController::showRichText(std::span<const std::uint8_t> rtf,
                                           std::string_view presetName) {
    {
        Updating updating(updating_);
        // The stream goes in as a text content with an empty plain part.
        Command holder;
        if (!holder.takeRawContent(content_kind::Rich, rtf) || !putText(holder, richText_)) {
            richText_.clear();
        }
        textReplaced();
    }
    resetWithPreset(presetName);
}

// The rich text is a new one: it is the content now, all of it selected and nothing to undo.
void ParameterFormController::textReplaced() {
    contentKind_ = content_kind::Rich;
    contentBuilt_ = false;
    richText_.setSelection(0, -1);
    richText_.emptyUndoBuffer();
    host_.showParameters();
}

int ParameterFormController::scrollDuration() {
    buildContentIfNeeded();
    const PlayerParameters& record = working_.parameters;
    const double seconds = std::floor((record.origin + record.width) / -record.originSpeed + 2.0);
    if (!std::isfinite(seconds) || seconds <= 0.0) {
        return 0;
    }
    return static_cast<int>(std::min(seconds, double{INT_MAX}));
}

// ---- editing ----

void ParameterFormController::editValue(FormValue pair, std::string_view text) {
    const std::optional<double> value = pairs_[static_cast<std::size_t>(pair)].edited(text);
    if (value) {
        takeValue(pair, *value);
        changed();
    }
}

void ParameterFormController::changed() {
    if (updating_ > 0) {
        return;
    }
    host_.selectPresetRow(-1);
    propagate();
}

// Unless the form is filling its own controls: the top player takes the working set (with Auto
// Update on) and the selected command stores it.
void ParameterFormController::propagate() {
    if (updating_ > 0) {
        return;
    }
    if (autoUpdate_) {
        applyToTopPlayer(false, false);
    }
    host_.storeIntoSelectedCommand();
}

void ParameterFormController::setAutoUpdate(bool on) {
    const bool turnedOn = on && !autoUpdate_;
    autoUpdate_ = on;
    if (turnedOn) {
        applyToTopPlayer(true, true);
    }
}

// ---- check boxes and content kind ----

void ParameterFormController::readCheckBoxes(const FormChecks& checks) {
    takeChecks(checks);
    changed();
}

void ParameterFormController::readCheckBoxesAndAutoWidth(const FormChecks& checks) {
    readCheckBoxes(checks);
    autoWidth();
}

void ParameterFormController::resetProjections(FormChecks checks) {
    working_.parameters.setProjections(1);
    host_.showParameters();
    checks.projectionIndex = 0;
    readCheckBoxesAndAutoWidth(checks);
}

void ParameterFormController::setAutoWidth(bool on, const FormChecks& checks) {
    setPlayerFlag(PlayerFlags::AutoWidth, on);
    readCheckBoxesAndAutoWidth(checks);
}

void ParameterFormController::setMirrorAtZero(bool on) {
    setPlayerFlag(PlayerFlags::BounceAtZero, false);
    setPlayerFlag(PlayerFlags::MirrorAtZero, on);
    host_.showParameters();
    changed();
}

void ParameterFormController::setBounceAtZero(bool on) {
    setPlayerFlag(PlayerFlags::MirrorAtZero, false);
    setPlayerFlag(PlayerFlags::BounceAtZero, on);
    host_.showParameters();
    changed();
}

void ParameterFormController::setAlignTop(bool on) {
    alignToEdge(on ? PlayerFlags::AlignTop : 0);
}

void ParameterFormController::setAlignBottom(bool on) {
    alignToEdge(on ? PlayerFlags::AlignBottom : 0);
}

// The alignment bits, and the y-shift that puts the content against that edge.
void ParameterFormController::alignToEdge(std::uint32_t bits) {
    setAlignment(bits);
    working_.parameters.yShift = 0.0;
    working_.parameters.applyVerticalAlignment(working_.content.rowCount());
    showPairs(kVerticalPairs);
    changed();
}

void ParameterFormController::setFit(bool on) {
    setAlignment(on ? PlayerFlags::Fit : 0);
    working_.keep &= ~KeepFlags::Height;
    if (!on) {
        // The players keep the fitted content until the next change.
        host_.showParameters();
        return;
    }
    working_.parameters.yShift = 0.0;
    contentBuilt_ = false;
    showPairs(kVerticalPairs);
    changed();
}

void ParameterFormController::setFlip(bool on) {
    setPlayerFlag(PlayerFlags::Flip, on);
    contentBuilt_ = false;
    changed();
}

void ParameterFormController::setContentKind(FourCC kind) {
    contentKind_ = kind;
    if (kind == content_kind::Picture) {
        // A fresh picture is part of the switch, not an edit of its own.
        Updating updating(updating_);
        pictureEditor_.ensurePicture();
    }
    host_.showParameters();
    contentBuilt_ = false;
    propagate();
}

void ParameterFormController::contentChanged() {
    contentBuilt_ = false;
    propagate();
}

void ParameterFormController::takeChecks(const FormChecks& checks) {
    PlayerParameters& record = working_.parameters;
    record.originAnchor = checks.anchorLeft ? 0u : checks.anchorMiddle ? 1u : 2u;
    setPlayerFlag(PlayerFlags::OriginSpring, checks.originSpring);
    setPlayerFlag(PlayerFlags::WidthSpring, checks.widthSpring);
    setPlayerFlag(PlayerFlags::OriginSync, checks.originSync);
    setPlayerFlag(PlayerFlags::BounceAtStart, checks.bounceAtStart);
    setPlayerFlag(PlayerFlags::BounceAtEnd, checks.bounceAtEnd);
    record.setWrap(checks.wrapAround);
    record.setProjections(static_cast<std::uint32_t>(std::max(checks.projectionIndex + 1, 0)));
    setPlayerFlag(PlayerFlags::VerticalBounce | PlayerFlags::VerticalBounceCopy,
                  checks.verticalBounce);
}

// Makes the width fit the packed content's columns when AutoWidth is on; a width that this
// changes is shown and propagated as any other change.
void ParameterFormController::autoWidth() {
    const double before = working_.parameters.width;
    if (applyAutoWidth(working_, players_.degreesPerLampColumn())) {
        showPairs(kWidthPair);
        if (working_.parameters.width != before) {
            changed();
        }
    }
}

void ParameterFormController::setPlayerFlag(std::uint32_t flag, bool on) {
    if (on) {
        working_.parameters.playerFlags |= flag;
    } else {
        working_.parameters.playerFlags &= ~flag;
    }
}

// The alignment bits become `bits` (AlignTop, AlignBottom, both for Fit, or none).
void ParameterFormController::setAlignment(std::uint32_t bits) {
    working_.parameters.playerFlags = (working_.parameters.playerFlags & ~PlayerFlags::Fit) | bits;
}

// ---- value pairs ----

void ParameterFormController::showValues() {
    showPairs(kAllPairs);
}

// Writes each pair's text; what the text reads back as goes into the record.
void ParameterFormController::showPairs(std::span<const FormValue> pairs) {
    Updating updating(updating_);
    for (const FormValue pair : pairs) {
        const std::optional<double> value =
            pairs_[static_cast<std::size_t>(pair)].show(fieldValue(pair));
        if (value) {
            takeValue(pair, *value);
        }
    }
    host_.showParameters();
}

double ParameterFormController::fieldValue(FormValue pair) const {
    const PlayerParameters& record = working_.parameters;
    if (pair == FormValue::Height) {
        return record.heightAdjustment;
    }
    const PairField& field = fieldOf(pair);
    const double value = record.*field.field;
    return field.negated ? -value : value;
}

void ParameterFormController::takeValue(FormValue pair, double value) {
    PlayerParameters& record = working_.parameters;
    if (pair == FormValue::Height) {
        record.heightAdjustment = static_cast<std::int32_t>(
            std::clamp<std::int64_t>(truncToInt(value), INT32_MIN, INT32_MAX));
        // A height the user typed forces a rebuild at exactly that height, without the Fit
        // search. Showing the stored whole number again changes nothing, so it rebuilds nothing.
        if (updating_ == 0) {
            working_.keep |= KeepFlags::Height;
            contentBuilt_ = false;
        }
        return;
    }
    const PairField& field = fieldOf(pair);
    record.*field.field = field.negated ? -value : value;
}

}  // namespace rova
