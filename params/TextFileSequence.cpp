#include "TextFileSequence.h"

#include <QStringDecoder>

#include <algorithm>
#include <vector>

#include "Command.h"
#include "FilePaths.h"
#include "ParameterFormController.h"
#include "ParameterFormText.h"
#include "SequenceFile.h"
#include "Windows1252.h"

namespace rova {

std::optional<TextFileKind> textFileKind(const QString& path) {
    const QString extension = paths::extension(path);
    if (extension.compare(u".txt", Qt::CaseInsensitive) == 0) {
        return TextFileKind::Plain;
    }
    if (extension.compare(u".rtf", Qt::CaseInsensitive) == 0) {
        return TextFileKind::Rich;
    }
    return std::nullopt;
}

QString decodePlainText(std::span<const std::uint8_t> bytes) {
    const auto end = std::find(bytes.begin(), bytes.end(), std::uint8_t{0});
    const QByteArrayView text(reinterpret_cast<const char*>(bytes.data()), end - bytes.begin());
    QStringDecoder utf8(QStringDecoder::Utf8);
    QString decoded = utf8.decode(text);
    if (!utf8.hasError()) {
        return decoded;
    }
    decoded.clear();
    decoded.reserve(text.size());
    for (const char byte : text) {
        decoded += QChar(decodeWindows1252(static_cast<std::uint8_t>(byte)));
    }
    return decoded;
}

std::unique_ptr<Command> sequenceFromTextFile(const QString& path, ParameterFormController& form) {
    const std::optional<TextFileKind> kind = textFileKind(path);
    std::vector<std::uint8_t> bytes;
    if (!kind || SequenceFile::readWholeFile(path, bytes) != FileResult::Ok) {
        return nullptr;
    }
    if (*kind == TextFileKind::Plain) {
        form.showPlainText(decodePlainText(bytes), preset_name::kScrolling);
    } else {
        form.showRichText(bytes, preset_name::kScrolling);
    }
    const int duration = form.scrollDuration();

    std::unique_ptr<Command> command = form.commandFromParameters();
    if (!command) {
        return nullptr;
    }
    if (duration > 0) {
        command->parameters().nextCommandAfter = duration;
        command->parameters().deathAfter = duration;
    }
    return command;
}

}  // namespace rova
