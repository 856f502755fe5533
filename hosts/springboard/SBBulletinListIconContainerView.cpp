#include "SBBulletinListIconContainerView.h"

RVX_DEFINE_CLASS(SBBulletinListIconContainerView, UIView)
