// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/store/settings_store.h"

#include "talvero/product.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QStringList>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace talvero {

namespace {

Q_LOGGING_CATEGORY(lcSettings, "talvero.settings");

void warn(const QString &message)
{
    qCWarning(lcSettings).noquote() << message;
}

// Why a file operation failed, as a user can act on it.
QString reasonFor(int error)
{
    switch (error) {
    case ENOSPC:
    case EDQUOT:
        return QStringLiteral("Auf dem Datenträger ist kein Platz mehr frei.");
    case EFBIG:
        return QStringLiteral("Die Datei darf nicht größer werden.");
    case EACCES:
    case EPERM:
        return QStringLiteral("Sie dürfen in diesen Ordner nicht schreiben.");
    case EROFS:
        return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case ENOTDIR:
    case ENOENT:
        return QStringLiteral("Der Ordner fehlt und lässt sich nicht anlegen.");
    default:
        return QStringLiteral("Das System meldet: %1.")
            .arg(QString::fromLocal8Bit(std::strerror(error)));
    }
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

// A file of its own beside `target`, holding what `target` holds now, with its permissions.
// Its path, or the reason it could not be made.
struct Copy
{
    QString path;
    QString failure;
};

Copy copyBeside(const QString &target)
{
    QFile original(target);
    QByteArray content;
    struct stat info = {};
    const bool exists = ::stat(QFile::encodeName(target).constData(), &info) == 0;
    if (exists) {
        if (!original.open(QIODevice::ReadOnly))
            return {{}, reasonFor(EACCES)};
        content = original.readAll();
    }
    const QString path = QStringLiteral("%1.%2").arg(target).arg(
        QRandomGenerator::global()->generate64(), 16, 16, QLatin1Char('0'));
    const QByteArray encoded = QFile::encodeName(path);
    // Created as QSettings creates a file: readable by all as the umask allows.
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return {{}, reasonFor(errno)};
    int error = 0;
    for (qsizetype done = 0; done < content.size() && error == 0;) {
        const ssize_t written = ::write(fd, content.constData() + done,
                                        static_cast<std::size_t>(content.size() - done));
        if (written < 0 && errno != EINTR)
            error = errno;
        else if (written > 0)
            done += written;
    }
    if (error == 0 && exists && ::fchmod(fd, info.st_mode & 07777) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(encoded.constData());
        return {{}, reasonFor(error)};
    }
    return {path, {}};
}

// Writes `values` into the file at `target` and tells why that failed, or nothing. The merging
// happens in a copy beside it, which then takes the file's place: QSettings never holds a
// value that did not reach the disk.
QString writeInto(const QString &target, const QMap<QString, QString> &values)
{
    const QFileInfo info(target);
    if (!QDir().mkpath(info.absolutePath()))
        return reasonFor(ENOTDIR);
    if (info.exists() && !info.isWritable())
        return reasonFor(EACCES);
    // The lock QSettings itself takes while it writes this file.
    QLockFile lock(target + QStringLiteral(".lock"));
    if (!lock.tryLock(2000)) {
        switch (lock.error()) {
        case QLockFile::LockFailedError:
            return QStringLiteral("Ein anderes Programm schreibt die Datei gerade.");
        case QLockFile::PermissionError:
            return reasonFor(EACCES);
        default: // the lock file was made but could not be written
            return reasonFor(ENOSPC);
        }
    }
    const Copy copy = copyBeside(target);
    if (copy.path.isEmpty())
        return copy.failure;
    const QByteArray encoded = QFile::encodeName(copy.path);
    bool merged = false;
    {
        QSettings writer(copy.path, QSettings::IniFormat);
        for (auto it = values.cbegin(); it != values.cend(); ++it)
            writer.setValue(it.key(), it.value());
        // Qt writes a new file and renames it over the copy; no new file, no write.
        const FileIdentity before = identityOf(copy.path);
        writer.sync();
        merged = writer.status() != QSettings::AccessError && identityOf(copy.path) != before;
    }
    if (!merged) {
        ::unlink(encoded.constData());
        return reasonFor(ENOSPC);
    }
    if (::rename(encoded.constData(), QFile::encodeName(target).constData()) != 0) {
        const int error = errno;
        ::unlink(encoded.constData());
        return reasonFor(error);
    }
    return {};
}

// Truth values are written as "True" and "False" and read in any letter case, and as whole
// numbers: 0 is false, any other true.
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

// Written with a decimal point whatever the locale; a hand-edited comma is read too.
QString sizeText(float points)
{
    return QString::number(static_cast<double>(points), 'g', 7);
}

std::optional<float> parseSize(const QString &text)
{
    QString trimmed = text.trimmed();
    trimmed.replace(QLatin1Char(','), QLatin1Char('.'));
    bool ok = false;
    const float value = trimmed.toFloat(&ok);
    if (!ok || std::isnan(value))
        return std::nullopt;
    return value;
}

} // namespace

QString SettingKey::path() const
{
    return QString::fromUtf16(section) + QLatin1Char('/') + QString::fromUtf16(name);
}

SettingsStore::SettingsStore(const QString &fileName)
{
    if (!fileName.isEmpty()) {
        settings_ = std::make_unique<QSettings>(fileName, QSettings::IniFormat);
        return;
    }
    const QString product = QString::fromUtf16(product::kName);
    settings_ = std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope, product,
                                            product);
    if (settings_->status() == QSettings::FormatError)
        warn(QStringLiteral("Die Einstellungsdatei %1 ist beschädigt; es gelten die Standardwerte.")
                 .arg(this->fileName()));
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::fileName() const
{
    return settings_->fileName();
}

std::optional<QString> SettingsStore::text(const SettingKey &key) const
{
    if (const auto unsaved = pending_.constFind(key.path()); unsaved != pending_.cend())
        return *unsaved;
    const QVariant value = settings_->value(key.path());
    if (!value.isValid())
        return std::nullopt;
    // An unquoted text with commas in it reads back as a list.
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(','));
    return value.toString();
}

