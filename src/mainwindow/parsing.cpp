#include "parsing.h"

#include <QHostAddress>
#include <QString>
#include <QStringList>

bool parseIntInRange(const QString &text, qint32 *out, qint32 min, qint32 max)
{
    bool ok = false;
    const int value = text.toInt(&ok, 10);
    if (!ok || value < min || value > max)
        return false;
    *out = value;
    return true;
}

namespace {

// One dotted-quad part: 1 to 3 ASCII digits, no leading zero, at most 255.
bool isDecimalOctet(const QStringRef &part)
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
    const QVector<QStringRef> parts = text.splitRef(QLatin1Char('.'));
    if (parts.size() != 4)
        return false;
    for (const QStringRef &part : parts) {
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
