#include "MetricsForm.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QVBoxLayout>
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <limits>
#include <optional>

#include "Numeric.h"
#include "PreviewSimulator.h"
#include "ValuePair.h"
#include "ValueSlider.h"

namespace rova {

namespace {

constexpr double kInchesPerFoot = 12.0;
// The bottom of the lamp column above the ground, for the viewer's eye height.
constexpr double kColumnBottomInches = 108.0;
// Rotor degrees per second in one revolution per minute.
constexpr double kDegreesPerSecondPerRpm = 6.0;

constexpr const char* kContext = "rova::MetricsForm";

// One value pair: its caption, the unit shown after its field and the one its tooltip names,
// its slider, its decimals, the value a click on its caption sets, and the setting it shows,
// converted both ways. A pair without a setting changes nothing.
struct PairTraits {
    const char* caption;
    const char* unit;
    const char* unitName;
    ValueRange range;
    Qt::Orientation orientation;
    int decimals;
    std::optional<double> captionValue;
    double (*shown)(const SimulationSettings&);
    void (*take)(SimulationSettings&, double);
};

std::int32_t wholeDegrees(double value) {
    constexpr std::int64_t kLow = std::numeric_limits<std::int32_t>::min();
    constexpr std::int64_t kHigh = std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(std::clamp(truncToInt(value), kLow, kHigh));
}

// In the order of MetricsForm::Pair.
const PairTraits kPairs[] = {
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Frames/Second:"),
     nullptr,
     nullptr,
     {1, 16, 1},
     Qt::Horizontal,
     1,
     8.0,
     [](const SimulationSettings& s) { return s.framesPerSecond; },
     [](SimulationSettings& s, double v) { s.framesPerSecond = v; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "X-Shift:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "deg"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "degrees"),
     {0, 360, 5},
     Qt::Horizontal,
     1,
     0.0,
     nullptr,
     nullptr},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Rotor Radius:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "feet"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "feet"),
     {1, 10, 1},
     Qt::Horizontal,
     1,
     74.0 / kInchesPerFoot,
     [](const SimulationSettings& s) { return s.rotorRadius / kInchesPerFoot; },
     [](SimulationSettings& s, double v) { s.rotorRadius = v * kInchesPerFoot; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Lamp Diam:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "in"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "inches"),
     {5, 1, 0.25},
     Qt::Vertical,
     1,
     2.0,
     [](const SimulationSettings& s) { return s.lampDiameter; },
     [](SimulationSettings& s, double v) { s.lampDiameter = v; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Lamp Spacing:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "in"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "inches"),
     {5, 1, 0.25},
     Qt::Vertical,
     1,
     2.625,
     [](const SimulationSettings& s) { return s.lampSpacingY; },
     [](SimulationSettings& s, double v) { s.lampSpacingY = v; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Viewer Height:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "feet"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "feet"),
     {20, 0, 1},
     Qt::Vertical,
     2,
     5.0,
     [](const SimulationSettings& s) { return (kColumnBottomInches - s.viewerY) / kInchesPerFoot; },
     [](SimulationSettings& s, double v) { s.viewerY = kColumnBottomInches - v * kInchesPerFoot; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Viewer Angle:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "deg"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "degrees"),
     {0, 270, 90},
     Qt::Horizontal,
     1,
     90.0,
     [](const SimulationSettings& s) { return static_cast<double>(s.viewerAngle); },
     [](SimulationSettings& s, double v) { s.viewerAngle = wholeDegrees(v); }},
    // A click on its caption fits the distance to the preview, as the button does.
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Viewer Distance:"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "feet"),
     QT_TRANSLATE_NOOP("rova::MetricsForm", "feet"),
     {10, 200, 5},
     Qt::Horizontal,
     1,
     std::nullopt,
     [](const SimulationSettings& s) { return s.viewerDistance / kInchesPerFoot; },
     [](SimulationSettings& s, double v) { s.viewerDistance = v * kInchesPerFoot; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Revolutions/Minute:"),
     nullptr,
     nullptr,
     {30, 120, 10},
     Qt::Horizontal,
     1,
     120.0,
     [](const SimulationSettings& s) { return s.degreesPerSecond / kDegreesPerSecondPerRpm; },
     [](SimulationSettings& s, double v) { s.degreesPerSecond = v * kDegreesPerSecondPerRpm; }},
    {QT_TRANSLATE_NOOP("rova::MetricsForm", "Redraws/Second:"),
     nullptr,
     nullptr,
     {2, 32, 2},
     Qt::Horizontal,
     1,
     16.0,
     [](const SimulationSettings& s) { return s.drawsPerSecond; },
     [](SimulationSettings& s, double v) { s.drawsPerSecond = v; }},
};

