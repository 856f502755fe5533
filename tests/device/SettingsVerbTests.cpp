// The settings verbs as a user types them: help, bad use (exit 2) and refusals (exit 1),
// and the rows, taps, typing and sheets through the settings host.

#include "DeviceFixture.h"

#include "foundation/NSString.h"
#include "shared/RVXSettings.h"

#include <filesystem>

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
    json::Value root = ask("settings open");
    EXPECT_EQ(json::text(json::member(json::member(root, "pane"), "class")), "RuvexProprefsListController");
    EXPECT_EQ(json::numeric(json::member(root, "depth")), 2);
    EXPECT_FALSE(rowOf("Label & Font").empty());

    json::Value pushed = ask("settings tap " + shellQuoted("Extras"));
    EXPECT_EQ(json::text(json::member(json::member(pushed, "pane"), "class")), "RVXExtrasController");
    json::Value rows = ask("settings rows");
    bool sawHeight = false;
    for (const json::Value& section : json::items(json::member(rows, "sections")))
        for (const json::Value& row : json::items(json::member(section, "rows")))
            if (json::text(json::member(section, "header")) == "Widget Height") {
                sawHeight = true;
                EXPECT_NEAR(json::numeric(json::member(row, "value")), 35, 0.01) << "the default height";
            }
    EXPECT_TRUE(sawHeight);
    EXPECT_EQ(json::text(json::member(json::member(ask("settings back"), "pane"), "class")), "RuvexProprefsListController");

    EXPECT_EQ(ruvex("settings open NoSuchPane").status, 1);
    EXPECT_EQ(ruvex("settings tap " + shellQuoted("No Such Row")).status, 1);
    EXPECT_EQ(ruvex("settings type abc").status, 1) << "no field is being edited";
    EXPECT_EQ(ruvex("settings switch 1:0 on").status, 1) << "a link row has no switch";
    EXPECT_EQ(ruvex("settings switch 9:0 on").status, 1) << "no such row";
    EXPECT_EQ(ruvex("settings sheet tap 0").status, 1);
    EXPECT_EQ(ruvex("settings touch 10 10 --in NoSuchView").status, 1);
    EXPECT_EQ(ruvex("settings touch -5 -5").status, 1) << "nothing lies outside the window";
    EXPECT_TRUE(json::member(ask("settings sheet"), "sheet").is_null());

    ask("settings tap " + shellQuoted("More from Vastelmark"));
    json::Value sheet = json::member(ask("settings sheet"), "sheet");
    EXPECT_EQ(json::text(json::member(sheet, "title")), "Ruvex Pro by Vastelmark");
    EXPECT_EQ(json::items(json::member(sheet, "buttons")).size(), 5u);
    EXPECT_EQ(ruvex("settings sheet tap 9").status, 1);
    EXPECT_EQ(json::numeric(json::member(ask("settings sheet tap Cancel"), "tapped")), json::numeric(json::member(sheet, "cancel")));
    EXPECT_TRUE(json::member(ask("settings sheet"), "sheet").is_null());
}

TEST_F(SettingsVerbs, TypingIntoAPlistTextRowStoresAtReturn)
{
    createAndBoot();
    ask("settings open RVXImageController");
    ask("settings tap " + shellQuoted(rowOf("Image Path")));
    ask("settings type /var/mobile/x.png");
    json::Value cleared = ask("settings clear");
    EXPECT_EQ(json::text(json::member(cleared, "field")), "");
    json::Value typed = ask("settings type /var/mobile/Media/Mine.png");
    EXPECT_EQ(json::text(json::member(typed, "field")), "/var/mobile/Media/Mine.png");
    ask("settings return");
    ask("settings back");
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Path"));
    EXPECT_EQ(*settings->objectForKey("Path")->string(), "/var/mobile/Media/Mine.png");
}

// What a keyboard cannot type is bad use, refused before it reaches the host; the edits on
// either side of it are stored.
TEST_F(SettingsVerbs, ControlCharactersAndBadUTF8AreRefusedAndLaterEditsStored)
{
    createAndBoot();
    ask("settings open RVXFontController");
    ask("settings tap 0:0");
    ask("settings clear");
    ask("settings type Hello");
    for (const char* bad : { "\\001", "a\\177b", "\\377", "caf\\351", "\\300\\257", "\\033[31m" }) {
        RunResult refused = ruvex(std::string("settings type \"$(printf '") + bad + "')\"");
        EXPECT_EQ(refused.status, 2) << bad << ": " << refused.err;
        EXPECT_EQ(std::count(refused.err.begin(), refused.err.end(), '\n'), 1) << bad << ": " << refused.err;
    }
    EXPECT_EQ(json::text(json::member(ask("settings type World"), "field")), "HelloWorld");
    ask("settings return");
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Label"));
    EXPECT_EQ(*settings->objectForKey("Label")->string(), "HelloWorld");
}

