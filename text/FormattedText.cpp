#include "FormattedText.h"

#include <QAbstractTextDocumentLayout>
#include <QPainter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextOption>

#include <algorithm>
#include <cmath>

namespace rova {

namespace {

// A QImage reports its resolution rounded to whole dots per inch: 2835 dots per metre is 72.
constexpr int kDotsPerMetreAt72Dpi = 2835;
constexpr double kTabStopPoints = 36.0;

int twipsOf(double points) {
    return static_cast<int>(std::ceil(points * FormattedText::kTwipsPerPoint));
}

}  // namespace

FormattedText::FormattedText(const QTextDocument& document, const CharacterFormat& defaults,
                             const QRect& layoutTwips)
    : metricsDevice_(1, 1, QImage::Format_RGB32),
      copy_(document.clone()),
      defaultColour_(colourFromRef(defaults.colour)) {
    metricsDevice_.setDotsPerMeterX(kDotsPerMetreAt72Dpi);
    metricsDevice_.setDotsPerMeterY(kDotsPerMetreAt72Dpi);
    copy_->documentLayout()->setPaintDevice(&metricsDevice_);

    QFont font = fontOf(defaults);
    font.setStyleStrategy(QFont::NoAntialias);
    copy_->setDefaultFont(font);
    QTextCursor all(copy_.get());
    all.select(QTextCursor::Document);
    QTextCharFormat aliased;
    aliased.setFontStyleStrategy(QFont::NoAntialias);
    all.mergeCharFormat(aliased);

    QTextOption option = copy_->defaultTextOption();
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setTabStopDistance(kTabStopPoints);
    copy_->setDefaultTextOption(option);
    copy_->setDocumentMargin(0);
    // A negative width would switch line breaking off.
    copy_->setTextWidth(static_cast<double>(std::max(layoutTwips.width(), 0)) / kTwipsPerPoint);

    const double height = copy_->documentLayout()->documentSize().height();
    used_ = QRect(layoutTwips.left(), layoutTwips.top(),
                  std::min(twipsOf(copy_->idealWidth()), layoutTwips.width()),
                  std::min(twipsOf(height), layoutTwips.height()));
}

FormattedText::~FormattedText() = default;

void FormattedText::draw(QPainter& painter, const QPointF& topLeft, const QRectF& clip) const {
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    painter.translate(topLeft);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette.setColor(QPalette::Text, defaultColour_);
    context.clip = clip.translated(-topLeft);
    copy_->documentLayout()->draw(&painter, context);
    painter.restore();
}

}  // namespace rova
