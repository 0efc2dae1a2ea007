#include "inbound/TimeDDEServer.h"

namespace {
const QString kSystemTopic = QStringLiteral("System");
const QString kActivateCommand = QStringLiteral("[activate()]");
} // namespace

bool CTimeCmdDDEItem::Poke(EDDEFormat format, const QByteArray& data)
{
    if (Topic() == nullptr || Topic()->Server() == nullptr)
        return false;
    CDDEServer* server = Topic()->Server();
    switch (format) {
    case EDDEFormat::Text:
        return server->OnExecute(kSystemTopic, data);
    case EDDEFormat::UnicodeText: {
        // The command runs as TEXT: the Unicode text is handed on as its UTF-8 bytes.
        QByteArray text = DDETextFromData(format, data).toUtf8();
        text.append('\0');
        return server->OnExecute(kSystemTopic, text);
    }
    case EDDEFormat::None:
        break;
    }
    return false;
}

CTimeDDEServer::CTimeDDEServer(CMainWindowActivator* activator)
    : m_activator(activator)
{ }

bool CTimeDDEServer::CreateService(CDDETransport* transport)
{
    if (!Create(QString::fromLatin1(kServiceName), transport))
        return false;
    auto command = std::make_unique<CTimeCmdDDEItem>();
    command->Create(QStringLiteral("Command"), false, GetSystemTopic());
    GetSystemTopic()->AddItem(std::move(command));

    const QString barring = QStringLiteral("Barring");
    AddValue(barring, QStringLiteral("Name"), QString());
    AddValue(barring, QStringLiteral("From"), QString());
    AddValue(barring, QStringLiteral("To"), QString());
    AddValue(barring, QStringLiteral("Remain"), qint64(0));
    AddValue(barring, QStringLiteral("Total"), qint64(0));

    const QString shift = QStringLiteral("Shift");
    AddValue(shift, QStringLiteral("Name"), QString());
    AddValue(shift, QStringLiteral("From"), QString());
    AddValue(shift, QStringLiteral("To"), QString());
    AddValue(shift, QStringLiteral("Remain"), qint64(0));
    AddValue(shift, QStringLiteral("Remain2"), qint64(0));
    AddValue(shift, QStringLiteral("Total"), qint64(0));
    AddValue(shift, QStringLiteral("Total2"), qint64(0));
    return true;
}

bool CTimeDDEServer::Execute(const QString& topic, EDDEFormat format, const QByteArray& data)
{
    if (topic.compare(kSystemTopic, Qt::CaseInsensitive) != 0)
        return false;
    if (DDETextFromData(format, data) != kActivateCommand)
        return false;
    return m_activator != nullptr && m_activator->ActivateMainWindow();
}

void CDDEValuePublisher::PublishText(const QString& topic, const QString& item, const QString& value)
{
    m_server.AddValue(topic, item, value);
}

void CDDEValuePublisher::PublishNumber(const QString& topic, const QString& item, qint64 value)
{
    m_server.AddValue(topic, item, value);
}
