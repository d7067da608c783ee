#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QTextEdit>

#include <cstdint>

#include "CharacterFormat.h"
#include "RichTextDocument.h"

class QMimeData;
class QPainter;

namespace rova {

// The multi-line rich-text control in which a text player's text is shown and edited: a view
// of a RichTextDocument, which must outlive it. Besides QTextEdit's own editing (undo(), cut(),
// copy(), paste(), canPaste(), selectAll()) it offers the document's operations, which act on
// the document; copies carry the selection as RTF beside QTextEdit's own types, and pastes
// bring rich text in as characters and formats only.
//
// The control's caret and selection and the document's are kept in step both ways: a caret
// the user moves is the document's caret at once, and a selection set on the document shows
// here. The control shows the document's default format (as its font and text colour) and its
// background colour.
//
// textChanged() is the change notification: it comes after every edit, by the user or through
// the operations below.
class RichTextControl : public QTextEdit {
    Q_OBJECT

  public:
    using Selection = RichTextDocument::Selection;

    explicit RichTextControl(RichTextDocument& text, QWidget* parent = nullptr);
    ~RichTextControl() override;

    RichTextDocument& text() { return text_; }
    const RichTextDocument& text() const { return text_; }

    // ---- the document's operations (see RichTextDocument) ----
    bool streamOutPlainText(QByteArray& sink) const { return text_.streamOutPlainText(sink); }
    bool streamOutRtf(QByteArray& sink) const { return text_.streamOutRtf(sink); }
    bool streamIn(QByteArrayView rtf) { return text_.streamIn(rtf); }

    Selection selection() const { return text_.selection(); }
    void setSelection(int first, int last) { text_.setSelection(first, last); }
    QByteArray selectedText() const { return text_.selectedText(); }
    int textLength() const { return text_.textLength(); }

    CharacterFormat selectionFormat() const { return text_.selectionFormat(); }
    void setSelectionFormat(const CharacterFormat& format) { text_.setSelectionFormat(format); }
    CharacterFormat defaultFormat() const { return text_.defaultFormat(); }
    void setDefaultFormat(const CharacterFormat& format) { text_.setDefaultFormat(format); }
    void setBackgroundColour(std::uint32_t colour) { text_.setBackgroundColour(colour); }

    bool canUndo() const { return text_.canUndo(); }
    void emptyUndoBuffer() { text_.emptyUndoBuffer(); }
    bool isModified() const { return text_.isModified(); }
    void setModified(bool modified) { text_.setModified(modified); }

    QRect formatRange(QPainter* painter, const QRect& layoutTwips) {
        return text_.formatRange(painter, layoutTwips);
    }
    bool displayBand(QPainter& painter, const QRect& band) const {
        return text_.displayBand(painter, band);
    }
    void dropCachedFormatting() { text_.dropCachedFormatting(); }

  protected:
    bool canInsertFromMimeData(const QMimeData* source) const override;
    QMimeData* createMimeDataFromSelection() const override;
    void insertFromMimeData(const QMimeData* source) override;

  private:
    void showAppearance();
    void showCursor();
    void takeCursor();

    RichTextDocument& text_;
    // Set while the document's caret is being shown, so that the control does not hand it
    // straight back.
    bool showingCursor_ = false;
};

}  // namespace rova
