// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/roll_log.h"

#include "engine/failure_cause.h"
#include "ui/window_design.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QSaveFile>
#include <QTableView>
#include <QVBoxLayout>
#include <cerrno>
#include <unistd.h>

namespace talvero {

namespace {

// Time, page, what happened, dice, sides, counting mode, then the faces the event threw.
enum Column
{
    Time,
    PageName,
    What,
    Dice,
    Sides,
    Counting,
    FirstFace,
    ColumnCount = FirstFace + kFaceCount
};

const char16_t *const kTitles[FirstFace] = {u"Zeit",   u"Seite",  u"Ereignis",
                                            u"Würfel", u"Seiten", u"Zählung"};

QString title(int column)
{
    return column < FirstFace ? QString::fromUtf16(kTitles[column])
                              : faceHeading(column - FirstFace);
}

QString happening(const RollEvent &event)
{
    switch (event.kind) {
    case RollKind::Roll:
        return QStringLiteral("Wurf");
    case RollKind::FollowUp:
        return QStringLiteral("Folgewurf %1+").arg(event.value);
    case RollKind::RerollFace:
        return QStringLiteral("%1er neu gewürfelt").arg(event.value);
    case RollKind::RerollBelow:
        return QStringLiteral("unter %1+ neu gewürfelt").arg(event.value);
    }
    return {};
}

// A CSV field, quoted where it holds the separator, a quote or a line break.
QByteArray csvField(const QString &text, char separator)
{
    QByteArray field = text.toUtf8();
    if (field.contains(separator) || field.contains('"') || field.contains('\n') ||
        field.contains('\r')) {
        field.replace('"', "\"\"");
        field = '"' + field + '"';
    }
    return field;
}

// On the disk, or on a file system that cannot sync and says so.
bool synced(int handle)
{
    return ::fsync(handle) == 0 || errno == EINVAL || errno == ENOTSUP || errno == ENOSYS;
}

// Puts `bytes` in place of what `path` holds, or leaves that as it was. Empty, or the reason.
QString replaceFile(const QString &path, const QByteArray &bytes)
{
    QSaveFile file(path);
    errno = 0;
    // A small file waits in QSaveFile's buffer, and commit() would put whatever of it reached the
    // disk in place of the old one: the flush, the sync and the size on disk are checked first.
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush() &&
        synced(file.handle()) && file.size() == bytes.size() && file.commit())
        return {};
    const QString reason =
        QString::fromStdString(failureCause(errno, QFileInfo(path).absolutePath().toStdString()));
    file.cancelWriting();
    return reason;
}

} // namespace

RollLog::RollLog(QObject *parent)
    : QAbstractTableModel(parent)
{}

void RollLog::add(const Entry &entry)
{
    if (entries_.size() == kMostEvents) {
        beginRemoveRows({}, 0, 0);
        entries_.pop_front();
        endRemoveRows();
    }
    const int row = static_cast<int>(entries_.size());
    beginInsertRows({}, row, row);
    entries_.push_back(entry);
    endInsertRows();
}

QString RollLog::text(const Entry &entry, int column) const
{
    const RollEvent &event = entry.event;
    switch (column) {
    case Time:
        return entry.time.toString(QStringLiteral("hh:mm:ss"));
    case PageName:
        return event.page == Page::Hit ? QStringLiteral("TREFFERWÜRFE")
                                       : QStringLiteral("SCHADENSWÜRFE");
    case What:
        return happening(event);
    case Dice:
        return QString::number(event.thrown.dice);
    case Sides:
        return QString::number(event.thrown.sides);
    case Counting:
        return entry.newCount ? QStringLiteral("neue Zählung") : QStringLiteral("Addition");
    default:
        return QString::number(event.thrown.faces[static_cast<std::size_t>(column - FirstFace)]);
    }
}

QByteArray RollLog::csv(char separator) const
{
    // Without the mark a spreadsheet takes the file for its own code page and garbles "Würfel".
    QByteArray out("\xEF\xBB\xBF");
    const auto record = [&](auto field) {
        for (int column = 0; column < ColumnCount; ++column) {
            if (column)
                out += separator;
            out += csvField(field(column), separator);
        }
        out += "\r\n";
    };
    record(title);
    for (const Entry &entry : entries_)
        record([&](int column) { return text(entry, column); });
    return out;
}

int RollLog::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(entries_.size());
}

int RollLog::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant RollLog::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole && index.column() >= Dice && index.column() != Counting)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignRight | Qt::AlignVCenter));
    if (role != Qt::DisplayRole && role != Qt::AccessibleTextRole)
        return {};
    return text(entries_[static_cast<std::size_t>(index.row())], index.column());
}

QVariant RollLog::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole || orientation != Qt::Horizontal || section < 0 ||
        section >= ColumnCount)
        return {};
    return title(section);
}

RollLogWindow::RollLogWindow(RollLog &log, QWidget *parent)
    : QDialog(parent)
    , log_(log)
{
    setObjectName(QStringLiteral("Verlauf"));
    setWindowTitle(QStringLiteral("Verlauf"));
    auto *table = new QTableView(this);
    table->setObjectName(QStringLiteral("Würfe"));
    table->setAccessibleName(QStringLiteral("Würfe"));
    table->setModel(&log_);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setTabKeyNavigation(false);
    table->verticalHeader()->hide();
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    // The newest event in sight.
    connect(&log_, &QAbstractItemModel::rowsInserted, table, &QTableView::scrollToBottom);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *save =
        buttons->addButton(QStringLiteral("Als CSV speichern…"), QDialogButtonBox::ActionRole);
    save->setObjectName(QStringLiteral("AlsCsvSpeichern"));
    QPushButton *close = buttons->addButton(QDialogButtonBox::Close);
    close->setText(QStringLiteral("Schließen"));
    connect(save, &QPushButton::clicked, this, &RollLogWindow::saveAsCsv);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(table);
    layout->addWidget(buttons);
    resize(760, 360);
}

void RollLogWindow::saveAsCsv()
{
    const QString forSpreadsheets =
        QStringLiteral("CSV mit Semikolon, für Tabellenkalkulation auf Deutsch (*.csv)");
    QFileDialog dialog(this, QStringLiteral("Verlauf als CSV speichern"), QDir::homePath());
    dialog.setNameFilters({QStringLiteral("CSV-Dateien (*.csv)"), forSpreadsheets});
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(QStringLiteral("csv"));
    dialog.selectFile(QStringLiteral("Verlauf.csv"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return;
    const QString path = dialog.selectedFiles().constFirst();
    const QString reason =
        replaceFile(path, log_.csv(dialog.selectedNameFilter() == forSpreadsheets ? ';' : ','));
    if (reason.isEmpty())
        return;
    // The log stays as it is; the user can choose another place.
    QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                    QStringLiteral("Der Verlauf konnte nicht gespeichert werden.\n\nDatei: "
                                   "%1\nGrund: %2")
                        .arg(QDir::toNativeSeparators(path), reason),
                    QMessageBox::Ok, this);
    box.setObjectName(QStringLiteral("LogNotSaved"));
    box.exec();
}

} // namespace talvero