// A field holds 1024 characters; a longer text is refused before any typing, and a long
// text arrives as one change, so the verbs stay quick.
TEST_F(SettingsVerbs, ALongTextIsRefusedBeforeTypingAndAFullOneTypedAtOnce)
{
    createAndBoot();
    ask("settings open RVXFontController");
    ask("settings tap 0:0");
    ask("settings clear");
    for (size_t length : { size_t(60000), size_t(1025) }) {
        RunResult refused = ruvex("settings type " + std::string(length, 'x'));
        EXPECT_EQ(refused.status, 2) << length;
        EXPECT_NE(refused.err.find("at most 1024"), std::string::npos) << refused.err;
    }
    EXPECT_EQ(json::text(json::member(json::member(ask("settings"), "pane"), "class")), "RVXFontController") << "the host still answers";

    ask("settings type " + std::string(1000, 'a'));
    RunResult over = ruvex("settings type " + std::string(25, 'b'));
    EXPECT_EQ(over.status, 1) << "the field holds 1000 already: " << over.err;
    EXPECT_NE(over.err.find("it holds 1000"), std::string::npos) << over.err;
    json::Value typed = ask("settings type " + std::string(24, 'b'));
    EXPECT_EQ(json::text(json::member(typed, "field")), std::string(1000, 'a') + std::string(24, 'b'));
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Label"));
    EXPECT_EQ(settings->objectForKey("Label")->string()->size(), 1024u);
    EXPECT_EQ(json::text(json::member(ask("settings clear"), "field")), "");
}

// A store that fails says so: the reply is ok:false with the file and the reason, exit 1,
// for typing, slides, switches and taps alike; once the file can be written, all is well.
TEST_F(SettingsVerbs, AFailedStoreIsReportedAndExitsOne)
{
    createAndBoot();
    ask("settings open RVXFontController");
    ask("settings tap 0:0");
    ask("settings clear");
    ask("settings type Kept");
    std::string lock = device() + RVXSettings::path + std::string(".lock");
    std::filesystem::remove(lock);
    ASSERT_TRUE(std::filesystem::create_directory(lock));

    RunResult typed = ruvex("--json settings type Lost");
    EXPECT_EQ(typed.status, 1);
    EXPECT_NE(typed.err.find("not stored"), std::string::npos) << typed.err;
    EXPECT_NE(typed.err.find("com.vastelmark.ruvexpro.plist"), std::string::npos) << typed.err;
    EXPECT_NE(typed.err.find("Is a directory"), std::string::npos) << typed.err;
    EXPECT_EQ(std::count(typed.err.begin(), typed.err.end(), '\n'), 1) << typed.err;
    EXPECT_EQ(ruvex("settings clear").status, 1);
    EXPECT_EQ(ruvex("settings return").status, 0) << "return stores nothing";
    RunResult slid = ruvex("settings slide 2:0 30 --steps 3");
    EXPECT_EQ(slid.status, 1);
    EXPECT_NE(slid.err.find("3 stores failed"), std::string::npos) << slid.err;

    ask("settings open");
    std::string dismiss = rowOf("Hide Center After Closing");
    ASSERT_FALSE(dismiss.empty());
    EXPECT_EQ(ruvex("settings switch " + dismiss + " on").status, 1);
    std::optional<NSDictionary> settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Label"));
    EXPECT_EQ(*settings->objectForKey("Label")->string(), "Kept");
    EXPECT_FALSE(settings->objectForKey("Dismiss"));

    std::filesystem::remove(lock);
    EXPECT_EQ(ruvex("settings switch " + dismiss + " off").status, 0) << "the pane shows on: off is a flip";
    EXPECT_EQ(ruvex("settings switch " + dismiss + " on").status, 0);
    settings = settingsFile();
    ASSERT_TRUE(settings && settings->objectForKey("Dismiss"));
    EXPECT_TRUE(*settings->objectForKey("Dismiss")->boolean());
}

// Replies echo what they were sent; bytes that are not UTF-8 come out replaced, never raw.
TEST_F(SettingsVerbs, RepliesAreValidJsonWhateverBytesTheyEcho)
{
    createAndBoot();
    std::string png = device() + "/odd\xff\"name.png";
    RunResult shot = ruvex("--json screenshot settings " + shellQuoted(png) + " --scale 1");
    ASSERT_EQ(shot.status, 0) << shot.err;
    std::optional<json::Value> reply = json::read(shot.out);
    ASSERT_TRUE(reply) << shot.out;
    EXPECT_TRUE(NSString::isValidUTF8(shot.out)) << shot.out;
    EXPECT_EQ(json::text(json::member(*reply, "path")), device() + "/odd\xEF\xBF\xBD\"name.png");
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
    EXPECT_TRUE(json::read(dump.out)) << "the dump is JSON";
}

} // namespace
