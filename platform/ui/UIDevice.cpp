#include "ui/UIDevice.h"

RVX_DEFINE_CLASS(UIDevice, NSObject)

std::shared_ptr<UIDevice> UIDevice::currentDevice()
{
    static std::shared_ptr<UIDevice> device = runtime::make<UIDevice>();
    return device;
}
