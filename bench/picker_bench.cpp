// One touch move on the colour picker as the screen sees it: the touch dispatched, both bar
// fades rebuilt (the picker's draw pass), and the two bars and the swatch redrawn at 2x.
// "frame_fraction" is the time per move as a share of one 60 Hz frame.

#include "color/ColorPickerView.h"
#include "TestDevice.h"
#include "graphics/Painter.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

namespace {

constexpr double kScale = 2;

class MoveScene {
public:
    MoveScene()
        : _surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, int(320 * kScale), int(420 * kScale)))
        , _cr(cairo_create(_surface.get()))
    {
        _picker = std::make_shared<ColorPickerView>(CGRectMake(0, 0, 320, 420));
        _picker->prepareObjects();
        _picker->setColor(UIColor::colorWithHue(0.3f, 0.7f, 0.8f, 0.9f));
        cairo_scale(_cr.get(), kScale, kScale);
    }

    void move(CGPoint point)
    {
        _picker->dispatchTouchEvent(point);
        _picker->drawRect(_picker->bounds());
        Painter painter(_cr.get());
        for (const UIViewRef& view : {UIViewRef(_picker->gradientView()), UIViewRef(_picker->alphaView()),
                 _picker->showColor()})
            view->render(painter);
        cairo_surface_flush(_surface.get());
    }

private:
    TestDevice _device;
    CairoSurfacePtr _surface;
    CairoContextPtr _cr;
    ColorPickerViewRef _picker;
};

constexpr double kFrameSeconds = 1.0 / 60;

// The share of a frame, from the loop's own wall time: the library's counters can only show
// an inverted rate as a time.
void reportPerFrame(benchmark::State& state, std::chrono::steady_clock::duration elapsed)
{
    double perMove = std::chrono::duration<double>(elapsed).count() / double(std::max<int64_t>(state.iterations(), 1));
    state.counters["frame_fraction"] = perMove / kFrameSeconds;
}

void BM_MoveOnMap(benchmark::State& state)
{
    MoveScene scene;
    float x = 11;
    auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.move({x, 200});
        x = x >= 300 ? 11 : x + 1.5f;
    }
    reportPerFrame(state, std::chrono::steady_clock::now() - started);
}
BENCHMARK(BM_MoveOnMap);

void BM_MoveOnBrightnessBar(benchmark::State& state)
{
    MoveScene scene;
    float x = 10;
    auto started = std::chrono::steady_clock::now();
    for (auto _ : state) {
        scene.move({x, 343});
        x = x >= 300 ? 10 : x + 1.5f;
    }
    reportPerFrame(state, std::chrono::steady_clock::now() - started);
}
BENCHMARK(BM_MoveOnBrightnessBar);

} // namespace

BENCHMARK_MAIN();
