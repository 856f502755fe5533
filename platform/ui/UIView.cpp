#include "ui/UIView.h"

#include "corefoundation/CFRunLoop.h"
#include "ui/UIGraphics.h"
#include "ui/UIWindow.h"

#include <algorithm>

#include <nlohmann/json.hpp>

RVX_DEFINE_CLASS(UIView, UIResponder)

UIView::UIView(CGRect frame)
    : _frame(frame)
{
}

UIView::~UIView()
{
    for (const UIViewRef& child : _subviews)
        child->_superview.reset();
}

const CALayerRef& UIView::layer() const
{
    if (!_layer) {
        _layer = CALayer::layer();
        _layer->setFrame(_frame);
    }
    return _layer;
}

void UIView::setFrame(CGRect frame)
{
    if (frame == _frame)
        return;
    if (auto block = view_animation::currentBlock())
        _frameAnimation = PropertyAnimation<CGRect> {presentationFrame(), frame, *block};
    else
        _frameAnimation.reset(); // a value set outside a block shows at once
    CGSize oldSize = _frame.size;
    _frame = frame;
    layer()->setFrame(frame);
    if (oldSize != frame.size) {
        setNeedsDisplay();
        resizeSubviews(oldSize);
    }
}

void UIView::setBounds(CGRect bounds)
{
    CGPoint c = center();
    CGSize size = CGRectStandardize(bounds).size;
    setFrame(CGRectMake(c.x - size.width / 2, c.y - size.height / 2, size.width, size.height));
}

CGPoint UIView::center() const
{
    return {CGRectGetMidX(_frame), CGRectGetMidY(_frame)};
}

void UIView::setCenter(CGPoint center)
{
    CGRect frame = _frame;
    frame.origin = {center.x - frame.size.width / 2, center.y - frame.size.height / 2};
    setFrame(frame);
}

void UIView::setAlpha(CGFloat alpha)
{
    alpha = std::clamp<CGFloat>(alpha, 0, 1);
    if (auto block = view_animation::currentBlock())
        _alphaAnimation = PropertyAnimation<CGFloat> {presentationAlpha(), alpha, *block};
    else
        _alphaAnimation.reset();
    _alpha = alpha;
    layer()->setOpacity(alpha);
}

void UIView::setHidden(bool hidden)
{
    _hidden = hidden;
    layer()->setHidden(hidden);
}

void UIView::setBackgroundColor(UIColorRef color)
{
    _backgroundColor = std::move(color);
    layer()->setBackgroundColor(_backgroundColor ? _backgroundColor->CGColor() : nullptr);
    setNeedsDisplay();
}

UIWindowRef UIView::window() const
{
    for (const UIView* view = this; view;) {
        if (view->isKindOfClass(UIWindow::classObject()))
            return std::static_pointer_cast<UIWindow>(const_cast<UIView*>(view)->selfAs<UIView>());
        UIViewRef parent = view->superview();
        view = parent.get();
    }
    return nullptr;
}

void UIView::addSubview(const UIViewRef& view)
{
    insertSubview(view, _subviews.size());
}

void UIView::insertSubview(const UIViewRef& view, size_t index)
{
    if (!view || view.get() == this || isDescendantOfView(view.get()))
        return;
    UIViewRef keep = view;
    if (UIViewRef old = keep->superview()) {
        if (old.get() == this) {
            auto at = std::find(_subviews.begin(), _subviews.end(), keep);
            if (size_t(at - _subviews.begin()) < index)
                --index;
        }
        old->detachSubview(keep.get());
    }
    index = std::min(index, _subviews.size());
    _subviews.insert(_subviews.begin() + std::ptrdiff_t(index), keep);
    keep->_superview = selfAs<UIView>();
    setNeedsDisplay();
}

void UIView::bringSubviewToFront(const UIViewRef& view)
{
    if (view && view->superview().get() == this)
        insertSubview(view, _subviews.size());
}

void UIView::sendSubviewToBack(const UIViewRef& view)
{
    if (view && view->superview().get() == this)
        insertSubview(view, 0);
}

