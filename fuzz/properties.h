#pragma once

// What must hold for every input to the two parsers; the fuzzers and the
// corpus test both check it. Each returns an empty string when it holds,
// otherwise what went wrong.

#include "input/parsing.h"

#include <QByteArray>
#include <QHostAddress>
#include <QRegularExpression>
#include <QString>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// Input: 8 bytes of range (two little-endian 32-bit bounds), then UTF-8 text.
inline QString checkParseIntInRange(const QByteArray &input)
{
    qint32 min = 0;
    qint32 max = 4096;
    QByteArray textBytes = input;
    if (input.size() >= 8) {
        std::memcpy(&min, input.constData(), 4);
        std::memcpy(&max, input.constData() + 4, 4);
        textBytes = input.mid(8);
    }
    const QString text = QString::fromUtf8(textBytes);
    // Two different starting values: a refusal must leave both as they were,
    // whatever the range.
    qint32 out = 0x5a5a5a5a;
    qint32 other = ~out;
    const bool accepted = parseIntInRange(text, &out, min, max);
    if (parseIntInRange(text, &other, min, max) != accepted)
        return QStringLiteral("same input, different verdicts");

    // The form the parser takes, written out on its own: white space around,
    // then an optional ASCII sign and ASCII digits only. Once the text is
    // known to be plain ASCII, every Qt version reads it the same.
    static const QRegularExpression form(QStringLiteral("\\A[+-]?[0-9]+\\z"));
    const QString trimmed = text.trimmed();
    bool ok = false;
    const qlonglong value = form.match(trimmed).hasMatch() ? trimmed.toLongLong(&ok, 10) : 0;
    const bool inRange = ok && value >= min && value <= max;
    if (accepted != inRange)
        return QStringLiteral("accepted %1, but the rule says %2").arg(accepted).arg(inRange);
    if (accepted && out != value)
        return QStringLiteral("stored %1, the rule reads %2").arg(out).arg(value);
    if (accepted && other != value)
        return QStringLiteral("stored %1, the rule reads %2").arg(other).arg(value);
    if (!accepted && (out != 0x5a5a5a5a || other != ~0x5a5a5a5a))
        return QStringLiteral("refused but wrote %1").arg(out);
    return QString();
}

// Input: UTF-8 text as typed.
inline QString checkParseHostAddress(const QByteArray &input)
{
    const QString text = QString::fromUtf8(input);
    const QHostAddress untouched(QStringLiteral("203.0.113.7"));
    QHostAddress out = untouched;
    if (!parseHostAddress(text, &out))
        return out == untouched ? QString() : QStringLiteral("refused but wrote");

    if (out.isNull())
        return QStringLiteral("accepted a null address");
    if (!text.contains(QLatin1Char(':'))) {
        // IPv4 reads back exactly as typed.
        if (out.protocol() != QAbstractSocket::IPv4Protocol || out.toString() != text)
            return QStringLiteral("'%1' reads back as '%2'").arg(text, out.toString());
        return QString();
    }
    // IPv6 reads back as the toolkit's own form of it, which parses again to
    // the same address.
    if (out.toString() != QHostAddress(text).toString())
        return QStringLiteral("'%1' stored as '%2'").arg(text, out.toString());
    const QHostAddress again(out.toString());
    if (again != out)
        return QStringLiteral("'%1' does not read back the same").arg(out.toString());
    return QString();
}

// One libFuzzer run: check the property and abort, with what went wrong, on
// the first input where it fails.
inline int fuzzOne(QString (*check)(const QByteArray &), const char *name, const uint8_t *data,
                   size_t size)
{
    const QString failure = check(QByteArray(reinterpret_cast<const char *>(data), int(size)));
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "%s: %s\n", name, qPrintable(failure));
        std::abort();
    }
    return 0;
}
