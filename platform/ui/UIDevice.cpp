#include "ui/UIDevice.h"

RVX_DEFINE_CLASS(UIDevice, NSObject)

std::shared_ptr<UIDevice> UIDevice::currentDevice()
{
    static std::shared_ptr<UIDevice> device = std::make_shared<UIDevice>();
    return device;
}
