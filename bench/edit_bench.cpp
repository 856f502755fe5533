// The label and font pane and the widget on one device, end to end: an edit in the pane
// (the locked write and the post), the widget's callback, its reread of the Settings file,
// its restyle, and a render of its row at 2x. "post_to_row" times only what follows the
// write: the post, the delivery on the main run loop, the callback's reread and restyle,
// and the render. Beside them, the bare cost of one write, one read and one notification.

#include "SettingsHost.h"
#include "ShellHooks.h"
#include "ShellState.h"
#include "WeeAppHost.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/NSUserDefaults.h"
#include "TestDevice.h"
#include "shared/RVXSettings.h"
#include "ui/UIButton.h"
#include "ui/UISlider.h"
#include "ui/UITextField.h"
#include "ui/UIWindow.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

namespace fs = std::filesystem;

namespace {

void stage(TestDevice& device, const fs::path& from, const std::string& phonePath, const std::string& executable)
{
    fs::path target = fs::path(device.hostPath(phonePath + "/Info.plist", true)).parent_path();
    for (const auto& entry : fs::directory_iterator(from)) {
        if (entry.path().filename() == executable)
            fs::create_symlink(entry.path(), target / executable);
        else
            fs::copy(entry.path(), target / entry.path().filename(), fs::copy_options::recursive);
    }
}

[[noreturn]] void fail(const std::string& why)
{
    std::fprintf(stderr, "edit_bench: %s\n", why.c_str());
    std::exit(1);
}

struct EditBench {
    TestDevice device;
    std::shared_ptr<VirtualClock> clock;
    std::unique_ptr<WeeAppHost> center;
    std::unique_ptr<SettingsHost> settings;
    UIViewRef row;
    UIButtonRef bar;

    EditBench()
    {
        ShellState::shared().reset();
        ShellHooks::install();
        NSUserDefaults::setStandardDomain("com.apple.springboard");
        clock = RunLoop::main().installVirtualClock(1000);
        stage(device, RUVEXPRO_BUNDLE_DIR, "/System/Library/WeeAppPlugins/RuvexPro.bundle", "RuvexPro");
        stage(device, PREFS_BUNDLE_DIR, "/Library/PreferenceBundles/RuvexProprefs.bundle", "RuvexProprefs");
        fs::copy_file(fs::path(PREFERENCE_LOADER_DIR) / "RuvexPro.plist",
            device.hostPath("/Library/PreferenceLoader/Preferences/RuvexPro.plist", true));

        center = std::make_unique<WeeAppHost>();
        if (center->loadPlugins() != 1)
            fail("cannot load the widget");
        center->openCenter();
        settings = std::make_unique<SettingsHost>();
        Result<void> opened = settings->openEntry("Ruvex Pro");
        if (opened)
            opened = settings->tapRowNamed("Label & Font");
        if (!opened)
            fail("cannot open the label and font pane: " + opened.error());
        drain();
        row = center->widgets().front().controller->view();
        for (const UIViewRef& view : row->subviews()) {
            auto button = std::dynamic_pointer_cast<UIButton>(view);
            if (button && button->buttonType() == UIButtonTypeCustom)
                bar = button;
        }
        if (!bar)
            fail("the widget shows no bar");
    }

    static EditBench& shared()
    {
        static EditBench bench;
        return bench;
    }

    void drain()
    {
        clock->advance(1);
        while (RunLoop::main().runOnce(0)) { }
    }

