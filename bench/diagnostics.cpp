// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-bench-diagnostics [--list KIND] [SEED_DIR]: how the diagnostics fare on the library the
// build carries (the seed compiled into the program, or the seed folder given
// as the first argument). Regulated verse: the share read as a regulated
// form, the share of rhyme words judged 出韵 and of lines judged 孤平, under
// 平水韵. Ci: the share whose tune is among the three best the line lengths
// find, and the share of their rhyme words judged 出韵 against the true tune.
#include <QCoreApplication>
#include <QFileInfo>
#include <QHash>
#include <QMap>

#include <chrono>
#include <cstdio>

#include "diagnostics.h"
#include "patternbooks.h"
#include "rhymedict.h"
#include "seed.h"

using namespace versilo;

namespace {

void Print(const QString &line)
{
    const QByteArray bytes = (line + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

QString Share(qint64 part, qint64 whole)
{
    return QStringLiteral("%1 / %2 = %3 %")
        .arg(part)
        .arg(whole)
        .arg(whole ? 100.0 * double(part) / double(whole) : 0.0, 0, 'f', 1);
}

bool Read(const QString &seedDir, const QString &table, seed::SeedTable *out)
{
    QString error;
    if (!seed::ReadSeedTable(seedDir, table, out, &error)) {
        Print("versilo-bench-diagnostics: " + error);
        return false;
    }
    return true;
}

QVariant Field(const seed::SeedTable &t, const std::vector<QVariant> &row, const QString &column)
{
    const qsizetype i = t.columns.indexOf(column);
    return i >= 0 && size_t(i) < row.size() ? row.at(size_t(i)) : QVariant();
}

struct LibraryPoem {
    QString title;
    QString text;   // CR LF between lines, as the poem box holds it
};

// A ci of the library is titled "tune·first words".
bool TitledAsCi(const LibraryPoem &p)
{
    const qsizetype dot = p.title.indexOf(u'·');
    if (dot <= 0)
        return false;
    QString head;
    for (QChar c : p.text) {
        if (QChar::script(c.unicode()) == QChar::Script_Han)
            head += c;
        if (head.size() >= p.title.size() - dot - 1)
            break;
    }
    return !head.isEmpty() && head == p.title.mid(dot + 1);
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // [--list KIND] prints every finding of that kind with its poem.
    QString seedDir;
    std::optional<FindingKind> listKind;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) == QStringLiteral("--list") && i + 1 < args.size()) {
            listKind = KindOfName(args.at(++i));
            if (!listKind) {
                Print(QStringLiteral("versilo-bench-diagnostics: no finding is called ") + args.at(i));
                return 2;
            }
        } else {
            seedDir = args.at(i);
        }
    }
    if (!seedDir.isEmpty() && !QFileInfo(seedDir).isDir()) {
        Print("versilo-bench-diagnostics: no such folder: " + seedDir);
        return 2;
    }
    const auto list = [&](const QString &title, const Diagnosis &d) {
        for (const Finding &f : d.findings) {
            if (f.kind == listKind)
                Print(QStringLiteral("    %1: %2").arg(title, f.message));
        }
    };
    const auto started = std::chrono::steady_clock::now();

    seed::SeedTable dictTable, library, common, baixiang;
    if (!Read(seedDir, kPingshui, &dictTable) || !Read(seedDir, QStringLiteral("诗词库"), &library)
        || !Read(seedDir, kCommonBook, &common) || !Read(seedDir, kBaixiangBook, &baixiang))
        return 2;

    RhymeDictionary dict(kPingshui);
    for (const auto &row : dictTable.rows) {
        DictionaryRow r;
        r.hanzi = Field(dictTable, row, QStringLiteral("汉字")).toString();
        const QVariant group = Field(dictTable, row, QStringLiteral("韵调"));
        if (!group.isNull())
            r.group = group.toString();
        const QVariant tone = Field(dictTable, row, QStringLiteral("平仄"));
        r.toneNull = tone.isNull();
        if (!r.toneNull)
            r.tone = tone.toString();
        dict.Append(std::move(r));
    }
    const ReadingIndex index(dict);
    const ReadingLookup lookup = index.Lookup();

