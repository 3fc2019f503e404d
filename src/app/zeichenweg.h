#pragma once

#include <QString>

// How the pages reach the screen. Chosen once, after the application object exists and before the
// first web view: through the graphics card where there is one, in software where OpenGL is only
// emulated on the processor.
namespace Zeichenweg {

// Chooses the way and says which, for the log. `QT_QUICK_BACKEND=software`, the toolkit's own
// switch for a driver that is not to be trusted, makes the web engine draw in software too.
QString waehlen();

} // namespace Zeichenweg
