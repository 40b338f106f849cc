// SPDX-License-Identifier: GPL-3.0-or-later
// Every form of every tune as the 钦定词谱 gives it (正体 and 又一体): the
// reference behind finding the tune of a ci, and a third book a ci can be
// checked against. Read from the table the program carries (:/seed/钦定词谱.tsv)
// or from any text of the same layout.
#pragma once

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

namespace versilo {

inline constexpr char16_t kQindingBook[] = u"钦定词谱";

struct TuneForm {
    QString tune;             // the tune's first name
    QStringList aliases;      // its other names
    int number = 1;           // within the tune, from 1; 1 is the 正体
    QString pattern;          // 平 仄 中 per syllable, the whole form
    QList<int> clauseEnds;    // where each clause ends: index one past its last syllable
    QString clauseMarks;      // per clause: 韵, 句 or 读
    QList<QList<int>> rhymes; // rhyme positions (from 0) by rhyme set, sets in order
    QStringList example;      // the book's example, clause by clause

    int Size() const { return int(pattern.size()); }
    bool Main() const { return number == 1; }
    QString Kind() const;     // 正体 / 又一体
    // The pattern in the layout of the pattern box: one clause per line,
    // ○ ● ⊙, rhymes △ ▲, a new rhyme set marked (换平韵) / (换仄韵).
    QString Display() const;
    // The clause lengths; with `joinPauses` a clause ending in 读 runs on
    // into the next one.
    QList<int> Lengths(bool joinPauses) const;
    // "宿醉离愁慢髻鬟，六铢衣薄惹轻寒……"
    QString ExampleOpening() const;
};

class TuneForms {
public:
    // The table the program carries; empty when it is missing.
    static const TuneForms &Builtin();
    // Rows of the seed table's layout (header 词牌 别名 体 类 字数 格律 韵位 例);
    // rows that do not hold together are left out.
    static TuneForms FromText(const QString &tsv);

    const QList<TuneForm> &All() const { return forms_; }
    // Every form of the tune of that name or alias, 正体 first.
    QList<const TuneForm *> Of(const QString &name) const;
    // The form with that number, nullptr when there is none.
    const TuneForm *Find(const QString &name, int number) const;
    // The number of tunes.
    int Tunes() const { return tunes_; }

private:
    QList<TuneForm> forms_;
    QHash<QString, QList<int>> byName_;   // name or alias -> indexes into forms_
    int tunes_ = 0;
};

}  // namespace versilo
