// The picture editor control drawing: one mouse-move event of a pen stroke at zoom 10, from the
// event to the model's line and the repaint of the touched rectangle into the control's backing
// image.
#include <benchmark/benchmark.h>

#include <QMouseEvent>

#include "BenchSupport.h"
#include "PictureEditor.h"
#include "UserPrompt.h"

namespace {

void BM_PictureEditorStroke(benchmark::State& state) {
    rova::bench::ensureApplication();
    rova::bench::SilentPrompt prompt;
    rova::PictureEditor editor(prompt);
    editor.show();
    // A picture of 64 × 16 lamps at zoom 10 fills a client area of 640 × 160.
    rova::PictureEditorModel& model = editor.model();
    const QSize client(640, 160);
    editor.resize(client + editor.size() - editor.viewport()->size());
    if (!model.applySetPicture(rova::SetPictureFunction::SetTo, 64, 16, 0) ||
        editor.viewport()->size() != client) {
        state.SkipWithError("the editor could not be set up");
        return;
    }
    editor.applyModelUpdate();
    if (model.zoom() != 10) {
        state.SkipWithError("the picture is not shown at zoom 10");
        return;
    }
    QWidget* viewport = editor.viewport();
    const auto centre = [&model](int column, int row) {
        return QPointF(model.screenRectOf(QRect(column, row, 1, 1)).center());
    };
    QMouseEvent press(QEvent::MouseButtonPress, centre(10, 8), centre(10, 8), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    // The pen moves back and forth over three lamps: each event draws a short line.
    int step = 0;
    for (auto _ : state) {
        const QPointF at = centre(step % 2 == 0 ? 13 : 10, 8 + step % 3);
        QMouseEvent move(QEvent::MouseMove, at, at, Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(viewport, &move);
        ++step;
    }
    benchmark::DoNotOptimize(editor.backingImage().constBits());
    if (model.workingPicture().pixelValue(13, 8) == 0) {
        state.SkipWithError("the stroke drew nothing");
    }
}
BENCHMARK(BM_PictureEditorStroke)->Unit(benchmark::kMicrosecond);

}  // namespace
