#include "CommandContent.h"

#include <QByteArray>

#include <algorithm>
#include <vector>

#include "BmpCodec.h"
#include "Bytes.h"
#include "Command.h"
#include "Picture.h"
#include "RichTextDocument.h"

namespace rova {

namespace {

constexpr int kFreshPictureSide = 16;
constexpr ColourRef kBlack = 0x000000;

std::span<const std::uint8_t> bytesOf(const QByteArray& array) {
    return {reinterpret_cast<const std::uint8_t*>(array.constData()),
            static_cast<std::size_t>(array.size())};
}

}  // namespace

bool takeText(Command& command, const RichTextDocument& text) {
    command.clearContent();
    QByteArray plain;
    QByteArray rtf;
    std::vector<std::uint8_t> content;
    const std::uint8_t separator = 0;
    if (!text.streamOutPlainText(plain) || !text.streamOutRtf(rtf) ||
        !tryAppend(content, bytesOf(plain)) || !tryAppend(content, {&separator, 1}) ||
        !tryAppend(content, bytesOf(rtf))) {
        return false;
    }
    command.assignContent(content_kind::Rich, std::move(content));
    return true;
}

bool putText(const Command& command, RichTextDocument& text) {
    const std::span<const std::uint8_t> content = command.content();
    if (content.empty()) {
        text.clear();
        return true;
    }
    const auto separator = std::find(content.begin(), content.end(), std::uint8_t{0});
    const auto rtfStart = separator == content.end() ? separator : separator + 1;
    const std::span<const std::uint8_t> rtf(rtfStart, content.end());
    return text.streamIn(QByteArrayView(reinterpret_cast<const char*>(rtf.data()),
                                        static_cast<qsizetype>(rtf.size())));
}

bool takePicture(Command& command, const std::string& fileName, const PictureState& state,
                 const Picture& picture) {
    command.clearContent();
    std::vector<std::uint8_t> record;
    if (!writePictureRecord(fileName, state, picture, record)) {
        return false;
    }
    command.assignContent(content_kind::Picture, std::move(record));
    return true;
}

bool putPicture(const Command& command, std::string& fileName, PictureState& state,
                Picture& picture) {
    PictureRecord record = readPictureRecord(command.content());
    if (loadPackedBitmap(picture, record.bitmap, true)) {
        fileName = std::move(record.fileName);
        state = record.state;
        return true;
    }
    fileName.clear();
    state.flags &= ~PictureState::kRescaledView;
    state.rows = kFreshPictureSide;
    picture.createLampFilled(kFreshPictureSide, kFreshPictureSide, kBlack);
    return false;
}

}  // namespace rova
