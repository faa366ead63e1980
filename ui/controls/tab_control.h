// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "ui/controls/twips_geometry.h"

#include <QWidget>
#include <vector>

class QTabBar;

namespace talvero {

// Pages with a row of tabs along the top. Unlike QTabWidget, every page covers the whole
// control, tab strip included, so a page's controls are placed from the control's top-left
// corner; the strip stays on top of them.
class TabControl final : public QWidget, public TwipsGeometry
{
    Q_OBJECT

public:
    explicit TabControl(QWidget *parent = nullptr);

    QWidget *addPage(const QString &caption);
    QWidget *page(int index) const { return pages_.at(static_cast<std::size_t>(index)); }
    int pageCount() const { return static_cast<int>(pages_.size()); }

    int currentPage() const;
    void setCurrentPage(int index);

    QTabBar *tabBar() const { return tabBar_; }

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void showPage(int index);
    int frameTop() const;

    QTabBar *tabBar_;
    std::vector<QWidget *> pages_;
};

} // namespace talvero
