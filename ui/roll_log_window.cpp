// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/roll_log_window.h"

#include "engine/failure_cause.h"
#include "ui/roll_log_model.h"

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

RollLogWindow::RollLogWindow(RollLogModel &log, QWidget *parent)
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
    const std::string csv =
        log_.log().csv(dialog.selectedNameFilter() == forSpreadsheets ? CsvSeparator::Semicolon
                                                                      : CsvSeparator::Comma);
    const QString reason =
        replaceFile(path, QByteArray(csv.data(), static_cast<qsizetype>(csv.size())));
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
