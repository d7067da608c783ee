#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QColor>
#include <QObject>
#include <QRect>
#include <QTextCursor>
#include <QTextDocument>

#include <cstdint>
#include <memory>

#include "CharacterFormat.h"

class QPainter;

namespace rova {

class FormattedText;

// The text a text player shows, without any window: per character a face, a size, bold,
// italic, underline and a colour, the caret and selection, and the default format. It offers
// the operations the rest of the program relies on: streaming the text out and in, selections
// in character positions, character formats with masks of uniform attributes, the default
// format, and laying the text out onto other painters. The rich-text control (RichTextControl)
// shows one of these on screen and edits it.
//
// Character positions count UTF-16 units, and each paragraph break counts as one character.
// 8-bit text is Windows-1252, one byte per position ('?' for characters outside the code page).
//
// The default character format is the format of text that has no format of its own, and so
// the format new text takes in an empty document. Its colour is also the colour of streamed-in
// text that names no colour. It starts as the application font in black.
class RichTextDocument : public QObject {
    Q_OBJECT

  public:
    // A range of character positions: [first, last).
    struct Selection {
        int first = 0;
        int last = 0;
        friend bool operator==(const Selection&, const Selection&) = default;
    };

    explicit RichTextDocument(QObject* parent = nullptr);
    ~RichTextDocument() override;

    // The text itself. Edits made on it directly come through contentsChanged() as well.
    QTextDocument& document() { return document_; }
    const QTextDocument& document() const { return document_; }

    // The caret and the selection (its anchor and position), with the format text typed at
    // the caret takes. A view that moves its own caret hands it over here; that emits no
    // cursorChanged().
    const QTextCursor& cursor() const { return cursor_; }
    void setCursor(const QTextCursor& cursor);

    // ---- streams ----
    // Appends the whole text to `sink`, paragraphs separated by CR LF. False, with the sink
    // as it was, when memory runs out.
    bool streamOutPlainText(QByteArray& sink) const;
    // Appends the whole text as RTF (see writeRtf()) to `sink`. False as above.
    bool streamOutRtf(QByteArray& sink) const;
    // Replaces the whole content with the text of an RTF stream (see readRtf()), the caret at
    // the start, the undo history emptied and the modified flag cleared. False, with the
    // document empty, when the stream is refused.
    bool streamIn(QByteArrayView rtf);
    // Removes all text, the undo history and the modified flag. Text typed next still takes
    // the format it would have taken at the caret before.
    void clear();

    // ---- selection and text ----
    Selection selection() const;
    // Selects [first, last), the caret at `last`; both are limited to the text. A negative
    // `last` stands for the end of the text, so (0, -1) selects everything; a negative
    // `first` removes the selection and leaves the caret where it is.
    void setSelection(int first, int last);
    // The selected text as 8-bit characters; a paragraph break is CR, a line break VT.
    QByteArray selectedText() const;
    int textLength() const;

    // ---- character formats ----
    // The format of the selection, with the attributes that are the same over all of it in
    // its mask (see commonFormat()). With nothing selected, the full format new text typed at
    // the caret would take.
    CharacterFormat selectionFormat() const;
    // Applies the attributes named in `format.mask` to the selection, or, with nothing
    // selected, to the text typed next at the caret. Undoable.
    void setSelectionFormat(const CharacterFormat& format);
    CharacterFormat defaultFormat() const;
    // Changes the attributes named in `format.mask` of the default format.
    void setDefaultFormat(const CharacterFormat& format);
    // The colour the text is shown on; invalid until one is set.
    QColor backgroundColour() const { return background_; }
    void setBackgroundColour(std::uint32_t colour);

    // ---- edit state ----
    bool canUndo() const;
    void emptyUndoBuffer();
    bool isModified() const;
    void setModified(bool modified);

    // ---- laying the text out onto other painters (see FormattedText) ----
    // Lays the whole text out at 72 dots per inch inside `layoutTwips` and keeps that layout
    // for displayBand(). With a painter, also draws it there, its top left at the rectangle's
    // top left divided by 20, in the painter's units. Returns the part of the rectangle the
    // text takes, in twips (FormattedText::usedTwips()).
    QRect formatRange(QPainter* painter, const QRect& layoutTwips);
    // Draws the text laid out by the last formatRange() with its top left at the band's,
    // clipped to it, in the painter's units. False when there is no such layout.
    bool displayBand(QPainter& painter, const QRect& band) const;
    // Forgets the layout kept by formatRange().
    void dropCachedFormatting();

  signals:
    // After every edit, through the operations here, through document() or in a view.
    void contentsChanged();
    // An operation here moved the caret or the selection, or changed the format of the text
    // typed next.
    void cursorChanged();
    // The default format or the background colour changed.
    void appearanceChanged();

  private:
    QTextDocument document_;
    QTextCursor cursor_;
    QColor textColour_;
    QColor background_;
    std::unique_ptr<FormattedText> formatted_;
    bool clearing_ = false;
};

}  // namespace rova
