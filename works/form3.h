// The works browser: the titles of all stored works, 80 to a page; a click
// puts the work back into the composition window, with its tune's pattern
// fetched afresh from the pattern book it was written to, and closes.
#pragma once

#include <QString>
#include <vector>

#include "datawindow.h"
#include "gateway.h"
#include "labelgrid.h"

namespace versilo {

class Form3 : public DataWindow {
    Q_OBJECT
public:
    static constexpr int kLabels = 80;
    static constexpr int kPageStep = kLabels - 1;   // consecutive pages share one title

    explicit Form3(QWidget *parent = nullptr);

    int PageStart() const { return label4_->Paging().Start(); }
    int WorkCount() const { return int(works_.size()); }

    void Image4_Click();          // 下一页
    void Image5_Click();          // 上一页
    void Image6_Click();          // 放弃返回
    void Label4_Click(int index);

protected:
    void Reload() override;

private:
    WorkRow WorkAt(int position) const;

    std::vector<WorkRow> works_;
    PagedGrid *label4_ = nullptr;
};

}  // namespace versilo
