#pragma once

#include <memory>
#include <optional>
#include <vector>

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// The DDE class library: a service publishes topics, each topic holds items, clients read items
// (request), write them (poke), keep links that deliver every change (advise) and send commands
// (execute). The library holds the service's data and rules; a transport (CDDETransport) carries
// the transactions between the clients and the server and calls the server's On... operations.
// Everything runs on one thread, the one that created the server.

// The clipboard formats an item may serve.
enum class EDDEFormat : quint32 {
    None = 0,
    Text = 1, // 8-bit text (UTF-8) with a terminating NUL
    UnicodeText = 13, // UTF-16LE with a terminating NUL character
};

// "TEXT", "UNICODETEXT"; empty for None.
QString DDEFormatName(EDDEFormat format);
// The format of a name ("TEXT", "UNICODETEXT", any case); None for other names.
EDDEFormat DDEFormatFromName(const QString& name);

// A conversation as the transport numbers it; 0 is no conversation.
using HDDECONV = quint64;

// One advise link of an item.
struct CDDEAdviseLink
{
    HDDECONV m_conv = 0;
    EDDEFormat m_format = EDDEFormat::None;
};

class CDDEServer;
class CDDETopic;
class CDDEItem;

// Carries the transactions between the clients and a server.
class CDDETransport
{
public:
    virtual ~CDDETransport() = default;
    // Makes the service reachable; false when it cannot (the server then serves nobody).
    virtual bool RegisterService(CDDEServer& server) = 0;
    virtual void UnregisterService(CDDEServer& server) = 0;
    // The value of an item changed: the transport takes the item's data once per advise link
    // (CDDEItem::Request in the link's format) and delivers it to the link's conversation.
    virtual void PostAdvise(CDDEServer& server, const QString& topic, const QString& item) = 0;
};

// ---- Items ------------------------------------------------------------------------------------

class CDDEItem
{
public:
    virtual ~CDDEItem();

    void Create(const QString& name, bool readOnly, CDDETopic* topic);
    const QString& Name() const { return m_name; }
    bool IsReadOnly() const { return m_readOnly; }
    CDDETopic* Topic() const { return m_topic; }

    // Asks the transport to deliver the item's value to every advise link.
    void PostAdvise();
    // The item's data in a format, or nothing when the format is not served.
    virtual std::optional<QByteArray> Request(EDDEFormat format);
    // Takes poked data; false when the format is not served.
    virtual bool Poke(EDDEFormat format, const QByteArray& data);
    bool IsSupportedFormat(EDDEFormat format) const;
    virtual QList<EDDEFormat> Formats() const;

    // A link for (conversation, format); false when the format is not served. A conversation keeps
    // one link per item: a second start replaces the first's format.
    bool AddAdviseLink(EDDEFormat format, HDDECONV conv);
    // False when the conversation had no link.
    bool RemoveAdviseLink(HDDECONV conv);
    const std::vector<CDDEAdviseLink>& AdviseLinks() const { return m_links; }

private:
    QString m_name;
    CDDETopic* m_topic = nullptr;
    bool m_readOnly = true;
    std::vector<CDDEAdviseLink> m_links;
};

// An item holding a text, kept as both 8-bit and Unicode text.
class CDDEStringItem : public CDDEItem
{
public:
    std::optional<QByteArray> Request(EDDEFormat format) override;
    bool Poke(EDDEFormat format, const QByteArray& data) override;
    QList<EDDEFormat> Formats() const override;

    virtual void OnPoked() { }
    virtual void OnBeforeRequest() { }
    // Empties the text and posts advise.
    void Clear();
    // Stores the text and posts advise when it differs from the current one.
    virtual void SetText(const QString& text);
    const QString& GetText() const { return m_text; }

protected:
    // Stores without any check or advise.
    void StoreText(const QString& text);

private:
    QString m_text; // the Unicode form; the 8-bit form is its UTF-8 encoding
};

