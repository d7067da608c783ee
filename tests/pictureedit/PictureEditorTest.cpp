// The picture editor control on its model: mouse, wheel and scroll bar reach the model at the
// right picture coordinates, the control shows what the model holds, and the buttons' file
// dialogs, Set Picture dialog and clipboard commands do their part.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <memory>

#include "AnsweringPrompt.h"
#include "BmpCodec.h"
#include "NamedWidget.h"
#include "PictureEditor.h"
#include "PictureValues.h"
#include "QtApplicationTest.h"
#include "ScriptedDialog.h"

namespace rova::test {
namespace {

using Rows = std::vector<std::vector<std::uint32_t>>;

constexpr unsigned kRed = 4;  // lamp index of the initial pen colour
constexpr QRgb kGround = 0x808080;

class PictureEditorTest : public QtApplicationTest {
  protected:
    void SetUp() override {
        QApplication::setWheelScrollLines(3);
        editor_ = std::make_unique<PictureEditor>(prompt_, dialog_.show(), &choice_);
        editor_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(editor_.get()));
        model().ensurePicture();
        editor_->applyModelUpdate();
    }

    PictureEditorModel& model() { return editor_->model(); }
    QWidget* viewport() { return editor_->viewport(); }

    // Sizes the editor so that its client area (the viewport) has the size, then fits the zoom.
    void setClientSize(QSize client) {
        editor_->resize(client + editor_->size() - viewport()->size());
        ASSERT_EQ(viewport()->size(), client);
        model().fitZoom();
        editor_->applyModelUpdate();
    }

    // The centre of a picture cell on the screen, as the model lays the picture out.
    QPoint cellCentre(int column, int row) {
        return model().screenRectOf(QRect(column, row, 1, 1)).center();
    }

    void stroke(Qt::MouseButton button, QPoint from, QPoint to) {
        QTest::mousePress(viewport(), button, {}, cellCentre(from.x(), from.y()));
        QTest::mouseMove(viewport(), cellCentre((from.x() + to.x()) / 2, (from.y() + to.y()) / 2));
        QTest::mouseMove(viewport(), cellCentre(to.x(), to.y()));
        QTest::mouseRelease(viewport(), button, {}, cellCentre(to.x(), to.y()));
    }

