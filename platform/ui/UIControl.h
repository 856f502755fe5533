#pragma once

// Controls: target-action by event, and the tracking of one touch from press to release.
//
//   phase    where the touch is          highlighted   events sent
//   began    inside (it hit us)          yes           TouchDown (+ TouchDownRepeat if tapCount > 1)
//   moved    within bounds grown by 70   yes           DragEnter if it was out, then DragInside
//   moved    beyond them                 no            DragExit if it was in, then DragOutside
//   ended    within grown bounds         no            TouchUpInside
//   ended    beyond them                 no            TouchUpOutside
//   cancel   anywhere                    no            TouchCancel

#include "runtime/TargetAction.h"
#include "ui/UIView.h"

enum UIControlEvents : uint32_t {
    UIControlEventTouchDown = 1u << 0,
    UIControlEventTouchDownRepeat = 1u << 1,
    UIControlEventTouchDragInside = 1u << 2,
    UIControlEventTouchDragOutside = 1u << 3,
    UIControlEventTouchDragEnter = 1u << 4,
    UIControlEventTouchDragExit = 1u << 5,
    UIControlEventTouchUpInside = 1u << 6,
    UIControlEventTouchUpOutside = 1u << 7,
    UIControlEventTouchCancel = 1u << 8,
    UIControlEventValueChanged = 1u << 12,
    UIControlEventEditingDidBegin = 1u << 16,
    UIControlEventEditingChanged = 1u << 17,
    UIControlEventEditingDidEnd = 1u << 18,
    UIControlEventEditingDidEndOnExit = 1u << 19,
    UIControlEventAllTouchEvents = 0x00000FFFu,
    UIControlEventAllEvents = 0xFFFFFFFFu,
};

enum UIControlState : unsigned {
    UIControlStateNormal = 0,
    UIControlStateHighlighted = 1u << 0,
    UIControlStateDisabled = 1u << 1,
    UIControlStateSelected = 1u << 2,
};

class UIControl : public UIView {
    RVX_OBJECT(UIControl)
public:
    using UIView::UIView;

    // How far outside its bounds a touch that began inside still counts as inside.
    static constexpr CGFloat kTrackingSlop = 70;

    void addTarget(const id& target, std::string action, uint32_t events);
    // An empty action removes every action of the target; no target removes all targets.
    void removeTarget(const id& target, std::string_view action, uint32_t events);
    std::vector<std::string> actionsForTarget(const id& target, uint32_t event) const;
    uint32_t allControlEvents() const { return _actions.allEvents(); }
    void sendActionsForControlEvents(uint32_t events);

    bool isEnabled() const { return !(_state & UIControlStateDisabled); }
    void setEnabled(bool enabled) { setStateBit(UIControlStateDisabled, !enabled); }
    bool isSelected() const { return _state & UIControlStateSelected; }
    void setSelected(bool selected) { setStateBit(UIControlStateSelected, selected); }
    bool isHighlighted() const { return _state & UIControlStateHighlighted; }
    void setHighlighted(bool highlighted) { setStateBit(UIControlStateHighlighted, highlighted); }
    unsigned state() const { return _state; }
    bool isTracking() const { return _tracking; }
    bool isTouchInside() const { return _touchInside; }

    void touchesBegan(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesMoved(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesEnded(const UITouchSet& touches, const UIEventRef& event) override;
    void touchesCancelled(const UITouchSet& touches, const UIEventRef& event) override;

    void describe(json::Value& fields) const override;

protected:
    virtual void stateDidChange() { setNeedsDisplay(); }

private:
    void setStateBit(unsigned bit, bool on);
    bool isWithinTrackingBounds(const UITouchSet& touches) const;

    TargetActionList _actions;
    unsigned _state = UIControlStateNormal;
    bool _tracking = false;
    bool _touchInside = false;
};
