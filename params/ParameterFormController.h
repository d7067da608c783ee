#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <span>
#include <string_view>

#include "FourCC.h"
#include "ParameterFormAccess.h"
#include "PictureEditorModel.h"
#include "PlayerContent.h"
#include "ValueText.h"

namespace rova {

class Players;
class Presets;
class RichTextDocument;
class UserPrompt;

// The value pairs of the parameter form, each editing one field of the record.
enum class FormValue {
    Origin,
    OriginSpeed,
    OriginAccel,
    Width,
    WidthSpeed,
    WidthAccel,
    ClipStart,
    ClipEnd,
    Height,         // the height adjustment, stored truncated to a whole number
    YShift,         // shown negated, so that up on the slider moves the picture up
    VerticalSpeed,  // shown negated too
    Flashing,
    FlashingAccel,
};
inline constexpr std::size_t kFormValueCount = 13;

// What the parameter form's controller needs from the forms around it. The parameter form and
// the sequence form implement it; headless players and tests put in their own.
class ParameterFormHost {
  public:
    virtual ~ParameterFormHost() = default;

    // The controls show the working record, its value texts and the content kind again.
    virtual void showParameters() = 0;
    // The preset list selects `row`, or no row for -1. Such a selection applies nothing.
    virtual void selectPresetRow(int row) = 0;
    // The sequence form copies the working set into its selected command.
    virtual void storeIntoSelectedCommand() = 0;
    // The sequence form shows the timing fields of the working record again.
    virtual void refreshTimingControls() = 0;
    // While a sequence runs, the frame clock keeps its lag; a change given by hand resets it.
    virtual bool isSequenceRunning() const = 0;
};

// What the form's check boxes, origin anchor buttons and "Projections:" combo box show, as
// "read check boxes" takes them into the record.
struct FormChecks {
    bool anchorLeft = false;    // "L"
    bool anchorMiddle = false;  // "M"; with neither checked the anchor is the right edge
    bool originSpring = false;
    bool widthSpring = false;
    bool originSync = false;
    bool bounceAtStart = false;
    bool bounceAtEnd = false;
    bool wrapAround = false;
    int projectionIndex = 0;  // the combo's selected index: projections - 1
    bool verticalBounce = false;
};

// A host with no controls to show: stands in for the forms wherever commands run without them.
class FormWithoutControls : public ParameterFormHost {
  public:
    void showParameters() override {}
    void selectPresetRow(int) override {}
    void storeIntoSelectedCommand() override {}
    void refreshTimingControls() override {}
};

// The parameter form without its controls: the working parameter set, the content it is built
// from, and the operations by which commands, presets and texts reach the players.
//
// The working set holds the record being edited, its packed content and the keep bits. Its
// content is a rich text (kind "RICH", held by the rich-text document), a picture ("PICT", held
// by the picture editor) or nothing ("NONE"); the packed content is built from it when needed.
//
// Every value of the record goes in and out through its value pair's text (see ValueText),
// also when the controller shows values itself, so the record carries the shown precision
// whether or not a form is on screen.
class ParameterFormController final : public ParameterFormAccess {
  public:
    ParameterFormController(Players& players, RichTextDocument& richText,
                            PictureEditorModel& pictureEditor, Presets& presets, UserPrompt& prompt,
                            ParameterFormHost& host);

    // One-time set-up, after the presets have been loaded: the rich text's default format
    // (Arial, bold, 12 points, red on black), then, unless the application is opening a
    // document for the playlist, the start text with the preset "Static".
    void initialise(bool openingFromList);

    // Takes the command's time to the next command, loads the command into the working set
    // and the editors, and performs its keyword: SOLO and NEW add a player, CHNG changes the
    // top player and keeps the death settings and flags the working record held before, KILL
    // and KILA kill at once, MARK and RPET do nothing.
    // The first time a command shows something, its record as shown and its freshly packed
    // content are copied into it; later runs use that content without building it again.
    bool execute(Command& command, bool resetLag) override;
    void killAllPlayers() override;
    // Resets with the preset "Static".
    void resetParameters() override;

    // Builds the content if needed (which counts as a content change) and gives the working
    // set to the top player, or to a new one when there is none; `reset` restarts its motion.
    // A failure is shown to the user and reported.
    bool applyToTopPlayer(bool contentChanged, bool reset);
    // Packs the text or picture into the working set's content unless that has been done
    // since it last changed; then sets the width (Auto width) and the y-shift (vertical
    // alignment) from it. Returns whether it built.
    bool buildContentIfNeeded();
    // The default record with the named preset applied (compared without regard to case; the
    // defaults alone when there is none), given to the top player with a restart.
    void resetWithPreset(std::string_view name);
    // Makes the preset at `index` current and, when there is one, puts its record except the
    // command's own timing and flags into the working record; with Auto Update on, the top
    // player takes it at once.
    void applyPreset(int index);
    // The text, with its blanks tidied (normalisedPlainText), becomes the text content, and
    // the named preset is reset to.
    void showPlainText(const QString& text, std::string_view presetName);
    // An RTF stream becomes the text content, and the named preset is reset to. A stream that
    // cannot be read leaves the text empty.
    void showRichText(std::span<const std::uint8_t> rtf, std::string_view presetName);
    // Whole seconds the built content takes to scroll past from where it starts, plus two:
    // floor((origin + width) / -(origin speed) + 2). 0 when the content does not move to the
    // left, so there is no such time.
    int scrollDuration();

