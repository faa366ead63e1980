// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/controls/tab_control.h"

#include "ui/controls/outline.h"

#include <QPainter>
#include <QStyle>
#include <QTabBar>

namespace talvero {

TabControl::TabControl(QWidget *parent)
    : QWidget(parent)
    , TwipsGeometry(this)
    , tabBar_(new QTabBar(this))
{
    setBackgroundRole(QPalette::Button);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::NoFocus);
    tabBar_->setDrawBase(false);
    tabBar_->setExpanding(true);
    tabBar_->setUsesScrollButtons(false);
    connect(tabBar_, &QTabBar::currentChanged, this, &TabControl::showPage);
}

QWidget *TabControl::addPage(const QString &caption)
{
    auto *page = new QWidget(this);
    page->setAccessibleName(caption);
    page->setGeometry(rect());
    pages_.push_back(page);
    tabBar_->addTab(caption);
    tabBar_->raise();
    showPage(tabBar_->currentIndex());
    return page;
}

int TabControl::currentPage() const
{
    return tabBar_->currentIndex();
}

void TabControl::setCurrentPage(int index)
{
    tabBar_->setCurrentIndex(index);
}

void TabControl::showPage(int index)
{
    // Show the new page before hiding the old one, so focus can move within the window.
    if (index >= 0 && index < pageCount())
        page(index)->show();
    for (int i = 0; i < pageCount(); ++i) {
        if (i != index)
            page(i)->hide();
    }
}

int TabControl::frameTop() const
{
    return tabBar_->height() - style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
}

void TabControl::resizeEvent(QResizeEvent *event)
{
    tabBar_->setGeometry(0, 0, width(), tabBar_->sizeHint().height());
    for (QWidget *page : pages_)
        page->setGeometry(rect());
    QWidget::resizeEvent(event);
}

void TabControl::paintEvent(QPaintEvent *)
{
    // A plain frame under the strip; the current tab is drawn over its top line.
    QPainter painter(this);
    const QRect frame(0, frameTop(), width(), height() - frameTop());
    drawOutline(painter, frame, palette().color(QPalette::Mid));
    drawBevel(painter, frame.adjusted(1, 1, -1, -1), palette().color(QPalette::Light),
              palette().color(backgroundRole()));
}

} // namespace talvero
