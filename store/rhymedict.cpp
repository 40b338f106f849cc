// SPDX-License-Identifier: GPL-3.0-or-later
#include "rhymedict.h"

#include "datastore.h"
#include "gateway.h"
#include "schema.h"
#include "shorttexts.h"

#include <QDir>

#include <sqlite3.h>

#include <algorithm>
#include <array>

namespace versilo {

namespace {

// Display names of the rhyme groups, index = group number - 1.
constexpr std::array<char16_t, 14> kNewRhymeNames{
    u'麻', u'波', u'皆', u'开', u'微', u'豪', u'尤',
    u'寒', u'文', u'唐', u'庚', u'齐', u'支', u'姑'};

constexpr char16_t kPingshuiNames[] =
    u"东冬江支缁微鱼虞齐佳"
    u"灰真文元寒删先萧肴豪"
    u"歌麻阳筐青蒸尤侵覃盐"
    u"咸董肿讲纸尾语雨荠蟹"
    u"贿轸吻阮旱潸铣小巧皓"
    u"哿马养梗迥有寝感琰槛"
    u"送宋绛置邃未御遇霁泰"
    u"卦队震问愿翰谏霰啸效"
    u"号个驾漾敬径宥沁勘艳"
    u"陷屋沃觉质物月曷黠屑"
    u"药陌锡职缉合叶洽";
constexpr int kPingshuiCount = int(std::size(kPingshuiNames)) - 1;
static_assert(kPingshuiCount == 108);

// The group number of a code text that is a key of the tables: plain decimal
// digits, no sign, no blanks, no leading zero. 0 for anything else.
int GroupNumber(const QString &text)
{
    if (text.isEmpty() || text.size() > 3 || text.at(0) == u'0')
        return 0;
    int n = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return 0;
        n = n * 10 + (c.unicode() - u'0');
    }
    return n;
}

// The same of the UTF-8 bytes of a text (a byte beyond ASCII is no digit).
int GroupNumber(const unsigned char *text, int bytes)
{
    if (bytes < 1 || bytes > 3 || text[0] == '0')
        return 0;
    int n = 0;
    for (int i = 0; i < bytes; ++i) {
        if (text[i] < '0' || text[i] > '9')
            return 0;
        n = n * 10 + (text[i] - '0');
    }
    return n;
}

// The ToneMark of a one-character ToneCode.
QChar ToneMarkOfDigit(char16_t code)
{
    switch (code) {
    case u'0': return QChar(u'○');
    case u'1': return QChar(u'●');
    case u'2': return QChar(u'※');
    default: return {};
    }
}

// The one character a dictionary row stands for; false when the row can
// never match (empty `汉字`, or more than one character).
bool RowChar(const DictionaryRow &row, char32_t *c)
{
    const QString &h = row.hanzi;
    if (h.size() == 1) {
        *c = h.at(0).unicode();
        return true;
    }
    if (h.size() == 2 && h.at(0).isHighSurrogate() && h.at(1).isLowSurrogate()) {
        *c = QChar::surrogateToUcs4(h.at(0), h.at(1));
        return true;
    }
    return false;
}

QChar RowToneMark(const DictionaryRow &row)
{
    return row.toneNull ? QChar() : ToneMarkOfCode(row.tone);
}

}  // namespace

std::vector<char32_t> CodePoints(QStringView text)
{
    std::vector<char32_t> out;
    out.reserve(size_t(text.size()));
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < text.size() && QChar::isLowSurrogate(text[i + 1].unicode())) {
            out.push_back(QChar::surrogateToUcs4(u, text[i + 1].unicode()));
            ++i;
        } else {
            out.push_back(u);
        }
    }
    return out;
}

QString CharacterText(char32_t c)
{
    if (QChar::requiresSurrogates(c)) {
        const QChar pair[2] = {QChar(QChar::highSurrogate(c)), QChar(QChar::lowSurrogate(c))};
        return QString(pair, 2);
    }
    return QString(QChar(char16_t(c)));
}