    void wheel(int delta) {
        const QPointF at = cellCentre(0, model().scrollPosition());
        QWheelEvent event(at, viewport()->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton,
                          Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(viewport(), &event);
    }

    // The control shows the model: every visible cell in its lamp colour, grey around.
    void expectShowsModel() {
        const QImage& shown = editor_->backingImage();
        ASSERT_EQ(shown.size(), viewport()->size());
        const Picture& picture = model().workingPicture();
        int checked = 0;
        for (int row = 0; row < picture.height(); ++row) {
            for (int column = 0; column < picture.width(); ++column) {
                const QPoint at = cellCentre(column, row);
                if (!shown.rect().contains(at)) {
                    continue;
                }
                const QRgb expected = rgbOf(lampEntry(picture.pixelValue(column, row)));
                ASSERT_EQ(shown.pixel(at) & 0xFFFFFF, expected & 0xFFFFFF)
                    << "cell " << column << ", " << row;
                ++checked;
            }
        }
        EXPECT_GT(checked, 0);
        const QRect drawn = model().pictureScreenRect();
        if (drawn.left() > 0) {
            EXPECT_EQ(shown.pixel(0, shown.height() / 2) & 0xFFFFFF, kGround);
        }
    }

    static Rows blackWith(std::initializer_list<QPoint> cells, unsigned value) {
        Rows rows(16, std::vector<std::uint32_t>(16, 0));
        for (const QPoint cell : cells) {
            rows[static_cast<std::size_t>(cell.y())][static_cast<std::size_t>(cell.x())] = value;
        }
        return rows;
    }

    AnsweringPrompt prompt_;
    ScriptedDialog dialog_;
    SetPictureChoice choice_;
    std::unique_ptr<PictureEditor> editor_;
};

// A stroke over the screen cells (2, 3) to (5, 3) draws those picture cells whatever the zoom;
// with the picture scrolled by one row it draws one row further down.
TEST_F(PictureEditorTest, MouseStrokesReachTheModelAtPictureCoordinates) {
    const struct {
        const char* name;
        int zoom;
        int wheelDelta;  // 0: not scrolled
        int scrolled;
    } cases[] = {{"zoom 1", 1, 0, 0}, {"zoom 7", 7, 0, 0}, {"zoom 8 scrolled", 8, -120, 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(model().applySetPicture(SetPictureFunction::SetTo, 16, 16, 0));
        setClientSize({200, 120});
        EXPECT_EQ(model().zoom(), 7);
        model().setZoom(c.zoom);
        editor_->applyModelUpdate();
        if (c.wheelDelta != 0) {
            wheel(c.wheelDelta);
        }
        ASSERT_EQ(model().scrollPosition(), c.scrolled);

        // The middle of the screen cell at (column, row) from the picture's top-left corner.
        const auto screenCell = [this, &c](int column, int row) {
            return QPoint(model().leftOffset() + column * c.zoom + c.zoom / 2,
                          model().topOffset() + row * c.zoom + c.zoom / 2);
        };
        QTest::mousePress(viewport(), Qt::LeftButton, {}, screenCell(2, 3));
        QTest::mouseMove(viewport(), screenCell(3, 3));
        QTest::mouseMove(viewport(), screenCell(5, 3));
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, screenCell(5, 3));
        const int row = 3 + c.scrolled;
        EXPECT_EQ(valuesOf(model().workingPicture()),
                  blackWith({{2, row}, {3, row}, {4, row}, {5, row}}, kRed));
        expectShowsModel();
    }
}

TEST_F(PictureEditorTest, RightButtonDrawsBlackAndDoubleClicksDrawNothing) {
    ASSERT_TRUE(model().applySetPicture(SetPictureFunction::SetTo, 16, 16, 0xE0E0E0));
    setClientSize({200, 160});
    stroke(Qt::RightButton, {1, 1}, {1, 4});
    Rows expected(16, std::vector<std::uint32_t>(16, 7));
    for (int row = 1; row <= 4; ++row) {
        expected[static_cast<std::size_t>(row)][1] = 0;
    }
    EXPECT_EQ(valuesOf(model().workingPicture()), expected);

    const QPointF at = cellCentre(9, 9);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport(), &doubleClick);
    EXPECT_EQ(valuesOf(model().workingPicture()), expected);
    EXPECT_EQ(model().strokeFlags(), 0u);
    expectShowsModel();
}

TEST_F(PictureEditorTest, CrossHairShowsOverThePictureOnly) {
    setClientSize({200, 120});
    QTest::mouseMove(viewport(), cellCentre(4, 4));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::CrossCursor);
    QTest::mouseMove(viewport(), QPoint(2, 60));
    EXPECT_EQ(viewport()->cursor().shape(), Qt::ArrowCursor);
    EXPECT_EQ(valuesOf(model().workingPicture()), blackWith({}, 0));
}

// 16 rows at zoom 10 in 60 pixels: 6 rows show. Three notches of 40 with 3 lines per notch
// scroll one row each; the scroll bar follows, and the shifted image matches the model.
TEST_F(PictureEditorTest, WheelAndScrollBarScrollThroughTheModel) {
    // Rows of different colours, so that a row shown in the wrong place shows.
    Rows stripes;
    for (unsigned row = 0; row < 16; ++row) {
        stripes.push_back(std::vector<std::uint32_t>(16, row % 8));
    }
    Picture striped;
    makeLamp(striped, stripes);
    ASSERT_TRUE(model().pastePicture(striped));
    setClientSize({240, 60});
    model().setZoom(10);
    editor_->applyModelUpdate();
    ASSERT_EQ(valuesOf(model().workingPicture()), stripes);
    QScrollBar* bar = editor_->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->maximum(), 10);
    EXPECT_EQ(bar->pageStep(), 6);

    for (int notch = 1; notch <= 3; ++notch) {
        wheel(-40);
        EXPECT_EQ(model().scrollPosition(), notch);
        EXPECT_EQ(bar->value(), notch);
        expectShowsModel();
    }
    bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
    EXPECT_EQ(model().scrollPosition(), 8);
    bar->triggerAction(QAbstractSlider::SliderToMaximum);
    EXPECT_EQ(model().scrollPosition(), 10);
    EXPECT_EQ(bar->value(), 10);
    expectShowsModel();
    bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(bar->value(), 9);
    expectShowsModel();

    // All rows in view: the bar stays, disabled.
    setClientSize({240, 200});
    EXPECT_TRUE(bar->isVisible());
    EXPECT_FALSE(bar->isEnabled());
    expectShowsModel();
}

