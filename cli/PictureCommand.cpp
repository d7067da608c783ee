#include "PictureCommand.h"

#include <optional>

#include "BitmapFormat.h"
#include "BmpCodec.h"
#include "CliArguments.h"
#include "CliStatus.h"
#include "CliText.h"
#include "HeadlessPlayback.h"
#include "Picture.h"
#include "PictureEditorModel.h"
#include "StreamPrompt.h"
#include "TextFileSequence.h"

namespace rova {

namespace {

const QString kOutput = QStringLiteral("-o");
const QString kRows = QStringLiteral("--rows");

// The editor's Copy Text: the text of the document read from `path`, rendered at 1:1 and cut
// to its lit lamps. False, with the reason on the prompt, when the file cannot be read or
// shows nothing.
bool copyText(const QString& path, Picture& picture, StreamPrompt& prompt) {
    // Only the document's reading is used: no frame is composed.
    HeadlessPlayback playback(1.0, 0, prompt);
    if (!playback.open(path)) {
        return false;
    }
    if (!PictureEditorModel::textPicture(playback.richText(), picture)) {
        prompt.showWarning(cliText("\"%1\" shows no lit lamps.").arg(path));
        return false;
    }
    return true;
}

bool save(const Picture& picture, const QString& path, StreamPrompt& prompt) {
    if (!saveBmpFile(picture, path)) {
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
    const std::optional<int> rows = request.rows;
    StreamPrompt prompt(errors);

    // The picture goes through the editor as a loaded one: shown at the smaller of its height
    // and 16 rows, or at the rows asked for.
    PictureEditorModel editor;
    if (textFileKind(input)) {
        Picture text;
        if (!copyText(input, text, prompt)) {
            return kFailed;
        }
        // As after the editor's Copy Text: the picture at 1:1 unless other rows are asked for.
        if (!rows) {
            return save(text, output, prompt) ? kSucceeded : kFailed;
        }
        editor.loadPicture(text, QString());
    } else if (!editor.loadFile(input)) {
        prompt.showWarning(cliText("\"%1\" could not be read as a picture.").arg(input));
        return kFailed;
    }
    if (rows) {
        editor.setRows(*rows);
    }
    const Picture& lampPicture = editor.workingPicture();
    if (lampPicture.width() < 1) {
        prompt.showWarning(
            cliText("\"%1\" cannot be shown at %2 rows.").arg(input).arg(editor.rows()));
        return kFailed;
    }
    return save(lampPicture, output, prompt) ? kSucceeded : kFailed;
}

}  // namespace rova