namespace {

// The name of a group as one shared text, so that the index holds no copy
// of its own; an empty text when the number has no name.
const QString &GroupNameRef(const QString &system, int n)
{
    static const QString none;
    static const std::vector<QString> newRhyme = [] {
        std::vector<QString> v;
        for (char16_t c : kNewRhymeNames)
            v.emplace_back(QChar(c));
        return v;
    }();
    static const std::vector<QString> pingshui = [] {
        std::vector<QString> v;
        for (int i = 0; i < kPingshuiCount; ++i)
            v.emplace_back(QChar(kPingshuiNames[i]));
        return v;
    }();
    if (n <= 0)
        return none;
    if (system == kNewRhyme && n <= int(newRhyme.size()))
        return newRhyme[size_t(n - 1)];
    if (system == kPingshui && n <= int(pingshui.size()))
        return pingshui[size_t(n - 1)];
    return none;
}

const QString &GroupNameRef(const QString &system, const QString &groupText)
{
    return GroupNameRef(system, GroupNumber(groupText));
}

}  // namespace

QString RhymeGroupName(const QString &system, const QString &groupText)
{
    return GroupNameRef(system, groupText);
}

QChar ToneMarkOfCode(const QString &toneCode)
{
    return toneCode.size() == 1 ? ToneMarkOfDigit(toneCode.at(0).unicode()) : QChar();
}

namespace {

// The lookups of every character: what the rows holding it decide, its tone
// mark and its group number, in pages of 256 code points made only for the
// stretches of characters the dictionary holds, so that reading a table
// allocates next to nothing and a lookup is two array reads.
class CharLookups {
public:
    struct Entry {
        QChar mark;      // null: no row of the character has a known code
        int group = 0;   // 0: no row of it has a group with a name
    };
    Entry At(char32_t c) const
    {
        const size_t p = c >> 8;
        if (p >= pageOf_.size() || pageOf_[p] < 0)
            return {};
        const quint16 e = pages_[size_t(pageOf_[p])][c & 0xFF];
        return {kMarks[e & 3], e >> 2};
    }
    void SetMark(char32_t c, QChar mark)
    {
        quint16 &e = Slot(c);
        e = quint16((e & ~3) | CodeOf(mark));
    }
    void SetGroup(char32_t c, int group)
    {
        quint16 &e = Slot(c);
        e = quint16((e & 3) | (group << 2));
    }

private:
    static constexpr char16_t kMarks[4] = {0, u'○', u'●', u'※'};
    static int CodeOf(QChar mark)
    {
        for (int i = 1; i < 4; ++i)
            if (mark == QChar(kMarks[i]))
                return i;
        return 0;
    }
    quint16 &Slot(char32_t c)
    {
        const size_t p = c >> 8;
        if (p >= pageOf_.size())
            pageOf_.resize(p + 1, -1);
        if (pageOf_[p] < 0) {
            pageOf_[p] = qint32(pages_.size());
            pages_.emplace_back().fill(0);
        }
        return pages_[size_t(pageOf_[p])][c & 0xFF];
    }

    std::vector<qint32> pageOf_;                    // page of c >> 8, -1 none
    std::vector<std::array<quint16, 256>> pages_;   // mark code | group << 2
};

}  // namespace

struct RhymeDictionary::Data {
    std::vector<DictionaryRow> rows;
    CharLookups lookups;
};

RhymeDictionary::RhymeDictionary(QString system) : system_(std::move(system)) {}

RhymeDictionary::Data &RhymeDictionary::Writable()
{
    if (!d_)
        d_ = std::make_shared<Data>();
    else if (d_.use_count() > 1)
        d_ = std::make_shared<Data>(*d_);
    return *d_;
}

int RhymeDictionary::Size() const { return d_ ? int(d_->rows.size()) : 0; }

const std::vector<DictionaryRow> &RhymeDictionary::Rows() const
{
    static const std::vector<DictionaryRow> none;
    return d_ ? d_->rows : none;
}

void RhymeDictionary::Clear() { d_.reset(); }

