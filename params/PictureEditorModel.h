#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

#include <cstdint>
#include <span>
#include <string>

#include "ColourRef.h"
#include "EditedPicture.h"
#include "Picture.h"
#include "PictureRecord.h"

namespace rova {

class Command;
class RichTextDocument;

// Told by the picture editor of every change of its content: a new source picture, a rebuilt or
// edited working picture, a cleared picture.
class PictureEditorOwner {
  public:
    virtual ~PictureEditorOwner() = default;
    virtual void pictureContentChanged() = 0;
};

// What the window showing the editor has to do after operations on it. Operations accumulate
// into one pending update; the window takes it (takeUpdate) and applies it in this order:
// scroll its content by `scrolledBy` pixels, update the scroll bar from the model when
// `scrollBarChanged`, repaint `dirty`.
struct PictureEditorUpdate {
    // Client rectangle to repaint, the union of everything invalidated; empty when nothing is.
    // A whole-control invalidation is the whole client rectangle.
    QRect dirty;
    // Pixels the shown content moved vertically (positive: down, as when scrolling up). A
    // rectangle invalidated before the scroll has been moved with the content.
    int scrolledBy = 0;
    // The scroll bar's range, page, position or enabled state may have changed.
    bool scrollBarChanged = false;

    bool isEmpty() const { return dirty.isEmpty() && scrolledBy == 0 && !scrollBarChanged; }
};

// Mouse-key flags handed to the pen routine, the values of the desktop's mouse messages.
namespace mouse_key {
inline constexpr unsigned Left = 0x01;
inline constexpr unsigned Right = 0x02;
inline constexpr unsigned Shift = 0x04;
inline constexpr unsigned Control = 0x08;
inline constexpr unsigned Middle = 0x10;
}  // namespace mouse_key

// The requests of the vertical scroll bar.
enum class ScrollRequest { LineUp, LineDown, PageUp, PageDown, Thumb, Top, Bottom, EndScroll };

// The Set Picture dialog's three ways of setting the working picture.
enum class SetPictureFunction { SetTo, Resize, Scale };

// The picture editor without its window: everything of the control but the pixels on a screen.
//
// It keeps two pictures. The source picture is the full-resolution picture last loaded, pasted
// or restored; the working picture is the source stretched to the current number of rows, a lamp
// picture, and is what is shown, edited and handed to the players. As soon as the working
// picture is edited the source is dropped: the edited picture becomes the truth and a later
// change of rows rescales it instead. Whenever new pixels arrive in the source picture it sets
// flag bit 0 (PictureState::kRescaledView) and rebuilds the working picture; every edit clears
// the bit.
//
// Screen coordinates are client coordinates of the window, set through setClientSize. Picture
// coordinates are columns and rows of the working picture. The model never paints: every
// operation records what must be repainted in the pending update (see PictureEditorUpdate).
//
// The owner, when there is one, is notified of every content change. Without an owner and
// without a client size the model is the windowless stand-in used for playing sequences: it
// restores a command's picture and offers the working picture.
class PictureEditorModel final : public EditedPicture {
  public:
    static constexpr int kMinZoom = 1;
    static constexpr int kMaxZoom = 10;
    // The pen colour of a new editor: red.
    static constexpr ColourRef kInitialPenColour = 0x0000FF;
    // Rows given to a picture that is loaded or pasted: its height, but no more than the lamps.
    static constexpr int kMaxLoadedRows = 16;
    // The side of the fresh black picture made by ensurePicture and by a failed restore.
    static constexpr int kFreshSide = 16;

    explicit PictureEditorModel(PictureEditorOwner* owner = nullptr);
    ~PictureEditorModel() override;
    PictureEditorModel(const PictureEditorModel&) = delete;
    PictureEditorModel& operator=(const PictureEditorModel&) = delete;

    void setOwner(PictureEditorOwner* owner) { owner_ = owner; }

    // ---- state ----
    // The full-resolution picture, empty once the working picture has been edited.
    const Picture& sourcePicture() const;
    // EditedPicture: a lamp picture rows() rows high, or an empty picture.
    const Picture& workingPicture() const override { return working_; }
    // The source picture when it has a width, else the working picture: what is saved, copied
    // to the clipboard and stored in the content record.
    const Picture& currentPicture() const;
    // The path of the picture file last loaded or saved; empty after a paste, Copy Text or Set to.
    const QString& fileName() const { return fileName_; }
    // The state block stored with the content: flags and rows.
    const PictureState& state() const { return state_; }
    int rows() const override { return state_.rows; }
    int zoom() const { return zoom_; }
    ColourRef penColour() const { return penColour_; }
    void setPenColour(ColourRef colour) { penColour_ = colour; }

