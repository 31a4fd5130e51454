#pragma once

// Application-wide settings made once, after the QApplication exists and
// before the window is built: the application name and font.
void setUpApplication();
