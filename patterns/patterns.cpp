#include "patterns.h"

#include "form2.h"
#include "windowregistry.h"

namespace versilo {

void RegisterPatternWindows(WindowRegistry &registry)
{
    registry.Register(QStringLiteral("Form2"), [] { return new Form2; });
}

}  // namespace versilo
