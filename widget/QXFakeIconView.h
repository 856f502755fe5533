#pragma once

// Stands in for the shell's icon view when the close-all action hands an app's icon to the
// switcher's close-box handler. It is never shown.

#include "springboard/ShellServices.h"
#include "ui/UIView.h"

class QXFakeIconView : public UIView, public springboard::IconHolder {
    RVX_OBJECT(QXFakeIconView)
public:
    QXFakeIconView() = default;

    id icon() const override { return _icon; }
    void setIcon(id icon) { _icon = std::move(icon); }

private:
    id _icon;
};
