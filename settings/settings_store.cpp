// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/settings_store.h"

#include <QFile>
#include <QLoggingCategory>
#include <QStringList>
#include <cmath>
#include <sys/stat.h>

namespace talvero {

namespace {

Q_LOGGING_CATEGORY(lcSettings, "talvero.settings");

void warn(const QString &message)
{
    qCWarning(lcSettings).noquote() << message;
}

// Which file a path names right now, and when it was last changed.
struct FileIdentity
{
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    timespec changed{};

    bool operator!=(const FileIdentity &other) const
    {
        return exists != other.exists || device != other.device || inode != other.inode ||
               changed.tv_sec != other.changed.tv_sec || changed.tv_nsec != other.changed.tv_nsec;
    }
};

FileIdentity identityOf(const QString &path)
{
    struct stat info = {};
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return {};
    return {true, info.st_dev, info.st_ino, info.st_mtim};
}

} // namespace

QString SettingKey::path() const
{
    return QString::fromUtf16(section) + QLatin1Char('/') + QString::fromUtf16(name);
}

SettingsStore::SettingsStore()
    : settings_(std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                            QStringLiteral("Talvero"), QStringLiteral("Talvero")))
{
    if (settings_->status() == QSettings::FormatError)
        warn(QStringLiteral("Die Einstellungsdatei %1 ist beschädigt; es gelten die Standardwerte.")
                 .arg(fileName()));
}

SettingsStore::SettingsStore(const QString &fileName)
    : settings_(std::make_unique<QSettings>(fileName, QSettings::IniFormat))
{}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

QString SettingsStore::read(const SettingKey &key) const
{
    const QVariant value = settings_->value(key.path());
    if (!value.isValid())
        return key.defaultText();
    // An unquoted text with commas in it reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::write(const SettingKey &key, const QString &text)
{
    if (!before_.contains(key.path()))
        before_.insert(key.path(), settings_->value(key.path()));
    settings_->setValue(key.path(), text);
}

std::optional<int> SettingsStore::readWhole(const SettingKey &key) const
{
    return parseWhole(read(key));
}

std::optional<bool> SettingsStore::readTruth(const SettingKey &key) const
{
    return parseTruth(read(key));
}

std::optional<float> SettingsStore::readSize(const SettingKey &key) const
{
    return parseSize(read(key));
}

bool SettingsStore::save()
{
    if (before_.isEmpty())
        return true;
    // QSettings keeps the first error of its life in status(), a damaged file read long ago
    // included, so this save is judged by the file itself: Qt writes a new file and renames it
    // over the old one, so a write that reached the disk leaves another file behind.
    const FileIdentity old = identityOf(fileName());
    settings_->sync();
    const FileIdentity now = identityOf(fileName());
    const bool written = now.exists && now != old;
    if (!written) {
        warn(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: %1 lässt sich "
                            "nicht schreiben.")
                 .arg(fileName()));
        for (auto it = before_.cbegin(); it != before_.cend(); ++it) {
            if (it.value().isValid())
                settings_->setValue(it.key(), it.value());
            else
                settings_->remove(it.key());
        }
    }
    before_.clear();
    return written;
}

QString truthText(bool value)
{
    return value ? QStringLiteral("True") : QStringLiteral("False");
}

std::optional<bool> parseTruth(const QString &text)
{
    const QString trimmed = text.trimmed();
    if (trimmed.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (trimmed.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    // Whole numbers as well: 0 is false, any other true.
    bool ok = false;
    const qlonglong number = trimmed.toLongLong(&ok);
    if (ok)
        return number != 0;
    return std::nullopt;
}

std::optional<int> parseWhole(const QString &text)
{
    bool ok = false;
    const int value = text.trimmed().toInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

std::optional<float> parseSize(const QString &text)
{
    // Written with a decimal point whatever the locale; a hand-edited comma is read too.
    QString trimmed = text.trimmed();
    trimmed.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const float value = trimmed.toFloat(&ok);
    if (!ok || !std::isfinite(value) || value <= 0)
        return std::nullopt;
    return value;
}

QString sizeText(float points)
{
    return QString::number(static_cast<double>(points), 'g', 7);
}

} // namespace talvero
