#include "shared/RVXSettings.h"

#include "TestDevice.h"

#include <gtest/gtest.h>

#include <fstream>

using namespace RVXSettings;

namespace {

void writeSettings(const TestDevice& device, const std::string& body)
{
    std::ofstream(device.hostPath(path)) << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<plist version=\"1.0\">\n<dict>"
                                         << body << "</dict>\n</plist>\n";
}

} // namespace

TEST(SettingsContract, NamesAndPlace)
{
    EXPECT_EQ(std::string(notificationName), std::string(notificationPrefix) + ".dbxchanged");
    EXPECT_EQ(std::string(path), "/var/mobile/Library/Preferences/" + std::string(domain) + ".plist");
    EXPECT_NE(domain, notificationPrefix);
}

TEST(SettingsRead, MissingFileGivesEveryDefault)
{
    TestDevice device;
    NSDictionary settings = read();
    EXPECT_EQ(settings.count(), 0u);
    EXPECT_EQ(valueFor(settings, Keys::Label), "Tap to close all Apps");
    EXPECT_EQ(valueFor(settings, Keys::Family), "Helvetica");
    EXPECT_FALSE(valueFor(settings, Keys::Style));
    EXPECT_EQ(valueFor(settings, Keys::Size), 17.0f);
    EXPECT_EQ(valueFor(settings, Keys::Height), 35.0f);
    EXPECT_TRUE(valueFor(settings, Keys::Highlight));
    EXPECT_FALSE(valueFor(settings, Keys::Dismiss));
    EXPECT_EQ(valueFor(settings, Keys::Count), 0);
    EXPECT_EQ(textColorFor(settings), white);
}

TEST(SettingsRead, PresentValuesWinEvenWhenEmptyOrFalse)
{
    TestDevice device;
    writeSettings(device, "<key>Label</key><string></string><key>Highlight</key><false/><key>Size</key><integer>30</integer>"
                          "<key>Height</key><string>50.5</string><key>Dismiss</key><string>YES</string>"
                          "<key>Background</key><real>2.9</real><key>com.example.mail</key><true/>"
                          "<key>com.example.maps</key><false/>");
    NSDictionary settings = read();
    EXPECT_EQ(valueFor(settings, Keys::Label), "");
    EXPECT_FALSE(valueFor(settings, Keys::Highlight));
    EXPECT_EQ(valueFor(settings, Keys::Size), 30.0f);
    EXPECT_EQ(valueFor(settings, Keys::Height), 50.5f);
    EXPECT_TRUE(valueFor(settings, Keys::Dismiss));
    EXPECT_EQ(valueFor(settings, Keys::Background), 2);
    EXPECT_TRUE(isExcluded(settings, "com.example.mail"));
    EXPECT_FALSE(isExcluded(settings, "com.example.maps"));
    EXPECT_FALSE(isExcluded(settings, "com.example.notes"));
}

TEST(SettingsRead, WrongKindsTakeTheDefault)
{
    TestDevice device;
    writeSettings(device, "<key>Label</key><integer>5</integer><key>Highlight</key><array/><key>Size</key><dict/>"
                          "<key>Count</key><data>AAE=</data><key>Height</key><date>2001-01-01T00:00:00Z</date>");
    NSDictionary settings = read();
    EXPECT_EQ(valueFor(settings, Keys::Label), "Tap to close all Apps");
    EXPECT_TRUE(valueFor(settings, Keys::Highlight));
    EXPECT_EQ(valueFor(settings, Keys::Size), 17.0f);
    EXPECT_EQ(valueFor(settings, Keys::Count), 0);
    EXPECT_EQ(valueFor(settings, Keys::Height), 35.0f);
}

TEST(SettingsRead, CorruptFileReadsEmpty)
{
    TestDevice device;
    std::ofstream(device.hostPath(path)) << "<plist><dict><key>Label";
    EXPECT_EQ(read().count(), 0u);
}

TEST(SettingsRead, EachReadSeesTheFileAsItIsNow)
{
    TestDevice device;
    writeSettings(device, "<key>Size</key><real>20</real>");
    EXPECT_EQ(valueFor(read(), Keys::Size), 20.0f);
    writeSettings(device, "<key>Size</key><real>40</real>");
    EXPECT_EQ(valueFor(read(), Keys::Size), 40.0f);
}

TEST(TextColor, ReadsOnlyFourWholeNumbers)
{
    EXPECT_EQ(parseTextColor("0.000000,1.000000,1.000000,0.500000"), (TextColor { 0, 1, 1, 0.5f }));
    EXPECT_EQ(parseTextColor("1.02,-0.01,1,1"), (TextColor { 1.02f, -0.01f, 1, 1 })); // unclamped
    EXPECT_EQ(parseTextColor(" 0.5 , 1,0 ,1"), (TextColor { 0.5f, 1, 0, 1 }));
    for (const char* text : { "default", "", "0.5,0.5", "0.1,0.2,0.3", "1,1,1,1,1", "a,b,c,d", "0.5,x,1,1",
             "0.5x,1,1,1", "1,1,1,", ",1,1,1", "1,,1,1", "nan,1,1,1", "inf,1,1,1", "1e39,1,1,1", "0x1,1,1,1", ",,," })
        EXPECT_EQ(parseTextColor(text), std::nullopt) << text;
    EXPECT_EQ(textColorString({ 0, 1, 1, 0.5f }), "0.000000,1.000000,1.000000,0.500000");
    EXPECT_EQ(textColorString({ 1.0f / 3, 0, 1, 1 }), "0.333333,0.000000,1.000000,1.000000");
    TextColor odd { 0.123456f, 0.5f, 0.25f, 1 };
    EXPECT_NEAR(parseTextColor(textColorString(odd))->hue, odd.hue, 1e-6);
}

TEST(TextColor, WhatIsNotReadIsWhite)
{
    EXPECT_EQ(textColorFor(NSDictionary {}), white);
    EXPECT_EQ(textColorFor(NSDictionary { { "TextColor", "default" } }), white);
    EXPECT_EQ(textColorFor(NSDictionary { { "TextColor", "a,b,c,d" } }), white);
    EXPECT_EQ(textColorFor(NSDictionary { { "TextColor", 5 } }), white);
    EXPECT_EQ(textColorFor(NSDictionary { { "TextColor", "0,1,1,0.5" } }), (TextColor { 0, 1, 1, 0.5f }));
}