    // The user changed the text of a value pair; a new number goes into the record.
    void editValue(FormValue pair, std::string_view text);
    // After any change made in the form: unless the form is filling its own controls, the
    // preset list loses its selection, the top player takes the change (with Auto Update on)
    // and the selected command stores it.
    void changed();
    // Turning Auto Update on gives the top player the working set at once, with a restart.
    void setAutoUpdate(bool on);

    // ---- the check boxes, radio buttons and the combo box ----
    // The anchor, spring, sync, clip bounce, wrap, projections and vertical bounce settings
    // take what the controls show; then changed.
    void readCheckBoxes(const FormChecks& checks);
    // "Wrap Around" and the "Projections:" combo: read check boxes, then Auto width, since
    // both limit the width.
    void readCheckBoxesAndAutoWidth(const FormChecks& checks);
    // A click on the "Projections:" label: one projection, shown, then as the combo.
    void resetProjections(FormChecks checks);
    // "Auto": AutoWidth from the box, then read check boxes and Auto width.
    void setAutoWidth(bool on, const FormChecks& checks);
    // "Mirror@Zero" and "Bounce@Zero" exclude each other: setting one clears the other.
    void setMirrorAtZero(bool on);
    void setBounceAtZero(bool on);
    // "Top" and "Bottom" exclude each other and Fit; the y-shift is set from the alignment
    // and the content's rows.
    void setAlignTop(bool on);
    void setAlignBottom(bool on);
    // "Fit": both alignment bits from the box, and no kept height, so that the next build
    // searches for the height again. Checked, the content is to be built again and the change
    // goes out as any other; unchecked, nothing is given to the players until the next change.
    void setFit(bool on);
    // "Flip": the content is rebuilt upside down (or back).
    void setFlip(bool on);
    // "Text" and "Picture": the content kind, and a rebuild from that content. The picture
    // editor starts with a fresh picture when it holds none.
    void setContentKind(FourCC kind);
    // The text or the picture changed: the content is rebuilt and, unless the form is filling
    // its own controls, given to the top player (with Auto Update on) and stored.
    void contentChanged();

    // ---- what the sequence form reads and writes (ParameterFormAccess) ----
    const PlayerParameters& record() const override { return working_.parameters; }
    void applyRecord(const PlayerParameters& record) override;
    bool holdsContent() const override { return contentKind_ != content_kind::None; }
    // The text is stored with takeText, the picture with the picture editor's record; the
    // packed content goes along when it is built, and is dropped otherwise so that the command
    // never runs with content older than its own.
    bool storeInto(Command& command, bool withContent) override;
    std::unique_ptr<Command> commandFromParameters() override;

    const ParameterSet& working() const { return working_; }
    const RichTextDocument& richText() const { return richText_; }
    FourCC contentKind() const { return contentKind_; }
    bool contentBuilt() const { return contentBuilt_; }
    bool autoUpdate() const { return autoUpdate_; }
    const ValueText& valueText(FormValue pair) const {
        return pairs_[static_cast<std::size_t>(pair)];
    }

  private:
    // Raises the updating depth for its lifetime: changes made meanwhile are not propagated.
    class Updating;

    bool resetsLag() const;
    bool apply(bool contentChanged, bool reset, bool resetLag);
    bool makeNewPlayer(bool resetLag);
    bool loadContent(const Command& command);
    bool takeCachedContent(const Command& command);
    void cacheBuiltContent(Command& command) const;
    void textReplaced();
    void propagate();
    void takeChecks(const FormChecks& checks);
    void autoWidth();
    void setPlayerFlag(std::uint32_t flag, bool on);
    void setAlignment(std::uint32_t bits);
    void alignToEdge(std::uint32_t bits);

    void showValues();
    void showPairs(std::span<const FormValue> pairs);
    void takeValue(FormValue pair, double value);
    double fieldValue(FormValue pair) const;

    Players& players_;
    RichTextDocument& richText_;
    PictureEditorModel& pictureEditor_;
    Presets& presets_;
    UserPrompt& prompt_;
    ParameterFormHost& host_;

    ParameterSet working_;
    FourCC contentKind_ = content_kind::Rich;
    bool autoUpdate_ = true;
    bool contentBuilt_ = false;
    int updating_ = 0;
    std::array<ValueText, kFormValueCount> pairs_;
};

// A plain text as the text content takes it: tabs, line feeds, carriage returns and spaces
// are removed before the first other character and after the last, and each one between
// becomes a space (so a CR LF pair becomes two).
QString normalisedPlainText(QStringView text);

}  // namespace rova
