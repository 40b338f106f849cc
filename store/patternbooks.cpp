#include "patternbooks.h"

#include "datastore.h"

namespace versilo {

bool IsPatternBook(const QString &name)
{
    return name == kCommonBook || name == kBaixiangBook;
}

bool FindTune(Recordset &rs, const QString &book, const QString &tuneName, TuneRow &out,
              QString *error)
{
    out = {};
    if (!IsPatternBook(book)) {
        if (error)
            *error = QStringLiteral("“%1”不是词谱。").arg(book);
        return false;
    }
    if (!rs.Open(QStringLiteral("select *from ") + book + QStringLiteral(" where 篇名=?"), {tuneName})) {
        if (error)
            *error = rs.LastError();
        return false;
    }
    const bool found = rs.RecordCount() > 0;
    if (found) {
        out.name = rs.Text(QStringLiteral("篇名"));
        out.pattern = rs.Text(QStringLiteral("格律"));
        out.explanation = rs.Text(QStringLiteral("正文"));
    }
    rs.Close();
    return found;
}

}  // namespace versilo
