// The picture editor control on its model: mouse, wheel and scroll bar reach the model at the
// right picture coordinates, the control shows what the model holds, and the buttons' file
// dialogs, Set Picture dialog and clipboard commands do their part. Also the clipboard and the
// Set Picture dialog on their own.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QMimeData>
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
#include "PictureClipboard.h"
#include "PictureEditor.h"
#include "PictureValues.h"
#include "QtApplicationTest.h"
#include "ScriptedDialog.h"
#include "SetPictureDialog.h"

namespace rova::test {
namespace {

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
    Rows values() { return valuesOf(model().workingPicture()); }

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

    // The control shows the model: every visible cell in its lamp colour, grey left of it.
    void expectShowsModel() {
        const QImage& shown = editor_->backingImage();
        ASSERT_EQ(shown.size(), viewport()->size());
        const Picture& picture = model().workingPicture();
        int checked = 0;
        for (int row = 0; row < picture.height(); ++row) {
            for (int column = 0; column < picture.width(); ++column) {
                if (const QPoint at = cellCentre(column, row); shown.rect().contains(at)) {
                    ASSERT_EQ(shown.pixel(at) & 0xFFFFFF,
                              rgbOf(lampEntry(picture.pixelValue(column, row))) & 0xFFFFFF)
                        << "cell " << column << ", " << row;
                    ++checked;
                }
            }
        }
        EXPECT_GT(checked, 0);
        if (model().pictureScreenRect().left() > 0) {
            EXPECT_EQ(shown.pixel(0, shown.height() / 2) & 0xFFFFFF, kGround);
        }
    }

