// The poetry library's rules that need no window: the selection mark, the
// author line, the search pattern and how the two scroll thumbs map to a
// list position. Positions are in twips.
#pragma once

#include <QString>
#include <QVariant>

namespace versilo {

// The chosen title or author carries this mark as its first character.
inline const QString kSelectionMark = QStringLiteral("●");

// The text without any selection mark.
QString Unmarked(const QString &text);
// The text with exactly one selection mark, in front.
QString Marked(const QString &text);

// 朝代 + "(公元" + 年代 + "年)"; a missing year leaves the space empty.
QString AuthorLifeLine(const QString &dynasty, const QVariant &year);

// The `like` pattern of a search by pinyin initials: the letters anywhere in
// `拼音` (no letters: every row).
QString InitialsPattern(const QString &letters);

// The geometry of one list's scroll thumb.
struct ThumbTrack {
    double left;           // the thumb's left
    double loadTop;        // its top when the window opens
    double resetTop;       // its top after a search or a chosen author
    double refreshTop;     // its top after 刷新
    double upStep;         // up arrow: step = upStep / count
    double lowestTop;      // up arrow: not above this
    double downStep;       // down arrow: step = downStep / count
    double highestTop;     // down arrow: beyond this the list stays
    double dragTop;        // drag bounds of the top, and the origin of
    double dragBottom;     //   the mapping to a list position
    double rowsPerTrack;   // list start = (top - dragTop) * count / rowsPerTrack

    // The list position shown on the first label with the thumb dragged to `top`.
    int StartAt(double top, int count) const;
};

inline constexpr ThumbTrack kPoemThumb{3840, 1200, 1260, 1245, 8520, 600,
                                       7875, 7360, 1245, 1245 + 6200, 240 * 25.8};
inline constexpr ThumbTrack kAuthorThumb{10440, 1260, 1260, 1260, 8520, 600,
                                         8520, 8920, 1260, 1260 + 6130, 240 * 26};

}  // namespace versilo
