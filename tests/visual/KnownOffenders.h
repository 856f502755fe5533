#pragma once

// The labels the check below finds at fault today, each by screen, kind and text: the
// alerts' white-on-white labels, the navigation bars' white-on-white titles and the back
// buttons those titles' opaque boxes cover, and the row titles and footers cut at their
// frames. The text layer and the system views' looks are
// being redrawn; once they are, this list is to be empty. An entry that no longer happens
// fails the check too, so that the list shrinks as the faults go.

#include "LabelCheck.h"

#include <string_view>
#include <vector>

struct KnownOffender {
    std::string_view screen;
    gallery::LabelProblem::Kind kind;
    std::string_view text;
};

inline constexpr auto Cut = gallery::LabelProblem::Cut;
inline constexpr auto Unreadable = gallery::LabelProblem::Unreadable;
inline constexpr auto Covered = gallery::LabelProblem::Covered;

inline const std::vector<KnownOffender> kKnownOffenders = {
    // about-dialog
    { "about-dialog", Unreadable, "Ruvex Pro" },
    { "about-dialog", Cut, "Closes all background apps with one tap.\nUsed 0 times." },
    { "about-dialog", Unreadable, "Closes all background apps with one tap.\nUsed 0 times." },
    { "about-dialog", Unreadable, "OK" },
    { "about-dialog", Unreadable, "About" },
    // developer-dialog
    { "developer-dialog", Unreadable, "Developed by @Vastelmark" },
    { "developer-dialog", Unreadable, "OK" },
    { "developer-dialog", Unreadable, "Website" },
    { "developer-dialog", Unreadable, "Twitter" },
    { "developer-dialog", Unreadable, "More by this Developer" },
    // settings-list
    { "settings-list", Unreadable, "Settings" },
    // root-pane
    { "root-pane", Unreadable, "Ruvex Pro" },
    { "root-pane", Cut, "Close When Center Opens" },
    { "root-pane", Cut, "Close When Center Closes" },
    { "root-pane", Cut, "Hide Center After Closing" },
    { "root-pane", Cut, "Apps you exclude keep running; the app in front always stays." },
    { "root-pane", Covered, "Settings" },
    // links-sheet
    { "links-sheet", Unreadable, "Ruvex Pro" },
    { "links-sheet", Cut, "Close When Center Closes" },
    { "links-sheet", Cut, "Hide Center After Closing" },
    { "links-sheet", Cut, "More from Vastelmark" },
    { "links-sheet", Cut, "Apps you exclude keep running; the app in front always stays." },
    { "links-sheet", Covered, "Settings" },
    // excluded-apps
    { "excluded-apps", Unreadable, "Excluded Apps" },
    { "excluded-apps", Covered, "Ruvex Pro" },
    // label-font-pane
    { "label-font-pane", Unreadable, "Label & Font" },
    { "label-font-pane", Cut, "The text on the bar. Every change shows at once." },
    { "label-font-pane", Covered, "Ruvex Pro" },
    // family-picker
    { "family-picker", Cut, "DejaVu Math TeX Gyre" },
    { "family-picker", Covered, "Label & Font" },
    // style-picker
    { "style-picker", Cut, "Helvetica-BoldOblique" },
    { "style-picker", Covered, "Label & Font" },
    // colour-overlay
    { "colour-overlay", Cut, "The text on the bar. Every change shows at once." },
    // image-pane
    { "image-pane", Unreadable, "Background" },
    { "image-pane", Cut, "Use My Image" },
    { "image-pane", Cut, "Stretch From Centre" },
    { "image-pane", Cut, "Making a Background Image" },
    { "image-pane", Cut, "A PNG file of your own replaces the built-in background." },
    { "image-pane", Covered, "Ruvex Pro" },
    // image-choice-list
    { "image-choice-list", Unreadable, "Background Image" },
    { "image-choice-list", Covered, "Background" },
    // extras-pane
    { "extras-pane", Unreadable, "Extras" },
    { "extras-pane", Cut, "Glow When Touched" },
    { "extras-pane", Cut, "Hide Info Button" },
    { "extras-pane", Cut, "In points; the widget is 35 points high unless you change it." },
    { "extras-pane", Covered, "Ruvex Pro" },
    // quick-alert
    { "quick-alert", Unreadable, "Background" },
    { "quick-alert", Cut, "Use My Image" },
    { "quick-alert", Cut, "Stretch From Centre" },
    { "quick-alert", Cut, "Making a Background Image" },
    { "quick-alert", Cut, "A PNG file of your own replaces the built-in background." },
    { "quick-alert", Unreadable, "Saved." },
    { "quick-alert", Unreadable, "OK" },
    { "quick-alert", Covered, "Ruvex Pro" },
    // quick-alert-titled
    { "quick-alert-titled", Unreadable, "Background" },
    { "quick-alert-titled", Cut, "Use My Image" },
    { "quick-alert-titled", Cut, "Stretch From Centre" },
    { "quick-alert-titled", Cut, "Making a Background Image" },
    { "quick-alert-titled", Cut, "A PNG file of your own replaces the built-in background." },
    { "quick-alert-titled", Unreadable, "Ruvex Pro" },
    { "quick-alert-titled", Unreadable, "Saved." },
    { "quick-alert-titled", Unreadable, "OK" },
    { "quick-alert-titled", Covered, "Ruvex Pro" },
    // quick-alert-two-lines
    { "quick-alert-two-lines", Unreadable, "Background" },
    { "quick-alert-two-lines", Cut, "Use My Image" },
    { "quick-alert-two-lines", Cut, "Stretch From Centre" },
    { "quick-alert-two-lines", Cut, "Making a Background Image" },
    { "quick-alert-two-lines", Cut, "A PNG file of your own replaces the built-in background." },
    { "quick-alert-two-lines", Unreadable, "Image Path" },
    { "quick-alert-two-lines", Cut, "No image at\n/var/mobile/Media/Background.png" },
    { "quick-alert-two-lines", Unreadable, "No image at\n/var/mobile/Media/Background.png" },
    { "quick-alert-two-lines", Unreadable, "OK" },
    { "quick-alert-two-lines", Covered, "Ruvex Pro" },
};
