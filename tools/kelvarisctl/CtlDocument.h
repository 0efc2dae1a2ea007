#pragma once

#include <QString>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "server/DBusServerCommand.h"

// The document of a configuration file as kelvaris loads it, for the verbs that read its targets
// (export, ical, oncall): the settings, and the target list asked of the alarm server the file
// names, each target with its dispatch file.
class CCtlDocument
{
public:
    // Makes `configPath` the configuration file of this process; loads nothing yet.
    explicit CCtlDocument(const QString& configPath);

    // Loads the settings and the targets.
    void Load() { m_doc.LoadSettings(); }
    CKelvarisDoc& Doc() { return m_doc; }
    // Why the target list is empty: the alarm server and its bus.
    QString NoTargetsMessage() const;

private:
    CAlarmServerAddress m_address;
    CDBusServerCommandFactory m_server;
    CRightsCheck m_rights;
    CKelvarisDoc m_doc;
};
