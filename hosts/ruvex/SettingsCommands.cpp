// The verbs that the settings host answers: the Settings app's panes, rows and controls.

#include "Hosts.h"

#include "foundation/NSString.h"
#include "ui/UITextField.h"

#include <cmath>
#include <cstdio>

namespace ruvex {
namespace {

int forward(const Options& options, control::Words words)
{
    return report(options, askHost(control::kSettings, words));
}

// "S:R", section and row counted from 0.
const std::string& rowArgument(const std::string& text)
{
    if (!parseRowAddress(text))
        throw UsageError("not a row: '" + text + "' (write SECTION:ROW, counted from 0, as `ruvex settings rows` shows)");
    return text;
}

const std::string& plainText(const std::string& text)
{
    if (text.find_first_of("\t\n\r") != std::string::npos)
        throw UsageError("the text may not hold a tab or a line break");
    return text;
}

// What a keyboard can type: no control characters, UTF-8 only, and no more than a field holds.
const std::string& typedText(const std::string& text)
{
    for (unsigned char byte : text)
        if (byte < 0x20 || byte == 0x7F) {
            char code[8];
            std::snprintf(code, sizeof code, "U+%04X", byte);
            throw UsageError(std::string("the text holds the control character ") + code
                + ", which a keyboard cannot type");
        }
    if (!NSString::isValidUTF8(text))
        throw UsageError("the text is not valid UTF-8");
    size_t characters = 0;
    for (unsigned char byte : text)
        characters += (byte & 0xC0) != 0x80;
    if (characters > UITextField::kMaximumLength)
        throw UsageError("the text has " + std::to_string(characters) + " characters; a text field holds at most "
            + std::to_string(UITextField::kMaximumLength));
    return text;
}

int status(const Options& o, const Arguments&) { return forward(o, { "ping" }); }
int open(const Options& o, const Arguments& a)
{
    control::Words words { "open" };
    if (!a.empty())
        words.push_back(plainText(a[0]));
    return forward(o, words);
}
int rows(const Options& o, const Arguments&) { return forward(o, { "rows" }); }
int tap(const Options& o, const Arguments& a) { return forward(o, { "tap", plainText(a[0]) }); }
int back(const Options& o, const Arguments&) { return forward(o, { "back" }); }
int type(const Options& o, const Arguments& a) { return forward(o, { "type", typedText(a[0]) }); }
int clear(const Options& o, const Arguments&) { return forward(o, { "clear" }); }
int pressReturn(const Options& o, const Arguments&) { return forward(o, { "return" }); }

int slide(const Options& o, const Arguments& a)
{
    if (!parseNumber(a[1]))
        throw UsageError("not a slider value: '" + a[1] + "'");
    std::string steps = "10";
    if (a.size() == 4 && a[2] == "--steps") {
        if (!parseSteps(a[3]))
            throw UsageError("--steps takes a whole number from 1 to " + std::to_string(control::kMostSteps));
        steps = a[3];
    } else if (a.size() != 2) {
        throw UsageError("usage: ruvex settings slide S:R VALUE [--steps N]");
    }
    return forward(o, { "slide", rowArgument(a[0]), a[1], steps });
}

const std::string& coordinate(const std::string& text)
{
    if (!parseNumber(text))
        throw UsageError("not a coordinate: '" + text + "'");
    return text;
}

// The words after the points: [--steps N] [--in CLASS], in either order.
struct TouchOptions {
    std::string steps = "10";
    std::string space;
};

TouchOptions touchOptions(const Arguments& a, size_t first, bool takesSteps)
{
    TouchOptions options;
    for (size_t i = first; i < a.size(); i += 2) {
        if (i + 1 >= a.size())
            throw UsageError("'" + a[i] + "' wants a value after it");
        if (a[i] == "--in") {
            options.space = plainText(a[i + 1]);
        } else if (a[i] == "--steps" && takesSteps) {
            if (!parseSteps(a[i + 1]))
                throw UsageError("--steps takes a whole number from 1 to " + std::to_string(control::kMostSteps));
            options.steps = a[i + 1];
        } else {
            throw UsageError("unknown option '" + a[i] + "'");
        }
    }
    return options;
}

int touch(const Options& o, const Arguments& a)
{
    TouchOptions options = touchOptions(a, 2, false);
    control::Words words { "touch", coordinate(a[0]), coordinate(a[1]) };
    if (!options.space.empty())
        words.push_back(options.space);
    return forward(o, words);
}

int drag(const Options& o, const Arguments& a)
{
    TouchOptions options = touchOptions(a, 4, true);
    control::Words words { "drag", coordinate(a[0]), coordinate(a[1]), coordinate(a[2]), coordinate(a[3]), options.steps };
    if (!options.space.empty())
        words.push_back(options.space);
    return forward(o, words);
}

int setSwitch(const Options& o, const Arguments& a)
{
    if (a[1] != "on" && a[1] != "off")
        throw UsageError("a switch turns on or off, not '" + a[1] + "'");
    return forward(o, { "switch", rowArgument(a[0]), a[1] });
}

int bar(const Options& o, const Arguments& a)
{
    if (a[0] != "left" && a[0] != "right" && a[0] != "back")
        throw UsageError("the bar's buttons are left, right and back, not '" + a[0] + "'");
    return forward(o, { "bar", a[0] });
}
int sheet(const Options& o, const Arguments&) { return forward(o, { "sheet" }); }
int sheetTap(const Options& o, const Arguments& a) { return forward(o, { "sheet", "tap", plainText(a[0]) }); }
int alert(const Options& o, const Arguments&) { return forward(o, { "alert" }); }
int alertTap(const Options& o, const Arguments& a) { return forward(o, { "alert", "tap", plainText(a[0]) }); }

CommandRegistration statusVerb({ "settings", "", "tell which pane of the Settings app is on top", "", 0, 0, status });
CommandRegistration openVerb({ "settings open", "[CLASS]", "open Ruvex Pro's root pane in the Settings app",
    "With a pane class (RVXFontController, RVXImageController, RVXExtrasController), taps the root\n"
    "pane's link row that leads there, so that the pane is pushed as a user would push it.\n"
    "Whatever was open is left first, its editing ended.", 0, 1, open });
CommandRegistration rowsVerb({ "settings rows", "", "the top pane's rows by section and row",
    "Each row as S:R with its title, value (switch, slider, text field or detail text),\n"
    "'>' for a disclosure and '[x]' for a check mark. With --json: sections: [{header, rows:\n"
    "[{section, row, title, detail, value, accessory, checked}]}].", 0, 0, rows });
CommandRegistration tapVerb({ "settings tap", "TITLE|S:R", "tap a row of the top pane by its title or place",
    "Ends any editing first. A link row pushes its pane; a list row checks its choice.", 1, 1, tap });
CommandRegistration backVerb({ "settings back", "", "end any editing and go back one pane", "", 0, 0, back });
CommandRegistration typeVerb({ "settings type", "TEXT", "type into the text field being edited",
    "One change per character, as a keyboard types; a text of more than 64 characters arrives as\n"
    "one paste, one change. A field holds at most 1024 characters; control characters and text\n"
    "that is not UTF-8 are refused (exit 2). Tap the field's row first. Exit 1 when the pane\n"
    "could not store the text.", 1, 1, type });
CommandRegistration clearVerb({ "settings clear", "", "delete every character of the field being edited",
    "One character at a time, a change each; a text of more than 64 characters goes in one change.", 0, 0, clear });
CommandRegistration returnVerb({ "settings return", "", "press the keyboard's return key", "", 0, 0, pressReturn });
CommandRegistration slideVerb({ "settings slide", "S:R VALUE [--steps N]", "drag a row's slider to a value",
    "The finger moves in N steps (10 by default) and lifts at the end.", 2, 4, slide });
CommandRegistration touchVerb({ "settings touch", "X Y [--in CLASS]", "tap the Settings app's screen at a point",
    "The point is in the window's points (320 by 480), or with --in in those of the front-most\n"
    "view of that class shown, such as ColorPickerView. The finger goes down and lifts there.", 2, 4, touch });
CommandRegistration dragVerb({ "settings drag", "X1 Y1 X2 Y2 [--steps N] [--in CLASS]",
    "drag a finger across the Settings app's screen",
    "Down at X1 Y1, moved in N even steps (10 by default), lifted at X2 Y2; the touch stays\n"
    "with the view under its start. Points as for `ruvex settings touch`.", 4, 8, drag });
CommandRegistration switchVerb({ "settings switch", "S:R on|off", "turn a row's switch on or off",
    "A switch already in that state is left alone.", 2, 2, setSwitch });
CommandRegistration barVerb({ "settings bar", "left|right|back", "tap a button of the navigation bar",
    "The colour overlay's Cancel is left and Save is right.", 1, 1, bar });
CommandRegistration sheetVerb({ "settings sheet", "", "the action sheet shown: title and buttons", "", 0, 0, sheet });
CommandRegistration sheetTapVerb({ "settings sheet tap", "INDEX|TITLE", "tap a button of the sheet shown", "", 1, 1, sheetTap });
CommandRegistration alertVerb({ "settings alert", "", "the alert shown over the Settings app", "", 0, 0, alert });
CommandRegistration alertTapVerb({ "settings alert tap", "INDEX|TITLE", "tap a button of the Settings app's alert", "",
    1, 1, alertTap });

} // namespace
} // namespace ruvex
