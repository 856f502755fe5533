#include "ui/NSIndexPath.h"

RVX_DEFINE_CLASS(NSIndexPath, NSObject)
