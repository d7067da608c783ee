#include "RichTextDocument.h"

#include <QPainter>
#include <QScopedValueRollback>
#include <QTextBlock>

#include <algorithm>
#include <cmath>
#include <new>

#include "FormattedText.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "Windows1252.h"

namespace rova {

namespace {

constexpr double kTwipsPerPoint = 20.0;
// The height of a document whose application font has no size in points: 12 points.
constexpr int kFallbackHeight = 240;

// 8-bit text, one byte per character position.
QByteArray toAnsi(QStringView text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    for (const QChar ch : text) {
        if (ch == QChar::ParagraphSeparator) {
            bytes += '\r';
        } else if (ch == QChar::LineSeparator) {
            bytes += '\v';
        } else {
            const int byte = encodeWindows1252(ch.unicode());
            bytes += byte >= 0 ? static_cast<char>(byte) : '?';
        }
    }
    return bytes;
}

// Appends what `make` builds to `sink`; false, with the sink unchanged, when memory runs out.
template <typename Make>
bool appendTo(QByteArray& sink, Make make) {
    try {
        sink += make();
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

}  // namespace

RichTextDocument::RichTextDocument(QObject* parent)
    : QObject(parent), cursor_(&document_), textColour_(Qt::black) {
    connect(&document_, &QTextDocument::contentsChanged, this, [this] {
        if (!clearing_) {
            emit contentsChanged();
        }
    });
    const QFont font = document_.defaultFont();
    CharacterFormat initial;
    initial.mask = CharacterFormat::kAll;
    initial.face = font.family();
    initial.height = font.pointSizeF() > 0
                         ? static_cast<int>(std::lround(font.pointSizeF() * kTwipsPerPoint))
                         : kFallbackHeight;
    setDefaultFormat(initial);
}

RichTextDocument::~RichTextDocument() = default;

// Only the selection and the typing format are taken over, never the cursor object: a view
// hands its caret over from signals that can come in the middle of an edit block, while the
// document still holds on to the cursors it has moved, and replacing ours would free one of them.
void RichTextDocument::setCursor(const QTextCursor& cursor) {
    cursor_.setPosition(cursor.anchor());
    cursor_.setPosition(cursor.position(), QTextCursor::KeepAnchor);
    if (!cursor.hasSelection()) {
        cursor_.setCharFormat(cursor.charFormat());
    }
}

bool RichTextDocument::streamOutPlainText(QByteArray& sink) const {
    return appendTo(sink, [this] {
        QByteArray text;
        for (QTextBlock block = document_.begin(); block.isValid(); block = block.next()) {
            if (block != document_.begin()) {
                text += "\r\n";
            }
            text += toAnsi(block.text());
        }
        return text;
    });
}

bool RichTextDocument::streamOutRtf(QByteArray& sink) const {
    return appendTo(sink, [this] { return writeRtf(document_, defaultFormat()); });
}

bool RichTextDocument::streamIn(QByteArrayView rtf) {
    dropCachedFormatting();
    document_.setUndoRedoEnabled(false);
    const bool ok = readRtf(rtf, document_);
    document_.setUndoRedoEnabled(true);
    document_.setModified(false);
    cursor_.movePosition(QTextCursor::Start);
    emit cursorChanged();
    return ok;
}

// Emptying the document resets every cursor on it, the caret's format for typing included;
// the caret takes that format back. Undo is off meanwhile, so nothing is left to undo.
void RichTextDocument::clear() {
    const QTextCharFormat typingFormat = cursor_.charFormat();
    const bool undoEnabled = document_.isUndoRedoEnabled();
    {
        // One notification for the whole clearing, after it.
        const QScopedValueRollback quiet(clearing_, true);
        document_.setUndoRedoEnabled(false);
        document_.clear();
        cursor_.setCharFormat(typingFormat);
    }
    emit contentsChanged();
    document_.setUndoRedoEnabled(undoEnabled);
    document_.setModified(false);
    emit cursorChanged();
}

RichTextDocument::Selection RichTextDocument::selection() const {
    return {cursor_.selectionStart(), cursor_.selectionEnd()};
}

void RichTextDocument::setSelection(int first, int last) {
    if (first < 0) {
        cursor_.clearSelection();
    } else {
        const int length = textLength();
        cursor_.setPosition(std::min(first, length));
        cursor_.setPosition(last < 0 ? length : std::min(last, length), QTextCursor::KeepAnchor);
    }
    emit cursorChanged();
}

QByteArray RichTextDocument::selectedText() const {
    return toAnsi(cursor_.selectedText());
}

int RichTextDocument::textLength() const {
    return document_.characterCount() - 1;
}

CharacterFormat RichTextDocument::selectionFormat() const {
    if (!cursor_.hasSelection()) {
        return resolvedFormat(cursor_.charFormat(), defaultFormat());
    }
    return commonFormat(document_, cursor_.selectionStart(), cursor_.selectionEnd(),
                        defaultFormat());
}

void RichTextDocument::setSelectionFormat(const CharacterFormat& format) {
    cursor_.mergeCharFormat(toTextCharFormat(format));
    emit cursorChanged();
}

CharacterFormat RichTextDocument::defaultFormat() const {
    const QFont font = document_.defaultFont();
    CharacterFormat format;
    format.mask = CharacterFormat::kAll;
    format.effects = (font.weight() >= QFont::DemiBold ? CharacterFormat::kBold : 0) |
                     (font.italic() ? CharacterFormat::kItalic : 0) |
                     (font.underline() ? CharacterFormat::kUnderline : 0);
    format.height = static_cast<int>(std::lround(font.pointSizeF() * kTwipsPerPoint));
    format.colour = colourRefOf(textColour_);
    format.face = font.family();
    return format;
}

void RichTextDocument::setDefaultFormat(const CharacterFormat& format) {
    const CharacterFormat merged = resolvedFormat(toTextCharFormat(format), defaultFormat());
    document_.setDefaultFont(fontOf(merged));
    textColour_ = colourFromRef(merged.colour);
    emit appearanceChanged();
}

void RichTextDocument::setBackgroundColour(std::uint32_t colour) {
    background_ = colourFromRef(colour);
    emit appearanceChanged();
}

bool RichTextDocument::canUndo() const {
    return document_.isUndoAvailable();
}

void RichTextDocument::emptyUndoBuffer() {
    document_.clearUndoRedoStacks();
}

bool RichTextDocument::isModified() const {
    return document_.isModified();
}

void RichTextDocument::setModified(bool modified) {
    document_.setModified(modified);
}

QRect RichTextDocument::formatRange(QPainter* painter, const QRect& layoutTwips) {
    formatted_ = std::make_unique<FormattedText>(document_, defaultFormat(), layoutTwips);
    if (painter != nullptr) {
        const QRectF layout(QPointF(layoutTwips.topLeft()) / FormattedText::kTwipsPerPoint,
                            QSizeF(layoutTwips.size()) / FormattedText::kTwipsPerPoint);
        formatted_->draw(*painter, layout.topLeft(), layout);
    }
    return formatted_->usedTwips();
}

bool RichTextDocument::displayBand(QPainter& painter, const QRect& band) const {
    if (!formatted_) {
        return false;
    }
    formatted_->draw(painter, band.topLeft(), band);
    return true;
}

void RichTextDocument::dropCachedFormatting() {
    formatted_.reset();
}

}  // namespace rova
