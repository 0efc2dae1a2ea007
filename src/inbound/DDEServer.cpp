#include "inbound/DDEServer.h"

#include <algorithm>
#include <array>
#include <limits>
#include <mutex>

#include <QStringDecoder>
#include <QStringEncoder>

#include "schedule/Profile.h"
#include "support/Scan.h"
#include "support/TextEncoding.h"

namespace {

// Poked and executed data larger than this is refused: no item value or command comes near it.
constexpr qsizetype kMaxDataSize = 1024 * 1024;

const QString kTextName = QStringLiteral("TEXT");
const QString kUnicodeTextName = QStringLiteral("UNICODETEXT");
const QList<EDDEFormat> kTextFormats { EDDEFormat::Text, EDDEFormat::UnicodeText };

bool SameName(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

// The process's server slots; a created server holds one.
std::mutex g_slotMutex;
std::array<CDDEServer*, CDDEServer::kMaxServers> g_slots {};

int TakeSlot(CDDEServer* server)
{
    const std::lock_guard lock(g_slotMutex);
    for (std::size_t i = 0; i < g_slots.size(); ++i) {
        if (g_slots[i] == nullptr) {
            g_slots[i] = server;
            return static_cast<int>(i);
        }
    }
    return -1;
}

void FreeSlot(int slot)
{
    const std::lock_guard lock(g_slotMutex);
    if (slot >= 0 && slot < static_cast<int>(g_slots.size()))
        g_slots[static_cast<std::size_t>(slot)] = nullptr;
}

QString Utf16LeToString(const QByteArray& data)
{
    // A leading byte order mark is a character of the text; an odd last byte stays in the decoder.
    QStringDecoder decoder(QStringConverter::Utf16LE, QStringConverter::Flag::ConvertInitialBom);
    QString text = decoder.decode(data);
    if (const qsizetype end = text.indexOf(QChar(u'\0')); end >= 0)
        text.truncate(end);
    // An unpaired surrogate has no 8-bit (UTF-8) form: it becomes the replacement character, so the
    // item's two forms stay equal.
    if (!text.isValidUtf16()) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            if (text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate())
                ++i;
            else if (text[i].isSurrogate())
                text[i] = QChar::ReplacementCharacter;
        }
    }
    return text;
}

} // namespace

// ---- Formats and data -------------------------------------------------------------------------

QString DDEFormatName(EDDEFormat format)
{
    switch (format) {
    case EDDEFormat::Text:
        return kTextName;
    case EDDEFormat::UnicodeText:
        return kUnicodeTextName;
    case EDDEFormat::None:
        break;
    }
    return QString();
}

EDDEFormat DDEFormatFromName(const QString& name)
{
    if (SameName(name, kTextName))
        return EDDEFormat::Text;
    if (SameName(name, kUnicodeTextName))
        return EDDEFormat::UnicodeText;
    return EDDEFormat::None;
}

QString DDETextFromData(const QByteArray& data)
{
    const qsizetype end = data.indexOf('\0');
    return DecodeText(QByteArrayView(data).first(end < 0 ? data.size() : end));
}

QString DDETextFromData(EDDEFormat format, const QByteArray& data)
{
    switch (format) {
    case EDDEFormat::Text:
        return DDETextFromData(data);
    case EDDEFormat::UnicodeText:
        return Utf16LeToString(data);
    case EDDEFormat::None:
        break;
    }
    return QString();
}

QByteArray DDEDataFromText(EDDEFormat format, const QString& text)
{
    switch (format) {
    case EDDEFormat::Text: {
        QByteArray data = text.toUtf8();
        data.append('\0');
        return data;
    }
    case EDDEFormat::UnicodeText: {
        QStringEncoder encoder(QStringConverter::Utf16LE);
        QByteArray data = encoder.encode(text);
        data.append(2, '\0');
        return data;
    }
    case EDDEFormat::None:
        break;
    }
    return QByteArray();
}

// ---- Items ------------------------------------------------------------------------------------

