#include "mainwindow/notice.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QScreen>
#include <QStyle>

namespace {

// The widest a line may make the box, so that it stays on the screen with
// room around it; where no screen is known, as wide as on a small one.
constexpr int widestPercentOfScreen = 80;
constexpr int widestWithoutScreen = 1000;
// A heading at least this many characters wide keeps the box wide enough
// for its title bar: the box would take the width of its shortest texts.
constexpr int headingMinimumChars = 30;
// A line measured to the pixel may still wrap where the label rounds its
// width down; the heading is drawn once more a pixel to the right.
constexpr int roundingSlack = 1;
constexpr int headingOffset = 1;

// A text of several lines as one line of sentences, as a screen reader
// gets a message: a line break inside a name does not reach speech as a
// pause, so "0–4096" and the next field's name would run together.
QString asSentences(const QString &text)
{
    QStringList lines = text.split(QLatin1Char('\n'));
    QString one = lines.takeFirst();
    for (const QString &line : std::as_const(lines))
        one += (one.endsWith(QLatin1Char(':')) ? QStringLiteral(" ") : QStringLiteral(". ")) + line;
    return one;
}

// Draws a label's plain text twice, headingOffset apart: a heading heavier
// than the text under it in the face already loaded, where a bold face
// would cost start-up a second font load.
class HeavierText : public QObject
{
public:
    using QObject::QObject;

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint)
            return false;
        auto *label = static_cast<QLabel *>(watched);
        QPainter painter(label);
        const int m = label->margin();
        const QRect rect = label->contentsRect().adjusted(m, m, -m, -m);
        int flags = int(QStyle::visualAlignment(label->layoutDirection(), label->alignment()));
        if (label->wordWrap())
            flags |= Qt::TextWordWrap;
        for (int dx : {0, headingOffset})
            label->style()->drawItemText(&painter, rect.translated(dx, 0), flags, label->palette(),
                                         label->isEnabled(), label->text(),
                                         label->foregroundRole());
        return true;
    }
};

// Each line of the label unbroken, up to widest.
void fitWidth(QLabel *label, int least, int extra, int widest)
{
    const QFontMetrics metrics = label->fontMetrics();
    int width = least;
    for (const QString &line : label->text().split(QLatin1Char('\n')))
        width = qMax(width, metrics.horizontalAdvance(line) + roundingSlack + extra);
    label->setMinimumWidth(qMin(width, widest));
}

} // namespace

// WORKAROUND(orca-late-notice-events): one box for the window's life. Orca
// reads the events of a notice's closing after it has closed, Orca 51 at
// times after the next notice has come and gone, and asks about the
// notice's parts, which a box destroyed as it closes no longer has.
NoticeBox::NoticeBox() : headingLabel(box.findChild<QLabel *>(QStringLiteral("qt_msgbox_label")))
{
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    headingLabel->installEventFilter(new HeavierText(headingLabel));
}

void NoticeBox::exec(const QString &heading, const QString &message, QMessageBox::Icon icon)
{
    box.setText(heading);
    box.setInformativeText(message);
    box.setIcon(icon);
    if (!messageLabel)
        messageLabel = box.findChild<QLabel *>(QStringLiteral("qt_msgbox_informativelabel"));
    // WORKAROUND(atspi-alert-description): Orca 48 reads of an alert its
    // description, or else only the labels in it that nothing relates to and
    // that have three words or more («Успешно» was never said); Orca 43
    // speaks a description as well as those labels. Qt before 6.8 has no
    // described-by relation, and Orca 48 keeps what describes an object for
    // a while, where the box shows one message after another: the message is
    // part of the name, which keeps both from reading its label again.
    const QString sentences = asSentences(message);
    box.setAccessibleName(heading + QStringLiteral(". ") + sentences);
    messageLabel->setAccessibleName(sentences);

    const QScreen *screen = QGuiApplication::primaryScreen();
    const int widest = screen ? screen->availableGeometry().width() * widestPercentOfScreen / 100
                              : widestWithoutScreen;
    fitWidth(headingLabel, headingMinimumChars * headingLabel->fontMetrics().averageCharWidth(),
             headingOffset, widest);
    fitWidth(messageLabel, 0, 0, widest);
    box.exec();
}
