#include "GalleryScreens.h"

#include "ui/UIActionSheet.h"

namespace gallery {

namespace {

const char* kOwnImage = "/var/mobile/Media/RuvexBackground.png";

void ownImage(Stage& stage, bool stretched)
{
    stage.writeSampleImage(kOwnImage, { 80, 24 });
    stage.openCenter();
    stage.changeSettings({ { "UseCustom", PlistValue(true) }, { "Path", PlistValue(std::string(kOwnImage)) },
        { "Strechable", PlistValue(stretched) } });
}

void requireSheet(Stage& stage, const std::string& title)
{
    UIActionSheetRef top = stage.settings().modals().topActionSheet();
    if (top && top->title() == title)
        return;
    throw StepError("no sheet \"" + title + "\" is shown");
}

// The quick alerts come from the category every object of the preference bundle answers;
// they are sent by name, as a specifier's action would send them.
void quickAlert(Stage& stage, const std::string& title, const std::vector<std::string>& lines)
{
    stage.openSettings({ "Background" });
    if (!title.empty())
        stage.sendToPane("setQuickQlertTitle:", PlistValue(title));
    if (lines.size() == 1)
        stage.sendToPane("quickAlert:", PlistValue(lines[0]));
    else
        stage.sendToPane("quickAlertWithObject:withObject:", PlistValue(NSArray { lines[0], lines[1] }));
}

std::vector<Screen> makeScreens()
{
    using H = Host;
    return {
        { "center-default", "The Center with the default settings", H::Center, [](Stage& s) { s.openCenter(); } },
        { "center-custom", "Own label in Liberation Serif Bold Italic, 24 pt, orange, 60 pt high", H::Center,
            [](Stage& s) {
                s.openCenter();
                s.changeSettings({ { "Label", PlistValue(std::string("Close them all")) },
                    { "Family", PlistValue(std::string("Liberation Serif")) },
                    { "Style", PlistValue(std::string("LiberationSerif-BoldItalic")) },
                    { "Size", PlistValue(24.0) },
                    { "TextColor", PlistValue(std::string("0.080000,1.000000,1.000000,1.000000")) },
                    { "Height", PlistValue(60.0) } });
            } },
        { "center-no-info-button", "The info button hidden", H::Center,
            [](Stage& s) {
                s.openCenter();
                s.changeSettings({ { "HideAlpha", PlistValue(true) } });
            } },
        { "center-own-image-stretched", "An own background image, stretched from its centre", H::Center,
            [](Stage& s) { ownImage(s, true); } },
        { "center-own-image-scaled", "An own background image, not stretched", H::Center,
            [](Stage& s) { ownImage(s, false); } },
        { "about-dialog", "The About dialog behind the info button", H::Center,
            [](Stage& s) {
                s.openCenter();
                s.tapInfo();
            } },
        { "developer-dialog", "The Developer dialog, through About", H::Center,
            [](Stage& s) {
                s.openCenter();
                s.tapInfo();
                s.tapAlertButton("About");
            } },
        { "settings-list", "The Settings app's list", H::Settings, [](Stage&) {} },
        { "root-pane", "Settings > Ruvex Pro", H::Settings, [](Stage& s) { s.openSettings(); } },
        { "links-sheet", "The links sheet of \"More from Vastelmark\"", H::Settings,
            [](Stage& s) {
                s.openSettings({ "More from Vastelmark" });
                requireSheet(s, "Ruvex Pro by Vastelmark");
            } },
        { "excluded-apps", "Excluded Apps", H::Settings, [](Stage& s) { s.openSettings({ "Excluded Apps" }); } },
        { "label-font-pane", "The Label & Font pane", H::Settings, [](Stage& s) { s.openSettings({ "Label & Font" }); } },
        { "family-picker", "The font family picker", H::Settings,
            [](Stage& s) { s.openSettings({ "Label & Font", "Font Family" }); } },
        { "style-picker", "The font style picker", H::Settings,
            [](Stage& s) { s.openSettings({ "Label & Font", "Font Style" }); } },
        { "colour-overlay", "The colour picker over the Label & Font pane", H::Settings,
            [](Stage& s) { s.openSettings({ "Label & Font", "Font Color" }); } },
        { "image-pane", "The Background pane", H::Settings, [](Stage& s) { s.openSettings({ "Background" }); } },
        { "image-choice-list", "The Background Image choices", H::Settings,
            [](Stage& s) { s.openSettings({ "Background", "Background Image" }); } },
        { "extras-pane", "The Extras pane", H::Settings, [](Stage& s) { s.openSettings({ "Extras" }); } },
        { "quick-alert", "A quick alert without a title", H::Settings,
            [](Stage& s) { quickAlert(s, "", { "Saved." }); } },
        { "quick-alert-titled", "A quick alert with the title set before it", H::Settings,
            [](Stage& s) { quickAlert(s, "Ruvex Pro", { "Saved." }); } },
        { "quick-alert-two-lines", "A quick alert of two objects, one a line", H::Settings,
            [](Stage& s) { quickAlert(s, "Image Path", { "No image at", "/var/mobile/Media/Background.png" }); } },
    };
}

} // namespace

const std::vector<Screen>& screens()
{
    static const std::vector<Screen> all = makeScreens();
    return all;
}

const Screen* findScreen(const std::string& name)
{
    for (const Screen& screen : screens())
        if (screen.name == name)
            return &screen;
    return nullptr;
}

std::unique_ptr<Stage> reach(const Screen& screen, const std::string& root, const std::string& bundlesFolder)
{
    auto stage = std::make_unique<Stage>(root, bundlesFolder);
    try {
        screen.reach(*stage);
    } catch (const StepError& error) {
        throw StepError(screen.name + ": " + error.what());
    }
    return stage;
}

} // namespace gallery
