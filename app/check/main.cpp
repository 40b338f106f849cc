// SPDX-License-Identifier: GPL-3.0-or-later
// versilo-check: runs "判断正误" or "判断平仄韵调" on poem files with the
// same engine and the same database as the composition window, and prints
// what the window's boxes would hold afterwards, poem after poem.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextStream>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>
#include <optional>

#include "applocation.h"
#include "couplets.h"
#include "backup.h"
#include "datastore.h"
#include "diagnostics.h"
#include "gateway.h"
#include "initials.h"
#include "patternbooks.h"
#include "poems.h"
#include "prosody.h"
#include "rhymedict.h"
#include "rhymelist.h"
#include "tuneforms.h"

using namespace versilo;

namespace {

// Exit codes, as --help and the manual page list them.
constexpr int kExitOk = 0;          // every poem was checked (faults in a poem are findings, not failures)
constexpr int kExitSomeSkipped = 1; // some inputs were checked, others could not be (empty, unreadable)
constexpr int kExitError = 2;       // wrong usage, an unknown tune, no database, or nothing to check

const char kUsage[] =
    "usage: versilo-check [--app-dir DIR] [--system 中华新韵|平水韵] [--annotate] [--title T]\n"
    "                     [--tune NAME] [--book 常用词谱|白香词谱 | --pattern-file FILE] [--json]\n"
    "                     [--book 钦定词谱 [--form N]]\n"
    "                     [--explain] [--detect] [--split] POEM...\n"
    "       versilo-check --initials TEXT\n"
    "       versilo-check --rhymes GROUP [--system 中华新韵|平水韵] [--tone 平|仄] [--json]\n"
    "       versilo-check [--app-dir DIR] --backup FILE | --restore FILE\n"
    "       versilo-check --help | --version\n";

const char kHelp[] =
    "\n"
    "Runs 判断正误 (or 判断平仄韵调 with --annotate) on every poem given and prints what\n"
    "the composition window would show afterwards.\n"
    "\n"
    "POEM is a file (one verse line or couplet a line), a folder (every file in it and\n"
    "its subfolders, in order of their paths) or - for standard input. Any number may\n"
    "be given; all poems are checked in this one run.\n"
    "  --split            every file holds several poems separated by blank lines; a\n"
    "                     poem's first line is its title when written 《title》 or\n"
    "                     \"# title\", or when it has no punctuation and the next line has\n"
    "  --system S         the rhyme system: 中华新韵 (the default) or 平水韵\n"
    "  --annotate         判断平仄韵调: the tone and the rhyme group of every character\n"
    "  --title T          the title; the window compares a poem with its tune only\n"
    "                     when it has one (a title line of --split takes its place)\n"
    "  --tune NAME        the tune: from --book, from --pattern-file, or else the first\n"
    "                     of 常用词谱 and 白香词谱 that has it; an unknown tune is refused\n"
    "  --book B           the pattern book of --tune: 常用词谱 or 白香词谱, or\n"
    "                     钦定词谱 for every form of a tune the program carries\n"
    "  --form N           with --book 钦定词谱: the Nth form of the tune (1 is the\n"
    "                     正体, 2 on its 又一体); by default the 正体\n"
    "  --pattern-file F   the pattern from a file, one pattern line a line\n"
    "  --explain          the findings behind the marks (JSON key \"findings\"); for a\n"
    "                     律诗 or 排律 the 对仗 of each couplet word by word (JSON key\n"
    "                     \"couplets\")\n"
    "  --detect           the form: the regulated form, or the three tunes whose line\n"
    "                     lengths fit best (JSON key \"form\")\n"
    "  --json             JSON instead of text: the window's boxes by name, \"system\",\n"
    "                     and \"layout\" when a tune is loaded; with several poems one\n"
    "                     object a line, with \"source\" and \"title\"\n"
    "  --app-dir DIR      the database mvtrakp.m in DIR; by default the folder Versilo\n"
    "                     writes into: the program's own folder in a build or a writable\n"
    "                     copy, $XDG_DATA_HOME/versilo (~/.local/share/versilo) installed\n"
    "  --initials TEXT    prints the pinyin initials of TEXT\n"
    "  --rhymes GROUP     lists the characters of a rhyme group, most rhymed by Tang\n"
    "                     and Song poets first, with the neighbouring groups and the\n"
    "                     characters that would break the rhyme set apart (JSON key\n"
    "                     \"rhymeWords\"; --explain --json adds it for the poem's group)\n"
    "  --tone T           with --rhymes: 平 or 仄 (by default the group's own tone)\n"
    "  --backup FILE      writes a copy of the database to FILE (a new file), also\n"
    "                     while Versilo runs\n"
    "  --restore FILE     puts such a copy back after checking that it opens and is\n"
    "                     whole, keeping the database it replaces beside it; refused\n"
    "                     while another program has the database open\n"
    "  --version          prints the version\n"
    "\n"
    "Exit status: 0 every poem was checked (a poem's faults do not change it);\n"
    "1 some poems were checked, some inputs were not (empty or unreadable, named on\n"
    "standard error); 2 wrong usage, an unknown tune or book, a database that cannot\n"
    "be opened or read, or nothing that could be checked.\n";

struct Options {
    QString appDir;
    QString seedDir;          // hidden: seed files for a database that has to be created
    QString system = kNewRhyme;
    bool annotate = false;
    QString title;
    QString tune;
    QString book;
    QString patternFile;
    int form = 0;             // --form: the form of a tune in the 钦定词谱, from 1
    bool json = false;
    bool explain = false;     // the findings of the diagnostics
    bool detect = false;      // the regulated form, or the best tunes
    bool split = false;       // several poems a file, separated by blank lines
    QStringList inputs;
    std::optional<QString> initials;
    std::optional<QString> rhymes;   // a rhyme group to list
    QString tone;                     // its tone: 平 or 仄
    QString backup;           // --backup FILE
    QString restore;          // --restore FILE
    bool help = false;
    bool version = false;
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
        } else if (a == "--version") {
            o.version = true;
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
            if (!IsPatternBook(o.book) && o.book != QString::fromUtf16(kQindingBook))
                throw UsageError{"--book must be 常用词谱, 白香词谱 or 钦定词谱, not \"" + o.book + "\""};
        } else if (a == "--form") {
            bool ok = false;
            o.form = value(i).toInt(&ok);
            if (!ok || o.form < 1)
                throw UsageError{"--form must be a form number from 1, not \"" + args.at(i) + "\""};
        } else if (a == "--pattern-file") {
            o.patternFile = value(i);
        } else if (a == "--json") {
            o.json = true;
        } else if (a == "--explain") {
            o.explain = true;
        } else if (a == "--detect") {
            o.detect = true;
        } else if (a == "--split") {
            o.split = true;
        } else if (a == "--backup") {
            o.backup = value(i);
        } else if (a == "--restore") {
            o.restore = value(i);
        } else if (a == "--initials") {
            o.initials = value(i);
        } else if (a == "--rhymes") {
            o.rhymes = value(i);
        } else if (a == "--tone") {
            o.tone = value(i);
        } else if (a == "-" || !a.startsWith('-')) {
            if (a == "-" && o.inputs.contains(a))
                throw UsageError{"standard input (-) can be read only once"};
            o.inputs.append(a);
        } else {
            throw UsageError{"unknown option " + a};
        }
    }
    if (o.initials || o.rhymes)
        return o;
    if (!o.backup.isEmpty() || !o.restore.isEmpty()) {
        if (!o.backup.isEmpty() && !o.restore.isEmpty())
            throw UsageError{"--backup and --restore exclude each other"};
        if (!o.inputs.isEmpty())
            throw UsageError{"--backup and --restore take no poem file"};
        return o;
    }
    if (o.inputs.isEmpty())
        throw UsageError{"no poem file given"};
    if (!o.book.isEmpty() && !o.patternFile.isEmpty())
        throw UsageError{"--book and --pattern-file exclude each other"};
    if (!o.book.isEmpty() && o.tune.isEmpty())
        throw UsageError{"--book needs --tune to name the tune"};
    if (o.form > 0 && o.book != QString::fromUtf16(kQindingBook))
        throw UsageError{"--form needs --book 钦定词谱"};
    return o;
}

