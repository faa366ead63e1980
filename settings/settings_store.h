// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

namespace talvero {

// A setting: section, key and the text it reads as when it is absent.
struct SettingKey
{
    const char16_t *section;
    const char16_t *name;
    const char16_t *fallback;

    QString path() const;
    QString defaultText() const { return QString::fromUtf16(fallback); }
};

// Every setting of Talvero, declared once.
namespace keys {
inline constexpr SettingKey diceCount{u"Setup", u"Würfelanzahl", u"60"};
inline constexpr SettingKey sides{u"Setup", u"Augen", u"6"};
inline constexpr SettingKey addHits{u"Setup", u"OptionWurf", u"False"};
inline constexpr SettingKey addDamage{u"Setup", u"OptionWurf2", u"False"};
inline constexpr SettingKey turned{u"Setup", u"Check_90Grad", u"0"};
inline constexpr SettingKey fontName{u"Font", u"FontName", u"MS Sans Serif"};
inline constexpr SettingKey fontBold{u"Font", u"FontBold", u"False"};
inline constexpr SettingKey fontItalic{u"Font", u"FontItalic", u"False"};
inline constexpr SettingKey fontSize{u"Font", u"FontSize", u"8"};
} // namespace keys

// What came of a save: whether it reached the disk and, when it did not, why, in words a user
// can act on.
struct SaveResult
{
    bool saved = true;
    QString reason;
};

// The per-user settings store: texts by section and key. On Linux it is
// ~/.config/Talvero/Talvero.conf (below $XDG_CONFIG_HOME when that is set).
class SettingsStore
{
public:
    // The user's own store.
    SettingsStore();
    // A store in the given file, for tests and tools.
    explicit SettingsStore(const QString &fileName);
    ~SettingsStore();

    QString fileName() const;

    // The stored text, or the key's default when it is absent.
    QString read(const SettingKey &key) const;
    void write(const SettingKey &key, const QString &text);

    // The stored text converted, or nothing when it does not convert.
    std::optional<int> readWhole(const SettingKey &key) const;
    std::optional<bool> readTruth(const SettingKey &key) const;
    std::optional<float> readSize(const SettingKey &key) const;

    // Writes what was written since the last save to disk, and tells whether it got there. On
    // failure the file keeps its earlier contents, a one-line warning is logged, and the store
    // forgets those writes: it reads as it did before them, and no later save writes them.
    SaveResult save();

private:
    // Reads only: QSettings keeps a value set on it for its next write, even after a write that
    // failed, and shares that with every QSettings on the same file in the process.
    std::unique_ptr<QSettings> settings_;
    // Written since the last save, by key path.
    QMap<QString, QString> pending_;
};

// Text forms of the stored values.
QString truthText(bool value);
std::optional<bool> parseTruth(const QString &text);
std::optional<int> parseWhole(const QString &text);
std::optional<float> parseSize(const QString &text);
QString sizeText(float points);

} // namespace talvero