CDDEItem::~CDDEItem() = default;

void CDDEItem::Create(const QString& name, bool readOnly, CDDETopic* topic)
{
    m_name = name;
    m_readOnly = readOnly;
    m_topic = topic;
}

void CDDEItem::PostAdvise()
{
    if (m_links.empty() || m_topic == nullptr || m_topic->Server() == nullptr)
        return;
    m_topic->Server()->PostAdvise(*m_topic, *this);
}

std::optional<QByteArray> CDDEItem::Request(EDDEFormat)
{
    return std::nullopt;
}

bool CDDEItem::Poke(EDDEFormat, const QByteArray&)
{
    return false;
}

bool CDDEItem::IsSupportedFormat(EDDEFormat format) const
{
    return format != EDDEFormat::None && Formats().contains(format);
}

QList<EDDEFormat> CDDEItem::Formats() const
{
    return {};
}

bool CDDEItem::AddAdviseLink(EDDEFormat format, HDDECONV conv)
{
    if (conv == 0 || !IsSupportedFormat(format))
        return false;
    const auto it = std::find_if(
        m_links.begin(), m_links.end(), [conv](const CDDEAdviseLink& link) { return link.m_conv == conv; });
    if (it != m_links.end())
        it->m_format = format;
    else
        m_links.push_back(CDDEAdviseLink { conv, format });
    return true;
}

bool CDDEItem::RemoveAdviseLink(HDDECONV conv)
{
    return std::erase_if(m_links, [conv](const CDDEAdviseLink& link) { return link.m_conv == conv; }) > 0;
}

std::optional<QByteArray> CDDEStringItem::Request(EDDEFormat format)
{
    if (format != EDDEFormat::Text && format != EDDEFormat::UnicodeText)
        return std::nullopt;
    OnBeforeRequest();
    return DDEDataFromText(format, m_text);
}

bool CDDEStringItem::Poke(EDDEFormat format, const QByteArray& data)
{
    if (format != EDDEFormat::Text && format != EDDEFormat::UnicodeText)
        return false;
    if (data.size() > kMaxDataSize)
        return false;
    StoreText(DDETextFromData(format, data));
    OnPoked();
    return true;
}

QList<EDDEFormat> CDDEStringItem::Formats() const
{
    return kTextFormats;
}

void CDDEStringItem::Clear()
{
    m_text.clear();
    PostAdvise();
}

void CDDEStringItem::SetText(const QString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    PostAdvise();
}

void CDDEStringItem::StoreText(const QString& text)
{
    m_text = text;
}

void CDDENumericItem::SetNumber(qint64 number)
{
    SetText(QString::number(number));
}

qint64 CDDENumericItem::GetNumber() const
{
    return ScanLong(GetText());
}

void CDDEValueItem::OnPoked()
{
    const QString text = GetText();
    if (text == m_lastValue)
        return;
    // Recorded before the server hears of it, so that a value the server sets in return stays the
    // last one.
    m_lastValue = text;
    CDDETopic* topic = Topic();
    if (topic != nullptr && topic->Server() != nullptr)
        topic->Server()->ValueChanged(*topic, *this, text);
}

void CDDEValueItem::SetText(const QString& text)
{
    if (text == m_lastValue)
        return;
    m_lastValue = text;
    CDDEStringItem::SetText(text);
}

std::optional<QByteArray> CDDESystemItem::Request(EDDEFormat format)
{
    if (format != EDDEFormat::Text && format != EDDEFormat::UnicodeText)
        return std::nullopt;
    return DDEDataFromText(format, List().join(u'\t'));
}

QList<EDDEFormat> CDDESystemItem::Formats() const
{
    return kTextFormats;
}

QStringList CDDESystemItem_TopicList::List() const
{
    QStringList names;
    if (Topic() == nullptr || Topic()->Server() == nullptr)
        return names;
    const auto& topics = Topic()->Server()->Topics();
    names.reserve(static_cast<qsizetype>(topics.size()));
    for (const auto& topic : topics)
        names.append(topic->Name());
    return names;
}

