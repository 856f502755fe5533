#pragma once

// A horizontal slider. The value is kept within minimum..maximum; changing either bound
// pulls the value in. A touch on the slider grabs the thumb where it is; while the finger
// moves the value follows the finger's horizontal movement along the track and, when
// continuous, every step that changes it sends ValueChanged (a slider that is not continuous
// sends it once at the lift). The lift sends TouchUpInside or TouchUpOutside through the
// control's tracking.

#include "ui/UIControl.h"

class UISlider;
using UISliderRef = std::shared_ptr<UISlider>;

class UISlider : public UIControl {
    RVX_OBJECT(UISlider)
public:
    static constexpr CGFloat kThumbSize = 23;
    static constexpr CGFloat kDefaultHeight = 23;

    explicit UISlider(CGRect frame = CGRectZero);

    float value() const { return _value; }
    // Sends no event, as on the platform.
    void setValue(float value, bool animated = false);
    float minimumValue() const { return _minimumValue; }
    void setMinimumValue(float minimum);
    float maximumValue() const { return _maximumValue; }
    void setMaximumValue(float maximum);
    bool isContinuous() const { return _continuous; }
    void setContinuous(bool continuous) { _continuous = continuous; }

    // The thumb's centre for a value, in the slider's coordinates.
    CGPoint thumbCenterForValue(float value) const;

    // Drags the thumb from where it stands to `value` in `steps` moves, through the real
    // touch tracking: began at the thumb, `steps` moves, ended at the last point. The last
    // move and the lift are `liftOffsetY` points below the track (far enough makes the lift
    // TouchUpOutside; the value follows the horizontal position only).
    void dragTo(float value, int steps, CGFloat liftOffsetY = 0);

    void touchesBegan(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEventRef& event) override;

    void drawRect(CGRect rect) override;
    void describe(json::Value& fields) const override;

private:
    float clamp(float value) const;
    CGFloat trackLength() const;
    void followTouch(const UITouchSet& touches);

    float _value = 0;
    float _minimumValue = 0;
    float _maximumValue = 1;
    bool _continuous = true;
    float _valueAtGrab = 0;
    CGFloat _grabX = 0;
    bool _changedDuringTouch = false;
};
