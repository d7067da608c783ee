#include "FormattingCommands.h"

#include "CharacterFormat.h"
#include "CommandKeyword.h"
#include "PictureEditorModel.h"
#include "RichTextDocument.h"
#include "TextFormatting.h"

namespace rova {

namespace {

using C = FormattingCommand;

constexpr int kSmallestSizePoints = 7;

int idOf(C command) {
    return static_cast<int>(command);
}

bool isSize(C command) {
    return idOf(command) >= idOf(C::Size7Points) && idOf(command) <= idOf(C::Size16Points);
}

bool isColour(C command) {
    return idOf(command) >= idOf(C::ColourBlack) && idOf(command) <= idOf(C::ColourWhite);
}

int pointsOf(C command) {
    return idOf(command) - idOf(C::Size7Points) + kSmallestSizePoints;
}

ColourRef colourOf(C command) {
    return kTextColours[static_cast<std::size_t>(idOf(command) - idOf(C::ColourBlack))];
}

// The effect bit of Bold, Italic and Underline, 0 for the other commands.
std::uint32_t effectOf(C command) {
    switch (command) {
        case C::Bold:
            return CharacterFormat::kBold;
        case C::Italic:
            return CharacterFormat::kItalic;
        case C::Underline:
            return CharacterFormat::kUnderline;
        default:
            return 0;
    }
}

FormattingCommandState textState(C command, const RichTextDocument& text) {
    if (const std::uint32_t effect = effectOf(command); effect != 0) {
        return {true, effectChecked(text.selectionFormat(), effect)};
    }
    if (isSize(command)) {
        return {true, pointSizeChecked(text.selectionFormat(), pointsOf(command))};
    }
    if (isColour(command)) {
        if (command == C::ColourBlack) {
            return {};
        }
        return {true, colourChecked(text.selectionFormat(), colourOf(command))};
    }
    // Font, Rainbow and the size steps.
    return {true, false};
}

FormattingCommandState pictureState(C command, const PictureEditorModel& picture) {
    if (command == C::DecreasePointsize || command == C::IncreasePointsize) {
        return {true, false};
    }
    if (isSize(command)) {
        return {true, picture.rows() == pointsOf(command)};
    }
    if (isColour(command)) {
        return {true, picture.penColour() == colourOf(command)};
    }
    return {};
}

bool performOnText(C command, RichTextDocument& text) {
    if (const std::uint32_t effect = effectOf(command); effect != 0) {
        toggleEffect(text, effect);
        return true;
    }
    if (command == C::DecreasePointsize || command == C::IncreasePointsize) {
        stepPointSize(text, command == C::IncreasePointsize ? 1 : -1);
        return true;
    }
    if (isSize(command)) {
        setPointSize(text, pointsOf(command));
        return true;
    }
    if (isColour(command)) {
        setTextColour(text, colourOf(command));
        return true;
    }
    return false;
}

bool performOnPicture(C command, PictureEditorModel& picture) {
    if (command == C::DecreasePointsize || command == C::IncreasePointsize) {
        picture.changeRows(command == C::IncreasePointsize ? 1 : -1);
        return true;
    }
    if (isSize(command)) {
        picture.setRows(pointsOf(command));
        return true;
    }
    if (isColour(command)) {
        picture.setPenColour(colourOf(command));
        return true;
    }
    return false;
}

}  // namespace

std::optional<FormattingCommand> formattingCommand(int id) {
    const auto command = static_cast<C>(id);
    switch (command) {
        case C::Bold:
        case C::Italic:
        case C::Underline:
        case C::Font:
        case C::Rainbow:
        case C::DecreasePointsize:
        case C::IncreasePointsize:
            return command;
        default:
            if (isSize(command) || isColour(command)) {
                return command;
            }
            return std::nullopt;
    }
}

FormattingCommandState formattingCommandState(FormattingCommand command,
                                              const FormattingTarget& target) {
    if (target.contentKind == content_kind::Rich) {
        return textState(command, target.text);
    }
    if (target.contentKind == content_kind::Picture) {
        return pictureState(command, target.picture);
    }
    return {};
}

bool performFormattingCommand(FormattingCommand command, const FormattingTarget& target) {
    if (target.contentKind == content_kind::Rich) {
        return performOnText(command, target.text);
    }
    if (target.contentKind == content_kind::Picture) {
        return performOnPicture(command, target.picture);
    }
    return false;
}

}  // namespace rova