QStringList CDDESystemItem_ItemList::List() const
{
    QStringList names;
    if (Topic() == nullptr)
        return names;
    const auto& items = Topic()->Items();
    names.reserve(static_cast<qsizetype>(items.size()));
    for (const auto& item : items)
        names.append(item->Name());
    return names;
}

QStringList CDDESystemItem_FormatList::List() const
{
    QList<EDDEFormat> formats;
    if (Topic() != nullptr) {
        for (const auto& item : Topic()->Items()) {
            for (EDDEFormat format : item->Formats()) {
                if (!formats.contains(format))
                    formats.append(format);
            }
        }
    }
    QStringList names;
    for (EDDEFormat format : formats)
        names.append(DDEFormatName(format));
    return names;
}

// ---- Topics -----------------------------------------------------------------------------------

CDDETopic::CDDETopic(const QString& name, CDDEServer* server)
    : m_name(name)
    , m_server(server)
{
    auto items = std::make_unique<CDDESystemItem_ItemList>();
    items->Create(QStringLiteral("TopicItemList"), true, this);
    AddItem(std::move(items));
    auto formats = std::make_unique<CDDESystemItem_FormatList>();
    formats->Create(QStringLiteral("Formats"), true, this);
    AddItem(std::move(formats));
}

CDDETopic::~CDDETopic() = default;

std::optional<QByteArray> CDDETopic::Request(EDDEFormat format, const QString& item)
{
    CDDEItem* found = FindItem(item);
    if (found == nullptr)
        return std::nullopt;
    return found->Request(format);
}

bool CDDETopic::Poke(EDDEFormat format, const QString& item, const QByteArray& data)
{
    CDDEItem* found = FindItem(item);
    if (found == nullptr || found->IsReadOnly())
        return false;
    return found->Poke(format, data);
}

bool CDDETopic::Execute(EDDEFormat, const QByteArray&)
{
    return false;
}

CDDEItem* CDDETopic::FindItem(const QString& name) const
{
    for (const auto& item : m_items) {
        if (SameName(item->Name(), name))
            return item.get();
    }
    return nullptr;
}

CDDEItem* CDDETopic::AddItem(std::unique_ptr<CDDEItem> item)
{
    if (item == nullptr)
        return nullptr;
    // Names stay unique so that a lookup finds one item.
    if (CDDEItem* existing = FindItem(item->Name()))
        return existing;
    item->Create(item->Name(), item->IsReadOnly(), this);
    m_items.push_back(std::move(item));
    return m_items.back().get();
}

bool CDDETopic::AddAdviseLink(const QString& item, EDDEFormat format, HDDECONV conv)
{
    CDDEItem* found = FindItem(item);
    return found != nullptr && found->AddAdviseLink(format, conv);
}

bool CDDETopic::RemoveAdviseLink(const QString& item, HDDECONV conv)
{
    if (!item.isEmpty()) {
        CDDEItem* found = FindItem(item);
        return found != nullptr && found->RemoveAdviseLink(conv);
    }
    bool removed = false;
    for (const auto& each : m_items)
        removed = each->RemoveAdviseLink(conv) || removed;
    return removed;
}

// ---- Servers ----------------------------------------------------------------------------------

CDDEServer::CDDEServer() = default;

CDDEServer::~CDDEServer()
{
    if (IsCreated())
        Destroy();
}

bool CDDEServer::Create(const QString& serviceName, CDDETransport* transport)
{
    if (IsCreated())
        return false;
    const int slot = TakeSlot(this);
    if (slot < 0)
        return false;
    m_slot = slot;
    m_serviceName = serviceName;
    m_transport = transport;
    if (m_transport != nullptr)
        m_transport->RegisterService(*this); // without it the server serves nobody, but runs

    auto system = std::make_unique<CDDEServerSystemTopic>(QStringLiteral("System"), this);
    auto topics = std::make_unique<CDDESystemItem_TopicList>();
    topics->Create(QStringLiteral("Topics"), true, system.get());
    system->AddItem(std::move(topics));
    auto sysItems = std::make_unique<CDDESystemItem_ItemList>();
    sysItems->Create(QStringLiteral("SysItems"), true, system.get());
    system->AddItem(std::move(sysItems));
    m_systemTopic = system.get();
    m_topics.push_back(std::move(system));

    if (!OnCreate()) {
        Destroy();
        return false;
    }
    return true;
}

