#pragma once

#include "springboard/ShellServices.h"

// The home-screen icon view map. Shells of one generation give the map an icon model
// (SBIconViewMap answers "iconModel"); older ones do not (SBIconViewMapWithoutModel, the map
// that homescreenMap answers while ShellState says so).
class SBIconViewMap : public springboard::IconViewMap {
    RVX_OBJECT(SBIconViewMap)
public:
    static id homescreenMap();

    std::shared_ptr<springboard::IconModel> iconModel() override;
};

class SBIconViewMapWithoutModel : public springboard::IconViewMap {
    RVX_OBJECT(SBIconViewMapWithoutModel)
};
