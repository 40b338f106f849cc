#include "library.h"

namespace versilo {

QString Unmarked(const QString &text)
{
    QString t = text;
    t.remove(kSelectionMark);
    return t;
}

QString Marked(const QString &text) { return kSelectionMark + Unmarked(text); }

QString AuthorLifeLine(const QString &dynasty, const QVariant &year)
{
    const QString y = year.isNull() ? QString() : year.toString();
    return dynasty + QStringLiteral("(公元") + y + QStringLiteral("年)");
}

QString InitialsPattern(const QString &letters)
{
    return QStringLiteral("%") + letters + QStringLiteral("%");
}

int ThumbTrack::StartAt(double top, int count) const
{
    return int((top - dragTop) * count / rowsPerTrack);
}

}  // namespace versilo
