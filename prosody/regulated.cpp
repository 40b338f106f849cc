// SPDX-License-Identifier: GPL-3.0-or-later
// Regulated verse (近体诗): the form, 粘 and 对, the required positions,
// 孤平 and 三平尾, the common 拗救, and the rhymes.
#include "rules.h"

#include <algorithm>

namespace versilo {

namespace diag {

QList<QList<T>> Tones(const QList<Verse> &verses)
{
    QList<QList<T>> tones;
    for (const Verse &v : verses) {
        QList<T> t;
        for (QChar m : v.marks)
            t.append(ToneOfMark(m));
        tones.append(t);
    }
    return tones;
}

// The tone of the second position as the firm even positions vote for it.
// A line that may stand in the special form 平平仄平仄 (its core's third
// oblique, its fourth level, ending off the rhyme tone) has swapped its
// fourth core position, which then does not vote.
T Axis(const QList<T> &t, T rhymeTone)
{
    const int len = int(t.size());
    const int off = len - 5;
    const bool special = rhymeTone == T::L && t.last() == T::O
                         && (t.at(off + 2) == T::O || t.at(off + 2) == T::B) && t.at(off + 3) == T::L;
    int level = 0;
    int oblique = 0;
    for (int k = 1; k < len - 1; k += 2) {
        if (!Firm(t.at(k)) || (special && k == off + 3))
            continue;
        const T says = SameAsSecond(k) ? t.at(k) : Opposite(t.at(k));
        (says == T::L ? level : oblique)++;
    }
    return level > oblique ? T::L : oblique > level ? T::O : T::U;
}

// The class the rhymes share most: the even lines count twice, the first
// line (when it ends in the rhyme tone) once; a tie goes to the earliest.
static int MainClass(const QList<Verse> &verses, const QList<QList<T>> &tones,
              const ReadingLookup &lookup, T want, bool pingshui, bool sections)
{
    QHash<int, int> count;
    QList<int> order;
    for (qsizetype i = 0; i < verses.size(); ++i) {
        const bool even = i % 2 == 1;
        const T end = tones.at(i).last();
        if (!even && (i > 0 || (end != want && end != T::B)))
            continue;
        const QSet<int> classes =
            RhymeClasses(lookup(verses.at(i).chars.last()), want, pingshui, sections);
        QList<int> sorted(classes.begin(), classes.end());
        std::sort(sorted.begin(), sorted.end());
        for (int c : sorted) {
            if (!count.contains(c))
                order.append(c);
            count[c] += even ? 2 : 1;
        }
    }
    int best = 0;
    for (int c : order) {
        if (count.value(c) > count.value(best))
            best = c;
    }
    return best;
}

RhymePlan PlanRhymes(const QList<Verse> &verses, const QList<QList<T>> &tones,
                     const ReadingLookup &lookup, const QString &system)
{
    RhymePlan plan;
    int level = 0;
    int oblique = 0;
    for (qsizetype i = 1; i < verses.size(); i += 2) {
        const T end = tones.at(i).last();
        if (end == T::L)
            ++level;
        else if (end == T::O)
            ++oblique;
    }
    plan.levelRhyme = level >= oblique;
    const bool pingshui = system == kPingshui;
    // Oblique rhymes are held together by section, as ci holds them.
    plan.sections = pingshui && !plan.levelRhyme;
    plan.main = MainClass(verses, tones, lookup, plan.levelRhyme ? T::L : T::O, pingshui,
                          plan.sections);
    return plan;
}

// The neighbouring groups a first line may borrow from.
bool Neighbour(const QSet<int> &groups, int main)
{
    quint32 mask = 0;
    for (int g : groups)
        mask |= SectionMask(g);
    return (mask & SectionMask(main)) != 0;
}

bool FirstLineRhymes(const QList<Verse> &verses, const QList<QList<T>> &tones,
                     const ReadingLookup &lookup, const QString &system, const RhymePlan &plan)
{
    const T want = plan.levelRhyme ? T::L : T::O;
    const T end = tones.first().last();
    if (end != want && end != T::B)
        return false;
    const CharReadings r = lookup(verses.first().chars.last());
    if (plan.main == 0 || r.readings.isEmpty())
        return end == want;
    const bool pingshui = system == kPingshui;
    const QSet<int> classes = RhymeClasses(r, want, pingshui, plan.sections);
    if (classes.contains(plan.main))
        return true;
    return pingshui && !plan.sections && Neighbour(classes, plan.main);
}


namespace {

// A poem reads as regulated verse when this share of its tone relations
// (the even positions alternating, the couplets opposed and joined, the
// line ends) holds.
constexpr double kRegulatedShare = 0.8;
// The share a poem whose rhymes go over to a neighbouring group must keep.
constexpr double kStrictShare = 0.9;

bool RegulatedShape(const QList<Verse> &verses)
{
    const qsizetype n = verses.size();
    if (n != 4 && n != 8 && !(n >= 10 && n % 2 == 0))
        return false;
    const qsizetype len = verses.first().chars.size();
    if (len != 5 && len != 7)
        return false;
    return std::all_of(verses.begin(), verses.end(),
                       [len](const Verse &v) { return v.chars.size() == len; });
}

QString Name(qsizetype lines, qsizetype len)
{
    const QString size = len == 5 ? QStringLiteral("五") : QStringLiteral("七");
    if (lines == 4)
        return size + QStringLiteral("绝");
    if (lines == 8)
        return size + QStringLiteral("律");
    return size + QStringLiteral("言排律");
}

QString At(int v, int k) { return QStringLiteral("第%1句第%2字").arg(v + 1).arg(k + 1); }

}  // namespace

RegulatedPoem::RegulatedPoem(const QList<Verse> &verses_, const ReadingLookup &lookup_,
                             const QString &system_, const RegulatedForm &form_,
                             QList<Finding> &out_, Needs &needs_)
    : verses(verses_), lookup(lookup_), system(system_), pingshui(system_ == kPingshui),
      form(form_), tones(Tones(verses_)), n(int(verses_.size())),
      len(verses_.isEmpty() ? 0 : int(verses_.first().chars.size())), off(len - 5),
      rhymeTone(form_.levelRhyme ? T::L : T::O), out(out_), needs(needs_),
      axis(n, T::U), handled(size_t(n), std::vector<bool>(size_t(std::max(len, 0)), false)),
      rescueNext(size_t(n), false)
{
    for (auto &h : handled) {
        if (!h.empty())
            h.back() = true;   // the line end has rules of its own
    }
}

void RegulatedPoem::Add(int v, int k, FindingKind kind, bool fault, const QString &message)
{
    out.append(Make(verses, v, k, kind, fault, message));
}

void RuleTies(RegulatedPoem &p)
{
    for (int i = 0; i < p.n; ++i) {
        T expected;
        if (i == 0)
            expected = p.form.levelStart ? T::L : T::O;
        else
            expected = i % 2 == 1 ? Opposite(p.axis.at(i - 1)) : p.axis.at(i - 1);
        const T vote = Axis(p.tones.at(i), p.rhymeTone);
        p.axis[i] = vote == T::U ? expected : vote;
        if (i == 0 || vote == T::U || vote == expected)
            continue;
        if (i % 2 == 1)
            p.Add(i, -1, FindingKind::Unopposed, true,
                  QStringLiteral("第%1句与第%2句失对：出句与对句第二字平仄应相反").arg(i + 1).arg(i));
        else
            p.Add(i, -1, FindingKind::Unjoined, true,
                  QStringLiteral("第%1句与第%2句失粘：两联相接处第二字平仄应相同").arg(i + 1).arg(i));
    }
}

void RuleLineEnds(RegulatedPoem &p)
{
    const int last = p.len - 1;
    for (int i = 0; i < p.n; ++i) {
        if (p.RhymeLine(i))
            continue;
        const T end = p.EndTone(i);
        const T has = p.tones.at(i).at(last);
        p.needs.Set(i, last, end == T::L ? Need::Level : Need::Oblique,
                    QStringLiteral("不入韵的句子以%1声收尾").arg(ToneWord(end)));
        if (!Firm(has) || has == end)
            continue;
        const char32_t c = p.verses.at(i).chars.at(last);
        if (i == 0)
            p.Add(i, last, FindingKind::OffPattern, true,
                  QStringLiteral("第1句以%1声%2收尾却不押韵：首句入韵须与韵脚同韵（或邻韵），"
                                 "不入韵须用%3声")
                      .arg(ToneWord(has), Quote(c), ToneWord(end)));
        else
            p.Add(i, last, FindingKind::OffPattern, true,
                  At(i, last) + Quote(c)
                      + QStringLiteral("为%1声，不入韵的句子应以%2声收尾").arg(ToneWord(has), ToneWord(end)));
    }
}

namespace {

// 仄仄平平仄: an oblique fourth is rescued by a level third in the next line.
void ObliqueStartObliqueEnd(RegulatedPoem &p, int i)
{
    const int off = p.off;
    if (p.tones.at(i).at(off + 3) != T::O)
        return;
    p.handled[size_t(i)][size_t(off + 3)] = true;
    const bool partner = i % 2 == 0 && i + 1 < p.n;
    const T next = partner ? p.tones.at(i + 1).at(off + 2) : T::U;
    if (next == T::L || next == T::B) {
        p.rescueNext[size_t(i)] = true;
        p.Add(i + 1, off + 2, FindingKind::PartnerRescue, false,
              QStringLiteral("第%1句第%2字拗（应平用仄），对句第%3字用平声相救")
                  .arg(i + 1).arg(off + 4).arg(off + 3));
    } else {
        p.Add(i, off + 3, FindingKind::Awkward, true,
              QStringLiteral("第%1句第%2字拗（应平用仄），对句第%3字未用平声相救")
                  .arg(i + 1).arg(off + 4).arg(off + 3));
    }
}

// 孤平: a line of the pattern 平平仄仄平 whose core, its rhyme aside, keeps
// a single level syllable (a syllable with both readings may be read level).
bool Lonely(const QList<T> &t, int off)
{
    int level = 0;
    for (int k = off; k < off + 4; ++k) {
        if (t.at(k) == T::U)
            return false;
        level += t.at(k) == T::O ? 0 : 1;
    }
    return level == 1;
}

// 平平仄仄平: the first level syllable may go only when the third is level.
void LevelStartLevelEnd(RegulatedPoem &p, int i)
{
    const int off = p.off;
    const QList<T> &t = p.tones.at(i);
    const T c0 = t.at(off), c2 = t.at(off + 2);
    const bool rescue = i > 0 && p.rescueNext.at(size_t(i - 1));
    if (Lonely(t, off)) {
        // One fault, told once: the even positions of the core go with it.
        p.Add(i, -1, FindingKind::LonelyLevel, true,
              QStringLiteral("第%1句犯孤平：除韵脚外只有一个平声字").arg(i + 1));
        for (int k = off; k < off + 4; ++k)
            p.handled[size_t(i)][size_t(k)] = true;
    } else if (c0 == T::O && c2 == T::L) {
        p.Add(i, off + 2, FindingKind::SelfRescue, false,
              QStringLiteral("第%1句第%2字用仄，第%3字改用平声，本句自救，免犯孤平")
                  .arg(i + 1).arg(off + 1).arg(off + 3));
    }
    if (c2 == T::O || c2 == T::U)
        p.needs.Set(i, off, Need::Level, QStringLiteral("以免孤平"));
    else if (c0 != T::L)
        p.needs.Set(i, off, Need::Free);
    if (rescue)
        p.needs.Set(i, off + 2, Need::Level, QStringLiteral("以救出句之拗"));
    else if (c0 == T::O)
        p.needs.Set(i, off + 2, Need::Level, QStringLiteral("以免孤平"));
    else
        p.needs.Set(i, off + 2, Need::Free);
}

// 平平平仄仄, or its special form 平平仄平仄 with a level first.
void LevelStartObliqueEnd(RegulatedPoem &p, int i)
{
    const int off = p.off;
    const QList<T> &t = p.tones.at(i);
    const T c0 = t.at(off), c2 = t.at(off + 2), c3 = t.at(off + 3), c4 = t.at(off + 4);
    if (c3 == T::L && (c2 == T::O || c2 == T::B)) {
        p.handled[size_t(i)][size_t(off + 3)] = true;
        p.needs.Set(i, off + 3, Need::Level, QStringLiteral("合特殊格式"));
        p.needs.Set(i, off + 2, Need::Oblique, QStringLiteral("合特殊格式"));
        p.needs.Set(i, off, Need::Level, QStringLiteral("合特殊格式"));
        const QString shape = off ? QStringLiteral("仄仄平平仄平仄") : QStringLiteral("平平仄平仄");
        if (c0 == T::O)
            p.Add(i, off, FindingKind::Awkward, true,
                  QStringLiteral("第%1句用「%2」特殊格式，第%3字须用平声").arg(i + 1).arg(shape).arg(off + 1));
        else
            p.Add(i, -1, FindingKind::SpecialForm, false,
                  QStringLiteral("第%1句用「%2」特殊格式（第%3、%4字平仄互换），合律")
                      .arg(i + 1).arg(shape).arg(off + 3).arg(off + 4));
    } else if (c2 == T::O && c3 == T::O && c4 == T::O) {
        p.Add(i, -1, FindingKind::ThreeObliqueEnd, false,
              QStringLiteral("第%1句末三字皆仄（三仄尾），可用而不宜多").arg(i + 1));
    }
}

// 仄仄仄平平: a level third would end the line in three level tones.
void ObliqueStartLevelEnd(RegulatedPoem &p, int i)
{
    const int off = p.off;
    const QList<T> &t = p.tones.at(i);
    p.needs.Set(i, off + 2, Need::Oblique, QStringLiteral("以免三平尾"));
    if (t.at(off + 2) == T::L && t.at(off + 3) == T::L && t.at(off + 4) == T::L) {
        p.handled[size_t(i)][size_t(off + 2)] = true;
        p.Add(i, -1, FindingKind::ThreeLevelEnd, true, QStringLiteral("第%1句末三字皆平，犯三平尾").arg(i + 1));
    }
}

}  // namespace

void RuleCorePattern(RegulatedPoem &p)
{
    // The patterns and their rescues are those of level rhymes.
    if (p.rhymeTone != T::L)
        return;
    for (int i = 0; i < p.n; ++i) {
        // The core pattern from the tone of its second position and its end.
        const T core2 = p.off ? Opposite(p.axis.at(i)) : p.axis.at(i);
        const T end = p.EndTone(i);
        if (core2 == T::O && end == T::O)
            ObliqueStartObliqueEnd(p, i);
        else if (core2 == T::L && end == T::L)
            LevelStartLevelEnd(p, i);
        else if (core2 == T::L && end == T::O)
            LevelStartObliqueEnd(p, i);
        else
            ObliqueStartLevelEnd(p, i);
    }
}

void RuleEvenPositions(RegulatedPoem &p)
{
    for (int i = 0; i < p.n; ++i) {
        const QList<T> &t = p.tones.at(i);
        // 二四六分明.
        for (int k = 1; k < p.len - 1; k += 2) {
            const T want = SameAsSecond(k) ? p.axis.at(i) : Opposite(p.axis.at(i));
            if (want == T::U)
                continue;
            if (p.needs.need[i][k] == Need::None)
                p.needs.Set(i, k, want == T::L ? Need::Level : Need::Oblique);
            if (!p.handled[size_t(i)][size_t(k)] && Firm(t.at(k)) && t.at(k) != want)
                p.Add(i, k, FindingKind::OffPattern, true,
                      At(i, k) + Quote(p.verses.at(i).chars.at(k))
                          + QStringLiteral("为%1声，此处应%2").arg(ToneWord(t.at(k)), ToneWord(want)));
        }
        for (int k = 0; k < p.len - 1; ++k) {
            if (p.needs.need[i][k] == Need::None)
                p.needs.Set(i, k, Need::Free);
        }
    }
}

void RuleRhymes(RegulatedPoem &p)
{
    const RhymePlan plan = PlanRhymes(p.verses, p.tones, p.lookup, p.system);
    const T want = plan.levelRhyme ? T::L : T::O;
    const int last = p.len - 1;
    const QString mainName = plan.main ? ClassName(plan.main, plan.sections, p.system) : QString();
    if (!plan.levelRhyme) {
        for (int i = 1; i < p.n; i += 2) {
            if (p.tones.at(i).last() == T::O) {
                p.Add(i, last, FindingKind::ObliqueRhyme, true,
                      QStringLiteral("近体诗押平声韵，此诗韵脚") + Quote(p.verses.at(i).chars.last())
                          + QStringLiteral("等为仄声"));
                break;
            }
        }
    }
    QHash<char32_t, int> used;
    for (int i = 0; i < p.n; ++i) {
        if (!p.RhymeLine(i))
            continue;
        const char32_t c = p.verses.at(i).chars.last();
        p.needs.Set(i, last, want == T::L ? Need::Level : Need::Oblique);
        p.needs.rhyme[i][last] = true;
        if (!plan.sections && plan.main)
            p.needs.rhymeGroup[i] = RhymeGroupName(p.system, QString::number(plan.main));
        if (used.contains(c))
            p.Add(i, last, FindingKind::RepeatedRhyme, true,
                  QStringLiteral("韵脚%1已在第%2句用过，重韵").arg(Quote(c)).arg(used.value(c) + 1));
        else
            used.insert(c, i);
        const CharReadings r = p.lookup(c);
        if (r.readings.isEmpty() || plan.main == 0)
            continue;
        const QSet<int> classes = RhymeClasses(r, want, p.pingshui, plan.sections);
        if (classes.contains(plan.main))
            continue;
        if (classes.isEmpty()) {
            if (plan.levelRhyme && i > 0)
                p.Add(i, last, FindingKind::OutOfRhyme, true,
                      QStringLiteral("韵脚%1为%2声，不押本诗的%3").arg(Quote(c), ToneWord(Opposite(want)), mainName));
            continue;
        }
        const QString names = GroupNames(r, want) + QStringLiteral("韵");
        // The first line may borrow from a neighbouring group.
        const bool neighbour = p.pingshui && !plan.sections && Neighbour(classes, plan.main);
        if (i == 0 && neighbour)
            p.Add(i, last, FindingKind::NeighbourRhyme, false,
                  QStringLiteral("首句韵脚%1属%2，借用邻韵，与全诗%3相近，首句可借").arg(Quote(c), names, mainName));
        else
            p.Add(i, last, FindingKind::OutOfRhyme, true,
                  QStringLiteral("韵脚%1属%2，不在全诗所押的%3，出韵").arg(Quote(c), names, mainName));
    }
}

void JudgeRegulated(const QList<Verse> &verses, const ReadingLookup &lookup,
                    const QString &system, const RegulatedForm &form, QList<Finding> &out,
                    Needs &needs)
{
    RegulatedPoem p(verses, lookup, system, form, out, needs);
    RuleTies(p);
    RuleLineEnds(p);
    RuleCorePattern(p);
    RuleEvenPositions(p);
    RuleRhymes(p);
}

}  // namespace diag

namespace diag {

namespace {

// Regulated verse rhymes in the level tone on every even line. Rhymes that
// are oblique, or that go over to the oblique tone (two even lines, or the
// one of a quatrain), make a 古体 poem or a ci of that shape.
bool LevelRhymes(const QList<QList<T>> &t)
{
    int level = 0;
    int oblique = 0;
    for (qsizetype i = 1; i < t.size(); i += 2) {
        const T end = t.at(i).last();
        if (end == T::L)
            ++level;
        else if (end == T::O)
            ++oblique;
    }
    return oblique == 0 || (oblique == 1 && t.size() > 4 && level > oblique);
}

// The classes two or more rhymes in a row share, counted from the start of
// the list: rhymes given as the neighbouring classes each stands in, empty
// for a rhyme in the main class.
bool SharedRunFromStart(const QList<QSet<int>> &rhymes)
{
    QSet<int> shared;
    int run = 0;
    for (const QSet<int> &classes : rhymes) {
        if (classes.isEmpty())
            break;
        shared = run == 0 ? classes : shared & classes;
        if (shared.isEmpty())
            break;
        ++run;
    }
    return run >= 2;
}

// A poem changes its rhyme (换韵) when two or more of its even-line rhymes
// share a group that is neither the main one nor a neighbour of it. A
// neighbouring group may stand in for the main one here and there (出韵);
// rhymes that go over to it for good, or start in it, two rhymes or more
// (来 台 then 西 啼), are a change to a neighbouring group: 古体 poems rhyme
// so freely, a 律诗 only as a fault (邵雍's 插花吟 ends in 菲 归 after 卮 枝
// 时), and the tones tell which.
enum class RhymeChange : quint8 { None, ToNeighbour, Other };

RhymeChange ChangesRhyme(const QList<Verse> &verses, const QList<QList<T>> &t, const ReadingLookup &lookup,
                         const QString &system, const RhymePlan &plan)
{
    if (plan.main == 0)
        return RhymeChange::None;
    const bool pingshui = system == kPingshui;
    QHash<int, int> outside;
    QList<QSet<int>> neighbours;   // per even line: the neighbouring classes its rhyme stands in
    for (qsizetype i = 1; i < verses.size(); i += 2) {
        neighbours.append(QSet<int>());
        if (t.at(i).last() != T::L && t.at(i).last() != T::B)
            continue;
        const QSet<int> classes =
            RhymeClasses(lookup(verses.at(i).chars.last()), T::L, pingshui, plan.sections);
        if (classes.isEmpty() || classes.contains(plan.main))
            continue;
        if (pingshui && !plan.sections && Neighbour(classes, plan.main)) {
            neighbours.last() = classes;
            continue;
        }
        for (int c : classes) {
            if (++outside[c] >= 2)
                return RhymeChange::Other;
        }
    }
    QList<QSet<int>> fromEnd(neighbours.rbegin(), neighbours.rend());
    return SharedRunFromStart(neighbours) || SharedRunFromStart(fromEnd) ? RhymeChange::ToNeighbour
                                                                         : RhymeChange::None;
}

// Whether enough of the tone relations hold: the even positions of a line
// alternating, the lines of a couplet opposed, the couplets joined (粘), the
// line ends in their tones.
bool ToneRelationsHold(const QList<QList<T>> &t, T rhymeTone, double share = kRegulatedShare)
{
    int items = 0;
    int holds = 0;
    const auto count = [&](bool ok) {
        ++items;
        holds += ok ? 1 : 0;
    };
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QList<T> &ti = t.at(i);
        const qsizetype len = ti.size();
        for (qsizetype k = 1; k + 2 < len - 1; k += 2) {
            if (Firm(ti.at(k)) && Firm(ti.at(k + 2)))
                count(ti.at(k) != ti.at(k + 2));
        }
        if (i > 0 && Firm(ti.at(1)) && Firm(t.at(i - 1).at(1)))
            count(i % 2 == 1 ? ti.at(1) != t.at(i - 1).at(1) : ti.at(1) == t.at(i - 1).at(1));
        if (i > 0 && Firm(ti.last()))
            count(i % 2 == 1 ? ti.last() == rhymeTone : ti.last() != rhymeTone);
    }
    return items > 0 && holds >= share * items;
}

// 平起 or 仄起 by the first line; failing that, by what the other lines imply.
bool LevelStart(const QList<QList<T>> &t, T rhymeTone)
{
    T start = Axis(t.first(), rhymeTone);
    if (start != T::U)
        return start == T::L;
    int votes = 0;
    for (qsizetype i = 1; i < t.size(); ++i) {
        const T a = Axis(t.at(i), rhymeTone);
        if (a == T::U)
            continue;
        const T implied = (i % 4 == 0 || i % 4 == 3) ? a : Opposite(a);
        votes += implied == T::L ? 1 : -1;
    }
    return votes >= 0;
}

}  // namespace

}  // namespace diag

std::optional<RegulatedForm> DetectRegulated(const QList<Verse> &verses,
                                             const ReadingLookup &lookup, const QString &system)
{
    using namespace diag;
    if (!RegulatedShape(verses))
        return std::nullopt;
    const QList<QList<T>> t = Tones(verses);
    if (!LevelRhymes(t) || !ToneRelationsHold(t, T::L))
        return std::nullopt;
    const RhymePlan plan = PlanRhymes(verses, t, lookup, system);
    const RhymeChange change = ChangesRhyme(verses, t, lookup, system, plan);
    if (change == RhymeChange::Other
        || (change == RhymeChange::ToNeighbour && !ToneRelationsHold(t, T::L, kStrictShare)))
        return std::nullopt;

    RegulatedForm form;
    form.name = Name(verses.size(), verses.first().chars.size());
    form.levelRhyme = true;
    form.levelStart = LevelStart(t, T::L);
    form.firstLineRhymes = FirstLineRhymes(verses, t, lookup, system, plan);
    if (plan.main)
        form.rhymeGroup = plan.sections ? SectionName(plan.main)
                                        : RhymeGroupName(system, QString::number(plan.main));
    return form;
}

}  // namespace versilo
