#pragma once

#include <array>

#include <QDialog>
#include <QString>
#include <QTime>

#include "engine/KelvarisDoc.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QTimeEdit;

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

// "General Setup": the seven working days, the work time from and to, and what closing the main
// window does. Settings() gives the edited values; the caller stores them.
class CGeneralSettingsDialog : public QDialog
{
    Q_OBJECT

public:
    explicit CGeneralSettingsDialog(const CGeneralSettings& settings, QWidget* parent = nullptr);

    CGeneralSettings Settings() const;

    // Monday is 0, Sunday 6.
    QCheckBox* WorkDayBox(int day) const { return m_days.at(size_t(day)); }
    QTimeEdit* FromEdit() const { return m_from; }
    QTimeEdit* ToEdit() const { return m_to; }
    QComboBox* OnCloseCombo() const { return m_onClose; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();

    std::array<QCheckBox*, 7> m_days {};
    QTimeEdit* m_from = nullptr;
    QTimeEdit* m_to = nullptr;
    QComboBox* m_onClose = nullptr;
    QGroupBox* m_daysGroup = nullptr;
    QGroupBox* m_timeGroup = nullptr;
    QLabel* m_fromLabel = nullptr;
    QLabel* m_toLabel = nullptr;
    QLabel* m_onCloseLabel = nullptr;
};