void SettingsStore::writeText(const SettingKey &key, const QString &text)
{
    pending_.insert(key.path(), text);
}

int SettingsStore::readInt(const WholeSetting &setting) const
{
    const std::optional<QString> stored = text(setting.key);
    const std::optional<int> value = stored ? parseWhole(*stored) : std::nullopt;
    if (value && *value >= setting.minimum && *value <= setting.maximum)
        return *value;
    return setting.fallback;
}

std::optional<bool> SettingsStore::readBool(const TruthSetting &setting) const
{
    const std::optional<QString> stored = text(setting.key);
    return stored ? parseTruth(*stored) : setting.fallback;
}

std::optional<QString> SettingsStore::readText(const TextSetting &setting) const
{
    const QString value =
        text(setting.key).value_or(QString::fromUtf16(setting.fallback)).trimmed();
    if (value.isEmpty())
        return std::nullopt;
    return value;
}

std::optional<float> SettingsStore::readSize(const SizeSetting &setting) const
{
    const std::optional<QString> stored = text(setting.key);
    if (!stored)
        return setting.fallback;
    const std::optional<float> value = parseSize(*stored);
    if (!value)
        return std::nullopt;
    // Convertible but more or less than the dialog can show, infinities included.
    if (!(*value >= setting.minimum && *value <= setting.maximum))
        return setting.fallback;
    return value;
}

void SettingsStore::write(const WholeSetting &setting, int value)
{
    writeText(setting.key, QString::number(value));
}

void SettingsStore::write(const TruthSetting &setting, bool value)
{
    writeText(setting.key, truthText(value));
}

void SettingsStore::write(const TextSetting &setting, const QString &value)
{
    writeText(setting.key, value);
}

void SettingsStore::write(const SizeSetting &setting, float value)
{
    writeText(setting.key, sizeText(value));
}

WindowChoices SettingsStore::readChoices() const
{
    return {readInt(keys::diceCount), readInt(keys::sides),
            readBool(keys::addHits).value_or(keys::addHits.fallback),
            readBool(keys::addDamage).value_or(keys::addDamage.fallback),
            readInt(keys::turned) == 1};
}

void SettingsStore::writeChoices(const WindowChoices &choices)
{
    write(keys::diceCount, choices.dice);
    write(keys::sides, choices.sides);
    write(keys::addHits, choices.addHits);
    write(keys::addDamage, choices.addDamage);
    write(keys::turned, choices.turned ? 1 : 0);
}

FontPreset SettingsStore::readFont() const
{
    return {readText(keys::fontName), readBool(keys::fontBold), readBool(keys::fontItalic),
            readSize(keys::fontSize)};
}

void SettingsStore::writeFont(const FontChoice &font)
{
    write(keys::fontName, font.name);
    write(keys::fontBold, font.bold);
    write(keys::fontItalic, font.italic);
    write(keys::fontSize, font.size);
}

SaveResult SettingsStore::save()
{
    if (pending_.isEmpty())
        return {};
    // Forgotten whatever happens: a value that could not be stored is never written later.
    const QMap<QString, QString> values = std::exchange(pending_, {});
    // A link is followed, as QSettings follows it, so the file it names is the one rewritten.
    QString target = fileName();
    if (const QFileInfo info(target); info.isSymLink())
        target = info.symLinkTarget();
    const QString reason = writeInto(target, values);
    if (!reason.isEmpty()) {
        warn(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden: %1 lässt sich "
                            "nicht schreiben. %2")
                 .arg(fileName(), reason));
        return {false, reason};
    }
    // Reads the file anew.
    settings_->sync();
    return {};
}

} // namespace talvero
