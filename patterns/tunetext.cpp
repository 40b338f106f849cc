#include "tunetext.h"

#include "prosody.h"

namespace versilo {

QString TuneEditForm(const QString &stored)
{
    QString s = stored;
    return s.replace(u'-', kCrLf);
}

QString TerminatedTuneText(const QString &stored)
{
    const qsizetype last = stored.lastIndexOf(u'-');
    if (TrimBlanks(stored.mid(last + 1)).isEmpty())
        return stored;
    return stored + u'-';
}

}  // namespace versilo
