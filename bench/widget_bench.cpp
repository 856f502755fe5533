// The close-all action over switcher lists of 10, 100 and 1000 apps in the simulated shell,
// beside the bare cost of its file work (two whole reads and one locked change-one-key
// write of the Settings file). "per_app" is the time of one run divided by the apps closed.

#include "ShellHooks.h"
#include "ShellState.h"

#include "foundation/NSBundle.h"
#include "TestDevice.h"
#include "shared/RVXSettings.h"
#include "springboard/BBWeeAppController.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

struct WidgetBench {
    TestDevice device;
    std::shared_ptr<springboard::BBWeeAppController> controller;

    WidgetBench()
    {
        ShellState::shared().reset();
        ShellHooks::install();
        fs::path bundle = device.hostPath("/System/Library/WeeAppPlugins/RuvexPro.bundle/Info.plist");
        for (const auto& entry : fs::directory_iterator(RUVEXPRO_BUNDLE_DIR)) {
            if (entry.path().filename() == "RuvexPro")
                fs::create_symlink(entry.path(), bundle.parent_path() / "RuvexPro");
            else
                fs::copy(entry.path(), bundle.parent_path() / entry.path().filename());
        }
        auto loaded = NSBundle::bundleWithPath("/System/Library/WeeAppPlugins/RuvexPro.bundle");
        if (!loaded || !loaded->load() || !loaded->principalClass()) {
            std::fprintf(stderr, "widget_bench: cannot load the widget bundle\n");
            std::exit(1);
        }
        controller = std::dynamic_pointer_cast<springboard::BBWeeAppController>(loaded->principalClass()->createInstance());
        controller->loadPlaceholderView();
        controller->loadFullView();
        // A file of typical size: the look, a few options and some exclusions.
        RVXSettings::changeWith([](NSDictionary& settings) {
            settings.setObject("Tap to close all Apps", "Label");
            settings.setObject("0.000000,0.000000,1.000000,1.000000", "TextColor");
            settings.setObject(true, "Dismiss");
            for (int i = 0; i < 10; ++i)
                settings.setObject(true, "com.example.excluded" + std::to_string(i));
            return true;
        });
    }

    static WidgetBench& shared()
    {
        static WidgetBench bench;
        return bench;
    }
};

void fillSwitcher(int apps)
{
    ShellState& shell = ShellState::shared();
    for (int i = 0; i < apps; ++i) {
        std::string identifier = "com.example.app" + std::to_string(i);
        shell.install({ identifier, identifier, {} });
        shell.launch(identifier);
    }
    shell.goHome();
    shell.clearEvents();
}

void BM_Kill(benchmark::State& state)
{
    WidgetBench& bench = WidgetBench::shared();
    const int apps = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        fillSwitcher(apps);
        state.ResumeTiming();
        bench.controller->performSelector("kill");
    }
    if (ShellState::shared().switcherList().count() != 0)
        state.SkipWithError("apps were left in the switcher");
    state.counters["per_app"] = benchmark::Counter(double(apps),
        benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Kill)->Arg(10)->Arg(100)->Arg(1000)->Unit(benchmark::kMicrosecond);

void BM_KillFileWork(benchmark::State& state)
{
    WidgetBench::shared();
    for (auto _ : state) {
        RVXSettings::incrementCount();
        benchmark::DoNotOptimize(RVXSettings::read());
    }
}
BENCHMARK(BM_KillFileWork)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
