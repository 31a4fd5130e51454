#pragma once

class QLineEdit;
class QTabWidget;

// The form is laid out for a style whose check boxes, combo boxes and line
// edits are as compact as Fusion's. Where the desktop's style (Breeze,
// Adwaita, Oxygen) needs more, each page is fitted to it: a check box or
// combo box too narrow for its caption or longest item grows into free room
// beside it, the column to its right moving over where that room is short,
// and the pages and the window widen where the page is short; a widget
// reaching below its page moves up into free room; and where the style draws
// no frame around a line edit as low as the form's, the line edit gets one.
// In Fusion and Windows, which the form is laid out in, nothing is measured.
void fitToStyle(QTabWidget *tabs);
// As fitToStyle(), when the window first shows: only then have the pages
// their size, and the window is not on screen yet.
void fitToStyleWhenShown(QTabWidget *tabs);
// Gives a line edit the text colour, black or the theme's, that stands out
// more from what its style draws inside it: the white or yellow of its style
// sheet, or the style's own field where it draws no white a program asks for
// (Kvantum).
void keepTextReadable(QLineEdit *edit);