    // ---- layout ----
    QSize clientSize() const { return clientSize_; }
    // The window's client size changed: layout, whole control invalidated.
    void setClientSize(QSize size);
    // Client coordinates of the picture's top-left corner when not scrolled.
    int leftOffset() const { return leftOffset_; }
    int topOffset() const { return topOffset_; }
    // The first visible row.
    int scrollPosition() const { return scrollPosition_; }
    // Rows that fit in the client height at the zoom, at least 1.
    int visibleRows() const { return visibleRows_; }
    // The scroll bar's range is 0 to this, its page visibleRows(), its position
    // scrollPosition().
    int maximumScrollPosition() const { return maximumScrollPosition_; }
    // False when all rows are visible: the scroll bar is then shown disabled.
    bool canScroll() const { return state_.rows > visibleRows_; }
    // Where the working picture is drawn, magnified, in client coordinates (scrolled).
    QRect pictureScreenRect() const;
    // Maps a rectangle of picture coordinates to client coordinates (scrolled).
    QRect screenRectOf(const QRect& pictureRect) const;
    // The part of wheel movement not yet turned into rows.
    int wheelRemainder() const { return wheelRemainder_; }

    // The pending update, and taking it (which clears it).
    const PictureEditorUpdate& pendingUpdate() const { return update_; }
    PictureEditorUpdate takeUpdate();

    // ---- rows, zoom, rebuild ----
    // If n differs from rows: rows := n, rebuild, fit zoom.
    void setRows(int rows);
    // The size commands' Increase / Decrease Pointsize: rows + delta, as long as it stays
    // above 0.
    void changeRows(int delta);
    // Clamps z to 1..10; if it differs from the zoom: zoom := z, layout, whole control
    // invalidated.
    void setZoom(int zoom);
    // setZoom(client height / rows).
    void fitZoom();
    void zoomIn() { setZoom(zoom_ + 1); }
    void zoomOut() { setZoom(zoom_ - 1); }
    // Makes the working picture from the source: the source stretched to rows rows, its width
    // scaled alike and rounded to the nearest column, colours mapped to the nearest lamp colour.
    // With no source the working picture itself is rescaled when rows changed. Whole control
    // invalidated, owner notified.
    void rebuild();
    // Recomputes visible rows, maximum scroll position, scroll position and offsets from the
    // client size, zoom, rows and picture width; marks the scroll bar changed when its range,
    // page, position or enabled state moved.
    void layout();

    // ---- edits ----
    // After an edit of the working picture: drops the source picture, clears flag bit 0,
    // invalidates the given picture rectangle mapped to the screen (or the whole control) and
    // notifies the owner.
    void commit(const QRect& pictureRect);
    void commit();
    // If the working picture is empty: a black 16 × 16 lamp picture, 16 rows, committed.
    void ensurePicture();

    // EditedPicture: takes a command's picture content: its file name, state block and bitmap,
    // which becomes the source picture, rebuilt at the stored rows. When the bitmap cannot be
    // loaded the editor is set to a black 16 × 16 picture (as Set to does, zoom fitted) and the
    // result is false. A restored picture leaves the zoom alone.
    bool restore(const Command& command) override;
    // Makes the current picture, the file name and the state block the command's content.
    // False, with the content cleared, when there is no picture or memory runs out.
    bool takeContent(Command& command) const;

    // Load: a ".bmp" file read through the codec into the source picture. On success the file
    // name becomes the path, rows the smaller of the picture's height and 16, the owner is
    // notified and the zoom fitted. On failure the source picture is left empty and the
    // working picture unchanged.
    bool loadFile(const QString& path);
    // Load of a picture decoded elsewhere (any image format): taken over (left empty), then as
    // loadFile. An empty picture fails.
    bool loadPicture(Picture& decoded, const QString& path);
    // Save As: saves the current picture as a ".bmp" file; on success the file name becomes the
    // path.
    bool saveFile(const QString& path);

