#pragma once

#include <algorithm>

#include <QList>
#include <QString>

#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/Profile.h"

// Storage shared by the schedule records kept as numbered sections (barriers, shifts, holidays).
// A record type provides:
//   static QString BaseName();                  // "Barrage", "Shift", "Holiday"
//   bool Load(CProfile&, int index);            // false at the end of the list
//   void WriteKeys(CSection&) const;            // its keys only
//   bool IsStorable() const;                    // would load back: a name and valid dates
// A record that would not load back is never written: it would end the stored list there and
// lose every record after it.

// Reads a date or time key of a record; a missing or empty value is the current moment. False when
// the text does not parse (the record then ends the list).
inline bool ReadDateTimeKey(const CSection& section, const QString& key, CDateTime& value)
{
    QString text;
    section.Read(key, text, QString());
    return DateTimeFromText(text, value);
}

// When section <base><index> exists although the list loading stopped there (the record's name is
// missing or one of its dates does not read), warns: the records from there
// on stay in the file but are not used. At most one warning a minute per list and file.
void WarnIfListStopped(CProfile& profile, const QString& baseName, qsizetype index);

// Saves one record in section <base><index>: deletes the sections index and index + 1 (so that a
// list saved record by record ends where it should), writes the keys, records the file time.
template <class Record>
bool SaveRecordSection(CProfile& profile, int index, const Record& record)
{
    if (index < 1 || !record.IsStorable())
        return false;
    bool stored = false;
    {
        CProfile::Batch batch(profile);
        ClearNumberedSection(profile, Record::BaseName(), index);
        CSection section(profile, Record::BaseName(), index);
        record.WriteKeys(section);
        stored = batch.Commit();
    }
    ConfigLocation().RecordFileTime();
    return stored;
}

// An ordered list of records with the editors' modified flag.
template <class Record>
class CRecordArray : public QList<Record>
{
public:
    bool IsModified() const { return m_modified; }
    void SetModified(bool modified = true) { m_modified = modified; }

    // Replaces the list with the records of sections <base>1, <base>2, ... up to the first one that
    // does not load; the list is then unmodified.
    void Load(CProfile& profile)
    {
        LoadNumberedSections(
            profile, *this, [&profile](Record& record, int index) { return record.Load(profile, index); });
        m_modified = false;
        // A section that is there but does not load hides every record after it.
        WarnIfListStopped(profile, Record::BaseName(), this->size() + 1);
    }

    // Only when modified: rewrites the sections from 1 (an empty list deletes section 1), leaving
    // out records that would not load back, and records the configuration file's time. The caller
    // clears the modified flag. Returns false when the file could not be written.
    bool Save(CProfile& profile) const
    {
        if (!m_modified)
            return true;
        const auto count
            = std::count_if(this->cbegin(), this->cend(), [](const Record& r) { return r.IsStorable(); });
        auto next = this->cbegin();
        const bool stored
            = SaveNumberedSections(profile, Record::BaseName(), count, [&next](qsizetype, CSection& section) {
                  while (!next->IsStorable())
                      ++next;
                  (next++)->WriteKeys(section);
              });
        ConfigLocation().RecordFileTime();
        return stored;
    }

private:
    bool m_modified = false;
};