QString translated(const char* text) {
    return text == nullptr ? QString() : QCoreApplication::translate(kContext, text);
}

// The caption as assistive technology names its control: without "&" and the trailing colon.
QString accessibleNameOf(QString caption) {
    caption.remove(u'&');
    if (caption.endsWith(u':')) {
        caption.chop(1);
    }
    return caption;
}

// Tall enough for a tick at every position of the vertical sliders (21 at most, three pixels
// each).
constexpr int kVerticalSliderHeight = 120;

// A horizontal pair in one row of a grid: caption, slider, field and unit.
void addRow(QGridLayout* grid, int row, ValuePair* pair, const PairTraits& traits) {
    grid->addWidget(pair->label(), row, 0);
    grid->addWidget(pair->slider(), row, 1);
    grid->addWidget(pair->edit(), row, 2);
    if (traits.unit != nullptr) {
        grid->addWidget(new QLabel(translated(traits.unit)), row, 3);
    }
}

// A vertical pair in one column of a grid: caption on top, slider, then field and unit.
void addColumn(QGridLayout* grid, int column, ValuePair* pair, const PairTraits& traits) {
    grid->addWidget(pair->label(), 0, column, Qt::AlignHCenter);
    pair->slider()->setMinimumHeight(kVerticalSliderHeight);
    grid->addWidget(pair->slider(), 1, column, Qt::AlignHCenter);
    auto* field = new QHBoxLayout;
    field->addStretch();
    field->addWidget(pair->edit());
    field->addWidget(new QLabel(translated(traits.unit)));
    field->addStretch();
    grid->addLayout(field, 2, column);
}

QGridLayout* rowsGrid(QWidget* parent) {
    auto* grid = new QGridLayout(parent);
    grid->setColumnStretch(1, 1);
    return grid;
}

}  // namespace

MetricsForm::MetricsForm(PreviewSimulator& simulator, QWidget* parent)
    : QScrollArea(parent), simulator_(simulator) {
    static_assert(std::size(kPairs) == PairCount);
    setFrameShape(QFrame::NoFrame);
    setWidgetResizable(true);
    // The pane as a whole takes no focus: giving it the focus gives it to the frame rate.
    setFocusPolicy(Qt::NoFocus);
    setWidget(buildControls());

    for (int i = 0; i < PairCount; ++i) {
        const auto pair = static_cast<Pair>(i);
        connect(pairs_[pair], &ValuePair::valueTaken, this,
                [this, pair](double value) { take(pair, value); });
    }
    connect(pairs_[ViewerDistance]->label(), &ValueLabel::clicked, this, &MetricsForm::fitDistance);
    connect(fit_, &QPushButton::clicked, this, &MetricsForm::fitDistance);
    connect(animate_, &QCheckBox::clicked, this, &MetricsForm::setAnimation);

    // The shift of the image round the rotor is not simulated.
    pairs_[XShift]->setEnabled(false);
    xFlip_->setEnabled(false);

    refresh();
    setFocusProxy(pairs_[FramesPerSecond]->slider());
}

