#include "SettingsLive.h"

#include "SettingsControl.h"

#include "control/ControlReply.h"
#include "control/Screenshot.h"
#include "ui/UITouch.h"

#include <nlohmann/json.hpp>


namespace settings {

namespace {

using control::Refusal;

CGFloat coordinate(const std::string& text)
{
    std::optional<double> value = control::parseNumber(text);
    if (!value)
        throw Refusal::usage("not a coordinate: " + text);
    return CGFloat(*value);
}

const char* phaseName(int phase)
{
    switch (phase) {
    case UITouchPhaseBegan:
        return "began";
    case UITouchPhaseMoved:
        return "moved";
    case UITouchPhaseEnded:
        return "ended";
    case UITouchPhaseCancelled:
        return "cancelled";
    default:
        return "stationary";
    }
}

json::Value pointValue(CGPoint point)
{
    return { { "x", double(point.x) }, { "y", double(point.y) } };
}

} // namespace

json::Value fingerRequest(SettingsHost& host, const control::Words& words)
{
    ControlReply reply;
    if (words.size() == 1) {
        reply["down"] = host.fingerIsDown();
        reply["phase"] = host.lastFingerPhase() ? json::Value(phaseName(*host.lastFingerPhase())) : json::Value();
        UIViewRef view = host.fingerView();
        reply["view"] = view ? json::Value(view->className()) : json::Value();
        return reply.finish(host.fingerIsDown() ? "a finger is down on " + host.fingerView()->className() : "no finger is down");
    }
    const std::string& phase = words[1];
    if (phase == "cancelled" && words.size() == 2) {
        bool cancelled = host.fingerCancel();
        reply["down"] = false;
        reply["cancelled"] = cancelled;
        return reply.finish(cancelled ? "the finger was cancelled" : "no finger was down");
    }
    if (words.size() != 4 || (phase != "began" && phase != "moved" && phase != "ended"))
        throw Refusal::usage("finger takes began|moved|ended X Y, or cancelled");
    CGPoint point = CGPointMake(coordinate(words[2]), coordinate(words[3]));
    Result<void> done = phase == "began" ? host.fingerDown(point) : phase == "moved" ? host.fingerMove(point) : host.fingerLift(point);
    if (!done)
        throw Refusal(done.error());
    reply["down"] = host.fingerIsDown();
    if (phase == "began")
        reply["view"] = host.fingerView()->className();
    reply["point"] = pointValue(point);
    return reply.finish("finger " + phase);
}

json::Value screenRequest(SettingsHost& host, const control::Words& words)
{
    std::optional<double> scale = control::parseNumber(words[2]);
    if (!scale || !(*scale >= control::kLeastScale && *scale <= control::kGreatestScale))
        throw Refusal::usage("the scale must lie from 0.1 to 8");
    CairoSurfacePtr picture = host.window()->renderImage(*scale);
    if (Result<void> written = control::writeRawFrame(picture, words[1]); !written)
        throw Refusal(written.error());
    ControlReply reply;
    reply["path"] = words[1];
    reply["width"] = cairo_image_surface_get_width(picture.get());
    reply["height"] = cairo_image_surface_get_height(picture.get());
    return reply.finish("wrote " + words[1]);
}

} // namespace settings
