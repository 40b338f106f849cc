// SPDX-License-Identifier: GPL-3.0-or-later
#include "entryfields.h"

#include "prosody.h"
#include "rhymedict.h"

namespace versilo {

EntryBoxes BoxesOf(const DictionaryRow &row)
{
    return {QString::number(row.id), row.hanzi, row.tone, row.pinyin, row.group};
}

std::optional<qint64> EntryId(const QString &text1, QString *message)
{
    const QString text = TrimBlanks(text1);
    bool ok = false;
    const qint64 id = text.toLongLong(&ok);
    if (ok)
        return id;
    if (message)
        *message = text.isEmpty() ? kNothingChosen : kIdNotNumber;
    return std::nullopt;
}

std::optional<EntryFields> EntryToWrite(const EntryBoxes &boxes, QString *message)
{
    const QString hanzi = TrimBlanks(boxes.hanzi);
    if (CodePoints(hanzi).size() != 1) {
        if (message)
            *message = kOneCharacter;
        return std::nullopt;
    }
    bool ok = false;
    const int group = TrimBlanks(boxes.group).toInt(&ok);
    if (!ok) {
        if (message)
            *message = kGroupNotNumber;
        return std::nullopt;
    }
    return EntryFields{hanzi, TrimBlanks(boxes.tone), TrimBlanks(boxes.pinyin), group};
}

bool CharacterBoxAgrees(const QString &text6, const QString &text2, const QString &storedHanzi)
{
    const QString current = TrimBlanks(text6);
    return current.isEmpty() || current == TrimBlanks(text2) || current == TrimBlanks(storedHanzi);
}

}  // namespace versilo
