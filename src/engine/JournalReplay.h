#pragma once

#include <QString>

class CJournal;
class CPageTargetArray;

// The targets as they stood at a past moment, replayed from the edit journal: the target list as
// last fetched before it, each target's plan (ranges and takeover flag) and each takeover group's
// holder as last journaled before it. A holder is held in memory as the group's unsaved holder, so
// that every reader goes by it; nothing is written. False, with `error` set, when the journal
// cannot be read or holds no target list before the moment.
bool TargetsAsOf(CJournal& journal, qint64 atMs, CPageTargetArray& targets, QString& error);

// The schedule's configuration as it stood at a past moment: the settings (with the work days),
// shifts, barriers/pauses and holidays as last journaled before it, joined into the text of a
// configuration file. False, with `error` set, when the journal cannot be read or holds none of
// them before the moment.
bool ConfigTextAsOf(CJournal& journal, qint64 atMs, QString& text, QString& error);
