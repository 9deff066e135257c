// Torvikan's own start-up, the very one main() runs, measured to the first
// painted frame of the main window.

#include "first_paint.h"
#include "program.h"

int main(int argc, char** argv)
{
    FirstPaint watcher;
    endProcess(runTorvikan(argc, argv, [&](QWidget& mainWindow) { mainWindow.installEventFilter(&watcher); }));
}
