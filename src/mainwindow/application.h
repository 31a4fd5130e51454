#pragma once

// Process-wide settings made once, before the QApplication exists: the
// toolkit's integrations the window does not use are left out.
void prepareApplication();

// Application-wide settings made once, after the QApplication exists and
// before the window is built: the application name and font.
void setUpApplication();
