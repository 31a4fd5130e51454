#pragma once

// Settings that must be made before the QApplication exists: high-DPI
// scaling, so that the fixed form grows with the screen's density.
void prepareApplication();

// Application-wide settings made once, after the QApplication exists and
// before the window is built: the application name, desktop file, icon and
// font.
void setUpApplication();