void CDDEServer::Destroy()
{
    if (!IsCreated())
        return;
    m_convs.clear();
    m_systemTopic = nullptr;
    m_topics.clear();
    if (m_transport != nullptr)
        m_transport->UnregisterService(*this);
    m_transport = nullptr;
    FreeSlot(m_slot);
    m_slot = -1;
}

void CDDEServer::AddValue(const QString& topic, const QString& item, const QString& text)
{
    if (!IsCreated())
        return;
    CDDETopic* found = FindTopic(topic);
    if (found == nullptr)
        found = AddTopic(std::make_unique<CDDEValueTopic>(topic, this));
    CDDEItem* value = found->FindItem(item);
    if (value == nullptr) {
        auto created = std::make_unique<CDDEValueItem>();
        created->Create(item, false, found);
        value = found->AddItem(std::move(created));
    }
    if (auto* stringItem = dynamic_cast<CDDEStringItem*>(value))
        stringItem->SetText(text);
}

void CDDEServer::AddValue(const QString& topic, const QString& item, qint64 number)
{
    AddValue(topic, item, QString::number(number));
}

QString CDDEServer::GetValue(const QString& topic, const QString& item) const
{
    const CDDETopic* found = FindTopic(topic);
    if (found == nullptr)
        return QString();
    if (const auto* value = dynamic_cast<const CDDEStringItem*>(found->FindItem(item)))
        return value->GetText();
    return QString();
}

CDDETopic* CDDEServer::AddTopic(std::unique_ptr<CDDETopic> topic)
{
    if (topic == nullptr || !IsCreated())
        return nullptr;
    if (CDDETopic* existing = FindTopic(topic->Name()))
        return existing;
    m_topics.push_back(std::move(topic));
    return m_topics.back().get();
}

bool CDDEServer::RemoveTopic(const QString& name)
{
    CDDETopic* found = FindTopic(name);
    if (found == nullptr || found == m_systemTopic)
        return false;
    std::erase_if(
        m_convs, [&name](const QPair<HDDECONV, QString>& conv) { return SameName(conv.second, name); });
    std::erase_if(
        m_topics, [found](const std::unique_ptr<CDDETopic>& topic) { return topic.get() == found; });
    return true;
}

CDDETopic* CDDEServer::FindTopic(const QString& name) const
{
    for (const auto& topic : m_topics) {
        if (SameName(topic->Name(), name))
            return topic.get();
    }
    return nullptr;
}

CDDETopic* CDDEServer::GetSystemTopic() const
{
    return m_systemTopic;
}

void CDDEServer::ValueChanged(CDDETopic&, CDDEItem&, const QString&) { }

bool CDDEServer::OnConnect(const QString& topic) const
{
    return FindTopic(topic) != nullptr;
}

QList<QPair<QString, QString>> CDDEServer::OnWildConnect(const QString& service, const QString& topic) const
{
    QList<QPair<QString, QString>> pairs;
    if (!service.isEmpty() && !SameName(service, m_serviceName))
        return pairs;
    if (!topic.isEmpty()) {
        if (const CDDETopic* found = FindTopic(topic))
            pairs.append({ m_serviceName, found->Name() });
        return pairs;
    }
    pairs.reserve(static_cast<qsizetype>(m_topics.size()));
    for (const auto& each : m_topics)
        pairs.append({ m_serviceName, each->Name() });
    return pairs;
}

