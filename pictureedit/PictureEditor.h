#pragma once

#include <QAbstractScrollArea>
#include <QImage>

#include <functional>

#include "FilePrompt.h"
#include "PictureClipboard.h"
#include "PictureEditorModel.h"
#include "PictureImageFile.h"
#include "SetPictureDialog.h"

class QDialog;

namespace rova {

class QuestionPrompt;
class RichTextDocument;

// The picture editor control: a window over a PictureEditorModel that shows the working
// picture magnified, lets the user draw on it with the mouse, and scrolls it with a vertical
// scroll bar that stays visible, disabled when every row is in view.
//
// The model decides everything; the control hands it the mouse, wheel and scroll-bar input and
// its client size, and after each operation carries out the update the model reports: it
// scrolls its backing image, sets the scroll bar and repaints the dirty rectangle into the
// backing image, of which only that rectangle reaches the screen. A cross-hair cursor shows
// over the picture.
//
// The eight operations of the editor's buttons are functions here; the form that hosts the
// control gives them their buttons. Their file dialogs go through FilePrompt, their messages
// through the question prompt.
class PictureEditor : public QAbstractScrollArea {
    Q_OBJECT

  public:
    // The filters of the two file dialogs: any picture the editor reads, and bitmaps only.
    static const QString kLoadFilter;
    static const QString kSaveFilter;

    // Runs a modal dialog and returns its result code; exec() unless tests script it.
    using RunDialog = std::function<int(QDialog&)>;

    // `showFile` shows the file dialogs (QFileDialog when empty); `choice` is the Set Picture
    // dialog's remembered choice (the application's when null).
    explicit PictureEditor(QuestionPrompt& prompt, FilePrompt::ShowDialog showFile = {},
                           SetPictureChoice* choice = nullptr, QWidget* parent = nullptr);
    ~PictureEditor() override;

    PictureEditorModel& model() { return model_; }
    const PictureEditorModel& model() const { return model_; }

    // Carries out what the model reports after an operation done on it directly.
    void applyModelUpdate();

    // ---- the buttons ----
    // "Load...": a picture file (BMP, PNG, JPEG or GIF) chosen in the "Load Picture" dialog.
    // A failed load's message names the file and the reason; a cancelled one has no message.
    PictureLoad load();
    // "Save As...": the current picture saved as a ".bmp" file chosen in the "Save Picture"
    // dialog, replacing the file only once it is complete. False when cancelled or failed.
    bool saveAs();
    // "Set...": the Set Picture dialog, applied when confirmed. False when cancelled or failed.
    bool setPicture();
    bool autoCrop();
    // "Copy Text": the text becomes the picture.
    bool copyText(const RichTextDocument& text);
    bool invert();
    void zoomIn();
    void zoomOut();

    // ---- the edit commands ----
    bool copy();
    bool cut();
    bool paste();
    bool canPaste() const;

    // The image the control shows, as it stands: the grey ground and the magnified picture.
    const QImage& backingImage() const { return backing_; }
    // How the modal Set Picture dialog runs.
    void setDialogRunner(RunDialog run) { runDialog_ = std::move(run); }

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    // The model scrolls; the scroll bar only reports requests.
    void scrollContentsBy(int dx, int dy) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void scrollBarAction(int action);
    void syncScrollBar();
    void scrollBacking(int pixels);
    void render(const QRect& rect);
    void showCursor(bool onPicture);

    PictureEditorModel model_;
    QuestionPrompt& prompt_;
    FilePrompt loadPrompt_;
    FilePrompt savePrompt_;
    SetPictureChoice* choice_;
    RunDialog runDialog_;
    PictureClipboard clipboard_;
    QImage backing_;
};

}  // namespace rova
