#include "RtfWriter.h"

#include <QHash>
#include <QStringList>
#include <QTextBlock>
#include <QTextDocument>

#include <algorithm>
#include <vector>

#include "ColourRef.h"
#include "Windows1252.h"

namespace rova {

namespace {

constexpr int kMaxHalfPoints = 3276;

// The character attributes as the stream spells them: table indices and half points.
struct StreamFormat {
    int font = 0;
    int halfPoints = 24;
    std::uint32_t effects = 0;
    int colour = 0;  // 0: the colour table's empty first entry, the automatic colour

    friend bool operator==(const StreamFormat&, const StreamFormat&) = default;
};

bool isLeftOut(char16_t unit) {
    return (unit < 0x20 && unit != u'\t') || unit == 0xFDD0 || unit == 0xFDD1 || unit == 0xFFFC ||
           unit == 0xFFFE || unit == 0xFFFF;
}

void appendHex(QByteArray& out, int byte) {
    static constexpr char kDigits[] = "0123456789abcdef";
    out += "\\'";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 0xF];
}

// Appends `text` with RTF's escapes. In a font table a name ends at ";", so a semicolon in a
// face name is written as its code.
void appendEscaped(QByteArray& out, QStringView text, bool inFontTable) {
    for (const QChar ch : text) {
        const char16_t unit = ch.unicode();
        if (isLeftOut(unit)) {
            continue;
        }
        switch (unit) {
            case u'\\':
            case u'{':
            case u'}':
                out += '\\';
                out += static_cast<char>(unit);
                continue;
            case u'\t':
                out += "\\tab ";
                continue;
            case 0x2028:
                out += "\\line ";
                continue;
            case u';':
                if (inFontTable) {
                    appendHex(out, ';');
                    continue;
                }
                break;
            default:
                break;
        }
        if (unit < 0x80) {
            out += static_cast<char>(unit);
        } else if (const int byte = encodeWindows1252(unit); byte >= 0) {
            appendHex(out, byte);
        } else {
            out += "\\u";
            out += QByteArray::number(static_cast<std::int16_t>(unit));
            out += '?';
        }
    }
}

class Writer {
  public:
    explicit Writer(const CharacterFormat& defaults) : defaults_(defaults) {
        faces_.append(defaults.face);
        faceIndex_.insert(defaults.face, 0);
    }

    QByteArray write(const QTextDocument& document);

  private:
    void writeFormat(const QTextCharFormat& format);
    int faceIndex(const QString& face);
    int colourIndex(std::uint32_t colour);
    QByteArray header() const;

    const CharacterFormat& defaults_;
    QStringList faces_;
    QHash<QString, int> faceIndex_;
    std::vector<std::uint32_t> colours_;
    QHash<std::uint32_t, int> colourIndex_;
    StreamFormat current_;  // the format after \plain: default font, 12 points, automatic colour
    QByteArray body_;
};

QByteArray Writer::write(const QTextDocument& document) {
    body_ += "\\pard\\plain ";
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        bool empty = true;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            writeFormat(fragment.charFormat());
            appendEscaped(body_, fragment.text(), false);
            empty = false;
        }
        if (empty) {
            writeFormat(block.charFormat());
        }
        body_ += "\\par\r\n";
    }
    return header() + body_ + "}";
}

// Writes the control words that take the stream from its current format to `format`.
void Writer::writeFormat(const QTextCharFormat& format) {
    const CharacterFormat full = resolvedFormat(format, defaults_);
    const StreamFormat next{faceIndex(full.face),
                            std::clamp((full.height + 5) / 10, 1, kMaxHalfPoints),
                            full.effects & CharacterFormat::kEffects, colourIndex(full.colour)};
    if (next == current_) {
        return;
    }
    if (next.font != current_.font) {
        body_ += "\\f" + QByteArray::number(next.font);
    }
    if (next.halfPoints != current_.halfPoints) {
        body_ += "\\fs" + QByteArray::number(next.halfPoints);
    }
    const std::uint32_t changed = next.effects ^ current_.effects;
    if (changed & CharacterFormat::kBold) {
        body_ += (next.effects & CharacterFormat::kBold) ? "\\b" : "\\b0";
    }
    if (changed & CharacterFormat::kItalic) {
        body_ += (next.effects & CharacterFormat::kItalic) ? "\\i" : "\\i0";
    }
    if (changed & CharacterFormat::kUnderline) {
        body_ += (next.effects & CharacterFormat::kUnderline) ? "\\ul" : "\\ulnone";
    }
    if (next.colour != current_.colour) {
        body_ += "\\cf" + QByteArray::number(next.colour);
    }
    body_ += ' ';
    current_ = next;
}

int Writer::faceIndex(const QString& face) {
    if (const auto it = faceIndex_.constFind(face); it != faceIndex_.cend()) {
        return *it;
    }
    const int index = static_cast<int>(faces_.size());
    faces_.append(face);
    faceIndex_.insert(face, index);
    return index;
}

// Index 0 is the automatic colour, so the colours of the text start at 1.
int Writer::colourIndex(std::uint32_t colour) {
    if (const auto it = colourIndex_.constFind(colour); it != colourIndex_.cend()) {
        return *it;
    }
    colours_.push_back(colour);
    const int index = static_cast<int>(colours_.size());
    colourIndex_.insert(colour, index);
    return index;
}

QByteArray Writer::header() const {
    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\r\n{\\fonttbl";
    for (qsizetype i = 0; i < faces_.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        appendEscaped(out, faces_[i], true);
        out += ";}";
    }
    out += "}\r\n{\\colortbl ;";
    for (const std::uint32_t colour : colours_) {
        out += "\\red" + QByteArray::number(redOf(colour)) + "\\green" +
               QByteArray::number(greenOf(colour)) + "\\blue" + QByteArray::number(blueOf(colour)) +
               ";";
    }
    out += "}\r\n";
    return out;
}

}  // namespace

QByteArray writeRtf(const QTextDocument& document, const CharacterFormat& defaults) {
    return Writer(defaults).write(document);
}

}  // namespace rova
