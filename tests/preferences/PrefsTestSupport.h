#pragma once

// A test device with plists written at phone paths, and a counter of Darwin posts that the
// main run loop delivers.

#include "SettingsHost.h"
#include "support/Succeeded.h"

#include "corefoundation/CFNotificationCenter.h"
#include "corefoundation/CFRunLoop.h"
#include "foundation/PreferenceFile.h"
#include "TestDevice.h"

#include <gtest/gtest.h>

#include <map>

inline std::map<std::string, int>& postsHeard()
{
    static std::map<std::string, int> heard;
    return heard;
}

inline void countPost(CFNotificationCenterRef, void*, CFStringRef name, const void*, CFDictionaryRef)
{
    ++postsHeard()[name];
}

struct PrefsFixture : ::testing::Test {
    TestDevice device;

    void SetUp() override { postsHeard().clear(); }
    void TearDown() override
    {
        CFNotificationCenterRemoveEveryObserver(CFNotificationCenterGetDarwinNotifyCenter(), this);
    }

    void listen(const char* name)
    {
        CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), this, countPost, name, nullptr,
            CFNotificationSuspensionBehaviorDeliverImmediately);
    }
    // Posts reach observers on the main run loop's next turns.
    int heard(const std::string& name)
    {
        for (int i = 0; i < 5; ++i)
            RunLoop::main().runOnce(0);
        return postsHeard()[name];
    }
    void writePlist(const std::string& phonePath, const NSDictionary& plist)
    {
        device.hostPath(phonePath);
        ASSERT_TRUE(plist.writeToFile(phonePath, true)) << phonePath;
    }
    NSDictionary stored(const std::string& domain) { return PreferenceFile::forDomain(domain).read(); }
};

inline NSDictionary row(std::initializer_list<std::pair<const std::string, PlistValue>> items)
{
    return NSDictionary(items);
}
