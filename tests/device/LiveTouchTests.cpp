// A finger on the Settings app through the shell's screen, phase by phase as `ruvex window`
// sends them: the Size slider follows it before the lift, the Home button, the Center and
// another app cancel it in the settings host, and a finger whose sender went away gives way
// to the next one.

#include "DeviceFixture.h"

#include "control/ControlClient.h"

#include <csignal>

namespace {

class LiveTouch : public DeviceFixture {
protected:
    void SetUp() override
    {
        DeviceFixture::SetUp();
        createAndBoot();
        ask("launch com.apple.Preferences");
        ask("settings open RVXFontController");
        _before = sliderValue();
    }
    // One phase at a point of the phone's screen, as the window sends it.
    json::Value touch(const char* phase, int x, int y)
    {
        return request(control::kSpringboard, { "screen", "touch", phase, std::to_string(x), std::to_string(y) });
    }
    json::Value request(const char* host, const control::Words& words)
    {
        control::Exchange exchange = control::request(control::socketPath(device(), host), words);
        EXPECT_EQ(exchange.outcome, control::Outcome::Replied) << exchange.error;
        std::optional<json::Value> reply = json::read(exchange.reply);
        EXPECT_TRUE(reply && json::flag(json::member(*reply, "ok"))) << exchange.reply;
        return reply ? *reply : json::Value();
    }
    json::Value finger() { return request(control::kSettings, { "finger" }); }
    double sliderValue() { return json::numeric(json::member(sizeRow(ask("settings rows")), "value")); }
    double storedSize()
    {
        std::optional<NSDictionary> settings = settingsFile();
        const PlistValue* value = settings ? settings->objectForKey("Size") : nullptr;
        return value && value->doubleValue() ? *value->doubleValue() : -1;
    }

    // The Size slider lies at y 425 of the settings window, under the 20-point status bar.
    static constexpr int kSliderY = 445;
    double _before = 0;
};

TEST_F(LiveTouch, TheSliderFollowsTheFingerBeforeTheLift)
{
    EXPECT_EQ(json::text(json::member(touch("began", 100, kSliderY), "did")), "began");
    EXPECT_EQ(json::text(json::member(finger(), "view")), "UISlider") << "the finger is down on the slider in the settings host";
    double last = _before;
    for (int x : { 130, 160, 190 }) {
        touch("moved", x, kSliderY);
        double now = sliderValue();
        EXPECT_GT(now, last) << "each move moves the slider at once";
        EXPECT_FLOAT_EQ(float(storedSize()), float(now)) << "and the pane stores it at each step";
        last = now;
    }
    EXPECT_TRUE(json::flag(json::member(finger(), "down")));
    EXPECT_EQ(json::text(json::member(touch("ended", 190, kSliderY), "did")), "touched Settings");
    json::Value after = finger();
    EXPECT_FALSE(json::flag(json::member(after, "down")));
    EXPECT_EQ(json::text(json::member(after, "phase")), "ended");
    EXPECT_FLOAT_EQ(float(sliderValue()), float(last));
}

TEST_F(LiveTouch, HomeTheCenterAndAnotherAppCancelTheFinger)
{
    touch("began", 100, kSliderY);
    touch("moved", 150, kSliderY);
    int heard = settingsChanges();
    ask("home");
    EXPECT_FALSE(json::flag(json::member(finger(), "down")));
    EXPECT_TRUE(waitUntil([&] { return settingsChanges() > heard; }, 10)) << "the size stored mid-drag is posted when cancelled";
    EXPECT_EQ(json::text(json::member(finger(), "phase")), "cancelled");
    EXPECT_EQ(json::text(json::member(touch("ended", 150, kSliderY), "did")), "no finger is down") << "the lift after Home reaches nothing";
    double moved = sliderValue();
    EXPECT_GT(moved, _before) << "a cancelled drag keeps where the slider was moved, as the phone's slider does";

    for (const char* interruption : { "nc open", "launch com.apple.Music" }) {
        SCOPED_TRACE(interruption);
        ask("nc close");
        ask("launch com.apple.Preferences");
        touch("began", 100, kSliderY);
        ASSERT_TRUE(json::flag(json::member(finger(), "down")));
        ask(interruption);
        EXPECT_EQ(json::text(json::member(finger(), "phase")), "cancelled");
    }

    // A touch that begins while another is under way cancels that one first; the shell's own
    // cancelled phase (a window closed with the button down) reaches the settings host too.
    ask("nc close");
    ask("launch com.apple.Preferences");
    touch("began", 100, kSliderY);
    touch("began", 100, kSliderY);
    EXPECT_EQ(json::text(json::member(finger(), "phase")), "began");
    EXPECT_EQ(json::text(json::member(touch("cancelled", 0, 0), "did")), "cancelled");
    EXPECT_EQ(json::text(json::member(finger(), "phase")), "cancelled");
    EXPECT_FLOAT_EQ(float(sliderValue()), float(moved)) << "no move, no change";
}

TEST_F(LiveTouch, AFingerLeftDownGivesWayToTheNext)
{
    // The shell dies mid-drag: its finger stays down in the settings host.
    touch("began", 100, kSliderY);
    touch("moved", 150, kSliderY);
    pid_t shell = pid_t(json::numeric(json::member(request(control::kSpringboard, { "ping" }), "pid")));
    ASSERT_GT(shell, 0);
    kill(shell, SIGKILL);
    ASSERT_TRUE(waitUntil([&] { return kill(shell, 0) != 0; }, 10));
    EXPECT_TRUE(json::flag(json::member(finger(), "down")));

    // Everything else still works, and the next finger down cancels the old one.
    EXPECT_EQ(ruvex("settings rows").status, 0);
    double left = sliderValue();
    json::Value began = request(control::kSettings, { "finger", "began", "150", "425" });
    EXPECT_EQ(json::text(json::member(began, "view")), "UISlider");
    request(control::kSettings, { "finger", "moved", "200", "425" });
    EXPECT_GT(sliderValue(), left) << "the new finger drags the slider from where the old one left it";
    request(control::kSettings, { "finger", "ended", "200", "425" });
    EXPECT_FALSE(json::flag(json::member(finger(), "down")));

    // A tap verb is a finger too: it cancels one left down and does its tap.
    request(control::kSettings, { "finger", "began", "150", "425" });
    ask("settings tap 1:1");
    EXPECT_EQ(json::text(json::member(json::member(ask("settings rows"), "pane"), "class")), "RVXFontPicker") << "the tap opened the family list";
    EXPECT_FALSE(json::flag(json::member(finger(), "down")));

    // Bad phases are refused; a move or lift with no finger down says so.
    for (const control::Words& words : { control::Words { "finger", "moved", "1", "2" }, control::Words { "finger", "lifted", "1", "2" },
             control::Words { "finger", "began", "x", "2" }, control::Words { "finger", "began", "1" } }) {
        control::Exchange exchange = control::request(control::socketPath(device(), control::kSettings), words);
        EXPECT_NE(exchange.reply.find("\"ok\":false"), std::string::npos) << exchange.reply;
    }
    EXPECT_EQ(ruvex("boot").status, 0) << "the shell comes back beside the settings host";
}

} // namespace
