#include "QXFakeIconView.h"

RVX_DEFINE_CLASS(QXFakeIconView, UIView,
    cls.addMethod("icon", [](NSObject& self, const id&) -> id { return static_cast<QXFakeIconView&>(self).icon(); });
    cls.addMethod("setIcon:", [](NSObject& self, const id& icon) -> id {
        static_cast<QXFakeIconView&>(self).setIcon(icon);
        return nullptr;
    }))