    QList<LibraryPoem> poems;
    for (const auto &row : library.rows)
        poems.append({Field(library, row, QStringLiteral("标题")).toString(),
                      Field(library, row, QStringLiteral("正文")).toString()});
    // The ci come last: the longest tail of poems titled as ci.
    qsizetype ciStart = poems.size();
    while (ciStart > 0 && TitledAsCi(poems.at(ciStart - 1)))
        --ciStart;

    QList<TuneCandidate> tunes;
    for (const auto &[book, table] : {std::pair{kCommonBook, &common}, std::pair{kBaixiangBook, &baixiang}}) {
        for (const auto &row : table->rows)
            tunes.append({book, Field(*table, row, QStringLiteral("篇名")).toString(),
                          PatternDisplayForm(Field(*table, row, QStringLiteral("格律")).toString())});
    }
    QHash<QString, QString> patternOf;   // the first book's pattern of every tune
    for (const TuneCandidate &t : tunes) {
        if (!patternOf.contains(t.name))
            patternOf.insert(t.name, t.pattern);
    }

    Print(QStringLiteral("library: %1 poems, %2 of them ci; %3 tunes in the two books; 平水韵 %4 rows")
              .arg(poems.size()).arg(poems.size() - ciStart).arg(tunes.size()).arg(dict.Size()));

    // ---- regulated verse
    qint64 shaped = 0, detected = 0, rhymeWords = 0, outOfRhyme = 0, lines = 0, lonely = 0;
    QMap<QString, qint64> kinds;
    QMap<QString, qint64> forms;
    QStringList undetected;
    qint64 obliqueRhymes = 0;
    qint64 bothReadings = 0, byWord = 0;
    qint64 oldStyle = 0, oldStyleAsCi = 0;
    QStringList oldStyleTunes;
    for (qsizetype i = 0; i < ciStart; ++i) {
        DiagnosisInput in;
        in.poem = poems.at(i).text;
        in.system = kPingshui;
        const Diagnosis d = Diagnose(in, lookup);
        const qsizetype n = d.verses.size();
        if (d.uniformLines && !d.regulated) {
            // A shi of even lines that is no regulated verse: it should not
            // pass for a ci either.
            ++oldStyle;
            const QList<TuneMatch> best = RankTunes(d.verses, tunes, 1);
            if (!best.isEmpty() && best.first().fits) {
                ++oldStyleAsCi;
                oldStyleTunes.append(poems.at(i).title + "→" + best.first().name);
            }
        }
        if (!d.uniformLines || (n != 4 && n != 8))
            continue;
        ++shaped;
        if (!d.regulated) {
            undetected.append(poems.at(i).title);
            qint64 oblique = 0;
            for (qsizetype v = 1; v < n; v += 2)
                oblique += d.verses.at(v).marks.endsWith(u'●') ? 1 : 0;
            obliqueRhymes += 2 * oblique >= n / 2 ? 1 : 0;
            continue;
        }
        ++detected;
        list(poems.at(i).title, d);
        ++forms[d.regulated->name];
        lines += n;
        rhymeWords += n / 2 + (d.regulated->firstLineRhymes ? 1 : 0);
        for (const Finding &f : d.findings) {
            ++kinds[KindName(f.kind)];
            outOfRhyme += f.kind == FindingKind::OutOfRhyme ? 1 : 0;
            lonely += f.kind == FindingKind::LonelyLevel ? 1 : 0;
            if (f.kind == FindingKind::TwoReadings) {
                ++bothReadings;
                byWord += f.message.contains(QStringLiteral("」中读")) ? 1 : 0;
            }
        }
    }
    Print(QStringLiteral("regulated verse (4 or 8 lines of 5 or 7 characters): %1").arg(shaped));
    Print(QStringLiteral("  read as a regulated form: %1 (goal >= 95 %)").arg(Share(detected, shaped)));
    QStringList formCounts;
    for (auto it = forms.cbegin(); it != forms.cend(); ++it)
        formCounts.append(it.key() + " " + QString::number(it.value()));
    Print(QStringLiteral("  forms: ") + formCounts.join(QStringLiteral(", ")));
    Print(QStringLiteral("  not read as regulated: ") + undetected.join(QStringLiteral(" ")));
    Print(QStringLiteral("  of these rhyming oblique (古绝, 古体 or ci): %1").arg(obliqueRhymes));
    Print(QStringLiteral("  read as a regulated form among those rhyming level: %1")
              .arg(Share(detected, shaped - obliqueRhymes)));
    Print(QStringLiteral("  rhyme words judged 出韵: %1 (goal <= 1 %)").arg(Share(outOfRhyme, rhymeWords)));
    Print(QStringLiteral("  lines judged 孤平: %1").arg(Share(lonely, lines)));
    Print(QStringLiteral("shi of lines all of five or all of seven not read as regulated: %1; fitting a tune (called 词): %2 %3")
              .arg(oldStyle).arg(Share(oldStyleAsCi, oldStyle), oldStyleTunes.join(QStringLiteral(" "))));
    Print(QStringLiteral("  characters with both readings settled by their word: %1")
              .arg(Share(byWord, bothReadings)));
    QStringList kindCounts;
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        kindCounts.append(it.key() + " " + QString::number(it.value()));
    Print(QStringLiteral("  findings by kind: ") + kindCounts.join(QStringLiteral(", ")));

