// SPDX-License-Identifier: GPL-3.0-or-later
// 对仗: whether the two lines of each couplet of a 律诗 or 排律 face each
// other word by word.
//
// Both lines of a couplet are split into words the same way (a five-syllable
// line 2+2+1 or 2+1+2, a seven-syllable one 2+2+2+1 or 2+2+1+2, whichever
// the word list and the facing favour), and each word is held against the
// word facing it: of one fine class (明月—清泉, both nouns of nature) they
// make a strict pair (工对), of one class a loose pair (宽对). The same
// character facing itself (重字) and two lines saying one thing (合掌) are
// noted.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "diagnostics.h"

namespace versilo {

// A word and the classes it can stand in.
struct WordClass {
    QStringList classes;   // 名 动 形 数 方位 颜色 代 虚字, most likely first
    QString fine;          // 天文 地理 时令 …, "" when none is given
    QString sense;         // words of one sense share it, "" when none
};

// The word list the split and the classes come from.
class CoupletWords {
public:
    CoupletWords() = default;

    // The table compiled into the program; empty when it is missing.
    static const CoupletWords &Builtin();
    // Tab-separated text of the columns 词, 词类 (classes joined by "|"),
    // 细类, 同义 with a header line; rows that do not fit are passed by.
    static CoupletWords FromText(const QString &tsv);

    void Add(const QString &word, const QStringList &classes, const QString &fine = QString(),
             const QString &sense = QString());
    // nullptr when the word is not listed.
    const WordClass *Find(const QString &word) const;
    bool IsEmpty() const { return words_.isEmpty(); }

    // What the poets did: how often a character stands in the middle
    // couplets of their 律诗, and the characters they faced it with more
    // often than chance (counted from Song regulated verse). Tab-separated
    // text of the columns 字, 次数, 对字 ("风12 日9 …") with a header line.
    void AddUsage(const QString &tsv);
    void AddUsage(char32_t ch, int seen, const QList<std::pair<char32_t, int>> &partners);
    // How often the poets faced the two characters, 0 when never (or too
    // seldom to tell it from chance).
    int Faced(char32_t a, char32_t b) const;
    // Whether the two characters are faced with many of the same
    // characters: words of one kind, that would face each other though the
    // poets' counts are too few to show it (即—便 both face 何 犹 方 聊 …).
    bool Akin(char32_t a, char32_t b) const;
    // How often the character stands in a middle couplet; 0 when it is not
    // in the usage table.
    int Seen(char32_t ch) const { return seen_.value(ch); }
    bool HasUsage() const { return !seen_.isEmpty(); }

private:
    QHash<QString, WordClass> words_;
    QHash<char32_t, int> seen_;
    QHash<quint64, int> faced_;   // both orders of a pair
    QHash<char32_t, QList<char32_t>> partners_;
};

// The couplets of a poem of regulated shape with eight or more lines (律诗,
// 排律); nothing for a quatrain or a poem whose lines differ in length.
QList<Couplet> JudgeCouplets(const QList<Verse> &verses,
                             const CoupletWords &words = CoupletWords::Builtin());

// "明月—清泉（名·天文／名·地理）、…": the pairs of a couplet.
QString DescribePairs(const Couplet &c);

// "工对", "宽对", "不对".
QString FacingName(Facing f);

namespace diag {

// The couplets of a 律诗 or 排律 as findings: a middle couplet that does not
// face is a fault, a first or last couplet that does is a note; 合掌 is a
// fault, 重字 a note.
void RuleCouplets(const QList<Verse> &verses, const QList<Couplet> &couplets, QList<Finding> &out);

}  // namespace diag

}  // namespace versilo
