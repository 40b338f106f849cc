// SPDX-License-Identifier: GPL-3.0-or-later
#include "tuneforms.h"

#include "seedtext.h"

#include <QSet>

namespace versilo {

QString TuneForm::Kind() const
{
    return Main() ? QStringLiteral("正体") : QStringLiteral("又一体");
}

namespace {

// The tone a rhyme set keeps: the tone most of its firm positions ask for,
// level when they do not settle it.
QChar SetTone(const QString &pattern, const QList<int> &set)
{
    int level = 0, oblique = 0;
    for (int p : set) {
        level += pattern.at(p) == u'平' ? 1 : 0;
        oblique += pattern.at(p) == u'仄' ? 1 : 0;
    }
    return oblique > level ? QChar(u'仄') : QChar(u'平');
}

}  // namespace

QString TuneForm::Display() const
{
    // Each rhyme position: its symbol, and whether a new set starts there.
    QHash<int, QChar> rhymeTone;
    QSet<int> opens;
    for (qsizetype s = 0; s < rhymes.size(); ++s) {
        const QChar setTone = SetTone(pattern, rhymes.at(s));
        for (int p : rhymes.at(s)) {
            const QChar own = pattern.at(p);
            rhymeTone.insert(p, own == u'中' ? setTone : own);
        }
        if (s > 0 && !rhymes.at(s).isEmpty())
            opens.insert(rhymes.at(s).first());
    }
    QString out;
    int from = 0;
    for (int end : clauseEnds) {
        for (int i = from; i < end; ++i) {
            if (rhymeTone.contains(i)) {
                const bool level = rhymeTone.value(i) == u'平';
                out.append(level ? u'△' : u'▲');
                if (opens.contains(i))
                    out.append(level ? QStringLiteral("(换平韵)") : QStringLiteral("(换仄韵)"));
                continue;
            }
            const QChar c = pattern.at(i);
            out.append(c == u'平' ? u'○' : c == u'仄' ? u'●' : u'⊙');
        }
        out.append(QStringLiteral("\r\n"));
        from = end;
    }
    return out;
}

QList<int> TuneForm::Lengths(bool joinPauses) const
{
    QList<int> out;
    int from = 0;
    int run = 0;
    for (qsizetype c = 0; c < clauseEnds.size(); ++c) {
        run += clauseEnds.at(c) - from;
        from = clauseEnds.at(c);
        if (joinPauses && clauseMarks.at(c) == u'读' && c + 1 < clauseEnds.size())
            continue;
        out.append(run);
        run = 0;
    }
    return out;
}

QString TuneForm::ExampleOpening() const
{
    // Up to the first clause that ends a rhyme, at least one clause.
    QStringList opening;
    for (qsizetype c = 0; c < example.size() && c < clauseMarks.size(); ++c) {
        opening.append(example.at(c));
        if (clauseMarks.at(c) == u'韵')
            break;
    }
    if (opening.isEmpty() && !example.isEmpty())
        opening.append(example.first());
    const bool all = opening.size() >= example.size();
    return opening.join(u'，') + (all ? QString() : QStringLiteral("……"));
}

const TuneForms &TuneForms::Builtin()
{
    static const TuneForms table = FromText(BuiltinSeedText(QStringLiteral("钦定词谱")));
    return table;
}

namespace {

bool ParseClauses(const QString &text, TuneForm &f)
{
    int at = 0;
    for (const QChar c : text) {
        if (c == u'平' || c == u'仄' || c == u'中') {
            f.pattern.append(c);
            ++at;
        } else if (c == u'韵' || c == u'句' || c == u'读') {
            if (f.clauseEnds.isEmpty() ? at == 0 : f.clauseEnds.last() == at)
                return false;
            f.clauseEnds.append(at);
            f.clauseMarks.append(c);
        } else {
            return false;
        }
    }
    return !f.clauseEnds.isEmpty() && f.clauseEnds.last() == at;
}

bool ParseRhymes(const QString &text, TuneForm &f)
{
    if (text.isEmpty())
        return true;
    for (const QString &set : text.split(u'|')) {
        QList<int> positions;
        for (const QString &p : set.split(u',')) {
            bool ok = false;
            const int n = p.toInt(&ok);
            if (!ok || n < 1 || n > f.Size())
                return false;
            positions.append(n - 1);
        }
        f.rhymes.append(positions);
    }
    return true;
}

}  // namespace

TuneForms TuneForms::FromText(const QString &tsv)
{
    TuneForms out;
    const TsvRows table = ParseTsv(tsv);
    const auto column = [&table](const char16_t *name) { return table.Column(QString::fromUtf16(name)); };
    const qsizetype tune = column(u"词牌"), aliases = column(u"别名"), number = column(u"体"),
                    size = column(u"字数"), pattern = column(u"格律"), rhymes = column(u"韵位"),
                    example = column(u"例");
    if (tune < 0 || number < 0 || pattern < 0 || rhymes < 0)
        return out;
    QSet<QString> tunes;
    for (const QStringList &f : table.rows) {
        TuneForm form;
        form.tune = f.at(tune).trimmed();
        bool ok = false;
        form.number = f.at(number).toInt(&ok);
        if (form.tune.isEmpty() || !ok || form.number < 1)
            continue;
        if (aliases >= 0 && !f.at(aliases).isEmpty())
            form.aliases = f.at(aliases).split(u'、', Qt::SkipEmptyParts);
        if (!ParseClauses(f.at(pattern), form) || !ParseRhymes(f.at(rhymes), form))
            continue;
        if (size >= 0 && f.at(size).toInt() != form.Size())
            continue;
        if (example >= 0)
            form.example = f.at(example).split(u'/', Qt::SkipEmptyParts);
        const int index = int(out.forms_.size());
        out.forms_.append(form);
        tunes.insert(form.tune);
        QSet<QString> names{form.tune};
        for (const QString &a : form.aliases)
            names.insert(a);
        for (const QString &n : names)
            out.byName_[n].append(index);
    }
    out.tunes_ = int(tunes.size());
    return out;
}

QList<const TuneForm *> TuneForms::Of(const QString &name) const
{
    QList<const TuneForm *> out;
    const QList<int> indexes = byName_.value(name);
    // A name that is a tune's own name stands for that tune only, not for
    // the tunes that also carry it as an alias.
    bool own = false;
    for (int i : indexes)
        own = own || forms_.at(i).tune == name;
    for (int i : indexes) {
        if (!own || forms_.at(i).tune == name)
            out.append(&forms_.at(i));
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const TuneForm *a, const TuneForm *b) { return a->number < b->number; });
    return out;
}

const TuneForm *TuneForms::Find(const QString &name, int number) const
{
    for (const TuneForm *f : Of(name)) {
        if (f->number == number)
            return f;
    }
    return nullptr;
}

}  // namespace versilo
