#pragma once

#include <algorithm>

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

#include "schedule/ConfigLocation.h"
#include "schedule/DateTime.h"
#include "schedule/Profile.h"
#include "support/Trace.h"

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

// What a record stores: its keys as written, one "key=value" line each. Two records that store
// the same are the same record to the file.
template <class Record>
QString StoredForm(const Record& record)
{
    CProfile scratch = CProfile::InMemory();
    CSection section(scratch, Record::BaseName());
    record.WriteKeys(section);
    return scratch.SectionText(Record::BaseName());
}

// The order a merged list is put in (see CRecordArray::Save); lists without a rule of their own
// keep the file's order with the added records at the end.
template <class Record>
void SortMergedRecords(QList<Record>&)
{ }

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
        RememberBase(profile);
        // A section that is there but does not load hides every record after it.
        WarnIfListStopped(profile, Record::BaseName(), this->size() + 1);
    }

    // Only when modified: rewrites the sections from 1 (an empty list deletes section 1), leaving
    // out records that would not load back, and records the configuration file's time. The caller
    // clears the modified flag. Returns false when the file could not be written.
    //
    // Two programs may change the list at once (the holiday editor and a scheduled
    // "kelvarisctl holidays generate"): under the file's lock the list is read again, and when
    // another program changed it since this list was loaded or saved, this list's own changes
    // (records removed and added since then) are applied to the file's list, which becomes this
    // list; nothing either program did is lost.
    bool Save(CProfile& profile)
    {
        if (!m_modified)
            return true;
        bool stored = false;
        {
            CProfile::Batch hold(profile, CProfile::EIntent::ReadModifyWrite);
            const CProfile::CFileState state = profile.State();
            if (m_hasBase && m_basePath == profile.Path() && state.exists && state.problem.isEmpty())
                MergeChangesOfOthers(profile);
            stored = Store(profile);
            stored = hold.Commit() && stored;
        }
        ConfigLocation().RecordFileTime();
        if (stored)
            RememberBase(profile);
        return stored;
    }

private:
    // The list as last loaded from or saved to the file (a shared copy: nothing is copied until one
    // of them changes).
    void RememberBase(const CProfile& profile)
    {
        m_base = *this;
        m_basePath = profile.Path();
        m_hasBase = true;
    }

    void MergeChangesOfOthers(CProfile& profile)
    {
        QList<Record> file;
        LoadNumberedSections(
            profile, file, [&profile](Record& record, int index) { return record.Load(profile, index); });
        const auto forms = [](const QList<Record>& list) {
            QStringList result;
            result.reserve(list.size());
            for (const Record& record : list)
                result.append(StoredForm(record));
            return result;
        };
        const QStringList fileForms = forms(file);
        const QStringList baseForms = forms(m_base);
        if (fileForms == baseForms)
            return;
        // Removed here since the base: taken out of the file's list (one occurrence each). Added
        // here: appended in this list's order.
        QHash<QString, qsizetype> removed;
        for (const QString& form : baseForms)
            ++removed[form];
        QList<Record> added;
        for (const Record& record : std::as_const(*this)) {
            const QString form = StoredForm(record);
            auto it = removed.find(form);
            if (it != removed.end() && *it > 0)
                --*it;
            else
                added.append(record);
        }
        QList<Record> merged;
        merged.reserve(file.size() + added.size());
        for (qsizetype i = 0; i < file.size(); ++i) {
            auto it = removed.find(fileForms.at(i));
            if (it != removed.end() && *it > 0)
                --*it;
            else
                merged.append(file.at(i));
        }
        merged.append(added);
        SortMergedRecords(merged);
        KTRACE(lcConfig) << Record::BaseName() << "list changed by another program since it was read; merged"
                         << file.size() << "records there with" << added.size() << "added here";
        static_cast<QList<Record>&>(*this) = std::move(merged);
    }

    bool Store(CProfile& profile) const
    {
        const auto count
            = std::count_if(this->cbegin(), this->cend(), [](const Record& r) { return r.IsStorable(); });
        auto next = this->cbegin();
        const bool stored
            = SaveNumberedSections(profile, Record::BaseName(), count, [&next](qsizetype, CSection& section) {
                  while (!next->IsStorable())
                      ++next;
                  (next++)->WriteKeys(section);
              });
        return stored;
    }

    bool m_modified = false;
    bool m_hasBase = false;
    QString m_basePath;
    QList<Record> m_base;
};