// The tune a run holds poems against: its pattern as the pattern browser
// lays it out in Text5, and the tune's own advice on laying out a poem.
struct LoadedTune {
    QString pattern;
    QString instruction;
};

// The house advice of the pattern books, for a pattern that carries none.
const QString kOneClauseALine = QStringLiteral("填写时请一句一行：每个逗号、句号处换行。");

QString InstructionOf(const QString &explanation)
{
    for (const QString &piece : explanation.split(u'-')) {
        if (piece.contains(QStringLiteral("一句一行")))
            return piece;
    }
    return kOneClauseALine;
}

// The tune named by --tune in --book, or in the first book that has it.
std::optional<LoadedTune> FetchTune(DataStore &store, const QString &book, const QString &tune,
                                    int form, QString *error)
{
    if (book == QString::fromUtf16(kQindingBook)) {
        // Every form of the tune, from the table the program carries.
        const QList<const TuneForm *> forms = TuneForms::Builtin().Of(tune);
        const TuneForm *chosen = TuneForms::Builtin().Find(tune, form > 0 ? form : 1);
        if (forms.isEmpty())
            *error = "no tune \"" + tune + "\" in " + book;
        else if (!chosen)
            *error = QStringLiteral("no form %1 of \"%2\" in %3: it has %4")
                         .arg(form).arg(tune, book).arg(forms.size());
        if (!chosen)
            return std::nullopt;
        return LoadedTune{chosen->Display(), kOneClauseALine};
    }
    const QStringList books = book.isEmpty() ? QStringList{kCommonBook, kBaixiangBook} : QStringList{book};
    for (const QString &b : books) {
        TuneRow row;
        QString why;
        if (FindTune(store.Rs(), b, tune, row, &why))
            return LoadedTune{PatternDisplayForm(row.pattern), InstructionOf(row.explanation)};
        if (!why.isEmpty()) {
            *error = "无法读取词谱“" + b + "”：" + why;
            return std::nullopt;
        }
    }
    *error = "no tune \"" + tune + "\" in " + books.join(" or ");
    return std::nullopt;
}

