#include <gtest/gtest.h>

#include <QRect>
#include <QString>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <set>
#include <utility>
#include <vector>

#include "BmpCodec.h"
#include "Command.h"
#include "CommandKeyword.h"
#include "DocumentTestSupport.h"
#include "Picture.h"
#include "PictureEditorModel.h"
#include "PictureRecord.h"
#include "QtGuiApplicationTest.h"
#include "RichTextDocument.h"

namespace rova {
namespace {

constexpr ColourRef kRed = 0x0000FF;
constexpr ColourRef kBlue = 0xFF0000;
constexpr ColourRef kYellow = 0x00FFFF;
constexpr ColourRef kWhite = 0xE0E0E0;
constexpr std::uint32_t kRedIndex = 4;
constexpr std::uint32_t kBlueIndex = 1;
constexpr std::uint32_t kYellowIndex = 6;

class CountingOwner final : public PictureEditorOwner {
  public:
    void pictureContentChanged() override { ++changes; }
    int changes = 0;
};

using Values = std::vector<std::vector<std::uint32_t>>;

Values valuesOf(const Picture& picture) {
    Values rows(static_cast<std::size_t>(picture.height()));
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            rows[static_cast<std::size_t>(y)].push_back(picture.pixelValue(x, y));
        }
    }
    return rows;
}

// The pixels of a lamp picture that are not black.
std::set<std::pair<int, int>> litPixels(const Picture& picture) {
    std::set<std::pair<int, int>> lit;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (picture.pixelValue(x, y) != 0) {
                lit.emplace(x, y);
            }
        }
    }
    return lit;
}

// A 24-bit picture whose pixels have the colour `colourAt` gives them.
void makePhoto(Picture& picture, int width, int height,
               const std::function<QRgb(int x, int y)>& colourAt) {
    ASSERT_TRUE(picture.create(width, height, false, 24, {}, 0));
    for (int y = 0; y < height; ++y) {
        std::uint8_t* bytes = picture.row(y).data();
        for (int x = 0; x < width; ++x, bytes += 3) {
            const QRgb colour = colourAt(x, y);
            bytes[0] = static_cast<std::uint8_t>(qBlue(colour));
            bytes[1] = static_cast<std::uint8_t>(qGreen(colour));
            bytes[2] = static_cast<std::uint8_t>(qRed(colour));
        }
    }
}

// Rows alternating red and yellow: detail that fewer rows cannot show.
QRgb stripes(int, int y) {
    return y % 2 == 0 ? qRgb(255, 0, 0) : qRgb(255, 255, 0);
}

class PictureEditorModelTest : public test::QtGuiApplicationTest {
  protected:
    // A black 16 × 16 working picture shown at zoom 1 filling a 16 × 16 client.
    void startBlank16() {
        model.setClientSize(QSize(16, 16));
        ASSERT_TRUE(model.applySetPicture(SetPictureFunction::SetTo, 16, 16, 0));
        ASSERT_EQ(model.zoom(), 1);
        ASSERT_EQ(model.leftOffset(), 0);
        ASSERT_EQ(model.topOffset(), 0);
        model.takeUpdate();
        owner.changes = 0;
    }

    CountingOwner owner;
    PictureEditorModel model{&owner};
    test::TempFolder folder;
};

// Loading from a file, which goes the same way, is the picture editor test's.
TEST_F(PictureEditorModelTest, PastesShowAtMostSixteenRowsWhicheverWayThePictureArrives) {
    struct Case {
        int width, height, rows, workingWidth, zoom;  // zoom: the rows fitted into 100 pixels
    };
    const Case cases[] = {{100, 40, 16, 40, 6}, {30, 8, 8, 30, 10}};
    for (const Case& c : cases) {
        for (const bool packed : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " packed " << packed);
            CountingOwner counting;
            PictureEditorModel editor(&counting);
            editor.setClientSize(QSize(200, 100));
            Picture photo;
            makePhoto(photo, c.width, c.height, [](int x, int) { return qRgb(x * 2, 0, 0); });
            ASSERT_TRUE(packed ? editor.pastePacked(clipboardBitmap(photo))
                               : editor.pastePicture(photo));
            EXPECT_EQ(editor.rows(), c.rows);
            EXPECT_EQ(editor.workingPicture().width(), c.workingWidth);
            EXPECT_EQ(editor.workingPicture().height(), c.rows);
            EXPECT_EQ(editor.sourcePicture().width(), c.width);
            EXPECT_EQ(editor.fileName(), QString());
            EXPECT_EQ(editor.state().flags & PictureState::kRescaledView,
                      PictureState::kRescaledView);
            EXPECT_EQ(editor.zoom(), c.zoom);
            EXPECT_GT(counting.changes, 0);
        }
    }
}

