#include "webui/WebServer.h"

#include <type_traits>
#include <unistd.h>

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QHttpServerRequest>
#include <QHttpServerResponder>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

#include "engine/DutyReports.h"
#include "engine/KelvarisDoc.h"
#include "schedule/ConfigLocation.h"
#include "schedule/DutyCalendar.h"
#include "schedule/Profile.h"
#include "schedule/SiteClock.h"
#include "support/Metrics.h"
#include "support/Trace.h"

using StatusCode = QHttpServerResponder::StatusCode;

namespace {

const QByteArray kHtml = QByteArrayLiteral("text/html; charset=utf-8");
const QByteArray kJson = QByteArrayLiteral("application/json");
const QByteArray kText = QByteArrayLiteral("text/plain; charset=utf-8");
const QByteArray kMetricsType = QByteArrayLiteral("text/plain; version=0.0.4; charset=utf-8");
const QByteArray kCalendarType = QByteArrayLiteral("text/calendar; charset=utf-8");

// Compares without telling by its time how much of the token was right.
bool SameSecret(const QByteArray& a, const QByteArray& b)
{
    unsigned char difference = a.size() == b.size() ? 0 : 1;
    for (qsizetype i = 0; i < a.size(); ++i)
        difference |= static_cast<unsigned char>(a[i] ^ b[i % std::max<qsizetype>(b.size(), 1)]);
    return difference == 0;
}

QByteArray HeaderValue(const QHttpServerRequest& request, const char* name)
{
    for (const auto& [key, value] : request.headers()) {
        if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return QByteArray();
}

QByteArray HttpDate(qint64 ms)
{
    return QLocale::c()
        .toString(
            QDateTime::fromMSecsSinceEpoch(ms, Qt::UTC), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"))
        .toLatin1();
}

QString IsoOrNull(const QTimeZone& zone, qint64 ms)
{
    return ms > 0 ? MomentAt(zone, ms).IsoText() : QString();
}

QString EscapeLabel(const std::string& text)
{
    QString value = QString::fromStdString(text);
    value.replace(u'\\', QLatin1String("\\\\"))
        .replace(u'"', QLatin1String("\\\""))
        .replace(u'\n', QLatin1String("\\n"));
    return value;
}

} // namespace

// What a request is answered with.
struct CWebServer::CReply
{
    StatusCode status = StatusCode::Ok;
    QByteArray type;
    QByteArray body;
    QList<std::pair<QByteArray, QByteArray>> headers;
    bool api = false; // never stored by a cache

    static CReply Json(const QJsonObject& object, StatusCode status = StatusCode::Ok)
    {
        return { status, kJson, QJsonDocument(object).toJson(QJsonDocument::Indented), {}, true };
    }
    static CReply JsonError(StatusCode status, const QString& reason)
    {
        return Json(
            QJsonObject { { QStringLiteral("error"), reason }, { QStringLiteral("status"), int(status) } },
            status);
    }
};

// Listens and hands each connection on under the bounds: too many at once are closed at once, and
// every connection is guarded (bytes and time). With a certificate it speaks TLS.
class CWebServer::CBoundedServer
{
public:
    template <class Base>
    class CServer : public Base
    {
    public:
        CServer(CWebServer& web)
            : m_web(web)
        { }

    protected:
        void incomingConnection(qintptr descriptor) override
        {
            if (m_web.m_connections >= kMaxConnections) {
                // Full: the new one waits for nobody. The oldest are served to their end.
                ::close(int(descriptor));
                Metrics().CountWebRefused();
                return;
            }
            if constexpr (std::is_same_v<Base, QSslServer>) {
                Base::incomingConnection(descriptor);
            } else {
                auto* socket = new QTcpSocket(this);
                if (!socket->setSocketDescriptor(descriptor)) {
                    delete socket;
                    return;
                }
                if (!m_web.Guard(socket)) {
                    delete socket;
                    return;
                }
                this->addPendingConnection(socket);
            }
        }

    private:
        CWebServer& m_web;
    };
};

CWebOptions CWebOptions::Read(const CProfile& profile, const QString& commandLineListen)
{
    const QString section = QStringLiteral("Settings");
    CWebOptions options;
    options.listen
        = profile.ReadString(section, QStringLiteral("WebListen"), QString::fromLatin1(kDefaultListen))
              .trimmed();
    if (qEnvironmentVariableIsSet("KELVARIS_WEB_LISTEN"))
        options.listen = qEnvironmentVariable("KELVARIS_WEB_LISTEN").trimmed();
    if (!commandLineListen.isNull())
        options.listen = commandLineListen.trimmed();
    options.token = profile.ReadString(section, QStringLiteral("WebToken"), QString()).trimmed();
    options.certificate = profile.ReadString(section, QStringLiteral("WebCertificate"), QString()).trimmed();
    options.key = profile.ReadString(section, QStringLiteral("WebKey"), QString()).trimmed();
    return options;
}

bool ParseListen(const QString& text, QHostAddress& address, quint16& port, QString& error)
{
    const qsizetype colon = text.lastIndexOf(u':');
    QString host = colon > 0 ? text.left(colon) : QString();
    const QString portText = colon > 0 ? text.mid(colon + 1) : QString();
    bool ok = false;
    const uint number = portText.toUInt(&ok);
    if (host.startsWith(u'[') && host.endsWith(u']'))
        host = host.mid(1, host.size() - 2);
    else if (host.contains(u':'))
        ok = false; // an IPv6 address goes in brackets
    if (!ok || number > 65535) {
        error = QStringLiteral("\"%1\" is not an address and port such as 127.0.0.1:8470").arg(text);
        return false;
    }
    if (host == QLatin1String("*")) {
        address = QHostAddress(QHostAddress::Any);
    } else if (host == QLatin1String("localhost")) {
        address = QHostAddress(QHostAddress::LocalHost);
    } else if (!address.setAddress(host)) {
        error = QStringLiteral("\"%1\" is not an address and port such as 127.0.0.1:8470").arg(text);
        return false;
    }
    port = quint16(number);
    return true;
}

CWebServer::CWebServer(CKelvarisDoc& doc, QObject* parent)
    : QAbstractHttpServer(parent)
    , m_doc(doc)
{ }

CWebServer::~CWebServer() = default;

bool CWebServer::Start(const CWebOptions& options)
{
    m_problem.clear();
    m_url.clear();
    if (options.listen.isEmpty())
        return true;
    QHostAddress address;
    quint16 port = 0;
    if (!ParseListen(options.listen, address, port, m_problem)) {
        m_problem = QStringLiteral("WebListen: %1").arg(m_problem);
        return false;
    }
    if (!address.isLoopback()) {
        if (options.token.isEmpty()) {
            m_problem = QStringLiteral(
                "the status board is to listen on %1, beyond this computer, but no WebToken is set: "
                "set one (at least %2 characters) or listen on 127.0.0.1")
                            .arg(options.listen)
                            .arg(kMinTokenLength);
            return false;
        }
        if (options.token.size() < kMinTokenLength) {
            m_problem = QStringLiteral("WebToken is shorter than %1 characters").arg(kMinTokenLength);
            return false;
        }
    }
    // Loopback needs nothing: whoever can reach it is on this computer already.
    m_token = options.token;
    m_tokenNeeded = !address.isLoopback();
    const bool tls = !options.certificate.isEmpty() || !options.key.isEmpty();
    QTcpServer* server = nullptr;
    if (tls) {
        QFile certificateFile(options.certificate);
        QFile keyFile(options.key);
        if (options.certificate.isEmpty() || options.key.isEmpty()) {
            m_problem = QStringLiteral("WebCertificate and WebKey go together: both are needed for HTTPS");
            return false;
        }
        if (!QSslSocket::supportsSsl()) {
            m_problem = QStringLiteral("HTTPS is asked for, but no TLS library can be loaded");
            return false;
        }
        if (!certificateFile.open(QIODevice::ReadOnly) || !keyFile.open(QIODevice::ReadOnly)) {
            m_problem
                = QStringLiteral("cannot read %1: %2")
                      .arg(certificateFile.isOpen() ? options.key : options.certificate,
                          certificateFile.isOpen() ? keyFile.errorString() : certificateFile.errorString());
            return false;
        }
        const QList<QSslCertificate> chain
            = QSslCertificate::fromData(certificateFile.read(1 << 20), QSsl::Pem);
        const QByteArray keyBytes = keyFile.read(1 << 20);
        QSslKey key(keyBytes, QSsl::Rsa, QSsl::Pem);
        if (key.isNull())
            key = QSslKey(keyBytes, QSsl::Ec, QSsl::Pem);
        if (chain.isEmpty() || key.isNull()) {
            m_problem = QStringLiteral("%1 holds no PEM certificate or %2 no PEM key (RSA or EC)")
                            .arg(options.certificate, options.key);
            return false;
        }
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.setLocalCertificateChain(chain);
        configuration.setPrivateKey(key);
        configuration.setPeerVerifyMode(QSslSocket::VerifyNone);
        auto* ssl = new CBoundedServer::CServer<QSslServer>(*this);
        ssl->setSslConfiguration(configuration);
        ssl->setHandshakeTimeout(kIdleMs);
        connect(ssl, &QSslServer::startedEncryptionHandshake, this,
            [this](QSslSocket* socket) { Guard(socket); });
        server = ssl;
    } else {
        server = new CBoundedServer::CServer<QTcpServer>(*this);
    }
    server->setParent(this);
    if (!server->listen(address, port)) {
        m_problem = QStringLiteral("cannot listen on %1: %2").arg(options.listen, server->errorString());
        delete server;
        return false;
    }
    bind(server);
    const QString host = address.protocol() == QAbstractSocket::IPv6Protocol
        ? QStringLiteral("[%1]").arg(address.toString())
        : address.toString();
    m_url = QStringLiteral("%1://%2:%3/")
                .arg(tls ? QStringLiteral("https") : QStringLiteral("http"), host)
                .arg(server->serverPort());
    return true;
}

bool CWebServer::Guard(QTcpSocket* socket)
{
    // One address may hold a quarter of the connections: a single client cannot shut out the rest.
    const QHostAddress peer = socket->peerAddress();
    if (m_perPeer.value(peer) >= kMaxPerPeer) {
        Metrics().CountWebRefused();
        socket->abort();
        return false;
    }
    ++m_connections;
    ++m_perPeer[peer];
    connect(socket, &QObject::destroyed, this, [this, peer] {
        --m_connections;
        if (--m_perPeer[peer] <= 0)
            m_perPeer.remove(peer);
    });
    // A connection ends after kIdleMs without a byte from its client, and after kConnectionMs
    // whatever it does; one that sends more than a few requests' worth of bytes ends at once.
    const auto end = [socket] {
        Metrics().CountWebExpired();
        socket->abort();
    };
    QTimer::singleShot(kConnectionMs, socket, end);
    auto* idle = new QTimer(socket);
    idle->setSingleShot(true);
    idle->setInterval(kIdleMs);
    connect(idle, &QTimer::timeout, socket, end);
    idle->start();
    auto received = std::make_shared<qint64>(0);
    connect(socket, &QIODevice::readyRead, socket, [socket, received, idle] {
        idle->start();
        *received += socket->bytesAvailable();
        if (*received > kMaxRequestBytes) {
            Metrics().CountWebRefused();
            socket->abort();
        }
    });
    return true;
}

bool CWebServer::Authorised(const QHttpServerRequest& request) const
{
    if (!m_tokenNeeded)
        return true;
    const QByteArray token = m_token.toUtf8();
    const QByteArray authorization = HeaderValue(request, "authorization");
    if (authorization.startsWith("Bearer ") && SameSecret(authorization.mid(7).trimmed(), token))
        return true;
    const QString query = request.query().queryItemValue(QStringLiteral("token"), QUrl::FullyDecoded);
    return !query.isEmpty() && SameSecret(query.toUtf8(), token);
}

bool CWebServer::handleRequest(const QHttpServerRequest& request, QTcpSocket* socket)
{
    CReply reply = Route(request);
    ++m_requests[int(reply.status)];
    QHttpServerResponder responder = makeResponder(request, socket);
    responder.writeStatusLine(reply.status);
    if (reply.status != StatusCode::NotModified) {
        responder.writeHeader(QByteArrayLiteral("Content-Type"), reply.type);
        responder.writeHeader(QByteArrayLiteral("Content-Length"), QByteArray::number(reply.body.size()));
    }
    responder.writeHeader(QByteArrayLiteral("X-Content-Type-Options"), QByteArrayLiteral("nosniff"));
    responder.writeHeader(QByteArrayLiteral("Content-Security-Policy"),
        QByteArrayLiteral("default-src 'none'; style-src 'self'; img-src 'self'; base-uri 'none'; "
                          "form-action 'none'; frame-ancestors 'none'"));
    responder.writeHeader(QByteArrayLiteral("Referrer-Policy"), QByteArrayLiteral("no-referrer"));
    responder.writeHeader(QByteArrayLiteral("X-Frame-Options"), QByteArrayLiteral("DENY"));
    if (reply.api)
        responder.writeHeader(QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-store"));
    for (const auto& [name, value] : std::as_const(reply.headers))
        responder.writeHeader(name, value);
    // The body also ends the headers: HEAD and 304 get an empty one.
    const bool withBody
        = request.method() != QHttpServerRequest::Method::Head && reply.status != StatusCode::NotModified;
    responder.writeBody(withBody ? reply.body : QByteArray());
    return true;
}

void CWebServer::missingHandler(const QHttpServerRequest& request, QTcpSocket* socket)
{
    makeResponder(request, socket).write(StatusCode::NotFound);
}

CWebServer::CReply CWebServer::Route(const QHttpServerRequest& request)
{
    const QUrlQuery query = request.query();
    CPageContext context;
    context.languages = &m_languages;
    context.language = CPageLanguages::Choose(
        query.queryItemValue(QStringLiteral("lang")), HeaderValue(request, "accept-language"));
    const QString path = request.url().path(QUrl::FullyDecoded);
    context.path = path;
    const bool api = path.startsWith(QLatin1String("/api/"));
    const auto page = [&context](StatusCode status, const QString& title, const QString& text) {
        return CReply { status, kHtml, MessagePage(title, text, context), {}, false };
    };

    if (request.method() != QHttpServerRequest::Method::Get
        && request.method() != QHttpServerRequest::Method::Head) {
        CReply reply = api
            ? CReply::JsonError(StatusCode::MethodNotAllowed, QStringLiteral("only GET and HEAD are served"))
            : CReply { StatusCode::MethodNotAllowed, kText,
                  QByteArrayLiteral("Only GET and HEAD are served.\n"), {}, false };
        reply.headers.append({ QByteArrayLiteral("Allow"), QByteArrayLiteral("GET, HEAD") });
        return reply;
    }
    if (request.url().toEncoded().size() > 2048) {
        return api
            ? CReply::JsonError(StatusCode::UriTooLong, QStringLiteral("the address is too long"))
            : page(StatusCode::UriTooLong,
                m_languages.Text(context.language, QT_TRANSLATE_NOOP("BoardPages", "Address too long")),
                m_languages.Text(context.language,
                    QT_TRANSLATE_NOOP("BoardPages", "This address is longer than any page of the board.")));
    }
    if (path == QLatin1String("/board.css")) {
        CReply reply { StatusCode::Ok, QByteArrayLiteral("text/css; charset=utf-8"), BoardStyleSheet(), {},
            false };
        reply.headers.append({ QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("max-age=3600") });
        return reply;
    }
    if (path == QLatin1String("/favicon.svg") || path == QLatin1String("/favicon.ico")) {
        CReply reply { StatusCode::Ok, QByteArrayLiteral("image/svg+xml"), BoardIcon(), {}, false };
        reply.headers.append({ QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("max-age=86400") });
        return reply;
    }
    if (!Authorised(request)) {
        CReply reply = api || path == QLatin1String("/metrics")
            ? CReply::JsonError(
                StatusCode::Unauthorized, QStringLiteral("a valid token is needed (Authorization: Bearer)"))
            : page(StatusCode::Unauthorized,
                m_languages.Text(context.language, QT_TRANSLATE_NOOP("BoardPages", "Token needed")),
                m_languages.Text(context.language,
                    QT_TRANSLATE_NOOP("BoardPages",
                        "This board is shown only with its token. Ask the operators of the alarm system for "
                        "the address with the token.")));
        reply.headers.append(
            { QByteArrayLiteral("WWW-Authenticate"), QByteArrayLiteral("Bearer realm=\"Kelvaris\"") });
        return reply;
    }
    if (query.hasQueryItem(QStringLiteral("token")))
        context.tokenQuery
            = QStringLiteral("token=") + query.queryItemValue(QStringLiteral("token"), QUrl::FullyEncoded);

    if (path == QLatin1String("/")) {
        const bool wall = query.queryItemValue(QStringLiteral("display")) == QLatin1String("wall");
        CReply reply { StatusCode::Ok, kHtml, CachedBoardPage(context, wall), {}, false };
        reply.headers.append({ QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache") });
        reply.headers.append({ QByteArrayLiteral("Vary"), QByteArrayLiteral("Accept-Language") });
        // A wall screen is nobody's to reload: it reloads itself (the header needs no script).
        if (wall)
            reply.headers.append({ QByteArrayLiteral("Refresh"), QByteArrayLiteral("30") });
        return reply;
    }
    if (path.startsWith(QLatin1String("/target/")))
        return Target(path.mid(8), request, context);
    if (path.startsWith(QLatin1String("/calendar/")))
        return Calendar(path.mid(10), request);
    if (api)
        return Api(path, request);
    if (path == QLatin1String("/metrics"))
        return CReply { StatusCode::Ok, kMetricsType, MetricsText(), {}, true };
    return page(StatusCode::NotFound,
        m_languages.Text(context.language, QT_TRANSLATE_NOOP("BoardPages", "Not found")),
        m_languages.Text(
            context.language, QT_TRANSLATE_NOOP("BoardPages", "The board has no page at this address.")));
}

CWebServer::CReply CWebServer::Target(
    const QString& id, const QHttpServerRequest& request, const CPageContext& context)
{
    const CPageTarget* target = m_doc.PageTargets().FindById(id);
    if (!target) {
        return { StatusCode::NotFound, kHtml,
            MessagePage(m_languages.Text(context.language, QT_TRANSLATE_NOOP("BoardPages", "Not found")),
                m_languages.Text(context.language,
                    QT_TRANSLATE_NOOP(
                        "BoardPages", "The alarm server knows no receiver or group with this ID.")),
                context),
            {}, false };
    }
    const CMoment now = MomentAt(m_doc.SiteZone(), CurrentUtcMs());
    const QDate today = now.WallDateTime().date();
    QDate day = today;
    const QString week = request.query().queryItemValue(QStringLiteral("week"));
    if (!week.isEmpty()) {
        day = QDate::fromString(week, Qt::ISODate);
        if (!day.isValid() || day.year() < 1971 || day.year() > 9998) {
            return { StatusCode::BadRequest, kHtml,
                MessagePage(m_languages.Text(context.language, QT_TRANSLATE_NOOP("BoardPages", "Not a date")),
                    m_languages.Text(context.language,
                        QT_TRANSLATE_NOOP("BoardPages", "The week is given by a date such as 2026-12-07.")),
                    context),
                {}, false };
        }
    }
    CReply reply { StatusCode::Ok, kHtml,
        TargetWeekPage(*target, day.addDays(1 - day.dayOfWeek()), now, context), {}, false };
    reply.headers.append({ QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache") });
    return reply;
}

CWebServer::CReply CWebServer::Calendar(const QString& name, const QHttpServerRequest& request)
{
    if (!name.endsWith(QLatin1String(".ics")))
        return { StatusCode::NotFound, kText, QByteArrayLiteral("No such calendar.\n"), {}, false };
    const QString base = name.chopped(4);
    const CPageTargetArray& all = m_doc.PageTargets();
    QList<const CPageTarget*> targets;
    QString title;
    if (base == QLatin1String("all-receivers") || base == QLatin1String("all-groups")) {
        const bool groups = base == QLatin1String("all-groups");
        for (const CPageTarget& target : all) {
            if (target.IsGroup() == groups)
                targets.append(&target);
        }
        title = groups ? QStringLiteral("All groups") : QStringLiteral("All receivers");
    } else {
        // The calendar folder's own naming: "<ID>..target" for the IDs the combined calendars use.
        const QString id = base.endsWith(QLatin1String("..target")) ? base.chopped(8) : base;
        const CPageTarget* target = all.FindById(id);
        if (!target)
            return { StatusCode::NotFound, kText, QByteArrayLiteral("No receiver or group has this ID.\n"),
                {}, false };
        targets.append(target);
        title = target->m_name;
    }

    const CMoment now = MomentAt(m_doc.SiteZone(), CurrentUtcMs());
    const QDate today = now.WallDateTime().date();
    QCryptographicHash signature(QCryptographicHash::Sha1);
    signature.addData(today.toString(Qt::ISODate).toLatin1());
    qint64 newest = 0;
    for (const CPageTarget* target : std::as_const(targets)) {
        signature.addData(QStringLiteral("\n%1\t%2\t%3\t%4")
                              .arg(target->m_id, target->m_name)
                              .arg(target->m_fileTimeMemo)
                              .arg(target->m_number)
                              .toUtf8());
        newest = std::max(newest, target->m_fileTimeMemo / 1'000'000);
    }
    CCalendar& calendar = m_calendars[base];
    if (calendar.signature != signature.result()) {
        calendar.signature = signature.result();
        calendar.lastModifiedMs = newest > 0 ? newest - newest % 1000 : now.utcMs - now.utcMs % 1000;
        const auto [from, to] = DefaultCalendarSpan(today);
        // A group's description names its holder, which the socket's thread may set: the calendar
        // is made from a copy, without holding the targets lock for the work.
        const CPageTargetArray snapshot = TargetsSnapshot();
        const CCalendarOptions options = SiteCalendarOptions(ConfigLocation().ConfigPath(), &snapshot, false);
        QList<SDutyEvent> events;
        for (const CPageTarget* target : std::as_const(targets)) {
            if (const CPageTarget* copy = snapshot.FindById(target->m_id))
                events += DutyEvents(*copy, from, to, options);
        }
        calendar.bytes = WriteCalendar(
            events, title, QDateTime::fromMSecsSinceEpoch(calendar.lastModifiedMs, Qt::UTC), options);
        calendar.etag
            = '"' + QCryptographicHash::hash(calendar.bytes, QCryptographicHash::Sha1).toHex().left(32) + '"';
    }
    CReply reply { StatusCode::Ok, kCalendarType, calendar.bytes, {}, false };
    reply.headers.append({ QByteArrayLiteral("ETag"), calendar.etag });
    reply.headers.append({ QByteArrayLiteral("Last-Modified"), HttpDate(calendar.lastModifiedMs) });
    reply.headers.append({ QByteArrayLiteral("Cache-Control"), QByteArrayLiteral("no-cache") });
    const QByteArray ifNoneMatch = HeaderValue(request, "if-none-match");
    bool notModified = false;
    if (!ifNoneMatch.isEmpty()) {
        for (const QByteArray& tag : ifNoneMatch.split(','))
            notModified = notModified || tag.trimmed() == calendar.etag || tag.trimmed() == "*";
    } else if (const QByteArray since = HeaderValue(request, "if-modified-since"); !since.isEmpty()) {
        const QDateTime sinceTime = QLocale::c().toDateTime(
            QString::fromLatin1(since.trimmed()), QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
        if (sinceTime.isValid()) {
            QDateTime utc = sinceTime;
            utc.setTimeSpec(Qt::UTC);
            notModified = utc.toMSecsSinceEpoch() >= calendar.lastModifiedMs;
        }
    }
    if (notModified) {
        reply.status = StatusCode::NotModified;
        reply.body.clear();
    }
    return reply;
}

CWebServer::CReply CWebServer::Api(const QString& path, const QHttpServerRequest& request)
{
    const QUrlQuery query = request.query();
    const QTimeZone& zone = m_doc.SiteZone();
    if (path == QLatin1String("/api/v1/oncall")) {
        CMoment at = MomentAt(zone, CurrentUtcMs());
        if (query.hasQueryItem(QStringLiteral("at"))) {
            QString error;
            if (!MomentFromText(
                    query.queryItemValue(QStringLiteral("at"), QUrl::FullyDecoded), zone, at, error))
                return CReply::JsonError(StatusCode::BadRequest, error);
        }
        if (m_doc.TargetListKnown()) {
            const CPageTargetArray targets = TargetsSnapshot();
            QList<CUnreadablePlan> unreadable;
            for (const CPageTarget& target : targets) {
                if (!target.m_fileProblem.isEmpty())
                    unreadable.append({ target.m_id + QStringLiteral(".tim"), target.m_fileProblem });
            }
            return CReply::Json(
                OncallReport(targets, at, QStringLiteral("alarm-server"), true, unreadable).json);
        }
        // As kelvarisctl answers without the alarm server: from the dispatch files.
        const QString folder = ConfigLocation().ConfigFolder();
        if (const QString problem = DataFolderProblem(folder, ConfigLocation().ConfigPath());
            !problem.isEmpty())
            return CReply::JsonError(StatusCode::ServiceUnavailable,
                QStringLiteral("no alarm server answered and %1").arg(problem));
        QList<CUnreadablePlan> unreadable;
        const CPageTargetArray targets = TargetsFromDispatchFiles(folder, unreadable);
        return CReply::Json(
            OncallReport(targets, at, QStringLiteral("dispatch-files"), false, unreadable).json);
    }
    if (path == QLatin1String("/api/v1/coverage")) {
        int days = 14;
        if (query.hasQueryItem(QStringLiteral("days"))) {
            bool ok = false;
            days = query.queryItemValue(QStringLiteral("days")).toInt(&ok);
            if (!ok || days < 1 || days > 366)
                return CReply::JsonError(
                    StatusCode::BadRequest, QStringLiteral("days takes a whole number from 1 to 366"));
        }
        if (!m_doc.TargetListKnown())
            return CReply::JsonError(StatusCode::ServiceUnavailable,
                QStringLiteral(
                    "the groups and their members are not known: the alarm server has not answered"));
        return CReply::Json(CoverageReport(TargetsSnapshot(), zone, CurrentUtcMs(), days, 1, 24).json);
    }
    if (path == QLatin1String("/api/v1/state")) {
        const CBoard& board = CurrentBoard();
        const auto record = [](const QString& name, const QString& from, const QString& to) {
            return name.isEmpty() ? QJsonValue()
                                  : QJsonValue(QJsonObject { { QStringLiteral("name"), name },
                                      { QStringLiteral("from"), from }, { QStringLiteral("to"), to } });
        };
        QJsonValue barrier = record(board.barrierName, board.barrierFrom, board.barrierTo);
        if (barrier.isObject()) {
            QJsonObject object = barrier.toObject();
            object.insert(QStringLiteral("type"),
                board.barrierType == 3       ? QStringLiteral("pause")
                    : board.barrierType == 2 ? QStringLiteral("hold")
                                             : QStringLiteral("delete"));
            barrier = object;
        }
        const QString lastAnswer = IsoOrNull(zone, board.lastGoodCallMs);
        const QString lastPush = IsoOrNull(zone, board.lastPushMs);
        return CReply::Json(QJsonObject { { QStringLiteral("at"), board.at.IsoText() },
            { QStringLiteral("active"), board.active },
            { QStringLiteral("targetsKnown"), board.targetsKnown },
            { QStringLiteral("shift"), record(board.shiftName, board.shiftFrom, board.shiftTo) },
            { QStringLiteral("barrier"), barrier },
            { QStringLiteral("alarmServer"),
                QJsonObject { { QStringLiteral("reachable"), board.serverReached },
                    { QStringLiteral("lastAnswer"),
                        lastAnswer.isEmpty() ? QJsonValue() : QJsonValue(lastAnswer) } } },
            { QStringLiteral("lastPush"), lastPush.isEmpty() ? QJsonValue() : QJsonValue(lastPush) },
            { QStringLiteral("gaps24h"), int(board.gaps.size()) },
            { QStringLiteral("version"), QStringLiteral(KELVARIS_VERSION) } });
    }
    if (path == QLatin1String("/api/v1/targets")) {
        QJsonArray targets;
        for (const CPageTarget& target : m_doc.PageTargets()) {
            QJsonObject item { { QStringLiteral("id"), target.m_id },
                { QStringLiteral("name"), target.m_name }, { QStringLiteral("number"), target.m_number },
                { QStringLiteral("group"), target.IsGroup() } };
            if (target.IsGroup()) {
                item.insert(QStringLiteral("takeover"), target.m_takeover);
                item.insert(QStringLiteral("members"),
                    QJsonArray::fromStringList(target.m_members.split(u';', Qt::SkipEmptyParts)));
            }
            targets.append(item);
        }
        return CReply::Json(QJsonObject { { QStringLiteral("targetsKnown"), m_doc.TargetListKnown() },
            { QStringLiteral("targets"), targets } });
    }
    return CReply::JsonError(StatusCode::NotFound, QStringLiteral("no such API path: %1").arg(path));
}

CPageTargetArray CWebServer::TargetsSnapshot()
{
    // Target by target, so that the copy shares no list with the engine's: the socket's thread may
    // set a holder in the engine's list meanwhile. Only the copying holds the lock.
    CPageTargetArray copy;
    const std::lock_guard lock(m_doc.TargetsMutex());
    copy.reserve(m_doc.PageTargets().size());
    for (const CPageTarget& target : m_doc.PageTargets())
        copy.append(target);
    return copy;
}

const CBoard& CWebServer::CurrentBoard()
{
    // A board shows minutes: within the second every request gets the same one, so that a crowd
    // of browsers costs one look at the engine a second, not one each.
    const qint64 nowMs = CurrentUtcMs();
    if (nowMs / 1000 != m_boardSecond) {
        m_boardSecond = nowMs / 1000;
        m_currentBoard = m_board.Build(m_doc, nowMs);
        m_boardPages.clear();
    }
    return m_currentBoard;
}

QByteArray CWebServer::CachedBoardPage(const CPageContext& context, bool wall)
{
    const CBoard& board = CurrentBoard();
    const QString key
        = QStringLiteral("%1|%2|%3").arg(context.language).arg(wall ? 1 : 0).arg(context.tokenQuery);
    auto page = m_boardPages.constFind(key);
    if (page == m_boardPages.cend())
        page = m_boardPages.insert(key, BoardPage(board, context, wall));
    return *page;
}

QByteArray CWebServer::BoardHtml(qint64 nowMs, int language, bool wall)
{
    CPageContext context;
    context.languages = &m_languages;
    context.language = language;
    context.path = QStringLiteral("/");
    return BoardPage(m_board.Build(m_doc, nowMs), context, wall);
}

QByteArray CWebServer::MetricsText()
{
    const CMetrics& metrics = Metrics();
    QString text;
    text.reserve(4096);
    const auto family = [&text](const char* name, const char* type, const char* help) {
        text += QStringLiteral("# HELP %1 %2\n# TYPE %1 %3\n")
                    .arg(QLatin1String(name), QLatin1String(help), QLatin1String(type));
    };
    family("kelvaris_build_info", "gauge", "The running program's version.");
    text += QStringLiteral("kelvaris_build_info{version=\"%1\"} 1\n").arg(QStringLiteral(KELVARIS_VERSION));
    family("kelvaris_checks_total", "counter", "Dispatch checks answered on the socket, by result.");
    text += QStringLiteral("kelvaris_checks_total{result=\"send\"} %1\n")
                .arg(metrics.Checks(CMetrics::ECheck::Send));
    text += QStringLiteral("kelvaris_checks_total{result=\"not_dispatched\"} %1\n")
                .arg(metrics.Checks(CMetrics::ECheck::NotDispatched));
    text += QStringLiteral("kelvaris_checks_total{result=\"malformed\"} %1\n")
                .arg(metrics.Checks(CMetrics::ECheck::Malformed));
    family("kelvaris_answer_duration_seconds", "histogram", "Time taken to answer a socket request.");
    const CMetrics::CHistogram answers = metrics.Answers();
    std::uint64_t cumulative = 0;
    for (size_t i = 0; i < answers.counts.size(); ++i) {
        cumulative += answers.counts[i];
        const QString bound = i < CMetrics::kBucketsUs.size()
            ? QString::number(double(CMetrics::kBucketsUs[i]) / 1e6, 'g', 6)
            : QStringLiteral("+Inf");
        text += QStringLiteral("kelvaris_answer_duration_seconds_bucket{le=\"%1\"} %2\n")
                    .arg(bound)
                    .arg(cumulative);
    }
    text += QStringLiteral("kelvaris_answer_duration_seconds_sum %1\n")
                .arg(double(answers.sumNs) / 1e9, 0, 'g', 9);
    text += QStringLiteral("kelvaris_answer_duration_seconds_count %1\n").arg(cumulative);
    family("kelvaris_connections_refused_total", "counter", "Socket connections refused (PipeUsers).");
    text += QStringLiteral("kelvaris_connections_refused_total %1\n").arg(metrics.Refused());
    family("kelvaris_connections_expired_total", "counter",
        "Socket connections dropped for sending or taking nothing in time.");
    text += QStringLiteral("kelvaris_connections_expired_total %1\n").arg(metrics.Expired());
    family("kelvaris_engine_active", "gauge", "Whether the engine is active (1) or not (0).");
    text += QStringLiteral("kelvaris_engine_active %1\n").arg(m_doc.IsActive() ? 1 : 0);
    family("kelvaris_alarm_server_reachable", "gauge", "Whether the last command reached the alarm server.");
    text += QStringLiteral("kelvaris_alarm_server_reachable %1\n").arg(m_doc.ServerReached() ? 1 : 0);
    family("kelvaris_alarm_server_last_answer_timestamp_seconds", "gauge",
        "When a command last reached the alarm server (0: never).");
    text += QStringLiteral("kelvaris_alarm_server_last_answer_timestamp_seconds %1\n")
                .arg(m_doc.LastGoodCallMs() / 1000);
    family("kelvaris_state_push_timestamp_seconds", "gauge",
        "When the shift and barrier were last pushed to the alarm server (0: never).");
    text += QStringLiteral("kelvaris_state_push_timestamp_seconds %1\n").arg(m_doc.LastPushMs() / 1000);
    family("kelvaris_coverage_gaps", "gauge", "Gaps in the groups' cover beginning within 24 hours.");
    text += QStringLiteral("kelvaris_coverage_gaps %1\n").arg(m_doc.Coverage().Gaps().size());
    family("kelvaris_warnings_total", "counter", "Warnings written, by category.");
    for (const auto& [category, count] : metrics.Warnings())
        text += QStringLiteral("kelvaris_warnings_total{category=\"%1\"} %2\n")
                    .arg(EscapeLabel(category))
                    .arg(count);
    family("kelvaris_web_requests_total", "counter", "Requests of the status board and API, by status code.");
    for (auto it = m_requests.cbegin(); it != m_requests.cend(); ++it)
        text += QStringLiteral("kelvaris_web_requests_total{code=\"%1\"} %2\n").arg(it.key()).arg(it.value());
    family("kelvaris_web_connections_refused_total", "counter",
        "Board connections closed for too many at once or too many bytes.");
    text += QStringLiteral("kelvaris_web_connections_refused_total %1\n").arg(metrics.WebRefused());
    return text.toUtf8();
}

std::unique_ptr<CWebServer> StartStatusBoard(
    CKelvarisDoc& doc, const QString& commandLineListen, QObject* parent)
{
    const CWebOptions options = CWebOptions::Read(CProfile(ConfigLocation().ConfigPath()), commandLineListen);
    if (options.listen.isEmpty())
        return nullptr;
    auto server = std::make_unique<CWebServer>(doc, parent);
    if (!server->Start(options)) {
        qCWarning(lcWeb).noquote()
            << QStringLiteral("The status board is not served: %1").arg(server->Problem());
        return nullptr;
    }
    qCInfo(lcWeb).noquote() << QStringLiteral("The status board is served at %1").arg(server->Url());
    return server;
}
