#pragma once

#include <QObject>
#include <QString>
#include <memory>
#include <optional>

class QWidget;

namespace talvero {

struct FontChoice
{
    QString name;
    bool bold = false;
    bool italic = false;
    float size = 8.0f;
};

// Shows a font dialog and reports the user's choice; nothing when cancelled.
class FontPicker
{
public:
    virtual ~FontPicker() = default;
    virtual std::optional<FontChoice> pick(const FontChoice &preset, int flags,
                                           QWidget *parent) = 0;
};

// Qt's own font dialog, without the effects (underline, strike-out) the window has no use for.
class QtFontPicker final : public FontPicker
{
public:
    std::optional<FontChoice> pick(const FontChoice &preset, int flags, QWidget *parent) override;
};

// The window's invisible dialog provider. It keeps its font properties between two uses,
// like a dialog control on a form, and shows the font dialog with them.
class FontDialogControl final : public QObject
{
public:
    // Flags: list screen fonts (1) and printer fonts (2).
    static constexpr int ScreenFonts = 1;
    static constexpr int PrinterFonts = 2;

    explicit FontDialogControl(QWidget *owner);
    ~FontDialogControl() override;

    QString fontName() const { return font_.name; }
    void setFontName(const QString &name) { font_.name = name; }
    bool fontBold() const { return font_.bold; }
    void setFontBold(bool bold) { font_.bold = bold; }
    bool fontItalic() const { return font_.italic; }
    void setFontItalic(bool italic) { font_.italic = italic; }
    float fontSize() const { return font_.size; }
    void setFontSize(float size) { font_.size = size; }

    int flags() const { return flags_; }
    void setFlags(int flags) { flags_ = flags; }
    bool cancelError() const { return cancelError_; }
    void setCancelError(bool cancelError) { cancelError_ = cancelError; }

    // Shows the font dialog, modal to the owner. True when the user confirmed; the font
    // properties then hold the choice. False when cancelled; they are unchanged then.
    bool showFont();

    // Replaces the dialog, for tests that confirm or cancel without a person.
    void setPicker(std::unique_ptr<FontPicker> picker);

private:
    QWidget *owner_;
    std::unique_ptr<FontPicker> picker_;
    FontChoice font_;
    int flags_ = 0;
    bool cancelError_ = false;
};

} // namespace talvero
