#include "dictionary.h"

#include "form11.h"
#include "windownames.h"
#include "windowregistry.h"

namespace versilo {

void RegisterDictionaryWindows(WindowRegistry &registry)
{
    registry.Register(window::kDictionary, [] { return new Form11; });
}

}  // namespace versilo
