// The settings verbs as a user types them: help, bad use (exit 2) and refusals (exit 1),
// and the rows, taps, typing and sheets through the settings host.

#include "DeviceFixture.h"

namespace {

class SettingsVerbs : public DeviceFixture { };

TEST_F(SettingsVerbs, EveryVerbTellsItsUse)
{
    for (const char* verb : { "settings", "settings open", "settings rows", "settings tap", "settings back",
             "settings type", "settings clear", "settings return", "settings bar", "settings slide", "settings switch",
             "settings touch", "settings drag",
             "settings sheet", "settings sheet tap", "settings alert", "settings alert tap", "ui dump",
             "screenshot" }) {
        RunResult help = ruvex(std::string(verb) + " --help");
        EXPECT_EQ(help.status, 0) << verb;
        EXPECT_EQ(help.out.rfind(std::string("usage: ruvex ") + verb, 0), 0u) << help.out;
    }
}

TEST_F(SettingsVerbs, BadUseExitsTwoWithOneLine)
{
    for (const char* arguments : { "settings slide 1 30", "settings slide 0:0 thirty", "settings slide 0:0 30 --steps 0",
             "settings slide 0:0 30 --steps 2.5", "settings slide 0:-1 30", "settings switch 0:0 maybe",
             "settings switch a:b on", "settings bar up", "settings tap", "settings type", "settings rows extra",
             "ui dump phone", "screenshot settings", "screenshot phone x.png",
             "settings touch 1", "settings touch x 2", "settings touch 1 2 --steps 3", "settings touch 1 2 --in",
             "settings drag 1 2 3", "settings screenshot x.png", "settings drag 1 2 3 4 --steps 0", "settings drag 1 2 3 nan", "settings drag 1 2 3 4 --up 5", "settings type \"$(printf 'a\\tb')\"" }) {
        RunResult result = ruvex(arguments);
        EXPECT_EQ(result.status, 2) << arguments << ": " << result.err;
        EXPECT_EQ(std::count(result.err.begin(), result.err.end(), '\n'), 1) << arguments << ": " << result.err;
    }
}

TEST_F(SettingsVerbs, PanesRowsAndRefusals)
{
    createAndBoot();
    JsonValue root = ask("settings open");
    EXPECT_EQ(root["pane"]["class"].asString(), "RuvexProprefsListController");
    EXPECT_EQ(root["depth"].asNumber(), 2);
    EXPECT_FALSE(rowOf("Label & Font").empty());

    JsonValue pushed = ask("settings tap " + shellQuoted("Extras"));
    EXPECT_EQ(pushed["pane"]["class"].asString(), "RVXExtrasController");
    JsonValue rows = ask("settings rows");
    bool sawHeight = false;
    for (const JsonValue& section : rows["sections"].items())
        for (const JsonValue& row : section["rows"].items())
            if (section["header"].asString() == "Widget Height") {
                sawHeight = true;
                EXPECT_NEAR(row["value"].asNumber(), 35, 0.01) << "the default height";
            }
    EXPECT_TRUE(sawHeight);
    EXPECT_EQ(ask("settings back")["pane"]["class"].asString(), "RuvexProprefsListController");

    EXPECT_EQ(ruvex("settings open NoSuchPane").status, 1);
    EXPECT_EQ(ruvex("settings tap " + shellQuoted("No Such Row")).status, 1);
    EXPECT_EQ(ruvex("settings type abc").status, 1) << "no field is being edited";
    EXPECT_EQ(ruvex("settings switch 1:0 on").status, 1) << "a link row has no switch";
    EXPECT_EQ(ruvex("settings switch 9:0 on").status, 1) << "no such row";
    EXPECT_EQ(ruvex("settings sheet tap 0").status, 1);
    EXPECT_EQ(ruvex("settings touch 10 10 --in NoSuchView").status, 1);
    EXPECT_EQ(ruvex("settings touch -5 -5").status, 1) << "nothing lies outside the window";
    EXPECT_TRUE(ask("settings sheet")["sheet"].isNull());

    ask("settings tap " + shellQuoted("More from Vastelmark"));
    JsonValue sheet = ask("settings sheet")["sheet"];
    EXPECT_EQ(sheet["title"].asString(), "Ruvex Pro by Vastelmark");
    EXPECT_EQ(sheet["buttons"].items().size(), 5u);
    EXPECT_EQ(ruvex("settings sheet tap 9").status, 1);
    EXPECT_EQ(ask("settings sheet tap Cancel")["tapped"].asNumber(), sheet["cancel"].asNumber());
    EXPECT_TRUE(ask("settings sheet")["sheet"].isNull());
}

TEST_F(SettingsVerbs, TypingIntoAPlistTextRowStoresAtReturn)
{
    createAndBoot();
    ask("settings open RVXImageController");
    ask("settings tap " + shellQuoted(rowOf("Image Path")));
    ask("settings type /var/mobile/x.png");
    JsonValue cleared = ask("settings clear");
    EXPECT_EQ(cleared["field"].asString(), "");
    JsonValue typed = ask("settings type /var/mobile/Media/Mine.png");
    EXPECT_EQ(typed["field"].asString(), "/var/mobile/Media/Mine.png");
    ask("settings return");
    ask("settings back");
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Path"));
    EXPECT_EQ(*settings->objectForKey("Path")->string(), "/var/mobile/Media/Mine.png");
}

TEST_F(SettingsVerbs, ScreenshotAndDumpOfTheSettingsWindow)
{
    createAndBoot();
    ask("settings open RVXFontController");
    std::string png = device() + "/pane.png";
    ask("screenshot settings " + shellQuoted(png) + " --scale 1");
    FILE* file = fopen(png.c_str(), "rb");
    ASSERT_TRUE(file);
    unsigned char signature[8] = {};
    EXPECT_EQ(fread(signature, 1, 8, file), 8u);
    fclose(file);
    EXPECT_EQ(signature[1], 'P');
    RunResult dump = ruvex("ui dump settings");
    EXPECT_EQ(dump.status, 0);
    EXPECT_TRUE(JsonValue::parse(dump.out)) << "the dump is JSON";
}

} // namespace
