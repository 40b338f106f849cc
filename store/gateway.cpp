// SPDX-License-Identifier: GPL-3.0-or-later
#include "gateway.h"

#include "datastore.h"
#include "patternbooks.h"
#include "rhymedict.h"

#include <algorithm>

namespace versilo {

namespace {

// One column of a row type: a text or number member, and for a nullable
// column the flag that records a stored null.
template <class Row> struct Field {
    QString name;
    QString Row::*text = nullptr;
    double Row::*number = nullptr;
    bool Row::*isNull = nullptr;

    void Read(Row &row, const QVariant &v) const
    {
        if (isNull)
            row.*isNull = v.isNull();
        if (text)
            row.*text = v.isNull() ? QString() : v.toString();
        else if (number)
            row.*number = v.isNull() ? 0.0 : v.toDouble();
    }
    // The same straight from a row of a streamed result.
    void Read(Row &row, const Recordset::RowValues &values, int index) const
    {
        if (!text)
            return Read(row, values.At(index));
        bool null = false;
        row.*text = values.TextAt(index, &null);
        if (isNull)
            row.*isNull = null;
    }
    QVariant Value(const Row &row) const
    {
        if (isNull && row.*isNull)
            return QVariant();
        if (text)
            return row.*text;
        return row.*number;
    }
};

template <class Row> Field<Row> Text(const QString &name, QString Row::*member)
{
    return Field<Row>{name, member, nullptr, nullptr};
}

template <class Row> const std::vector<Field<Row>> &Fields();

template <> const std::vector<Field<WorkRow>> &Fields<WorkRow>()
{
    static const std::vector<Field<WorkRow>> f{
        Text(column::kTitle, &WorkRow::title),       Text(column::kText, &WorkRow::poem),
        Text(column::kPattern, &WorkRow::pattern),   Text(column::kTuneName, &WorkRow::tuneName),
        Text(column::kBookName, &WorkRow::patternBook), Text(column::kAuthor, &WorkRow::author),
        Text(column::kTime, &WorkRow::time)};
    return f;
}

template <> const std::vector<Field<TuneRow>> &Fields<TuneRow>()
{
    static const std::vector<Field<TuneRow>> f{Text(column::kTitle, &TuneRow::name),
                                               Text(column::kPattern, &TuneRow::pattern),
                                               Text(column::kText, &TuneRow::explanation)};
    return f;
}

template <> const std::vector<Field<PageRow>> &Fields<PageRow>()
{
    static const std::vector<Field<PageRow>> f{Text(column::kHeading, &PageRow::title),
                                               Text(column::kContent, &PageRow::content)};
    return f;
}

template <> const std::vector<Field<LibraryPoemRow>> &Fields<LibraryPoemRow>()
{
    static const std::vector<Field<LibraryPoemRow>> f{
        Text(column::kHeading, &LibraryPoemRow::title), Text(column::kAuthor, &LibraryPoemRow::author),
        Text(column::kText, &LibraryPoemRow::text), Text(column::kInitials, &LibraryPoemRow::initials)};
    return f;
}

template <> const std::vector<Field<AuthorRow>> &Fields<AuthorRow>()
{
    static const std::vector<Field<AuthorRow>> f{
        Text(column::kName, &AuthorRow::name), Text(column::kDynasty, &AuthorRow::dynasty),
        Field<AuthorRow>{column::kYear, nullptr, &AuthorRow::year, nullptr},
        Text(column::kInitials, &AuthorRow::initials)};
    return f;
}

template <> const std::vector<Field<DictionaryRow>> &Fields<DictionaryRow>()
{
    static const std::vector<Field<DictionaryRow>> f{
        Text(column::kHanzi, &DictionaryRow::hanzi),
        Field<DictionaryRow>{column::kTone, &DictionaryRow::tone, nullptr, &DictionaryRow::toneNull},
        Text(column::kGroup, &DictionaryRow::group), Text(column::kInitials, &DictionaryRow::pinyin)};
    return f;
}

bool Failed(Recordset &rs, QString *error, const QString &why = {})
{
    if (error)
        *error = why.isEmpty() ? rs.LastError() : why;
    rs.Close();
    return false;
}

// Opens `sql` read-only and finds the columns of the row type in the
// result; false when the query fails or a column is missing (the result is
// then closed and *error says why).
template <class Row>
bool OpenRows(Recordset &rs, const QString &sql, const QVariantList &params, std::vector<int> &index,
              int &idIndex, QString *error)
{
    if (!rs.Open(sql, params, LockType::ReadOnly))
        return Failed(rs, error);
    idIndex = rs.ColumnIndex(column::kId);
    index.clear();
    for (const Field<Row> &f : Fields<Row>()) {
        const int i = rs.ColumnIndex(f.name);
        if (i < 0)
            return Failed(rs, error, QStringLiteral("查询结果缺少字段“%1”。").arg(f.name));
        index.push_back(i);
    }
    return true;
}

template <class Row> Row CurrentRow(const Recordset &rs, const std::vector<int> &index, int idIndex)
{
    Row row;
    if (idIndex >= 0)
        row.id = rs.FieldAt(idIndex).toLongLong();
    const auto &fields = Fields<Row>();
    for (size_t k = 0; k < fields.size(); ++k)
        fields[k].Read(row, rs.FieldAt(index[k]));
    return row;
}

template <class Row> bool WriteColumns(Recordset &rs, const Row &row, const QStringList &columns)
{
    for (const Field<Row> &f : Fields<Row>()) {
        if ((columns.isEmpty() || columns.contains(f.name)) && !rs.SetField(f.name, f.Value(row)))
            return false;
    }
    return true;
}

QString ById(const QString &table) { return QStringLiteral("select *from ") + table + QStringLiteral(" where id=?"); }

// A write naming a column the row type lacks would otherwise pass it over in
// silence and report the write done without it: false, with *error saying
// which name, before anything is opened.
template <class Row> bool KnownColumns(Recordset &rs, const QString &table, const QStringList &columns,
                                       QString *error)
{
    const auto &fields = Fields<Row>();
    for (const QString &name : columns) {
        if (std::none_of(fields.begin(), fields.end(), [&](const Field<Row> &f) { return f.name == name; }))
            return Failed(rs, error, QStringLiteral("数据表“%1”没有可写的字段“%2”。").arg(table, name));
    }
    return true;
}

}  // namespace

template <class Row>
bool ReadAll(Recordset &rs, const QString &sql, const QVariantList &params, std::vector<Row> &rows,
             QString *error)
{
    rows.clear();
    std::vector<int> index;
    int idIndex = -1;
    const auto start = [&](const QStringList &columns, QString *why) {
        idIndex = int(columns.indexOf(column::kId));
        for (const Field<Row> &f : Fields<Row>()) {
            const int i = int(columns.indexOf(f.name));
            if (i < 0) {
                *why = QStringLiteral("查询结果缺少字段“%1”。").arg(f.name);
                return false;
            }
            index.push_back(i);
        }
        return true;
    };
    // Straight from the statement into the rows.
    const auto &fields = Fields<Row>();
    const auto take = [&](const Recordset::RowValues &values) {
        Row row;
        if (idIndex >= 0)
            row.id = values.At(idIndex).toLongLong();
        for (size_t k = 0; k < fields.size(); ++k)
            fields[k].Read(row, values, index[k]);
        rows.push_back(std::move(row));
    };
    if (!rs.ReadEach(sql, params, start, take)) {
        rows.clear();
        if (error)
            *error = rs.LastError();
        return false;
    }
    return true;
}

template <class Row>
bool ReadFirst(Recordset &rs, const QString &sql, const QVariantList &params, Row &row, QString *error)
{
    row = Row();
    if (error)
        error->clear();
    std::vector<int> index;
    int idIndex = -1;
    if (!OpenRows<Row>(rs, sql, params, index, idIndex, error))
        return false;
    const bool found = rs.RecordCount() > 0;
    if (found)
        row = CurrentRow<Row>(rs, index, idIndex);
    rs.Close();
    return found;
}

template <class Row>
bool InsertRow(Recordset &rs, const QString &table, Row &row, const QStringList &columns, QString *error)
{
    if (!KnownColumns<Row>(rs, table, columns, error))
        return false;
    if (!rs.Open(QStringLiteral("select *from ") + table, {}, LockType::Optimistic) || !rs.AddNew()
        || !WriteColumns(rs, row, columns) || !rs.Update())
        return Failed(rs, error);
    row.id = rs.Field(column::kId).toLongLong();
    rs.Close();
    return true;
}

template <class Row>
bool UpdateRow(Recordset &rs, const QString &table, const Row &row, const QStringList &columns, QString *error)
{
    if (!KnownColumns<Row>(rs, table, columns, error))
        return false;
    if (!rs.Open(ById(table), {row.id}, LockType::Optimistic))
        return Failed(rs, error);
    if (rs.RecordCount() == 0)
        return Failed(rs, error, QStringLiteral("数据表“%1”中已没有这条记录。").arg(table));
    if (!WriteColumns(rs, row, columns) || !rs.Update())
        return Failed(rs, error);
    rs.Close();
    return true;
}

bool DeleteRow(Recordset &rs, const QString &table, qint64 id, QString *error)
{
    if (!rs.Open(ById(table), {id}, LockType::Optimistic))
        return Failed(rs, error);
    if (rs.RecordCount() == 0)
        return Failed(rs, error, QStringLiteral("数据表“%1”中已没有这条记录。").arg(table));
    if (!rs.Delete())
        return Failed(rs, error);
    rs.Close();
    return true;
}

bool DeleteFirst(Recordset &rs, const QString &sql, const QVariantList &params, QString *error)
{
    if (error)
        error->clear();
    if (!rs.Open(sql, params, LockType::Optimistic))
        return Failed(rs, error);
    if (rs.RecordCount() == 0) {
        rs.Close();
        return false;
    }
    if (!rs.Delete())
        return Failed(rs, error);
    rs.Close();
    return true;
}

#define VERSILO_GATEWAY_ROW(Row)                                                                   \
    template bool ReadAll<Row>(Recordset &, const QString &, const QVariantList &, std::vector<Row> &, \
                               QString *);                                                         \
    template bool ReadFirst<Row>(Recordset &, const QString &, const QVariantList &, Row &, QString *); \
    template bool InsertRow<Row>(Recordset &, const QString &, Row &, const QStringList &, QString *); \
    template bool UpdateRow<Row>(Recordset &, const QString &, const Row &, const QStringList &, QString *);

VERSILO_GATEWAY_ROW(WorkRow)
VERSILO_GATEWAY_ROW(TuneRow)
VERSILO_GATEWAY_ROW(PageRow)
VERSILO_GATEWAY_ROW(LibraryPoemRow)
VERSILO_GATEWAY_ROW(AuthorRow)
VERSILO_GATEWAY_ROW(DictionaryRow)

#undef VERSILO_GATEWAY_ROW

}  // namespace versilo
