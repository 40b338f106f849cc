#include "rhymedict.h"

#include "datastore.h"

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

// The one code unit a dictionary row stands for, or 0 when the row can
// never match (empty `汉字`, or more than one code unit).
bool RowChar(const DictionaryRow &row, char16_t *c)
{
    if (row.hanzi.size() != 1)
        return false;
    *c = row.hanzi.at(0).unicode();
    return true;
}

QChar RowToneMark(const DictionaryRow &row)
{
    return row.toneNull ? QChar() : ToneMarkOfCode(row.tone);
}

}  // namespace

QString RhymeGroupName(const QString &system, const QString &groupText)
{
    const int n = GroupNumber(groupText);
    if (n <= 0)
        return {};
    if (system == kNewRhyme) {
        if (n <= int(kNewRhymeNames.size()))
            return QString(QChar(kNewRhymeNames[n - 1]));
    } else if (system == kPingshui) {
        if (n <= kPingshuiCount)
            return QString(QChar(kPingshuiNames[n - 1]));
    }
    return {};
}

QChar ToneMarkOfCode(const QString &toneCode)
{
    if (toneCode.size() != 1)
        return {};
    switch (toneCode.at(0).unicode()) {
    case u'0': return QChar(u'○');
    case u'1': return QChar(u'●');
    case u'2': return QChar(u'※');
    default: return {};
    }
}

RhymeDictionary::RhymeDictionary(QString system) : system_(std::move(system)) {}

void RhymeDictionary::Clear()
{
    rows_.clear();
    tone_.clear();
    group_.clear();
}

void RhymeDictionary::Append(DictionaryRow row)
{
    // A later row with a known code overrides an earlier one; a row whose
    // code is unknown leaves the earlier answer standing.
    char16_t c;
    if (RowChar(row, &c)) {
        const QChar mark = RowToneMark(row);
        if (!mark.isNull())
            tone_.insert(c, mark);
        const QString name = RhymeGroupName(system_, row.group);
        if (!name.isEmpty())
            group_.insert(c, name);
    }
    rows_.push_back(std::move(row));
}

QChar RhymeDictionary::ToneMark(QChar c) const
{
    return tone_.value(c.unicode());
}

QString RhymeDictionary::GroupName(QChar c) const
{
    return group_.value(c.unicode());
}

QChar RhymeDictionary::ToneMarkByScan(QChar c) const
{
    QChar result;
    for (const DictionaryRow &row : rows_) {
        char16_t rc;
        if (!RowChar(row, &rc) || rc != c.unicode())
            continue;
        const QChar mark = RowToneMark(row);
        if (!mark.isNull())
            result = mark;
    }
    return result;
}

QString RhymeDictionary::GroupNameByScan(QChar c) const
{
    QString result;
    for (const DictionaryRow &row : rows_) {
        char16_t rc;
        if (!RowChar(row, &rc) || rc != c.unicode())
            continue;
        const QString name = RhymeGroupName(system_, row.group);
        if (!name.isEmpty())
            result = name;
    }
    return result;
}

bool LoadRhymeDictionary(DataStore &store, const QString &system,
                         RhymeDictionary &out, QString *error)
{
    out = RhymeDictionary(system);
    const auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        return false;
    };
    if (system != kNewRhyme && system != kPingshui)
        return fail(QStringLiteral("没有韵书“%1”。").arg(system));
    Recordset &rs = store.Rs();
    if (!rs.Open(QStringLiteral("select *from ") + system, {}, LockType::ReadOnly))
        return fail(rs.LastError());
    const int idCol = rs.ColumnIndex(QStringLiteral("id"));
    const int hanziCol = rs.ColumnIndex(QStringLiteral("汉字"));
    const int groupCol = rs.ColumnIndex(QStringLiteral("韵调"));
    const int toneCol = rs.ColumnIndex(QStringLiteral("平仄"));
    if (hanziCol < 0 || groupCol < 0 || toneCol < 0) {
        rs.Close();
        return fail(QStringLiteral("数据表“%1”缺少字段汉字、平仄或韵调。").arg(system));
    }
    const int count = rs.RecordCount();
    for (int i = 0; i < count; ++i) {
        DictionaryRow row;
        row.id = idCol >= 0 ? rs.FieldAt(idCol).toLongLong() : 0;
        row.hanzi = rs.FieldAt(hanziCol).toString();
        const QVariant group = rs.FieldAt(groupCol);
        if (!group.isNull())
            row.group = group.toString();
        const QVariant tone = rs.FieldAt(toneCol);
        row.toneNull = tone.isNull();
        if (!row.toneNull)
            row.tone = tone.toString();
        out.Append(std::move(row));
        rs.MoveNext();
    }
    rs.Close();
    return true;
}

}  // namespace versilo
