#pragma once

#include <QMessageBox>
#include <QPointer>

class QLabel;

// The window's notices, one after another in one modal box: a heading, the
// message under it and Ok alone.
class NoticeBox
{
public:
    NoticeBox();
    // Returns when the operator has closed the box.
    void exec(const QString &heading, const QString &message, QMessageBox::Icon icon);

private:
    QMessageBox box;
    QLabel *headingLabel;
    QPointer<QLabel> messageLabel; // made by the box with its first message
};
