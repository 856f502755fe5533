#include "color/UIColorToolkit.h"

#include "color/ToolkitPrecondition.h"
#include "foundation/NSScanner.h"
#include "foundation/NSString.h"

namespace UIColor_Toolkit {

std::optional<std::string> stringFromColor(const UIColorRef& color)
{
    if (!color)
        return std::nullopt;
    RVX_TOOLKIT_REQUIRE(canProvideRGBComponents(color), color, "stringFromColor",
        "Must be an RGB color to use -stringFromColor");
    switch (colorSpaceModel(color)) {
    case kCGColorSpaceModelMonochrome:
        return NSString::format("{%0.3f, %0.3f}", double(white(color)), double(alpha(color)));
    case kCGColorSpaceModelRGB:
        return NSString::format("{%0.3f, %0.3f, %0.3f, %0.3f}", double(red(color)), double(green(color)),
            double(blue(color)), double(alpha(color)));
    default:
        return std::nullopt;
    }
}

// "{w, a}" or "{r, g, b, a}", white space allowed around every token and nothing after the brace.
UIColorRef colorWithString(std::string_view text)
{
    NSScanner scanner {std::string(text)};
    float values[4];
    if (!scanner.scanString("{") || !scanner.scanFloat(&values[0]))
        return nullptr;
    int count = 1;
    while (true) {
        if (scanner.scanString("}")) {
            if (!scanner.isAtEnd())
                return nullptr;
            if (count == 4)
                return UIColor::colorWithRed(values[0], values[1], values[2], values[3]);
            if (count == 2)
                return UIColor::colorWithWhite(values[0], values[1]);
            return nullptr;
        }
        if (count == 4 || !scanner.scanString(",") || !scanner.scanFloat(&values[count]))
            return nullptr;
        ++count;
    }
}

} // namespace UIColor_Toolkit
