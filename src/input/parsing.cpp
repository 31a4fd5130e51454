#include "input/parsing.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>
#include <QStringView>

bool parseIntInRange(const QString &text, qint32 *out, qint32 min, qint32 max)
{
    // Spelled out rather than left to QString::toInt, whose idea of a number
    // differs between Qt 5 and Qt 6 (Unicode minus, spaces, embedded NUL).
    const QString trimmed = text.trimmed();
    QStringView digits(trimmed);
    bool negative = false;
    if (!digits.isEmpty() && (digits.front() == u'+' || digits.front() == u'-')) {
        negative = digits.front() == u'-';
        digits = digits.mid(1);
    }
    if (digits.isEmpty())
        return false;
    qint64 value = 0;
    for (const QChar c : digits) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c.unicode() - u'0');
        // Past every qint32 already; stop before qint64 could overflow.
        if (value > (qint64(1) << 32))
            return false;
    }
    if (negative)
        value = -value;
    if (value < min || value > max)
        return false;
    *out = qint32(value);
    return true;
}

namespace {

// One dotted-quad part: 1 to 3 ASCII digits, no leading zero, at most 255.
bool isDecimalOctet(QStringView part)
{
    if (part.isEmpty() || part.size() > 3)
        return false;
    if (part.size() > 1 && part.at(0) == QLatin1Char('0'))
        return false;
    int value = 0;
    for (const QChar c : part) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9'))
            return false;
        value = value * 10 + (c.unicode() - '0');
    }
    return value <= 255;
}

// The toolkit also reads "192.168.1", "010.0.0.1", "3232235777" or "0x7f.1"
// as some other address; only the plain form reads back as it was typed.
bool isPlainIPv4(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QString &part : parts) {
        if (!isDecimalOctet(part))
            return false;
    }
    return true;
}

} // namespace

bool parseHostAddress(const QString &text, QHostAddress *out)
{
    if (!text.contains(QLatin1Char(':')) && !isPlainIPv4(text))
        return false;
    const QHostAddress address(text);
    if (address.isNull())
        return false;
    // A colon makes it IPv6 text; a plain quad always parses as IPv4.
    *out = address;
    return true;
}

bool dropSurroundingSpace(QString &text, int *cursor)
{
    const QString trimmed = text.trimmed();
    if (trimmed.size() == text.size())
        return false;
    int leading = 0;
    while (leading < text.size() && text.at(leading).isSpace())
        ++leading;
    *cursor = qBound(0, *cursor - leading, int(trimmed.size()));
    text = trimmed;
    return true;
}