void CDDEServer::OnConnectConfirm(HDDECONV conv, const QString& topic)
{
    if (conv == 0)
        return;
    const CDDETopic* found = FindTopic(topic);
    const QString name = found != nullptr ? found->Name() : topic;
    for (auto& each : m_convs) {
        if (each.first == conv) {
            each.second = name;
            return;
        }
    }
    m_convs.emplace_back(conv, name);
}

void CDDEServer::OnDisconnect(HDDECONV conv, const QString& item)
{
    const auto it = std::find_if(m_convs.begin(), m_convs.end(),
        [conv](const QPair<HDDECONV, QString>& each) { return each.first == conv; });
    if (it == m_convs.end())
        return;
    if (CDDETopic* topic = FindTopic(it->second))
        topic->RemoveAdviseLink(item, conv);
    m_convs.erase(it);
}

std::optional<QByteArray> CDDEServer::OnRequest(const QString& topic, const QString& item, EDDEFormat format)
{
    CDDETopic* found = FindTopic(topic);
    if (found == nullptr)
        return std::nullopt;
    return Request(*found, item, format);
}

bool CDDEServer::OnPoke(HDDECONV, const QString& topic, const QString& item, EDDEFormat format,
    const QByteArray& data, bool ownInstance)
{
    if (data.size() > kMaxDataSize)
        return false;
    CDDETopic* found = FindTopic(topic);
    if (found == nullptr)
        return false;
    const CDDEItem* target = found->FindItem(item);
    if (target == nullptr || target->IsReadOnly())
        return false;
    if (!Poke(*found, item, format, data))
        return false;
    if (!ownInstance) {
        // Looked up again: what the poke ran may have changed the topics.
        if (CDDETopic* after = FindTopic(topic)) {
            if (CDDEItem* poked = after->FindItem(item))
                poked->PostAdvise();
        }
    }
    return true;
}

bool CDDEServer::OnAdviseStart(HDDECONV conv, const QString& topic, const QString& item, EDDEFormat format)
{
    CDDETopic* found = FindTopic(topic);
    return found != nullptr && AdviseStart(format, conv, *found, item);
}

bool CDDEServer::OnAdviseStop(HDDECONV conv, const QString& topic, const QString& item)
{
    CDDETopic* found = FindTopic(topic);
    return found != nullptr && AdviseStop(conv, *found, item);
}

bool CDDEServer::OnExecute(const QString& topic, const QByteArray& data)
{
    if (data.size() > kMaxDataSize)
        return false;
    return Execute(topic, EDDEFormat::Text, data);
}

std::vector<CDDEAdviseLink> CDDEServer::AdviseLinks(const QString& topic, const QString& item) const
{
    const CDDETopic* found = FindTopic(topic);
    if (found == nullptr)
        return {};
    const CDDEItem* value = found->FindItem(item);
    if (value == nullptr)
        return {};
    return value->AdviseLinks();
}

void CDDEServer::PostAdvise(const CDDETopic& topic, const CDDEItem& item)
{
    if (m_transport == nullptr || item.AdviseLinks().empty())
        return;
    m_transport->PostAdvise(*this, topic.Name(), item.Name());
}

std::optional<QByteArray> CDDEServer::Request(CDDETopic& topic, const QString& item, EDDEFormat format)
{
    return topic.Request(format, item);
}

bool CDDEServer::Poke(CDDETopic& topic, const QString& item, EDDEFormat format, const QByteArray& data)
{
    return topic.Poke(format, item, data);
}

bool CDDEServer::Execute(const QString& topic, EDDEFormat format, const QByteArray& data)
{
    CDDETopic* found = FindTopic(topic);
    return found != nullptr && found->Execute(format, data);
}

bool CDDEServer::AdviseStart(EDDEFormat format, HDDECONV conv, CDDETopic& topic, const QString& item)
{
    return topic.AddAdviseLink(item, format, conv);
}

bool CDDEServer::AdviseStop(HDDECONV conv, CDDETopic& topic, const QString& item)
{
    topic.RemoveAdviseLink(item, conv);
    return true;
}
