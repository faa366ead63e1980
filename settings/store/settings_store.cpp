// SPDX-License-Identifier: GPL-3.0-or-later
#include "settings/store/settings_store.h"

#include "engine/failure_cause.h"
#include "talvero/product.h"

#include <QDataStream>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QLoggingCategory>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringList>
#include <algorithm>
#include <cerrno>
#include <cmath>
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

// What failed, then why.
QString failure(const QString &what, int error, const QString &folder)
{
    return what + QLatin1Char(' ') +
           QString::fromStdString(failureCause(error, folder.toStdString()));
}

// The file at the end of a chain of links, which is the file QSettings reads; nothing when the
// links go round in a circle.
std::optional<QString> endOfLinks(QString path)
{
    for (int hop = 0; hop < 40; ++hop) { // as many as the system follows
        const QFileInfo info(path);
        if (!info.isSymLink())
            return path;
        path = info.symLinkTarget();
    }
    return std::nullopt;
}

// A name beside `target` for a copy of it: `target` and 16 hexadecimal digits.
QString copyName(const QString &target)
{
    return QStringLiteral("%1.%2").arg(target).arg(QRandomGenerator::global()->generate64(), 16, 16,
                                                   QLatin1Char('0'));
}

// Removes what saves killed on the way left beside `target`: their copies, and the lock and
// temporary file QSettings makes beside a copy while writing it (six letters). Only while the
// lock on `target` is held, so that no other save is using them.
void removeLeftovers(const QString &target)
{
    const QFileInfo info(target);
    const QRegularExpression own(QStringLiteral("^%1\\.[0-9a-f]{16}(\\.lock|\\.[A-Za-z]{6})?$")
                                     .arg(QRegularExpression::escape(info.fileName())));
    QDir folder = info.absoluteDir();
    const QStringList candidates =
        folder.entryList({info.fileName() + QStringLiteral(".*")},
                         QDir::Files | QDir::Hidden | QDir::System | QDir::NoSymLinks);
    for (const QString &name : candidates)
        if (own.match(name).hasMatch())
            folder.remove(name); // one left behind is tried again next time
}

// A file of its own beside `target`, holding what `target` holds now, with its permissions.
// Its path, or what failed.
struct Copy
{
    QString path;
    QString failure;
};

Copy copyBeside(const QString &target, const QString &folder)
{
    QByteArray content;
    struct stat info = {};
    const int original = ::open(QFile::encodeName(target).constData(), O_RDONLY | O_CLOEXEC);
    if (original < 0 && errno == EACCES)
        return {{}, QStringLiteral("Sie dürfen die Datei nicht lesen.")};
    if (original < 0 && errno != ENOENT)
        return {{}, failure(QStringLiteral("Die Datei lässt sich nicht lesen."), errno, folder)};
    if (original >= 0) {
        int error = ::fstat(original, &info) == 0 ? 0 : errno;
        char buffer[8192];
        for (ssize_t got = 1; error == 0 && got != 0;) {
            got = ::read(original, buffer, sizeof buffer);
            if (got > 0)
                content.append(buffer, got);
            else if (got < 0 && errno != EINTR)
                error = errno;
        }
        ::close(original);
        if (error != 0)
            return {{},
                    failure(QStringLiteral("Die Datei lässt sich nicht lesen."), error, folder)};
    }
    const QString path = copyName(target);
    const QByteArray encoded = QFile::encodeName(path);
    const QString what = QStringLiteral("Die Kopie %1 lässt sich nicht schreiben.").arg(path);
    // Created as QSettings creates a file: readable by all as the umask allows.
    const int fd = ::open(encoded.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0)
        return {{}, failure(what, errno, folder)};
    int error = 0;
    for (qsizetype done = 0; done < content.size() && error == 0;) {
        const ssize_t written = ::write(fd, content.constData() + done,
                                        static_cast<std::size_t>(content.size() - done));
        if (written < 0 && errno != EINTR)
            error = errno;
        else if (written > 0)
            done += written;
    }
    if (error == 0 && original >= 0 && ::fchmod(fd, info.st_mode & 07777) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error != 0) {
        ::unlink(encoded.constData());
        return {{}, failure(what, error, folder)};
    }
    return {path, {}};
}

// Whether a value read back from a settings file is the one that was written. QSettings writes
// numbers and truth values as text, which reads back as text; other values that are not text
// it writes through QDataStream, which also tells apart what equals nothing, not even itself (a
// double that is not a number).
bool same(const QVariant &read, const QVariant &written)
{
    if (read == written)
        return true;
    if (read.typeId() == QMetaType::QString)
        return read.toString() == written.toString();
    if (read.typeId() != written.typeId())
        return false;
    QByteArray readBytes;
    QByteArray writtenBytes;
    QDataStream readStream(&readBytes, QIODevice::WriteOnly);
    QDataStream writtenStream(&writtenBytes, QIODevice::WriteOnly);
    readStream << read;
    writtenStream << written;
    return readBytes == writtenBytes;
}

// Whether the settings file at `path` holds exactly `expected`. Read by a QSettings of its own:
// `path` must be a name the process has not opened before, as QSettings answers for a file it
// has seen from what it holds in memory.
bool holdsExactly(const QString &path, const QMap<QString, QVariant> &expected)
{
    const QSettings check(path, QSettings::IniFormat);
    const QStringList keys = check.allKeys();
    return keys.size() == expected.size() &&
           std::all_of(keys.cbegin(), keys.cend(), [&](const QString &key) {
               const auto value = expected.constFind(key);
               return value != expected.cend() && same(check.value(key), *value);
           });
}

