// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagnostics.h"

#include "couplets.h"
#include "diagnostics_p.h"
#include "tuneranking.h"
#include "wordreadings.h"

#include <algorithm>
#include <array>

namespace versilo {

namespace diag {

T ToneOfMark(QChar mark)
{
    switch (mark.unicode()) {
    case u'○': return T::L;
    case u'●': return T::O;
    case u'※': return T::B;
    default: return T::U;
    }
}

void Needs::Reset(const QList<Verse> &verses)
{
    need.clear();
    rhyme.clear();
    why.clear();
    rhymeGroup.clear();
    for (const Verse &v : verses) {
        need.append(QList<Need>(v.chars.size(), Need::None));
        rhyme.append(QList<bool>(v.chars.size(), false));
        why.append(QList<QString>(v.chars.size()));
        rhymeGroup.append(QString());
    }
}

void Needs::Set(int v, int k, Need n, const QString &reason)
{
    if (v < 0 || v >= need.size() || k < 0 || k >= need[v].size())
        return;
    need[v][k] = n;
    why[v][k] = reason;
}

QString Str(char32_t c) { return QString::fromUcs4(&c, 1); }

char32_t OneChar(const QString &text)
{
    const QList<uint> c = text.toUcs4();
    return c.size() == 1 ? char32_t(c.first()) : 0;
}

QString Quote(char32_t c) { return QStringLiteral("「") + Str(c) + QStringLiteral("」"); }

QString ToneWord(T t) { return t == T::L ? QStringLiteral("平") : QStringLiteral("仄"); }

quint32 SectionMask(int g)
{
    // Sections of the level, rising, departing and entering groups in the
    // order of the 108 groups; two digits where a group is split.
    static constexpr std::array<quint8, 108> kFirst{
        1, 1, 2, 3, 3, 3, 4, 4, 3, 5, 3, 6, 6, 6, 7, 7, 7, 8, 8, 8,         // 东 … 豪
        9, 10, 2, 11, 11, 11, 12, 13, 14, 14, 14,                          // 歌 … 咸
        1, 1, 2, 3, 3, 4, 4, 3, 5, 3, 6, 6, 6, 7, 7, 7, 8, 8, 8, 9,        // 董 … 哿
        10, 2, 11, 11, 12, 13, 14, 14, 14,                                 // 马 … 槛
        1, 1, 2, 3, 3, 3, 4, 4, 3, 3, 5, 3, 6, 6, 6, 7, 7, 7, 8, 8,        // 送 … 效
        8, 9, 10, 2, 11, 11, 12, 13, 14, 14, 14,                           // 号 … 陷
        15, 15, 16, 17, 18, 18, 18, 18, 18, 16, 17, 17, 17, 17, 19, 18, 19 // 屋 … 洽
    };
    // The second section of the groups 词林正韵 divides.
    static const QHash<int, int> kSecond{
        {10, 10}, {11, 5}, {14, 7},             // 佳 灰 元
        {40, 10}, {41, 5}, {44, 7},             // 蟹 贿 阮
        {70, 5}, {71, 10}, {72, 5}, {75, 7},    // 泰 卦 队 愿
        {107, 19},                              // 叶
    };
    if (g < 1 || g > 108)
        return 0;
    quint32 mask = 1u << kFirst[size_t(g - 1)];
    if (const auto it = kSecond.constFind(g); it != kSecond.cend())
        mask |= 1u << it.value();
    return mask;
}

QString SectionName(int section)
{
    static const QString kDigits = QStringLiteral("零一二三四五六七八九");
    QString n;
    if (section >= 10) {
        n = (section >= 20 ? QString(kDigits.at(section / 10)) : QString()) + QStringLiteral("十");
        if (section % 10)
            n += kDigits.at(section % 10);
    } else {
        n = kDigits.at(section);
    }
    return QStringLiteral("第") + n + QStringLiteral("部");
}

bool ToneFits(const Reading &r, T want)
{
    switch (want) {
    case T::L: return r.tone != Tone::Oblique;
    case T::O: return r.tone != Tone::Level;
    default: return true;
    }
}

QSet<int> RhymeClasses(const CharReadings &r, T want, bool pingshui, bool sections)
{
    QSet<int> out;
    for (const Reading &reading : r.readings) {
        if (reading.group <= 0 || !ToneFits(reading, want))
            continue;
        if (pingshui && sections) {
            const quint32 mask = SectionMask(reading.group);
            for (int s = 1; s <= 19; ++s) {
                if (mask & (1u << s))
                    out.insert(s);
            }
        } else {
            out.insert(reading.group);
        }
    }
    return out;
}

QString ClassName(int cls, bool sections, const QString &system)
{
    if (sections)
        return SectionName(cls);
    return RhymeGroupName(system, QString::number(cls)) + QStringLiteral("韵");
}

QString GroupNames(const CharReadings &r, T want)
{
    QStringList names;
    for (const Reading &reading : r.readings) {
        if (!reading.groupName.isEmpty() && ToneFits(reading, want)
            && !names.contains(reading.groupName))
            names.append(reading.groupName);
    }
    return names.join(u'、');
}

Finding Make(const QList<Verse> &verses, int v, int k, FindingKind kind, bool fault,
             const QString &message)
{
    Finding f;
    f.verse = v;
    f.line = verses.at(v).line;
    f.position = k < 0 ? -1 : verses.at(v).positions.at(k);
    f.kind = kind;
    f.fault = fault;
    f.message = message;
    return f;
}

namespace {

// Where one verse line ends and the next begins. Characters a run keeps
// (the enumeration comma, a blank) still take their position in the column.
bool IsBreak(char32_t c)
{
    switch (c) {
    case U'，': case U'。': case U'！': case U'？': case U'；': case U'：': case U'、':
    case U',': case U'.': case U'!': case U'?': case U';': case U':':
    case U' ': case U'\u3000': case U'\t':
        return true;
    default:
        return false;
    }
}

bool IsSyllable(char32_t c)
{
    return QChar::script(c) == QChar::Script_Han;
}

// The explanation of a character with both readings that a word settles.
QString SettledReading(const QString &head, const WordReadings::Settled &s, const CharReadings &r,
                       Need need, bool pingshui)
{
    const T tone = s.tone == Tone::Level ? T::L : T::O;
    QString text = head + QStringLiteral("，在「") + s.word + QStringLiteral("」中读")
                   + ToneWord(tone) + QStringLiteral("声");
    if (pingshui) {
        const QString group = GroupNames(r, tone);
        if (!group.isEmpty())
            text += QStringLiteral("（") + group + QStringLiteral("韵）");
    }
    const T want = need == Need::Level ? T::L : need == Need::Oblique ? T::O : T::U;
    if (want != T::U && want != tone)
        text += QStringLiteral("，此处却须") + ToneWord(want) + QStringLiteral("声");
    return text;
}

// The explanation of a character with both readings at one position.
QString BothReadings(char32_t c, const CharReadings &r, Need need, bool rhyme,
                     const QString &reason, const QString &rhymeGroup, bool pingshui,
                     const WordReadings::Settled *byWord)
{
    QString text = Quote(c) + QStringLiteral("平仄两读");
    if (pingshui) {
        const QString level = GroupNames(r, T::L);
        const QString oblique = GroupNames(r, T::O);
        if (!level.isEmpty() && !oblique.isEmpty())
            text += QStringLiteral("（平：%1；仄：%2）").arg(level, oblique);
    }
    if (byWord)
        return SettledReading(text, *byWord, r, need, pingshui);
    switch (need) {
    case Need::Level:
    case Need::Oblique: {
        const T want = need == Need::Level ? T::L : T::O;
        text += QStringLiteral("，此处");
        if (rhyme)
            text += QStringLiteral("为韵脚，");
        text += QStringLiteral("须读") + ToneWord(want) + QStringLiteral("声");
        if (pingshui) {
            // At a rhyme, the reading in the poem's group where it has one.
            QString group = GroupNames(r, want);
            if (rhyme && group.split(u'、').contains(rhymeGroup))
                group = rhymeGroup;
            if (!group.isEmpty())
                text += QStringLiteral("（") + group + QStringLiteral("韵）");
        }
        if (!reason.isEmpty())
            text += QStringLiteral("，") + reason;
        break;
    }
    case Need::Free:
        text += QStringLiteral("，此处平仄不拘");
        break;
    case Need::None:
        break;
    }
    return text;
}

bool FindingLess(const Finding &a, const Finding &b)
{
    if (a.verse != b.verse)
        return a.verse < b.verse;
    return a.position < b.position;
}

}  // namespace

}  // namespace diag

using namespace diag;

// ---- finding kinds ----------------------------------------------------------------

const FindingKind kFindingKinds[23] = {
    FindingKind::OffPattern,     FindingKind::Unopposed,       FindingKind::Unjoined,
    FindingKind::LonelyLevel,    FindingKind::ThreeLevelEnd,   FindingKind::ThreeObliqueEnd,
    FindingKind::Awkward,        FindingKind::SelfRescue,      FindingKind::PartnerRescue,
    FindingKind::SpecialForm,    FindingKind::OutOfRhyme,      FindingKind::NeighbourRhyme,
    FindingKind::RepeatedRhyme,  FindingKind::ObliqueRhyme,    FindingKind::LineLength,
    FindingKind::Breaks,         FindingKind::ExtraLine,       FindingKind::MissingLine,
    FindingKind::TwoReadings,    FindingKind::OtherForm,       FindingKind::Parallel,
    FindingKind::SameSense,      FindingKind::RepeatedWord,
};

QString KindName(FindingKind kind)
{
    switch (kind) {
    case FindingKind::OffPattern: return QStringLiteral("失律");
    case FindingKind::Unopposed: return QStringLiteral("失对");
    case FindingKind::Unjoined: return QStringLiteral("失粘");
    case FindingKind::LonelyLevel: return QStringLiteral("孤平");
    case FindingKind::ThreeLevelEnd: return QStringLiteral("三平尾");
    case FindingKind::ThreeObliqueEnd: return QStringLiteral("三仄尾");
    case FindingKind::Awkward: return QStringLiteral("拗句");
    case FindingKind::SelfRescue: return QStringLiteral("本句自救");
    case FindingKind::PartnerRescue: return QStringLiteral("对句相救");
    case FindingKind::SpecialForm: return QStringLiteral("特拗");
    case FindingKind::OutOfRhyme: return QStringLiteral("出韵");
    case FindingKind::NeighbourRhyme: return QStringLiteral("邻韵");
    case FindingKind::RepeatedRhyme: return QStringLiteral("重韵");
    case FindingKind::ObliqueRhyme: return QStringLiteral("仄韵");
    case FindingKind::LineLength: return QStringLiteral("句长");
    case FindingKind::Breaks: return QStringLiteral("句读");
    case FindingKind::ExtraLine: return QStringLiteral("多句");
    case FindingKind::MissingLine: return QStringLiteral("缺句");
    case FindingKind::TwoReadings: return QStringLiteral("两读");
    case FindingKind::OtherForm: return QStringLiteral("又一体");
    case FindingKind::Parallel: return QStringLiteral("对仗");
    case FindingKind::SameSense: return QStringLiteral("合掌");
    case FindingKind::RepeatedWord: return QStringLiteral("重字");
    }
    return {};
}

std::optional<FindingKind> KindOfName(const QString &name)
{
    for (FindingKind k : kFindingKinds) {
        if (KindName(k) == name)
            return k;
    }
    return std::nullopt;
}

// ---- readings -------------------------------------------------------------------

ReadingIndex::ReadingIndex(const RhymeDictionary &dict) : system_(dict.System())
{
    const bool pingshui = system_ == kPingshui;
    for (const DictionaryRow &row : dict.Rows()) {
        const QList<uint> ucs = row.hanzi.toUcs4();
        if (ucs.size() != 1)
            continue;
        const char32_t c = ucs.first();
        const QChar mark = row.toneNull ? QChar() : ToneMarkOfCode(row.tone);
        const QString name = RhymeGroupName(system_, row.group);
        if (mark.isNull() && name.isEmpty())
            continue;
        Reading reading;
        reading.group = name.isEmpty() ? 0 : row.group.toInt();
        reading.groupName = name;
        if (pingshui && reading.group > 0)
            reading.tone = reading.group <= 31 ? Tone::Level : Tone::Oblique;
        else if (mark == u'○')
            reading.tone = Tone::Level;
        else if (mark == u'●')
            reading.tone = Tone::Oblique;
        CharReadings &entry = map_[c];
        entry.readings.append(reading);
        // The last row with a known code decides the mark, the last with a
        // known group the group name, as in the checks.
        if (!mark.isNull()) {
            entry.mark = mark;
            entry.deciding.tone = reading.tone;
        }
        if (!name.isEmpty()) {
            entry.deciding.group = reading.group;
            entry.deciding.groupName = name;
        }
    }
}

ReadingLookup ReadingIndex::Lookup() const
{
    return [this](char32_t c) { return Of(c); };
}

QString DescribeReadings(char32_t c, const CharReadings &r, const QString &system)
{
    if (r.readings.isEmpty())
        return Quote(c) + QStringLiteral("韵书未收");
    const bool pingshui = system == kPingshui;
    QStringList parts;
    for (const Reading &reading : r.readings) {
        QString part = reading.tone == Tone::Level     ? QStringLiteral("平")
                       : reading.tone == Tone::Oblique ? QStringLiteral("仄")
                                                       : QStringLiteral("平仄");
        if (!reading.groupName.isEmpty())
            part += QStringLiteral("·") + reading.groupName + QStringLiteral("韵");
        if (!parts.contains(part))
            parts.append(part);
    }
    QString text = Quote(c) + QStringLiteral("读音：") + parts.join(QStringLiteral("，"));
    if (!r.mark.isNull()) {
        text += QStringLiteral("。标记「") + r.mark + QStringLiteral("」");
        text += r.readings.size() > 1 ? QStringLiteral("依最后一条读音") : QStringLiteral("依此读音");
        if (!r.deciding.groupName.isEmpty())
            text += QStringLiteral("（") + r.deciding.groupName + QStringLiteral("韵）");
        if (r.mark == u'※')
            text += pingshui ? QStringLiteral("，此字平仄两读") : QStringLiteral("，此字今音平仄两读");
    }
    return text + QStringLiteral("。");
}

// ---- verse lines ------------------------------------------------------------------

StripSet RunStripSet(bool annotation, const QString &system)
{
    if (annotation)
        return StripSet::Full;
    return system == kPingshui ? StripSet::Full : StripSet::Punctuation;
}

QList<Verse> SplitVerses(const QString &poem, const QString &marks, StripSet strip,
                         const ReadingLookup &lookup)
{
    QStringList lines = SplitLines(poem + kCrLf);
    lines.removeLast();   // the empty line SplitLines always ends with
    const QStringList markLines = SplitLines(marks);

    QList<Verse> verses;
    for (qsizetype li = 0; li < lines.size(); ++li) {
        const qsizetype firstVerse = verses.size();
        int pos = 0;
        Verse current;
        current.line = int(li);
        QString piece;
        const auto flushVerse = [&] {
            if (!current.chars.isEmpty())
                verses.append(current);
            current = Verse();
            current.line = int(li);
        };
        const auto flushPiece = [&] {
            for (uint c : NormaliseLine(piece, strip).toUcs4()) {
                if (IsSyllable(c)) {
                    current.positions.append(pos);
                    current.chars.append(c);
                }
                ++pos;
            }
            piece.clear();
        };
        for (uint c : lines.at(li).toUcs4()) {
            if (IsBreak(c)) {
                flushPiece();
                flushVerse();
                piece = Str(c);
                flushPiece();   // a kept break takes its position, nothing else
            } else {
                piece += Str(c);
            }
        }
        flushPiece();
        flushVerse();

        // The marks of the run, where its line has one mark per position.
        const QList<uint> lineMarks = li < markLines.size() ? markLines.at(li).toUcs4() : QList<uint>();
        const bool fits = lineMarks.size() == pos;
        for (qsizetype v = firstVerse; v < verses.size(); ++v) {
            Verse &verse = verses[v];
            for (qsizetype k = 0; k < verse.chars.size(); ++k) {
                QChar mark;
                if (fits)
                    mark = QChar(char16_t(lineMarks.at(verse.positions.at(k))));
                else if (lookup)
                    mark = lookup(verse.chars.at(k)).mark;
                verse.marks.append(mark.isNull() ? kUnknownMark.at(0) : mark);
            }
        }
    }
    return verses;
}

// ---- the diagnosis ------------------------------------------------------------------

QString RegulatedForm::Describe() const
{
    QStringList parts{name, levelStart ? QStringLiteral("平起") : QStringLiteral("仄起"),
                      firstLineRhymes ? QStringLiteral("首句入韵") : QStringLiteral("首句不入韵")};
    if (!levelRhyme)
        parts.append(QStringLiteral("仄韵"));
    if (!rhymeGroup.isEmpty())
        parts.append(rhymeGroup.endsWith(u'部') ? rhymeGroup : rhymeGroup + QStringLiteral("韵"));
    return parts.join(u' ');
}

Diagnosis Diagnose(const DiagnosisInput &in, const ReadingLookup &lookup)
{
    Diagnosis d;
    d.verses = SplitVerses(in.poem, in.marks, in.strip, lookup);
    const QList<Verse> &verses = d.verses;
    if (!verses.isEmpty()) {
        const qsizetype len = verses.first().chars.size();
        d.uniformLines = (len == 5 || len == 7)
                         && std::all_of(verses.begin(), verses.end(),
                                        [len](const Verse &v) { return v.chars.size() == len; });
    }

    // A character with both readings that its word settles is judged in
    // the word's reading; but at the end of a line, where one of its
    // readings rhymes with the end of another line, the rhyme decides
    // (有无间 ends a line rhyming with 山 and 关, whatever 无间 reads).
    const WordReadings &words = in.words ? *in.words : WordReadings::Builtin();
    QList<Verse> read = verses;
    QHash<int, int> endGroups;   // group -> line ends that may rhyme in it
    const auto groupsOf = [&lookup](char32_t c) {
        QSet<int> groups;
        for (const Reading &r : lookup(c).readings) {
            if (r.group > 0)
                groups.insert(r.group);
        }
        return groups;
    };
    for (const Verse &verse : verses) {
        if (!verse.chars.isEmpty()) {
            for (int g : groupsOf(verse.chars.last()))
                ++endGroups[g];
        }
    }
    const auto rhymesWithAnotherEnd = [&](char32_t c) {
        const QSet<int> groups = groupsOf(c);
        return std::any_of(groups.begin(), groups.end(), [&](int g) { return endGroups.value(g) >= 2; });
    };
    QHash<QPair<qsizetype, qsizetype>, WordReadings::Settled> byWord;
    for (qsizetype v = 0; v < read.size(); ++v) {
        Verse &verse = read[v];
        for (qsizetype k = 0; k < verse.chars.size(); ++k) {
            if (verse.marks.at(k) != u'※')
                continue;
            if (k + 1 == verse.chars.size() && rhymesWithAnotherEnd(verse.chars.at(k)))
                continue;
            if (const auto s = words.Settle(verse.chars, int(k))) {
                verse.marks[k] = s->tone == Tone::Level ? QChar(u'○') : QChar(u'●');
                byWord.insert({v, k}, *s);
            }
        }
    }

    Needs needs;
    needs.Reset(read);
    bool judged = false;
    if (!in.pattern.trimmed().isEmpty() && !in.tuneName.isEmpty())
        judged = JudgeCi(read, in.pattern, lookup, in.system, d.findings, needs);
    if (judged) {
        const RhymeSounds sounds = ReadRhymeSounds(read, lookup, in.system);
        NoteOtherForm(read, in.tuneName, in.forms, d.findings, &sounds);
    }
    if (!judged) {
        d.regulated = DetectRegulated(read, lookup, in.system);
        if (d.regulated) {
            JudgeRegulated(read, lookup, in.system, *d.regulated, d.findings, needs);
            d.couplets = JudgeCouplets(read);
            RuleCouplets(read, d.couplets, d.findings);
        }
    }

    // Characters with both readings: which reading the position needs.
    const bool pingshui = in.system == kPingshui;
    for (qsizetype v = 0; v < verses.size(); ++v) {
        const Verse &verse = verses.at(v);
        for (qsizetype k = 0; k < verse.chars.size(); ++k) {
            if (verse.marks.at(k) != u'※')
                continue;
            const CharReadings r = lookup ? lookup(verse.chars.at(k)) : CharReadings();
            d.findings.append(Make(verses, int(v), int(k), FindingKind::TwoReadings, false,
                                   BothReadings(verse.chars.at(k), r, needs.need[v][k],
                                                needs.rhyme[v][k], needs.why[v][k],
                                                needs.rhymeGroup[v], pingshui,
                                                byWord.contains({v, k}) ? &byWord[{v, k}] : nullptr)));
        }
    }
    std::stable_sort(d.findings.begin(), d.findings.end(), FindingLess);
    return d;
}

}  // namespace versilo
