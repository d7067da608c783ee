#pragma once

#include <QScrollArea>
#include <array>

class QCheckBox;
class QPushButton;

namespace rova {

class PreviewSimulator;
class ValuePair;

// The form beside the preview on which the user sets the simulated rotor: the frame rate, the
// size of the rotor and its lamps, where the viewer stands and how fast the animated drawing
// runs. Every number is a slider-and-edit pair (ValuePair).
//
// The form keeps no settings of its own. Each value a pair hands over is written into a copy of
// the simulator's current settings, which is applied at once (the simulator takes its lock).
// Some values are shown in other units than the simulator's: the rotor radius and the viewer
// distance in feet, the viewer's eye height above the ground in feet (the bottom of the lamp
// column being 108 inches above the ground) instead of the column's height above the eye, and
// the rotation speed in revolutions per minute.
//
// Values reach the settings only through the edit fields, so refreshing the form stores the
// settings as shown: a rotor radius of 74 inches shows as 6.2 feet and becomes 74.4 inches.
// The form is refreshed when it is made, after "Animate Drawing", after a fit of the viewer
// distance and whenever the owner says that the preview changed its size (refresh()).
//
// The controls' accessible names are their captions without "&" and without the trailing
// colon ("Viewer Distance"); a pair's slider and edit field share theirs, and their tooltips
// add the unit ("Viewer Distance (feet)"). Giving the form the focus gives it to the
// "Frames/Second:" slider. The form scrolls when its pane is smaller than it.
class MetricsForm final : public QScrollArea {
    Q_OBJECT

  public:
    explicit MetricsForm(PreviewSimulator& simulator, QWidget* parent = nullptr);

    // Fills the controls from the simulator's settings, and so stores them as shown.
    void refresh();
    // Sets the viewer distance at which the rotor fits the preview, then refreshes.
    void fitDistance();

    // The form's own size, with room for a vertical scroll bar.
    QSize sizeHint() const override;

  private:
    enum Pair {
        FramesPerSecond,
        XShift,
        RotorRadius,
        LampDiameter,
        LampSpacing,
        ViewerHeight,
        ViewerAngle,
        ViewerDistance,
        RevolutionsPerMinute,
        RedrawsPerSecond,
        PairCount
    };

    QWidget* buildControls();
    // Shows the setting of `pair` in its unit; the pair hands it back as shown.
    void showSetting(Pair pair);
    // Takes a value handed over by `pair` into the settings and applies them.
    void take(Pair pair, double value);
    void setAnimation(bool on);

    PreviewSimulator& simulator_;
    std::array<ValuePair*, PairCount> pairs_{};
    QCheckBox* xFlip_ = nullptr;
    QCheckBox* animate_ = nullptr;
    QPushButton* fit_ = nullptr;
};

}  // namespace rova