// Whether the lines of a poem stand one to one for the lines of its tune's
// pattern: the comparison holds them line by line.
struct Layout {
    int poemLines = 0;    // lines with something to mark
    int tuneLines = 0;    // lines of the pattern
    int firstOff = -1;    // line of the poem box where the two part, from 0; -1 they agree
};

Layout CompareLayout(const QString &poem, const QString &pattern)
{
    Layout l;
    QList<int> poemLines;        // box line of every line with characters
    QList<qsizetype> poemLengths;
    const QStringList lines = SplitLines(poem + kCrLf);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString kept = NormaliseLine(lines.at(i), StripSet::Full).trimmed();
        if (!kept.isEmpty()) {
            poemLines.append(int(i));
            poemLengths.append(qsizetype(CodePoints(kept).size()));
        }
    }
    QList<qsizetype> tuneLengths;
    for (const QString &line : SplitLines(pattern)) {
        if (!line.trimmed().isEmpty())
            tuneLengths.append(qsizetype(CodePoints(line.trimmed()).size()));
    }
    l.poemLines = int(poemLines.size());
    l.tuneLines = int(tuneLengths.size());
    if (l.poemLines == l.tuneLines)
        return l;
    const qsizetype paired = std::min(poemLines.size(), tuneLengths.size());
    qsizetype i = 0;
    while (i < paired && poemLengths.at(i) == tuneLengths.at(i))
        ++i;
    l.firstOff = i < poemLines.size() ? poemLines.at(i) : (poemLines.isEmpty() ? 0 : poemLines.last());
    return l;
}

