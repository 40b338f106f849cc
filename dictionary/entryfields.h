// SPDX-License-Identifier: GPL-3.0-or-later
// What the rhyme dictionary maintenance window writes: the fields of one
// entry as typed into its boxes, checked before anything reaches the table.
// Pure functions, no widgets.
#pragma once

#include <QString>
#include <optional>

#include "messages.h"

namespace versilo {

struct DictionaryRow;   // rhymedict.h

inline const QString kIdNotNumber = QStringLiteral("ID号必须是整数！");
inline const QString kGroupNotNumber = QStringLiteral("韵调必须是整数！");
inline const QString kOneCharacter = QStringLiteral("汉字栏只能填一个汉字！");
inline const QString kCharacterMismatch = QStringLiteral("汉字框与所选条目不符，未修改！");
// Asked before typed changes to the entry boxes go.
inline const QString kAskDropEntry = QStringLiteral("汉字条目的修改尚未保存，确定放弃吗？");

// The boxes of an entry, as typed.
struct EntryBoxes {
    QString id;        // Text1
    QString hanzi;     // 加入: Text6, the current character; 修改: Text2, the entry's own
    QString tone;      // Text3
    QString pinyin;    // Text4
    QString group;     // Text5
};

// The boxes showing a stored entry.
EntryBoxes BoxesOf(const DictionaryRow &row);

// The row to write: the texts trimmed of blanks, 韵调 a whole number.
struct EntryFields {
    QString hanzi;
    QString tone;
    QString pinyin;
    int group = 0;
};

// The id that 修改 and 删除 address; on failure *message says why
// (kNothingChosen for an empty box, kIdNotNumber otherwise).
std::optional<qint64> EntryId(const QString &text1, QString *message);
// The fields 修改 and 加入 write. The character must be one character (one
// code point, so one beyond the BMP counts as one): the checks find no other
// row. On failure *message is kOneCharacter or kGroupNotNumber.
std::optional<EntryFields> EntryToWrite(const EntryBoxes &boxes, QString *message);

// 修改 writes the entry the boxes show, Text2 its character. The current
// character (Text6, what 查找汉字 looked for) may be left from another
// search: when it holds a character that is neither the chosen entry's as
// stored nor the one Text2 shows, the two disagree and nothing is written.
bool CharacterBoxAgrees(const QString &text6, const QString &text2, const QString &storedHanzi);

}  // namespace versilo
