#include "ContentBuilder.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>

#include "ContentPacking.h"
#include "LampFrame.h"
#include "Picture.h"
#include "PictureEdits.h"
#include "TextRenderer.h"

namespace rova {

namespace {

constexpr int kLampRows = LampFrame::kLamps;
constexpr double kMaxScaledPixels = double{kMaxBandColumns} * kBandRows;

bool pack(const Picture& lampPicture, const QRect& rect, bool flip, PlayerContent& content) {
    const LampPixels pixels{lampPicture.row(0).data(),
                            lampPicture.isTopDown() ? lampPicture.stride() : -lampPicture.stride(),
                            lampPicture.width(), lampPicture.height()};
    return packLampPicture(pixels, {rect.left(), rect.top(), rect.right() + 1, rect.bottom() + 1},
                           flip, content);
}

// The size of the working picture w × h shown at `rows` rows and drawn at numerator/denominator:
// (w × rows × numerator + H / 2) / H by (h × rows × numerator + H / 2) / H with H = h ×
// denominator, that is rounded to the nearest pixel. Computed in double precision: exact while
// the products stay below 2^53, far beyond any picture the editor holds, and bounded beyond.
// Nothing when the size has no pixel or more than the largest text band.
std::optional<QSize> scaledSize(const Picture& working, int rows, int numerator, int denominator) {
    const double scaledRows = static_cast<double>(rows) * numerator;
    const double whole = static_cast<double>(working.height()) * denominator;
    const double half = std::floor(whole / 2);
    const double width = std::floor((working.width() * scaledRows + half) / whole);
    const double height = std::floor((working.height() * scaledRows + half) / whole);
    if (!(width >= 1 && height >= 1 && width * height <= kMaxScaledPixels)) {
        return std::nullopt;
    }
    return QSize(static_cast<int>(width), static_cast<int>(height));
}

}  // namespace

bool buildContent(ParameterSet& set, const ScaledDrawing& draw) {
    PlayerParameters& parameters = set.parameters;
    const bool fit = parameters.fitsToLamps() && (set.keep & KeepFlags::Height) == 0;
    set.keep &= ~KeepFlags::Height;
    set.content.release();

    // The first drawing is at 1:1; when Fit or Height rescale, its height is the natural height
    // that the later scales are taken from.
    bool measuring = fit || parameters.heightAdjustment != 0;
    int numerator = 1;
    int denominator = 1;
    Picture lampPicture;
    for (;;) {
        const std::optional<QRect> rect = draw(lampPicture, numerator, denominator);
        if (!rect) {
            return true;
        }
        const int rows = rect->height();
        bool done = false;
        if (measuring) {
            measuring = false;
            denominator = rows;
            if (fit) {
                parameters.heightAdjustment = kLampRows - rows;
                done = rows == kLampRows;
            }
        } else if (!fit || rows <= kLampRows || numerator == 1) {
            // At 1:n nothing gets any smaller.
            done = true;
        } else {
            --parameters.heightAdjustment;
        }
        if (done) {
            return pack(lampPicture, *rect, parameters.hasPlayerFlag(PlayerFlags::Flip),
                        set.content);
        }
        numerator = static_cast<int>(std::clamp<std::int64_t>(
            std::int64_t{parameters.heightAdjustment} + denominator, 1, INT_MAX));
    }
}

bool buildTextContent(ParameterSet& set, const QTextDocument& text,
                      const CharacterFormat& defaults) {
    return buildContent(set, [&](Picture& band, int numerator, int denominator) {
        return renderText(band, text, defaults, numerator, denominator) ? contentBounds(band)
                                                                        : std::nullopt;
    });
}

bool buildPictureContent(ParameterSet& set, const Picture& working, int rows) {
    return buildContent(
        set, [&](Picture& scaled, int numerator, int denominator) -> std::optional<QRect> {
            const std::optional<QSize> size = scaledSize(working, rows, numerator, denominator);
            const QRect whole(QPoint(0, 0), size.value_or(QSize()));
            if (!size || !scaled.createLamp(whole.width(), whole.height()) ||
                !working.drawInto(scaled, whole)) {
                return std::nullopt;
            }
            return whole;
        });
}

bool applyAutoWidth(ParameterSet& set, double degreesPerLampColumn) {
    const bool keepWidth = (set.keep & KeepFlags::Width) != 0;
    set.keep &= ~KeepFlags::Width;
    PlayerParameters& parameters = set.parameters;
    if (!parameters.hasPlayerFlag(PlayerFlags::AutoWidth) || keepWidth || set.content.empty()) {
        return false;
    }
    parameters.width = degreesPerLampColumn * set.content.columnCount();
    parameters.limitWidth();
    return true;
}

}  // namespace rova
