#pragma once

class QWidget;

// Orders the Tab chain below root as the eye reads the form: top to bottom,
// a column before the one to its right, and within a row left to right. A
// tab widget's bar comes before its pages, page by page.
void orderFocusByLayout(QWidget *root);
