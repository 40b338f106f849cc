// versilo-check: runs "判断正误" or "判断平仄韵调" on a poem file with the
// same engine and the same database as the composition window, and prints
// what the window's boxes would hold afterwards.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringDecoder>
#include <QTextStream>

#include <cmath>
#include <cstdio>
#include <optional>

#include "applocation.h"
#include "backup.h"
#include "datastore.h"
#include "diagnostics.h"
#include "gateway.h"
#include "initials.h"
#include "patternbooks.h"
#include "prosody.h"
#include "rhymedict.h"

using namespace versilo;

namespace {

constexpr int kExitError = 2;

const char kUsage[] =
    "usage: versilo-check [--app-dir DIR] [--system 中华新韵|平水韵] [--annotate] [--title T]\n"
    "                     [--tune NAME] [--book 常用词谱|白香词谱 | --pattern-file FILE] [--json]\n"
    "                     [--explain] [--detect] POEM_FILE|-\n"
    "       versilo-check --initials TEXT\n"
    "       versilo-check [--app-dir DIR] --backup FILE | --restore FILE\n"
    "       versilo-check --help\n";

const char kHelp[] =
    "\n"
    "Runs 判断正误 (or 判断平仄韵调 with --annotate) on POEM_FILE (- reads standard input)\n"
    "and prints what the composition window would show afterwards.\n"
    "The database is mvtrakp.m in the folder Versilo writes into: the program's own\n"
    "folder in a build or a writable copy; $XDG_DATA_HOME/versilo (~/.local/share/versilo)\n"
    "when installed. --app-dir DIR uses DIR instead. --initials prints the pinyin\n"
    "initials of TEXT.\n"
    "--explain adds the findings behind the marks (JSON key \"findings\"); --detect adds\n"
    "the form: the regulated form, or the three tunes whose line lengths fit best\n"
    "(JSON key \"form\").\n"
    "--backup FILE writes a copy of the database to FILE (a new file), also while\n"
    "Versilo runs; --restore FILE puts such a copy back after checking it, keeping the\n"
    "database it replaces beside it; it refuses while another program has it open.\n";

struct Options {
    QString appDir;
    QString seedDir;          // hidden: seed files for a database that has to be created
    QString system = kNewRhyme;
    bool annotate = false;
    QString title;
    QString tune;
    QString book;
    QString patternFile;
    bool json = false;
    bool explain = false;     // the findings of the diagnostics
    bool detect = false;      // the regulated form, or the best tunes
    QString poemFile;
    std::optional<QString> initials;
    QString backup;           // --backup FILE
    QString restore;          // --restore FILE
    bool help = false;
};

struct UsageError {
    QString message;
};

void PrintError(const QString &message)
{
    const QByteArray bytes = ("versilo-check: " + message + "\n").toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stderr);
}

void PrintOut(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, size_t(bytes.size()), stdout);
}

Options ParseArguments(const QStringList &args)
{
    Options o;
    bool havePoem = false;
    auto value = [&](qsizetype &i) -> QString {
        if (i + 1 >= args.size())
            throw UsageError{args.at(i) + " needs a value"};
        return args.at(++i);
    };
    for (qsizetype i = 1; i < args.size(); ++i) {
        const QString &a = args.at(i);
        if (a == "--help" || a == "-h") {
            o.help = true;
            return o;
        } else if (a == "--app-dir") {
            o.appDir = value(i);
        } else if (a == "--seed-dir") {
            o.seedDir = value(i);
        } else if (a == "--system") {
            o.system = value(i);
            if (o.system != kNewRhyme && o.system != kPingshui)
                throw UsageError{"--system must be 中华新韵 or 平水韵, not \"" + o.system + "\""};
        } else if (a == "--annotate") {
            o.annotate = true;
        } else if (a == "--title") {
            o.title = value(i);
        } else if (a == "--tune") {
            o.tune = value(i);
        } else if (a == "--book") {
            o.book = value(i);
            if (!IsPatternBook(o.book))
                throw UsageError{"--book must be 常用词谱 or 白香词谱, not \"" + o.book + "\""};
        } else if (a == "--pattern-file") {
            o.patternFile = value(i);
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--explain") {
            o.explain = true;
        } else if (a == "--detect") {
            o.detect = true;
        } else if (a == "--backup") {
            o.backup = value(i);
        } else if (a == "--restore") {
            o.restore = value(i);
        } else if (a == "--initials") {
            o.initials = value(i);
        } else if (a == "-" || !a.startsWith('-')) {
            if (havePoem)
                throw UsageError{"more than one poem file: \"" + o.poemFile + "\" and \"" + a + "\""};
            o.poemFile = a;
            havePoem = true;
        } else {
            throw UsageError{"unknown option " + a};
        }
    }
    if (o.initials)
        return o;
    if (!o.backup.isEmpty() || !o.restore.isEmpty()) {
        if (!o.backup.isEmpty() && !o.restore.isEmpty())
            throw UsageError{"--backup and --restore exclude each other"};
        if (havePoem)
            throw UsageError{"--backup and --restore take no poem file"};
        return o;
    }
    if (!havePoem)
        throw UsageError{"no poem file given"};
    if (!o.book.isEmpty() && !o.patternFile.isEmpty())
        throw UsageError{"--book and --pattern-file exclude each other"};
    if (!o.book.isEmpty() && o.tune.isEmpty())
        throw UsageError{"--book needs --tune to name the tune"};
    return o;
}

