#pragma once

#include <QtGlobal>

class QHostAddress;
class QString;

// Reads text as a base-10 integer; writes *out and returns true only when it
// is one and lies within [min, max]. The form taken, on every Qt version:
// white space around it (as QString::trimmed() sees it) is ignored; then an
// optional ASCII '+' or '-' and one or more ASCII digits, nothing else.
bool parseIntInRange(const QString &text, qint32 *out, qint32 min, qint32 max);

// Reads an address; writes *out and returns true only on success. IPv4 is
// taken only as four dotted decimal numbers 0..255 without leading zeros, so
// the address reads back exactly as typed; IPv6 text is taken as the
// toolkit's parser reads it.
bool parseHostAddress(const QString &text, QHostAddress *out);

// Drops the white space and line breaks around text; *cursor, a position in
// it, moves with what it points at. True if there were any.
bool dropSurroundingSpace(QString &text, int *cursor);
