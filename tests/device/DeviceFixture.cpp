#include "DeviceFixture.h"

#include "foundation/PropertyList.h"
#include "shared/RVXSettings.h"

#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

void DeviceFixture::SetUp()
{
    // The device lies in a scratch folder that also takes the command's error output, since
    // `device create` refuses a folder that holds anything.
    std::filesystem::create_directory(_device);
}

void DeviceFixture::TearDown()
{
    ruvex("shutdown");
    std::filesystem::remove_all(_scratch);
}

RunResult DeviceFixture::ruvex(const std::string& arguments)
{
    return runCommand(std::string(RUVEX_PATH) + " --device " + shellQuoted(_device) + " " + arguments, _scratch + "/stderr");
}

json::Value DeviceFixture::ask(const std::string& arguments)
{
    RunResult result = ruvex("--json " + arguments);
    EXPECT_EQ(result.status, 0) << "ruvex " << arguments << ": " << result.err;
    std::optional<json::Value> reply = json::read(result.out);
    EXPECT_TRUE(reply) << "ruvex " << arguments << " printed: " << result.out;
    return reply.value_or(json::Value());
}

void DeviceFixture::createAndBoot(const std::string& apps)
{
    RunResult created = ruvex("device create" + (apps.empty() ? std::string() : " --apps " + shellQuoted(apps)));
    ASSERT_EQ(created.status, 0) << created.err;
    RunResult booted = ruvex("boot");
    ASSERT_EQ(booted.status, 0) << booted.err;
}

std::optional<NSDictionary> DeviceFixture::settingsFile() const
{
    std::optional<PlistValue> value = PropertyList::readFile(_device + RVXSettings::path);
    if (!value || !value->dictionary())
        return std::nullopt;
    return *value->dictionary();
}

int DeviceFixture::settingsChanges()
{
    return int(json::numeric(json::member(json::member(ask("boot"), "springboard"), "settingsChanges"), -1));
}

bool DeviceFixture::waitUntil(const std::function<bool()>& done, double seconds)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return true;
}

std::string DeviceFixture::rowOf(const std::string& title)
{
    json::Value reply = ask("settings rows");
    for (const json::Value& section : json::items(json::member(reply, "sections")))
        for (const json::Value& row : json::items(json::member(section, "rows")))
            if (json::text(json::member(row, "title")) == title
                || (json::text(json::member(row, "title")).empty() && json::text(json::member(section, "header")) == title))
                return std::to_string(int(json::numeric(json::member(row, "section")))) + ":" + std::to_string(int(json::numeric(json::member(row, "row"))));
    return {};
}

const json::Value& DeviceFixture::sizeRow(const json::Value& rows)
{
    static const json::Value none;
    const json::Value& sections = json::items(json::member(rows, "sections"));
    if (sections.size() < 3)
        return none;
    const json::Value& row = json::items(json::member(sections[2], "rows"));
    return row.empty() ? none : row[0];
}
