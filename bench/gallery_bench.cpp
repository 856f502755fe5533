// Every gallery screen drawn at 2x, as a screen's refresh draws it: the whole window's view
// tree rendered into a 640 x 960 image, the screen reached once beforehand on a fresh
// device. "frame_fraction" is the CPU time per drawing as a share of one 60 Hz frame.
// Beside it, the same window's view tree as the JSON text `ruvex ui dump` prints, with
// "bytes" the length of that text.

#include "GalleryScreens.h"

#include "ui/UIWindow.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <filesystem>

namespace {

constexpr double kScale = 2;
constexpr double kFrameSeconds = 1.0 / 60;

double threadSeconds()
{
    timespec now {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

enum class Work { Draw, Dump };

void measureScreen(benchmark::State& state, const gallery::Screen* screen, Work work)
{
    std::string root = (std::filesystem::temp_directory_path() / "rvx-gallery-bench-XXXXXX").string();
    if (!mkdtemp(root.data())) {
        state.SkipWithError("no temporary folder");
        return;
    }
    {
        std::unique_ptr<gallery::Stage> stage;
        try {
            stage = gallery::reach(*screen, root, BUNDLES_DIR);
        } catch (const gallery::StepError& error) {
            state.SkipWithError(error.what());
        }
        if (stage) {
            double started = threadSeconds();
            size_t bytes = 0;
            for (auto _ : state) {
                if (work == Work::Draw) {
                    CairoSurfacePtr picture = stage->render(screen->host, kScale);
                    benchmark::DoNotOptimize(picture.get());
                } else {
                    std::string text = stage->window(screen->host)->dump();
                    bytes = text.size();
                    benchmark::DoNotOptimize(text.data());
                }
            }
            double perRun = (threadSeconds() - started) / double(std::max<int64_t>(state.iterations(), 1));
            state.counters["frame_fraction"] = perRun / kFrameSeconds;
            if (work == Work::Dump)
                state.counters["bytes"] = double(bytes);
        }
    }
    std::error_code ignored;
    std::filesystem::remove_all(root, ignored);
}

} // namespace

int main(int argc, char** argv)
{
    for (const gallery::Screen& screen : gallery::screens())
        benchmark::RegisterBenchmark(("BM_DrawScreen2x/" + screen.name).c_str(), measureScreen, &screen, Work::Draw)
            ->Unit(benchmark::kMicrosecond);
    for (const gallery::Screen& screen : gallery::screens())
        benchmark::RegisterBenchmark(("BM_DumpScreen/" + screen.name).c_str(), measureScreen, &screen, Work::Dump)
            ->Unit(benchmark::kMicrosecond);
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
