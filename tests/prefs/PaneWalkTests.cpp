// Every pane the product can reach, walked through the settings host's own requests: on
// each pane `rows` answers, every row takes a `tap`, and `back` returns to the pane below.

#include "PrefsFixture.h"

#include "settings/SettingsControl.h"

#include "foundation/Json.h"

#include <nlohmann/json.hpp>

#include <set>

namespace {

class PaneWalkTest : public PrefsFixture {
protected:
    PaneWalkTest() : _control(host()) { }

    json::Value request(const control::Words& words)
    {
        std::string line = json::write(_control.handle(words));
        std::optional<json::Value> reply = json::read(line);
        EXPECT_TRUE(reply) << "not JSON: " << line;
        return reply ? *reply : json::Value();
    }
    json::Value ok(const control::Words& words)
    {
        json::Value reply = request(words);
        EXPECT_TRUE(json::flag(json::member(reply, "ok"))) << words[0] << " on " << _path << ": " << json::text(json::member(reply, "error"));
        return reply;
    }
    int depth() { return int(host().navigation()->viewControllers().size()); }

    // Dismisses what a tap put up: the field's editing, an alert, a sheet, the colour
    // overlay (whose Cancel takes the back button's place).
    void settle()
    {
        drain();
        UIViewControllerRef shown = host().navigation()->topViewController();
        if (shown && shown->navigationItem()->hidesBackButton()) {
            ok({ "bar", "left" });
            advance(0.3);
        }
        for (int guard = 0; guard < 4 && json::member(request({ "alert" }), "alert").is_object(); ++guard)
            ok({ "alert", "tap", "0" });
        for (int guard = 0; guard < 4 && json::member(request({ "sheet" }), "sheet").is_object(); ++guard) {
            json::Value sheet = json::member(request({ "sheet" }), "sheet");
            ok({ "sheet", "tap", std::to_string(int(json::numeric(json::member(sheet, "cancel")))) });
        }
        if (auto field = UITextField::currentEditingField())
            field->resignFirstResponder();
        drain();
    }

    void walk(int level)
    {
        json::Value listing = ok({ "rows" });
        std::string paneClass = json::text(json::member(json::member(listing, "pane"), "class"));
        _visited.insert(paneClass);
        ASSERT_LT(level, 8) << "panes nest without end at " << _path;
        std::vector<std::string> addresses;
        for (const json::Value& section : json::items(json::member(listing, "sections")))
            for (const json::Value& row : json::items(json::member(section, "rows")))
                addresses.push_back(std::to_string(int(json::numeric(json::member(row, "section")))) + ":" + std::to_string(int(json::numeric(json::member(row, "row")))));
        int here = depth();
        for (const std::string& address : addresses) {
            std::string path = _path;
            _path += " > " + paneClass + " " + address;
            ok({ "tap", address });
            settle();
            if (depth() > here) {
                walk(level + 1);
                ok({ "back" });
                settle();
            }
            EXPECT_EQ(depth(), here) << "back did not return to " << _path;
            while (depth() > here)
                host().navigation()->popViewControllerAnimated(false);
            ok({ "rows" });
            _path = path;
            if (HasFatalFailure())
                return;
        }
    }

    SettingsControl _control;
    std::set<std::string> _visited;
    std::string _path;
};

TEST_F(PaneWalkTest, EveryReachablePaneAnswersRowsTapAndBack)
{
    _schemes = { "tweetbot" };
    for (const char* app : { "Music", "Mail" }) {
        std::string info = std::string("/Applications/") + app + ".app/Info.plist";
        _device.hostPath(info);
        ASSERT_TRUE((NSDictionary { { "CFBundleIdentifier", std::string("com.apple.") + app } }.writeToFile(info, true)));
    }
    ok({ "open" });
    walk(0);
    // The root, its three sub-panes, the exclusion list, the choice list behind "Background
    // Image" and the font pickers behind the label pane's rows.
    for (const char* pane : { "RuvexProprefsListController", "RVXFontController", "RVXImageController",
             "RVXExtrasController", "PSAppListController", "PSListItemsController" })
        EXPECT_TRUE(_visited.count(pane)) << pane << " was not reached";
    EXPECT_GE(_visited.size(), 8u);
}

} // namespace
