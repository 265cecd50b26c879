#include "startup.h"

#include "identity.h"

#include "ui/common/fonts.h"

namespace korvane {

void configureApplication()
{
    applyIdentity();
    // Before any window: a widget resolves its font when it is created.
    ui::registerFontSubstitutes();
}

} // namespace korvane
