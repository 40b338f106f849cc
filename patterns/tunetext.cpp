// SPDX-License-Identifier: GPL-3.0-or-later
#include "tunetext.h"

#include "prosody.h"

namespace versilo {

QString TuneEditForm(const QString &stored)
{
    QString s = stored;
    return s.replace(u'-', kCrLf);
}

QString StoredTuneText(const QString &box)
{
    // Exactly the inverse of TuneEditForm: even a pattern of nothing but line
    // breaks is kept as it stands, so an unchanged 修改 writes the row back
    // unchanged.
    QString s = box;
    return TrimBlanks(s.replace(kCrLf, QStringLiteral("-")));
}

QString TerminatedTuneText(const QString &stored)
{
    const qsizetype last = stored.lastIndexOf(u'-');
    if (TrimBlanks(stored.mid(last + 1)).isEmpty())
        return stored;
    return stored + u'-';
}

}  // namespace versilo
