// SPDX-License-Identifier: GPL-3.0-or-later
// Explanations beyond the marks: which form a poem has, which rhyme it keeps,
// and why a mark is wrong.
//
// The engine is pure. It reads the texts a check leaves behind (the poem, its
// tone marks, the pattern of a loaded tune) and the readings of every
// character through a lookup function, and returns findings: a line, a
// position, a kind and one short Chinese sentence. Positions are those of
// the tone column: line k of the poem box, mark n of that line, from 0.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <functional>
#include <optional>

#include "prosody.h"
#include "rhymedict.h"

namespace versilo {

// ---- readings -----------------------------------------------------------------

enum class Tone : quint8 { Level, Oblique, Either };

// One dictionary row of a character, as a reading.
struct Reading {
    Tone tone = Tone::Either;
    int group = 0;        // rhyme-group number, 0 when the row has none
    QString groupName;    // its display name, "" when none
};

struct CharReadings {
    QList<Reading> readings;   // every row with a known tone or group, in load order
    QChar mark;                // the ToneMark the checks show; null when unknown
    Reading deciding;          // the reading that decided the mark and the group name
};

using ReadingLookup = std::function<CharReadings(char32_t)>;

// Every reading of every character of a loaded dictionary, by code point.
// Under 平水韵 the tone of a reading follows from its group (1 to 31 level);
// under 中华新韵, and for a row without a group, from the row's tone code.
class ReadingIndex {
public:
    ReadingIndex() = default;
    explicit ReadingIndex(const RhymeDictionary &dict);

    const QString &System() const { return system_; }
    CharReadings Of(char32_t c) const { return map_.value(c); }
    // A lookup that refers to this index; the index must outlive it.
    ReadingLookup Lookup() const;

private:
    QString system_;
    QHash<char32_t, CharReadings> map_;
};

// ---- verse lines ------------------------------------------------------------------

// One verse line (句): the syllables between two breaks (a line break or
// punctuation), with their places in the tone column.
struct Verse {
    int line = 0;               // line of the poem box, from 0
    QList<int> positions;       // mark position of each syllable within that line
    QList<char32_t> chars;
    QString marks;              // one ToneMark per syllable ("空" when unknown)
};

// The verse lines of a poem as the run with the given strip set marked it.
// `marks` is the tone column of that run; where a line of it does not fit,
// the marks come from the lookup.
QList<Verse> SplitVerses(const QString &poem, const QString &marks, StripSet strip,
                         const ReadingLookup &lookup);

// The strip set a run used: the annotation strips fully, the conformance
// check by rhyme system.
StripSet RunStripSet(bool annotation, const QString &system);

// ---- findings ---------------------------------------------------------------------

// What a finding is about. The names KindName gives are what the writer
// reads and what the JSON output carries.
enum class FindingKind : quint8 {
    OffPattern,        // 失律: a position against the pattern
    Unopposed,         // 失对: a couplet's lines not opposed
    Unjoined,          // 失粘: two couplets not joined
    LonelyLevel,       // 孤平
    ThreeLevelEnd,     // 三平尾
    ThreeObliqueEnd,   // 三仄尾
    Awkward,           // 拗句: a swapped tone not rescued
    SelfRescue,        // 本句自救
    PartnerRescue,     // 对句相救
    SpecialForm,       // 特拗
    OutOfRhyme,        // 出韵
    NeighbourRhyme,    // 邻韵
    RepeatedRhyme,     // 重韵
    ObliqueRhyme,      // 仄韵
    LineLength,        // 句长
    Breaks,            // 句读
    ExtraLine,         // 多句
    MissingLine,       // 缺句
    TwoReadings,       // 两读
    OtherForm,         // 又一体: the ci fits another form of the tune
    Parallel,          // 对仗: a couplet that faces or fails to
    SameSense,         // 合掌: a couplet's lines saying one thing
    RepeatedWord,      // 重字: one character facing itself
};

// Every kind, in the order above.
extern const FindingKind kFindingKinds[23];

// "失律", "孤平", …
QString KindName(FindingKind kind);
// The kind of that name; nothing for an unknown name.
std::optional<FindingKind> KindOfName(const QString &name);

struct Finding {
    int line = 0;         // line of the poem box (and of Text6 and Text8), from 0
    int position = -1;    // mark position within the line, from 0; -1: the whole verse line
    int verse = 0;        // verse line, from 0
    FindingKind kind = FindingKind::OffPattern;
    bool fault = true;    // false: a note, nothing to mend
    QString message;

