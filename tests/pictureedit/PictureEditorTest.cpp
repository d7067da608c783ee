// The picture editor control on its model (mouse, wheel, scroll bar, what it shows, its file
// dialogs and clipboard commands), the clipboard, the Set Picture dialog and the checked reading
// of PNG, JPEG and GIF pictures.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QRandomGenerator>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

#include <algorithm>
#include <memory>

#include "AnsweringPrompt.h"
#include "BmpCodec.h"
#include "NamedWidget.h"
#include "PictureClipboard.h"
#include "PictureEditor.h"
#include "PictureImageFile.h"
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

    // 16 × 16 cells of the lamp index `ground`, those listed of `value`.
    static Rows grid(unsigned ground, std::initializer_list<QPoint> cells, unsigned value) {
        Rows rows(16, std::vector<std::uint32_t>(16, ground));
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

// Fills in the Set Picture dialog as the user would and presses OK.
void confirm(QDialog& dialog, const QString& width, const QString& height, const QString& function,
             const QString& colour) {
    named<QLineEdit>(dialog, "Width:")->setText(width);
    named<QLineEdit>(dialog, "Height:")->setText(height);
    named<QRadioButton>(dialog, function)->click();
    auto* colours = named<QComboBox>(dialog, "Colour");
    colours->setCurrentIndex(colours->findText(colour));
    named<QPushButton>(dialog, "OK")->click();
}

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
        EXPECT_EQ(values(), grid(0, {{2, row}, {3, row}, {4, row}, {5, row}}, kRed));
        expectShowsModel();
    }
}

TEST_F(PictureEditorTest, RightButtonDrawsBlackAndDoubleClicksDrawNothing) {
    ASSERT_TRUE(model().applySetPicture(SetPictureFunction::SetTo, 16, 16, 0xE0E0E0));
    setClientSize({200, 160});
    stroke(Qt::RightButton, {1, 1}, {1, 4});
    const Rows expected = grid(7, {{1, 1}, {1, 2}, {1, 3}, {1, 4}}, 0);
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
    const QString bitmap = folder.filePath("two.BMP");  // the extension's case plays no part
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
    EXPECT_EQ(dialog_.requests.back().initialPath, "two.BMP");
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
        confirm(dialog, "20", "24", "Set to...", "Yellow");
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
    EXPECT_EQ(values(), grid(0, {}, 0));
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

// The image encoded as PNG.
QByteArray pngBytes(const QImage& image) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

// Puts `data` on the clipboard and pastes it into `target`.
bool paste(PictureClipboard& clipboard, QMimeData* data, Picture& target) {
    QGuiApplication::clipboard()->setMimeData(data);
    return clipboard.paste(target);
}

// Pictures of other programs arrive as encoded bytes or as an image the platform decoded. Without
// a picture the target is left alone; a broken bitmap empties it.
TEST_F(PictureEditorTest,
       ClipboardPastesOtherProgramsPicturesAndOnlyABrokenBitmapEmptiesTheTarget) {
    PictureClipboard clipboard;
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 128, 0));
    for (const bool encoded : {true, false}) {
        SCOPED_TRACE(encoded ? "PNG bytes only" : "decoded image only");
        auto* data = new QMimeData;
        if (encoded) {
            data->setData("image/png", pngBytes(image));
        } else {
            data->setImageData(image);
        }
        Picture pasted;
        ASSERT_TRUE(paste(clipboard, data, pasted));
        EXPECT_EQ(pasted.bitCount(), 24);
        EXPECT_EQ(valuesOf(pasted),
                  (Rows{{0x0000FF, 0x0000FF, 0x0000FF}, {0x0000FF, 0xFF8000, 0x0000FF}}));
    }
    auto* text = new QMimeData;
    text->setText("no picture");
    Picture target;
    ASSERT_TRUE(target.createLamp(2, 2));
    EXPECT_FALSE(paste(clipboard, text, target));
    EXPECT_FALSE(clipboard.canPaste());
    EXPECT_TRUE(target.hasPixels());
    auto* broken = new QMimeData;
    broken->setData(PictureClipboard::kBitmapType, "broken");
    EXPECT_FALSE(paste(clipboard, broken, target));
    EXPECT_TRUE(clipboard.canPaste());
    EXPECT_FALSE(target.hasPixels());
}