// The system's answer when the file at `path` (a new one if `fresh`) is made `bytes` large; 0
// when it can be.
int growthError(const QByteArray &path, qint64 bytes, bool fresh = false)
{
    const int fd =
        ::open(path.constData(), O_WRONLY | O_CLOEXEC | (fresh ? O_CREAT | O_EXCL : 0), 0600);
    if (fd < 0)
        return errno;
    const int error = bytes > 0 ? ::posix_fallocate(fd, 0, bytes) : 0;
    ::close(fd);
    return error;
}

// Why merging into the copy failed, as QSettings does not tell: the room the merge takes is
// asked for again. The copy holds what the file holds, and beside it lie QSettings's lock, as
// large as ours, and the merged file, as large as it can be: every byte escaped, a section
// header each. 0 when there is room.
int mergeError(const QString &target, const QByteArray &copy, qint64 lockSize,
               const QMap<QString, QString> &values)
{
    const qint64 held = QFileInfo(target).size();
    qint64 merged = held;
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        merged += 4 * (it.key().toUtf8().size() + it.value().toUtf8().size()) + 8;
    const QByteArray lock = QFile::encodeName(copyName(target));
    const QByteArray mergedFile = QFile::encodeName(copyName(target));
    int error = growthError(copy, held);
    if (error == 0)
        error = growthError(lock, lockSize, true);
    if (error == 0)
        error = growthError(mergedFile, merged, true);
    ::unlink(lock.constData());
    ::unlink(mergedFile.constData());
    return error;
}

// Sends what was written to `path` to the disk; 0 or the error.
int syncToDisk(const QByteArray &path, int flags = O_RDONLY)
{
    const int fd = ::open(path.constData(), flags | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ::fsync(fd) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

// Writes `values` into the file at `target` and tells what failed, or nothing. The merging
// happens in a copy beside it, which takes the file's place once it is read back whole: neither
// QSettings nor the file ever holds a value that did not reach the disk, and the file is never
// cut short.
QString writeInto(const QString &target, const QMap<QString, QString> &values)
{
    const QString folder = QFileInfo(target).absolutePath();
    if (!QDir().mkpath(folder))
        return QStringLiteral("Der Ordner %1 fehlt und lässt sich nicht anlegen.").arg(folder);
    const QByteArray encodedTarget = QFile::encodeName(target);
    if (::access(encodedTarget.constData(), W_OK) != 0 && errno != ENOENT) {
        if (errno == EACCES)
            return QStringLiteral("Die Datei ist schreibgeschützt.");
        return failure(QStringLiteral("Die Datei lässt sich nicht schreiben."), errno, folder);
    }
    // The lock QSettings itself takes while it writes this file. It tells errors apart only
    // roughly; the system's error is still there when it fails.
    QLockFile lock(target + QStringLiteral(".lock"));
    errno = 0;
    if (!lock.tryLock(2000)) {
        const int error = errno;
        if (lock.error() == QLockFile::LockFailedError)
            return QStringLiteral("Ein anderes Programm schreibt die Datei gerade.");
        return failure(
            QStringLiteral("Die Sperrdatei %1 lässt sich nicht anlegen.").arg(lock.fileName()),
            error, folder);
    }
    removeLeftovers(target);
    const Copy copy = copyBeside(target, folder);
    if (copy.path.isEmpty())
        return copy.failure;

    QMap<QString, QVariant> expected;
    bool merged = false;
    {
        QSettings writer(copy.path, QSettings::IniFormat);
        const QStringList kept = writer.allKeys();
        for (const QString &key : kept)
            expected.insert(key, writer.value(key));
        for (auto it = values.cbegin(); it != values.cend(); ++it) {
            writer.setValue(it.key(), it.value());
            expected.insert(it.key(), it.value());
        }
        writer.sync();
        merged = writer.status() != QSettings::AccessError;
    }
    // QSettings can count a write that was cut short as done, so the copy is read back, under a
    // name of its own.
    const QString checked = copyName(target);
    const QByteArray encoded = QFile::encodeName(checked);
    const QString what =
        QStringLiteral("Die neuen Werte lassen sich nicht vollständig in die Kopie %1 schreiben.")
            .arg(checked);
    if (::rename(QFile::encodeName(copy.path).constData(), encoded.constData()) != 0) {
        const int error = errno;
        ::unlink(QFile::encodeName(copy.path).constData());
        return failure(what, error, folder);
    }
    if (!merged || !holdsExactly(checked, expected)) {
        const int error = mergeError(target, encoded, QFileInfo(lock.fileName()).size(), values);
        ::unlink(encoded.constData());
        return failure(what, error, folder);
    }
    if (const int error = syncToDisk(encoded); error != 0) {
        ::unlink(encoded.constData());
        return failure(
            QStringLiteral("Die Kopie %1 lässt sich nicht auf den Datenträger schreiben.")
                .arg(checked),
            error, folder);
    }
    if (::rename(encoded.constData(), encodedTarget.constData()) != 0) {
        const int error = errno;
        ::unlink(encoded.constData());
        return failure(QStringLiteral("Die Kopie %1 lässt sich nicht an die Stelle der Datei "
                                      "setzen.")
                           .arg(checked),
                       error, folder);
    }
    // So that the new name outlasts a crash; without that it still stands.
    syncToDisk(QFile::encodeName(folder), O_RDONLY | O_DIRECTORY);
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
    const std::optional<QString> target = endOfLinks(fileName());
    const QString reason =
        target ? writeInto(*target, values)
               : QStringLiteral("Die Verknüpfungen zur Datei führen im Kreis zu sich selbst.");
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
