// The picture editor's rebuild of its working picture: a loaded 4000 × 3000 24-bit photograph
// stretched to 16 rows (width scaled to match), averaged and mapped to the lamp colours.
#include <benchmark/benchmark.h>

#include <QString>

#include <cstdint>

#include "BenchSupport.h"
#include "Picture.h"
#include "PictureEditorModel.h"

namespace {

void BM_PictureEditorRebuildFromPhoto(benchmark::State& state) {
    rova::Picture photo;
    if (!photo.create(4000, 3000, false, 24, {}, 0)) {
        state.SkipWithError("cannot create the photograph");
        return;
    }
    rova::bench::fillPhoto(photo);
    rova::PictureEditorModel editor;
    // Loaded as a picture file would be: 16 rows, the working picture rebuilt once already.
    if (!editor.loadPicture(photo, QStringLiteral("photo.bmp")) || editor.rows() != 16 ||
        editor.workingPicture().width() != 21) {
        state.SkipWithError("the photograph was not loaded at 16 rows");
        return;
    }
    for (auto _ : state) {
        editor.rebuild();
        benchmark::DoNotOptimize(editor.workingPicture().row(0).data());
    }
}
BENCHMARK(BM_PictureEditorRebuildFromPhoto)->Unit(benchmark::kMillisecond);

}  // namespace