// A text file as a text box holds it: every line end (LF or CR LF) becomes
// CR LF; nothing else changes.
std::optional<QString> ReadBoxText(const QString &path, QString *error)
{
    QFile file;
    bool opened;
    if (path == "-") {
        opened = file.open(stdin, QIODevice::ReadOnly);
    } else {
        file.setFileName(path);
        opened = file.open(QIODevice::ReadOnly);
    }
    if (!opened) {
        *error = "cannot read " + (path == "-" ? QStringLiteral("standard input") : path) + ": "
                 + file.errorString();
        return std::nullopt;
    }
    const QByteArray bytes = file.readAll();
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    const QString text = decoder(bytes);
    if (decoder.hasError()) {
        *error = path + " is not valid UTF-8";
        return std::nullopt;
    }
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == u'\n' && (i == 0 || text.at(i - 1) != u'\r'))
            out.append(u'\r');
        out.append(c);
    }
    return out;
}

// The tune's pattern from a pattern book, laid out as the pattern browser
// lays it out in Text5.
std::optional<QString> FetchPattern(DataStore &store, const QString &book, const QString &tune,
                                    QString *error)
{
    TuneRow row;
    QString why;
    if (!FindTune(store.Rs(), book, tune, row, &why)) {
        *error = why.isEmpty() ? "no tune \"" + tune + "\" in " + book
                               : "无法读取词谱“" + book + "”：" + why;
        return std::nullopt;
    }
    return PatternDisplayForm(row.pattern);
}

void WithoutLastEmpty(QStringList &lines)
{
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
}

// Poem line, marks and results side by side, then the captions.
QString ReadableView(const Options &o, const ComposeTexts &form)
{
    QString out;
    QTextStream ts(&out);
    ts << (o.annotate ? "判断平仄韵调" : "判断正误") << "  " << form.command2;
    if (!form.label1.isEmpty())
        ts << "  词牌: " << form.label1;
    if (!form.text4.isEmpty())
        ts << "  标题: " << form.text4;
    ts << "\n";
    // Both checks count a last line without its own line break.
    const bool closed = form.text2.isEmpty() || form.text2.endsWith(kCrLf);
    QStringList poem = SplitLines(o.annotate && closed ? form.text2 : form.text2 + kCrLf);
    WithoutLastEmpty(poem);
    const QStringList marks = SplitLines(form.text6);
    const QStringList results = SplitLines(form.text8);
    const int width = QString::number(poem.size()).size();
    for (qsizetype i = 0; i < poem.size(); ++i) {
        ts << QString::number(i + 1).rightJustified(width) << "  " << poem.at(i) << "  |  "
           << marks.value(i);
        if (!form.text8.isEmpty())
            ts << "  |  " << results.value(i);
        ts << "\n";
    }
    ts << "Label2: " << form.label2 << "\n";
    ts << "Label3: " << form.label3 << "\n";
    ts.flush();
    return out;
}

QString JsonView(const ComposeTexts &form, const QJsonObject &extra = {})
{
    QJsonObject obj = extra;
    obj.insert("Text2", form.text2);
    obj.insert("Text5", form.text5);
    obj.insert("Label1", form.label1);
    obj.insert("Label2", form.label2);
    obj.insert("Label3", form.label3);
    obj.insert("Text6", form.text6);
    obj.insert("Text8", form.text8);
    return QString::fromUtf8(QJsonDocument(obj).toJson(QJsonDocument::Indented));
}

