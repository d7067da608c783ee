#pragma once

// Shared helpers of the content tests: rich text from RTF, the format it falls back on, and
// what a lamp picture shows.

#include <gtest/gtest.h>

#include <QTextDocument>

#include <map>
#include <memory>
#include <string>

#include "CharacterFormat.h"
#include "Picture.h"
#include "QtGuiApplicationTest.h"
#include "RtfReader.h"

namespace rova::test {

// The defaults of the text tests: 12-point Arial in lamp white, so that text without a colour
// of its own lights up.
inline CharacterFormat textDefaults() {
    return {CharacterFormat::kAll, 0, 240, 0xFFFFFF, "Arial"};
}

inline std::unique_ptr<QTextDocument> documentOf(const std::string& rtf) {
    auto document = std::make_unique<QTextDocument>();
    EXPECT_TRUE(readRtf(QByteArrayView(rtf.data(), static_cast<qsizetype>(rtf.size())), *document))
        << rtf;
    return document;
}

// A one-line text in 12-point Arial, coloured by the colour table's first entry.
inline std::string colouredText(const std::string& text, int red, int green, int blue) {
    return R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red)" + std::to_string(red) + R"(\green)" +
           std::to_string(green) + R"(\blue)" + std::to_string(blue) + R"(;}\f0\fs24\cf1 )" + text +
           "}";
}

// How many pixels of a lamp picture hold each value.
inline std::map<int, int> valueCounts(const Picture& picture) {
    std::map<int, int> counts;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            ++counts[static_cast<int>(picture.pixelValue(x, y))];
        }
    }
    return counts;
}

}  // namespace rova::test
