// SPDX-License-Identifier: GPL-3.0-or-later
#include "couplets.h"

#include "diagnostics_p.h"
#include "seedtext.h"

namespace versilo {

namespace {

// Two characters faced with this many of the same characters are of one
// kind.
constexpr int kAkinPartners = 4;

quint64 PairKey(char32_t a, char32_t b) { return (quint64(a) << 32) | quint64(b); }

const QString kNoun = QStringLiteral("名");
const QString kVerb = QStringLiteral("动");
const QString kAdjective = QStringLiteral("形");
const QString kFunction = QStringLiteral("虚字");

// Classes small and closed enough that facing within them is strict.
bool ClosedClass(const QString &cls)
{
    static const QStringList closed = {QStringLiteral("数"), QStringLiteral("方位"),
                                       QStringLiteral("颜色"), QStringLiteral("代")};
    return closed.contains(cls);
}

// A word's fine class is that of its noun reading, or of its reading as a
// function word (否 副 介 连 助); it says nothing of its other classes.
QString FineFor(const QString &cls, const QString &fine)
{
    static const QStringList functionFines = {QStringLiteral("否"), QStringLiteral("副"), QStringLiteral("介"),
                                              QStringLiteral("连"), QStringLiteral("助")};
    if (fine.isEmpty())
        return QString();
    if (cls == kFunction)
        return functionFines.contains(fine) ? fine : QString();
    if (cls == kNoun)
        return functionFines.contains(fine) ? QString() : fine;
    return QString();
}

QString Label(const QString &cls, const QString &fine)
{
    const QString f = FineFor(cls, fine);
    return f.isEmpty() ? cls : cls + u'·' + f;
}

// The classes of a character or word as the couplet reads it. A
// two-character noun without a fine class of its own takes that of its last
// character (明月 is a moon, 江城 a town).
struct Reading {
    bool known = false;
    QStringList classes;
    QString fine;
    QString sense;
};

Reading ReadWord(const CoupletWords &words, const QString &text)
{
    Reading r;
    const WordClass *w = words.Find(text);
    if (!w)
        return r;
    r.known = true;
    r.classes = w->classes;
    r.fine = w->fine;
    r.sense = w->sense;
    if (r.fine.isEmpty() && text.size() == 2 && r.classes.value(0) == kNoun) {
        if (const WordClass *last = words.Find(text.right(1)); last && last->classes.contains(kNoun))
            r.fine = last->fine;
    }
    return r;
}

// What a pair costs the couplet: nothing when the two are of one class (or
// one of them is a character the list lacks), 1 when they face only by
// leave (a verb and an adjective, a direction and a noun), 2 when they do
// not face.
constexpr int kLeave = 1;
constexpr int kMiss = 2;

struct Judged {
    Facing facing = Facing::None;
    int cost = kMiss;
    QString outLabel;
    QString inLabel;
};

// Two readings facing each other. A character the list does not know faces
// anything loosely, at no cost: nothing can be said against it.
Judged Face(const Reading &a, const Reading &b)
{
    Judged j;
    if (!a.known || !b.known) {
        j.facing = Facing::Loose;
        j.cost = 0;
        j.outLabel = a.known ? Label(a.classes.value(0), a.fine) : QStringLiteral("？");
        j.inLabel = b.known ? Label(b.classes.value(0), b.fine) : QStringLiteral("？");
        return j;
    }
    for (const QString &cls : a.classes) {
        if (!b.classes.contains(cls))
            continue;
        // Of one fine class; verbs and adjectives, which have none, of one
        // class; a noun without a fine class faces another only loosely.
        const QString fine = FineFor(cls, a.fine);
        const bool strict = ClosedClass(cls)
                            || (fine == FineFor(cls, b.fine) && (!fine.isEmpty() || cls != kNoun));
        if (j.facing == Facing::None || (strict && j.facing == Facing::Loose)) {
            j.facing = strict ? Facing::Strict : Facing::Loose;
            j.cost = 0;
            j.outLabel = Label(cls, a.fine);
            j.inLabel = Label(cls, b.fine);
        }
        if (strict)
            return j;
    }
    if (j.facing != Facing::None)
        return j;
    // A verb and an adjective both tell what the thing does or is: a loose
    // pair (星垂平野阔，月涌大江流).
    const bool verbAdj = (a.classes.contains(kVerb) && b.classes.contains(kAdjective))
                         || (a.classes.contains(kAdjective) && b.classes.contains(kVerb));
    // An adverb stands where an adjective would (独坐—遥看).
    const bool adverb = (a.classes.contains(kFunction) && FineFor(kFunction, a.fine) == QStringLiteral("副")
                         && b.classes.contains(kAdjective))
                        || (b.classes.contains(kFunction) && FineFor(kFunction, b.fine) == QStringLiteral("副")
                            && a.classes.contains(kAdjective));
    if (adverb) {
        j.facing = Facing::Loose;
        j.cost = kLeave;
        j.outLabel = a.classes.contains(kAdjective) ? kAdjective : QStringLiteral("虚字·副");
        j.inLabel = b.classes.contains(kAdjective) ? kAdjective : QStringLiteral("虚字·副");
        return j;
    }
    // Directions are nouns of place (青天外—白鹭洲), and numbers, directions
    // and adjectives all say which one (半落—中分, 中峰—众壑, 孤城—远树).
    static const QList<std::pair<QString, QString>> near = {
        {QStringLiteral("方位"), kNoun}, {QStringLiteral("数"), QStringLiteral("方位")},
        {QStringLiteral("数"), kAdjective}};
    for (const auto &[x, y] : near) {
        if ((a.classes.contains(x) && b.classes.contains(y)) || (a.classes.contains(y) && b.classes.contains(x))) {
            j.facing = Facing::Loose;
            j.cost = kLeave;
            j.outLabel = a.classes.contains(x) && b.classes.contains(y) ? x : y;
            j.inLabel = j.outLabel == x ? y : x;
            return j;
        }
    }
    if (verbAdj) {
        j.facing = Facing::Loose;
        j.cost = kLeave;
        j.outLabel = a.classes.contains(kVerb) && b.classes.contains(kAdjective) ? kVerb : kAdjective;
        j.inLabel = j.outLabel == kVerb ? kAdjective : kVerb;
        return j;
    }
    j.outLabel = Label(a.classes.value(0), a.fine);
    j.inLabel = Label(b.classes.value(0), b.fine);
    return j;
}

// Characters this common in the poets' middle couplets have met often
// enough that their never facing each other says something.
constexpr int kWellSeen = 150;

// Two characters facing each other, by their classes and by what the poets
// did: a pair the poets faced faces (琴—柳, 关—剑), whatever the classes
// say.
Judged FaceChars(const CoupletWords &words, const QString &a, const Reading &ra, const QString &b,
                 const Reading &rb, bool *usage)
{
    Judged j = Face(ra, rb);
    *usage = false;
    if (!words.HasUsage() || a == b)
        return j;
    const char32_t ca = diag::OneChar(a);
    const char32_t cb = diag::OneChar(b);
    if (words.Faced(ca, cb) > 0 || words.Akin(ca, cb)) {
        if (j.cost > 0) {
            j.facing = Facing::Loose;
            j.cost = 0;
            *usage = true;
        }
    }
    return j;
}

Facing Weaker(Facing a, Facing b) { return a > b ? a : b; }

bool Doubled(const QString &w) { return w.size() == 2 && w.at(0) == w.at(1); }

struct PairResult {
    FacingPair pair;
    int misses = 0;      // syllables that do not face
    int cost = 0;
    bool sameSense = false;
};

bool SameSense(const Reading &a, const Reading &b, const QString &ta, const QString &tb)
{
    return ta == tb || (!a.sense.isEmpty() && a.sense == b.sense);
}

// One word of each line, of equal length.
PairResult FacePair(const CoupletWords &words, const QString &a, const QString &b, int start)
{
    PairResult r;
    r.pair.out.text = a;
    r.pair.in.text = b;
    r.pair.out.start = r.pair.in.start = start;
    if (a.size() == 2 && Doubled(a) != Doubled(b)) {
        // 萧萧 faces 滚滚, not a word of two characters.
    } else if (a.size() == 2 && Doubled(a)) {
        r.pair.facing = Facing::Strict;
        r.pair.out.label = r.pair.in.label = QStringLiteral("叠字");
        r.cost = 0;
        r.sameSense = a == b;
        return r;
    }
    const Reading wa = ReadWord(words, a);
    const Reading wb = ReadWord(words, b);
    r.sameSense = SameSense(wa, wb, a, b);
    if (a.size() == 1) {
        const Judged whole = FaceChars(words, a, wa, b, wb, &r.pair.usage);
        r.pair.facing = whole.facing;
        r.pair.out.label = whole.outLabel;
        r.pair.in.label = whole.inLabel;
        r.misses = whole.facing == Facing::None ? 1 : 0;
        r.cost = whole.cost;
        return r;
    }
    // Character by character, where the words do not face as words (or are
    // no words of the list): 依山—入海 faces as 依—入 and 山—海.
    Facing parts = Facing::Strict;
    int misses = 0;
    int cost = 0;
    bool partsSame = true;
    QStringList outLabels;
    QStringList inLabels;
    bool usage = false;
    for (int i = 0; i < 2; ++i) {
        const Reading ca = ReadWord(words, a.mid(i, 1));
        const Reading cb = ReadWord(words, b.mid(i, 1));
        bool byUsage = false;
        const Judged j = FaceChars(words, a.mid(i, 1), ca, b.mid(i, 1), cb, &byUsage);
        usage = usage || byUsage;
        parts = Weaker(parts, j.facing);
        misses += j.facing == Facing::None ? 1 : 0;
        cost += j.cost;
        partsSame = partsSame && SameSense(ca, cb, a.mid(i, 1), b.mid(i, 1));
        outLabels.append(j.outLabel);
        inLabels.append(j.inLabel);
    }
    r.sameSense = r.sameSense || partsSame;
    // The two words as words, where the list knows both.
    const Judged whole = wa.known && wb.known ? Face(wa, wb) : Judged{};
    const bool wholeFaces = whole.facing != Facing::None;
    if (wholeFaces && (whole.cost < cost || (whole.cost == cost && whole.facing <= parts))) {
        r.cost = whole.cost;
        r.pair.facing = whole.facing;
        r.pair.out.label = whole.outLabel;
        r.pair.in.label = whole.inLabel;
        return r;
    }
    r.pair.facing = parts;
    r.pair.usage = usage;
    r.pair.out.label = outLabels.join(u'+');
    r.pair.in.label = inLabels.join(u'+');
    r.misses = misses;
    // A word neither of whose characters faces is one word that does not
    // face (数有—何曾), not two.
    r.cost = words.HasUsage() ? std::min(cost, kMiss + kLeave) : cost;
    return r;
}

// The ways a line of the length may be split, the common one first.
QList<QList<int>> Splits(qsizetype len)
{
    if (len == 5)
        return {{2, 2, 1}, {2, 1, 2}};
    if (len == 7)
        return {{2, 2, 2, 1}, {2, 2, 1, 2}};
    return {};
}

QString Text(const Verse &v, int start, int size)
{
    QString s;
    for (int i = start; i < start + size; ++i)
        s += diag::Str(v.chars.at(i));
    return s;
}

struct SplitResult {
    QList<PairResult> pairs;
    int misses = 0;
    int cost = 0;
    int known = 0;      // words of two characters the list has, in both lines
};

SplitResult FaceSplit(const CoupletWords &words, const Verse &a, const Verse &b, const QList<int> &split)
{
    SplitResult r;
    int start = 0;
    for (int size : split) {
        const QString ta = Text(a, start, size);
        const QString tb = Text(b, start, size);
        r.pairs.append(FacePair(words, ta, tb, start));
        r.misses += r.pairs.last().misses;
        r.cost += r.pairs.last().cost;
        if (size == 2)
            r.known += (words.Find(ta) ? 1 : 0) + (words.Find(tb) ? 1 : 0);
        start += size;
    }
    return r;
}

// What a couplet may cost and still face. Without the poets' usage one
// syllable that does not face is passed over (借对, a proper name the list
// lacks, a word the list classes otherwise), and one more that faces by
// leave.
//
// With it, the judge weighs the classes against the number of places where
// the poets would face the two characters, and against where the couplet
// stands: poets faced nearly every middle couplet and no more than a third
// of the first and last ones, so a first or last couplet needs more to be
// called parallel than a middle one. A middle couplet may have the one
// syllable that does not face when the poets would face none of its pairs;
// two when they would face some (one more by leave in a line of five:
// 数有关中乱，何曾劒外清; a second miss in a line of seven:
// 月狖声和琴调咽，烟村景接柳条春). A first or last couplet may have one
// syllable that faces by leave when they would face none of its pairs (the
// classes alone let lines that merely run on pass for a couplet: 野人如有幸，
// 应得见陶钧), one that does not face when they would face one, and the
// allowance of the plain judge when they would face more. Set on the
// library's 律诗.
int AllowedCost(int faced, qsizetype len, bool middle, bool usage)
{
    if (!usage)
        return kMiss + kLeave;
    if (middle) {
        if (faced == 0)
            return kMiss;
        return len >= 7 ? 2 * kMiss : kMiss + kLeave;
    }
    if (faced == 0)
        return kLeave;
    return faced == 1 ? kMiss : kMiss + kLeave;
}

QString CoupletName(int index, int count)
{
    static const QStringList numbers = {QStringLiteral("一"), QStringLiteral("二"), QStringLiteral("三"),
                                        QStringLiteral("四"), QStringLiteral("五"), QStringLiteral("六"),
                                        QStringLiteral("七"), QStringLiteral("八"), QStringLiteral("九")};
    if (index == 0)
        return QStringLiteral("首联");
    if (index == count - 1)
        return QStringLiteral("尾联");
    if (index == 1)
        return QStringLiteral("颔联");
    if (index == 2)
        return QStringLiteral("颈联");
    const int n = index + 1;
    QString name;
    if (n < 10)
        name = numbers.at(n - 1);
    else if (n < 20)
        name = QStringLiteral("十") + (n % 10 ? numbers.at(n % 10 - 1) : QString());
    else
        name = QString::number(n);
    return QStringLiteral("第") + name + QStringLiteral("联");
}

}  // namespace

// ---- the word list ------------------------------------------------------------------

const CoupletWords &CoupletWords::Builtin()
{
    static const CoupletWords table = [] {
        CoupletWords w = FromText(BuiltinSeedText(QStringLiteral("对仗词类")));
        w.AddUsage(BuiltinSeedText(QStringLiteral("对仗字对")));
        return w;
    }();
    return table;
}

CoupletWords CoupletWords::FromText(const QString &tsv)
{
    CoupletWords out;
    const TsvRows t = ParseTsv(tsv);
    const qsizetype word = t.Column(QStringLiteral("词"));
    const qsizetype cls = t.Column(QStringLiteral("词类"));
    const qsizetype fine = t.Column(QStringLiteral("细类"));
    const qsizetype sense = t.Column(QStringLiteral("同义"));
    if (word < 0 || cls < 0)
        return out;
    for (const QStringList &row : t.rows) {
        const QStringList classes = row.at(cls).split(u'|', Qt::SkipEmptyParts);
        if (row.at(word).isEmpty() || classes.isEmpty())
            continue;
        out.Add(row.at(word), classes, fine < 0 ? QString() : row.at(fine),
                sense < 0 ? QString() : row.at(sense));
    }
    return out;
}

void CoupletWords::Add(const QString &word, const QStringList &classes, const QString &fine,
                       const QString &sense)
{
    words_.insert(word, WordClass{classes, fine, sense});
}

const WordClass *CoupletWords::Find(const QString &word) const
{
    const auto it = words_.constFind(word);
    return it == words_.constEnd() ? nullptr : &it.value();
}

void CoupletWords::AddUsage(const QString &tsv)
{
    const TsvRows t = ParseTsv(tsv);
    const qsizetype chr = t.Column(QStringLiteral("字"));
    const qsizetype seen = t.Column(QStringLiteral("次数"));
    const qsizetype partners = t.Column(QStringLiteral("对字"));
    if (chr < 0 || seen < 0 || partners < 0)
        return;
    for (const QStringList &row : t.rows) {
        const char32_t c = diag::OneChar(row.at(chr));
        bool ok = false;
        const int n = row.at(seen).toInt(&ok);
        if (!c || !ok || n <= 0)
            continue;
        QList<std::pair<char32_t, int>> list;
        for (const QString &p : row.at(partners).split(u' ', Qt::SkipEmptyParts)) {
            // A character and its count: "风12".
            const char32_t other = p.at(0).isHighSurrogate() && p.size() > 1
                                       ? QChar::surrogateToUcs4(p.at(0), p.at(1))
                                       : p.at(0).unicode();
            const int m = p.mid(QChar::requiresSurrogates(other) ? 2 : 1).toInt(&ok);
            if (ok && m > 0)
                list.append({other, m});
        }
        AddUsage(c, n, list);
    }
}

void CoupletWords::AddUsage(char32_t ch, int seen, const QList<std::pair<char32_t, int>> &partners)
{
    seen_.insert(ch, seen);
    QList<char32_t> &mine = partners_[ch];
    for (const auto &[other, n] : partners) {
        if (other == ch)
            continue;
        if (!mine.contains(other))
            mine.append(other);
        faced_.insert(PairKey(ch, other), std::max(n, faced_.value(PairKey(ch, other))));
        faced_.insert(PairKey(other, ch), std::max(n, faced_.value(PairKey(other, ch))));
    }
}

int CoupletWords::Faced(char32_t a, char32_t b) const
{
    return faced_.value(PairKey(a, b));
}

bool CoupletWords::Akin(char32_t a, char32_t b) const
{
    const auto pa = partners_.constFind(a);
    const auto pb = partners_.constFind(b);
    if (a == b || pa == partners_.constEnd() || pb == partners_.constEnd())
        return false;
    int common = 0;
    for (char32_t c : *pa)
        common += pb->contains(c) ? 1 : 0;
    return common >= kAkinPartners;
}

// ---- judging ------------------------------------------------------------------------

QString FacingName(Facing f)
{
    switch (f) {
    case Facing::Strict: return QStringLiteral("工对");
    case Facing::Loose: return QStringLiteral("宽对");
    case Facing::None: return QStringLiteral("不对");
    }
    return {};
}

QList<Couplet> JudgeCouplets(const QList<Verse> &verses, const CoupletWords &words)
{
    QList<Couplet> out;
    const qsizetype n = verses.size();
    if (n < 8 || n % 2 != 0)
        return out;
    const qsizetype len = verses.first().chars.size();
    const QList<QList<int>> splits = Splits(len);
    if (splits.isEmpty())
        return out;
    for (const Verse &v : verses) {
        if (v.chars.size() != len)
            return out;
    }
    const int count = int(n / 2);
    for (int i = 0; i < count; ++i) {
        const Verse &a = verses.at(2 * i);
        const Verse &b = verses.at(2 * i + 1);
        // The split that faces best, then the one with more listed words,
        // then the common one.
        SplitResult best;
        bool have = false;
        for (const QList<int> &split : splits) {
            SplitResult r = FaceSplit(words, a, b, split);
            if (!have || r.cost < best.cost || (r.cost == best.cost && r.known > best.known)) {
                best = std::move(r);
                have = true;
            }
        }
        Couplet c;
        c.first = 2 * i;
        c.name = CoupletName(i, count);
        c.mustFace = i > 0 && i < count - 1;
        for (qsizetype k = 0; k < len; ++k) {
            if (a.chars.at(k) == b.chars.at(k))
                c.repeated.append(int(k));
            else if (words.Faced(a.chars.at(k), b.chars.at(k)) > 0 || words.Akin(a.chars.at(k), b.chars.at(k)))
                ++c.faced;
            else if (words.Seen(a.chars.at(k)) >= kWellSeen && words.Seen(b.chars.at(k)) >= kWellSeen)
                ++c.unfaced;
        }
        c.misses = best.misses;
        c.cost = best.cost;
        c.parallel = best.cost <= AllowedCost(c.faced, len, c.mustFace, words.HasUsage());
        int same = 0;
        int strict = 0;
        for (const PairResult &p : best.pairs) {
            c.pairs.append(p.pair);
            strict += p.pair.facing == Facing::Strict ? 1 : 0;
            same += p.sameSense ? 1 : 0;
        }
        // 工对: no pair that fails, and most of the pairs of one fine class.
        c.strict = best.misses == 0 && 2 * strict > best.pairs.size();
        // Two lines whose facing words are all, or all but one, the same
        // or of one sense.
        c.sameSense = c.parallel && same >= 2 && same >= best.pairs.size() - 1;
        out.append(c);
    }
    return out;
}

QString DescribePairs(const Couplet &c)
{
    QStringList parts;
    for (const FacingPair &p : c.pairs) {
        QString s = p.out.text + u'—' + p.in.text;
        if (!p.out.label.isEmpty() || !p.in.label.isEmpty())
            s += u'（' + (p.out.label == p.in.label ? p.out.label : p.out.label + u'／' + p.in.label)
                 + (p.facing == Facing::None ? QStringLiteral("，不对")
                    : p.usage            ? QStringLiteral("，诗家常对")
                                         : QString())
                 + u'）';
        parts.append(s);
    }
    return parts.join(u'、');
}

namespace diag {

void RuleCouplets(const QList<Verse> &verses, const QList<Couplet> &couplets, QList<Finding> &out)
{
    for (const Couplet &c : couplets) {
        const int v = c.first + 1;
        if (c.mustFace && !c.parallel) {
            out.append(Make(verses, v, -1, FindingKind::Parallel, true,
                            c.name + QStringLiteral("不对仗：") + DescribePairs(c)));
        } else if (!c.mustFace && c.parallel) {
            out.append(Make(verses, v, -1, FindingKind::Parallel, false,
                            c.name + QStringLiteral("对仗（") + (c.strict ? QStringLiteral("工对") : QStringLiteral("宽对"))
                                + QStringLiteral("）：") + DescribePairs(c)));
        }
        if (c.sameSense) {
            QStringList same;
            for (const FacingPair &p : c.pairs)
                same.append(p.out.text + u'—' + p.in.text);
            out.append(Make(verses, v, -1, FindingKind::SameSense, true,
                            c.name + QStringLiteral("合掌：两句意思相同（") + same.join(u'、')
                                + QStringLiteral("）")));
        }
        if (c.parallel || c.mustFace) {
            for (int k : c.repeated) {
                out.append(Make(verses, v, k, FindingKind::RepeatedWord, false,
                                c.name + QStringLiteral("重字：") + Quote(verses.at(v).chars.at(k))
                                    + QStringLiteral("与") + Quote(verses.at(c.first).chars.at(k))
                                    + QStringLiteral("相对")));
            }
        }
    }
}

}  // namespace diag

}  // namespace versilo
