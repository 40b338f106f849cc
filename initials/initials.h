// SPDX-License-Identifier: GPL-3.0-or-later
// Pinyin initials (Module2): one Latin letter per recognised Chinese
// character, found through the character's GBK code.
#pragma once

#include <QString>

namespace versilo {

// The initials of `text`: upper case from the first-level GB 2312 block,
// lower case from the list of second-level characters, "*" for full-width
// punctuation, ASCII letters (and "[" "{") unchanged, everything else dropped.
QString PinyinInitials(const QString &text);

// The signed 16-bit code v(c) of one UTF-16 code unit: a one-byte GBK
// character gives its byte, a two-byte one b1*256 + b2 - 65536, and a
// character GBK cannot encode gives 63.
int GbkValue(QChar c);

}  // namespace versilo
