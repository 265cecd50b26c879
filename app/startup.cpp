#include "startup.h"

#include "identity.h"
#include "translation.h"

#include "fonts.h"

namespace korvane {

void configureApplication()
{
    applyIdentity();
    installQtTranslation();
    // Before any window: a widget resolves its font when it is created.
    ui::registerFontSubstitutes();
}

} // namespace korvane
