// Text layout per label, as the screens use it: measuring one row title, and laying out and
// drawing a label at 2x (a row title, a row title cut with an ellipsis, a wrapped group
// footer, a line of five scripts and an emoji). "frame_fraction" is the time per label as a
// share of one 60 Hz frame.

#include "graphics/CairoPtr.h"
#include "ui/TextLayout.h"
#include "ui/UILabel.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr double kScale = 2;
constexpr double kFrameSeconds = 1.0 / 60;

void reportPerFrame(benchmark::State& state, std::chrono::steady_clock::duration elapsed)
{
    double perLabel = std::chrono::duration<double>(elapsed).count() / double(std::max<int64_t>(state.iterations(), 1));
    state.counters["frame_fraction"] = perLabel / kFrameSeconds;
}

void BM_MeasureRowTitle(benchmark::State& state)
{
    UIFontRef font = UIFont::boldSystemFontOfSize(17);
    auto started = std::chrono::steady_clock::now();
    for (auto _ : state)
        benchmark::DoNotOptimize(NSString_UIStringDrawing::sizeWithFont("Hide Center After Closing", font));
    reportPerFrame(state, std::chrono::steady_clock::now() - started);
}
BENCHMARK(BM_MeasureRowTitle);

struct Case {
    const char* text;
    CGFloat width;
    int lines;
    CGFloat fontSize;
};

const Case kCases[] = {
    {"Excluded Apps", 280, 1, 17},
    {"Close When Center Opens", 180, 1, 17},
    {"Apps you exclude keep running; the app in front always stays, whatever you pick here.", 280, 0, 15},
    {"Καλημέρα Привет שלום مرحبا 😀", 280, 1, 17},
};

// One label's text laid out and drawn, as a render of its view does.
void BM_DrawLabel(benchmark::State& state)
{
    const Case& c = kCases[state.range(0)];
    auto label = std::make_shared<UILabel>(CGRectMake(0, 0, c.width, 60));
    label->setText(c.text);
    label->setFont(UIFont::boldSystemFontOfSize(c.fontSize));
    label->setNumberOfLines(c.lines);
    label->setBackgroundColor(UIColor::clearColor());
    CairoSurfacePtr surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(c.width * kScale), int(60 * kScale)));
    CairoContextPtr cr(cairo_create(surface.get()));
    cairo_scale(cr.get(), kScale, kScale);
    Painter painter(cr.get());
    auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        label->drawTextInRect(painter, label->bounds());
        cairo_surface_flush(surface.get());
    }
    reportPerFrame(state, std::chrono::steady_clock::now() - started);
    state.SetLabel(c.text);
}
BENCHMARK(BM_DrawLabel)->DenseRange(0, 3);

} // namespace

BENCHMARK_MAIN();