    // Auto-Crop: the current picture stretched to the rows, cropped to its lit lamps, becomes the
    // working picture; rows := its height; committed. False, changing nothing, when no lamp is
    // lit.
    bool autoCrop();
    // Copy Text: the text rendered at 1:1 and cropped to its lit lamps becomes the working
    // picture; file name cleared; rows := its height; committed. False, changing nothing, when
    // the text lights no lamp.
    bool copyText(const RichTextDocument& text);
    // Invert: lamp index i becomes 7 − i in the working picture; committed.
    bool invert();

    // Cut without the clipboard (the window copies currentPicture() first): the working
    // picture's pixels set to 0 (black), committed.
    bool cut();
    // Paste of a packed bitmap (header, colour table, pixels), as the clipboard holds it: loaded
    // into the source picture; on success the file name is cleared, rows := the smaller of its
    // height and 16, the owner notified, the zoom fitted.
    bool pastePacked(std::span<const std::uint8_t> block);
    // Paste of a picture decoded elsewhere: taken over (left empty), then as pastePacked.
    bool pastePicture(Picture& decoded);

    // The Set Picture dialog's apply, w and h at least 1: Set to makes a w × h lamp picture
    // filled with the colour's nearest lamp colour and clears the file name; Resize puts the
    // working picture's centre 1:1 on a w × h picture of the colour; Scale stretches it to
    // w × h. Then rows := h (without a rebuild), committed, zoom fitted. False, changing nothing,
    // when the picture operation fails.
    bool applySetPicture(SetPictureFunction function, int width, int height, ColourRef colour);

    // ---- scrolling ----
    // Scrolls so that the first visible row is n, within 0..max(rows − visible rows, 0).
    void scrollToRow(int row);
    // A scroll bar request; `thumbPosition` is used by Thumb.
    void scrollRequest(ScrollRequest request, int thumbPosition = 0);
    // A wheel movement of `delta` (120 per notch). Shift scrolls to the top or bottom; Ctrl or
    // page mode scrolls by a page; otherwise `linesPerNotch` rows per notch, fractions kept in
    // the wheel remainder.
    void wheel(int delta, bool shift, bool ctrl, int linesPerNotch, bool pageMode);

    // ---- pen ----
    // The pen routine, for every mouse move and the presses and releases below: maps the point
    // to a column and row; with the left or right button among `keys` draws a line from the
    // last point to it and sets its pixel (right button black, else the pen colour with the
    // text White drawn as lamp white), constrained to the anchor's row or column with Shift,
    // and commits the rectangle touched. Returns whether the point lies on the picture (the
    // window then shows a cross-hair cursor).
    bool pen(unsigned keys, QPoint point);
    // A button press: starts a new stroke at the point. The middle button alone draws nothing.
    bool press(unsigned keys, QPoint point);
    // A button release: joins the point to the stroke with the stroke's flags, then ends it.
    bool release(QPoint point);
    // The mouse-key flags of the stroke in progress, 0 when none; its first and last points.
    unsigned strokeFlags() const { return strokeFlags_; }
    QPoint strokeAnchor() const { return anchor_; }
    QPoint lastPoint() const { return lastPoint_; }

    // The text rendered at 1:1 and cropped to its lit lamps into `target` (a lamp picture), as
    // Copy Text makes it. False, with `target` as it was, when the text lights no lamp.
    static bool textPicture(const RichTextDocument& text, Picture& target);

  private:
    // The source picture: new pixels set flag bit 0 and rebuild the working picture.
    class SourcePicture final : public Picture {
      public:
        explicit SourcePicture(PictureEditorModel& model) : model_(model) {}

      protected:
        bool changed(bool pixelsLoaded) override;

      private:
        PictureEditorModel& model_;
    };

    // What load and paste share once new pixels are in the source picture.
    bool sourceArrived(bool loaded, const QString& fileName);
    void notifyOwner();
    void invalidate(const QRect& screenRect);
    void invalidateAll();

    PictureEditorOwner* owner_ = nullptr;
    SourcePicture source_;
    Picture working_;
    QString fileName_;
    PictureState state_;
    int zoom_ = kMinZoom;
    ColourRef penColour_ = kInitialPenColour;

    QSize clientSize_;
    int leftOffset_ = 0;
    int topOffset_ = 0;
    int scrollPosition_ = 0;
    int visibleRows_ = 1;
    int maximumScrollPosition_ = 0;
    int wheelRemainder_ = 0;

    unsigned strokeFlags_ = 0;
    QPoint anchor_;
    QPoint lastPoint_;

    PictureEditorUpdate update_;
};

}  // namespace rova
