// Feeds any bytes to the RTF reader. Whatever it reads must survive the writer: the stream
// written from the document reads back to the same characters, each with the same format.
// A refused stream must leave the document empty.
#include <QTextBlock>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "CharacterFormat.h"
#include "RtfReader.h"
#include "RtfWriter.h"

namespace {

const rova::CharacterFormat kDefaults{rova::CharacterFormat::kAll, rova::CharacterFormat::kBold,
                                      240, 0x0000FF, "Arial"};

// Every character's format, and for each empty paragraph the format at its mark.
std::vector<rova::CharacterFormat> formatsOf(const QTextDocument& document) {
    std::vector<rova::CharacterFormat> formats;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() == 1) {
            formats.push_back(rova::resolvedFormat(block.charFormat(), kDefaults));
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            formats.insert(formats.end(), static_cast<std::size_t>(it.fragment().length()),
                           rova::resolvedFormat(it.fragment().charFormat(), kDefaults));
        }
    }
    return formats;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    QTextDocument first;
    if (!rova::readRtf(QByteArrayView(data, static_cast<qsizetype>(size)), first)) {
        if (!first.isEmpty()) {
            std::abort();
        }
        return 0;
    }
    QTextDocument second;
    if (!rova::readRtf(rova::writeRtf(first, kDefaults), second) ||
        second.toRawText() != first.toRawText() || formatsOf(second) != formatsOf(first)) {
        std::abort();
    }
    return 0;
}
