#include "rhymedict.h"

#include "datastore.h"
#include "gateway.h"

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
    char32_t c;
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

QChar RhymeDictionary::ToneMark(char32_t c) const
{
    return tone_.value(c);
}

QString RhymeDictionary::GroupName(char32_t c) const
{
    return group_.value(c);
}

QChar RhymeDictionary::ToneMarkByScan(char32_t c) const
{
    QChar result;
    for (const DictionaryRow &row : rows_) {
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
    for (const DictionaryRow &row : rows_) {
        char32_t rc;
        if (!RowChar(row, &rc) || rc != c)
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
    std::vector<DictionaryRow> rows;
    QString why;
    if (!ReadAll(store.Rs(), QStringLiteral("select *from ") + system, {}, rows, &why))
        return fail(why);
    for (DictionaryRow &row : rows)
        out.Append(std::move(row));
    return true;
}

}  // namespace versilo
