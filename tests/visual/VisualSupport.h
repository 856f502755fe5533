#pragma once

// A gallery screen reached on a fresh device of its own, in a temporary folder removed after.

#include "GalleryScreens.h"
#include "support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class ScreenTest : public ::testing::TestWithParam<const gallery::Screen*> {
protected:
    void SetUp() override
    {
        try {
            _stage = gallery::reach(screen(), _folder.path(), BUNDLES_DIR);
        } catch (const gallery::StepError& error) {
            FAIL() << "could not reach " << error.what();
        }
    }
    void TearDown() override { _stage.reset(); }

    const gallery::Screen& screen() const { return *GetParam(); }
    gallery::Stage& stage() { return *_stage; }

private:
    ScratchFolder _folder { "rvx-visual" };
    std::unique_ptr<gallery::Stage> _stage;
};

inline std::vector<const gallery::Screen*> everyScreen()
{
    std::vector<const gallery::Screen*> all;
    for (const gallery::Screen& screen : gallery::screens())
        all.push_back(&screen);
    return all;
}

// "center-default" as a test name: center_default.
inline std::string screenTestName(const ::testing::TestParamInfo<const gallery::Screen*>& info)
{
    std::string name = info.param->name;
    for (char& c : name)
        if (!std::isalnum(static_cast<unsigned char>(c)))
            c = '_';
    return name;
}