void RhymeDictionary::Append(DictionaryRow row)
{
    Data &d = Writable();
    // A later row with a known code overrides an earlier one; a row whose
    // code is unknown leaves the earlier answer standing.
    char32_t c;
    if (RowChar(row, &c))
        AppendLookup(c, RowToneMark(row), GroupNumber(row.group));
    d.rows.push_back(std::move(row));
}

void RhymeDictionary::AppendLookup(char32_t c, QChar mark, int group)
{
    Data &d = Writable();
    if (!mark.isNull())
        d.lookups.SetMark(c, mark);
    if (!GroupNameRef(system_, group).isEmpty())
        d.lookups.SetGroup(c, group);
}

// The index entries of one character, made again from every row that holds
// it (after one of its rows changed or went).
void RhymeDictionary::Reindex(Data &d, char32_t c) const
{
    QChar mark;
    int group = 0;
    for (const DictionaryRow &row : d.rows) {
        char32_t rc;
        if (!RowChar(row, &rc) || rc != c)
            continue;
        const QChar m = RowToneMark(row);
        if (!m.isNull())
            mark = m;
        const int n = GroupNumber(row.group);
        if (!GroupNameRef(system_, n).isEmpty())
            group = n;
    }
    d.lookups.SetMark(c, mark);
    d.lookups.SetGroup(c, group);
}

bool RhymeDictionary::ReplaceRow(const DictionaryRow &row)
{
    if (!d_)
        return false;
    const auto at = std::find_if(d_->rows.begin(), d_->rows.end(),
                                 [&](const DictionaryRow &r) { return r.id == row.id; });
    if (at == d_->rows.end())
        return false;
    const size_t k = size_t(at - d_->rows.begin());
    Data &d = Writable();
    char32_t before = 0, after = 0;
    const bool hadChar = RowChar(d.rows[k], &before);
    d.rows[k] = row;
    if (hadChar)
        Reindex(d, before);
    if (RowChar(row, &after) && !(hadChar && after == before))
        Reindex(d, after);
    return true;
}

bool RhymeDictionary::RemoveRow(qint64 id)
{
    if (!d_)
        return false;
    const auto at = std::find_if(d_->rows.begin(), d_->rows.end(),
                                 [&](const DictionaryRow &r) { return r.id == id; });
    if (at == d_->rows.end())
        return false;
    const size_t k = size_t(at - d_->rows.begin());
    Data &d = Writable();
    char32_t c;
    const bool hadChar = RowChar(d.rows[k], &c);
    d.rows.erase(d.rows.begin() + qsizetype(k));
    if (hadChar)
        Reindex(d, c);
    return true;
}

QChar RhymeDictionary::ToneMark(char32_t c) const
{
    return d_ ? d_->lookups.At(c).mark : QChar();
}

QString RhymeDictionary::GroupName(char32_t c) const
{
    return d_ ? GroupNameRef(system_, d_->lookups.At(c).group) : QString();
}

QChar RhymeDictionary::ToneMarkByScan(char32_t c) const
{
    QChar result;
    for (const DictionaryRow &row : Rows()) {
        char32_t rc;
        if (!RowChar(row, &rc) || rc != c)
            continue;
        const QChar mark = RowToneMark(row);
        if (!mark.isNull())
            result = mark;
    }
    return result;
}

QString RhymeDictionary::GroupNameByScan(char32_t c) const
{
    QString result;
    for (const DictionaryRow &row : Rows()) {
        char32_t rc;
        if (!RowChar(row, &rc) || rc != c)
            continue;
        const QString name = RhymeGroupName(system_, row.group);
        if (!name.isEmpty())
            result = name;
    }
    return result;
}

