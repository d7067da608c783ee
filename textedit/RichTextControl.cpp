#include "RichTextControl.h"

#include <QMimeData>
#include <QScopedValueRollback>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>

#include <memory>

#include "RtfReader.h"
#include "RtfWriter.h"

namespace rova {

namespace {

// The clipboard type of RTF. Copies carry it beside QTextEdit's own types; pastes prefer it.
constexpr char kRtfMimeType[] = "text/rtf";

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

}  // namespace

RichTextControl::RichTextControl(RichTextDocument& text, QWidget* parent)
    : QTextEdit(parent), text_(text) {
    setDocument(&text_.document());
    setTabStopDistance(logicalDpiX() / 2.0);
    showAppearance();
    showCursor();
    connect(&text_, &RichTextDocument::appearanceChanged, this, &RichTextControl::showAppearance);
    connect(&text_, &RichTextDocument::cursorChanged, this, &RichTextControl::showCursor);
    connect(this, &QTextEdit::cursorPositionChanged, this, &RichTextControl::takeCursor);
    connect(this, &QTextEdit::selectionChanged, this, &RichTextControl::takeCursor);
    connect(this, &QTextEdit::currentCharFormatChanged, this, &RichTextControl::takeCursor);
}

RichTextControl::~RichTextControl() = default;

// The widget's font is the document's default font: QTextEdit gives the document the widget's
// font whenever that changes, and a font set on the widget stays when the application's font
// changes.
void RichTextControl::showAppearance() {
    setFont(text_.document().defaultFont());
    QPalette colours = palette();
    colours.setColor(QPalette::Text, colourFromRef(text_.defaultFormat().colour));
    if (text_.backgroundColour().isValid()) {
        colours.setColor(QPalette::Base, text_.backgroundColour());
    }
    setPalette(colours);
}

void RichTextControl::showCursor() {
    const QScopedValueRollback showing(showingCursor_, true);
    setTextCursor(text_.cursor());
}

void RichTextControl::takeCursor() {
    if (!showingCursor_) {
        text_.setCursor(textCursor());
    }
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

// Rich text comes in as the characters and formats the document holds and nothing else.
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
