#pragma once

// Points the process-wide configuration location at a test's own file for the scope's lifetime
// and restores the previous paths afterwards.

#include <QString>

#include "schedule/ConfigLocation.h"

class CConfigLocationScope
{
public:
    explicit CConfigLocationScope(const QString& configPath, const QString& masterPath = QString())
        : m_savedConfig(ConfigLocation().ConfigPath())
        , m_savedMaster(ConfigLocation().MasterPath())
    {
        ConfigLocation().SetPaths(configPath, masterPath);
    }
    ~CConfigLocationScope() { ConfigLocation().SetPaths(m_savedConfig, m_savedMaster); }
    CConfigLocationScope(const CConfigLocationScope&) = delete;
    CConfigLocationScope& operator=(const CConfigLocationScope&) = delete;

private:
    QString m_savedConfig;
    QString m_savedMaster;
};
