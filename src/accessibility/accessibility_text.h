#pragma once

// What the accessible interfaces share.

#include <QAccessible>
#include <QFont>
#include <QFontMetrics>
#include <QRect>
#include <QWidget>

// A caption as shown: mnemonic marks dropped, "&&" kept as one "&".
inline QString stripAmpersands(QString text)
{
    for (int i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&'))
            text.remove(i, 1);
    }
    return text;
}

inline QRect onScreen(const QWidget *widget, const QRect &rect)
{
    return QRect(widget->mapToGlobal(rect.topLeft()), rect.size());
}

// Read-only text over a string the widget shows: no caret, no selection,
// and no text attributes, so one attribute run spans the whole text.
class ShownText : public QAccessibleTextInterface
{
public:
    virtual QString shownText() const = 0;
    // Where the text is drawn, in screen coordinates.
    virtual QRect textArea() const = 0;

    void selection(int, int *startOffset, int *endOffset) const override
    {
        *startOffset = *endOffset = 0;
    }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int startOffset, int endOffset) const override
    {
        const QString all = shownText();
        startOffset = qBound(0, startOffset, int(all.size()));
        endOffset =
            (endOffset < 0) ? int(all.size()) : qBound(startOffset, endOffset, int(all.size()));
        return all.mid(startOffset, endOffset - startOffset);
    }
    int characterCount() const override { return int(shownText().size()); }
    QRect characterRect(int offset) const override
    {
        const QString all = shownText();
        if (offset < 0 || offset >= all.size())
            return QRect();
        const QRect area = textArea();
        const QFontMetrics metrics(font());
        const int x = metrics.horizontalAdvance(all.left(offset));
        const int top = area.top() + (area.height() - metrics.height()) / 2;
        return QRect(area.left() + x, top, metrics.horizontalAdvance(all.at(offset)),
                     metrics.height());
    }
    int offsetAtPoint(const QPoint &point) const override
    {
        const QRect area = textArea();
        if (!area.contains(point))
            return -1;
        const QString all = shownText();
        const QFontMetrics metrics(font());
        for (int i = 0; i < all.size(); ++i) {
            if (area.left() + metrics.horizontalAdvance(all.left(i + 1)) > point.x())
                return i;
        }
        return int(all.size()) - 1;
    }
    void scrollToSubstring(int, int) override {}
    // Qt's own line edit interface gives an empty run at every offset; Orca
    // 43 then drops the last character of the text, and all of "0"
    // (WORKAROUND(orca-last-character)).
    QString attributes(int offset, int *startOffset, int *endOffset) const override
    {
        const int count = characterCount();
        if (offset < 0 || offset > count) {
            *startOffset = *endOffset = -1;
            return QString();
        }
        *startOffset = 0;
        *endOffset = count;
        return QString();
    }

protected:
    virtual QFont font() const = 0;
};
