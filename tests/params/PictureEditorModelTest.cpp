#include <gtest/gtest.h>

#include <QRect>
#include <QString>

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <tuple>
#include <utility>
#include <vector>

#include "BmpCodec.h"
#include "CharacterFormat.h"
#include "Command.h"
#include "CommandKeyword.h"
#include "DocumentTestSupport.h"
#include "FormattingCommands.h"
#include "Picture.h"
#include "PictureEditorModel.h"
#include "PictureRecord.h"
#include "PictureValues.h"
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

using Values = test::Rows;
using test::valuesOf;

// The rows, the working picture's width and height, and the zoom.
std::array<int, 4> shape(const PictureEditorModel& editor) {
    const Picture& working = editor.workingPicture();
    return {editor.rows(), working.width(), working.height(), editor.zoom()};
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

// A 24-bit picture of width × height pixels whose colour is `colourAt(x, y)`.
template <typename ColourAt>
void makePhoto(Picture& picture, int width, int height, ColourAt colourAt) {
    std::vector<std::vector<QRgb>> rows(height, std::vector<QRgb>(width));
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            rows[y][x] = colourAt(x, y);
        }
    }
    test::makeRgb(picture, rows, false);
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
    const struct {
        int width, height, rows, workingWidth, zoom;  // zoom: the rows fitted into 100 pixels
    } cases[] = {{100, 40, 16, 40, 6}, {30, 8, 8, 30, 10}};
    for (const auto& c : cases) {
        for (const bool packed : {true, false}) {
            SCOPED_TRACE(testing::Message() << c.width << "x" << c.height << " packed " << packed);
            CountingOwner counting;
            PictureEditorModel editor(&counting);
            editor.setClientSize(QSize(200, 100));
            Picture photo;
            makePhoto(photo, c.width, c.height, [](int x, int) { return qRgb(x * 2, 0, 0); });
            ASSERT_TRUE(packed ? editor.pastePacked(clipboardBitmap(photo))
                               : editor.pastePicture(photo));
            EXPECT_EQ(shape(editor), (std::array{c.rows, c.workingWidth, c.rows, c.zoom}));
            EXPECT_EQ(editor.sourcePicture().width(), c.width);
            EXPECT_EQ(editor.fileName(), QString());
            EXPECT_EQ(editor.state().flags & PictureState::kRescaledView,
                      PictureState::kRescaledView);
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
    const struct {
        QPoint towards;
        std::set<std::pair<int, int>> lit;
    } cases[] = {
        {{8, 4}, {{2, 2}, {3, 2}, {4, 2}, {5, 2}, {6, 2}, {7, 2}, {8, 2}}},
        {{3, 9}, {{2, 2}, {2, 3}, {2, 4}, {2, 5}, {2, 6}, {2, 7}, {2, 8}, {2, 9}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.towards.x());
        startBlank16();
        const unsigned keys = mouse_key::Left | mouse_key::Shift;
        EXPECT_TRUE(model.press(keys, QPoint(2, 2)));
        EXPECT_TRUE(model.pen(keys, c.towards));
        EXPECT_TRUE(model.release(c.towards));
        EXPECT_EQ(litPixels(model.workingPicture()), c.lit);
        EXPECT_EQ(model.workingPicture().pixelValue(2, 2), kRedIndex);
        EXPECT_EQ(model.strokeFlags(), 0u);
        EXPECT_GT(owner.changes, 0);
    }
}

TEST_F(PictureEditorModelTest, PenColourAndButtonGiveTheLampIndex) {
    const struct {
        ColourRef pen;
        unsigned keys;
        std::uint32_t index;
    } cases[] = {
        {kWhite, mouse_key::Left, 7},
        {kBlue, mouse_key::Left, kBlueIndex},
        {kRed, mouse_key::Right | mouse_key::Left, 0},
    };
    for (const auto& c : cases) {
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

TEST_F(PictureEditorModelTest, AutoCropAndCopyTextCutToTheLitLampsAndChangeNothingWithout) {
    startBlank16();
    const Values black = valuesOf(model.workingPicture());
    RichTextDocument text;
    EXPECT_FALSE(model.autoCrop());
    EXPECT_FALSE(model.copyText(text));
    EXPECT_EQ(valuesOf(model.workingPicture()), black);
    EXPECT_EQ(std::pair(model.rows(), owner.changes), std::pair(16, 0));
    EXPECT_TRUE(model.takeUpdate().isEmpty());

    for (const QPoint point : {QPoint(0, 5), QPoint(3, 7)}) {
        model.press(mouse_key::Left, point);
        model.release(point);
    }
    ASSERT_TRUE(model.autoCrop());
    EXPECT_EQ(model.rows(), 3);
    EXPECT_EQ(valuesOf(model.workingPicture()), (Values{{4, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 4}}));
    ASSERT_TRUE(model.invert());
    EXPECT_EQ(valuesOf(model.workingPicture()), (Values{{3, 7, 7, 7}, {7, 7, 7, 7}, {7, 7, 7, 3}}));

    EXPECT_FALSE(model.saveFile(folder.path(QString())));  // a folder
    ASSERT_TRUE(model.saveFile(folder.path("saved.bmp")));
    ASSERT_FALSE(model.fileName().isEmpty());
    ASSERT_TRUE(text.streamIn(
        R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;\red255\green0\blue0;}\f0\fs30\cf1 I})"));
    ASSERT_TRUE(model.copyText(text));
    EXPECT_TRUE(model.fileName().isEmpty());
    const Picture& working = model.workingPicture();
    EXPECT_EQ(model.rows(), working.height());
    ASSERT_GE(working.width(), 1);
    // Cropped: the first row and column hold lit lamps, all of them red.
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
    EXPECT_EQ(std::pair(other.rows(), other.sourcePicture().width()), std::pair(12, 30));
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
    const struct {
        SetPictureFunction function;
        int width, height, zoom;  // zoom: the rows fitted into 100 pixels, at most 10
        ColourRef colour;
        std::vector<std::uint32_t> row;
    } cases[] = {
        {F::SetTo, 3, 2, 10, kWhite, {7, 7, 7}},
        {F::Resize, 12, 16, 6, kBlue, {1, 0, 1, 2, 3, 4, 5, 6, 7, 0, 1, 1}},
        {F::Resize, 8, 16, 6, kBlue, {1, 2, 3, 4, 5, 6, 7, 0}},
        {F::Scale, 10, 8, 10, kBlue, columns},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        model.setClientSize(QSize(100, 100));
        Picture start;
        test::makeLamp(start, Values(16, columns));
        ASSERT_TRUE(model.loadPicture(start, QStringLiteral("named.bmp")));
        ASSERT_EQ(valuesOf(model.workingPicture()), Values(16, columns));
        owner.changes = 0;

        ASSERT_TRUE(model.applySetPicture(c.function, c.width, c.height, c.colour));
        EXPECT_EQ(shape(model), (std::array{c.height, c.width, c.height, c.zoom}));
        EXPECT_EQ(valuesOf(model.workingPicture()),
                  Values(static_cast<std::size_t>(c.height), c.row));
        EXPECT_EQ(model.fileName().isEmpty(), c.function == F::SetTo);
        EXPECT_EQ(model.state().flags & PictureState::kRescaledView, 0u);
        EXPECT_GT(owner.changes, 0);
    }
    EXPECT_FALSE(model.applySetPicture(SetPictureFunction::SetTo, 0, 5, kRed));
}

// ---- the formatting commands routed by content kind: when each is enabled and ticked for
// text, a picture or no content, and what it does to the picture editor ----

using C = FormattingCommand;
using State = FormattingCommandState;

C sizeCommand(int points) {
    return static_cast<C>(static_cast<int>(C::Size7Points) + points - 7);
}

C colourCommand(int index) {
    return static_cast<C>(static_cast<int>(C::ColourBlack) + index);
}

// Every formatting command: the 25 action identifiers from Bold to Rainbow that name one.
std::vector<C> allCommands() {
    std::vector<C> commands;
    for (int id = static_cast<int>(C::Bold); id <= static_cast<int>(C::Rainbow); ++id) {
        if (const std::optional<C> command = formattingCommand(id)) {
            commands.push_back(*command);
        }
    }
    EXPECT_EQ(commands.size(), 25u);
    return commands;
}

class FormattingCommandsTest : public test::QtGuiApplicationTest {
  protected:
    void SetUp() override {
        // Bold 10-point white text, all selected; a 16-row picture with the red pen.
        ASSERT_TRUE(text_.streamIn(R"({\rtf1{\fonttbl{\f0 Arial;}}{\colortbl;)"
                                   R"(\red224\green224\blue224;}\f0\fs20\b\cf1 abc})"));
        text_.setSelection(0, -1);
        picture_.ensurePicture();
        picture_.setOwner(&owner_);
    }

    FormattingTarget target(FourCC kind) { return {kind, text_, picture_}; }
    State state(C command, FourCC kind) { return formattingCommandState(command, target(kind)); }

    RichTextDocument text_;
    CountingOwner owner_;
    PictureEditorModel picture_;
};

TEST_F(FormattingCommandsTest, StatesFollowTheContentKindAndWithoutContentNothingHappens) {
    constexpr State off{false, false};
    constexpr State on{true, false};
    constexpr State ticked{true, true};
    const struct {
        C command;
        State rich;
        State picture;
    } cases[] = {
        {C::Bold, ticked, off},         {C::Italic, on, off},
        {C::Underline, on, off},        {C::Font, on, off},
        {C::Rainbow, on, off},          {C::DecreasePointsize, on, on},
        {C::IncreasePointsize, on, on}, {sizeCommand(7), on, on},
        {sizeCommand(10), ticked, on},  {sizeCommand(16), on, ticked},
        {colourCommand(0), off, on},                                     // Black: the pen only
        {colourCommand(1), on, ticked},                                  // Red
        {colourCommand(2), on, on},     {colourCommand(7), ticked, on},  // White
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        EXPECT_EQ(state(c.command, content_kind::Rich), c.rich);
        EXPECT_EQ(state(c.command, content_kind::Picture), c.picture);
    }
    // Without content every command is off and does nothing.
    QByteArray rtfBefore;
    ASSERT_TRUE(text_.streamOutRtf(rtfBefore));
    for (const C command : allCommands()) {
        EXPECT_EQ(state(command, content_kind::None), off) << static_cast<int>(command);
        EXPECT_FALSE(performFormattingCommand(command, target(content_kind::None)));
    }
    QByteArray rtfAfter;
    ASSERT_TRUE(text_.streamOutRtf(rtfAfter));
    EXPECT_EQ(rtfAfter, rtfBefore);
    EXPECT_EQ(picture_.rows(), 16);
    EXPECT_EQ(picture_.penColour(), PictureEditorModel::kInitialPenColour);
}

TEST_F(FormattingCommandsTest, TextCommandsFormatTheSelection) {
    ASSERT_TRUE(performFormattingCommand(C::Bold, target(content_kind::Rich)));
    ASSERT_TRUE(performFormattingCommand(C::IncreasePointsize, target(content_kind::Rich)));
    ASSERT_TRUE(performFormattingCommand(colourCommand(4), target(content_kind::Rich)));  // Cyan
    const CharacterFormat format = text_.selectionFormat();
    EXPECT_EQ(std::tuple(format.effects & CharacterFormat::kBold, format.height, format.colour),
              std::tuple(0u, 220, 0xFFFF00u));
    EXPECT_TRUE(state(sizeCommand(11), content_kind::Rich).checked);

    // Dialogs are the form's.
    EXPECT_FALSE(performFormattingCommand(C::Font, target(content_kind::Rich)));
    EXPECT_FALSE(performFormattingCommand(C::Rainbow, target(content_kind::Rich)));
    EXPECT_EQ(picture_.rows(), 16) << "text commands leave the picture alone";
}

TEST_F(FormattingCommandsTest, SizeAndColourCommandsSetTheRowsAndThePen) {
    const struct {
        int rowsBefore;
        C command;
        int rowsAfter;
    } cases[] = {
        {16, C::IncreasePointsize, 17}, {1, C::DecreasePointsize, 1}, {2, C::DecreasePointsize, 1},
        {16, sizeCommand(7), 7},        {3, sizeCommand(16), 16},     {16, C::Bold, 16},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.command));
        picture_.setRows(c.rowsBefore);
        const int changesBefore = owner_.changes;
        performFormattingCommand(c.command, target(content_kind::Picture));
        EXPECT_EQ(picture_.rows(), c.rowsAfter);
        EXPECT_EQ(picture_.workingPicture().height(), c.rowsAfter);
        EXPECT_EQ(owner_.changes > changesBefore, c.rowsAfter != c.rowsBefore)
            << "the form hears of changed rows";
    }

    EXPECT_TRUE(performFormattingCommand(colourCommand(7), target(content_kind::Picture)));
    EXPECT_EQ(picture_.penColour(), kWhite);
    EXPECT_TRUE(performFormattingCommand(colourCommand(0), target(content_kind::Picture)));
    EXPECT_EQ(picture_.penColour(), 0u);
    EXPECT_TRUE(state(colourCommand(0), content_kind::Picture).checked);
    EXPECT_EQ(text_.selectionFormat().colour, kWhite) << "the text keeps its colour";
}

}  // namespace
}  // namespace rova
