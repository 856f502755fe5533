#pragma once

// Views: a rectangle in its superview's coordinates with ordered subviews (back to
// front), a layer, hit-testing, autoresizing, animations and drawing.

#include "graphics/CALayer.h"
#include "graphics/CGGeometry.h"
#include "graphics/Painter.h"
#include "foundation/Json.h"
#include "ui/UIColor.h"
#include "ui/UIResponder.h"
#include "ui/ViewAnimation.h"

#include <functional>
#include <optional>

class UIView : public UIResponder {
    RVX_OBJECT(UIView)
public:
    explicit UIView(CGRect frame = CGRectZero);
    ~UIView() override;

    CGRect frame() const { return _frame; }
    void setFrame(CGRect frame);
    // The bounds' origin is always (0, 0) here; setting them keeps the centre.
    CGRect bounds() const { return {CGPointZero, _frame.size}; }
    void setBounds(CGRect bounds);
    CGPoint center() const;
    void setCenter(CGPoint center);
    CGAffineTransform transform() const { return _transform; }
    void setTransform(CGAffineTransform transform) { _transform = transform; }

    CGFloat alpha() const { return _alpha; }
    void setAlpha(CGFloat alpha);
    bool isHidden() const { return _hidden; }
    void setHidden(bool hidden);
    const UIColorRef& backgroundColor() const { return _backgroundColor; }
    // The colour the view lays under its subviews: its background, or for a view that paints
    // its own ground in drawRect, that ground's main colour (what its labels are read against).
    virtual UIColorRef groundColor() const { return _backgroundColor; }
    void setBackgroundColor(UIColorRef color);
    int tag() const { return _tag; }
    void setTag(int tag) { _tag = tag; }
    bool isUserInteractionEnabled() const { return _userInteractionEnabled; }
    void setUserInteractionEnabled(bool enabled) { _userInteractionEnabled = enabled; }
    bool isMultipleTouchEnabled() const { return _multipleTouchEnabled; }
    void setMultipleTouchEnabled(bool enabled) { _multipleTouchEnabled = enabled; }
    unsigned autoresizingMask() const { return _autoresizingMask; }
    void setAutoresizingMask(unsigned mask) { _autoresizingMask = mask; }
    bool autoresizesSubviews() const { return _autoresizesSubviews; }
    void setAutoresizesSubviews(bool autoresizes) { _autoresizesSubviews = autoresizes; }
    bool clipsToBounds() const { return layer()->masksToBounds(); }
    void setClipsToBounds(bool clips) { layer()->setMasksToBounds(clips); }

    // Every view has a layer; its background colour follows the view's.
    const CALayerRef& layer() const;

    // The hierarchy. Adding a view takes it from its former superview first.
    const std::vector<UIViewRef>& subviews() const { return _subviews; }
    UIViewRef superview() const { return _superview.lock(); }
    UIWindowRef window() const;
    void addSubview(const UIViewRef& view);
    // An index past the end puts the view in front.
    void insertSubview(const UIViewRef& view, size_t index);
    void bringSubviewToFront(const UIViewRef& view);
    void sendSubviewToBack(const UIViewRef& view);
    void removeFromSuperview();
    bool isDescendantOfView(const UIView* view) const;
    UIViewRef viewWithTag(int tag);

    // Points between coordinate spaces; no view means the window's (the root's) space.
    CGPoint convertPointToView(CGPoint point, const UIView* view) const;
    CGPoint convertPointFromView(CGPoint point, const UIView* view) const;
    CGPoint convertPoint(CGPoint point, const UIViewRef& toView) const { return convertPointToView(point, toView.get()); }
    CGRect convertRectToView(CGRect rect, const UIView* view) const;

    // The deepest visible, interactive view under `point` (in this view's coordinates).
    virtual UIViewRef hitTest(CGPoint point, const UIEventRef& event);
    virtual bool pointInside(CGPoint point, const UIEventRef& event) const;

    UIResponderRef nextResponder() const override;

    void setNeedsDisplay() { _needsDisplay = true; }
    bool needsDisplay() const { return _needsDisplay; }
    // Draws the view's own content in its bounds, with UIGraphicsGetCurrentContext set.
    virtual void drawRect(CGRect rect) { }
    virtual void layoutSubviews() { }
    void setNeedsLayout() { _needsLayout = true; }
    void layoutIfNeeded();
    // The size that fits the content; a plain view keeps its own.
    virtual CGSize sizeThatFits(CGSize size) const { return _frame.size; }
    void sizeToFit();

    // Renders the view and its subviews with the painter's origin at the superview's
    // origin, at the values shown at time `now` of the main run loop.
    void render(Painter& painter) const;
    // The values a render shows now: the model values unless an animation is running.
    CGFloat presentationAlpha() const;
    CGRect presentationFrame() const;

    // Animations: the model values change at once, the rendered values follow over
    // `duration` seconds; `completion` runs on the main run loop once it has passed
    // (at the next turn for a duration of 0 or less), never inside this call.
    static void animateWithDuration(double duration, const std::function<void()>& animations,
        std::function<void(bool)> completion = nullptr);

    // The view and its subviews as a JSON tree; `describe` adds one view's own fields to
    // its object, after those of the class it derives from.
    std::string dump() const;
    json::Value tree() const;
    virtual void describe(json::Value& fields) const;

protected:
    // The colour as [r, g, b, a], or null.
    static json::Value colorValue(const UIColorRef& color);

private:
    void resizeSubviews(CGSize oldSize);
    void autoresize(CGSize oldSuperSize, CGSize newSuperSize);
    void detachSubview(const UIView* view);
    void renderContent(Painter& painter) const;
    CGPoint originInRoot() const;

    CGRect _frame;
    CGAffineTransform _transform;
    CGFloat _alpha = 1;
    bool _hidden = false;
    UIColorRef _backgroundColor;
    int _tag = 0;
    bool _userInteractionEnabled = true;
    bool _multipleTouchEnabled = false;
    unsigned _autoresizingMask = UIViewAutoresizingNone;
    bool _autoresizesSubviews = true;
    bool _needsDisplay = true;
    bool _needsLayout = false;
    mutable CALayerRef _layer;
    std::vector<UIViewRef> _subviews;
    std::weak_ptr<UIView> _superview;
    std::optional<PropertyAnimation<CGFloat>> _alphaAnimation;
    std::optional<PropertyAnimation<CGRect>> _frameAnimation;
};