const QString kWidthMessage = QStringLiteral("The width must be greater than zero.");
const QString kHeightMessage = QStringLiteral("The height must be greater than zero.");

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

// Each field is read as far as it makes a number; White is the text White of the lamps, not pure
// white. The last confirmed function and colour come back when the dialog opens again; Cancel
// forgets what was chosen in it.
TEST_F(PictureEditorTest, SetPictureDialogRequestsTheLeadingNumbersAndKeepsTheConfirmedChoice) {
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
    constexpr auto kScale = SetPictureFunction::Scale, kSetTo = SetPictureFunction::SetTo,
                   kResize = SetPictureFunction::Resize;
    const struct {
        const char *width, *height, *function, *colour;
        SetPictureRequest request;
    } cases[] = {
        {"20", "24", "Set to...", "Yellow", {kSetTo, 20, 24, 0x00FFFF}},
        {"20", "24", "Set to...", "White", {kSetTo, 20, 24, 0xE0E0E0}},
        {"12abc", "24", "Scale Current Picture", "Black", {kScale, 12, 24, 0}},
        {"  7", " 3 rows", "Scale Current Picture", "Black", {kScale, 7, 3, 0}},
        {"20.9", "1", "Resize Current Picture", "Blue", {kResize, 20, 1, 0xFF0000}},
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

// Loading pictures of other formats than BMP: what is read, and what is refused before any
// pixel is decoded.
// The CRC-32 of PNG chunks.
std::uint32_t pngCrc(const char* data, qsizetype size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (qsizetype i = 0; i < size; ++i) {
        crc ^= static_cast<std::uint8_t>(data[i]);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

// A valid PNG of side × side noise whose header claims width × height pixels: what a
// decompression bomb looks like until its pixels are decoded.
QByteArray hugeClaimPng(std::uint32_t width, std::uint32_t height, int side = 4) {
    QImage noise(side, side, QImage::Format_RGB32);
    QRandomGenerator random(7);
    for (int i = 0; i < side * side; ++i) {
        noise.setPixel(i % side, i / side, random.generate());
    }
    QByteArray bytes = pngBytes(noise);
    // Signature (8), IHDR length and type (8), then width and height, big-endian.
    const auto put = [&bytes](qsizetype at, std::uint32_t value) {
        for (int i = 0; i < 4; ++i) {
            bytes[at + i] = static_cast<char>(value >> (24 - 8 * i));
        }
    };
    put(16, width);
    put(20, height);
    put(29, pngCrc(bytes.constData() + 12, 17));  // over the type and the 13 data bytes
    return bytes;
}

// A buffer that remembers how far into its bytes anything was read.
class ReadWatchingBuffer : public QBuffer {
  public:
    explicit ReadWatchingBuffer(const QByteArray& bytes) : bytes_(bytes) { setBuffer(&bytes_); }
    qint64 furthestRead() const { return furthest_; }

  protected:
    qint64 readData(char* data, qint64 size) override {
        const qint64 start = pos();
        const qint64 read = QBuffer::readData(data, size);
        furthest_ = std::max(furthest_, start + std::max<qint64>(read, 0));
        return read;
    }

  private:
    QByteArray bytes_;
    qint64 furthest_ = 0;
};

const QString kSamples = QStringLiteral(ROVA_IMAGE_SAMPLES);

using PictureImageFileTest = QtApplicationTest;

// Pictures arrive as 24-bit pictures of their colours, transparent parts drawn over black.
// Bitmaps keep their stored values: the editor's load test shows it.
TEST_F(PictureImageFileTest, ReadsPngGifAndJpegAsTwentyFourBitPictures) {
    const struct {
        QString path;
        int width, height;
        // Packed colours of the first row where the format keeps them exactly; empty else.
        std::vector<std::uint32_t> firstRow;
    } cases[] = {
        {kSamples + "/rgb_4x3.png", 4, 3, {0xFF0000, 0x00FF00, 0x0000FF, 0xE0E0E0}},
        {kSamples + "/rgba_3x2.png", 3, 2, {0xFF0000, 0x008000, 0x000000}},
        {kSamples + "/palette_4x2.gif", 4, 2, {0x000000, 0xFF0000, 0x00FF00, 0x0000FF}},
        {kSamples + "/gradient_8x8.jpg", 8, 8, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        Picture picture;
        const PictureLoad loaded = loadPictureFile(picture, c.path);
        ASSERT_TRUE(loaded) << loaded.message.toStdString();
        EXPECT_EQ(std::tuple(picture.bitCount(), picture.width(), picture.height()),
                  std::tuple(24, c.width, c.height));
        if (!c.firstRow.empty()) {
            EXPECT_EQ(valuesOf(picture)[0], c.firstRow);
        }
        if (c.path.endsWith(".gif")) {
            EXPECT_EQ(picture.pixelValue(3, 1), 0u) << "the GIF's colour 7 is transparent";
        }
    }
}

// A failed load names the file and the reason, and leaves the picture empty.
TEST_F(PictureImageFileTest, FailuresSayWhichFileAndWhy) {
    QTemporaryDir folder;
    const struct {
        const char* name;
        QByteArray bytes;  // null: no such file
        const char* reason;
    } cases[] = {
        {"missing.png", QByteArray(), "the file cannot be opened"},
        {"text.png", "not a picture at all", "it is not a BMP, PNG, JPEG or GIF picture"},
        {"png.bmp", pngBytes(QImage(2, 2, QImage::Format_RGB32)),
         "it is not a bitmap the program can read"},
        {"huge.png", hugeClaimPng(20000, 20000), "20000 × 20000 pixels"},
        {"wide.png", hugeClaimPng(16385, 1), "more than 16384 pixels a side"},
        {"bomb.png", hugeClaimPng(16384, 16384), "more than a picture can hold"},
        {"cut.png", pngBytes(QImage(40, 40, QImage::Format_RGB32)).left(60), ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = folder.filePath(c.name);
        if (!c.bytes.isNull()) {
            QFile file(path);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(c.bytes) == c.bytes.size());
        }
        Picture picture;
        ASSERT_TRUE(picture.createLamp(2, 2));
        const PictureLoad loaded = loadPictureFile(picture, path);
        EXPECT_FALSE(loaded);
        EXPECT_TRUE(loaded.message.startsWith("Cannot load \"" + path + "\": ") &&
                    loaded.message.contains(QString::fromUtf8(c.reason)))
            << loaded.message.toStdString();
        EXPECT_FALSE(picture.hasPixels());
    }
}

// The size in the header decides before the decoder reads the pixel data: of a file that claims
// 20000 × 20000 pixels only the first bytes are read.
TEST_F(PictureImageFileTest, RefusesAHugeClaimWithoutDecoding) {
    const QByteArray bytes = hugeClaimPng(20000, 20000, 64);
    ASSERT_GT(bytes.size(), 4096);
    ReadWatchingBuffer device(bytes);
    ASSERT_TRUE(device.open(QIODevice::ReadOnly | QIODevice::Unbuffered));
    Picture picture;
    const PictureLoad read = readCheckedImage(device, picture);
    EXPECT_FALSE(read);
    EXPECT_TRUE(read.message.contains("20000 × 20000")) << read.message.toStdString();
    EXPECT_LT(device.furthestRead(), 256);
}

TEST_F(PictureImageFileTest, ImagesBeyondTheLimitsAreNotConverted) {
    Picture picture;
    EXPECT_FALSE(pictureFromImage(QImage(16385, 1, QImage::Format_Mono), picture));
    EXPECT_FALSE(pictureFromImage(QImage(), picture));
    EXPECT_TRUE(pictureFromImage(QImage(16384, 1, QImage::Format_Mono), picture));
    EXPECT_EQ(picture.width(), 16384);
}

}  // namespace
}  // namespace rova::test
