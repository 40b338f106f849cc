#include "management.h"

namespace versilo {

double LeadingNumber(const QString &text)
{
    qsizetype i = 0;
    while (i < text.size() && (text.at(i) == u' ' || text.at(i) == u'\t'))
        ++i;
    const qsizetype start = i;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    const auto isDigit = [&](qsizetype k) { return k < text.size() && text.at(k) >= u'0' && text.at(k) <= u'9'; };
    qsizetype digits = 0;
    while (isDigit(i)) {
        ++i;
        ++digits;
    }
    if (i < text.size() && text.at(i) == u'.' && isDigit(i + 1)) {
        ++i;
        while (isDigit(i)) {
            ++i;
            ++digits;
        }
    }
    if (digits == 0)
        return 0;
    return text.mid(start, i - start).toDouble();
}

}  // namespace versilo
