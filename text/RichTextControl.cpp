#include "RichTextControl.h"

#include <QMimeData>
#include <QPainter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <algorithm>
#include <cmath>
#include <new>

#include "FormattedText.h"
#include "RtfReader.h"
#include "RtfWriter.h"
#include "Windows1252.h"

namespace rova {

namespace {

// The clipboard type of RTF. Copies carry it beside QTextEdit's own types; pastes prefer it.
constexpr char kRtfMimeType[] = "text/rtf";

constexpr double kTwipsPerPoint = 20.0;
// The height of a control whose widget font has no size in points: 12 points.
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

// Reads the rich text of a paste or drop into `into`: RTF as a stream is read, HTML first
// brought into the same form through RTF (which leaves pictures out, flattens tables into
// paragraphs and turns sizes in pixels into points). False when the data holds neither, or
// nothing readable.
bool readRichText(const QMimeData* source, bool acceptHtml, const CharacterFormat& defaults,
                  QTextDocument& into) {
    if (source->hasFormat(kRtfMimeType) && readRtf(source->data(kRtfMimeType), into)) {
        return true;
    }
    if (!acceptHtml || !source->hasHtml()) {
        return false;
    }
    QTextDocument html;
    html.setHtml(source->html());
    return readRtf(writeRtf(html, defaults), into);
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

RichTextControl::RichTextControl(QWidget* parent) : QTextEdit(parent) {
    setTabStopDistance(logicalDpiX() / 2.0);
    CharacterFormat initial;
    initial.mask = CharacterFormat::kAll;
    initial.face = font().family();
    initial.height = font().pointSizeF() > 0
                         ? static_cast<int>(std::lround(font().pointSizeF() * kTwipsPerPoint))
                         : kFallbackHeight;
    setDefaultFormat(initial);
}

RichTextControl::~RichTextControl() = default;

bool RichTextControl::streamOutPlainText(QByteArray& sink) const {
    return appendTo(sink, [this] {
        QByteArray text;
        for (QTextBlock block = document()->begin(); block.isValid(); block = block.next()) {
            if (block != document()->begin()) {
                text += "\r\n";
            }
            text += toAnsi(block.text());
        }
        return text;
    });
}

bool RichTextControl::streamOutRtf(QByteArray& sink) const {
    return appendTo(sink, [this] { return writeRtf(*document(), defaultFormat()); });
}

bool RichTextControl::streamIn(QByteArrayView rtf) {
    dropCachedFormatting();
    QTextDocument& text = *document();
    text.setUndoRedoEnabled(false);
    const bool ok = readRtf(rtf, text);
    text.setUndoRedoEnabled(true);
    text.setModified(false);
    moveCursor(QTextCursor::Start);
    return ok;
}

RichTextControl::Selection RichTextControl::selection() const {
    const QTextCursor cursor = textCursor();
    return {cursor.selectionStart(), cursor.selectionEnd()};
}

void RichTextControl::setSelection(int first, int last) {
    QTextCursor cursor = textCursor();
    if (first < 0) {
        cursor.clearSelection();
    } else {
        const int length = textLength();
        cursor.setPosition(std::min(first, length));
        cursor.setPosition(last < 0 ? length : std::min(last, length), QTextCursor::KeepAnchor);
    }
    setTextCursor(cursor);
}

QByteArray RichTextControl::selectedText() const {
    return toAnsi(textCursor().selectedText());
}

int RichTextControl::textLength() const {
    return document()->characterCount() - 1;
}

CharacterFormat RichTextControl::selectionFormat() const {
    const QTextCursor cursor = textCursor();
    if (!cursor.hasSelection()) {
        return resolvedFormat(currentCharFormat(), defaultFormat());
    }
    return commonFormat(*document(), cursor.selectionStart(), cursor.selectionEnd(),
                        defaultFormat());
}

void RichTextControl::setSelectionFormat(const CharacterFormat& format) {
    mergeCurrentCharFormat(toTextCharFormat(format));
}

CharacterFormat RichTextControl::defaultFormat() const {
    const QFont font = document()->defaultFont();
    CharacterFormat format;
    format.mask = CharacterFormat::kAll;
    format.effects = (font.weight() >= QFont::DemiBold ? CharacterFormat::kBold : 0) |
                     (font.italic() ? CharacterFormat::kItalic : 0) |
                     (font.underline() ? CharacterFormat::kUnderline : 0);
    format.height = static_cast<int>(std::lround(font.pointSizeF() * kTwipsPerPoint));
    format.colour = colourRefOf(palette().color(QPalette::Text));
    format.face = font.family();
    return format;
}

void RichTextControl::setDefaultFormat(const CharacterFormat& format) {
    const CharacterFormat merged = resolvedFormat(toTextCharFormat(format), defaultFormat());
    // The widget's font is the document's default font; setting it on the widget keeps it
    // when the application's font changes.
    setFont(fontOf(merged));
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colourFromRef(merged.colour));
    setPalette(colours);
}

void RichTextControl::setBackgroundColour(std::uint32_t colour) {
    QPalette colours = palette();
    colours.setColor(QPalette::Base, colourFromRef(colour));
    setPalette(colours);
}

bool RichTextControl::canUndo() const {
    return document()->isUndoAvailable();
}

void RichTextControl::emptyUndoBuffer() {
    document()->clearUndoRedoStacks();
}

bool RichTextControl::isModified() const {
    return document()->isModified();
}

void RichTextControl::setModified(bool modified) {
    document()->setModified(modified);
}

QRect RichTextControl::formatRange(QPainter* painter, const QRect& layoutTwips) {
    formatted_ = std::make_unique<FormattedText>(*document(), defaultFormat(), layoutTwips);
    if (painter != nullptr) {
        const QRectF layout(QPointF(layoutTwips.topLeft()) / FormattedText::kTwipsPerPoint,
                            QSizeF(layoutTwips.size()) / FormattedText::kTwipsPerPoint);
        formatted_->draw(*painter, layout.topLeft(), layout);
    }
    return formatted_->usedTwips();
}

bool RichTextControl::displayBand(QPainter& painter, const QRect& band) const {
    if (!formatted_) {
        return false;
    }
    formatted_->draw(painter, band.topLeft(), band);
    return true;
}

void RichTextControl::dropCachedFormatting() {
    formatted_.reset();
}

bool RichTextControl::canInsertFromMimeData(const QMimeData* source) const {
    return source->hasFormat(kRtfMimeType) || QTextEdit::canInsertFromMimeData(source);
}

// QTextEdit's own data for a selection lists a fixed set of types, so its types are copied
// into plain mime data and RTF added beside them.
QMimeData* RichTextControl::createMimeDataFromSelection() const {
    const std::unique_ptr<QMimeData> standard(QTextEdit::createMimeDataFromSelection());
    auto* mime = new QMimeData;
    for (const QString& type : standard->formats()) {
        mime->setData(type, standard->data(type));
    }
    QTextDocument selected;
    QTextCursor(&selected).insertFragment(textCursor().selection());
    mime->setData(kRtfMimeType, writeRtf(selected, defaultFormat()));
    return mime;
}

// Rich text comes in as the characters and formats this control holds and nothing else.
void RichTextControl::insertFromMimeData(const QMimeData* source) {
    QTextDocument pasted;
    if (!readRichText(source, acceptRichText(), defaultFormat(), pasted)) {
        QTextEdit::insertFromMimeData(source);
        return;
    }
    QTextCursor cursor = textCursor();
    cursor.insertFragment(QTextDocumentFragment(&pasted));
    setTextCursor(cursor);
    ensureCursorVisible();
}

}  // namespace rova