namespace {

// A prepared statement that finalizes itself.
struct Query {
    Query(sqlite3 *db, const QByteArray &sql)
    {
        rc = sqlite3_prepare_v2(db, sql.constData(), int(sql.size()), &st, nullptr);
    }
    ~Query() { sqlite3_finalize(st); }
    Query(const Query &) = delete;
    Query &operator=(const Query &) = delete;
    sqlite3_stmt *st = nullptr;
    int rc;
};

// A column as text, the way a field converted to text reads: null gives "".
QString ColumnText(sqlite3_stmt *st, int c, ShortTexts &texts, bool *isNull = nullptr)
{
    const int type = sqlite3_column_type(st, c);
    if (isNull)
        *isNull = type == SQLITE_NULL;
    switch (type) {
    case SQLITE_NULL:
        return {};
    case SQLITE_INTEGER:
        return texts.Number(sqlite3_column_int64(st, c));
    case SQLITE_TEXT:
        return texts.Get(reinterpret_cast<const char *>(sqlite3_column_text(st, c)),
                         sqlite3_column_bytes(st, c));
    default:
        return schema::ColumnValue(st, c).toString();
    }
}

// The one code point of a UTF-8 text that holds exactly one, well formed
// and in its shortest form; false for anything else (which the caller then
// reads as text, the way every other row is read).
bool OneCodePoint(const unsigned char *p, int bytes, char32_t *c)
{
    if (bytes < 1 || bytes > 4)
        return false;
    const unsigned char b0 = p[0];
    const int need = b0 < 0x80 ? 1 : (b0 >> 5) == 0x6 ? 2 : (b0 >> 4) == 0xE ? 3 : (b0 >> 3) == 0x1E ? 4 : 0;
    if (need != bytes)
        return false;
    if (need == 1) {
        *c = b0;
        return true;
    }
    char32_t v = b0 & (0x7F >> need);
    for (int i = 1; i < need; ++i) {
        if ((p[i] & 0xC0) != 0x80)
            return false;
        v = (v << 6) | (p[i] & 0x3F);
    }
    static constexpr char32_t kLeast[5] = {0, 0, 0x80, 0x800, 0x10000};
    if (v < kLeast[need] || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF))
        return false;
    *c = v;
    return true;
}

// The index entries of the current row read straight from the statement:
// the common forms (a character as text, codes as numbers or digits) without
// making a text of any column, everything else as the rows read it.
void AppendLookupOf(sqlite3_stmt *st, int hanzi, int tone, int group, ShortTexts &texts,
                    RhymeDictionary &dict)
{
    char32_t c;
    if (sqlite3_column_type(st, hanzi) != SQLITE_TEXT
        || !OneCodePoint(sqlite3_column_text(st, hanzi), sqlite3_column_bytes(st, hanzi), &c)) {
        DictionaryRow row;
        row.hanzi = ColumnText(st, hanzi, texts);
        if (!RowChar(row, &c))
            return;
    }
    QChar mark;
    switch (sqlite3_column_type(st, tone)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, tone);
        mark = v >= 0 && v <= 9 ? ToneMarkOfDigit(char16_t(u'0' + v)) : QChar();
        break;
    }
    case SQLITE_TEXT:
        if (sqlite3_column_bytes(st, tone) == 1)
            mark = ToneMarkOfDigit(sqlite3_column_text(st, tone)[0]);
        break;
    default:
        mark = ToneMarkOfCode(ColumnText(st, tone, texts));
        break;
    }
    int n = 0;
    switch (sqlite3_column_type(st, group)) {
    case SQLITE_NULL:
        break;
    case SQLITE_INTEGER: {
        const sqlite3_int64 v = sqlite3_column_int64(st, group);
        n = v > 0 && v < 1000 ? int(v) : 0;
        break;
    }
    case SQLITE_TEXT:
        n = GroupNumber(sqlite3_column_text(st, group), sqlite3_column_bytes(st, group));
        break;
    default:
        n = GroupNumber(ColumnText(st, group, texts));
        break;
    }
    dict.AppendLookup(c, mark, n);
}

}  // namespace

