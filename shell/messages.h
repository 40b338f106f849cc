// SPDX-License-Identifier: GPL-3.0-or-later
// Message texts several windows show alike. A window's own texts stay with
// the window; these are the ones that must read the same everywhere (and be
// defined once, since the windows are linked into one program).
#pragma once

#include <QString>

namespace versilo {

// No entry chosen for 修改 or 删除 (pattern management, dictionary maintenance).
inline const QString kNothingChosen = QStringLiteral("未指定数据！");
// The start of the message for a write or a delete the store refused; the
// store's reason follows.
inline const QString kWriteFailed = QStringLiteral("存储失败：");
inline const QString kDeleteFailed = QStringLiteral("删除失败：");

}  // namespace versilo
