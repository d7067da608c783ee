// Pictures through the clipboard: what a copy offers and what a paste takes.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>

#include "Picture.h"
#include "PictureClipboard.h"
#include "PictureTestImages.h"
#include "PictureValues.h"
#include "QtApplicationTest.h"

namespace rova::test {
namespace {

class PictureClipboardTest : public QtApplicationTest {
  protected:
    void SetUp() override { QGuiApplication::clipboard()->clear(); }

    static void offer(QMimeData* data) { QGuiApplication::clipboard()->setMimeData(data); }

    PictureClipboard clipboard_;
};

TEST_F(PictureClipboardTest, CopyThenPasteRestoresThePicture) {
    Picture lamp;
    makeLamp(lamp, {{0, 1, 2, 3, 4}, {5, 6, 7, 0, 1}, {7, 7, 0, 0, 4}});
    ASSERT_TRUE(clipboard_.copy(lamp));

    // Other programs get the picture as an image.
    const QMimeData* offered = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(offered, nullptr);
    ASSERT_TRUE(offered->hasImage());
    const QImage image = qvariant_cast<QImage>(offered->imageData());
    EXPECT_EQ(image.size(), QSize(5, 3));
    EXPECT_EQ(image.pixel(2, 0) & 0xFFFFFF, 0x00FF00u);

    ASSERT_TRUE(clipboard_.canPaste());
    Picture pasted;
    ASSERT_TRUE(clipboard_.paste(pasted));
    EXPECT_EQ(pasted.bitCount(), 8);
    EXPECT_EQ(valuesOf(pasted), valuesOf(lamp));
}

// Pictures of other programs arrive as encoded bytes or as an image the platform decoded.
TEST_F(PictureClipboardTest, PastesImagesOfOtherPrograms) {
    QImage image(3, 2, QImage::Format_RGB32);
    image.fill(qRgb(0, 0, 255));
    image.setPixel(1, 1, qRgb(255, 128, 0));
    const struct {
        const char* name;
        void (*fill)(QMimeData&, const QImage&);
    } offers[] = {
        {"PNG bytes only",
         [](QMimeData& data, const QImage& shown) { data.setData("image/png", pngBytes(shown)); }},
        {"decoded image only",
         [](QMimeData& data, const QImage& shown) { data.setImageData(shown); }},
    };
    for (const auto& o : offers) {
        SCOPED_TRACE(o.name);
        auto* data = new QMimeData;
        o.fill(*data, image);
        offer(data);
        ASSERT_TRUE(clipboard_.canPaste());
        Picture pasted;
        ASSERT_TRUE(clipboard_.paste(pasted));
        EXPECT_EQ(pasted.bitCount(), 24);
        EXPECT_EQ(valuesOf(pasted),
                  (std::vector<std::vector<std::uint32_t>>{{0x0000FF, 0x0000FF, 0x0000FF},
                                                           {0x0000FF, 0xFF8000, 0x0000FF}}));
    }
}

TEST_F(PictureClipboardTest, NothingToPasteLeavesTheTargetAlone) {
    auto* text = new QMimeData;
    text->setText("no picture");
    offer(text);
    EXPECT_FALSE(clipboard_.canPaste());
    Picture target;
    ASSERT_TRUE(target.createLamp(2, 2));
    EXPECT_FALSE(clipboard_.paste(target));
    EXPECT_TRUE(target.hasPixels());

    // An offered bitmap that cannot be read is a failed load.
    auto* broken = new QMimeData;
    broken->setData(PictureClipboard::kBitmapType, "broken");
    offer(broken);
    EXPECT_TRUE(clipboard_.canPaste());
    EXPECT_FALSE(clipboard_.paste(target));
    EXPECT_FALSE(target.hasPixels());
}

}  // namespace
}  // namespace rova::test
