#include "SettingsLive.h"

#include "SettingsControl.h"

#include "control/ControlReply.h"
#include "control/Screenshot.h"
#include "ui/UITouch.h"

#include <cmath>
#include <cstdlib>

namespace settings {

namespace {

using Refusal = SettingsControl::Refusal;

CGFloat coordinate(const std::string& text)
{
    char* end = nullptr;
    double value = std::strtod(text.c_str(), &end);
    if (text.empty() || *end || !std::isfinite(value))
        throw Refusal("not a coordinate: " + text);
    return CGFloat(value);
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

void writePoint(JsonWriter& json, CGPoint point)
{
    json.key("point").beginObject().field("x", double(point.x)).field("y", double(point.y)).endObject();
}

} // namespace

std::string fingerRequest(SettingsHost& host, const control::Words& words)
{
    ControlReply reply;
    if (words.size() == 1) {
        reply.json().field("down", host.fingerIsDown());
        if (host.lastFingerPhase())
            reply.json().field("phase", phaseName(*host.lastFingerPhase()));
        else
            reply.json().key("phase").null();
        if (UIViewRef view = host.fingerView())
            reply.json().field("view", view->className());
        else
            reply.json().key("view").null();
        return reply.finish(host.fingerIsDown() ? "a finger is down on " + host.fingerView()->className() : "no finger is down");
    }
    const std::string& phase = words[1];
    if (phase == "cancelled" && words.size() == 2) {
        bool cancelled = host.fingerCancel();
        reply.json().field("down", false).field("cancelled", cancelled);
        return reply.finish(cancelled ? "the finger was cancelled" : "no finger was down");
    }
    if (words.size() != 4 || (phase != "began" && phase != "moved" && phase != "ended"))
        throw Refusal("finger takes began|moved|ended X Y, or cancelled");
    CGPoint point = CGPointMake(coordinate(words[2]), coordinate(words[3]));
    bool done = phase == "began" ? host.fingerDown(point) : phase == "moved" ? host.fingerMove(point) : host.fingerLift(point);
    if (!done)
        throw Refusal(host.lastError());
    reply.json().field("down", host.fingerIsDown());
    if (phase == "began")
        reply.json().field("view", host.fingerView()->className());
    writePoint(reply.json(), point);
    return reply.finish("finger " + phase);
}

std::string screenRequest(SettingsHost& host, const control::Words& words)
{
    if (words.size() != 3)
        throw Refusal("screen takes PATH SCALE");
    char* end = nullptr;
    double scale = std::strtod(words[2].c_str(), &end);
    if (words[2].empty() || *end || !(scale >= control::kLeastScale && scale <= control::kGreatestScale))
        throw Refusal("the scale must lie from 0.1 to 8");
    CairoSurfacePtr picture = host.window()->renderImage(scale);
    std::string error;
    if (!control::writeRawFrame(picture, words[1], error))
        throw Refusal(error);
    ControlReply reply;
    reply.json().field("path", words[1]).field("width", cairo_image_surface_get_width(picture.get()))
        .field("height", cairo_image_surface_get_height(picture.get()));
    return reply.finish("wrote " + words[1]);
}

} // namespace settings
