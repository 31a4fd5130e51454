#include "desktop/commandline.h"

#include <QtGlobal>

#include <cstdio>
#include <cstring>

namespace {

// The theme plugin for the Qt it is built with: qt5ct or qt6ct.
#define THEME_PLUGIN "qt" QT_STRINGIFY(QT_VERSION_MAJOR) "ct"

const char help[] =
    "Usage: corvane [OPTION]...\n"
    "Edit the configuration of a TETRA base station in a window (demonstration\n"
    "mode: no station is contacted).\n"
    "\n"
    "  -h, --help            display this help and exit\n"
    "  -v, --version         output version information and exit\n"
    "\n"
    "The options every Qt program takes work too, among them:\n"
    "  -platform NAME        the windowing system: wayland, xcb, offscreen...\n"
    "  -platformtheme NAME   the desktop's theme plugin, for example " THEME_PLUGIN "\n"
    "  -style NAME           the widget style, for example Fusion\n"
    "  -stylesheet FILE      a style sheet for the whole window\n"
    "  -reverse              lay the window out from right to left\n"
    "  -display DISPLAY      the X11 display (xcb only)\n"
    "\n"
    "See corvane(1) for the environment variables Corvane reads.\n";

bool is(const char *argument, const char *shortName, const char *longName)
{
    return std::strcmp(argument, shortName) == 0 || std::strcmp(argument, longName) == 0;
}

} // namespace

bool answerInformationOptions(int argc, char **argv)
{
    for (int i = 1; i < argc; ++i) {
        if (is(argv[i], "-h", "--help")) {
            std::fputs(help, stdout);
            return true;
        }
        if (is(argv[i], "-v", "--version")) {
            // The Qt it runs on tells the Qt 5 build from the Qt 6 one.
            std::printf("corvane %s (Qt %s)\n", CORVANE_VERSION, qVersion());
            return true;
        }
    }
    return false;
}
