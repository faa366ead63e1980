// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>

namespace talvero {

class RollLogModel;

// "Verlauf": the roll log in a table, saved as CSV on request. Not modal.
class RollLogWindow final : public QDialog
{
    Q_OBJECT

public:
    explicit RollLogWindow(RollLogModel &log, QWidget *parent = nullptr);

private:
    void saveAsCsv();

    RollLogModel &log_;
};

} // namespace talvero
