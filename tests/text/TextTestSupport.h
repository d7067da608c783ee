#pragma once

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>

#include <ostream>
#include <vector>

#include "CharacterFormat.h"
#include "QtGuiApplicationTest.h"

namespace rova {

inline void PrintTo(const CharacterFormat& format, std::ostream* out) {
    *out << "{mask " << std::hex << format.mask << " effects " << format.effects << std::dec
         << " height " << format.height << " colour " << std::hex << format.colour << std::dec
         << " face \"" << format.face.toStdString() << "\"}";
}

namespace test {

inline constexpr std::uint32_t kBold = CharacterFormat::kBold;
inline constexpr std::uint32_t kItalic = CharacterFormat::kItalic;
inline constexpr std::uint32_t kUnderline = CharacterFormat::kUnderline;
// The colour of text that names none: the test defaults' colour.
inline constexpr ColourRef kAuto = 0x123456;
inline constexpr ColourRef kRed = 0x0000FF;
inline constexpr ColourRef kGreen = 0x00FF00;
inline constexpr ColourRef kBlue = 0xFF0000;

// "ab" plain, "cd" bold, both Arial 12 points without a colour of their own; "ef" Times,
// 15 points, green; then a second paragraph "gh" in Arial.
inline constexpr char kMixed[] =
    R"({\rtf1{\fonttbl{\f0 Arial;}{\f1 Times;}}{\colortbl;\red0\green255\blue0;})"
    R"(\f0\fs24 ab\b cd\b0\f1\fs30\cf1 ef\par\f0\fs24\cf0 gh})";

inline QString text16(const char16_t* text) {
    return QString::fromUtf16(text);
}

// A full format: every attribute named.
inline CharacterFormat fullFormat(const QString& face, int height, std::uint32_t effects = 0,
                                  ColourRef colour = 0) {
    return {CharacterFormat::kAll, effects, height, colour, face};
}

// The defaults the reader's and writer's tests resolve open attributes with.
inline CharacterFormat testDefaults() {
    return fullFormat("Liberation Serif", 300, 0, kAuto);
}

// The full format of the character at `position`.
inline CharacterFormat formatAt(const QTextDocument& document, int position,
                                const CharacterFormat& defaults = testDefaults()) {
    return commonFormat(document, position, position + 1, defaults);
}

// Every character's full format, and for each empty paragraph the format at its mark: what a
// round trip through RTF must keep.
inline std::vector<CharacterFormat> formatsOf(const QTextDocument& document,
                                              const CharacterFormat& defaults = testDefaults()) {
    std::vector<CharacterFormat> formats;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.length() == 1) {
            formats.push_back(resolvedFormat(block.charFormat(), defaults));
        }
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const CharacterFormat format = resolvedFormat(it.fragment().charFormat(), defaults);
            formats.insert(formats.end(), static_cast<std::size_t>(it.fragment().length()), format);
        }
    }
    return formats;
}

// The colour of each entry of formatsOf().
inline std::vector<ColourRef> coloursOf(const QTextDocument& document,
                                        const CharacterFormat& defaults) {
    std::vector<ColourRef> colours;
    for (const CharacterFormat& format : formatsOf(document, defaults)) {
        colours.push_back(format.colour);
    }
    return colours;
}

inline QByteArray readTestFile(const char* name) {
    QFile file(QStringLiteral(ROVA_TEXT_TEST_DATA "/") + QString::fromLatin1(name));
    if (!file.open(QIODevice::ReadOnly)) {
        ADD_FAILURE() << "cannot open test file " << name;
        return {};
    }
    return file.readAll();
}

}  // namespace test
}  // namespace rova