void UIView::removeFromSuperview()
{
    if (UIViewRef parent = superview()) {
        UIViewRef keep = selfAs<UIView>(); // the parent may hold the last reference
        parent->detachSubview(this);
        parent->setNeedsDisplay();
    }
    _superview.reset();
}

void UIView::detachSubview(const UIView* view)
{
    std::erase_if(_subviews, [view](const UIViewRef& v) { return v.get() == view; });
}

bool UIView::isDescendantOfView(const UIView* view) const
{
    for (const UIView* v = this; v;) {
        if (v == view)
            return true;
        UIViewRef parent = v->superview();
        v = parent.get();
    }
    return false;
}

UIViewRef UIView::viewWithTag(int tag)
{
    if (_tag == tag)
        return selfAs<UIView>();
    for (const UIViewRef& child : _subviews) {
        if (UIViewRef found = child->viewWithTag(tag))
            return found;
    }
    return nullptr;
}

CGPoint UIView::originInRoot() const
{
    CGPoint origin {};
    for (const UIView* v = this; v;) {
        UIViewRef parent = v->superview();
        if (!parent)
            break; // the root's own frame places it on screen, not in its own space
        origin.x += v->_frame.origin.x;
        origin.y += v->_frame.origin.y;
        v = parent.get();
    }
    return origin;
}

CGPoint UIView::convertPointToView(CGPoint point, const UIView* view) const
{
    CGPoint here = originInRoot();
    CGPoint there = view ? view->originInRoot() : CGPointZero;
    return {point.x + here.x - there.x, point.y + here.y - there.y};
}

CGPoint UIView::convertPointFromView(CGPoint point, const UIView* view) const
{
    CGPoint here = originInRoot();
    CGPoint there = view ? view->originInRoot() : CGPointZero;
    return {point.x + there.x - here.x, point.y + there.y - here.y};
}

CGRect UIView::convertRectToView(CGRect rect, const UIView* view) const
{
    return {convertPointToView(rect.origin, view), rect.size};
}

UIViewRef UIView::hitTest(CGPoint point, const UIEventRef& event)
{
    if (_hidden || _alpha < 0.01f || !_userInteractionEnabled || !pointInside(point, event))
        return nullptr;
    // A copy: a hit test must not be disturbed by a view that rearranges itself.
    std::vector<UIViewRef> children = _subviews;
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        const UIViewRef& child = *it;
        CGPoint local {point.x - child->_frame.origin.x, point.y - child->_frame.origin.y};
        if (UIViewRef hit = child->hitTest(local, event))
            return hit;
    }
    return selfAs<UIView>();
}

bool UIView::pointInside(CGPoint point, const UIEventRef&) const
{
    return CGRectContainsPoint(bounds(), point);
}

UIResponderRef UIView::nextResponder() const
{
    return superview();
}

void UIView::layoutIfNeeded()
{
    if (!_needsLayout)
        return;
    _needsLayout = false;
    layoutSubviews();
}

void UIView::sizeToFit()
{
    CGRect frame = _frame;
    frame.size = sizeThatFits(_frame.size);
    setFrame(frame);
}

void UIView::resizeSubviews(CGSize oldSize)
{
    if (_autoresizesSubviews) {
        for (const UIViewRef& child : std::vector<UIViewRef>(_subviews))
            child->autoresize(oldSize, _frame.size);
    }
    setNeedsLayout();
    layoutIfNeeded();
}

namespace {

// Shares `delta` among the flexible parts of one axis in proportion to their sizes
// (equally when they are all zero), as the platform's autoresizing does.
void distribute(CGFloat delta, bool flexLead, bool flexSize, bool flexTrail, CGFloat& lead, CGFloat& size,
    CGFloat trail)
{
    int flexible = int(flexLead) + int(flexSize) + int(flexTrail);
    if (flexible == 0 || delta == 0)
        return;
    CGFloat total = (flexLead ? lead : 0) + (flexSize ? size : 0) + (flexTrail ? trail : 0);
    auto share = [&](CGFloat part) { return total > 0 ? delta * part / total : delta / CGFloat(flexible); };
    CGFloat leadShare = flexLead ? share(lead) : 0;
    CGFloat sizeShare = flexSize ? share(size) : 0;
    lead += leadShare;
    size = std::max<CGFloat>(0, size + sizeShare);
}

} // namespace

