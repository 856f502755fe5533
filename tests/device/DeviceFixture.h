#pragma once

// A temporary device driven through the ruvex binary: its verbs with --json, the Settings
// file as it lies on disk, and waits with deadlines for the hosts to take a change.

#include "foundation/Json.h"
#include "foundation/PlistValue.h"

#include <nlohmann/json.hpp>

#include <gtest/gtest.h>

#include "support/CommandRun.h"
#include "support/ScratchFolder.h"

#include <functional>
#include <optional>
#include <string>

using RunResult = CommandRun;

class DeviceFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // `ruvex --device DIR ARGUMENTS` (the arguments as shell words, quoted by the caller).
    RunResult ruvex(const std::string& arguments);
    // The same with --json; fails the test unless it exits 0 with one JSON reply.
    json::Value ask(const std::string& arguments);
    // Creates the device (all sample apps, or those listed) and boots both hosts.
    void createAndBoot(const std::string& apps = {});

    // The Settings file as it lies on disk; nothing when it is missing or unreadable.
    std::optional<NSDictionary> settingsFile() const;
    // The shell's count of settings-changed notifications heard.
    int settingsChanges();
    // Polls until `done` holds, at most `seconds`; false on time-out.
    static bool waitUntil(const std::function<bool()>& done, double seconds = 20);
    // The S:R of the top settings pane's first row titled so, or of an untitled row under a
    // header so titled; empty when there is none.
    std::string rowOf(const std::string& title);

    // The Size row (section 2, row 0) of the label and font pane's `settings rows` reply;
    // null when the reply has no such row.
    static const json::Value& sizeRow(const json::Value& rows);

    const std::string& device() const { return _device; }
    // A folder beside the device, removed with it.
    const std::string& scratch() const { return _scratch; }

private:
    ScratchFolder _folder { "ruvex-device" };
    std::string _scratch = _folder.path();
    std::string _device = _folder / "device";
};
