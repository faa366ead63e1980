// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/odds_window.h"

#include "ui/window_design.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>
#include <cmath>

namespace talvero {

namespace {

// The columns of both tables.
enum Column
{
    Shown,
    Dice,
    Expected,
    Usual,
    SoMany,
    SoFew,
    ColumnCount
};

const char16_t *const kColumnTitles[ColumnCount] = {u"Gezählt",
                                                    u"Würfel",
                                                    u"Erwartet",
                                                    u"Üblich",
                                                    u"So viele oder mehr",
                                                    u"So wenige oder weniger"};

// Decimal comma, no grouping: numbers as the window writes them.
QLocale german()
{
    QLocale locale(QLocale::German, QLocale::Germany);
    locale.setNumberOptions(QLocale::OmitGroupSeparator);
    return locale;
}

// A share that rounds to 0 whole percent.
bool roundsToNoPercent(double share)
{
    return share * 100.0 < 0.5;
}

// A share in whole percent, for the sentence; never "0 %" or "100 %" for what can happen or fail.
// A no-break space keeps "%" on its number's line.
QString wholePercent(double share)
{
    const double percent = share * 100.0;
    if (share > 0.0 && roundsToNoPercent(share))
        return QStringLiteral("weniger als 1\u00A0%");
    if (percent < 100.0 && percent >= 99.5)
        return QStringLiteral("mehr als 99\u00A0%");
    return QStringLiteral("%1\u00A0%").arg(std::lround(percent));
}

} // namespace

QString expectedText(double expected)
{
    return german().toString(expected, 'f', 1);
}

QString shareText(double share)
{
    const double percent = share * 100.0;
    if (percent > 0.0 && percent < 0.05)
        return QStringLiteral("<\u00A00,1\u00A0%");
    if (percent < 100.0 && percent >= 99.95)
        return QStringLiteral(">\u00A099,9\u00A0%");
    return german().toString(percent, 'f', 1) + QStringLiteral("\u00A0%");
}

QString usualRangeText(const RowOdds &odds)
{
    return QStringLiteral("%1–%2").arg(odds.usualLow).arg(odds.usualHigh);
}

QString oddsSentence(int threshold, std::uint64_t count, const RowOdds &odds)
{
    if (odds.dice == 0)
        return QStringLiteral("Auf dieser Seite liegen noch keine Würfel.");
    QString text = QStringLiteral("%1+: %2 von %3 Würfeln. Erwartet %4, üblich %5 bis %6. ")
                       .arg(threshold)
                       .arg(count)
                       .arg(odds.dice)
                       .arg(expectedText(odds.expected))
                       .arg(odds.usualLow)
                       .arg(odds.usualHigh);
    // The tail the count lies in: how often fair dice come out at least this far that way.
    const bool many = static_cast<double>(count) >= odds.expected;
    const double share = many ? odds.atLeastShare : odds.atMostShare;
    constexpr double kRare = 0.1;
    text += many ? QStringLiteral("So viele oder mehr bringen ")
                 : QStringLiteral("So wenige oder weniger bringen ");
    // "weniger als 1 %" says so alone; "nur" before it reads wrong.
    if (share < kRare && !roundsToNoPercent(share))
        text += QStringLiteral("nur ");
    return text + wholePercent(share) + QStringLiteral(" der Würfe.");
}

OddsTable::OddsTable(RowKind kind, QObject *parent)
    : QAbstractTableModel(parent)
    , kind_(kind)
{
    // A row for every count of the page from the start, before any die is behind them.
    const std::vector<std::uint64_t> none(kind == RowKind::Face ? 10 : 9, 0);
    setCounts({}, none);
}

void OddsTable::setCounts(const std::vector<DiceGroup> &dice, std::span<const std::uint64_t> counts)
{
    const int rows = kind_ == RowKind::Face ? 10 : 9;
    const int first = kind_ == RowKind::Face ? 1 : 2;
    if (!dice_ || *dice_ != dice) {
        distributions_.clear();
        for (int row = 0; row < rows; ++row)
            distributions_.emplace_back(dice, kind_, first + row);
        dice_ = dice;
    }
    counts_.assign(counts.begin(), counts.end());
    odds_.clear();
    for (int row = 0; row < rows; ++row)
        odds_.push_back(oddsOf(distributions_[static_cast<std::size_t>(row)],
                               counts_[static_cast<std::size_t>(row)]));
    Q_EMIT dataChanged(index(0, 0), index(rows - 1, ColumnCount - 1), {Qt::DisplayRole});
}

int OddsTable::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(odds_.size());
}

int OddsTable::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant OddsTable::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    const RowOdds &row = odds(index.row());
    switch (index.column()) {
    case Shown:
        return QString::number(counts_[static_cast<std::size_t>(index.row())]);
    case Dice:
        return QString::number(row.dice);
    case Expected:
        return expectedText(row.expected);
    case Usual:
        return usualRangeText(row);
    case SoMany:
        return shareText(row.atLeastShare);
    case SoFew:
        return shareText(row.atMostShare);
    default:
        return {};
    }
}

QVariant OddsTable::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    if (orientation == Qt::Horizontal)
        return section >= 0 && section < ColumnCount ? QString::fromUtf16(kColumnTitles[section])
                                                     : QVariant();
    // The window's own column headings.
    return kind_ == RowKind::Face ? faceHeading(section) : thresholdHeading(section);
}

namespace {

QTableView *makeTable(QWidget *parent, OddsTable *model, const QString &name)
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
    , atLeast_(new OddsTable(RowKind::AtLeast, this))
    , faces_(new OddsTable(RowKind::Face, this))
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

void OddsWindow::showCounts(const PageCounts &counts)
{
    atLeast_->setCounts(counts.dice, counts.atLeast);
    faces_->setCounts(counts.dice, counts.faces);
    const int row = counts.threshold - 2;
    sentence_->setText(oddsSentence(counts.threshold, counts.atLeast[static_cast<std::size_t>(row)],
                                    atLeast_->odds(row)));
    atLeastHeading_->setText(QStringLiteral("Sortierung, %1").arg(counts.page));
    facesHeading_->setText(QStringLiteral("Wurfergebnis, %1").arg(counts.page));
}

} // namespace talvero
