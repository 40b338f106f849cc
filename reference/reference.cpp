#include "reference.h"

#include "form7.h"
#include "windowregistry.h"

namespace versilo {

void RegisterReferenceWindows(WindowRegistry &registry)
{
    registry.Register(QStringLiteral("Form7"), [] { return new Form7; });
}

}  // namespace versilo
