#pragma once

#include "engine/KelvarisDoc.h"
#include "inbound/DDEServer.h"

// How the DDE command reaches the main window; the window implements it.
class CMainWindowActivator
{
public:
    virtual ~CMainWindowActivator() = default;
    // Restores the main window, centres it on the screen, brings it to the front and gives it the
    // keyboard focus. False when there is no main window.
    virtual bool ActivateMainWindow() = 0;
};

// The item "Command" of the System topic: a poke, in whatever format, runs as an execute of the
// System topic with the data as TEXT.
class CTimeCmdDDEItem : public CDDEStringItem
{
public:
    bool Poke(EDDEFormat format, const QByteArray& data) override;
};

// Kelvaris's DDE service "Kelvaris": the topics "Barring" and "Shift" with their values, the
// System command "[activate()]", and "Dispatching" once the main view writes it.
class CTimeDDEServer : public CDDEValueServer
{
public:
    static constexpr const char* kServiceName = "Kelvaris";

    // The activator may be null (no window: the command is not processed) and set later.
    explicit CTimeDDEServer(CMainWindowActivator* activator = nullptr);
    void SetActivator(CMainWindowActivator* activator) { m_activator = activator; }

    // Creates the service and adds the System item "Command" and the start values of "Barring"
    // and "Shift" (empty texts, numbers 0).
    bool CreateService(CDDETransport* transport);

protected:
    // Only on the System topic, only the exact text "[activate()]", and only with a main window.
    bool Execute(const QString& topic, EDDEFormat format, const QByteArray& data) override;

private:
    CMainWindowActivator* m_activator = nullptr;
};

// The engine's value publisher on a DDE server.
class CDDEValuePublisher : public CValuePublisher
{
public:
    explicit CDDEValuePublisher(CDDEServer& server)
        : m_server(server)
    { }
    void PublishText(const QString& topic, const QString& item, const QString& value) override;
    void PublishNumber(const QString& topic, const QString& item, qint64 value) override;

private:
    CDDEServer& m_server;
};
