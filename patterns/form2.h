// The pattern browser: the tune names of the current pattern book, 72 to a
// page; a click hands the tune to the composition window and closes.
#pragma once

#include <QString>
#include <vector>

#include "datawindow.h"
#include "gateway.h"
#include "labelgrid.h"

namespace versilo {

class Form2 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 72;
    static constexpr int kPageStep = kLabels - 1;   // consecutive pages share one name

    explicit Form2(QWidget *parent = nullptr);

    int PageStart() const { return label5_->Paging().Start(); }
    int PatternCount() const { return int(tunes_.size()); }

    void Image4_Click();          // 下一页
    void Image5_Click();          // 上一页
    void Image6_Click();          // 放弃返回
    void Label5_Click(int index);

protected:
    void Reload() override;

private:
    TuneRow TuneAt(int position) const;

    std::vector<TuneRow> tunes_;
    QLabel *label1_ = nullptr;
    PagedGrid *label5_ = nullptr;
};

}  // namespace versilo