class CDDENumericItem : public CDDEStringItem
{
public:
    // Stored as decimal text; posts advise when it changed.
    void SetNumber(qint64 number);
    // The text as a number, its base taken from its prefix (0x hex, 0 octal); 0 when not a number.
    qint64 GetNumber() const;
};

// A published value: a changed poke is reported to the server's ValueChanged; a set is applied
// only when it differs from the last value.
class CDDEValueItem : public CDDENumericItem
{
public:
    void OnPoked() override;
    void SetText(const QString& text) override;

private:
    QString m_lastValue;
};

// The System topic's lists: its request builds a tab-separated list each time.
class CDDESystemItem : public CDDEItem
{
public:
    std::optional<QByteArray> Request(EDDEFormat format) override;
    bool Poke(EDDEFormat, const QByteArray&) override { return false; }
    QList<EDDEFormat> Formats() const override;

protected:
    virtual QStringList List() const = 0;
};

// The topics of the server, in the order they were added.
class CDDESystemItem_TopicList : public CDDESystemItem
{
protected:
    QStringList List() const override;
};

// The items of the owning topic, in the order they were added.
class CDDESystemItem_ItemList : public CDDESystemItem
{
protected:
    QStringList List() const override;
};

// The formats of the owning topic's items, each once, in the order first met.
class CDDESystemItem_FormatList : public CDDESystemItem
{
protected:
    QStringList List() const override;
};

// ---- Topics -----------------------------------------------------------------------------------

class CDDETopic
{
public:
    // Gives the topic its two standard items, "TopicItemList" and "Formats".
    CDDETopic(const QString& name, CDDEServer* server);
    virtual ~CDDETopic();
    CDDETopic(const CDDETopic&) = delete;
    CDDETopic& operator=(const CDDETopic&) = delete;

    const QString& Name() const { return m_name; }
    CDDEServer* Server() const { return m_server; }

    virtual std::optional<QByteArray> Request(EDDEFormat format, const QString& item);
    virtual bool Poke(EDDEFormat format, const QString& item, const QByteArray& data);
    virtual bool Execute(EDDEFormat format, const QByteArray& data);

    // By name, without regard to case; null when missing.
    CDDEItem* FindItem(const QString& name) const;
    // Takes ownership; the item is given this topic. Returns the item.
    CDDEItem* AddItem(std::unique_ptr<CDDEItem> item);
    const std::vector<std::unique_ptr<CDDEItem>>& Items() const { return m_items; }

    bool AddAdviseLink(const QString& item, EDDEFormat format, HDDECONV conv);
    // An empty item name removes the conversation's links from every item.
    bool RemoveAdviseLink(const QString& item, HDDECONV conv);

private:
    QString m_name;
    CDDEServer* m_server = nullptr;
    std::vector<std::unique_ptr<CDDEItem>> m_items;
};

class CDDEServerSystemTopic : public CDDETopic
{
public:
    using CDDETopic::CDDETopic;
};

class CDDEValueTopic : public CDDETopic
{
public:
    using CDDETopic::CDDETopic;
};

// ---- Servers ----------------------------------------------------------------------------------

class CDDEServer
{
public:
    // Servers per process; creating one more fails.
    static constexpr int kMaxServers = 20;

    CDDEServer();
    virtual ~CDDEServer(); // destroys the server when still created
    CDDEServer(const CDDEServer&) = delete;
    CDDEServer& operator=(const CDDEServer&) = delete;

    // Takes a free server slot, registers the service through the transport (a failed registration
    // is ignored) and creates the System topic ("Topics", "SysItems" besides the standard items).
    // False when no slot is free or the server is already created.
    bool Create(const QString& serviceName, CDDETransport* transport);
    // Removes every topic and item, unregisters the service and frees the slot.
    void Destroy();
    bool IsCreated() const { return m_slot >= 0; }
    const QString& ServiceName() const { return m_serviceName; }

    // Runs once at the end of Create(); false makes Create() fail.
    virtual bool OnCreate() { return true; }

