#pragma once

#include <memory>

#include <QAbstractHttpServer>
#include <QHash>
#include <QHostAddress>
#include <QMap>
#include <QString>

#include "webui/Board.h"
#include "webui/BoardPages.h"

class CKelvarisDoc;
class CProfile;
class QTcpServer;
class QTcpSocket;

// Where and how the status board listens: the settings WebListen (default 127.0.0.1:8470, empty
// is off), WebToken, WebCertificate and WebKey of the configuration file; the environment variable
// KELVARIS_WEB_LISTEN and then the command line's --web-listen take precedence over WebListen.
struct CWebOptions
{
    static constexpr const char* kDefaultListen = "127.0.0.1:8470";
    QString listen = QString::fromLatin1(kDefaultListen);
    QString token;
    QString certificate; // PEM files; both or neither
    QString key;

    static CWebOptions Read(const CProfile& profile, const QString& commandLineListen = QString());
};

// "host:port" ("[v6]:port", "*:port" for every address; port 0 takes a free one); false with
// `error` set when it does not read as one.
bool ParseListen(const QString& text, QHostAddress& address, quint16& port, QString& error);

// The status board and its read-only API on the site's network (Qt HttpServer on the event loop of
// the engine's thread, so it reads the engine as the window does and never holds the targets lock
// longer than a holder lookup or an on-call report takes):
//   /                     the board (?display=wall: the wall screen), /target/<id>[?week=DATE],
//   /calendar/<id>.ics, /calendar/all-receivers.ics, /calendar/all-groups.ics (ETag, 304),
//   /api/v1/oncall[?at=T], /api/v1/coverage[?days=N], /api/v1/state, /api/v1/targets,
//   /metrics              (Prometheus text format), /board.css.
// Only GET and HEAD (405 otherwise). A listen address other than loopback needs WebToken, sent as
// "Authorization: Bearer <token>" or ?token=; without it the server does not start. Requests are
// bounded: kMaxConnections at once (kMaxPerPeer from one address), kMaxRequestBytes and
// kConnectionMs per connection, kIdleMs of silence.
class CWebServer : public QAbstractHttpServer
{
    Q_OBJECT

public:
    static constexpr int kMaxConnections = 128;
    static constexpr int kMaxPerPeer = 32;
    static constexpr int kIdleMs = 5'000;
    static constexpr qint64 kMaxRequestBytes = 32 * 1024;
    static constexpr int kConnectionMs = 30'000;
    static constexpr int kMinTokenLength = 16;

    explicit CWebServer(CKelvarisDoc& doc, QObject* parent = nullptr);
    ~CWebServer() override;

    // Listens as the options say; false with Problem() saying why (then nothing listens). Listening
    // nowhere (an empty WebListen) is true with Url() empty.
    bool Start(const CWebOptions& options);
    const QString& Problem() const { return m_problem; }
    // "http://127.0.0.1:8470/" (https with a certificate) once listening.
    const QString& Url() const { return m_url; }

    // The pages and documents, for the tests and benchmarks without a socket (the board built
    // afresh for the moment, as a request does once a second).
    QByteArray BoardHtml(qint64 nowMs, int language = 0, bool wall = false);
    QByteArray MetricsText();

protected:
    bool handleRequest(const QHttpServerRequest& request, QTcpSocket* socket) override;
    void missingHandler(const QHttpServerRequest& request, QTcpSocket* socket) override;

private:
    struct CReply;
    CReply Route(const QHttpServerRequest& request);
    CReply Api(const QString& path, const QHttpServerRequest& request);
    CReply Calendar(const QString& name, const QHttpServerRequest& request);
    CReply Target(const QString& id, const QHttpServerRequest& request, const CPageContext& context);
    bool Authorised(const QHttpServerRequest& request) const;
    // A copy of the engine's targets made under the targets lock, for work done without it.
    CPageTargetArray TargetsSnapshot();
    // The board of this second, and its page in a language (both made at most once a second).
    const CBoard& CurrentBoard();
    QByteArray CachedBoardPage(const CPageContext& context, bool wall);
    // Counts and bounds a new connection; false (and the socket aborted) when its address holds
    // kMaxPerPeer already.
    bool Guard(QTcpSocket* socket);

    class CBoundedServer;
    struct CCalendar
    {
        QByteArray signature; // the plans' files, names and the day it was made for
        QByteArray bytes;
        QByteArray etag;
        qint64 lastModifiedMs = 0;
    };

    CKelvarisDoc& m_doc;
    CBoardBuilder m_board;
    CBoard m_currentBoard;
    qint64 m_boardSecond = -1;
    // The pages of the current board, by language, view and token (only a valid token gets here).
    QHash<QString, QByteArray> m_boardPages;
    CPageLanguages m_languages;
    QHash<QString, CCalendar> m_calendars; // by path
    QString m_token;
    bool m_tokenNeeded = false;
    QString m_problem;
    QString m_url;
    int m_connections = 0;
    QHash<QHostAddress, int> m_perPeer;
    QMap<int, quint64> m_requests; // answered, by status code
};

// Starts the status board as the configuration file in use and `commandLineListen` (null: not
// given) say. Its address is told on standard error (kelvaris.web); when it cannot start, a
// warning says why and null is returned: the rest of the program runs on without it.
std::unique_ptr<CWebServer> StartStatusBoard(
    CKelvarisDoc& doc, const QString& commandLineListen, QObject* parent = nullptr);
