#pragma once

#include <array>
#include <memory>

#include <QDialog>
#include <QString>
#include <QTime>

#include "engine/KelvarisDoc.h"

class QCheckBox;

namespace Ui {
class CGeneralSettingsDialog;
} // namespace Ui

// --- Deciding logic of the general settings (no widgets) ---------------------------------------------

// The seven working-day flags, Monday first, and the work-day mask (bit 0 Monday ... bit 6 Sunday).
using CWorkDayFlags = std::array<bool, 7>;
CWorkDayFlags WorkDayFlagsFromMask(int workDays);
int WorkDaysMaskFromFlags(const CWorkDayFlags& flags);

// A work time in minutes after midnight as a time of day; a value outside the day is taken to its
// nearest end (00:00 or 23:59).
QTime TimeFromWorkMinutes(int minutes);
// A time of day as minutes after midnight; seconds are dropped. 0 for an invalid time.
int WorkMinutesFromTime(const QTime& time);

// The close behaviour: 0 quit, 1 hide the window, 2 minimise it. Any other stored value closes the
// program, as the window treats it, and is shown as "quit".
constexpr int kOnCloseQuit = 0;
constexpr int kOnCloseHide = 1;
constexpr int kOnCloseMinimize = 2;
int OnCloseChoice(int onClose);

// The time picture of the locale without its seconds: "HH:mm:ss" gives "HH:mm", "h:mm:ss AP"
// gives "h:mm AP"; "HH:mm" when nothing with hours and minutes remains.
QString TimeFormatWithoutSeconds(const QString& format);

// --- CGeneralSettingsDialog ------------------------------------------------------------------------

// "General Setup": the seven working days ("monday" to "sunday"), the work time "from" and "to",
// and what closing the main window does ("onClose"). Settings() gives the edited values; the caller
// stores them.
class CGeneralSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CGeneralSettingsDialog(const CGeneralSettings& settings, QWidget* parent = nullptr);
    ~CGeneralSettingsDialog() override;

    CGeneralSettings Settings() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    // Monday first.
    std::array<QCheckBox*, 7> DayBoxes() const;

    const std::unique_ptr<Ui::CGeneralSettingsDialog> m_ui;
};
