// The executable of a bundle that the bundle tests load.
#include "runtime/NSObject.h"

class RVXTestPrincipal : public NSObject {
    RVX_OBJECT(RVXTestPrincipal)
};

RVX_DEFINE_CLASS(RVXTestPrincipal, NSObject)