bool LoadRhymeDictionary(DataStore &store, const QString &system,
                         RhymeDictionary &out, QString *error, DictionaryKeep keep)
{
    out = RhymeDictionary(system);
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (system != kNewRhyme && system != kPingshui)
        return fail(QStringLiteral("没有韵书“%1”。").arg(system));
    if (!store.IsConnected() && !store.Connect())
        return fail(store.LastError());
    sqlite3 *db = store.Handle();
    const auto failDb = [&](const QString &context) {
        return fail(schema::LastSqliteError(db, context) + QStringLiteral("（")
                    + QDir::toNativeSeparators(store.FilePath()) + QStringLiteral("）。"));
    };

    // "select *from 中华新韵", read row by row into the dictionary.
    const QString sql = QStringLiteral("select * from ") + schema::Quoted(system);
    Query q(db, sql.toUtf8());
    if (q.rc != SQLITE_OK || !q.st)
        return failDb(sql);
    int id = -1, hanzi = -1, tone = -1, group = -1, pinyin = -1;
    for (int c = sqlite3_column_count(q.st) - 1; c >= 0; --c) {
        const QString name = QString::fromUtf8(sqlite3_column_name(q.st, c));
        int *slot = name == column::kId ? &id
                    : name == column::kHanzi ? &hanzi
                    : name == column::kTone ? &tone
                    : name == column::kGroup ? &group
                    : name == column::kInitials ? &pinyin : nullptr;
        if (slot)
            *slot = c;   // the first column of a name wins
    }
    for (const auto &[index, name] : {std::pair{hanzi, column::kHanzi}, {tone, column::kTone},
                                      {group, column::kGroup}, {pinyin, column::kInitials}})
        if (index < 0)
            return fail(QStringLiteral("查询结果缺少字段“%1”。").arg(name));

    RhymeDictionary dict(system);
    ShortTexts texts;
    int rc;
    if (keep == DictionaryKeep::LookupsOnly) {
        while ((rc = sqlite3_step(q.st)) == SQLITE_ROW)
            AppendLookupOf(q.st, hanzi, tone, group, texts, dict);
        if (rc != SQLITE_DONE)
            return failDb(sql);
        out = std::move(dict);
        return true;
    }
    while ((rc = sqlite3_step(q.st)) == SQLITE_ROW) {
        DictionaryRow row;
        if (id >= 0)
            row.id = sqlite3_column_int64(q.st, id);
        row.hanzi = ColumnText(q.st, hanzi, texts);
        row.tone = ColumnText(q.st, tone, texts, &row.toneNull);
        row.group = ColumnText(q.st, group, texts);
        row.pinyin = ColumnText(q.st, pinyin, texts);
        dict.Append(std::move(row));
    }
    if (rc != SQLITE_DONE)
        return failDb(sql);
    out = std::move(dict);
    return true;
}

bool RefreshListedRow(Recordset &rs, const QString &system, std::vector<DictionaryRow> &list,
                      qint64 id)
{
    const auto at = std::find_if(list.begin(), list.end(),
                                 [id](const DictionaryRow &r) { return r.id == id; });
    if (at == list.end() || (system != kNewRhyme && system != kPingshui))
        return false;
    const bool counted = rs.Open(QStringLiteral("select count(*) from ") + schema::Quoted(system));
    const qint64 total = counted && rs.RecordCount() == 1 ? rs.FieldAt(0).toLongLong() : -1;
    rs.Close();
    if (total != qint64(list.size()))
        return false;
    DictionaryRow row;
    if (!ReadFirst(rs, QStringLiteral("select *from ") + system + QStringLiteral(" where id=?"), {id}, row))
        return false;
    *at = std::move(row);
    return true;
}

struct DictionaryCache::Kept {
    RhymeDictionary dict;
    DataStore::ContentStamp stamp;
};

bool DictionaryCache::Load(DataStore &store, const QString &system, RhymeDictionary &out,
                           QString *error)
{
    if (!store.IsConnected() && !store.Connect()) {
        kept_.erase(system);
        if (error)
            *error = store.LastError();
        out = RhymeDictionary(system);
        return false;
    }
    const DataStore::ContentStamp before = store.Stamp();
    auto it = kept_.find(system);
    if (it != kept_.end() && before.Valid() && it->second->stamp == before) {
        out = it->second->dict;
        return true;
    }
    kept_.erase(system);
    ++reads_;
    if (!LoadRhymeDictionary(store, system, out, error))
        return false;
    // Kept only when nothing was written while the table was read.
    if (before.Valid() && store.Stamp() == before)
        kept_[system] = std::make_shared<Kept>(Kept{out, before});
    return true;
}

}  // namespace versilo
