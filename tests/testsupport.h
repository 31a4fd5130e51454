#pragma once

#include "storage/DataStorage.h"
#include "mainwindow/transceiver_master.h"
#include "ui_transceiver_master.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTabBar>
#include <QTest>
#include <QTimer>

#include <functional>
#include <memory>

// Reaches the window's private members, as an operator's eyes reach the
// form and a debugger the store.
class TestAccess
{
public:
    static MainWindowForm *ui(transceiver_master &w) { return w.ui; }
    static DataStorage &storage(transceiver_master &w) { return w.storage; }
    static QTimer &timer(transceiver_master &w) { return w.inputTimer; }
    static QButtonGroup &modeGroup(transceiver_master &w) { return w.modeGroup; }
    static void updateFrequencies(transceiver_master &w) { w.updateFrequencies(); }
    // The number fields of the parameter tables, each with its validator.
    static QVector<QLineEdit *> numberFields(transceiver_master &w)
    {
        QVector<QLineEdit *> fields = w.tetraFields() + w.hostFields();
        fields.removeAll(w.ui->Host_IPaddress);
        fields.removeAll(w.ui->HostIPaddress2);
        return fields;
    }
};

// A modal notice as the operator saw it.
struct Notice {
    QString text;
    QString informativeText;
    QMessageBox::StandardButtons buttons;
    QString windowTitle;
    bool mainWindowVisible = false;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    bool textFits = false; // every line of every text unbroken and uncut
};

// Closes every modal notice that appears, from a timer, and records it.
class NoticeCloser : public QObject
{
public:
    enum How { ByOk, ByEscape, ByCloseButton };

    explicit NoticeCloser(How how = ByOk, int keepOpenMs = 0) : how(how), keepOpenMs(keepOpenMs)
    {
        poller.setInterval(2);
        QObject::connect(&poller, &QTimer::timeout, this, [this] { poll(); });
        poller.start();
    }

    How how;
    int keepOpenMs;
    QPointer<QWidget> mainWindow;
    QList<Notice> notices;
    // Runs while the notice is still open, before it is closed.
    std::function<void(const Notice &)> whileOpen;

    Notice last() const { return notices.isEmpty() ? Notice() : notices.last(); }
    int count() const { return notices.size(); }

private:
    void poll()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || box == closing)
            return;
        if (box != seen) {
            seen = box;
            shownFor.start();
        }
        if (shownFor.elapsed() < keepOpenMs)
            return;
        closing = box;
        notices << Notice{box->text(),
                          box->informativeText(),
                          box->standardButtons(),
                          box->windowTitle(),
                          mainWindow && mainWindow->isVisible(),
                          box->icon(),
                          textFits(box)};
        if (whileOpen)
            whileOpen(notices.last());
        switch (how) {
        case ByOk:
            box->button(QMessageBox::Ok)->click();
            break;
        case ByEscape:
            QTest::keyClick(box, Qt::Key_Escape);
            break;
        case ByCloseButton:
            box->close();
            break;
        }
        if (!box->isVisible()) // the next notice may come in the same box
            seen = closing = nullptr;
    }

    static bool textFits(const QMessageBox *box)
    {
        for (const QLabel *label : box->findChildren<QLabel *>()) {
            for (const QString &line : label->text().split('\n')) {
                if (label->fontMetrics().horizontalAdvance(line) > label->contentsRect().width())
                    return false;
            }
        }
        return true;
    }

    QTimer poller;
    QPointer<QMessageBox> seen;
    QPointer<QMessageBox> closing;
    QElapsedTimer shownFor;
};

// The real window, built and shown as at program start, with its notices
// closed as they appear.
struct Corvane {
    explicit Corvane(NoticeCloser::How how = NoticeCloser::ByOk,
                     std::function<void(const Notice &)> whileOpen = {})
        : closer(how)
    {
        closer.whileOpen = std::move(whileOpen);
        window = std::make_unique<transceiver_master>();
        closer.mainWindow = window.get();
        ui = TestAccess::ui(*window);
        store = &TestAccess::storage(*window);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qWarning("window not exposed");
    }

    // The operator's way of changing a tab: a click on its tab.
    void goToTab(int index)
    {
        QTabBar *bar = ui->tabWidget->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    }

    // Replace a field's content by keyboard: select all, delete, type.
    static void typeInto(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_Backspace);
        typeText(edit, text);
    }

    // Type at the cursor. QTest::keyClicks() takes ASCII only; other letters
    // go as key events that carry just their text, as an input method sends.
    // What no keyboard can type (a NUL, say) can only be pasted, so it is.
    static void typeText(QWidget *widget, const QString &text)
    {
        for (const QChar c : text) {
            if (!c.isPrint() && !c.isSpace()) {
                QApplication::clipboard()->setText(QString(c));
                QTest::keyClick(widget, Qt::Key_V, Qt::ControlModifier);
            } else if (c.unicode() < 128)
                QTest::keyClick(widget, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c),
                                    Qt::NoModifier);
        }
    }

    static void paste(QLineEdit *edit, const QString &text)
    {
        edit->setFocus();
        edit->selectAll();
        QApplication::clipboard()->setText(text);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }

    static void click(QAbstractButton *button) { QTest::mouseClick(button, Qt::LeftButton); }

    // The input timer's tick, at once instead of 600 ms later: what the
    // timer would do if nothing else happened before it fired. A renamed
    // slot fails the test instead of making every tick a no-op.
    void tick() const
    {
        QTimer &timer = TestAccess::timer(*window);
        if (timer.isActive()) {
            timer.stop();
            QVERIFY2(QMetaObject::invokeMethod(window.get(), "on_inputTimerTick"),
                     "no slot on_inputTimerTick");
        }
    }

    // Wait out the 600 ms input timer itself.
    void waitTick() const
    {
        QTest::qWait(650);
        QTRY_VERIFY(!TestAccess::timer(*window).isActive());
    }

    // As the operator sees the field, and as a screen reader tells it: the
    // field's range (its tooltip), after what is wrong if anything is.
    bool isYellow(QLineEdit *edit) const
    {
        const QString description = accessibleDescription(edit);
        return edit->styleSheet().contains("yellow") && description != edit->toolTip() &&
               description.endsWith(edit->toolTip());
    }
    bool isWhite(QLineEdit *edit) const
    {
        return edit->styleSheet().contains("white") &&
               accessibleDescription(edit) == edit->toolTip();
    }
    static QString accessibleDescription(QWidget *w)
    {
        QAccessibleInterface *iface = QAccessible::queryAccessibleInterface(w);
        return iface ? iface->text(QAccessible::Description) : QString();
    }

    NoticeCloser closer;
    std::unique_ptr<transceiver_master> window;
    MainWindowForm *ui = nullptr;
    DataStorage *store = nullptr;
};
