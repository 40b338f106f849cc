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

std::optional<FormFit> FitLines(const QList<Verse> &verses, const QList<PatternLine> &lines, int bound)
{
    const QList<int> p = VerseLengths(verses);
    const QList<int> q = PatternLengths(lines);
    if (q.isEmpty() || std::abs(Total(p) - Total(q)) > bound)
        return std::nullopt;
    const Alignment a = Align(p, q, bound);
    if (a.blocks.isEmpty())
        return std::nullopt;
    FormFit fit;
    fit.cost = a.cost;
    fit.lines = true;
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
    return fit;
}

std::optional<FormFit> FitForm(const QList<Verse> &verses, const TuneForm &form, int bound)
{
    std::optional<FormFit> best;
    for (bool join : {false, true}) {
        if (join && !form.clauseMarks.contains(u'读'))
            break;
        const std::optional<FormFit> fit = FitLines(verses, FormLines(form, join), bound);
        if (fit && (!best || fit->Score() < best->Score()))
            best = fit;
    }
    return best;
}

void NoteOtherForm(const QList<Verse> &verses, const QString &tuneName, const TuneForms *reference,
                   QList<Finding> &out)
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
        const std::optional<FormFit> fit = FitForm(verses, *form);
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
                           const TuneForms *reference)
{
    using namespace diag;
    const TuneForms &forms = reference ? *reference : TuneForms::Builtin();
    const int verseTotal = Total(VerseLengths(verses));
    struct Scored {
        double score;
        qsizetype index;
        double fit;
        int form;
        bool fits;
    };
    std::vector<Scored> scored;
    // Only the best few need their exact score: a pattern dearer than the
    // current cut-off is dropped as soon as its alignment shows it.
    QList<double> best;
    for (qsizetype i = 0; i < tunes.size(); ++i) {
        const QList<PatternLine> own = ParsePattern(tunes.at(i).pattern);
        if (own.isEmpty())
            continue;
        std::optional<Scored> mine;
        const auto consider = [&](const std::optional<FormFit> &fit, int total, int form) {
            if (!fit || (mine && fit->Score() >= mine->score))
                return;
            const int larger = std::max(verseTotal, total);
            const double share = larger > 0 ? std::max(0.0, 1.0 - double(fit->cost) / larger) : 0.0;
            mine = Scored{fit->Score(), i, share, form, fit->Fits()};
        };
        const auto bound = [&] {
            const double cut = best.size() < count * 4 ? double(std::numeric_limits<int>::max() / 4)
                                                       : best.last();
            return int(std::min(cut, mine ? mine->score : cut));
        };
        consider(FitLines(verses, own, bound()), Total(PatternLengths(own)), 0);
        for (const TuneForm *form : forms.Of(tunes.at(i).name))
            consider(FitForm(verses, *form, bound()), form->Size(), form->number);
        if (!mine)
            continue;
        scored.push_back(*mine);
        best.insert(std::lower_bound(best.begin(), best.end(), mine->score), mine->score);
        if (best.size() > count * 4)
            best.removeLast();
    }
    std::stable_sort(scored.begin(), scored.end(),
                     [](const Scored &a, const Scored &b) { return a.score < b.score; });
    QList<TuneMatch> out;
    for (const Scored &s : scored) {
        const TuneCandidate &t = tunes.at(s.index);
        if (std::any_of(out.begin(), out.end(), [&t](const TuneMatch &m) { return m.name == t.name; }))
            continue;
        out.append(TuneMatch{t.book, t.name, s.fit, s.form, s.fits});
        if (out.size() >= count)
            break;
    }
    return out;
}

}  // namespace versilo
