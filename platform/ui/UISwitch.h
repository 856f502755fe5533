#pragma once

// An on/off switch of 79 x 27 points (of the frame it is made with, only the origin counts).
// A tap (a touch lifted
// inside) flips it and sends ValueChanged; setOn sends nothing.

#include "ui/UIControl.h"

class UISwitch;
using UISwitchRef = std::shared_ptr<UISwitch>;

class UISwitch : public UIControl {
    RVX_OBJECT(UISwitch)
public:
    static constexpr CGFloat kWidth = 79;
    static constexpr CGFloat kHeight = 27;

    explicit UISwitch(CGRect frame = CGRectZero);

    bool isOn() const { return _on; }
    void setOn(bool on, bool animated = false);

    void touchesEnded(const UITouchSet& touches, const UIEventRef& event) override;
    CGSize sizeThatFits(CGSize size) const override { return {kWidth, kHeight}; }
    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

private:
    bool _on = false;
};
