// SPDX-License-Identifier: GPL-3.0-or-later
#include "rhymewords.h"

#include "diagnostics_p.h"

#include "seedtext.h"

#include <QHash>
#include <QMap>
#include <QSet>
#include <algorithm>
#include <map>

namespace versilo {

namespace {

// How many of the group's most used words decide which groups of the other
// system sound like it, and the share of their uses a group needs for that.
constexpr int kCoreWords = 30;
constexpr double kAlikeShare = 0.15;

bool Fits(const QString &code, Tone want)
{
    if (code == u"2" || want == Tone::Either)
        return code == u"0" || code == u"1" || code == u"2";
    return code == (want == Tone::Level ? u"0" : u"1");
}

// The characters of each group that fit the tone, in dictionary order, once
// each; and how many rows of each group are level and oblique.
// By group number, so that lists built from them come out in one order on
// every run (ties of use keep the order of the groups).
struct Members {
    QMap<int, QList<char32_t>> of;
    QMap<int, QSet<char32_t>> set;
    QMap<int, std::pair<int, int>> tones;   // level rows, oblique rows
    QHash<char32_t, QList<int>> groupsOf;   // the groups of each character, ascending
};

Members CollectMembers(const RhymeDictionary &dict, Tone want)
{
    Members m;
    for (const DictionaryRow &row : dict.Rows()) {
        bool ok = false;
        const int g = row.group.toInt(&ok);
        const char32_t c = diag::OneChar(row.hanzi);
        if (!ok || g <= 0 || c == 0)
            continue;
        auto &t = m.tones[g];
        if (row.tone == u"0")
            ++t.first;
        else if (row.tone == u"1")
            ++t.second;
        if (!Fits(row.tone, want))
            continue;
        if (!m.set[g].contains(c)) {
            m.set[g].insert(c);
            m.of[g].append(c);
            m.groupsOf[c].append(g);
        }
    }
    for (QList<int> &groups : m.groupsOf)
        std::sort(groups.begin(), groups.end());
    return m;
}

Tone MajorityTone(const std::pair<int, int> &t)
{
    return t.first >= t.second ? Tone::Level : Tone::Oblique;
}

void SortByUse(QList<RhymeWord> &words)
{
    std::stable_sort(words.begin(), words.end(),
                     [](const RhymeWord &a, const RhymeWord &b) { return a.count > b.count; });
}

void Cap(QList<RhymeWord> &words, int limit)
{
    if (limit > 0 && words.size() > limit)
        words.resize(limit);
}

}  // namespace

// ---- usage table ------------------------------------------------------------------

const RhymeUsage &RhymeUsage::Builtin()
{
    static const RhymeUsage table = FromText(BuiltinSeedText(QStringLiteral("韵字频次")));
    return table;
}

RhymeUsage RhymeUsage::FromText(const QString &tsv)
{
    RhymeUsage out;
    const TsvRows table = ParseTsv(tsv);
    const qsizetype sys = table.Column(QStringLiteral("韵书"));
    const qsizetype grp = table.Column(QStringLiteral("韵调"));
    const qsizetype tone = table.Column(QStringLiteral("平仄"));
    const qsizetype chr = table.Column(QStringLiteral("汉字"));
    const qsizetype cnt = table.Column(QStringLiteral("次数"));
    if (sys < 0 || grp < 0 || tone < 0 || chr < 0 || cnt < 0)
        return out;
    for (const QStringList &f : table.rows) {
        bool okGroup = false;
        bool okCount = false;
        const int g = f.at(grp).toInt(&okGroup);
        const int n = f.at(cnt).toInt(&okCount);
        const char32_t c = diag::OneChar(f.at(chr));
        const QString &t = f.at(tone);
        if (!okGroup || !okCount || g <= 0 || n < 0 || c == 0 || (t != u"0" && t != u"1"))
            continue;
        out.Add(f.at(sys), g, t == u"0" ? Tone::Level : Tone::Oblique, c, n);
    }
    return out;
}

void RhymeUsage::Add(const QString &system, int group, Tone tone, char32_t c, int count)
{
    if (tone == Tone::Either)
        return;
    counts_[Key(system, group, tone)][c] += count;
}

int RhymeUsage::Count(const QString &system, int group, Tone tone, char32_t c) const
{
    if (tone == Tone::Either)
        return Count(system, group, Tone::Level, c) + Count(system, group, Tone::Oblique, c);
    const auto it = counts_.constFind(Key(system, group, tone));
    return it == counts_.cend() ? 0 : it->value(c);
}

// ---- the lists ------------------------------------------------------------------

int RhymeGroupNumber(const QString &system, const QString &name)
{
    const QString text = name.trimmed();
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (ok)
        return RhymeGroupName(system, QString::number(n)).isEmpty() ? 0 : n;
    // "十一庚" and "上平一东" name the group by their last character. Under
    // 平水韵 a poet names four groups by the rhyme books' characters, which
    // the dictionary shows by others: 庚 is 筐, 寘 置, 祃 驾, 箇 个.
    static const QHash<QChar, QChar> kBookNames{
        {u'庚', u'筐'}, {u'寘', u'置'}, {u'祃', u'驾'}, {u'箇', u'个'}};
    QStringList wants{text, text.right(1)};
    if (system == kPingshui && kBookNames.contains(text.back()))
        wants.append(kBookNames.value(text.back()));
    for (const QString &want : wants) {
        for (int g = 1;; ++g) {
            const QString groupName = RhymeGroupName(system, QString::number(g));
            if (groupName.isEmpty())
                break;
            if (groupName == want)
                return g;
        }
    }
    return 0;
}

Tone GroupTone(const RhymeDictionary &dict, int group)
{
    return MajorityTone(CollectMembers(dict, Tone::Either).tones.value(group));
}

struct RhymeWordLister::Gathered {
    std::map<Tone, Members> members;               // of dict, by the tone asked for
    std::optional<Members> theirs;                 // of other, either tone
    QHash<char32_t, QList<int>> theirGroupsOf;     // other's groups of each character
};

RhymeWordLister::RhymeWordLister(const RhymeDictionary &dict, const RhymeDictionary *other,
                                 const RhymeUsage &usage)
    : dict_(dict), other_(other), usage_(usage), gathered_(std::make_unique<Gathered>())
{
}

RhymeWordLister::~RhymeWordLister() = default;

RhymeWords ListRhymeWords(const RhymeDictionary &dict, const RhymeDictionary *other,
                          const RhymeUsage &usage, int group, Tone tone, int limit)
{
    return RhymeWordLister(dict, other, usage).List(group, tone, limit);
}

RhymeWords RhymeWordLister::List(int group, Tone tone, int limit)
{
    const RhymeDictionary &dict = dict_;
    const RhymeUsage &usage = usage_;
    RhymeWords out;
    out.system = dict.System();
    out.group = group;
    out.groupName = RhymeGroupName(dict.System(), QString::number(group));
    out.tone = tone;
    if (out.groupName.isEmpty())
        return out;
    auto made = gathered_->members.find(tone);
    if (made == gathered_->members.end())
        made = gathered_->members.emplace(tone, CollectMembers(dict, tone)).first;
    const Members &members = made->second;
    const QString &sys = dict.System();
    const QSet<char32_t> own = members.set.value(group);

    for (char32_t c : members.of.value(group))
        out.words.append({CharacterText(c), usage.Count(sys, group, tone, c), out.groupName});
    SortByUse(out.words);

    QSet<char32_t> taken = own;
    if (sys == kPingshui) {
        const Tone groupTone = MajorityTone(members.tones.value(group));
        for (auto it = members.of.cbegin(); it != members.of.cend(); ++it) {
            const int g = it.key();
            if (g == group || (diag::SectionMask(g) & diag::SectionMask(group)) == 0
                || MajorityTone(members.tones.value(g)) != groupTone)
                continue;
            const QString name = RhymeGroupName(sys, QString::number(g));
            for (char32_t c : it.value()) {
                taken.insert(c);
                const int n = usage.Count(sys, g, tone, c);
                if (!own.contains(c) && n > 0)
                    out.neighbours.append({CharacterText(c), n, name});
            }
        }
        SortByUse(out.neighbours);
    }

    if (other_) {
        // The other system's groups the most used words of this one fall in.
        if (!gathered_->theirs) {
            gathered_->theirs = CollectMembers(*other_, Tone::Either);
            for (auto it = gathered_->theirs->of.cbegin(); it != gathered_->theirs->of.cend(); ++it)
                for (char32_t c : it.value())
                    gathered_->theirGroupsOf[c].append(it.key());
        }
        const Members &theirs = *gathered_->theirs;
        const QHash<char32_t, QList<int>> &groupsOf = gathered_->theirGroupsOf;
        std::map<int, int> weight;
        int total = 0;
        for (int i = 0; i < std::min<int>(kCoreWords, int(out.words.size())); ++i) {
            const RhymeWord &w = out.words.at(i);
            if (w.count == 0)
                break;
            for (int g : groupsOf.value(diag::OneChar(w.hanzi)))
                weight[g] += w.count;
            total += w.count;
        }
        QSet<char32_t> seen;
        for (const auto &[g, n] : weight) {
            if (total == 0 || n < kAlikeShare * total)
                continue;
            for (char32_t c : theirs.of.value(g)) {
                if (taken.contains(c) || seen.contains(c))
                    continue;
                // Counted in the group of this system it is most rhymed in,
                // among those of the tone asked for.
                RhymeWord best;
                for (int g : members.groupsOf.value(c)) {
                    const int uses = usage.Count(sys, g, tone, c);
                    if (uses > best.count)
                        best = {CharacterText(c), uses, RhymeGroupName(sys, QString::number(g))};
                }
                if (best.count > 0) {
                    seen.insert(c);
                    out.outOfRhyme.append(best);
                }
            }
        }
        SortByUse(out.outOfRhyme);
    }
    Cap(out.words, limit);
    Cap(out.neighbours, limit);
    Cap(out.outOfRhyme, limit);
    return out;
}

std::optional<PoemRhyme> FindPoemRhyme(const QList<Verse> &verses, const ReadingLookup &lookup)
{
    QList<int> order;
    QHash<int, int> tally;
    QList<CharReadings> ends;
    for (qsizetype i = 1; i < verses.size(); i += 2) {
        if (verses.at(i).chars.isEmpty())
            continue;
        ends.append(lookup(verses.at(i).chars.last()));
        QSet<int> groups;
        for (const Reading &r : ends.last().readings)
            if (r.group > 0)
                groups.insert(r.group);
        for (const Reading &r : ends.last().readings) {
            if (r.group <= 0 || !groups.remove(r.group))
                continue;
            if (!tally.contains(r.group))
                order.append(r.group);
            ++tally[r.group];
        }
    }
    if (order.isEmpty())
        return std::nullopt;
    PoemRhyme out;
    for (int g : order)
        if (tally.value(g) > tally.value(out.group))
            out.group = g;
    int level = 0;
    int oblique = 0;
    for (const CharReadings &r : ends) {
        for (const Reading &reading : r.readings) {
            if (reading.group != out.group)
                continue;
            level += reading.tone != Tone::Oblique;
            oblique += reading.tone != Tone::Level;
            break;
        }
    }
    out.tone = level >= oblique ? Tone::Level : Tone::Oblique;
    return out;
}

QString RhymeWordLine(const QList<RhymeWord> &words, int n)
{
    QStringList parts;
    for (const RhymeWord &w : words) {
        if (parts.size() >= n)
            break;
        parts.append(w.hanzi);
    }
    return parts.join(u' ');
}

}  // namespace versilo