TEST_F(PictureEditorTest, LoadAndSaveGoThroughTheFileDialogs) {
    QTemporaryDir folder;
    Picture lamp;
    makeLamp(lamp, {{1, 2, 3, 4}, {5, 6, 7, 0}});
    const QString bitmap = folder.filePath("two.bmp");
    ASSERT_TRUE(saveBmpFile(lamp, bitmap));
    const QString png = QStringLiteral(ROVA_IMAGE_SAMPLES "/rgb_4x3.png");

    dialog_.choices = {FilePrompt::DialogResult{{png}, 0},
                       FilePrompt::DialogResult{{folder.filePath("missing.gif")}, 0},
                       FilePrompt::DialogResult{{bitmap}, 1}};
    EXPECT_TRUE(editor_->load());
    EXPECT_EQ(model().fileName(), png);
    EXPECT_EQ(model().rows(), 3);
    const PictureLoad failed = editor_->load();
    EXPECT_FALSE(failed);
    EXPECT_TRUE(failed.message.contains(folder.filePath("missing.gif")));
    EXPECT_TRUE(editor_->load());
    EXPECT_EQ(valuesOf(model().workingPicture()), valuesOf(lamp));
    ASSERT_EQ(dialog_.requests.size(), 3u);
    EXPECT_EQ(dialog_.requests[0].title, "Load Picture");
    EXPECT_EQ(dialog_.requests[0].mode, FilePrompt::Mode::OpenExistingFile);
    EXPECT_EQ(dialog_.requests[0].filters,
              (QStringList{"Pictures (*.bmp *.png *.jpg *.jpeg *.gif)", "Bitmap Files (*.bmp)"}));
    EXPECT_TRUE(prompt_.messages.isEmpty());

    // Save As proposes the name of the file and adds the extension.
    dialog_.choices = {FilePrompt::DialogResult{{folder.filePath("copy")}, 0}};
    EXPECT_TRUE(editor_->saveAs());
    EXPECT_EQ(dialog_.requests.back().title, "Save Picture");
    EXPECT_EQ(dialog_.requests.back().initialPath, "two.bmp");
    EXPECT_EQ(dialog_.requests.back().filters, QStringList{"Bitmap Files (*.bmp)"});
    EXPECT_EQ(model().fileName(), folder.filePath("copy.bmp"));
    Picture saved;
    ASSERT_TRUE(loadBmpFile(saved, folder.filePath("copy.bmp"), true));
    EXPECT_EQ(valuesOf(saved), valuesOf(lamp));
}

TEST_F(PictureEditorTest, SetOpensTheDialogOnTheWorkingPictureAndAppliesIt) {
    setClientSize({200, 120});
    QString shownWidth;
    editor_->setDialogRunner([&shownWidth](QDialog& dialog) {
        shownWidth = named<QLineEdit>(dialog, "Width:")->text();
        named<QLineEdit>(dialog, "Width:")->setText("20");
        named<QLineEdit>(dialog, "Height:")->setText("24");
        named<QRadioButton>(dialog, "Set to...")->click();
        named<QComboBox>(dialog, "Colour")->setCurrentIndex(6);
        named<QPushButton>(dialog, "OK")->click();
        return dialog.result();
    });
    ASSERT_TRUE(editor_->setPicture());
    EXPECT_EQ(shownWidth, "16");
    EXPECT_EQ(model().rows(), 24);
    EXPECT_EQ(valuesOf(model().workingPicture()), Rows(24, std::vector<std::uint32_t>(20, 6)));
    EXPECT_EQ(choice_.colourIndex, 6);
    EXPECT_EQ(model().zoom(), 5);
    expectShowsModel();

    editor_->setDialogRunner([](QDialog& dialog) {
        named<QPushButton>(dialog, "Cancel")->click();
        return dialog.result();
    });
    EXPECT_FALSE(editor_->setPicture());
    EXPECT_EQ(model().rows(), 24);
}

TEST_F(PictureEditorTest, CopyThenPasteRestoresThePicture) {
    setClientSize({200, 120});
    stroke(Qt::LeftButton, {0, 0}, {15, 15});
    const Rows drawn = valuesOf(model().workingPicture());
    ASSERT_TRUE(editor_->copy());
    ASSERT_TRUE(editor_->cut());
    EXPECT_EQ(valuesOf(model().workingPicture()), blackWith({}, 0));
    ASSERT_TRUE(editor_->canPaste());
    ASSERT_TRUE(editor_->paste());
    EXPECT_EQ(valuesOf(model().workingPicture()), drawn);
    EXPECT_TRUE(model().fileName().isEmpty());
    expectShowsModel();
}

}  // namespace
}  // namespace rova::test
