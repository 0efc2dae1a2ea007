#pragma once

#include <QJsonArray>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <QTimeZone>

#include "schedule/Moment.h"
#include "schedule/PageTarget.h"

// The reports of who is on duty and of the groups' cover, as kelvarisctl prints them and the
// status board's API serves them: one document, built once, for both.

// A dispatch file that could not be read, and why.
struct CUnreadablePlan
{
    QString file; // the file name in the data folder
    QString reason;
};

// The targets of the dispatch files in `folder`, in the order of their file names: the name from
// Settings/Name (the ID when missing); a file with a Takeover line belongs to a group. Files that
// cannot be read (a folder of that name, no right to read, not text) are listed in `unreadable`.
CPageTargetArray TargetsFromDispatchFiles(const QString& folder, QList<CUnreadablePlan>& unreadable);

// Why a data folder cannot answer for the plans (missing, unreadable, or without its
// configuration file, as a folder made afresh is); empty when it can.
QString DataFolderProblem(const QString& folder, const QString& configPath);

// Who is on duty at a moment by the rules of the plan of action, and the receivers without any
// range (on duty at every moment), with each takeover group's holder.
struct COncallReport
{
    // {"at", "source", "receivers": [{"name", "id", "number"}], "groups": [{"name", "id", "number",
    // "takeover", "holder": {"name", "id"} or null, "members": [names]}], "unreadable": [{"file",
    // "reason"}]}; "number" is null unless `withNumbers`.
    QJsonObject json;
    // "receiver NAME ID" and "group NAME ID [holder: NAME (ID)]" lines, fields tab-separated.
    QString lines;
};
// The caller holds the targets lock (or owns the list). `source` says where the targets came
// from ("alarm-server", "dispatch-files", "journal").
COncallReport OncallReport(const CPageTargetArray& targets, const CMoment& at, const QString& source,
    bool withNumbers, const QList<CUnreadablePlan>& unreadable);

// The gaps in the groups' cover over [from, from + days) in the monitoring check's terms.
struct CCoverageReport
{
    enum EState { Ok = 0, Warning = 1, Critical = 2, Unknown = 3 }; // the monitoring exit codes
    EState state = Ok;
    int gaps = 0;
    QString summary; // "no gap in ..." or "N gap(s); the first: ..."
    QString lines; // "group NAME ID START END" per gap
    // {"status", "at", "days", "to", "minMembers", "groups": [{"id", "name", "members",
    // "unknownMembers", "holder", "gaps": [{"start", "end"}]}]}
    QJsonObject json;
};
// "OK", "WARNING", "CRITICAL" or "UNKNOWN".
QString CoverageStateWord(CCoverageReport::EState state);
// A gap beginning within `criticalHours` of `fromMs` is critical, a later one a warning.
CCoverageReport CoverageReport(const CPageTargetArray& targets, const QTimeZone& zone, qint64 fromMs,
    int days, int minMembers, int criticalHours, const QString& groupId = QString());
