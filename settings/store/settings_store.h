// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "choices/font_choice.h"
#include "choices/window_choices.h"

#include <QMap>
#include <QSettings>
#include <QString>
#include <memory>
#include <optional>

namespace talvero {

// A setting's place in the store.
struct SettingKey
{
    const char16_t *section;
    const char16_t *name;

    QString path() const;
};

// The kinds of setting, each with what it reads as when it is absent. What lies out of range
// reads as that too; what does not convert at all reads as nothing where the reader can keep
// its own value instead (a truth value, a text, a size), and as the fallback otherwise.
struct WholeSetting
{
    SettingKey key;
    int fallback;
    int minimum;
    int maximum;
};
struct TruthSetting
{
    SettingKey key;
    bool fallback;
};
struct TextSetting
{
    SettingKey key;
    const char16_t *fallback;
};
struct SizeSetting
{
    SettingKey key;
    float fallback;
    float minimum;
    float maximum;
};

// Every setting of Talvero, declared once.
namespace keys {
using C = WindowChoices;
inline constexpr WholeSetting diceCount{
    {u"Setup", u"Würfelanzahl"}, C{}.dice, C::kFewestDice, C::kMostDice};
inline constexpr WholeSetting sides{
    {u"Setup", u"Augen"}, C{}.sides, C::kFewestSides, C::kMostSides};
inline constexpr TruthSetting addHits{{u"Setup", u"OptionWurf"}, C{}.addHits};
inline constexpr TruthSetting addDamage{{u"Setup", u"OptionWurf2"}, C{}.addDamage};
// The state of the "90°" box: 0 unticked, 1 ticked, 2 greyed, which reads as unticked.
inline constexpr WholeSetting turned{{u"Setup", u"Check_90Grad"}, C{}.turned ? 1 : 0, 0, 2};
inline constexpr TextSetting fontName{{u"Font", u"FontName"}, kDesignFace};
inline constexpr TruthSetting fontBold{{u"Font", u"FontBold"}, false};
inline constexpr TruthSetting fontItalic{{u"Font", u"FontItalic"}, false};
// The size last chosen in the font dialog, within what the dialog can show.
inline constexpr SizeSetting fontSize{{u"Font", u"FontSize"},
                                      FontChoice::kFirstSize,
                                      FontChoice::kSmallestSize,
                                      FontChoice::kLargestSize};
} // namespace keys

// What came of a save: whether it reached the disk and, when it did not, why, in words a user
// can act on.
struct SaveResult
{
    bool saved = true;
    QString reason;
};

// The per-user settings store, by section and key. On Linux it is
// ~/.config/Talvero/Talvero.conf (below $XDG_CONFIG_HOME when that is set), read together with
// the system-wide defaults below /etc/xdg; a store on a file of its own reads that file alone.
class SettingsStore
{
public:
    // The user's own store, or the store in `fileName`.
    explicit SettingsStore(const QString &fileName = {});
    ~SettingsStore();

    QString fileName() const;

    int readInt(const WholeSetting &setting) const;
    std::optional<bool> readBool(const TruthSetting &setting) const;
    // Trimmed; an empty text reads as nothing.
    std::optional<QString> readText(const TextSetting &setting) const;
    std::optional<float> readSize(const SizeSetting &setting) const;

    void write(const WholeSetting &setting, int value);
    void write(const TruthSetting &setting, bool value);
    void write(const TextSetting &setting, const QString &value);
    void write(const SizeSetting &setting, float value);

    // The window's five choices; a value that does not convert reads as its fallback.
    WindowChoices readChoices() const;
    void writeChoices(const WindowChoices &choices);
    // The font of the count labels and the dialog; what does not convert is left out.
    FontPreset readFont() const;
    void writeFont(const FontChoice &font);

    // Writes what was written since the last save to disk, and tells whether it got there. On
    // failure the file keeps its earlier contents, a one-line warning is logged, and the store
    // forgets those writes: it reads as it did before them, and no later save writes them.
    SaveResult save();

private:
    // The stored text, unsaved writes first; nothing when the key is absent.
    std::optional<QString> text(const SettingKey &key) const;
    void writeText(const SettingKey &key, const QString &text);

    // Reads only: QSettings keeps a value set on it for its next write, even after a write that
    // failed, and shares that with every QSettings on the same file in the process.
    std::unique_ptr<QSettings> settings_;
    // Written since the last save, by key path.
    QMap<QString, QString> pending_;
};

} // namespace talvero
