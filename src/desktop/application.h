#pragma once

// Process-wide settings made once, before the QApplication exists: high-DPI
// scaling, so that the fixed form grows with the screen's density, no
// toolkit integration the window does not use, and the Wayland platform on a
// Wayland session unless the environment or the command line (main()'s
// arguments) chooses one.
void prepareApplication(int argc = 0, char **argv = nullptr);
// The environment part of prepareApplication(), which asks the compositor
// through the function given, and only where Wayland is to be used.
void chooseIntegrations(int argc, char **argv, bool (*compositorDrawsFrames)());

// Application-wide settings made once, after the QApplication exists and
// before the window is built: the application name, desktop file, icon and
// font; on Wayland, window frames where the compositor draws none and, with
// Qt 5, a join to an accessibility bus that was there first.
void setUpApplication();

// main()'s last step, given the event loop's result, which it returns. Where
// Qt's Wayland client can hang tearing its connection down
// (WORKAROUND(wayland-exit-deadlock)), the process ends
// with that code as the QApplication starts to go, after the window: only the
// teardown is skipped.
int leaveApplication(int exitCode);
