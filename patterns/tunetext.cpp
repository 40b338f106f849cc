#include "tunetext.h"

#include <QtGlobal>

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

namespace tunelist {

int StartForThumb(int top, int count)
{
    if (count <= 0)
        return 0;
    const qint64 offset = qBound(kThumbTop, top, kThumbLowest) - kThumbTop;
    return int(offset * count / kBookSpan);
}

int ThumbForStart(int start, int count)
{
    if (count <= 0 || start <= 0)
        return kThumbTop;
    const qint64 offset = (qint64(start) * kBookSpan + count - 1) / count;
    return int(qMin<qint64>(kThumbTop + offset, kThumbLowest));
}

int ArrowStep(int start, int count, int direction)
{
    if (direction < 0)
        return qMax(0, start - 1);
    return start + kLabels < count ? start + 1 : start;
}

}  // namespace tunelist

}  // namespace versilo