TEST_F(PictureEditorModelTest, AFailedLoadEmptiesTheSourceAndKeepsTheWorkingPicture) {
    startBlank16();
    const Values before = valuesOf(model.workingPicture());
    EXPECT_FALSE(model.loadFile(folder.path("missing.bmp")));
    EXPECT_FALSE(model.pastePacked({}));
    EXPECT_EQ(model.sourcePicture().width(), 0);
    EXPECT_EQ(valuesOf(model.workingPicture()), before);
    EXPECT_EQ(owner.changes, 0);
}

TEST_F(PictureEditorModelTest, FitZoomDividesTheClientHeightByTheRowsAndZoomStopsAtItsLimits) {
    for (const auto& [height, zoom] : {std::pair{120, 7}, std::pair{400, 10}, std::pair{10, 1}}) {
        SCOPED_TRACE(height);
        model.setClientSize(QSize(300, height));
        model.ensurePicture();
        ASSERT_EQ(model.rows(), 16);
        model.setZoom(3);
        model.fitZoom();
        EXPECT_EQ(model.zoom(), zoom);
    }
    startBlank16();
    model.zoomOut();
    EXPECT_EQ(model.zoom(), 1);
    EXPECT_TRUE(model.takeUpdate().isEmpty()) << "nothing to repaint";
    model.setZoom(10);
    EXPECT_EQ(model.takeUpdate().dirty, QRect(0, 0, 16, 16));
    model.zoomIn();
    EXPECT_EQ(model.zoom(), 10);
    EXPECT_TRUE(model.takeUpdate().isEmpty());
    EXPECT_EQ(owner.changes, 0);
}

