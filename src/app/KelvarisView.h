#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>

#include "engine/KelvarisDoc.h"
#include "engine/Logbook.h"

class QGroupBox;
class QLabel;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;
class CDateTime;
class CPageTargetArray;
class CRightsCheck;
class CValuePublisher;

// The six texts of the state groups.
struct CStateTexts
{
    QString m_shiftName, m_shiftFrom, m_shiftTo;
    QString m_barrierName, m_barrierFrom, m_barrierTo;
};
// The texts for the engine's current shift and barrier (leading blanks as shown).
CStateTexts StateTexts(const CShift& shift, const CBarrage& barrier);

// The logbook file: the four column titles, then the lines as shown (newest first), tab-separated,
// each line ending in CR LF, in UTF-8. False when the file cannot be written, with the reason in
// `error` when one is given.
bool WriteLogbookFile(const QString& path, const QStringList& titles, const QList<CLogbookLine>& lines,
    QString* error = nullptr);

// The form inside the main window: the current shift, the current barrier/pause, the logbook and the
// plan of action. It drives the engine: a one-second timer runs the cycle, restarted after each
// cycle so cycles never overlap.
class CKelvarisView : public QWidget, public CDocObserver
{
    Q_OBJECT

public:
    // The publisher receives "Dispatching"/"Current" (may be null).
    CKelvarisView(
        CKelvarisDoc& doc, CRightsCheck& rights, CValuePublisher* publisher, QWidget* parent = nullptr);
    ~CKelvarisView() override;

    // Once: the "Started" line, the timer, automatic activation, the first update.
    void InitialUpdate();
    void OnUpdate(unsigned hint) override;
    // A save the operator started did not reach the file: a message box naming it and the reason
    // (the engine keeps the change and writes it again at the idle checks).
    void OnSaveFailed(const QString& path, const QString& reason) override;
    void OnNotice(const QString& text) override;

    // A warning for the operator: a logbook line "Warning" with the present moment and the text.
    void AddWarningLine(const QString& text);

    // "&Save logfile...": right 4, the save dialog proposing <configuration file>.log, then the file.
    void SaveLogfile();

    // Newest first.
    const QList<CLogbookLine>& Logbook() const { return m_logbook; }
    QStringList LogbookTitles() const;
    const CStateTexts& Texts() const { return m_texts; }
    QTreeWidget* LogbookList() const { return m_logbookList; }
    QListWidget* PlanList() const { return m_planList; }
    QLabel* GapText() const { return m_gapText; }
    QTimer& CycleTimer() { return m_timer; }

Q_SIGNALS:
    // A double click on a plan of action entry: the target's name.
    void PlanEntryActivated(const QString& targetName);
    // After every OnUpdate: the window updates its commands from the engine's state.
    void Updated();

protected:
    void changeEvent(QEvent* event) override;

private:
    void Retranslate();
    void FitLogbookColumns();
    void AddLogbookLine(const CLogbookLine& line);
    static void ShowLogbookLine(QTreeWidgetItem& item, const CLogbookLine& line);
    void RefreshPlan();
    // The nearest gap in the groups' cover within 24 hours; every gap in its tooltip.
    void ShowGaps();
    void Tick();
    void ShowTexts();

    CKelvarisDoc& m_doc;
    CRightsCheck& m_rights;
    CValuePublisher* m_publisher = nullptr;
    QTimer m_timer;
    QList<CLogbookLine> m_logbook; // newest first
    CStateTexts m_texts;
    QGroupBox* m_shiftGroup = nullptr;
    QGroupBox* m_barrierGroup = nullptr;
    QGroupBox* m_logbookGroup = nullptr;
    QGroupBox* m_planGroup = nullptr;
    QLabel* m_labels[6] = {};
    QLabel* m_fromLabels[2] = {};
    QLabel* m_toLabels[2] = {};
    QTreeWidget* m_logbookList = nullptr;
    QListWidget* m_planList = nullptr;
    QLabel* m_planHeader = nullptr;
    QLabel* m_gapHeader = nullptr;
    QLabel* m_gapText = nullptr;
    // The state groups show " Deactivated" from a deactivation until the next state change or
    // activation.
    bool m_deactivated = false;
};
