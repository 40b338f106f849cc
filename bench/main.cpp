// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-bench: times the tone marking by row-by-row scan against the
// indexed lookup, and the whole conformance check against the bare load of
// the dictionary, on a generated 998-line poem and a 25,000-row dictionary
// in an encrypted database file; and versilo-check on one regulated poem of
// the library against 600 in one run. The last line is the summary.
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

#include "appcontext.h"
#include "datastore.h"
#include "dictionary.h"
#include "gateway.h"
#include "patternbooks.h"
#include "prosody.h"
#include "rhymedict.h"
#include "seed.h"
#include "windownames.h"
#include "windowregistry.h"

using namespace versilo;

namespace {

constexpr int kDictionaryRows = 25000;
constexpr int kPoemLines = 998;
constexpr int kLineLength = 40;

// A small deterministic generator, so every run measures the same data.
class Lcg {
public:
    explicit Lcg(quint32 seed) : state_(seed) {}
    quint32 Next()
    {
        state_ = state_ * 1664525u + 1013904223u;
        return state_ >> 8;
    }
    int Below(int n) { return int(Next() % quint32(n)); }

private:
    quint32 state_;
};

void Print(const QString &line)
{
    const QByteArray bytes = (line + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
    std::fflush(stdout);
}

// The dictionary as a seed file: mostly distinct characters from the CJK
// block, a share of them with a second or third reading row.
QByteArray DictionarySeed(std::vector<char16_t> *chars)
{
    Lcg rng(20240611);
    QByteArray tsv = "汉字\t平仄\t韵调\t拼音\n";
    tsv.reserve(kDictionaryRows * 24);
    std::vector<char16_t> distinct;
    for (int i = 0; i < kDictionaryRows; ++i) {
        char16_t c;
        if (!distinct.empty() && rng.Below(5) == 0)
            c = distinct[size_t(rng.Below(int(distinct.size())))];
        else
            c = char16_t(0x4E00 + rng.Below(0x5000));
        distinct.push_back(c);
        const int tone = rng.Below(3);
        const int group = 1 + rng.Below(14);
        tsv += QString(QChar(c)).toUtf8() + '\t' + QByteArray::number(tone) + '\t'
               + QByteArray::number(group) + "\tpy\n";
    }
    std::sort(distinct.begin(), distinct.end());
    distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
    *chars = std::move(distinct);
    return tsv;
}

// 998 lines of 40 characters: dictionary characters, a comma and a full
// stop, now and then a character the dictionary does not hold.
QString Poem(const std::vector<char16_t> &chars)
{
    Lcg rng(7);
    QString poem;
    poem.reserve(kPoemLines * (kLineLength + 2));
    for (int l = 0; l < kPoemLines; ++l) {
        for (int p = 0; p < kLineLength; ++p) {
            if (p == kLineLength / 2 - 1)
                poem.append(u'，');
            else if (p == kLineLength - 1)
                poem.append(u'。');
            else if (rng.Below(50) == 0)
                poem.append(QChar(char16_t(0x9FA0 + rng.Below(5))));
            else
                poem.append(QChar(chars[size_t(rng.Below(int(chars.size())))]));
        }
        if (l + 1 < kPoemLines)
            poem.append(kCrLf);
    }
    return poem;
}

QString Pattern()
{
    static const char16_t symbols[] = u"○●△▲◎⊙";
    Lcg rng(11);
    QString pattern;
    for (int l = 0; l < kPoemLines; ++l) {
        for (int p = 0; p < kLineLength - 2; ++p)
            pattern.append(QChar(symbols[rng.Below(6)]));
        pattern.append(kCrLf);
    }
    return pattern + kCrLf;
}

// The tone column built the way the window's literal algorithm does it:
// every kept character resolved by scanning every dictionary row.
QString MarkTonesByScan(const RhymeDictionary &dict, const QString &poem, StripSet set)
{
    QString out;
    for (const QString &line : SplitLines(poem)) {
        for (QChar c : NormaliseLine(line, set)) {
            const QChar mark = dict.ToneMarkByScan(c);
            out.append(mark.isNull() ? kUnknownMark : QString(mark));
        }
        out.append(kCrLf);
    }
    out.append(kCrLf);
    return out;
}

double Seconds(const std::function<void()> &work)
{
    const auto start = std::chrono::steady_clock::now();
    work();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

QString Ms(double seconds) { return QString::number(seconds * 1000.0, 'f', 2) + " ms"; }

// Poems of regulated shape from the library the build carries (four or
// eight verse lines of five or seven characters), each with its title line,
// repeated until there are `count`.
QStringList RegulatedPoems(int count)
{
    seed::SeedTable library;
    QString error;
    if (!seed::ReadSeedTable(QString(), QStringLiteral("诗词库"), &library, &error))
        return {};
    const qsizetype title = library.columns.indexOf(QStringLiteral("标题"));
    const qsizetype text = library.columns.indexOf(QStringLiteral("正文"));
    QStringList found;
    for (const auto &row : library.rows) {
        const QString poem = row.at(size_t(text)).toString();
        QStringList verses = poem.split(QRegularExpression(QStringLiteral("[，。？！；\\r\\n]+")),
                                        Qt::SkipEmptyParts);
        const qsizetype length = verses.isEmpty() ? 0 : verses.first().size();
        const bool regulated = (verses.size() == 4 || verses.size() == 8) && (length == 5 || length == 7)
                               && std::all_of(verses.begin(), verses.end(),
                                              [&](const QString &v) { return v.size() == length; });
        if (regulated)
            found.append("# " + row.at(size_t(title)).toString() + "\n" + QString(poem).replace(kCrLf, "\n"));
    }
    QStringList poems;
    for (int i = 0; !found.isEmpty() && i < count; ++i)
        poems.append(found.at(i % found.size()));
    return poems;
}

// Wall time of one versilo-check run; negative when it fails.
double CheckRun(const QString &program, const QStringList &args)
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    double seconds = 0;
    bool ok = false;
    seconds = Seconds([&] {
        p.start(program, args);
        ok = p.waitForFinished(600000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    });
    return ok ? seconds : -1;
}

// ---- the store's three speeds, each beside its floor ---------------------------

// Seconds a program takes from start to exit, its output thrown away.
double ProcessSeconds(const QString &program, const QStringList &args, const QByteArray &input = {})
{
    QProcess p;
    p.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer timer;
    timer.start();
    p.start(program, args);
    if (!p.waitForStarted())
        return -1;
    if (!input.isEmpty())
        p.write(input);
    p.closeWriteChannel();
    p.waitForFinished(60000);
    const double s = double(timer.nsecsElapsed()) / 1e9;
    return p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0 ? s : -1;
}

// (1) versilo-check as a whole process on the 998-line poem against the
// sqlcipher shell reading the same table; (2) a 40-line check in the
// composition window with its kept dictionary against the same check with
// the dictionary already in memory; (3) dictionary maintenance opening (its
// two listings) and a 修改 against the bare read of the table in the program.
void StoreSpeeds(DataStore &store, const QString &tmpDir, const QString &poem, int rounds)
{
    Print("-- store: each figure beside its floor");
    const QString db = store.FilePath();
    const QString poemFile = tmpDir + "/poem.txt";
    {
        QFile f(poemFile);
        if (!f.open(QIODevice::WriteOnly) || f.write(poem.toUtf8()) < 0)
            return;
    }
    const QString check = QCoreApplication::applicationDirPath() + "/versilo-check";
    const QString shell = QStringLiteral("/usr/bin/sqlcipher");
    const QByteArray script = QByteArray("PRAGMA key='") + DataStore::kPassword
                              + "';\nselect * from 中华新韵;\n";
    if (QFile::exists(check) && QFile::exists(shell)) {
        std::vector<double> checks, reads;
        for (int i = 0; i < std::max(rounds, 10); ++i) {
            reads.push_back(ProcessSeconds(shell, {db}, script));
            checks.push_back(ProcessSeconds(check, {"--app-dir", QFileInfo(db).path(), poemFile}));
        }
        if (*std::min_element(checks.begin(), checks.end()) < 0 || *std::min_element(reads.begin(), reads.end()) < 0) {
            Print("versilo-check or the sqlcipher shell failed");
        } else {
            Print(QString("versilo-check process, %1 lines: median %2; floor, sqlcipher shell reading 中华新韵: "
                          "median %3; %4x (target 1.3x), %5 paired runs")
                      .arg(kPoemLines).arg(Ms(Median(checks))).arg(Ms(Median(reads)))
                      .arg(Median(checks) / Median(reads), 0, 'f', 2).arg(checks.size()));
        }
    } else {
        Print("versilo-check or /usr/bin/sqlcipher missing: whole-process figure skipped");
    }

    // (2) The window's check: the poem's first 40 lines.
    const QString short40 = SplitLines(poem).mid(0, 40).join(kCrLf);
    DictionaryCache cache;
    RhymeDictionary inMemory;
    LoadRhymeDictionary(store, kNewRhyme, inMemory);
    const auto runCheck = [&](const DictionaryLoader &load) {
        ComposeTexts form;
        form.text2 = short40;
        form.command2 = kNewRhyme;
        return Seconds([&] { RunConformanceCheck(form, load); });
    };
    const DictionaryLoader kept = [&](const QString &system, RhymeDictionary &out) {
        return cache.Load(store, system, out);
    };
    const DictionaryLoader floor = [&](const QString &, RhymeDictionary &out) {
        out = inMemory;
        return true;
    };
    const DictionaryLoader fresh = [&](const QString &system, RhymeDictionary &out) {
        return LoadRhymeDictionary(store, system, out);
    };
    const double first = runCheck(kept);
    std::vector<double> keptTimes, floorTimes, freshTimes;
    for (int i = 0; i < std::max(rounds, 20); ++i) {
        keptTimes.push_back(runCheck(kept));
        floorTimes.push_back(runCheck(floor));
        freshTimes.push_back(runCheck(fresh));
    }
    Print(QString("window check, 40 lines: first %1, then median %2 with the kept dictionary "
                  "(target 5 ms; reading it every time: %3); floor, dictionary in memory: %4")
              .arg(Ms(first)).arg(Ms(Median(keptTimes))).arg(Ms(Median(freshTimes))).arg(Ms(Median(floorTimes))));

    // (3) Dictionary maintenance: the opening lists the whole table and then
    // the keypad's search; 修改 takes the changed row in place.
    std::vector<double> openTimes, changeTimes, rereadTimes, bareTimes;
    std::vector<DictionaryRow> list;
    for (int i = 0; i < std::max(rounds, 10); ++i) {
        openTimes.push_back(Seconds([&] {
            ReadAll(store.Rs(), QStringLiteral("select *from  中华新韵"), {}, list);
            ReadAll(store.Rs(), QStringLiteral("select *from 中华新韵 where 拼音 like ?"), {QStringLiteral("%%")}, list);
        }));
        DictionaryRow row = list[size_t(i * 97) % list.size()];
        row.tone = QString::number(i % 3);
        changeTimes.push_back(Seconds([&] {
            UpdateRow(store.Rs(), kNewRhyme, row);
            RefreshListedRow(store.Rs(), kNewRhyme, list, row.id);
        }));
        rereadTimes.push_back(Seconds([&] {
            UpdateRow(store.Rs(), kNewRhyme, row);
            ReadAll(store.Rs(), QStringLiteral("select *from 中华新韵"), {}, list);
        }));
        bareTimes.push_back(Seconds([&] {
            RhymeDictionary d;
            LoadRhymeDictionary(store, kNewRhyme, d);
        }));
    }
    Print(QString("dictionary maintenance, its reads: two listings median %1; 修改 median %2 "
                  "(reading the table again: %3); floor, the table streamed into memory: %4")
              .arg(Ms(Median(openTimes))).arg(Ms(Median(changeTimes))).arg(Ms(Median(rereadTimes)))
              .arg(Ms(Median(bareTimes))));

    // (3b) The window itself as the launcher opens it: made, its list read
    // and its grid filled, shown and drawn once (offscreen). The first
    // opening also loads the fonts and is left out.
    AppContext &app = AppContext::Instance();
    app.Store().SetLocation(store.Location());
    RegisterDictionaryWindows(app.Windows());
    const auto openWindow = [&] {
        QWidget *w = app.Windows().OpenFresh(window::kDictionary);
        QCoreApplication::processEvents();   // shown and drawn
        return w != nullptr;
    };
    if (!openWindow()) {
        Print("dictionary maintenance window: could not be opened");
        return;
    }
    std::vector<double> windowTimes;
    for (int i = 0; i < std::max(rounds, 10); ++i) {
        app.Windows().Close(window::kDictionary);
        QCoreApplication::processEvents();
        windowTimes.push_back(Seconds([&] { openWindow(); }));
    }
    app.Windows().Close(window::kDictionary);
    Print(QString("dictionary maintenance window opening (made, listed, drawn): median %1 (target 30 ms); "
                  "floor, the table streamed into memory: %2")
              .arg(Ms(Median(windowTimes))).arg(Ms(Median(bareTimes))));
}

}  // namespace

int main(int argc, char **argv)
{
    // The dictionary maintenance window is measured too: drawn offscreen
    // unless a platform is named.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    int rounds = 7;
    int scanRounds = 3;
    const QStringList args = QCoreApplication::arguments();
    if (args.size() > 1)
        rounds = std::max(1, args.at(1).toInt());
    if (args.size() > 2)
        scanRounds = std::max(1, args.at(2).toInt());

    QTemporaryDir tmp;
    if (!tmp.isValid()) {
        std::fputs("versilo-bench: cannot create a temporary folder\n", stderr);
        return 2;
    }
    const QString seedDir = tmp.filePath("seed");
    const QString appDir = tmp.filePath("app");
    QDir().mkpath(seedDir);
    QDir().mkpath(appDir);

    std::vector<char16_t> chars;
    {
        QFile f(seedDir + "/中华新韵.tsv");
        if (!f.open(QIODevice::WriteOnly) || f.write(DictionarySeed(&chars)) < 0) {
            std::fputs("versilo-bench: cannot write the seed\n", stderr);
            return 2;
        }
    }

    DataStore store(StoreLocation{appDir, seedDir});
    double createSeconds = Seconds([&] { store.Connect(); });
    if (!store.IsConnected()) {
        Print("versilo-bench: cannot create the database: " + store.LastError());
        return 2;
    }
    store.NewRecordset();
    Print(QString("database: %1 (%2 bytes), created and connected in %3")
              .arg(store.FilePath())
              .arg(QFileInfo(store.FilePath()).size())
              .arg(Ms(createSeconds)));

    RhymeDictionary dict;
    if (!LoadRhymeDictionary(store, kNewRhyme, dict)) {
        Print("versilo-bench: cannot load the dictionary");
        return 2;
    }
    const QString poem = Poem(chars);
    const QString pattern = Pattern();
    Print(QString("dictionary: %1 rows, %2 characters; poem: %3 lines, %4 code units")
              .arg(dict.Size())
              .arg(chars.size())
              .arg(kPoemLines)
              .arg(poem.size()));

    // (a) Tone marking: scan against index, same output.
    const QString input = poem + kCrLf;
    QString byIndex;
    QString byScan;
    std::vector<double> indexTimes;
    std::vector<double> scanTimes;
    for (int i = 0; i < rounds; ++i)
        indexTimes.push_back(Seconds([&] { byIndex = MarkTones(dict, input, StripSet::Punctuation); }));
    for (int i = 0; i < scanRounds; ++i)
        scanTimes.push_back(Seconds([&] { byScan = MarkTonesByScan(dict, input, StripSet::Punctuation); }));
    if (byIndex != byScan) {
        Print("versilo-bench: the scan and the index disagree");
        return 1;
    }
    const double index = Median(indexTimes);
    const double scan = Median(scanTimes);
    Print(QString("tone marking, indexed lookup: median %1 of %2 rounds").arg(Ms(index)).arg(rounds));
    Print(QString("tone marking, row-by-row scan: median %1 of %2 rounds").arg(Ms(scan)).arg(scanRounds));

    // (b) The whole check against the bare load, interleaved round by round.
    const DictionaryLoader loader = [&](const QString &system, RhymeDictionary &out) {
        return LoadRhymeDictionary(store, system, out);
    };
    std::vector<double> checkTimes;
    std::vector<double> loadTimes;
    ComposeTexts form;
    for (int i = 0; i < rounds; ++i) {
        loadTimes.push_back(Seconds([&] {
            RhymeDictionary d;
            LoadRhymeDictionary(store, kNewRhyme, d);
        }));
        form = ComposeTexts{};
        form.text2 = poem;
        form.text4 = QStringLiteral("bench");
        form.text5 = pattern;
        form.label1 = QStringLiteral("tune");
        form.command2 = kNewRhyme;
        bool ok = false;
        checkTimes.push_back(Seconds([&] { ok = RunConformanceCheck(form, loader); }));
        if (!ok) {
            Print("versilo-bench: the check could not load the dictionary");
            return 1;
        }
    }
    const double load = Median(loadTimes);
    const double check = Median(checkTimes);
    Print(QString("dictionary load: median %1 of %2 rounds").arg(Ms(load)).arg(rounds));
    Print(QString("conformance check (load, mark, compare): median %1 of %2 rounds; %3 result lines")
              .arg(Ms(check))
              .arg(rounds)
              .arg(SplitLines(form.text8).size()));

    // (c) What the browsers read when they open: every work of a store of
    // 500, and one tune of a pattern book by name (as putting a work back does).
    for (int i = 0; i < 500; ++i) {
        WorkRow w{0, QString("作品%1").arg(i), QStringLiteral("春眠不觉晓|处处闻啼鸟|"), {}, QStringLiteral("忆江南"),
                  kCommonBook, {}, {}};
        InsertRow(store.Rs(), kWorksTable, w);
    }
    for (int i = 0; i < 300; ++i) {
        TuneRow t{0, QString("调%1").arg(i), QStringLiteral("○○●●●-●●○○○-"), QStringLiteral("说明-")};
        InsertRow(store.Rs(), kCommonBook, t);
    }
    std::vector<double> worksTimes;
    std::vector<double> tuneTimes;
    std::vector<WorkRow> works;
    for (int i = 0; i < rounds; ++i) {
        worksTimes.push_back(Seconds([&] { ReadAll(store.Rs(), QStringLiteral("select *from 作品"), {}, works); }));
        tuneTimes.push_back(Seconds([&] {
            TuneRow t;
            FindTune(store.Rs(), kCommonBook, QStringLiteral("调299"), t);
        }));
    }
    Print(QString("works list read (%1 works): median %2; one tune by name (300 tunes): median %3")
              .arg(works.size())
              .arg(Ms(Median(worksTimes)))
              .arg(Ms(Median(tuneTimes))));

    // (d) What versilo-check adds before it reads: the integrity check of
    // the whole file (now with its 500 works and 300 more tunes), on a
    // fresh connection as the tool makes it, so no page is decoded yet.
    std::vector<double> integrityTimes;
    for (int i = 0; i < rounds; ++i) {
        QString problem;
        DataStore fresh(StoreLocation{appDir, seedDir});
        if (!fresh.Connect()) {
            Print("versilo-bench: " + fresh.LastError());
            return 1;
        }
        integrityTimes.push_back(Seconds([&] { fresh.CheckIntegrity(&problem); }));
        if (!problem.isEmpty()) {
            Print("versilo-bench: " + problem);
            return 1;
        }
    }
    const double integrity = Median(integrityTimes);
    Print(QString("integrity check (%1 bytes): median %2 of %3 rounds; (check+integrity)/check %4x")
              .arg(QFileInfo(store.FilePath()).size())
              .arg(Ms(integrity))
              .arg(rounds)
              .arg((check + integrity) / check, 0, 'f', 2));

    // (d) versilo-check --explain --detect under 平水韵 as a writer runs it:
    // one poem in one process, and 600 poems of the library in one process,
    // on a database made from the seed the program carries.
    const QString checkProgram = QCoreApplication::applicationDirPath() + "/versilo-check";
    constexpr int kBatchPoems = 600;
    const QStringList regulated = RegulatedPoems(kBatchPoems);
    double perProcess = 0;
    double batch = 0;
    if (!QFileInfo(checkProgram).isExecutable() || regulated.isEmpty()) {
        Print("versilo-check: not measured (" + checkProgram + " or the library's regulated verse is missing)");
    } else {
        const QString checkDir = tmp.filePath("check");
        QDir().mkpath(checkDir);
        const QString one = tmp.filePath("one.txt");
        const QString many = tmp.filePath("many.txt");
        QFile oneFile(one);
        QFile manyFile(many);
        if (!oneFile.open(QIODevice::WriteOnly) || !manyFile.open(QIODevice::WriteOnly)) {
            std::fputs("versilo-bench: cannot write the poems\n", stderr);
            return 2;
        }
        oneFile.write(regulated.first().toUtf8());
        manyFile.write(regulated.join("\n\n").toUtf8());
        oneFile.close();
        manyFile.close();
        const QStringList common{"--app-dir", checkDir, "--system", kPingshui, "--explain", "--detect", "--json"};
        CheckRun(checkProgram, common + QStringList{one});   // creates the database
        std::vector<double> oneTimes;
        std::vector<double> batchTimes;
        for (int i = 0; i < std::min(rounds, 3); ++i) {
            oneTimes.push_back(CheckRun(checkProgram, common + QStringList{one}));
            batchTimes.push_back(CheckRun(checkProgram, common + QStringList{"--split", many}));
        }
        perProcess = Median(oneTimes);
        batch = Median(batchTimes);
        if (perProcess < 0 || batch < 0) {
            Print("versilo-bench: versilo-check failed");
            return 1;
        }
        Print(QString("versilo-check --explain --detect, 平水韵: one poem in one process: median %1; "
                      "%2 poems in one process: median %3 (%4 a poem); as %2 processes: about %5 s")
                  .arg(Ms(perProcess))
                  .arg(kBatchPoems)
                  .arg(Ms(batch))
                  .arg(Ms(batch / kBatchPoems))
                  .arg(perProcess * kBatchPoems, 0, 'f', 1));
    }

    StoreSpeeds(store, tmp.path(), poem, rounds);

    Print(QString("scan/index %1x; check/load %2x; %3 poems in one run %4 s, as %3 runs %5 s")
              .arg(scan / index, 0, 'f', 1)
              .arg(check / load, 0, 'f', 1)
              .arg(kBatchPoems)
              .arg(batch, 0, 'f', 2)
              .arg(perProcess * kBatchPoems, 0, 'f', 1));
    return 0;
}