    // 16 × 16 black cells, those listed of `value`.
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
    for (const auto& [zoom, wheelDelta, scrolled] :
         {std::tuple{1, 0, 0}, {7, 0, 0}, {8, -120, 1}}) {
        SCOPED_TRACE(zoom);
        ASSERT_TRUE(model().applySetPicture(SetPictureFunction::SetTo, 16, 16, 0));
        setClientSize({200, 120});
        EXPECT_EQ(model().zoom(), 7);
        model().setZoom(zoom);
        editor_->applyModelUpdate();
        if (wheelDelta != 0) {
            wheel(wheelDelta);
        }
        ASSERT_EQ(model().scrollPosition(), scrolled);
        // The middle of the screen cell at (column, 3) from the picture's top-left corner.
        const int cell = zoom;  // a lambda cannot capture a structured binding here
        const auto screenCell = [&](int column) {
            return QPoint(model().leftOffset() + column * cell + cell / 2,
                          model().topOffset() + 3 * cell + cell / 2);
        };
        QTest::mousePress(viewport(), Qt::LeftButton, {}, screenCell(2));
        QTest::mouseMove(viewport(), screenCell(3));
        QTest::mouseMove(viewport(), screenCell(5));
        QTest::mouseRelease(viewport(), Qt::LeftButton, {}, screenCell(5));
        const int row = 3 + scrolled;
        EXPECT_EQ(values(), blackWith({{2, row}, {3, row}, {4, row}, {5, row}}, kRed));
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
    EXPECT_EQ(values(), expected);
    const QPointF at = cellCentre(9, 9);
    QMouseEvent doubleClick(QEvent::MouseButtonDblClick, at, viewport()->mapToGlobal(at),
                            Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport(), &doubleClick);
    EXPECT_EQ(values(), expected);
    EXPECT_EQ(model().strokeFlags(), 0u);
    expectShowsModel();
}

// 16 rows at zoom 10 in 60 pixels: 6 rows show. Three notches of 40 with 3 lines per notch
// scroll one row each; the scroll bar follows, and the shifted image matches the model.
TEST_F(PictureEditorTest, WheelAndScrollBarScrollThroughTheModel) {
    Rows stripes;  // rows of different colours, so that a row shown in the wrong place shows
    for (unsigned row = 0; row < 16; ++row) {
        stripes.push_back(std::vector<std::uint32_t>(16, row % 8));
    }
    Picture striped;
    makeLamp(striped, stripes);
    ASSERT_TRUE(model().pastePicture(striped));
    setClientSize({240, 60});
    model().setZoom(10);
    editor_->applyModelUpdate();
    ASSERT_EQ(values(), stripes);
    QScrollBar* bar = editor_->verticalScrollBar();
    EXPECT_TRUE(bar->isVisible() && bar->isEnabled());
    EXPECT_EQ(std::pair(bar->maximum(), bar->pageStep()), std::pair(10, 6));
    for (int notch = 1; notch <= 3; ++notch) {
        wheel(-40);
        EXPECT_EQ(std::pair(model().scrollPosition(), bar->value()), std::pair(notch, notch));
        expectShowsModel();
    }
    const std::pair<QAbstractSlider::SliderAction, int> actions[] = {
        {QAbstractSlider::SliderPageStepAdd, 8},
        {QAbstractSlider::SliderToMaximum, 10},
        {QAbstractSlider::SliderSingleStepSub, 9}};
    for (const auto& [action, position] : actions) {
        bar->triggerAction(action);
        EXPECT_EQ(std::pair(model().scrollPosition(), bar->value()), std::pair(position, position));
        expectShowsModel();
    }
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
    EXPECT_EQ(values(), valuesOf(lamp)) << "bitmaps keep their stored values";
    ASSERT_EQ(dialog_.requests.size(), 3u);
    EXPECT_EQ(dialog_.requests[0].mode, FilePrompt::Mode::OpenExistingFile);
    EXPECT_TRUE(prompt_.messages.isEmpty());
    // Save As proposes the name of the file and adds the extension.
    dialog_.choices = {FilePrompt::DialogResult{{folder.filePath("copy")}, 0}};
    EXPECT_TRUE(editor_->saveAs());
    EXPECT_EQ(dialog_.requests.back().initialPath, "two.bmp");
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
    EXPECT_EQ(values(), Rows(24, std::vector<std::uint32_t>(20, 6)));
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

TEST_F(PictureEditorTest, CutThenPasteRestoresThePicture) {
    setClientSize({200, 120});
    stroke(Qt::LeftButton, {0, 0}, {15, 15});
    const Rows drawn = values();
    ASSERT_TRUE(editor_->cut());
    EXPECT_EQ(values(), blackWith({}, 0));
    // Other programs get the picture as an image.
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    ASSERT_TRUE(offered != nullptr && offered->hasImage());
    const QImage image = qvariant_cast<QImage>(offered->imageData());
    EXPECT_EQ(image.size(), QSize(16, 16));
    EXPECT_EQ(image.pixel(7, 7) & 0xFFFFFF, 0xFF0000u) << "the red of the stroke";
    ASSERT_TRUE(editor_->canPaste());
    ASSERT_TRUE(editor_->paste());
    EXPECT_EQ(values(), drawn);
    EXPECT_TRUE(model().fileName().isEmpty());
    expectShowsModel();
}

// ---- pictures through the clipboard: what a copy offers and what a paste takes ----

// Puts `data` on the clipboard and pastes it into `target`.
bool paste(PictureClipboard& clipboard, QMimeData* data, Picture& target) {
    QGuiApplication::clipboard()->setMimeData(data);
    return clipboard.paste(target);
}

// Pictures of other programs arrive as encoded bytes or as an image the platform decoded.
TEST_F(PictureEditorTest, ClipboardPastesImagesOfOtherProgramsAsTwentyFourBitPictures) {
    PictureClipboard clipboard_;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 128, 0));
    for (const bool encoded : {true, false}) {
        SCOPED_TRACE(encoded ? "PNG bytes only" : "decoded image only");
        auto* data = new QMimeData;
        if (encoded) {
            QByteArray png;
            QBuffer buffer(&png);
            ASSERT_TRUE(buffer.open(QIODevice::WriteOnly) && image.save(&buffer, "PNG"));
            data->setData("image/png", png);
        } else {
            data->setImageData(image);
        }
        Picture pasted;
        ASSERT_TRUE(paste(clipboard_, data, pasted));
        EXPECT_EQ(pasted.bitCount(), 24);
        EXPECT_EQ(valuesOf(pasted),
                  (Rows{{0x0000FF, 0x0000FF, 0x0000FF}, {0x0000FF, 0xFF8000, 0x0000FF}}));
    }
}

TEST_F(PictureEditorTest, ClipboardWithoutAPictureLeavesTheTargetAloneABrokenOneEmptiesIt) {
    PictureClipboard clipboard_;
    auto* text = new QMimeData;
    text->setText("no picture");
    Picture target;
    ASSERT_TRUE(target.createLamp(2, 2));
    EXPECT_FALSE(paste(clipboard_, text, target));
    EXPECT_FALSE(clipboard_.canPaste());
    EXPECT_TRUE(target.hasPixels());
    auto* broken = new QMimeData;
    broken->setData(PictureClipboard::kBitmapType, "broken");
    EXPECT_FALSE(paste(clipboard_, broken, target));
    EXPECT_TRUE(clipboard_.canPaste());
    EXPECT_FALSE(target.hasPixels());
}

// ---- the Set Picture dialog: its fields, the checks of OK and the choice it remembers ----

const QString kWidthMessage = QStringLiteral("The width must be greater than zero.");
const QString kHeightMessage = QStringLiteral("The height must be greater than zero.");

// Fills in the Set Picture dialog as the user would and presses OK.
void confirm(SetPictureDialog& dialog, const QString& width, const QString& height,
             const QString& function, const QString& colour) {
    named<QLineEdit>(dialog, "Width:")->setText(width);
    named<QLineEdit>(dialog, "Height:")->setText(height);
    named<QRadioButton>(dialog, function)->click();
    auto* colours = named<QComboBox>(dialog, "Colour");
    colours->setCurrentIndex(colours->findText(colour));
    named<QPushButton>(dialog, "OK")->click();
}

// A missing or non-positive number keeps the dialog open with one message, the width's first.
TEST_F(PictureEditorTest, SetPictureDialogRefusesSizesBelowOne) {
    const struct {
        const char* width;
        const char* height;
        QString message;
    } cases[] = {
        {"0", "16", kWidthMessage},  {"abc", "16", kWidthMessage}, {"", "16", kWidthMessage},
        {"-4", "16", kWidthMessage}, {"0.5", "16", kWidthMessage}, {"x", "0", kWidthMessage},
        {"12", "0", kHeightMessage}, {"12", "", kHeightMessage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.width) + " × " + c.height);
        AnsweringPrompt prompt;
        SetPictureDialog dialog(10, 16, choice_, prompt);
        confirm(dialog, c.width, c.height, "Resize Current Picture", "Blue");
        EXPECT_EQ(prompt.messages, QStringList{c.message});
        EXPECT_NE(dialog.result(), QDialog::Accepted);
        EXPECT_FALSE(dialog.request());
        EXPECT_EQ(named<QLineEdit>(dialog, "Width:")->text(), c.width);
        EXPECT_EQ(choice_.function, SetPictureFunction::SetTo);
    }
}