// ---- --explain and --detect ----------------------------------------------------

// Every tune of both pattern books, for finding the tune of a ci.
QList<TuneCandidate> ReadTunes(DataStore &store, QString *error)
{
    QList<TuneCandidate> tunes;
    for (const QString &book : {kCommonBook, kBaixiangBook}) {
        std::vector<TuneRow> rows;
        if (!ReadAll(store.Rs(), "select *from " + book, {}, rows, error)) {
            *error = "cannot read " + book + ": " + *error;
            return {};
        }
        for (const TuneRow &t : rows)
            tunes.append({book, t.name, PatternDisplayForm(t.pattern)});
    }
    return tunes;
}

struct Explanation {
    Diagnosis diagnosis;
    QList<TuneMatch> tunes;
};

// The diagnostics of the texts a run left behind, with the dictionary read
// again and, for --detect on a poem that is not regulated verse, the tunes.
std::optional<Explanation> Explain(const Options &o, const ComposeTexts &form, DataStore &store,
                                   QString *error)
{
    RhymeDictionary dict;
    if (!LoadRhymeDictionary(store, o.system, dict, error))
        return std::nullopt;
    const ReadingIndex index(dict);
    DiagnosisInput in;
    in.poem = form.text2;
    in.marks = form.text6;
    in.pattern = form.text5;
    in.tuneName = form.label1;
    in.system = o.system;
    in.strip = RunStripSet(o.annotate, o.system);
    Explanation e;
    e.diagnosis = Diagnose(in, index.Lookup());
    if (o.detect && !e.diagnosis.regulated) {
        // The form of the poem itself, whatever tune is loaded.
        if (!in.pattern.isEmpty()) {
            in.pattern.clear();
            e.diagnosis.regulated = Diagnose(in, index.Lookup()).regulated;
        }
        if (!e.diagnosis.regulated) {
            const QList<TuneCandidate> tunes = ReadTunes(store, error);
            if (!error->isEmpty())
                return std::nullopt;
            e.tunes = RankTunes(e.diagnosis.verses, tunes, 3);
        }
    }
    return e;
}

QJsonObject FormJson(const Explanation &e)
{
    QJsonObject form;
    if (const auto &r = e.diagnosis.regulated) {
        form.insert("kind", "近体诗");
        form.insert("name", r->name);
        form.insert("start", r->levelStart ? "平起" : "仄起");
        form.insert("firstLineRhymes", r->firstLineRhymes);
        form.insert("levelRhyme", r->levelRhyme);
        form.insert("rhyme", r->rhymeGroup);
        form.insert("text", r->Describe());
        return form;
    }
    form.insert("kind", e.diagnosis.uniformLines ? "古体" : "词");
    QJsonArray tunes;
    for (const TuneMatch &t : e.tunes)
        tunes.append(QJsonObject{{"name", t.name}, {"book", t.book},
                                 {"fit", std::round(t.fit * 1000) / 1000}});
    form.insert("tunes", tunes);
    return form;
}

QJsonArray FindingsJson(const QList<Finding> &findings)
{
    QJsonArray out;
    for (const Finding &f : findings)
        out.append(QJsonObject{{"line", f.line + 1},
                               {"position", f.position + 1},
                               {"verse", f.verse + 1},
                               {"kind", f.kind},
                               {"fault", f.fault},
                               {"message", f.message}});
    return out;
}

QString ExplanationView(const Options &o, const Explanation &e)
{
    QString out;
    QTextStream ts(&out);
    if (o.detect) {
        if (const auto &r = e.diagnosis.regulated) {
            ts << "体裁: " << r->Describe() << "\n";
        } else {
            ts << "体裁: " << (e.diagnosis.uniformLines ? "古体" : "词");
            for (qsizetype i = 0; i < e.tunes.size(); ++i)
                ts << "  " << i + 1 << ". " << e.tunes.at(i).name << "（" << e.tunes.at(i).book
                   << " " << QString::number(e.tunes.at(i).fit, 'f', 2) << "）";
            ts << "\n";
        }
    }
    if (o.explain) {
        for (const Finding &f : e.diagnosis.findings) {
            ts << (f.fault ? "误 " : "注 ") << f.line + 1;
            if (f.position >= 0)
                ts << ":" << f.position + 1;
            else
                ts << " 第" << f.verse + 1 << "句";
            ts << "  " << f.kind << "  " << f.message << "\n";
        }
    }
    ts.flush();
    return out;
}