TEST_F(PictureEditorModelTest, ShiftKeepsAStrokeOnTheAnchorsRowOrColumn) {
    struct Case {
        QPoint towards;
        std::set<std::pair<int, int>> lit;
    };
    const Case cases[] = {
        {{8, 4}, {{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}}},
        {{3, 9}, {{2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {2, 8}, {2, 9}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.towards.x());
        startBlank16();
        const unsigned keys = mouse_key::Left | mouse_key::Shift;
        EXPECT_TRUE(model.press(keys, QPoint(2, 2)));
        EXPECT_TRUE(model.pen(keys, c.towards));
        EXPECT_TRUE(model.release(c.towards));
        EXPECT_EQ(litPixels(model.workingPicture()), c.lit);
        EXPECT_EQ(model.workingPicture().pixelValue(2, 2), kRedIndex);
        EXPECT_EQ(model.strokeFlags(), 0u);
        EXPECT_EQ(model.state().flags & PictureState::kRescaledView, 0u);
        EXPECT_GT(owner.changes, 0);
    }
}

TEST_F(PictureEditorModelTest, PenColourAndButtonGiveTheLampIndex) {
    struct Case {
        ColourRef pen;
        unsigned keys;
        std::uint32_t index;
    };
    const Case cases[] = {
        {kWhite, mouse_key::Left, 7},
        {kBlue, mouse_key::Left, kBlueIndex},
        {kRed, mouse_key::Right | mouse_key::Left, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pen);
        model.setClientSize(QSize(16, 16));
        ASSERT_TRUE(model.applySetPicture(SetPictureFunction::SetTo, 16, 16, kYellow));
        model.setPenColour(c.pen);
        model.press(c.keys, QPoint(5, 6));
        model.release(QPoint(5, 6));
        EXPECT_EQ(model.workingPicture().pixelValue(5, 6), c.index);
        EXPECT_EQ(model.workingPicture().pixelValue(6, 6), 6u);
    }
}

TEST_F(PictureEditorModelTest, AStrokeRepaintsItsRectangleOnTheMagnifiedPicture) {
    model.setClientSize(QSize(64, 64));
    model.ensurePicture();
    model.fitZoom();
    ASSERT_EQ(model.zoom(), 4);
    model.takeUpdate();
    // Screen (9, 9) is column 2, row 2; the release at (21, 13) is column 5, row 3.
    model.press(mouse_key::Left, QPoint(9, 9));
    EXPECT_EQ(model.takeUpdate().dirty, QRect(8, 8, 4, 4));
    model.release(QPoint(21, 13));
    EXPECT_EQ(model.takeUpdate().dirty, QRect(8, 8, 16, 8));
    EXPECT_EQ(model.workingPicture().pixelValue(5, 3), kRedIndex);
    // A move without a button draws nothing but tells whether the point is on the picture.
    EXPECT_TRUE(model.pen(0, QPoint(30, 30)));
    EXPECT_FALSE(model.pen(0, QPoint(30, 70)));
    EXPECT_TRUE(model.takeUpdate().isEmpty());
}

TEST_F(PictureEditorModelTest, WheelAndScrollBarScrollWithinTheRows) {
    model.setClientSize(QSize(16, 8));
    model.ensurePicture();
    ASSERT_EQ(model.zoom(), 1);
    ASSERT_EQ(model.visibleRows(), 8);
    ASSERT_EQ(model.maximumScrollPosition(), 15);
    // Plain notches are the picture editor test's; Shift goes to the end, Ctrl by a page
    // less one row.
    model.wheel(-40, false, false, 3, false);
    ASSERT_EQ(model.scrollPosition(), 1);
    model.wheel(-1, true, false, 3, false);
    EXPECT_EQ(model.scrollPosition(), 8);
    model.wheel(120, false, true, 3, false);
    EXPECT_EQ(model.scrollPosition(), 1);

    const std::tuple<ScrollRequest, int, int> steps[] = {
        // request, thumb, position
        {ScrollRequest::Top, 0, 0},       {ScrollRequest::LineUp, 0, 0},
        {ScrollRequest::LineDown, 0, 1},  {ScrollRequest::PageDown, 0, 8},
        {ScrollRequest::EndScroll, 0, 8}, {ScrollRequest::PageUp, 0, 1},
        {ScrollRequest::Thumb, 5, 5},     {ScrollRequest::Bottom, 0, 8},
        {ScrollRequest::Top, 0, 0},       {ScrollRequest::Thumb, 99, 8}};
    for (const auto& [request, thumb, position] : steps) {
        model.scrollRequest(request, thumb);
        EXPECT_EQ(model.scrollPosition(), position) << static_cast<int>(request);
    }
}

TEST_F(PictureEditorModelTest, AutoCropCutsTheWorkingPictureToItsLitLamps) {
    startBlank16();
    const Values black = valuesOf(model.workingPicture());
    EXPECT_FALSE(model.autoCrop());
    EXPECT_EQ(valuesOf(model.workingPicture()), black);
    EXPECT_EQ(model.rows(), 16);
    EXPECT_EQ(owner.changes, 0);
    EXPECT_TRUE(model.takeUpdate().isEmpty());

    for (const QPoint point : {QPoint(3, 5), QPoint(4, 7)}) {
        model.press(mouse_key::Left, point);
        model.release(point);
    }
    ASSERT_TRUE(model.autoCrop());
    EXPECT_EQ(model.rows(), 3);
    EXPECT_EQ(valuesOf(model.workingPicture()), (Values{{4, 0}, {0, 0}, {0, 4}}));
}

TEST_F(PictureEditorModelTest, CopyTextTakesTheLitTextAndChangesNothingWithoutIt) {
    startBlank16();
    const Values black = valuesOf(model.workingPicture());
    RichTextDocument text;
    EXPECT_FALSE(model.copyText(text));
    EXPECT_EQ(valuesOf(model.workingPicture()), black);
    EXPECT_EQ(owner.changes, 0);
    EXPECT_TRUE(model.takeUpdate().isEmpty());

    ASSERT_TRUE(model.saveFile(folder.path("saved.bmp")));
    ASSERT_FALSE(model.fileName().isEmpty());
    ASSERT_TRUE(text.streamIn(
        R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs30\cf1 I})"));
    ASSERT_TRUE(model.copyText(text));
    EXPECT_TRUE(model.fileName().isEmpty());
    const Picture& working = model.workingPicture();
    EXPECT_EQ(model.rows(), working.height());
    ASSERT_GE(working.width(), 1);
    // Cropped: the first and last rows and columns hold lit lamps, all of them red.
    const auto lit = litPixels(working);
    EXPECT_TRUE(std::any_of(lit.begin(), lit.end(), [](auto p) { return p.first == 0; }));
    EXPECT_TRUE(std::any_of(lit.begin(), lit.end(), [](auto p) { return p.second == 0; }));
    for (const auto& [x, y] : lit) {
        EXPECT_EQ(working.pixelValue(x, y), kRedIndex);
    }
    EXPECT_GT(owner.changes, 0);
}

TEST_F(PictureEditorModelTest, NewRowsRescaleTheLoadedPictureUntilItIsEdited) {
    model.setClientSize(QSize(100, 100));
    Picture photo;
    makePhoto(photo, 40, 40, stripes);
    ASSERT_TRUE(model.pastePicture(photo));
    ASSERT_EQ(model.rows(), 16);

    // Back at full size the stripes come from the loaded picture, not from the 16 rows.
    model.setRows(40);
    EXPECT_EQ(model.workingPicture().pixelValue(20, 0), kRedIndex);
    EXPECT_EQ(model.workingPicture().pixelValue(20, 1), kYellowIndex);

    model.setRows(16);
    model.setZoom(1);
    model.press(mouse_key::Right, QPoint(model.leftOffset(), model.topOffset()));
    model.release(QPoint(model.leftOffset(), model.topOffset()));
    EXPECT_EQ(model.sourcePicture().width(), 0);
    const Values edited = valuesOf(model.workingPicture());

    // Now the edited picture is rescaled: the black pixel, which the loaded picture does not
    // have, grows; the stripes stay lost.
    model.setRows(32);
    const Picture& working = model.workingPicture();
    ASSERT_EQ(working.height(), 32);
    EXPECT_EQ(working.pixelValue(0, 0), 0u);
    EXPECT_EQ(working.pixelValue(1, 1), 0u);
    EXPECT_EQ(working.pixelValue(20, 0), edited[0][10]);
    EXPECT_EQ(working.pixelValue(20, 1), edited[0][10]);
}

TEST_F(PictureEditorModelTest, ContentRecordRoundTrips) {
    Picture photo;
    makePhoto(photo, 30, 40, stripes);
    const QString path = folder.path("stripes.bmp");
    ASSERT_TRUE(saveBmpFile(photo, path));
    ASSERT_TRUE(model.loadFile(path));
    model.setRows(12);

    Command command;
    ASSERT_TRUE(model.takeContent(command));
    EXPECT_EQ(command.contentKind(), content_kind::Picture);

    CountingOwner otherOwner;
    PictureEditorModel other(&otherOwner);
    ASSERT_TRUE(other.restore(command));
    EXPECT_EQ(other.fileName(), path);
    EXPECT_EQ(other.state(), model.state());
    EXPECT_EQ(other.rows(), 12);
    EXPECT_EQ(other.sourcePicture().width(), 30);
    EXPECT_EQ(valuesOf(other.workingPicture()), valuesOf(model.workingPicture()));
    EXPECT_GT(otherOwner.changes, 0);

    // An edited picture is stored as it stands, not a rescaled view.
    model.cut();
    ASSERT_TRUE(model.takeContent(command));
    ASSERT_TRUE(other.restore(command));
    EXPECT_EQ(valuesOf(other.workingPicture()), valuesOf(model.workingPicture()));
}

TEST_F(PictureEditorModelTest, SetPictureAppliesToTheWorkingPicture) {
    // A 10 × 16 picture whose column x holds lamp index x % 8.
    const std::vector<std::uint32_t> columns = {0, 1, 2, 3, 4, 5, 6, 7, 0, 1};
    using F = SetPictureFunction;
    struct Case {
        SetPictureFunction function;
        int width, height, zoom;  // zoom: the rows fitted into 100 pixels, at most 10
        ColourRef colour;
        std::vector<std::uint32_t> row;
    };
    const Case cases[] = {
        {F::SetTo, 3, 2, 10, kWhite, {7, 7, 7}},
        {F::Resize, 12, 16, 6, kBlue, {1, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 1}},
        {F::Resize, 8, 16, 6, kBlue, {1, 2, 3, 4, 5, 6, 7, 0}},
        {F::Scale, 10, 8, 10, kBlue, columns},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.width);
        model.setClientSize(QSize(100, 100));
        Picture start;
        ASSERT_TRUE(start.createLamp(10, 16));
        for (int y = 0; y < 16; ++y) {
            std::copy(columns.begin(), columns.end(), start.row(y).begin());
        }
        ASSERT_TRUE(model.loadPicture(start, QStringLiteral("named.bmp")));
        ASSERT_EQ(valuesOf(model.workingPicture()), Values(16, columns));
        owner.changes = 0;

        ASSERT_TRUE(model.applySetPicture(c.function, c.width, c.height, c.colour));
        EXPECT_EQ(model.rows(), c.height);
        EXPECT_EQ(valuesOf(model.workingPicture()),
                  Values(static_cast<std::size_t>(c.height), c.row));
        EXPECT_EQ(model.fileName().isEmpty(), c.function == F::SetTo);
        EXPECT_EQ(model.zoom(), c.zoom);
        EXPECT_EQ(model.state().flags & PictureState::kRescaledView, 0u);
        EXPECT_GT(owner.changes, 0);
    }
    EXPECT_FALSE(model.applySetPicture(SetPictureFunction::SetTo, 0, 5, kRed));
}

}  // namespace
}  // namespace rova
