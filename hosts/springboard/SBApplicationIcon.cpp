#include "SBApplicationIcon.h"

#include "Boxed.h"

RVX_DEFINE_CLASS(SBApplicationIcon, NSObject,
    cls.addMethod("applicationBundleID", [](NSObject& self, const id&) -> id {
        const PlistValue value(static_cast<SBApplicationIcon&>(self).applicationBundleID());
        return boxed(value);
    }))