    // The engine's values: creates the topic (CDDEValueTopic) and the item (CDDEValueItem, not read
    // only) when missing, then sets the value; an unchanged value does nothing.
    void AddValue(const QString& topic, const QString& item, const QString& text);
    void AddValue(const QString& topic, const QString& item, qint64 number);
    // The current value of an item as text; empty when missing.
    QString GetValue(const QString& topic, const QString& item) const;

    // Takes ownership; a topic of the same name (any case) is not added twice. Returns the topic.
    CDDETopic* AddTopic(std::unique_ptr<CDDETopic> topic);
    bool RemoveTopic(const QString& name);
    // By name, without regard to case; null when missing.
    CDDETopic* FindTopic(const QString& name) const;
    CDDETopic* GetSystemTopic() const;
    const std::vector<std::unique_ptr<CDDETopic>>& Topics() const { return m_topics; }

    // A poked value differed from the last one (CDDEValueItem); does nothing here.
    virtual void ValueChanged(CDDETopic& topic, CDDEItem& item, const QString& text);

    // ---- Transactions, called by the transport ----
    // A topic of that name exists.
    bool OnConnect(const QString& topic) const;
    // (service, topic) pairs; an empty service or topic is a wildcard, another service refuses.
    QList<QPair<QString, QString>> OnWildConnect(const QString& service, const QString& topic) const;
    // Remembers the conversation.
    void OnConnectConfirm(HDDECONV conv, const QString& topic);
    // Ends the conversation: its advise links are removed from the named item, or from every item
    // of its topic when no item is named.
    void OnDisconnect(HDDECONV conv, const QString& item = QString());
    std::optional<QByteArray> OnRequest(const QString& topic, const QString& item, EDDEFormat format);
    // False (not processed) for a missing topic or item, a read-only item or another format. After a
    // poke advise is posted for the item unless `ownInstance` (the poker is this server's own).
    bool OnPoke(HDDECONV conv, const QString& topic, const QString& item, EDDEFormat format,
        const QByteArray& data, bool ownInstance = false);
    bool OnAdviseStart(HDDECONV conv, const QString& topic, const QString& item, EDDEFormat format);
    bool OnAdviseStop(HDDECONV conv, const QString& topic, const QString& item);
    // The server's Execute(topic, TEXT, data).
    bool OnExecute(const QString& topic, const QByteArray& data);
    // The links of an item; empty when missing.
    std::vector<CDDEAdviseLink> AdviseLinks(const QString& topic, const QString& item) const;
    const std::vector<QPair<HDDECONV, QString>>& Conversations() const { return m_convs; }

    // The item asks for advise delivery.
    void PostAdvise(const CDDETopic& topic, const CDDEItem& item);

protected:
    virtual std::optional<QByteArray> Request(CDDETopic& topic, const QString& item, EDDEFormat format);
    virtual bool Poke(CDDETopic& topic, const QString& item, EDDEFormat format, const QByteArray& data);
    virtual bool Execute(const QString& topic, EDDEFormat format, const QByteArray& data);
    virtual bool AdviseStart(EDDEFormat format, HDDECONV conv, CDDETopic& topic, const QString& item);
    virtual bool AdviseStop(HDDECONV conv, CDDETopic& topic, const QString& item);

private:
    QString m_serviceName;
    CDDETransport* m_transport = nullptr;
    int m_slot = -1;
    std::vector<std::unique_ptr<CDDETopic>> m_topics;
    CDDETopic* m_systemTopic = nullptr;
    std::vector<QPair<HDDECONV, QString>> m_convs; // conversation, topic name
};

class CDDEValueServer : public CDDEServer
{
};

// The 8-bit text of poked or executed data: the bytes up to the first NUL, as UTF-8 (Windows-1252
// when not valid UTF-8).
QString DDETextFromData(const QByteArray& data);
// The text of data in a format: TEXT as above, UNICODETEXT as UTF-16LE up to the first NUL
// character (an odd last byte is ignored).
QString DDETextFromData(EDDEFormat format, const QByteArray& data);
// The data of a text in a format (TEXT: UTF-8 with NUL; UNICODETEXT: UTF-16LE with a NUL character).
QByteArray DDEDataFromText(EDDEFormat format, const QString& text);