QWidget* MetricsForm::buildControls() {
    auto* content = new QWidget;
    const auto makePair = [this](Pair pair, QWidget* parent) {
        const PairTraits& traits = kPairs[pair];
        auto* made =
            new ValuePair(translated(traits.caption), traits.range, parent, traits.orientation);
        made->setFormat(traits.decimals, false);
        made->setAccessibleName(accessibleNameOf(translated(traits.caption)),
                                translated(traits.unitName));
        if (traits.captionValue) {
            made->setLabelValue(*traits.captionValue);
        }
        // Room for the few digits these values have, so that the sliders get the width.
        made->edit()->setFixedWidth(
            made->edit()->fontMetrics().horizontalAdvance(QStringLiteral("0000.0")) + 10);
        pairs_[pair] = made;
        return made;
    };
    const auto named = [](auto* widget) {
        widget->setAccessibleName(accessibleNameOf(widget->text()));
        return widget;
    };

    // The widgets are made in the order the Tab key visits them.
    auto* top = rowsGrid(nullptr);
    addRow(top, 0, makePair(FramesPerSecond, content), kPairs[FramesPerSecond]);

    auto* rotor = new QGroupBox(tr("Rotor"), content);
    auto* rotorRows = rowsGrid(rotor);
    addRow(rotorRows, 0, makePair(XShift, rotor), kPairs[XShift]);
    xFlip_ = named(new QCheckBox(tr("X-Flip"), rotor));
    rotorRows->addWidget(xFlip_, 1, 0, 1, 4);

    auto* geometry = new QGroupBox(tr("Simulation Geometry"), content);
    auto* geometryRows = rowsGrid(geometry);
    addRow(geometryRows, 0, makePair(RotorRadius, geometry), kPairs[RotorRadius]);
    auto* columns = new QGridLayout;
    int column = 0;
    for (const Pair pair : {LampDiameter, LampSpacing, ViewerHeight}) {
        addColumn(columns, column++, makePair(pair, geometry), kPairs[pair]);
    }
    geometryRows->addLayout(columns, 1, 0, 1, 4);
    addRow(geometryRows, 2, makePair(ViewerAngle, geometry), kPairs[ViewerAngle]);
    addRow(geometryRows, 3, makePair(ViewerDistance, geometry), kPairs[ViewerDistance]);
    fit_ = named(new QPushButton(tr("Set Distance To Fit Window"), geometry));
    geometryRows->addWidget(fit_, 4, 0, 1, 4);

    auto* timing = new QGroupBox(tr("Simulation Timing"), content);
    auto* timingRows = rowsGrid(timing);
    animate_ = named(new QCheckBox(tr("Animate Drawing"), timing));
    timingRows->addWidget(animate_, 0, 0, 1, 4);
    addRow(timingRows, 1, makePair(RevolutionsPerMinute, timing), kPairs[RevolutionsPerMinute]);
    addRow(timingRows, 2, makePair(RedrawsPerSecond, timing), kPairs[RedrawsPerSecond]);

    auto* layout = new QVBoxLayout(content);
    layout->addLayout(top);
    layout->addWidget(rotor);
    layout->addWidget(geometry);
    layout->addWidget(timing);
    layout->addStretch();
    return content;
}

void MetricsForm::refresh() {
    // Each value is read when it is shown: showing one applies it, and applying may raise
    // another to its minimum.
    for (const Pair pair : {FramesPerSecond, RotorRadius, LampDiameter, LampSpacing, ViewerDistance,
                            ViewerAngle, ViewerHeight}) {
        showSetting(pair);
    }
    const bool animating = simulator_.currentSettings().doAnimation;
    animate_->setChecked(animating);
    // The timing of the animated drawing means nothing without it.
    pairs_[RevolutionsPerMinute]->setEnabled(animating);
    pairs_[RedrawsPerSecond]->setEnabled(animating);
    showSetting(RevolutionsPerMinute);
    showSetting(RedrawsPerSecond);
}

void MetricsForm::fitDistance() {
    simulator_.fitDistance();
    refresh();
}

QSize MetricsForm::sizeHint() const {
    const QSize content = widget()->sizeHint();
    const int frame = 2 * frameWidth();
    return {content.width() + frame + verticalScrollBar()->sizeHint().width(),
            content.height() + frame};
}

void MetricsForm::showSetting(Pair pair) {
    pairs_[pair]->setValue(kPairs[pair].shown(simulator_.currentSettings()));
}

void MetricsForm::take(Pair pair, double value) {
    const PairTraits& traits = kPairs[pair];
    if (traits.take == nullptr) {
        return;
    }
    SimulationSettings settings = simulator_.currentSettings();
    traits.take(settings, value);
    simulator_.applySettings(settings);
}

void MetricsForm::setAnimation(bool on) {
    SimulationSettings settings = simulator_.currentSettings();
    settings.doAnimation = on;
    simulator_.applySettings(settings);
    refresh();
}

}  // namespace rova