QString LayoutMessage(const Layout &l, const LoadedTune &tune)
{
    return QStringLiteral("诗有%1行，词谱有%2句，不能逐行对照。%3")
        .arg(l.poemLines)
        .arg(l.tuneLines)
        .arg(tune.instruction);
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
    // Both checks count a last line without its own line break; a line
    // break at the end of the file opens no further row.
    QStringList poem = SplitLines(form.text2 + kCrLf);
    while (!poem.isEmpty() && poem.last().isEmpty())
        poem.removeLast();
    const QStringList marks = SplitLines(form.text6);
    const QStringList results = SplitLines(form.text8);
    const int width = int(QString::number(poem.size()).size());
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

QJsonObject BoxesJson(const ComposeTexts &form)
{
    return {{"Text2", form.text2}, {"Text5", form.text5}, {"Label1", form.label1},
            {"Label2", form.label2}, {"Label3", form.label3}, {"Text6", form.text6},
            {"Text8", form.text8}};
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

// Lines all of five or seven syllables are 古体 unless they fit a tune the
// 钦定词谱 knows (浣溪沙, 生查子, 玉楼春 …).
const char *PoemKind(const Explanation &e)
{
    const bool tune = !e.tunes.isEmpty() && e.tunes.first().fits
                      && !TuneForms::Builtin().Of(e.tunes.first().name).isEmpty();
    return e.diagnosis.uniformLines && !tune ? "古体" : "词";
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
    form.insert("kind", PoemKind(e));
    QJsonArray tunes;
    for (const TuneMatch &t : e.tunes)
        tunes.append(QJsonObject{{"name", t.name}, {"book", t.book},
                                 {"fit", std::round(t.fit * 1000) / 1000}});
    form.insert("tunes", tunes);
    return form;
}

// The findings, and first of all the one that the poem's lines do not
// stand for the tune's.
QJsonArray FindingsJson(const QList<Finding> &findings, const std::optional<QString> &layout,
                        int layoutLine)
{
    QJsonArray out;
    if (layout)
        out.append(QJsonObject{{"line", layoutLine + 1}, {"position", 0}, {"verse", 0},
                               {"kind", "分行"}, {"fault", true}, {"message", *layout}});
    for (const Finding &f : findings)
        out.append(QJsonObject{{"line", f.line + 1},
                               {"position", f.position + 1},
                               {"verse", f.verse + 1},
                               {"kind", KindName(f.kind)},
                               {"fault", f.fault},
                               {"message", f.message}});
    return out;
}

// ---- 对仗 -------------------------------------------------------------------------

QString CoupletVerdict(const Couplet &c)
{
    return c.parallel ? (c.strict ? QStringLiteral("工对") : QStringLiteral("宽对")) : QStringLiteral("不对仗");
}

QJsonArray CoupletsJson(const QList<Couplet> &couplets, const QList<Verse> &verses)
{
    QJsonArray out;
    for (const Couplet &c : couplets) {
        QJsonArray pairs;
        for (const FacingPair &p : c.pairs)
            pairs.append(QJsonObject{{"position", p.out.start + 1},
                                     {"out", p.out.text},
                                     {"in", p.in.text},
                                     {"outClass", p.out.label},
                                     {"inClass", p.in.label},
                                     {"facing", FacingName(p.facing)}});
        QJsonArray repeated;
        for (int k : c.repeated)
            repeated.append(k + 1);
        out.append(QJsonObject{{"couplet", c.name},
                               {"verses", QJsonArray{c.first + 1, c.first + 2}},
                               {"lines", QJsonArray{verses.at(c.first).line + 1, verses.at(c.first + 1).line + 1}},
                               {"mustFace", c.mustFace},
                               {"parallel", c.parallel},
                               {"verdict", CoupletVerdict(c)},
                               {"sameSense", c.sameSense},
                               {"repeated", repeated},
                               {"pairs", pairs}});
    }
    return out;
}

// "对仗: 颔联 宽对  明月—清泉（名·天文／名·地理）、…", one line per couplet.
QString CoupletsText(const QList<Couplet> &couplets)
{
    QString out;
    for (const Couplet &c : couplets)
        out += "对仗: " + c.name + " " + CoupletVerdict(c) + (c.sameSense ? QStringLiteral(" 合掌") : QString())
               + "  " + DescribePairs(c) + "\n";
    return out;
}

// The form and the findings; `layoutFinding`, when there is one, first.
QString ExplanationView(const Options &o, const Explanation &e, const QString &layoutFinding)
{
    QString out;
    QTextStream ts(&out);
    if (o.detect) {
        if (const auto &r = e.diagnosis.regulated) {
            ts << "体裁: " << r->Describe() << "\n";
        } else {
            ts << "体裁: " << PoemKind(e);
            for (qsizetype i = 0; i < e.tunes.size(); ++i)
                ts << "  " << i + 1 << ". " << e.tunes.at(i).name << "（" << e.tunes.at(i).book
                   << " " << QString::number(e.tunes.at(i).fit, 'f', 2) << "）";
            ts << "\n";
        }
    }
    if (o.explain) {
        ts << layoutFinding;
        for (const Finding &f : e.diagnosis.findings) {
            ts << (f.fault ? "误 " : "注 ") << f.line + 1;
            if (f.position >= 0)
                ts << ":" << f.position + 1;
            else
                ts << " 第" << f.verse + 1 << "句";
            ts << "  " << KindName(f.kind) << "  " << f.message << "\n";
        }
    }
    ts.flush();
    return out;
}

// Checks poem after poem on one database: the dictionary, its readings and
// the tunes are read once for the whole run.
class Checker {
public:
    Checker(const Options &o, DataStore &store, std::optional<LoadedTune> tune, bool several)
        : o_(o), store_(store), tune_(std::move(tune)), several_(several)
    {
    }

    // Prints the result of one poem; false (and *error) when the database
    // fails, which ends the run.
    bool Check(const check::PoemInput &poem, QString *error);

private:
    bool Dictionary(const QString &system, const RhymeDictionary **out, QString *error);
    std::optional<Explanation> Explain(const ComposeTexts &form, QString *error);
    // The rhyme words of the group the poem rhymes in, on the dictionaries
    // already read (after Explain); nothing when there are none to give.
    std::optional<RhymeWords> RhymeWordsOf(const QList<Verse> &verses);

    const Options &o_;
    DataStore &store_;
    std::optional<LoadedTune> tune_;
    bool several_;
    std::map<QString, RhymeDictionary> dictionaries_;
    std::optional<ReadingIndex> index_;
    std::optional<QList<TuneCandidate>> tunes_;
    RhymeListsMade rhymeLists_;
};

std::optional<RhymeWords> Checker::RhymeWordsOf(const QList<Verse> &verses)
{
    const RhymeDictionary *dict = nullptr;
    const RhymeDictionary *other = nullptr;
    QString unread;   // a dictionary that cannot be read gives no list
    if (!index_ || !Dictionary(o_.system, &dict, &unread) || !Dictionary(OtherSystem(o_.system), &other, &unread))
        return std::nullopt;
    return PoemRhymeWords(*dict, *other, index_->Lookup(), verses, 30, rhymeLists_);
}

bool Checker::Dictionary(const QString &system, const RhymeDictionary **out, QString *error)
{
    auto it = dictionaries_.find(system);
    if (it == dictionaries_.end()) {
        // The marks of a plain check need the lookups alone; the findings
        // and the form go through every reading of every row.
        const DictionaryKeep keep = o_.explain || o_.detect ? DictionaryKeep::Rows
                                                            : DictionaryKeep::LookupsOnly;
        RhymeDictionary dict(system);
        if (!LoadRhymeDictionary(store_, system, dict, error, keep))
            return false;
        it = dictionaries_.emplace(system, std::move(dict)).first;
    }
    *out = &it->second;
    return true;
}

// The diagnostics of the texts a run left behind and, for --detect on a
// poem that is not regulated verse, the tunes that fit best.
std::optional<Explanation> Checker::Explain(const ComposeTexts &form, QString *error)
{
    if (!index_) {
        const RhymeDictionary *dict = nullptr;
        if (!Dictionary(o_.system, &dict, error))
            return std::nullopt;
        index_.emplace(*dict);
    }
    const ReadingLookup lookup = index_->Lookup();
    DiagnosisInput in;
    in.poem = form.text2;
    in.marks = form.text6;
    in.pattern = form.text5;
    in.tuneName = form.label1;
    in.system = o_.system;
    in.strip = RunStripSet(o_.annotate, o_.system);
    Explanation e;
    e.diagnosis = Diagnose(in, lookup);
    if (o_.detect && !e.diagnosis.regulated) {
        // The form of the poem itself, whatever tune is loaded.
        if (!in.pattern.isEmpty()) {
            in.pattern.clear();
            Diagnosis plain = Diagnose(in, lookup);
            e.diagnosis.regulated = std::move(plain.regulated);
            e.diagnosis.couplets = std::move(plain.couplets);
        }
        if (!e.diagnosis.regulated) {
            if (!tunes_) {
                QString why;
                QList<TuneCandidate> tunes = ReadTunes(store_, &why);
                if (!why.isEmpty()) {
                    *error = why;
                    return std::nullopt;
                }
                tunes_ = std::move(tunes);
            }
            e.tunes = RankTunes(e.diagnosis.verses, *tunes_, 3, nullptr, lookup, o_.system);
        }
    }
    return e;
}

bool Checker::Check(const check::PoemInput &poem, QString *error)
{
    ComposeTexts form;
    form.text2 = poem.text;
    form.text4 = poem.title.isEmpty() ? o_.title : poem.title;
    form.text5 = tune_ ? tune_->pattern : QString();
    form.label1 = o_.tune;
    form.command2 = o_.system;

    // One load of the dictionary serves every poem of the run.
    QString loadError;
    const RhymeDictionary *dict = nullptr;
    if (!Dictionary(o_.system, &dict, &loadError)) {
        *error = "无法读取韵书“" + o_.system + "”" + (loadError.isEmpty() ? QString() : "：" + loadError);
        return false;
    }
    if (o_.annotate)
        RunAnnotationWith(form, *dict);
    else
        RunConformanceCheckWith(form, *dict);

    std::optional<Explanation> explanation;
    if (o_.explain || o_.detect) {
        QString why;
        explanation = Explain(form, &why);
        if (!explanation) {
            *error = "cannot explain: " + why;
            return false;
        }
    }

    // A tune's pattern is compared line by line: say when the lines of the
    // poem do not stand one to one for the tune's.
    std::optional<QString> layoutMessage;
    Layout layout;
    const bool againstTune = !o_.annotate && tune_ && !form.label1.isEmpty();
    if (againstTune) {
        layout = CompareLayout(form.text2, tune_->pattern);
        if (layout.firstOff >= 0) {
            layoutMessage = LayoutMessage(layout, *tune_);
            PrintError((several_ ? poem.source + ": " : QString()) + *layoutMessage);
        }
    }
    if (againstTune && form.text4.isEmpty())
        PrintError((several_ ? poem.source + ": " : QString())
                   + "no title (--title): the poem is not compared with the tune, as the "
                     "composition window compares only a poem with a title");

    if (o_.json) {
        QJsonObject obj = BoxesJson(form);
        obj.insert("system", o_.system);
        if (several_) {
            obj.insert("source", poem.source);
            obj.insert("title", form.text4);
        }
        if (againstTune)
            obj.insert("layout", QJsonObject{{"poemLines", layout.poemLines},
                                             {"tuneLines", layout.tuneLines},
                                             {"oneToOne", !layoutMessage.has_value()},
                                             {"instruction", tune_->instruction}});
        if (o_.explain)
            obj.insert("findings", FindingsJson(explanation->diagnosis.findings, layoutMessage,
                                                layout.firstOff));
        if (o_.detect)
            obj.insert("form", FormJson(*explanation));
        if (o_.explain) {
            // The rhyme words of the group the poem rhymes in.
            if (const auto words = RhymeWordsOf(explanation->diagnosis.verses))
                obj.insert("rhymeWords", RhymeWordsJson(*words));
            if (const QList<Couplet> &couplets = explanation->diagnosis.couplets; !couplets.isEmpty())
                obj.insert("couplets", CoupletsJson(couplets, explanation->diagnosis.verses));
        }
        const QJsonDocument doc(obj);
        PrintOut(several_ ? QString::fromUtf8(doc.toJson(QJsonDocument::Compact)) + "\n"
                          : QString::fromUtf8(doc.toJson(QJsonDocument::Indented)));
        return true;
    }
    QString text;
    if (several_)
        text += "==> " + poem.source + (poem.title.isEmpty() ? QString() : " 《" + poem.title + "》")
                + " <==\n";
    text += ReadableView(o_, form);
    if (layoutMessage)
        text += "分行: " + *layoutMessage + "\n";
    if (explanation)
        text += ExplanationView(o_, *explanation,
                                layoutMessage ? "误 " + QString::number(layout.firstOff + 1) + "  分行  "
                                                    + *layoutMessage + "\n"
                                              : QString());
    if (explanation && o_.explain)
        text += CoupletsText(explanation->diagnosis.couplets);
    if (several_)
        text += "\n";
    PrintOut(text);
    return true;
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
        return kExitOk;
    }
    if (o.rhymes)
        return PrintRhymeList({o.appDir, o.seedDir, o.system, *o.rhymes, o.tone, o.json});
    if (!o.backup.isEmpty() || !o.restore.isEmpty())
        return BackupOrRestore(o);

    // Every poem first, so that a wrong name is told before any work.
    QStringList missing;
    const QStringList files = check::ExpandInputs(o.inputs, &missing);
    for (const QString &m : missing)
        PrintError("cannot read " + m + ": no such file or folder");
    if (!missing.isEmpty() && files.isEmpty())
        return kExitError;
    bool skipped = !missing.isEmpty();
    QList<check::PoemInput> poems;
    QString error;
    for (const QString &file : files) {
        const std::optional<QString> text = check::ReadBoxText(file, &error);
        if (!text) {
            PrintError(error);
            skipped = true;
            continue;
        }
        const QString name = file == "-" ? QStringLiteral("standard input") : file;
        if (check::IsBlankText(*text)) {
            PrintError(name + " is empty: there is no poem to check");
            skipped = true;
            continue;
        }
        if (o.split)
            poems.append(check::SplitPoems(*text, file));
        else
            poems.append(check::PoemInput{file, QString(), *text});
    }
    if (poems.isEmpty()) {
        if (files.isEmpty())
            PrintError("no poem files in " + o.inputs.join(", "));
        return kExitError;
    }

    std::optional<LoadedTune> tune;
    if (!o.patternFile.isEmpty()) {
        const std::optional<QString> text = check::ReadBoxText(o.patternFile, &error);
        if (!text) {
            PrintError(error);
            return kExitError;
        }
        tune = LoadedTune{*text, kOneClauseALine};
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
    // A damaged file (a copy taken without its journal after a crash, a
    // truncated one) is reported, never read as if it were whole.
    if (QString damage; !store.CheckIntegrity(&damage)) {
        PrintError(damage);
        return kExitError;
    }
    store.NewRecordset();

    if (!o.tune.isEmpty() && o.patternFile.isEmpty()) {
        tune = FetchTune(store, o.book, o.tune, o.form, &error);
        if (!tune) {
            PrintError(error);
            return kExitError;
        }
    }

    // A run that may give many poems prints them as many, even when there is one.
    const bool several = o.split || files.size() > 1
                         || std::any_of(o.inputs.begin(), o.inputs.end(),
                                        [](const QString &a) { return QFileInfo(a).isDir(); });
    Checker checker(o, store, tune, several);
    for (const check::PoemInput &poem : poems) {
        if (!checker.Check(poem, &error)) {
            PrintError(error);
            return kExitError;
        }
    }
    return skipped ? kExitSomeSkipped : kExitOk;
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
        return kExitOk;
    }
    if (options.version) {
        std::fputs("versilo-check " VERSILO_VERSION "\n", stdout);
        return kExitOk;
    }
    return Run(options);
}
