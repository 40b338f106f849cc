#include "works.h"

#include "form3.h"
#include "windowregistry.h"

namespace versilo {

void RegisterWorksWindows(WindowRegistry &registry)
{
    registry.Register(window::kWorksBrowser, [] { return new Form3; });
}

}  // namespace versilo
