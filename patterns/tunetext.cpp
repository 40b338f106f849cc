#include "tunetext.h"

#include "prosody.h"

namespace versilo {

QString TuneEditForm(const QString &stored)
{
    QString out;
    out.reserve(stored.size() * 2 + 2);
    QStringView rest = QStringView(stored);
    for (qsizetype p = rest.indexOf(u'-'); p >= 0; p = rest.indexOf(u'-')) {
        out.append(TrimBlanks(rest.left(p).toString()));
        out.append(kCrLf);
        rest = rest.mid(p + 1);
    }
    out.append(TrimBlanks(rest.toString()));
    out.append(kCrLf);
    return out;
}

}  // namespace versilo
