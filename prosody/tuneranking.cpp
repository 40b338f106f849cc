// SPDX-License-Identifier: GPL-3.0-or-later
// Finding the tune of a ci: each tune is held in its book's pattern and in
// every form the 钦定词谱 gives it, by line lengths first and then by how
// well the tones and the tones of the rhymes agree; and the note that a ci
// departing from the loaded pattern fits another form of its tune.
#include "tuneranking.h"

#include <algorithm>

namespace versilo {

namespace diag {

namespace {

int Total(const QList<int> &v)
{
    int s = 0;
    for (int x : v)
        s += x;
    return s;
}

// The lines of a form: one per clause, or with the clauses that end in a
// pause run on into the next.
QList<PatternLine> FormLines(const TuneForm &form, bool joinPauses)
{
    QHash<int, Symbol> rhymeAt;
    for (qsizetype s = 0; s < form.rhymes.size(); ++s) {
        const QList<int> &set = form.rhymes.at(s);
        int level = 0, oblique = 0;
        for (int p : set) {
            level += form.pattern.at(p) == u'平' ? 1 : 0;
            oblique += form.pattern.at(p) == u'仄' ? 1 : 0;
        }
        const T setTone = oblique > level ? T::O : T::L;
        for (int p : set) {
            Symbol sym;
            sym.rhyme = true;
            const QChar own = form.pattern.at(p);
            sym.rhymeTone = own == u'平' ? T::L : own == u'仄' ? T::O : setTone;
            sym.need = sym.rhymeTone == T::L ? Need::Level : Need::Oblique;
            sym.change = s > 0 && p == set.first();
            sym.rhymeSet = int(s);
            rhymeAt.insert(p, sym);
        }
    }
    QList<PatternLine> lines;
    PatternLine line;
    int from = 0;
    for (qsizetype c = 0; c < form.clauseEnds.size(); ++c) {
        for (int i = from; i < form.clauseEnds.at(c); ++i) {
            if (rhymeAt.contains(i)) {
                line.append(rhymeAt.value(i));
                continue;
            }
            Symbol sym;
            const QChar t = form.pattern.at(i);
            sym.need = t == u'平' ? Need::Level : t == u'仄' ? Need::Oblique : Need::Free;
            line.append(sym);
        }
        from = form.clauseEnds.at(c);
        if (joinPauses && form.clauseMarks.at(c) == u'读' && c + 1 < form.clauseEnds.size())
            continue;
        lines.append(line);
        line.clear();
    }
    return lines;
}

}  // namespace

namespace {

// The rhyme positions of the pattern lines, each with the rhyme it belongs
// to: its set where the pattern names one, or else the rhyme running from
// one change of rhyme to the next; a rhyme that goes over to the other tone
// (▲ to △) changes too.
QHash<const Symbol *, int> RhymeOfPositions(const QList<PatternLine> &lines)
{
    QHash<const Symbol *, int> out;
    int rhyme = 0;
    const Symbol *last = nullptr;
    for (const PatternLine &line : lines) {
        for (const Symbol &s : line) {
            if (!s.rhyme)
                continue;
            if (last && (s.change || (s.rhymeTone != T::U && last->rhymeTone != T::U && s.rhymeTone != last->rhymeTone)))
                ++rhyme;
            last = &s;
            out.insert(&s, s.rhymeSet >= 0 ? -1 - s.rhymeSet : rhyme);
        }
    }
    return out;
}

// The words of each rhyme against each other: the class most of them keep,
// and how many stand outside it. A rhyme of one word, or of words whose
// sounds are unknown, says nothing.
void JudgeRhymeWords(const QHash<int, QList<quint64>> &byRhyme, FormFit &fit)
{
    for (const QList<quint64> &words : byRhyme) {
        if (words.size() < 2)
            continue;
        int most = 0;
        for (int bit = 1; bit < 64; ++bit) {
            int n = 0;
            for (quint64 w : words)
                n += (w >> bit) & 1u ? 1 : 0;
            most = std::max(most, n);
        }
        fit.offRhyme += int(words.size()) - most;
        fit.rhymeWords += int(words.size());
    }
}

// The tune names of the books write one character two ways (一翦梅, 一剪梅).
QString PlainName(QString name)
{
    return name.replace(u'翦', u'剪');
}

// The reference's forms of a tune by its name, or by its name written plainly.
QList<const TuneForm *> FormsOf(const TuneForms &forms, const QString &name)
{
    const QList<const TuneForm *> out = forms.Of(name);
    return out.isEmpty() ? forms.Of(PlainName(name)) : out;
}

// Whether two names name one tune: written alike, or names the reference
// gives one tune (山花子 and 摊破浣溪沙).
bool OneTune(const TuneForms &forms, const QString &a, const QString &b)
{
    if (PlainName(a) == PlainName(b))
        return true;
    const QList<const TuneForm *> fa = FormsOf(forms, a);
    const QList<const TuneForm *> fb = FormsOf(forms, b);
    return std::any_of(fa.begin(), fa.end(), [&fb](const TuneForm *f) { return fb.contains(f); });
}

int LowerBound(const QList<int> &p, const QList<int> &q)
{
    // Every step of an alignment costs at least the difference of the
    // numbers of lines it takes, and the totals must be made up.
    return std::max(std::abs(Total(p) - Total(q)), int(std::abs(p.size() - q.size())));
}

}  // namespace

RhymeSounds ReadRhymeSounds(const QList<Verse> &verses, const ReadingLookup &lookup, const QString &system)
{
    const bool pingshui = system == kPingshui;
    RhymeSounds out;
    QHash<char32_t, quint64> known;
    for (const Verse &v : verses) {
        QList<quint64> line;
        for (char32_t c : v.chars) {
            auto it = known.constFind(c);
            if (it == known.cend()) {
                quint64 mask = 0;
                for (int cls : RhymeClasses(lookup(c), T::U, pingshui, pingshui)) {
                    if (cls > 0 && cls < 64)
                        mask |= quint64(1) << cls;
                }
                it = known.insert(c, mask);
            }
            line.append(*it);
        }
        out.append(line);
    }
    return out;
}

std::optional<FormFit> FitLines(const QList<Verse> &verses, const QList<PatternLine> &lines, int bound,
                                AlignmentMemo *memo, const RhymeSounds *sounds)
{
    const QList<int> p = VerseLengths(verses);
    const QList<int> q = PatternLengths(lines);
    if (q.isEmpty() || LowerBound(p, q) > bound)
        return std::nullopt;
    // Many forms share their line lengths: their alignment is made once.
    Alignment a;
    const auto known = memo ? memo->constFind(q) : AlignmentMemo::const_iterator();
    if (memo && known != memo->cend() && (!known->second.blocks.isEmpty() || known->first >= bound)) {
        a = known->second;
    } else {
        a = Align(p, q, bound);
        if (memo)
            memo->insert(q, {bound, a});
    }
    if (a.blocks.isEmpty() || a.cost > bound)
        return std::nullopt;
    FormFit fit;
    fit.cost = a.cost;
    fit.lines = true;
    const QHash<const Symbol *, int> rhymeOf = sounds ? RhymeOfPositions(lines) : QHash<const Symbol *, int>();
    QHash<int, QList<quint64>> rhymeWords;   // by rhyme: the sounds of its words
    for (const Block &b : a.blocks) {
        int verseTotal = 0, lineTotal = 0;
        for (int v = b.v0; v < b.v0 + b.verses; ++v)
            verseTotal += p.at(v);
        for (int j = b.p0; j < b.p0 + b.lines; ++j)
            lineTotal += q.at(j);
        if (b.verses == 0 || b.lines == 0 || verseTotal != lineTotal) {
            fit.lines = false;
            continue;
        }
        // Syllable for symbol, in order.
        QList<const Symbol *> flat;
        for (int j = b.p0; j < b.p0 + b.lines; ++j) {
            for (const Symbol &s : lines.at(j))
                flat.append(&s);
        }
        int f = 0;
        for (int v = b.v0; v < b.v0 + b.verses; ++v) {
            const QString &marks = verses.at(v).marks;
            for (qsizetype k = 0; k < marks.size(); ++k, ++f) {
                const Symbol *s = flat.value(f);
                if (s && s->rhyme && sounds) {
                    const quint64 sound = sounds->value(v).value(k);
                    if (sound != 0)
                        rhymeWords[rhymeOf.value(s)].append(sound);
                }
                const T tone = ToneOfMark(marks.at(k));
                if (!s || !Firm(tone) || (s->need != Need::Level && s->need != Need::Oblique))
                    continue;
                const int weight = s->rhyme ? 2 : 1;
                fit.judged += weight;
                if ((s->need == Need::Level) != (tone == T::L))
                    fit.departures += weight;
            }
        }
    }
    JudgeRhymeWords(rhymeWords, fit);
    return fit;
}

std::optional<FormFit> FitForm(const QList<Verse> &verses, const TuneForm &form, int bound,
                               AlignmentMemo *memo, const RhymeSounds *sounds)
{
    // No alignment costs less than the difference of the totals.
    if (std::abs(Total(VerseLengths(verses)) - form.Size()) > bound)
        return std::nullopt;
    std::optional<FormFit> best;
    for (bool join : {false, true}) {
        if (join && !form.clauseMarks.contains(u'读'))
            break;
        const std::optional<FormFit> fit = FitLines(verses, FormLines(form, join), bound, memo, sounds);
        if (fit && (!best || fit->Score() < best->Score()))
            best = fit;
    }
    return best;
}

void NoteOtherForm(const QList<Verse> &verses, const QString &tuneName, const TuneForms *reference,
                   QList<Finding> &out, const RhymeSounds *sounds)
{
    const bool departs = std::any_of(out.begin(), out.end(), [](const Finding &f) {
        return f.fault
               && (f.kind == FindingKind::LineLength || f.kind == FindingKind::ExtraLine
                   || f.kind == FindingKind::MissingLine || f.kind == FindingKind::Breaks);
    });
    if (!departs || verses.isEmpty())
        return;
    const TuneForms &forms = reference ? *reference : TuneForms::Builtin();
    const TuneForm *chosen = nullptr;
    double best = 0;
    for (const TuneForm *form : forms.Of(tuneName)) {
        const std::optional<FormFit> fit =
            FitForm(verses, *form, std::numeric_limits<int>::max(), nullptr, sounds);
        if (fit && fit->lines && (!chosen || fit->Score() < best)) {
            chosen = form;
            best = fit->Score();
        }
    }
    if (!chosen)
        return;
    out.append(Make(verses, 0, -1, FindingKind::OtherForm, false,
                    QStringLiteral("合《钦定词谱》%1, %2 字, 例 %3")
                        .arg(chosen->Kind())
                        .arg(chosen->Size())
                        .arg(chosen->ExampleOpening())));
}

}  // namespace diag

QList<TuneMatch> RankTunes(const QList<Verse> &verses, const QList<TuneCandidate> &tunes, int count,
                           const TuneForms *reference, const ReadingLookup &lookup, const QString &system)
{
    using namespace diag;
    const std::optional<RhymeSounds> sounds =
        lookup ? std::optional<RhymeSounds>(ReadRhymeSounds(verses, lookup, system)) : std::nullopt;
    const TuneForms &forms = reference ? *reference : TuneForms::Builtin();
    const QList<int> p = VerseLengths(verses);
    const int verseTotal = Total(p);
    // Every pattern of every tune: the book's own, and each reference form
    // read clause by clause and with its pauses run on. They are held
    // against the ci cheapest first by a lower bound of their cost, and
    // once that bound passes the cut-off of the best few, no later one can
    // enter them.
    struct Pattern {
        int lower;
        qsizetype tune;
        const TuneForm *form;   // nullptr: the book's pattern
        bool join;
        QList<PatternLine> own;
    };
    std::vector<Pattern> patterns;
    for (qsizetype i = 0; i < tunes.size(); ++i) {
        QList<PatternLine> own = ParsePattern(tunes.at(i).pattern);
        if (own.isEmpty())
            continue;   // a tune without a pattern is no candidate
        const int lower = LowerBound(p, PatternLengths(own));
        patterns.push_back({lower, i, nullptr, false, std::move(own)});
        for (const TuneForm *form : FormsOf(forms, tunes.at(i).name)) {
            patterns.push_back({LowerBound(p, form->Lengths(false)), i, form, false, {}});
            if (form->clauseMarks.contains(u'读'))
                patterns.push_back({LowerBound(p, form->Lengths(true)), i, form, true, {}});
        }
    }
    std::stable_sort(patterns.begin(), patterns.end(),
                     [](const Pattern &a, const Pattern &b) { return a.lower < b.lower; });

    struct Scored {
        double score = 0;
        double fit = 0;
        int form = 0;
        bool fits = false;
    };
    QHash<qsizetype, Scored> byTune;
    AlignmentMemo memo;
    // The cut-off: the score of the last of the best `count` names. Names
    // that may name one tune count once, so that the cut-off never drops a
    // tune the list will need when it lists that tune once.
    QHash<QString, double> byName;
    const auto keyOf = [&forms](const QString &name) {
        const QList<const TuneForm *> f = FormsOf(forms, name);
        return f.isEmpty() ? PlainName(name) : f.first()->tune;
    };
    const auto cut = [&]() -> double {
        if (byName.size() < count || count <= 0)
            return std::numeric_limits<int>::max() / 4;
        QList<double> scores = byName.values();
        std::nth_element(scores.begin(), scores.begin() + (count - 1), scores.end());
        return scores.at(count - 1);
    };
    double cutoff = cut();
    for (const Pattern &pt : patterns) {
        if (pt.lower > cutoff)
            break;
        const auto known = byTune.constFind(pt.tune);
        const double mine = known != byTune.cend() ? known->score : cutoff;
        const int bound = int(std::min(cutoff, mine));
        if (pt.lower > bound)
            continue;
        const std::optional<FormFit> fit =
            FitLines(verses, pt.form ? FormLines(*pt.form, pt.join) : pt.own, bound, &memo,
                     sounds ? &*sounds : nullptr);
        if (!fit || (known != byTune.cend() && fit->Score() >= known->score))
            continue;
        const int total = pt.form ? pt.form->Size() : Total(PatternLengths(pt.own));
        const int larger = std::max(verseTotal, total);
        const double share = larger > 0 ? std::max(0.0, 1.0 - double(fit->cost) / larger) : 0.0;
        byTune.insert(pt.tune, Scored{fit->Score(), share, pt.form ? pt.form->number : 0, fit->Fits()});
        const QString name = keyOf(tunes.at(pt.tune).name);
        if (!byName.contains(name) || fit->Score() < byName.value(name))
            byName.insert(name, fit->Score());
        cutoff = cut();
    }

    // Best first; of equal scores the tune listed first.
    QList<qsizetype> order = byTune.keys();
    std::sort(order.begin(), order.end(), [&byTune](qsizetype a, qsizetype b) {
        const double sa = byTune.value(a).score, sb = byTune.value(b).score;
        return sa != sb ? sa < sb : a < b;
    });
    QList<TuneMatch> out;
    for (qsizetype i : order) {
        const TuneCandidate &t = tunes.at(i);
        // One entry a tune: its name once, and the tune once under the
        // names the two books give it.
        if (std::any_of(out.begin(), out.end(), [&](const TuneMatch &m) {
                return m.name == t.name || (m.book != t.book && OneTune(forms, m.name, t.name));
            }))
            continue;
        const Scored &s = byTune[i];
        out.append(TuneMatch{t.book, t.name, s.fit, s.form, s.fits});
        if (out.size() >= count)
            break;
    }
    return out;
}

}  // namespace versilo
