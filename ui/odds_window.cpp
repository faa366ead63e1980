// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/odds_window.h"

#include "engine/page_odds.h"
#include "engine/page_text.h"
#include "ui/odds_model.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace talvero {

namespace {

QTableView *makeTable(QWidget *parent, OddsModel *model, const QString &name)
{
    auto *view = new QTableView(parent);
    view->setObjectName(name);
    view->setAccessibleName(name);
    view->setModel(model);
    view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view->setSelectionMode(QAbstractItemView::SingleSelection);
    view->setTabKeyNavigation(false);
    view->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    view->verticalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // Every row and column in sight, without scrolling.
    view->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    view->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    view->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    return view;
}

} // namespace

OddsWindow::OddsWindow(QWidget *parent)
    : QDialog(parent)
    , sentence_(new QLabel(this))
    , atLeastHeading_(new QLabel(this))
    , facesHeading_(new QLabel(this))
    , atLeast_(new OddsModel(RowKind::AtLeast, this))
    , faces_(new OddsModel(RowKind::Face, this))
{
    setObjectName(QStringLiteral("Chancen"));
    setWindowTitle(QStringLiteral("Chancen"));
    sentence_->setObjectName(QStringLiteral("Satz"));
    sentence_->setWordWrap(true);
    sentence_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    sentence_->setFocusPolicy(Qt::StrongFocus);

    QTableView *atLeastView = makeTable(this, atLeast_, QStringLiteral("Sortierung"));
    QTableView *facesView = makeTable(this, faces_, QStringLiteral("Wurfergebnis"));
    atLeastHeading_->setBuddy(atLeastView);
    facesHeading_->setBuddy(facesView);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("Schließen"));
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    // As large as the tables with every row and column; they grow with their numbers.
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->addWidget(sentence_);
    layout->addWidget(atLeastHeading_);
    layout->addWidget(atLeastView);
    layout->addWidget(facesHeading_);
    layout->addWidget(facesView);
    layout->addWidget(buttons);
    // The sentence can be read and selected from the keyboard too; the table comes first.
    atLeastView->setFocus();
}

void OddsWindow::showCounts(const PageOddsInput &input)
{
    atLeast_->update(input.dice, input.counts.atLeast, input.chosenSides);
    faces_->update(input.dice, input.counts.faces, input.chosenSides);
    sentence_->setText(QString::fromStdString(
        pageSentence(atLeast_->table(), input.counts.atLeast, input.dice, input.threshold)));
    const QString page = QString::fromStdString(pageName(input.page));
    atLeastHeading_->setText(QStringLiteral("Sortierung, %1").arg(page));
    facesHeading_->setText(QStringLiteral("Wurfergebnis, %1").arg(page));
}

} // namespace talvero
