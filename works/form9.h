// SPDX-License-Identifier: GPL-3.0-or-later
// The works management window: the titles of all stored works, 80 to a page.
// Choosing one shows it in the window's own fields (title, author, time,
// poem) and prepares the composition window with it and its tune. From here
// a work is changed, deleted, copied into the poetry library or taken on
// into the composition window.
#pragma once

#include <QString>
#include <optional>
#include <vector>

#include "boxmap.h"
#include "gateway.h"
#include "management.h"
#include "messages.h"
#include "pagedwindow.h"

class QLineEdit;
class QPlainTextEdit;

namespace versilo {

inline const QString kWorkChanged = QStringLiteral("修改成功!");
inline const QString kNoWorkChosen = QStringLiteral("没有选中作品：请先在左边的标题中点选要修改的作品。");
inline const QString kChangeFailed = QStringLiteral("修改失败：");
inline const QString kAddedToLibrary = QStringLiteral("存储完毕!");
inline const QString kLibraryFailed = QStringLiteral("加入诗词库失败：");
// Asked before a stored work is deleted.
inline const QString kAskDeleteWork = QStringLiteral("真要删除当前数据吗？");
// Told when the chosen work had gone from the table before 删除作品.
inline const QString kWorkAlreadyGone = QStringLiteral("没有删除任何作品：这篇作品已不在作品库中，可能已被别的程序删除。");

class Form9 : public PagedWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 80;
    static constexpr int kPageStep = kLabels - 1;   // consecutive pages share one title

    explicit Form9(QWidget *parent = nullptr);

    int WorkCount() const { return int(works_.size()); }
    const PagedGrid &Titles() const { return *grid_; }
    // The id of the chosen work (the hidden Label1), none when none is chosen.
    std::optional<qint64> ChosenId() const { return chosenId_; }

    void Label4_Click(int index);   // choose a work
    void Image2_Click();            // 删除作品
    void Image3_Click();            // 修改作品
    void Image8_Click();            // 加入诗词库
    void Image9_Click();            // 诗词写作
    void Image6_Click() override;   // 放弃返回

    // The four fields as typed, and whether they differ from what choosing,
    // changing or deleting a work last put there.
    WorkFields Fields() const;
    bool HasChangedFields() const { return Fields() != shown_; }
    // Changed fields go only when the writer agrees.
    bool MayClose() override;

protected:
    void Reload() override;
    void ListClick(int index) override { Label4_Click(index); }
    // A click on the background closes the window; the release that ends a
    // drag of the window does not.
    void mousePressEvent(QMouseEvent *e) override;
    void mouseReleaseEvent(QMouseEvent *e) override;

private:
    void ClearFields();
    void ShowFields(const WorkFields &fields);
    // The chosen work as read (or as last changed here); nullptr when none.
    WorkRow *ChosenWork();

    std::vector<WorkRow> works_;
    std::optional<qint64> chosenId_;
    QLineEdit *text2_ = nullptr;       // author
    QLineEdit *text3_ = nullptr;       // time of writing
    QLineEdit *text6_ = nullptr;       // title
    QPlainTextEdit *text1_ = nullptr;  // poem
    QPoint pressedAt_;                 // the window's position at the press
    WorkFields shown_;                 // the fields as last filled by the window
    BoxMap<WorkFields> boxes_;         // Text6 title, Text2 author, Text3 time, Text1 poem
};

}  // namespace versilo
