// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-bench-diagnostics [--list KIND] [--heldout DIR] [SEED_DIR]: how the
// diagnostics fare on the library the build carries (the seed compiled into
// the program, or the seed folder given as the first argument). Regulated
// verse: the share read as a regulated form, the share of rhyme words judged
// 出韵 and of lines judged 孤平, under 平水韵. Ci: the share whose tune is among
// the three best the line lengths find, and the share of their rhyme words
// judged 出韵 against the true tune.
//
// With --heldout, the same on poems outside the library instead: DIR holds
// 全唐诗.txt and 全宋词.txt as data/generator/heldout.mjs draws them (poems
// separated by blank lines, a title line "# title·author" or "# tune·author"
// first), and the batch run of versilo-check over the 全唐诗 file is timed.
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QMap>
#include <QProcess>
#include <QSet>
#include <QStringDecoder>

#include <algorithm>
#include <chrono>
#include <cstdio>

#include "diagnostics.h"
#include "patternbooks.h"
#include "rhymedict.h"
#include "seed.h"
#include "tuneforms.h"

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

// ---- the held-out sample ------------------------------------------------------

struct SamplePoem {
    QString title;
    QString text;   // CR LF between lines
};

// Poems separated by blank lines, each opened by a title line "# title".
std::optional<QList<SamplePoem>> ReadSample(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        Print("versilo-bench-diagnostics: cannot read " + path + ": " + file.errorString());
        return std::nullopt;
    }
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString all = decoder(file.readAll());
    QList<SamplePoem> poems;
    SamplePoem p;
    QStringList lines;
    const auto close = [&] {
        if (!lines.isEmpty())
            poems.append({p.title, lines.join(QStringLiteral("\r\n"))});
        p = {};
        lines.clear();
    };
    for (const QString &raw : all.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty())
            close();
        else if (line.startsWith(u'#') && lines.isEmpty())
            p.title = line.mid(1).trimmed();
        else
            lines.append(line);
    }
    close();
    return poems;
}

QString VerseText(const Verse &v)
{
    QString s;
    for (char32_t c : v.chars)
        s += QString::fromUcs4(&c, 1);
    return s;
}

// Whether the rhymes of a poem of even lines show it is no regulated verse,
// by the dictionary alone and whatever the engine makes of it: most ends of
// the even lines have only oblique readings, or the rhymes go over from the
// group most of them share to one of their own for good, two or more (换韵).
// Words off the rhyme that come back to it are no change.
struct RhymeWitness {
    bool oblique = false;
    bool changes = false;
};

RhymeWitness WitnessRhymes(const QList<Verse> &verses, const ReadingLookup &lookup)
{
    RhymeWitness w;
    int obliqueOnly = 0;
    QList<QSet<int>> ends;
    QHash<int, int> count;
    for (qsizetype v = 1; v < verses.size(); v += 2) {
        if (verses.at(v).chars.isEmpty())
            continue;
        const CharReadings r = lookup(verses.at(v).chars.last());
        QSet<int> groups;
        bool level = false;
        for (const Reading &reading : r.readings) {
            if (reading.group > 0)
                groups.insert(reading.group);
            level = level || reading.tone == Tone::Level || reading.tone == Tone::Either;
        }
        obliqueOnly += !level && !r.readings.isEmpty() ? 1 : 0;
        for (int g : groups)
            ++count[g];
        ends.append(groups);
    }
    w.oblique = 2 * obliqueOnly > ends.size();
    int main = 0;
    for (auto it = count.cbegin(); it != count.cend(); ++it) {
        if (it.value() > count.value(main) || (it.value() == count.value(main) && it.key() < main))
            main = it.key();
    }
    // The rhymes going over to a group of their own for good, or starting
    // in one: two or more at the end or at the start outside the main group,
    // sharing one.
    const auto run = [main](auto begin, auto end) {
        QSet<int> shared;
        int length = 0;
        for (auto it = begin; it != end && !it->isEmpty() && !it->contains(main); ++it) {
            shared = length == 0 ? *it : shared & *it;
            if (shared.isEmpty())
                break;
            ++length;
        }
        return length >= 2;
    };
    w.changes = run(ends.cbegin(), ends.cend()) || run(ends.crbegin(), ends.crend());
    return w;
}

