#include "PictureCommand.h"

#include <algorithm>
#include <optional>

#include "BitmapFormat.h"
#include "CliArguments.h"
#include "CliStatus.h"
#include "CliText.h"
#include "Command.h"
#include "CommandContent.h"
#include "EditedPicture.h"
#include "HeadlessPlayback.h"
#include "Picture.h"
#include "StreamPrompt.h"
#include "TextFileSequence.h"
#include "TextRenderer.h"

namespace rova {

namespace {

const QString kOutput = QStringLiteral("-o");
const QString kRows = QStringLiteral("--rows");
constexpr int kMaxDefaultRows = 16;

// The editor's Copy Text: the text of the document read from `path`, rendered at 1:1 and cut
// to its lit lamps. False, with the reason on the prompt, when the file cannot be read or
// shows nothing.
bool copyText(const QString& path, Picture& picture, StreamPrompt& prompt) {
    // Only the document's reading is used: no frame is composed.
    HeadlessPlayback playback(1.0, 0, prompt);
    if (!playback.open(path)) {
        return false;
    }
    const RichTextDocument& text = playback.richText();
    Picture band;
    std::optional<QRect> bounds;
    if (renderText(band, text.document(), text.defaultFormat(), 1, 1)) {
        bounds = band.contentBounds();
    }
    if (!bounds || !picture.cropFrom(band, *bounds, 0)) {
        prompt.showWarning(cliText("\"%1\" shows no lit lamps.").arg(path));
        return false;
    }
    return true;
}

// The editor's rebuild: the picture stretched to `rows` rows, its width scaled alike. It is
// handed over as a command's picture content, so the held picture rebuilds it exactly as it
// does for every picture a sequence shows.
bool rebuild(const Picture& source, int rows, HeldPicture& held) {
    Command command;
    PictureState state;
    state.rows = rows;
    return takePicture(command, std::string(), state, source) && held.restore(command) &&
           held.workingPicture().width() >= 1;
}

bool save(const Picture& picture, const QString& path, StreamPrompt& prompt) {
    if (!picture.saveFile(path)) {
        prompt.showWarning(cliText("\"%1\" could not be written.").arg(path));
        return false;
    }
    return true;
}

}  // namespace

std::optional<PictureRequest> parsePicture(const QStringList& words) {
    const auto arguments = parseArguments(words, {kOutput, kRows}, {});
    if (!arguments || arguments->positional.size() != 1 || !arguments->values.contains(kOutput)) {
        return std::nullopt;
    }
    PictureRequest request{arguments->positional[0], arguments->values[kOutput], std::nullopt};
    if (arguments->values.contains(kRows)) {
        const auto rows = parseWhole(arguments->values[kRows], 1, kMaxLoadedSide);
        if (!rows) {
            return std::nullopt;
        }
        request.rows = static_cast<int>(*rows);
    }
    return request;
}

int runPicture(const PictureRequest& request, QTextStream& errors) {
    const QString& input = request.input;
    const QString& output = request.output;
    std::optional<int> rows = request.rows;
    StreamPrompt prompt(errors);

    Picture source;
    if (textFileKind(input)) {
        if (!copyText(input, source, prompt)) {
            return kFailed;
        }
        // As after the editor's Copy Text: the picture at 1:1 unless other rows are asked for.
        if (!rows) {
            return save(source, output, prompt) ? kSucceeded : kFailed;
        }
    } else {
        if (!source.loadFile(input, true)) {
            prompt.showWarning(cliText("\"%1\" could not be read as a picture.").arg(input));
            return kFailed;
        }
        rows = rows.value_or(std::min(source.height(), kMaxDefaultRows));
    }
    HeldPicture lampPicture;
    if (!rebuild(source, *rows, lampPicture)) {
        prompt.showWarning(cliText("\"%1\" cannot be shown at %2 rows.").arg(input).arg(*rows));
        return kFailed;
    }
    return save(lampPicture.workingPicture(), output, prompt) ? kSucceeded : kFailed;
}

}  // namespace rova
