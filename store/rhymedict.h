// SPDX-License-Identifier: GPL-3.0-or-later
// The two rhyme dictionaries: tone codes, rhyme groups, and the lookup of one
// character with the last-matching-row rule, through an index built at load.
#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <map>
#include <memory>
#include <vector>

namespace versilo {

class DataStore;
class Recordset;

inline const QString kNewRhyme = QStringLiteral("中华新韵");
inline const QString kPingshui = QStringLiteral("平水韵");

// The display name of a rhyme group of a system ("中华新韵" or "平水韵"),
// the group given as the text of `韵调`; "" when the number has no name.
QString RhymeGroupName(const QString &system, const QString &groupText);

// The ToneMark of a ToneCode text: "0" -> ○, "1" -> ●, "2" -> ※; null QChar otherwise.
QChar ToneMarkOfCode(const QString &toneCode);

// The characters of a text, one code point each: a surrogate pair is one
// character (𠀀 is one, not two); a lone surrogate stands for itself.
std::vector<char32_t> CodePoints(QStringView text);
// One character back as text (one or two code units).
QString CharacterText(char32_t c);

struct DictionaryRow {
    qint64 id = 0;
    QString hanzi;      // `汉字`: one character (one code point)
    QString group;      // `韵调` converted to text ("" for null)
    QString tone;       // `平仄` converted to text ("" for null)
    bool toneNull = false;
    QString pinyin;     // `拼音`
};

// What a load keeps of a dictionary table: every row beside the lookups
// (the windows, the diagnostics, anything that scans, edits or lists rows),
// or the lookups alone, which is all a check of tones and rhyme groups needs.
enum class DictionaryKeep { Rows, LookupsOnly };

// A loaded dictionary: the rows in store order, plus an index that gives the
// same answers as scanning every row and keeping the last match whose code is
// known. No capacity limit. Copies share the loaded rows until one of them
// changes (a copy costs nothing). Loaded with DictionaryKeep::LookupsOnly it
// holds the index alone: Rows() is empty and the scans find nothing.
class RhymeDictionary {
public:
    RhymeDictionary() = default;
    explicit RhymeDictionary(QString system);

    const QString &System() const { return system_; }
    void Clear();
    void Append(DictionaryRow row);   // keeps the index up to date
    // The index entries of one row without the row itself: the character,
    // the tone mark of its code (null: none known) and its group number (0:
    // none), overriding earlier rows as Append does.
    void AppendLookup(char32_t c, QChar mark, int group);
    // A row changed in the table: the loaded row of the same id takes its
    // values, the index follows. False when no loaded row has that id.
    bool ReplaceRow(const DictionaryRow &row);
    // A row deleted from the table. False when no loaded row has that id.
    bool RemoveRow(qint64 id);
    int Size() const;
    const std::vector<DictionaryRow> &Rows() const;
    // A copy of `other` made since neither changed: the same rows for sure.
    bool SharesRowsWith(const RhymeDictionary &other) const
    {
        return d_ && d_ == other.d_ && system_ == other.system_;
    }

    // Indexed lookups of one character (a code point, so characters outside
    // the BMP are found too): a null QChar / "" when nothing resolves.
    QChar ToneMark(char32_t c) const;
    QString GroupName(char32_t c) const;
    QChar ToneMark(QChar c) const { return ToneMark(char32_t(c.unicode())); }
    QString GroupName(QChar c) const { return GroupName(char32_t(c.unicode())); }

    // The same answers by scanning every row (reference behaviour).
    QChar ToneMarkByScan(char32_t c) const;
    QString GroupNameByScan(char32_t c) const;
    QChar ToneMarkByScan(QChar c) const { return ToneMarkByScan(char32_t(c.unicode())); }
    QString GroupNameByScan(QChar c) const { return GroupNameByScan(char32_t(c.unicode())); }

private:
    struct Data;
    Data &Writable();
    void Reindex(Data &d, char32_t c) const;

    QString system_;
    std::shared_ptr<Data> d_;   // shared between copies until one changes
};

// Loads the whole table of `system` through the shared recordset with
// "select *from 中华新韵" / "select *from 平水韵", read-only, then closes it.
// False (and a message in *error) when the table cannot be read.
// The rows stream from the table straight into the dictionary: nothing is
// held in between. With DictionaryKeep::LookupsOnly only the columns the
// lookups need are read, and no row is kept.
bool LoadRhymeDictionary(DataStore &store, const QString &system,
                         RhymeDictionary &out, QString *error = nullptr,
                         DictionaryKeep keep = DictionaryKeep::Rows);

// After the row `id` of a dictionary table was changed: when `list` holds
// the whole table already (as many rows as the table has, so every row, in
// the store's order), only that row is read again into its place. False
// when the list has to be read again instead (it is then left as it was).
bool RefreshListedRow(Recordset &rs, const QString &system, std::vector<DictionaryRow> &list,
                      qint64 id);

// The dictionaries a window has loaded, kept between its checks. Load reads
// a table again only when the file may have changed since: another program
// committed to it, or this program wrote through its own connection (the
// dictionary maintenance window's changes), or the store connected to
// another file. Otherwise it hands out the kept dictionary, which costs
// nothing.
class DictionaryCache {
public:
    bool Load(DataStore &store, const QString &system, RhymeDictionary &out,
              QString *error = nullptr);
    void Clear() { kept_.clear(); }
    int TableReads() const { return reads_; }   // loads that read the table

private:
    struct Kept;
    std::map<QString, std::shared_ptr<Kept>> kept_;
    int reads_ = 0;
};

}  // namespace versilo
