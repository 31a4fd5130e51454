#pragma once

namespace Ui {
class transceiver_master;
}

// The form record generated from transceiver_master.ui: one typed pointer per
// widget, filled by setupUi(). Include "ui_transceiver_master.h" to use it.
using MainWindowForm = Ui::transceiver_master;
