#pragma once

// Process-wide settings made once, before the QApplication exists: high-DPI
// scaling, so that the fixed form grows with the screen's density, and no
// toolkit integration the window does not use.
void prepareApplication();

// Application-wide settings made once, after the QApplication exists and
// before the window is built: the application name, desktop file, icon and
// font.
void setUpApplication();