// Each field is read as far as it makes a number. White is the text White of the lamps, not
// pure white.
TEST_F(PictureEditorTest, SetPictureDialogRequestsTheLeadingNumbersAndTheTableColour) {
    constexpr auto kScale = SetPictureFunction::Scale, kSetTo = SetPictureFunction::SetTo;
    const struct {
        const char *width, *height, *function, *colour;
        SetPictureRequest request;
    } cases[] = {
        {"12abc", "24", "Scale Current Picture", "Black", {kScale, 12, 24, 0}},
        {"  7", " 3 rows", "Scale Current Picture", "Black", {kScale, 7, 3, 0}},
        {"20.9", "1", "Scale Current Picture", "Black", {kScale, 20, 1, 0}},
        {"20", "24", "Set to...", "Yellow", {kSetTo, 20, 24, 0x00FFFF}},
        {"20", "24", "Set to...", "White", {kSetTo, 20, 24, 0xE0E0E0}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.width << " " << c.colour);
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        confirm(dialog, c.width, c.height, c.function, c.colour);
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        ASSERT_TRUE(dialog.request());
        EXPECT_EQ(*dialog.request(), c.request);
    }
    EXPECT_TRUE(prompt_.messages.isEmpty());
}

// The last confirmed function and colour come back when the dialog opens again; Cancel
// forgets what was chosen in it.
TEST_F(PictureEditorTest, SetPictureDialogRemembersTheConfirmedChoiceOnly) {
    const auto shownChoice = [this] {
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        QString function;
        for (const char* name : {"Set to...", "Resize Current Picture", "Scale Current Picture"}) {
            if (named<QRadioButton>(dialog, name)->isChecked()) {
                function = name;
            }
        }
        return function + " " + named<QComboBox>(dialog, "Colour")->currentText();
    };
    EXPECT_EQ(shownChoice(), "Set to... Black");
    {
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        confirm(dialog, "10", "16", "Resize Current Picture", "Blue");
    }
    EXPECT_EQ(shownChoice(), "Resize Current Picture Blue");
    {
        SetPictureDialog dialog(10, 16, choice_, prompt_);
        named<QRadioButton>(dialog, "Scale Current Picture")->click();
        named<QComboBox>(dialog, "Colour")->setCurrentIndex(1);
        named<QPushButton>(dialog, "Cancel")->click();
        EXPECT_FALSE(dialog.request());
    }
    EXPECT_EQ(shownChoice(), "Resize Current Picture Blue");
}

}  // namespace
}  // namespace rova::test
