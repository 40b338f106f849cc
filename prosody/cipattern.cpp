// SPDX-License-Identifier: GPL-3.0-or-later
// Ci against a tune: the line lengths (and the nearest split where they
// differ) and the rhyme positions the pattern marks. The ranking of tunes
// lives in tuneranking.cpp.
#include "rules.h"

#include <algorithm>
#include <limits>

namespace versilo {

namespace diag {

// The pattern lines of a pattern box: one line per text line that holds a
// pattern symbol. △ ▲ are rhymes; so is a symbol followed by a bracketed
// marker naming 韵.
QList<PatternLine> ParsePattern(const QString &display)
{
    QList<PatternLine> lines;
    for (const QString &text : SplitLines(display + kCrLf)) {
        PatternLine line;
        for (qsizetype i = 0; i < text.size(); ++i) {
            const QChar c = text.at(i);
            if (c == u'(' || c == u'（') {
                qsizetype j = i + 1;
                while (j < text.size() && text.at(j) != u')' && text.at(j) != u'）')
                    ++j;
                const QString marker = text.mid(i + 1, j - i - 1);
                i = j;
                if (line.isEmpty() || !marker.contains(u'韵'))
                    continue;
                Symbol &last = line.last();
                last.rhyme = true;
                if (marker.contains(QStringLiteral("换平"))) {
                    last.change = true;
                    last.rhymeTone = T::L;
                } else if (marker.contains(QStringLiteral("换仄"))) {
                    last.change = true;
                    last.rhymeTone = T::O;
                } else if (last.rhymeTone == T::U) {
                    last.rhymeTone = last.need == Need::Level     ? T::L
                                     : last.need == Need::Oblique ? T::O
                                                                  : T::U;
                }
                continue;
            }
            Symbol s;
            switch (c.unicode()) {
            case u'○': s.need = Need::Level; break;
            case u'●': s.need = Need::Oblique; break;
            case u'△': s.need = Need::Level; s.rhyme = true; s.rhymeTone = T::L; break;
            case u'▲': s.need = Need::Oblique; s.rhyme = true; s.rhymeTone = T::O; break;
            case u'◎': case u'⊙': s.need = Need::Free; break;
            default: continue;
            }
            line.append(s);
        }
        if (!line.isEmpty())
            lines.append(line);
    }
    return lines;
}

namespace {

constexpr int kMaxBlock = 3;

int Sum(const QList<int> &v, int from, int n)
{
    int s = 0;
    for (int i = from; i < from + n; ++i)
        s += v.at(i);
    return s;
}

}  // namespace

// Aligns verse lengths with pattern lengths. A line of the right length
// costs nothing, one of another length its difference and one, a line too
// many or missing its length and one. A run of a lines against b pattern
// lines with the same total but other breaks costs a + b - 1, so that the
// smallest such run is taken.
Alignment Align(const QList<int> &p, const QList<int> &q, int bound)
{
    const int n = int(p.size());
    const int m = int(q.size());
    constexpr int kInf = std::numeric_limits<int>::max() / 4;
    QList<int> cost((n + 1) * (m + 1), kInf);
    QList<Block> from((n + 1) * (m + 1));
    const auto at = [m](int i, int j) { return i * (m + 1) + j; };
    cost[0] = 0;
    // The cheapest cells of the last rows: a path never skips more than
    // kMaxBlock - 1 rows, and its cost never falls.
    QList<int> rowBests;
    for (int i = 0; i <= n; ++i) {
        int rowBest = kInf;
        for (int j = 0; j <= m; ++j) {
            const int here = cost.at(at(i, j));
            rowBest = std::min(rowBest, here);
            if (here >= kInf)
                continue;
            // Of two equally cheap ways, the one ending in pattern lines
            // the poem lacks wins: a poem that stops short is missing its
            // last lines, not its first.
            const auto relax = [&](int a, int b, int c) {
                if (i + a > n || j + b > m)
                    return;
                const int k = at(i + a, j + b);
                if (here + c < cost.at(k) || (here + c == cost.at(k) && a == 0 && from.at(k).verses != 0)) {
                    cost[k] = here + c;
                    from[k] = Block{i, a, j, b};
                }
            };
            if (i < n)
                relax(1, 0, p.at(i) + 1);
            if (j < m)
                relax(0, 1, q.at(j) + 1);
            if (i < n && j < m)
                relax(1, 1, p.at(i) == q.at(j) ? 0 : std::abs(p.at(i) - q.at(j)) + 1);
            for (int a = 1; a <= kMaxBlock && i + a <= n; ++a) {
                const int sp = Sum(p, i, a);
                for (int b = 1; b <= kMaxBlock && j + b <= m; ++b) {
                    if ((a > 1 || b > 1) && Sum(q, j, b) == sp)
                        relax(a, b, a + b - 1);
                }
            }
        }
        // When the cheapest cells of kMaxBlock rows in a row are already too
        // dear, no alignment can be cheap enough.
        rowBests.append(rowBest);
        if (rowBests.size() >= kMaxBlock
            && std::all_of(rowBests.end() - kMaxBlock, rowBests.end(), [bound](int c) { return c > bound; }))
            return Alignment{kInf, {}};
    }
    Alignment out;
    out.cost = cost.at(at(n, m));
    for (int i = n, j = m; i > 0 || j > 0;) {
        const Block b = from.at(at(i, j));
        out.blocks.prepend(b);
        i = b.v0;
        j = b.p0;
    }
    return out;
}

QList<int> VerseLengths(const QList<Verse> &verses)
{
    QList<int> lengths;
    for (const Verse &v : verses)
        lengths.append(int(v.chars.size()));
    return lengths;
}

QList<int> PatternLengths(const QList<PatternLine> &lines)
{
    QList<int> lengths;
    for (const PatternLine &l : lines)
        lengths.append(int(l.size()));
    return lengths;
}

namespace {

QString Numbers(const QList<int> &lengths, int from, int n)
{
    QStringList parts;
    for (int i = from; i < from + n; ++i)
        parts.append(QString::number(lengths.at(i)));
    return parts.join(u'、');
}

QString VerseRange(int v0, int n)
{
    if (n == 1)
        return QStringLiteral("第%1句").arg(v0 + 1);
    if (n == 2)
        return QStringLiteral("第%1、%2句").arg(v0 + 1).arg(v0 + 2);
    return QStringLiteral("第%1至%2句").arg(v0 + 1).arg(v0 + n);
}

// The classes a ci rhyme is held by. Under 平水韵 these are the 词林正韵
// sections, with the entering sections 17 to 19 as one (Song poets rhyme
// them together), and the labial 尤-group characters that 词林正韵 puts in
// the fourth section as well. A rhyme without a reading in the section's
// tone is held by its other readings.
QSet<int> CiClasses(char32_t c, const CharReadings &r, T tone, bool pingshui)
{
    QSet<int> classes = RhymeClasses(r, tone, pingshui, pingshui);
    if (classes.isEmpty())
        classes = RhymeClasses(r, T::U, pingshui, pingshui);
    if (!pingshui)
        return classes;
    static const QString kFourthToo = QStringLiteral("否妇负阜母亩某剖富副浮谋矛牟眸茂贸戊");
    if (classes.contains(12) && kFourthToo.contains(Str(c)))
        classes.insert(4);
    if (classes.remove(18) | classes.remove(19))
        classes.insert(17);
    return classes;
}

// A place a rhyme of the pattern fell on.
struct RhymeAt {
    int verse = 0;
    int k = 0;
    Symbol symbol;
};

}  // namespace

CiPoem::CiPoem(const QList<Verse> &verses_, const QList<PatternLine> &lines_,
               const ReadingLookup &lookup_, const QString &system_, QList<Finding> &out_,
               Needs &needs_)
    : verses(verses_), lines(lines_), lookup(lookup_), system(system_), p(VerseLengths(verses_)),
      q(PatternLengths(lines_)), out(out_), needs(needs_)
{
    for (const Verse &v : verses) {
        symbolOf.append(QList<const Symbol *>(v.chars.size(), nullptr));
        exact.append(false);
    }
}

void CiPoem::Add(int v, int k, FindingKind kind, bool fault, const QString &message)
{
    out.append(Make(verses, v, k, kind, fault, message));
}

namespace {

void ExtraLine(CiPoem &c, const Block &b)
{
    c.Add(b.v0, -1, FindingKind::ExtraLine, true,
          QStringLiteral("第%1句（%2字）在词谱中没有对应的句子").arg(b.v0 + 1).arg(c.p.at(b.v0)));
}

void MissingLines(CiPoem &c, const Block &b)
{
    if (c.verses.isEmpty())
        return;
    const bool before = b.v0 == 0;
    const int v = before ? 0 : b.v0 - 1;
    c.Add(v, -1, FindingKind::MissingLine, true,
          QStringLiteral("词谱在第%1句%2还有%3句（%4字）")
              .arg(v + 1)
              .arg(before ? QStringLiteral("之前") : QStringLiteral("之后"))
              .arg(b.lines)
              .arg(Numbers(c.q, b.p0, b.lines)));
}

// One verse line against one pattern line: position by position from the
// start; the ends meet each other.
void OneLine(CiPoem &c, const Block &b)
{
    const int v = b.v0;
    const PatternLine &line = c.lines.at(b.p0);
    const int pv = c.p.at(v);
    const int pl = int(line.size());
    c.exact[v] = pv == pl;
    if (pv != pl)
        c.Add(v, -1, FindingKind::LineLength, true,
              QStringLiteral("第%1句%2字，词谱此处为%3字").arg(v + 1).arg(pv).arg(pl));
    for (int k = 0; k < pv; ++k) {
        if (k == pv - 1)
            c.symbolOf[v][k] = &line.at(pl - 1);
        else if (k < pl - 1)
            c.symbolOf[v][k] = &line.at(k);
    }
}

// A run of lines with the right total but other breaks: syllable for
// symbol, in order.
void OtherBreaks(CiPoem &c, const Block &b)
{
    QList<const Symbol *> flat;
    for (int j = b.p0; j < b.p0 + b.lines; ++j) {
        for (const Symbol &s : c.lines.at(j))
            flat.append(&s);
    }
    QStringList syllables;
    for (int v = b.v0; v < b.v0 + b.verses; ++v) {
        for (char32_t ch : c.verses.at(v).chars)
            syllables.append(Str(ch));
    }
    QStringList split;
    for (int j = b.p0, at = 0; j < b.p0 + b.lines; at += c.q.at(j), ++j)
        split.append(syllables.mid(at, c.q.at(j)).join(QString()));
    int f = 0;
    for (int v = b.v0; v < b.v0 + b.verses; ++v) {
        c.exact[v] = true;
        for (qsizetype k = 0; k < c.verses.at(v).chars.size(); ++k)
            c.symbolOf[v][k] = flat.value(f++);
    }
    const QString range = VerseRange(b.v0, b.verses);
    const QString breaks = split.join(QStringLiteral("／"));
    if (b.verses == 1) {
        c.Add(b.v0, -1, FindingKind::Breaks, false,
              QStringLiteral("%1在词谱中分作%2句（%3字）：%4")
                  .arg(range).arg(b.lines).arg(Numbers(c.q, b.p0, b.lines), breaks));
        return;
    }
    for (int v = b.v0; v < b.v0 + b.verses; ++v) {
        if (b.lines == 1)
            c.Add(v, -1, FindingKind::Breaks, false,
                  QStringLiteral("%1在词谱中合为一句（%2字）").arg(range).arg(c.q.at(b.p0)));
        else
            c.Add(v, -1, FindingKind::Breaks, true,
                  QStringLiteral("%1作%2字，词谱断作%3字：%4")
                      .arg(range, Numbers(c.p, b.v0, b.verses), Numbers(c.q, b.p0, b.lines), breaks));
    }
}

// The rhymes of one section of a ci held against the class most of them keep.
void RhymeSection(CiPoem &c, const QList<RhymeAt> &section, T tone)
{
    const bool pingshui = c.system == kPingshui;
    // Each rhyme's classes in the section's tone (any tone when it has none there).
    QList<QSet<int>> classes;
    QHash<int, int> count;
    QList<int> order;
    for (const RhymeAt &r : section) {
        const char32_t ch = c.verses.at(r.verse).chars.at(r.k);
        const QSet<int> cl = CiClasses(ch, c.lookup(ch), tone, pingshui);
        classes.append(cl);
        QList<int> sorted(cl.begin(), cl.end());
        std::sort(sorted.begin(), sorted.end());
        for (int x : sorted) {
            if (!count.contains(x))
                order.append(x);
            ++count[x];
        }
    }
    int main = 0;
    for (int x : order) {
        if (count.value(x) > count.value(main))
            main = x;
    }
    if (main == 0)
        return;
    const QString mainName = pingshui && main == 17 ? QStringLiteral("第十七至十九部")
                                                    : ClassName(main, pingshui, c.system);
    for (qsizetype i = 0; i < section.size(); ++i) {
        const RhymeAt &r = section.at(i);
        if (!pingshui)
            c.needs.rhymeGroup[r.verse] = RhymeGroupName(c.system, QString::number(main));
        if (classes.at(i).isEmpty() || classes.at(i).contains(main))
            continue;
        const char32_t ch = c.verses.at(r.verse).chars.at(r.k);
        const CharReadings readings = c.lookup(ch);
        if (RhymeClasses(readings, tone, pingshui, false).isEmpty())
            c.Add(r.verse, r.k, FindingKind::OutOfRhyme, true,
                  QStringLiteral("韵脚%1为%2声，此段押%3声韵（%4）")
                      .arg(Quote(ch), ToneWord(Opposite(tone)), ToneWord(tone), mainName));
        else
            c.Add(r.verse, r.k, FindingKind::OutOfRhyme, true,
                  QStringLiteral("韵脚%1属%2韵，不在此段所押的%3")
                      .arg(Quote(ch), GroupNames(readings, tone), mainName));
    }
}

}  // namespace

void RuleCiLines(CiPoem &c)
{
    // Pattern lines missing one after another are one gap, said once.
    QList<Block> blocks;
    for (const Block &b : Align(c.p, c.q).blocks) {
        if (b.verses == 0 && !blocks.isEmpty() && blocks.last().verses == 0
            && blocks.last().p0 + blocks.last().lines == b.p0)
            blocks.last().lines += b.lines;
        else
            blocks.append(b);
    }
    for (const Block &b : blocks) {
        if (b.lines == 0)
            ExtraLine(c, b);
        else if (b.verses == 0)
            MissingLines(c, b);
        else if (b.verses == 1 && b.lines == 1)
            OneLine(c, b);
        else
            OtherBreaks(c, b);
    }
    for (int v = 0; v < int(c.verses.size()); ++v) {
        for (int k = 0; k < int(c.verses.at(v).chars.size()); ++k) {
            if (const Symbol *s = c.symbolOf.at(v).at(k)) {
                c.needs.Set(v, k, s->need);
                c.needs.rhyme[v][k] = s->rhyme;
            }
        }
    }
}

void RuleCiRhymes(CiPoem &c)
{
    // The rhymes in the order of the pattern, where a line meets it exactly.
    QList<RhymeAt> rhymes;
    for (int v = 0; v < int(c.verses.size()); ++v) {
        if (!c.exact.at(v))
            continue;
        for (int k = 0; k < int(c.verses.at(v).chars.size()); ++k) {
            const Symbol *s = c.symbolOf.at(v).at(k);
            if (s && s->rhyme)
                rhymes.append(RhymeAt{v, k, *s});
        }
    }
    // Rhyme sections: a new one starts where the pattern changes the rhyme
    // or its tone.
    QList<QList<RhymeAt>> sections;
    QList<T> sectionTone;
    for (const RhymeAt &r : rhymes) {
        const T tone = r.symbol.rhymeTone;
        const bool fresh = sections.isEmpty() || r.symbol.change
                           || (tone != T::U && sectionTone.last() != T::U && tone != sectionTone.last());
        if (fresh) {
            sections.append(QList<RhymeAt>());
            sectionTone.append(tone);
        } else if (sectionTone.last() == T::U) {
            sectionTone.last() = tone;
        }
        sections.last().append(r);
    }
    for (qsizetype s = 0; s < sections.size(); ++s)
        RhymeSection(c, sections.at(s), sectionTone.at(s));
}

bool JudgeCi(const QList<Verse> &verses, const QString &pattern, const ReadingLookup &lookup,
             const QString &system, QList<Finding> &out, Needs &needs)
{
    const QList<PatternLine> lines = ParsePattern(pattern);
    if (lines.isEmpty())
        return false;
    CiPoem c(verses, lines, lookup, system, out, needs);
    RuleCiLines(c);
    RuleCiRhymes(c);
    return true;
}

}  // namespace diag

}  // namespace versilo
