#pragma once

class QWidget;

// Orders the Tab chain below root as the eye reads the form: top to bottom,
// a column before the one to its right, and within a row left to right. A
// tab widget's bar comes before its pages, page by page. An exclusive button
// group is one stop, its checked button, and the arrow keys choose within it.
void orderFocusByLayout(QWidget *root);
