// The two rhyme dictionaries: tone codes, rhyme groups, and the lookup of one
// character with the last-matching-row rule, through an index built at load.
#pragma once

#include <QChar>
#include <QHash>
#include <QString>
#include <QStringView>
#include <QVariant>
#include <vector>

namespace versilo {

class DataStore;

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

// A loaded dictionary: the rows in store order, plus an index that gives the
// same answers as scanning every row and keeping the last match whose code is
// known. No capacity limit.
class RhymeDictionary {
public:
    RhymeDictionary() = default;
    explicit RhymeDictionary(QString system);

    const QString &System() const { return system_; }
    void Clear();
    void Append(DictionaryRow row);   // keeps the index up to date
    int Size() const { return int(rows_.size()); }
    const std::vector<DictionaryRow> &Rows() const { return rows_; }

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
    QString system_;
    std::vector<DictionaryRow> rows_;
    QHash<char32_t, QChar> tone_;
    QHash<char32_t, QString> group_;
};

// Loads the whole table of `system` through the shared recordset with
// "select *from 中华新韵" / "select *from 平水韵", read-only, then closes it.
// False (and a message in *error) when the table cannot be read.
bool LoadRhymeDictionary(DataStore &store, const QString &system,
                         RhymeDictionary &out, QString *error = nullptr);

}  // namespace versilo
