// The pattern browser: the tune names of the current pattern book, 72 to a
// page; a click hands the tune to the composition window and closes.
#pragma once

#include <QList>
#include <QString>
#include <vector>

#include "widgets.h"

namespace versilo {

class Form2 : public VersiloWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 72;
    static constexpr int kPageStep = kLabels - 1;   // consecutive pages share one name

    explicit Form2(QWidget *parent = nullptr);

    int PageStart() const { return pageStart_; }
    int PatternCount() const { return int(tunes_.size()); }

    void Image4_Click();          // 下一页
    void Image5_Click();          // 上一页
    void Image6_Click();          // 放弃返回
    void Label5_Click(int index);

private:
    struct Tune {
        QString name;          // 篇名
        QString pattern;       // 格律
        QString explanation;   // 正文
    };
    void Load();
    void ShowPage(bool placeholders);
    Tune TuneAt(int position) const;

    std::vector<Tune> tunes_;
    int pageStart_ = 0;
    QLabel *label1_ = nullptr;
    QList<ClickLabel *> label5_;
};

}  // namespace versilo