    bool operator==(const Finding &) const = default;
};

struct RegulatedForm {
    QString name;               // 五绝 七绝 五律 七律 五言排律 七言排律
    bool levelStart = false;    // 平起 (the second character of the first line is level)
    bool firstLineRhymes = false;
    bool levelRhyme = true;     // false: the rhymes are oblique
    QString rhymeGroup;         // display name of the group the rhymes keep ("" unknown)

    // "七律 仄起 首句入韵 阳韵"
    QString Describe() const;
};

struct DiagnosisInput {
    QString poem;          // the poem box after the run
    QString marks;         // the tone column after the run ("": marks from the lookup)
    QString pattern;       // the pattern box, display form ("": no tune)
    QString tuneName;      // the tune name label
    QString system;        // 中华新韵 or 平水韵
    StripSet strip = StripSet::Full;
    // The words that settle a character with both readings; nullptr: the
    // table the program carries.
    const class WordReadings *words = nullptr;
    // Every form of the tunes, for saying which one a ci that departs from
    // the loaded pattern fits; nullptr: the 钦定词谱 the program carries.
    const class TuneForms *forms = nullptr;
};

// ---- 对仗: the couplets of a 律诗 or 排律, word by word -----------------------------

// How two facing words match.
enum class Facing : quint8 { Strict, Loose, None };   // 工对, 宽对, 不对

struct CoupletWord {
    QString text;
    int start = 0;         // syllable of the line it starts at, from 0
    QString label;         // the class it faces in, "名·天文"; "" when unknown
};

struct FacingPair {
    CoupletWord out;       // in the first line (出句)
    CoupletWord in;        // in the second line (对句)
    Facing facing = Facing::None;
    bool usage = false;    // faces because the poets faced it, not by class
};

struct Couplet {
    int first = 0;          // verse line of the 出句, from 0
    QString name;           // 首联 颔联 颈联 尾联; 第三联 … in the middle of a 排律
    bool mustFace = false;  // the middle couplets
    bool parallel = false;
    bool strict = false;    // 工对: every pair faces, most of them strictly
    bool sameSense = false; // 合掌
    int misses = 0;         // syllables that face nothing of their class
    int cost = 0;           // 2 a syllable that faces nothing, 1 one that faces by leave
    int faced = 0;          // syllables whose two characters the poets face, or face
                            // with many of the same characters
    int unfaced = 0;        // syllables of two common characters poets never faced
    QList<FacingPair> pairs;
    QList<int> repeated;    // syllables where both lines have the same character
};

struct Diagnosis {
    QList<Verse> verses;
    QList<Finding> findings;                // by verse, then position
    std::optional<RegulatedForm> regulated; // set when the poem reads as regulated verse
    bool uniformLines = false;              // every verse line of 5 or 7 syllables alike
    QList<Couplet> couplets;                // of a 律诗 or 排律 read as regulated, word by word
};

// With a tune loaded the poem is held against it as a ci; otherwise a poem of
// regulated shape is judged as regulated verse. Characters with both
// readings are explained in every case.
Diagnosis Diagnose(const DiagnosisInput &in, const ReadingLookup &lookup);

// Only the form of a poem of regulated shape, nothing else.
std::optional<RegulatedForm> DetectRegulated(const QList<Verse> &verses,
                                             const ReadingLookup &lookup,
                                             const QString &system);

// ---- tunes ---------------------------------------------------------------------------

struct TuneCandidate {
    QString book;
    QString name;
    QString pattern;   // display form, one pattern line per text line
};

struct TuneMatch {
    QString book;
    QString name;
    double fit = 0;    // 1 when every line length agrees
    int form = 0;      // the 钦定词谱 form that fits best, from 1; 0: the book's own pattern
    bool fits = false; // every line meets the form, and the tones and rhymes mostly agree
};

// The tunes that fit the verse lines best, best first, one entry per tune
// name, at most `count`. Each tune is held in its book's pattern and in
// every form the reference gives under its name (nullptr: the 钦定词谱 the
// program carries): first by line lengths, then by how well the tones and
// the tones of the rhymes agree, and, given the readings of the rhyme
// system, whether the words on the rhyme positions rhyme with each other.
QList<TuneMatch> RankTunes(const QList<Verse> &verses, const QList<TuneCandidate> &tunes,
                           int count = 3, const class TuneForms *reference = nullptr,
                           const ReadingLookup &lookup = {}, const QString &system = {});

// What the tooltip says about a character: its readings and the one that
// decided its mark.
QString DescribeReadings(char32_t c, const CharReadings &r, const QString &system);

}  // namespace versilo
