// SPDX-License-Identifier: GPL-3.0-or-later
// Pattern management: the tunes of one pattern book in a scrolling list of
// 20 names; the chosen tune's name, pattern and explanation, shown (browse
// mode) or in boxes to edit (edit mode); change, add and delete tunes.
#pragma once

#include <QList>
#include <vector>

#include "datawindow.h"
#include "gateway.h"
#include "messages.h"

class QLineEdit;
class QPlainTextEdit;

namespace versilo {

class NameList;

inline const QString kAskDelete = QStringLiteral("真要删除当前数据吗？");
inline const QString kDeleted = QStringLiteral("数据成功删除！");
inline const QString kTuneAdded = QStringLiteral("存储完毕!");
inline const QString kTuneChanged = QStringLiteral("修改存储完毕!");
inline const QString kTuneNameMissing = QStringLiteral("请填写词牌名！");
inline const QString kAskDiscardTune = QStringLiteral("词谱的修改尚未保存，确定放弃吗？");

class Form6 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 20;

    explicit Form6(QWidget *parent = nullptr);

    const QString &Book() const { return book_; }
    int TuneCount() const { return int(tunes_.size()); }
    int SelectedPosition() const { return selected_; }
    bool EditMode() const;
    NameList *List() const { return list_; }

    void Label4_Click(int index);    // choose a tune
    void Symbol_Click(int index);    // Label11 ... Label16
    void Image5_Click();             // 编辑模式
    void Image6_Click();             // 浏览模式
    void ChooseBook(const QString &book);   // Image7 白香词谱, Image8 常用词谱
    void Image9_Click();             // 修改词谱
    void Image10_Click();            // 删除词谱
    void Image11_Click();            // 加入词谱
    void Image12_Click();            // 清空
    void Image13_Click();            // 退出
    void Text4_DblClick();

    // The boxes hold text that is neither stored nor what choosing put there.
    bool EditsPending() const;
    // Before such text would go (another tune chosen, another book, 清空,
    // the desktop's close or the end of the program): true when nothing is
    // pending or the writer lets it go.
    bool MayClose() override;

protected:
    void Reload() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    // The edit boxes as a tune row (stored forms); false, with the message
    // shown, when the name is empty.
    bool TuneFromBoxes(TuneRow &row);
    void ClearBoxes();   // Text7, Text8, Text4 and the captions of Label17, Label18
    void ShowInLabels();
    // What the boxes hold now counts as kept (shown from the book or stored).
    void KeepBoxes();

    QString book_;
    std::vector<TuneRow> tunes_;
    int selected_ = -1;   // list position of the chosen tune
    QString kept_[3];     // Text7, Text8, Text4 as last shown or stored

    NameList *list_ = nullptr;
    QPlainTextEdit *text7_ = nullptr;   // pattern
    QPlainTextEdit *text8_ = nullptr;   // explanation
    QLineEdit *text4_ = nullptr;        // name
    QLineEdit *text5_ = nullptr;        // id of the chosen tune
    QLabel *label17_ = nullptr;
    QLabel *label18_ = nullptr;
    QLabel *label2_ = nullptr;
};

}  // namespace versilo