void UIView::autoresize(CGSize oldSuperSize, CGSize newSuperSize)
{
    unsigned mask = _autoresizingMask;
    if (mask == UIViewAutoresizingNone)
        return;
    CGRect frame = _frame;
    CGFloat rightMargin = oldSuperSize.width - CGRectGetMaxX(frame);
    CGFloat bottomMargin = oldSuperSize.height - CGRectGetMaxY(frame);
    distribute(newSuperSize.width - oldSuperSize.width, mask & UIViewAutoresizingFlexibleLeftMargin,
        mask & UIViewAutoresizingFlexibleWidth, mask & UIViewAutoresizingFlexibleRightMargin, frame.origin.x,
        frame.size.width, rightMargin);
    distribute(newSuperSize.height - oldSuperSize.height, mask & UIViewAutoresizingFlexibleTopMargin,
        mask & UIViewAutoresizingFlexibleHeight, mask & UIViewAutoresizingFlexibleBottomMargin, frame.origin.y,
        frame.size.height, bottomMargin);
    setFrame(frame);
}

CGFloat UIView::presentationAlpha() const
{
    return _alphaAnimation ? _alphaAnimation->valueAt(view_animation::now()) : _alpha;
}

CGRect UIView::presentationFrame() const
{
    return _frameAnimation ? _frameAnimation->valueAt(view_animation::now()) : _frame;
}

void UIView::render(Painter& painter) const
{
    CGFloat alpha = presentationAlpha();
    if (_hidden || alpha <= 0)
        return;
    CGRect frame = presentationFrame();
    auto saved = painter.save();
    painter.translate(frame.origin.x, frame.origin.y);
    bool group = alpha < 1;
    if (group)
        painter.beginGroup();
    {
        auto clip = painter.save();
        layer()->clipToBoundsIfMasking(painter);
        renderContent(painter);
        layer()->renderSublayers(painter);
        for (const UIViewRef& child : _subviews)
            child->render(painter);
    }
    layer()->renderBorder(painter);
    if (group)
        painter.endGroup(alpha);
}

void UIView::renderContent(Painter& painter) const
{
    layer()->renderBackground(painter);
    auto saved = painter.save();
    CGContext context(painter);
    UIGraphicsContextScope current(&context);
    // Drawing is part of rendering, which does not change the model; drawRect is not const
    // on the platform, so the call goes through a non-const self.
    const_cast<UIView*>(this)->drawRect(bounds());
}

void UIView::animateWithDuration(double duration, const std::function<void()>& animations,
    std::function<void(bool)> completion)
{
    view_animation::runBlock(duration, animations);
    if (completion)
        RunLoop::main().addTimer(std::max(duration, 0.0), [completion = std::move(completion)] { completion(true); });
}

std::string UIView::dump() const
{
    return json::write(tree());
}

json::Value UIView::tree() const
{
    json::Value node = json::Value::object();
    describe(node);
    if (!_subviews.empty()) {
        json::Value children = json::Value::array();
        for (const UIViewRef& child : _subviews)
            children.push_back(child->tree());
        node["subviews"] = std::move(children);
    }
    return node;
}

void UIView::describe(json::Value& fields) const
{
    fields["class"] = className();
    fields["frame"] = { json::readable(_frame.origin.x), json::readable(_frame.origin.y), json::readable(_frame.size.width),
        json::readable(_frame.size.height) };
    fields["alpha"] = json::readable(_alpha);
    fields["hidden"] = _hidden;
    fields["tag"] = _tag;
    fields["background"] = colorValue(_backgroundColor);
}

json::Value UIView::colorValue(const UIColorRef& color)
{
    if (!color)
        return nullptr;
    RGBA c = color->paint();
    return { json::readable(c[0]), json::readable(c[1]), json::readable(c[2]), json::readable(c[3]) };
}