    // ---- ci
    qint64 ci = 0, inBooks = 0, topThree = 0, first = 0, ciRhymes = 0, ciOut = 0;
    qint64 uniformCi = 0, uniformFits = 0;   // ci of lines all of 5 or all of 7 syllables
    QStringList missed;
    for (qsizetype i = ciStart; i < poems.size(); ++i) {
        ++ci;
        const QString tune = poems.at(i).title.section(u'·', 0, 0);
        if (!patternOf.contains(tune))
            continue;
        ++inBooks;
        const QList<Verse> verses = SplitVerses(poems.at(i).text, QString(), StripSet::Full, lookup);
        const QList<TuneMatch> best = RankTunes(verses, tunes, 3);
        bool hit = false;
        for (qsizetype k = 0; k < best.size(); ++k) {
            if (best.at(k).name == tune) {
                hit = true;
                first += k == 0 ? 1 : 0;
            }
        }
        topThree += hit ? 1 : 0;
        const qsizetype len = verses.isEmpty() ? 0 : verses.first().chars.size();
        if ((len == 5 || len == 7)
            && std::all_of(verses.begin(), verses.end(), [len](const Verse &v) { return v.chars.size() == len; })) {
            ++uniformCi;
            uniformFits += !best.isEmpty() && best.first().name == tune && best.first().fits ? 1 : 0;
        }
        if (!hit)
            missed.append(poems.at(i).title + "→" + (best.isEmpty() ? QString() : best.first().name));

        DiagnosisInput in;
        in.poem = poems.at(i).text;
        in.pattern = patternOf.value(tune);
        in.tuneName = tune;
        in.system = kPingshui;
        const Diagnosis d = Diagnose(in, lookup);
        list(poems.at(i).title, d);
        for (const Finding &f : d.findings)
            ciOut += f.kind == FindingKind::OutOfRhyme ? 1 : 0;
        for (const QChar c : in.pattern)
            ciRhymes += c == u'韵' || c == u'△' || c == u'▲' ? 1 : 0;
    }
    Print(QStringLiteral("ci of 宋词三百首 and its supplement: %1, %2 with a tune in the books").arg(ci).arg(inBooks));
    Print(QStringLiteral("  true tune among the three best: %1 (goal >= 90 %)").arg(Share(topThree, inBooks)));
    Print(QStringLiteral("  true tune first: %1").arg(Share(first, inBooks)));
    Print(QStringLiteral("  missed: ") + missed.join(QStringLiteral(" ")));
    Print(QStringLiteral("  of lines all of five or all of seven, found and fitting its tune (词, not 古体): %1")
              .arg(Share(uniformFits, uniformCi)));
    Print(QStringLiteral("  rhyme positions judged 出韵 against the true tune: %1").arg(Share(ciOut, ciRhymes)));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    Print(QStringLiteral("done in %1 s").arg(seconds, 0, 'f', 2));
    return 0;
}
