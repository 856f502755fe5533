#include "graphics/CALayer.h"

#include <algorithm>

RVX_DEFINE_CLASS(CALayer, NSObject)

void CALayer::setSublayers(const std::vector<CALayerRef>& layers)
{
    for (const CALayerRef& old : std::vector<CALayerRef>(_sublayers))
        old->_superlayer.reset();
    _sublayers.clear();
    for (const CALayerRef& layer : layers)
        addSublayer(layer);
}

void CALayer::addSublayer(const CALayerRef& layer)
{
    insertSublayer(layer, _sublayers.size());
}

void CALayer::insertSublayer(const CALayerRef& layer, size_t index)
{
    if (!layer || layer.get() == this)
        return;
    CALayerRef keep = layer;
    keep->removeFromSuperlayer();
    index = std::min(index, _sublayers.size());
    _sublayers.insert(_sublayers.begin() + std::ptrdiff_t(index), keep);
    keep->_superlayer = selfAs<CALayer>();
}

void CALayer::removeFromSuperlayer()
{
    if (CALayerRef parent = _superlayer.lock())
        parent->detachSublayer(this);
    _superlayer.reset();
}

void CALayer::detachSublayer(const CALayer* layer)
{
    std::erase_if(_sublayers, [layer](const CALayerRef& l) { return l.get() == layer; });
}

void CALayer::render(Painter& painter) const
{
    if (_hidden || _opacity < 0.01f)
        return;
    auto saved = painter.save();
    painter.translate(_frame.origin.x, _frame.origin.y);
    bool group = _opacity < 1;
    if (group)
        painter.beginGroup();
    {
        auto clip = painter.save();
        clipToBoundsIfMasking(painter);
        renderBackground(painter);
        drawContents(painter);
        renderSublayers(painter);
    }
    renderBorder(painter);
    if (group)
        painter.endGroup(_opacity);
}

void CALayer::clipToBoundsIfMasking(Painter& painter) const
{
    if (_masksToBounds)
        painter.clipToRoundedRect(bounds(), _cornerRadius);
}

void CALayer::renderBackground(Painter& painter) const
{
    if (_backgroundColor)
        painter.fillRoundedRect(bounds(), _cornerRadius, _backgroundColor->paint());
}

void CALayer::renderSublayers(Painter& painter) const
{
    for (const CALayerRef& layer : _sublayers)
        layer->render(painter);
}

void CALayer::renderBorder(Painter& painter) const
{
    if (_borderColor)
        painter.strokeInside(bounds(), _cornerRadius, _borderWidth, _borderColor->paint());
}