// Names of one tune: its own and every other name 钦定词谱 gives it.
class TuneNames {
public:
    TuneNames()
    {
        for (const TuneForm &f : TuneForms::Builtin().All()) {
            QSet<QString> names(f.aliases.begin(), f.aliases.end());
            names.insert(f.tune);
            for (const QString &n : names)
                same_[n].unite(names);
        }
    }
    bool Same(const QString &a, const QString &b) const
    {
        const QString x = Plain(a), y = Plain(b);
        return x == y || same_.value(a).contains(b) || same_.value(x).contains(y);
    }
    // One form of a character the books write two ways (一翦梅, 一剪梅).
    static QString Plain(QString name) { return name.replace(u'翦', u'剪'); }

private:
    QHash<QString, QSet<QString>> same_;
};

int HeldOut(const QString &dir, const ReadingLookup &lookup, const QList<TuneCandidate> &tunes,
            std::optional<FindingKind> listKind)
{
    const auto shi = ReadSample(dir + QStringLiteral("/全唐诗.txt"));
    const auto ci = ReadSample(dir + QStringLiteral("/全宋词.txt"));
    if (!shi || !ci)
        return 2;
    Print(QStringLiteral("held-out sample %1: %2 poems of 全唐诗, %3 ci of 全宋词; %4 tunes in the two books")
              .arg(dir).arg(shi->size()).arg(ci->size()).arg(tunes.size()));

    // ---- 全唐诗
    QElapsedTimer timer;
    timer.start();
    qint64 regulated = 0, oldByRhyme = 0, oldCalledRegulated = 0, obliqueRhymed = 0, changing = 0;
    QMap<QString, qint64> forms, kinds;
    QStringList oldAsRegulated;
    for (const SamplePoem &p : *shi) {
        DiagnosisInput in;
        in.poem = p.text;
        in.system = kPingshui;
        const Diagnosis d = Diagnose(in, lookup);
        const RhymeWitness w = WitnessRhymes(d.verses, lookup);
        obliqueRhymed += w.oblique ? 1 : 0;
        changing += w.changes ? 1 : 0;
        if (w.oblique || w.changes)
            ++oldByRhyme;
        if (d.regulated) {
            ++regulated;
            ++forms[d.regulated->name];
            if (w.oblique || w.changes) {
                ++oldCalledRegulated;
                oldAsRegulated.append(p.title + "→" + d.regulated->Describe());
            }
        } else {
            ++forms[d.uniformLines ? QStringLiteral("(not regulated)") : QStringLiteral("(lines of unequal length)")];
        }
        for (const Finding &f : d.findings) {
            if (f.fault)
                ++kinds[KindName(f.kind)];
            if (f.kind == listKind)
                Print(QStringLiteral("    %1 | %2 | %3 | %4")
                          .arg(p.title, VerseText(d.verses.value(f.verse)), d.verses.value(f.verse).marks,
                               f.message));
        }
    }
    const double shiSeconds = double(timer.nsecsElapsed()) / 1e9;
    Print(QStringLiteral("全唐诗, poems of regulated shape: %1").arg(shi->size()));
    Print(QStringLiteral("  called regulated (律/绝/排律): %1").arg(Share(regulated, shi->size())));
    QStringList formCounts;
    for (auto it = forms.cbegin(); it != forms.cend(); ++it)
        formCounts.append(it.key() + " " + QString::number(it.value()));
    Print(QStringLiteral("  forms: ") + formCounts.join(QStringLiteral(", ")));
    Print(QStringLiteral("  rhyming oblique %1, changing rhyme %2: 古体 by their rhymes %3")
              .arg(obliqueRhymed).arg(changing).arg(oldByRhyme));
    Print(QStringLiteral("  of these called regulated (goal 0): %1 %2")
              .arg(Share(oldCalledRegulated, oldByRhyme), oldAsRegulated.join(QStringLiteral(" "))));
    Print(QStringLiteral("  called regulated among the others: %1")
              .arg(Share(regulated - oldCalledRegulated, shi->size() - oldByRhyme)));
    QStringList kindCounts;
    for (const QString &k : {QStringLiteral("失律"), QStringLiteral("失粘"), QStringLiteral("失对"),
                             QStringLiteral("孤平")})
        kindCounts.append(k + " " + QString::number(kinds.value(k)));
    Print(QStringLiteral("  faults found: ") + kindCounts.join(QStringLiteral(", ")));
    kindCounts.clear();
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        kindCounts.append(it.key() + " " + QString::number(it.value()));
    Print(QStringLiteral("  faults by kind: ") + kindCounts.join(QStringLiteral(", ")));
    Print(QStringLiteral("  the engine alone: %1 s").arg(shiSeconds, 0, 'f', 2));

    // ---- 全宋词
    const TuneNames names;
    const auto inBooks = [&](const QString &tune) {
        return std::any_of(tunes.begin(), tunes.end(), [&](const TuneCandidate &t) { return names.Same(t.name, tune); });
    };
    qint64 findable = 0, first = 0, three = 0, firstAll = 0, threeAll = 0;
    qint64 firstTones = 0, threeTones = 0;   // ranked by tones alone, the rhyme words not heard
    QStringList missed;
    timer.restart();
    for (const SamplePoem &p : *ci) {
        const QStringList truth = p.title.left(p.title.lastIndexOf(u'·')).split(u'/');
        const bool known = std::any_of(truth.begin(), truth.end(), inBooks);
        findable += known ? 1 : 0;
        const QList<Verse> verses = SplitVerses(p.text, QString(), StripSet::Full, lookup);
        const auto place = [&](const QList<TuneMatch> &best) {
            for (qsizetype k = 0; k < best.size(); ++k) {
                if (std::any_of(truth.begin(), truth.end(), [&](const QString &t) { return names.Same(best.at(k).name, t); }))
                    return int(k);
            }
            return -1;
        };
        const QList<TuneMatch> best = RankTunes(verses, tunes, 3, nullptr, lookup, kPingshui);
        const int at = place(best);
        if (known) {
            const int byTones = place(RankTunes(verses, tunes, 3));
            firstTones += byTones == 0 ? 1 : 0;
            threeTones += byTones >= 0 ? 1 : 0;
        }
        firstAll += at == 0 ? 1 : 0;
        threeAll += at >= 0 ? 1 : 0;
        if (known) {
            first += at == 0 ? 1 : 0;
            three += at >= 0 ? 1 : 0;
            if (at != 0)
                missed.append(p.title + "→" + (best.isEmpty() ? QString() : best.first().name)
                              + (at > 0 ? QStringLiteral("(%1)").arg(at + 1) : QString()));
        }
    }
    const double ciSeconds = double(timer.nsecsElapsed()) / 1e9;
    Print(QStringLiteral("全宋词: %1 ci, %2 under a tune of the two books (other names of 钦定词谱 count)")
              .arg(ci->size()).arg(findable));
    Print(QStringLiteral("  right tune first: %1").arg(Share(first, findable)));
    Print(QStringLiteral("  right tune among three: %1").arg(Share(three, findable)));
    Print(QStringLiteral("  over all %1 (a tune only 钦定词谱 has cannot be named): first %2, among three %3")
              .arg(ci->size()).arg(Share(firstAll, ci->size()), Share(threeAll, ci->size())));
    Print(QStringLiteral("  ranked by tones alone, the rhyme words not heard: first %1, among three %2")
              .arg(Share(firstTones, findable), Share(threeTones, findable)));
    Print(QStringLiteral("  not first: ") + missed.join(QStringLiteral(" ")));
    Print(QStringLiteral("  the engine alone (both rankings): %1 s").arg(ciSeconds, 0, 'f', 2));

    // ---- versilo-check over the 全唐诗 file in one process
    const QString check = QCoreApplication::applicationDirPath() + QStringLiteral("/versilo-check");
    if (!QFileInfo(check).isExecutable()) {
        Print("  batch: no " + check + " to time");
        return 0;
    }
    const auto run = [&](const QStringList &args, int *rc) {
        QProcess proc;
        proc.setStandardOutputFile(QProcess::nullDevice());
        proc.setStandardErrorFile(QProcess::nullDevice());
        QElapsedTimer t;
        t.start();
        proc.start(check, args);
        proc.waitForFinished(-1);
        *rc = proc.exitStatus() == QProcess::NormalExit ? proc.exitCode() : -1;
        return double(t.nsecsElapsed()) / 1e9;
    };
    const QStringList common{QStringLiteral("--system"), kPingshui, QStringLiteral("--explain"),
                             QStringLiteral("--detect"), QStringLiteral("--split"), QStringLiteral("--json")};
    int rcAll = 0, rcOne = 0;
    const double all = run(common + QStringList{dir + QStringLiteral("/全唐诗.txt")}, &rcAll);
    // One poem in its own run, for the cost every run pays.
    QFile one(QDir::temp().filePath(QStringLiteral("versilo-bench-one-poem.txt")));
    double single = 0;
    if (!shi->isEmpty() && one.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        one.write(shi->first().text.toUtf8());
        one.close();
        single = run(common + QStringList{one.fileName()}, &rcOne);
        one.remove();
    }
    Print(QStringLiteral("  batch: versilo-check %1 全唐诗.txt: %2 poems in %3 s (rc %4); one poem alone %5 s (rc %6)")
              .arg(common.join(u' ')).arg(shi->size()).arg(all, 0, 'f', 2).arg(rcAll).arg(single, 0, 'f', 2).arg(rcOne));
    return rcAll == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    // [--list KIND] prints every finding of that kind with its poem.
    QString seedDir;
    QString heldOut;
    std::optional<FindingKind> listKind;
    for (qsizetype i = 1; i < args.size(); ++i) {
        if (args.at(i) == QStringLiteral("--list") && i + 1 < args.size()) {
            listKind = KindOfName(args.at(++i));
            if (!listKind) {
                Print(QStringLiteral("versilo-bench-diagnostics: no finding is called ") + args.at(i));
                return 2;
            }
        } else if (args.at(i) == QStringLiteral("--heldout") && i + 1 < args.size()) {
            heldOut = args.at(++i);
        } else {
            seedDir = args.at(i);
        }
    }
    if (!seedDir.isEmpty() && !QFileInfo(seedDir).isDir()) {
        Print("versilo-bench-diagnostics: no such folder: " + seedDir);
        return 2;
    }
    if (!heldOut.isEmpty() && !QFileInfo(heldOut).isDir()) {
        Print("versilo-bench-diagnostics: no such folder: " + heldOut);
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

    if (!heldOut.isEmpty()) {
        const int rc = HeldOut(heldOut, lookup, tunes, listKind);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
        Print(QStringLiteral("done in %1 s").arg(seconds, 0, 'f', 2));
        return rc;
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
    qint64 oldStyle = 0, oldStyleAsCi = 0, oldStyleAsCiByTones = 0;
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
            const QList<TuneMatch> best = RankTunes(d.verses, tunes, 1, nullptr, lookup, kPingshui);
            const QList<TuneMatch> byTones = RankTunes(d.verses, tunes, 1);
            oldStyleAsCiByTones += !byTones.isEmpty() && byTones.first().fits ? 1 : 0;
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
    Print(QStringLiteral("  fitting a tune ranked by tones alone, the rhyme words not heard: %1")
              .arg(Share(oldStyleAsCiByTones, oldStyle)));
    Print(QStringLiteral("  characters with both readings settled by their word: %1")
              .arg(Share(byWord, bothReadings)));
    QStringList kindCounts;
    for (auto it = kinds.cbegin(); it != kinds.cend(); ++it)
        kindCounts.append(it.key() + " " + QString::number(it.value()));
    Print(QStringLiteral("  findings by kind: ") + kindCounts.join(QStringLiteral(", ")));

    // ---- ci
    qint64 ci = 0, inBooks = 0, topThree = 0, first = 0, ciRhymes = 0, ciOut = 0;
    qint64 firstByTones = 0, topThreeByTones = 0;   // the rhyme words not heard
    qint64 uniformCi = 0, uniformFits = 0;   // ci of lines all of 5 or all of 7 syllables
    QStringList missed;
    for (qsizetype i = ciStart; i < poems.size(); ++i) {
        ++ci;
        const QString tune = poems.at(i).title.section(u'·', 0, 0);
        if (!patternOf.contains(tune))
            continue;
        ++inBooks;
        const QList<Verse> verses = SplitVerses(poems.at(i).text, QString(), StripSet::Full, lookup);
        const QList<TuneMatch> best = RankTunes(verses, tunes, 3, nullptr, lookup, kPingshui);
        bool hit = false;
        for (qsizetype k = 0; k < best.size(); ++k) {
            if (best.at(k).name == tune) {
                hit = true;
                first += k == 0 ? 1 : 0;
            }
        }
        topThree += hit ? 1 : 0;
        const QList<TuneMatch> byTones = RankTunes(verses, tunes, 3);
        for (qsizetype k = 0; k < byTones.size(); ++k) {
            if (byTones.at(k).name == tune) {
                firstByTones += k == 0 ? 1 : 0;
                topThreeByTones += 1;
            }
        }
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
    Print(QStringLiteral("  ranked by tones alone, the rhyme words not heard: first %1, among three %2")
              .arg(Share(firstByTones, inBooks), Share(topThreeByTones, inBooks)));
    Print(QStringLiteral("  missed: ") + missed.join(QStringLiteral(" ")));
    Print(QStringLiteral("  of lines all of five or all of seven, found and fitting its tune (词, not 古体): %1")
              .arg(Share(uniformFits, uniformCi)));
    Print(QStringLiteral("  rhyme positions judged 出韵 against the true tune: %1").arg(Share(ciOut, ciRhymes)));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - started).count();
    Print(QStringLiteral("done in %1 s").arg(seconds, 0, 'f', 2));
    return 0;
}
