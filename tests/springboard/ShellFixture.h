#pragma once

// A new device with a fresh shell for each test, and helpers to install apps on it.

#include "ShellState.h"

#include "foundation/PlistValue.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <fstream>

class ShellFixture : public ::testing::Test {
protected:
    ShellFixture() { ShellState::shared().reset(); }
    ~ShellFixture() override { ShellState::shared().reset(); }

    ShellState& shell() { return ShellState::shared(); }

    // Writes /Applications/FOLDER.app/Info.plist.
    void writeInfo(const std::string& folder, const NSDictionary& info)
    {
        std::string phonePath = "/Applications/" + folder + ".app/Info.plist";
        _device.hostPath(phonePath);
        ASSERT_TRUE(info.writeToFile(phonePath, true));
    }

    void installApp(const std::string& identifier, NSArray schemes = {})
    {
        NSDictionary info { { "CFBundleIdentifier", identifier }, { "CFBundleDisplayName", identifier } };
        if (schemes.count())
            info.setObject(NSArray { NSDictionary { { "CFBundleURLSchemes", schemes } } }, "CFBundleURLTypes");
        writeInfo(identifier, info);
    }

    std::vector<std::string> listed()
    {
        std::vector<std::string> names;
        for (const PlistValue& entry : shell().switcherList())
            names.push_back(entry.string() ? *entry.string() : "(not a string)");
        return names;
    }

    TestDevice _device;
};
