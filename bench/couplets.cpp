// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-bench-couplets [--print parallel|unparallel N] [FILE]
// versilo-bench-couplets --judge 出句 对句
// How the 对仗 judge fares on poets' 律诗. Without FILE the 律诗 of the library the build
// carries; with FILE the poems of that text file, one verse line per text
// line (or a whole couplet on one line), poems separated by blank lines, the
// ones of eight lines of five or seven syllables. Prints the share of 颔联
// and 颈联 judged parallel (poets made nearly all of them so), and of 首联
// and 尾联. --print lists N couplets judged so, drawn with a fixed seed, for
// a reader to judge by hand. A poem counts as 律诗 when the diagnostics read
// it so under 平水韵 with at most two tonal faults (失律, 失对, 失粘): an
// eight-line 古体 poem is no 律诗. --judge shows one couplet's verdicts as
// a first and as a middle couplet, with its cost and the places where the
// poets face its characters.
#include <QCoreApplication>
#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <random>

#include "couplets.h"
#include "diagnostics.h"
#include "rhymedict.h"
#include "seed.h"
#include "seedtext.h"

using namespace versilo;

namespace {

void Print(const QString &line)
{
    const QByteArray bytes = (line + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

QString Share(qint64 part, qint64 whole)
{
    return QStringLiteral("%1 / %2 = %3 %")
        .arg(part)
        .arg(whole)
        .arg(whole ? 100.0 * double(part) / double(whole) : 0.0, 0, 'f', 1);
}

// The verse lines of a poem's text, split at punctuation and line ends.
QList<Verse> Verses(const QString &text)
{
    static const QRegularExpression breaks(QStringLiteral("[，。？！；：、,.?!;:\\s]+"));
    QList<Verse> out;
    for (const QString &part : text.split(breaks, Qt::SkipEmptyParts)) {
        Verse v;
        v.line = int(out.size());
        for (char32_t c : part.toUcs4()) {
            v.positions.append(int(v.chars.size()));
            v.chars.append(c);
        }
        out.append(v);
    }
    return out;
}

bool EightLines(const QList<Verse> &v)
{
    if (v.size() != 8)
        return false;
    const qsizetype len = v.first().chars.size();
    return (len == 5 || len == 7)
           && std::all_of(v.begin(), v.end(), [len](const Verse &x) { return x.chars.size() == len; });
}

QList<QString> LibraryPoems()
{
    QList<QString> out;
    const TsvRows t = ParseTsv(BuiltinSeedText(QStringLiteral("诗词库")));
    const qsizetype body = t.header.indexOf(QStringLiteral("正文"));
    if (body < 0)
        return out;
    for (const QStringList &row : t.rows) {
        QString text = row.at(body);
        text.replace(QStringLiteral("\\r"), QString()).replace(QStringLiteral("\\n"), QStringLiteral("\n"));
        out.append(text);
    }
    return out;
}

QList<QString> FilePoems(const QString &path)
{
    QList<QString> out;
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return out;
    static const QRegularExpression blank(QStringLiteral("\\n\\s*\\n"));
    for (const QString &poem : QString::fromUtf8(f.readAll()).split(blank, Qt::SkipEmptyParts)) {
        // "# title·author" opens a poem.
        QStringList lines = poem.split(u'\n');
        if (!lines.isEmpty() && lines.first().startsWith(u'#'))
            lines.removeFirst();
        out.append(lines.join(u'\n'));
    }
    return out;
}

ReadingIndex PingshuiIndex()
{
    seed::SeedTable t;
    QString error;
    if (!seed::ReadSeedTable(QString(), kPingshui, &t, &error))
        return {};
    const auto field = [&t](const std::vector<QVariant> &row, const QString &column) {
        const qsizetype i = t.columns.indexOf(column);
        return i >= 0 && size_t(i) < row.size() ? row.at(size_t(i)) : QVariant();
    };
    RhymeDictionary dict(kPingshui);
    for (const auto &row : t.rows) {
        DictionaryRow r;
        r.hanzi = field(row, QStringLiteral("汉字")).toString();
        const QVariant group = field(row, QStringLiteral("韵调"));
        if (!group.isNull())
            r.group = group.toString();
        const QVariant tone = field(row, QStringLiteral("平仄"));
        r.toneNull = tone.isNull();
        if (!r.toneNull)
            r.tone = tone.toString();
        dict.Append(std::move(r));
    }
    return ReadingIndex(dict);
}

// Whether the diagnostics read the eight lines as a 律诗.
bool ReadAsLushi(const QList<Verse> &verses, const ReadingLookup &lookup)
{
    QStringList lines;
    for (const Verse &v : verses) {
        QString l;
        for (char32_t ch : v.chars)
            l += QString::fromUcs4(&ch, 1);
        lines.append(l);
    }
    DiagnosisInput in;
    in.poem = lines.join(QStringLiteral("\r\n"));
    in.system = kPingshui;
    const Diagnosis d = Diagnose(in, lookup);
    if (!d.regulated || !d.regulated->name.contains(u'律'))
        return false;
    int tonal = 0;
    for (const Finding &f : d.findings) {
        if (f.fault && (f.kind == FindingKind::OffPattern || f.kind == FindingKind::Unopposed
                        || f.kind == FindingKind::Unjoined))
            ++tonal;
    }
    return tonal <= 2;
}

struct Seen {
    QString poem;
    Couplet couplet;
    QString lines;
};

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    QString printWhich;
    int printCount = 0;
    if (args.size() >= 3 && args.first() == QStringLiteral("--print")) {
        printWhich = args.at(1);
        printCount = args.at(2).toInt();
        args = args.mid(3);
    }
    if (CoupletWords::Builtin().IsEmpty()) {
        Print(QStringLiteral("the word list is missing from the build"));
        return 1;
    }
    if (args.size() == 3 && args.first() == QStringLiteral("--judge")) {
        // One couplet, as the first and as a middle couplet of a poem: its
        // verdicts and what went into them.
        const QList<Verse> one = Verses(args.at(1) + u'，' + args.at(2));
        QList<Verse> poem;
        for (int i = 0; i < 4; ++i) {
            for (const Verse &v : one) {
                poem.append(v);
                poem.last().line = int(poem.size() - 1);
            }
        }
        const QList<Couplet> cs = JudgeCouplets(poem);
        if (cs.size() < 2)
            return 1;
        const Couplet &c = cs.at(1);
        Print(QStringLiteral("as 首联 %1, as 颔联 %2 cost %3, poets face %4 places, never %5: %6")
                  .arg(cs.at(0).parallel ? QStringLiteral("对仗") : QStringLiteral("不对仗"))
                  .arg(c.parallel ? (c.strict ? QStringLiteral("工对") : QStringLiteral("宽对"))
                                  : QStringLiteral("不对仗"))
                  .arg(c.cost)
                  .arg(c.faced)
                  .arg(c.unfaced)
                  .arg(DescribePairs(c)));
        return 0;
    }
    const QList<QString> poems = args.isEmpty() ? LibraryPoems() : FilePoems(args.first());

    const ReadingIndex index = PingshuiIndex();
    const ReadingLookup lookup = index.Lookup();
    qint64 shaped = 0;
    qint64 regulated = 0;
    qint64 middle = 0, middleParallel = 0, middleStrict = 0;
    qint64 first = 0, firstParallel = 0, last = 0, lastParallel = 0;
    qint64 sameSense = 0, repeated = 0;
    QList<Seen> seen;
    QMap<int, qint64> middleMisses, outerMisses, middleFaced, outerFaced;
    for (const QString &poem : poems) {
        const QList<Verse> verses = Verses(poem);
        if (!EightLines(verses))
            continue;
        ++shaped;
        if (!ReadAsLushi(verses, lookup))
            continue;
        ++regulated;
        for (const Couplet &c : JudgeCouplets(verses)) {
            if (c.mustFace) {
                ++middle;
                middleParallel += c.parallel ? 1 : 0;
                middleStrict += c.parallel && c.strict ? 1 : 0;
            } else if (c.first == 0) {
                ++first;
                firstParallel += c.parallel ? 1 : 0;
            } else {
                ++last;
                lastParallel += c.parallel ? 1 : 0;
            }
            (c.mustFace ? middleMisses : outerMisses)[std::min(c.cost, 5)] += 1;
            (c.mustFace ? middleFaced : outerFaced)[c.faced] += 1;
            if (qEnvironmentVariableIsSet("VERSILO_DUMP"))
                std::fprintf(stderr, "%d\t%d\t%d\t%d\t%d\t%d\t%d\n", c.mustFace ? 1 : 0, c.first, c.cost, c.faced,
                             c.unfaced, int(verses.at(0).chars.size()), c.parallel ? 1 : 0);
            sameSense += c.sameSense ? 1 : 0;
            repeated += (c.parallel || c.mustFace) && !c.repeated.isEmpty() ? 1 : 0;
            QString lines;
            for (char32_t ch : verses.at(c.first).chars)
                lines += QString::fromUcs4(&ch, 1);
            lines += u'，';
            for (char32_t ch : verses.at(c.first + 1).chars)
                lines += QString::fromUcs4(&ch, 1);
            seen.append({poem.section(u'\n', 0, 0).left(16), c, lines});
        }
    }

    if (!printWhich.isEmpty()) {
        const bool wantParallel = printWhich == QStringLiteral("parallel");
        QList<Seen> pick;
        for (const Seen &s : seen) {
            if (s.couplet.parallel == wantParallel)
                pick.append(s);
        }
        std::mt19937 random(21);
        std::shuffle(pick.begin(), pick.end(), random);
        for (qsizetype i = 0; i < std::min<qsizetype>(printCount, pick.size()); ++i) {
            const Seen &s = pick.at(i);
            Print(QStringLiteral("%1. %2 %3 [%4] %5")
                      .arg(i + 1)
                      .arg(s.couplet.name, s.lines,
                           s.couplet.parallel ? (s.couplet.strict ? QStringLiteral("工对") : QStringLiteral("宽对"))
                                              : QStringLiteral("不对仗"),
                           DescribePairs(s.couplet)));
        }
        return 0;
    }

    Print(QStringLiteral("poems of eight lines of five or seven: %1, read as 律诗: %2").arg(shaped).arg(regulated));
    Print(QStringLiteral("颔联 and 颈联 judged parallel: ") + Share(middleParallel, middle)
          + QStringLiteral(" (工对 throughout: ") + Share(middleStrict, middle) + u')');
    Print(QStringLiteral("首联 judged parallel: ") + Share(firstParallel, first));
    Print(QStringLiteral("尾联 judged parallel: ") + Share(lastParallel, last));
    QString hist = QStringLiteral("cost (0 1 2 3 4 5+), middle / first and last:");
    for (int m = 0; m <= 5; ++m)
        hist += QStringLiteral(" %1/%2").arg(middleMisses.value(m)).arg(outerMisses.value(m));
    Print(hist);
    hist = QStringLiteral("places the poets face (0 … 7), middle / first and last:");
    for (int m = 0; m <= 7; ++m)
        hist += QStringLiteral(" %1/%2").arg(middleFaced.value(m)).arg(outerFaced.value(m));
    Print(hist);
    Print(QStringLiteral("合掌: %1 couplets; 重字 in a facing couplet: %2").arg(sameSense).arg(repeated));
    return 0;
}
