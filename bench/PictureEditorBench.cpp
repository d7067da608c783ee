// The picture editor's rebuild of its working picture: a loaded 4000 × 3000 24-bit photograph
// stretched to 16 rows (width scaled to match), averaged and mapped to the lamp colours.
#include <benchmark/benchmark.h>

#include <QString>

#include <cstdint>

#include "Picture.h"
#include "PictureEditorModel.h"

namespace {

// A bottom-up 24-bit picture of gradients with noise in every pixel, like a photograph.
void fillPhoto(rova::Picture& photo) {
    std::uint32_t seed = 4000;
    for (int y = 0; y < photo.height(); ++y) {
        std::uint8_t* bytes = photo.row(y).data();
        for (int x = 0; x < photo.width(); ++x) {
            seed = seed * 1664525u + 1013904223u;
            const int noise = static_cast<int>(seed >> 26);
            bytes[3 * x] = static_cast<std::uint8_t>((x * 255 / photo.width() + noise) & 0xFF);
            bytes[3 * x + 1] = static_cast<std::uint8_t>((y * 255 / photo.height() + noise) & 0xFF);
            bytes[3 * x + 2] = static_cast<std::uint8_t>(((x + y) / 13 + noise) & 0xFF);
        }
    }
}

void BM_PictureEditorRebuildFromPhoto(benchmark::State& state) {
    rova::Picture photo;
    if (!photo.create(4000, 3000, false, 24, {}, 0)) {
        state.SkipWithError("cannot create the photograph");
        return;
    }
    fillPhoto(photo);
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