    template<typename T>
    std::shared_ptr<T> controlOfRow(int section)
    {
        auto pane = settings->topPane();
        auto cell = pane->table()->cellForRowAtIndexPath(NSIndexPath::indexPathForRow(0, section));
        for (const auto& view : cell ? cell->contentView()->subviews() : std::vector<UIViewRef> {}) {
            if (auto control = std::dynamic_pointer_cast<T>(view))
                return control;
        }
        fail("the pane's row has no control");
    }
};

// One typed character, or one deleted, through the label field: the write and the post,
// the delivery, the widget's reread and restyle, and the render of its row.
void BM_TypeToRestyledRow(benchmark::State& state)
{
    EditBench& bench = EditBench::shared();
    auto field = bench.controlOfRow<UITextField>(0);
    field->becomeFirstResponder();
    bool add = true;
    for (auto _ : state) {
        if (add)
            field->insertText("x");
        else
            field->deleteBackward();
        add = !add;
        while (RunLoop::main().runOnce(0)) { }
        benchmark::DoNotOptimize(UIRenderView(*bench.row, 2));
    }
    if (bench.bar->titleForState(UIControlStateNormal) != field->text())
        state.SkipWithError("the bar does not show the label field's text");
    field->resignFirstResponder();
}
BENCHMARK(BM_TypeToRestyledRow)->Unit(benchmark::kMicrosecond);

// `settings type` of N characters into the empty label field and `settings clear` after it,
// through the Settings host: up to 64 characters a store each, a longer text one store.
void BM_TypeAndClearText(benchmark::State& state)
{
    EditBench& bench = EditBench::shared();
    auto field = bench.controlOfRow<UITextField>(0);
    field->becomeFirstResponder();
    if (Result<void> cleared = bench.settings->clearField(); !cleared) {
        state.SkipWithError(cleared.error().c_str());
        return;
    }
    std::string text(size_t(state.range(0)), 'x');
    for (auto _ : state) {
        Result<void> done = bench.settings->typeText(text);
        if (done)
            done = bench.settings->clearField();
        if (!done)
            state.SkipWithError(done.error().c_str());
        while (RunLoop::main().runOnce(0)) { }
    }
    field->resignFirstResponder();
}
BENCHMARK(BM_TypeAndClearText)->Arg(64)->Arg(65)->Arg(1000)->Unit(benchmark::kMillisecond);

// What follows the write only: from the post to the restyled, rendered row.
void BM_PostToRestyledRow(benchmark::State& state)
{
    EditBench& bench = EditBench::shared();
    int turn = 0;
    for (auto _ : state) {
        RVXSettings::changeOneKey("Label", "Close " + std::to_string(turn++ % 2));
        auto start = std::chrono::steady_clock::now();
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
            RVXSettings::notificationName, nullptr, nullptr, true);
        while (RunLoop::main().runOnce(0)) { }
        benchmark::DoNotOptimize(UIRenderView(*bench.row, 2));
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_PostToRestyledRow)->UseManualTime()->Unit(benchmark::kMicrosecond);

// A whole drag of the size slider: `steps` writes without a post, the post at the lift,
// one restyle and one render.
void BM_DragToRestyledRow(benchmark::State& state)
{
    EditBench& bench = EditBench::shared();
    const int steps = int(state.range(0));
    auto slider = bench.controlOfRow<UISlider>(2);
    bool up = true;
    for (auto _ : state) {
        slider->dragTo(up ? 40 : 20, steps);
        up = !up;
        while (RunLoop::main().runOnce(0)) { }
        benchmark::DoNotOptimize(UIRenderView(*bench.row, 2));
    }
    if (bench.bar->titleLabel()->font()->pointSize() != slider->value())
        state.SkipWithError("the bar does not show the slider's size");
    state.counters["per_step"] = benchmark::Counter(double(steps), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DragToRestyledRow)->Arg(10)->Arg(30)->Unit(benchmark::kMicrosecond);

// The bare file and notification work of one edit: the locked write, one whole read, and a
// post delivered to an observer that does nothing.
void noop(CFNotificationCenterRef, void*, CFStringRef, const void*, CFDictionaryRef) { }

void BM_BareWriteReadNotify(benchmark::State& state)
{
    EditBench::shared();
    const char* name = "com.vastelmark.bench.bare";
    CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, noop, name, nullptr,
        CFNotificationSuspensionBehaviorDeliverImmediately);
    int turn = 0;
    for (auto _ : state) {
        RVXSettings::changeOneKey("Label", "Close " + std::to_string(turn++ % 2));
        benchmark::DoNotOptimize(RVXSettings::read());
        CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(), name, nullptr, nullptr, true);
        while (RunLoop::main().runOnce(0)) { }
    }
}
BENCHMARK(BM_BareWriteReadNotify)->Unit(benchmark::kMicrosecond);

// The render of the row alone, for reference.
void BM_RenderRow(benchmark::State& state)
{
    EditBench& bench = EditBench::shared();
    for (auto _ : state)
        benchmark::DoNotOptimize(UIRenderView(*bench.row, 2));
}
BENCHMARK(BM_RenderRow)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