// --backup and --restore of the database in the app folder.
int BackupOrRestore(const Options &o)
{
    const QString appDir = o.appDir.isEmpty() ? AppWriteDir() : o.appDir;
    const QString db = QDir(appDir).absoluteFilePath(DataStore::kFileName);
    QString error;
    if (!o.backup.isEmpty()) {
        if (!BackupDatabase(db, o.backup, &error)) {
            PrintError(error);
            return kExitError;
        }
        PrintOut("备份完毕：" + QDir::toNativeSeparators(QFileInfo(o.backup).absoluteFilePath()) + "\n");
        return 0;
    }
    QString kept;
    if (!RestoreDatabase(o.restore, db, &kept, &error)) {
        PrintError(error);
        return kExitError;
    }
    PrintOut("恢复完毕：" + QDir::toNativeSeparators(db) + "\n");
    if (!kept.isEmpty())
        PrintOut("原来的数据库保留为 " + QDir::toNativeSeparators(kept) + "\n");
    return 0;
}

int Run(const Options &o)
{
    if (o.initials) {
        PrintOut(PinyinInitials(*o.initials) + "\n");
        return 0;
    }
    if (!o.backup.isEmpty() || !o.restore.isEmpty())
        return BackupOrRestore(o);

    QString error;
    const std::optional<QString> poem = ReadBoxText(o.poemFile, &error);
    if (!poem) {
        PrintError(error);
        return kExitError;
    }
    QString pattern;
    if (!o.patternFile.isEmpty()) {
        const std::optional<QString> text = ReadBoxText(o.patternFile, &error);
        if (!text) {
            PrintError(error);
            return kExitError;
        }
        pattern = *text;
    }

    const QString appDir = o.appDir.isEmpty() ? AppWriteDir() : o.appDir;
    if (!QFileInfo(appDir).isDir()) {
        PrintError("no such folder: " + appDir);
        return kExitError;
    }
    DataStore store(StoreLocation{QDir(appDir).absolutePath(), o.seedDir});
    if (!store.Connect()) {
        PrintError(store.LastError());   // says what failed and why, with the file
        return kExitError;
    }
    store.NewRecordset();

    if (!o.book.isEmpty()) {
        const std::optional<QString> text = FetchPattern(store, o.book, o.tune, &error);
        if (!text) {
            PrintError(error);
            return kExitError;
        }
        pattern = *text;
    }

    ComposeTexts form;
    form.text2 = *poem;
    form.text4 = o.title;
    form.text5 = pattern;
    form.label1 = o.tune;
    form.command2 = o.system;

    QString loadError;
    const DictionaryLoader loader = [&](const QString &system, RhymeDictionary &out) {
        return LoadRhymeDictionary(store, system, out, &loadError);
    };
    const bool ok = o.annotate ? RunAnnotation(form, loader) : RunConformanceCheck(form, loader);
    if (!ok) {
        PrintError("无法读取韵书“" + o.system + "”"
                   + (loadError.isEmpty() ? QString() : "：" + loadError));
        return kExitError;
    }

    std::optional<Explanation> explanation;
    if (o.explain || o.detect) {
        QString why;
        explanation = Explain(o, form, store, &why);
        if (!explanation) {
            PrintError("cannot explain: " + why);
            return kExitError;
        }
    }
    QJsonObject extra;
    if (o.explain)
        extra.insert("findings", FindingsJson(explanation->diagnosis.findings));
    if (o.detect)
        extra.insert("form", FormJson(*explanation));
    PrintOut(o.json ? JsonView(form, extra)
                    : ReadableView(o, form) + (explanation ? ExplanationView(o, *explanation) : QString()));
    return 0;
}

}  // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    Options options;
    try {
        options = ParseArguments(QCoreApplication::arguments());
    } catch (const UsageError &e) {
        PrintError(e.message);
        std::fputs(kUsage, stderr);
        return kExitError;
    }
    if (options.help) {
        std::fputs(kUsage, stdout);
        std::fputs(kHelp, stdout);
        return 0;
    }
    return Run(options);
}
