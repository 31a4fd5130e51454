#pragma once

// Process-wide settings made once, before the QApplication exists: high-DPI
// scaling, so that the fixed form grows with the screen's density, no
// toolkit integration the window does not use, and the Wayland platform on a
// Wayland session unless the environment or the command line (main()'s
// arguments) chooses one.
void prepareApplication(int argc = 0, char **argv = nullptr);

// Application-wide settings made once, after the QApplication exists and
// before the window is built: the application name, desktop file, icon and
// font.
void setUpApplication();
