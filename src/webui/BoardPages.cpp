#include "webui/BoardPages.h"

#include <algorithm>
#include <optional>

#include <QCoreApplication>
#include <QDateTime>
#include <QLocale>
#include <QTranslator>
#include <QUrl>

#include "schedule/DateTime.h"
#include "schedule/DutyTimeline.h"
#include "schedule/PageTarget.h"

namespace {

QString Esc(const QString& text)
{
    return text.toHtmlEscaped();
}

QString IdInPath(const QString& id)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(id));
}

// A link's address with the page's token and language kept.
QString Link(const CPageContext& context, const QString& path, const QString& query = QString())
{
    QStringList parts;
    if (!query.isEmpty())
        parts << query;
    parts << QStringLiteral("lang=%1").arg(QLatin1String(CPageLanguages::kCodes[size_t(context.language)]));
    if (!context.tokenQuery.isEmpty())
        parts << context.tokenQuery;
    return Esc(path + QLatin1Char('?') + parts.join(QLatin1Char('&')));
}

class CWriter
{
public:
    CWriter(const CPageContext& context)
        : m_context(context)
        , m_locale(QString::fromLatin1(CPageLanguages::kCodes[size_t(context.language)]))
    { }

    QString T(const char* source) const { return m_context.languages->Text(m_context.language, source); }
    const QLocale& Locale() const { return m_locale; }

    void Begin(const QString& title, const char* bodyClass)
    {
        m_html += QStringLiteral("<!DOCTYPE html>\n<html lang=\"%1\">\n<head>\n<meta charset=\"utf-8\">\n"
                                 "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n")
                      .arg(QLatin1String(CPageLanguages::kCodes[size_t(m_context.language)]));
        m_html += QStringLiteral("<title>%1</title>\n<link rel=\"stylesheet\" href=\"/board.css\">\n"
                                 "<link rel=\"icon\" href=\"/favicon.svg\" type=\"image/svg+xml\">\n</head>\n"
                                 "<body class=\"%2\">\n")
                      .arg(Esc(title), QLatin1String(bodyClass));
    }

    void End()
    {
        m_html += QStringLiteral("<footer><nav aria-label=\"%1\"><ul class=\"languages\">")
                      .arg(Esc(T(QT_TRANSLATE_NOOP("BoardPages", "Languages"))));
        static const char* const names[] = { "English", "Deutsch",
            "Fran\xc3\xa7"
            "ais",
            "Nederlands", "Espa\xc3\xb1ol" };
        for (size_t i = 0; i < CPageLanguages::kCodes.size(); ++i) {
            CPageContext other = m_context;
            other.language = int(i);
            m_html += QStringLiteral("<li><a href=\"%1\" lang=\"%2\"%3>%4</a></li>")
                          .arg(Link(other, m_context.path), QLatin1String(CPageLanguages::kCodes[i]),
                              int(i) == m_context.language ? QStringLiteral(" aria-current=\"page\"")
                                                           : QString(),
                              QString::fromUtf8(names[i]));
        }
        m_html += QStringLiteral("</ul></nav></footer>\n</body>\n</html>\n");
    }

    QString Time(const CMoment& at) const
    {
        const QDateTime wall = at.WallDateTime();
        return m_locale.toString(wall.date(), QLocale::LongFormat) + QStringLiteral(", ")
            + wall.time().toString(QStringLiteral("HH:mm"));
    }
    // The site's clock from `now` on: its zone's offsets are read once for the page.
    void SetClock(const QTimeZone& zone, const CMoment& now)
    {
        m_offsets.emplace(zone, now.utcMs - 86'400'000, now.utcMs + 8 * 86'400'000LL);
        m_today = now.WallDateTime().date();
    }
    // A moment as the site's clock shows it: the time alone today, with the day otherwise.
    QString When(qint64 utcMs) const
    {
        CMoment at;
        at.utcMs = utcMs;
        at.offsetSeconds = m_offsets ? m_offsets->OffsetAt(utcMs) : 0;
        const QDateTime wall = at.WallDateTime();
        if (wall.date() == m_today)
            return m_locale.toString(wall, QStringLiteral("HH:mm"));
        return m_locale.toString(wall, QStringLiteral("ddd d MMM HH:mm"));
    }

    QString m_html;

private:
    const CPageContext& m_context;
    QLocale m_locale;
    std::optional<CZoneOffsets> m_offsets;
    QDate m_today;
};

QString BarrierKind(const CWriter& w, int type)
{
    switch (type) {
    case 1:
        return w.T(QT_TRANSLATE_NOOP("BoardPages", "Barrier: messages are deleted"));
    case 2:
        return w.T(QT_TRANSLATE_NOOP("BoardPages", "Barrier: messages are held until its end"));
    default:
        return w.T(QT_TRANSLATE_NOOP("BoardPages", "Pause"));
    }
}

void StatusList(CWriter& w, const CBoard& board, const CPageContext& context)
{
    w.m_html += QStringLiteral(
        "<section aria-labelledby=\"state\"><h2 id=\"state\">%1</h2>\n<dl class=\"state\">\n")
                    .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "State"))));
    const auto item = [&w](const QString& term, const QString& value, const char* cls) {
        w.m_html += QStringLiteral("<div class=\"%1\"><dt>%2</dt><dd>%3</dd></div>\n")
                        .arg(QLatin1String(cls), Esc(term), value);
    };
    item(w.T(QT_TRANSLATE_NOOP("BoardPages", "Duty schedule")),
        Esc(board.active ? w.T(QT_TRANSLATE_NOOP("BoardPages", "active"))
                         : w.T(QT_TRANSLATE_NOOP("BoardPages", "not active"))),
        board.active ? "good" : "bad");
    item(w.T(QT_TRANSLATE_NOOP("BoardPages", "Shift")),
        board.shiftName.isEmpty()
            ? Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "none")))
            : QStringLiteral("%1 (%2\u2013%3)").arg(Esc(board.shiftName), board.shiftFrom, board.shiftTo),
        "plain");
    item(w.T(QT_TRANSLATE_NOOP("BoardPages", "Barrier/pause")),
        board.barrierName.isEmpty() ? Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "none")))
                                    : QStringLiteral("%1 (%2\u2013%3): %4")
                                          .arg(Esc(board.barrierName), board.barrierFrom, board.barrierTo,
                                              Esc(BarrierKind(w, board.barrierType))),
        board.barrierName.isEmpty() ? "plain" : "warn");
    QString server = Esc(board.serverReached ? w.T(QT_TRANSLATE_NOOP("BoardPages", "reachable"))
                                             : w.T(QT_TRANSLATE_NOOP("BoardPages", "not reachable")));
    if (board.lastGoodCallMs > 0)
        server += QStringLiteral(" (%1)").arg(
            Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "last answer %1")).arg(w.When(board.lastGoodCallMs))));
    item(w.T(QT_TRANSLATE_NOOP("BoardPages", "Alarm server")), server, board.serverReached ? "good" : "bad");
    w.m_html += QStringLiteral("</dl></section>\n");
    Q_UNUSED(context)
}

void GapList(CWriter& w, const CBoard& board, const CPageContext& context)
{
    w.m_html += QStringLiteral("<section aria-labelledby=\"gaps\"><h2 id=\"gaps\">%1</h2>\n")
                    .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Gaps in cover within 24 hours"))));
    if (board.gaps.isEmpty()) {
        w.m_html += QStringLiteral("<p class=\"good\">%1</p></section>\n")
                        .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "No group is without cover."))));
        return;
    }
    w.m_html += QStringLiteral("<ul class=\"gaps\">\n");
    for (const CCoverageWatch::CGap& gap : board.gaps) {
        const QString from = gap.span.startMs <= board.at.utcMs ? w.T(QT_TRANSLATE_NOOP("BoardPages", "now"))
                                                                : w.When(gap.span.startMs);
        w.m_html += QStringLiteral("<li class=\"bad\"><a href=\"%1\">%2</a>: %3\u2013%4</li>\n")
                        .arg(Link(context, QStringLiteral("/target/") + IdInPath(gap.groupId)),
                            Esc(gap.groupName), Esc(from), Esc(w.When(gap.span.endMs)));
    }
    w.m_html += QStringLiteral("</ul></section>\n");
}

void GroupTable(CWriter& w, const CBoard& board, const CPageContext& context)
{
    w.m_html += QStringLiteral("<section aria-labelledby=\"groups\"><h2 id=\"groups\">%1</h2>\n")
                    .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Groups"))));
    if (board.groups.isEmpty()) {
        w.m_html += QStringLiteral("<p>%1</p></section>\n")
                        .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "There are no groups."))));
        return;
    }
    w.m_html += QStringLiteral(
        "<table class=\"groups\"><thead><tr><th scope=\"col\">%1</th><th scope=\"col\">%2</th>"
        "<th scope=\"col\">%3</th></tr></thead>\n<tbody>\n")
                    .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Group"))),
                        Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "On duty now"))),
                        Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Next change"))));
    const QString holderMark = Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "holder")));
    for (const CBoardGroup& group : board.groups) {
        QStringList names;
        bool holderListed = false;
        for (const QString& name : group.onDutyNow) {
            if (!group.holderName.isEmpty() && name == group.holderName) {
                names << QStringLiteral(
                    "<strong class=\"holder\">%1 <span class=\"mark\">(%2)</span></strong>")
                             .arg(Esc(name), holderMark);
                holderListed = true;
            } else {
                names << Esc(name);
            }
        }
        if (!group.holderName.isEmpty() && !holderListed)
            names.prepend(
                QStringLiteral("<strong class=\"holder\">%1 <span class=\"mark\">(%2)</span></strong>")
                    .arg(Esc(group.holderName), holderMark));
        const QString onDuty = names.isEmpty() ? QStringLiteral("<span class=\"bad\">%1</span>")
                                                     .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "nobody"))))
                                               : names.join(QStringLiteral(", "));
        QString next;
        if (group.nextChangeMs < 0) {
            next = Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "none within a week")));
        } else {
            QStringList parts;
            if (!group.comingOn.isEmpty())
                parts << Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "coming on: %1"))
                                 .arg(group.comingOn.join(QStringLiteral(", "))));
            if (!group.goingOff.isEmpty())
                parts << Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "going off: %1"))
                                 .arg(group.goingOff.join(QStringLiteral(", "))));
            next = QStringLiteral("<time>%1</time>: %2")
                       .arg(Esc(w.When(group.nextChangeMs)), parts.join(QStringLiteral("; ")));
        }
        w.m_html
            += QStringLiteral("<tr><th scope=\"row\"><a href=\"%1\">%2</a></th><td>%3</td><td>%4</td></tr>\n")
                   .arg(Link(context, QStringLiteral("/target/") + IdInPath(group.id)), Esc(group.name),
                       onDuty, next);
    }
    w.m_html += QStringLiteral("</tbody></table></section>\n");
}

void ReceiverList(CWriter& w, const CBoard& board, const CPageContext& context)
{
    w.m_html += QStringLiteral("<section aria-labelledby=\"receivers\"><h2 id=\"receivers\">%1</h2>\n")
                    .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Receivers on duty now"))));
    if (board.receivers.isEmpty()) {
        w.m_html += QStringLiteral("<p class=\"bad\">%1</p></section>\n")
                        .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Nobody is on duty."))));
        return;
    }
    w.m_html += QStringLiteral("<ul class=\"receivers\">\n");
    const QString until = w.T(QT_TRANSLATE_NOOP("BoardPages", "until %1"));
    for (const CBoardReceiver& receiver : board.receivers) {
        w.m_html
            += QStringLiteral("<li><a href=\"%1\">%2</a>%3</li>\n")
                   .arg(Link(context, QStringLiteral("/target/") + IdInPath(receiver.id)), Esc(receiver.name),
                       receiver.untilMs < 0 ? QString()
                                            : QStringLiteral(" <span class=\"until\">%1</span>")
                                                  .arg(Esc(until.arg(w.When(receiver.untilMs)))));
    }
    w.m_html += QStringLiteral("</ul></section>\n");
}

} // namespace

CPageLanguages::CPageLanguages()
{
    for (size_t i = 0; i < kCodes.size(); ++i) {
        auto translator = std::make_unique<QTranslator>();
        if (translator->load(QStringLiteral(":/i18n/kelvaris_%1.qm").arg(QLatin1String(kCodes[i]))))
            m_translators[i] = std::move(translator);
    }
}

CPageLanguages::~CPageLanguages() = default;

int CPageLanguages::Choose(const QString& langParameter, const QByteArray& acceptLanguage)
{
    const auto index = [](QStringView code) {
        for (size_t i = 0; i < kCodes.size(); ++i) {
            if (code.compare(QLatin1String(kCodes[i]), Qt::CaseInsensitive) == 0)
                return int(i);
        }
        return -1;
    };
    if (const int chosen = index(langParameter); chosen >= 0)
        return chosen;
    // "fr-CH, fr;q=0.9, en;q=0.8": the first language of the highest weight that we have.
    int best = 0;
    double bestWeight = 0;
    const QString header = QString::fromLatin1(acceptLanguage.left(512));
    for (const QString& item : header.split(u',', Qt::SkipEmptyParts)) {
        const QStringList parts = item.split(u';');
        const QString tag = parts.first().trimmed();
        double weight = 1;
        for (qsizetype i = 1; i < parts.size(); ++i) {
            const QString parameter = parts[i].trimmed();
            if (parameter.startsWith(QLatin1String("q=")))
                weight = parameter.mid(2).toDouble();
        }
        const int chosen = index(QStringView(tag).left(2));
        if (chosen >= 0 && (tag.size() == 2 || tag.at(2) == u'-') && weight > bestWeight) {
            best = chosen;
            bestWeight = weight;
        }
    }
    return best;
}

QString CPageLanguages::Text(int language, const char* source) const
{
    const QTranslator* translator
        = m_translators[size_t(std::clamp(language, 0, int(kCodes.size()) - 1))].get();
    if (translator) {
        if (QString text = translator->translate("BoardPages", source); !text.isEmpty())
            return text;
    }
    return QString::fromUtf8(source);
}

QByteArray BoardPage(const CBoard& board, const CPageContext& context, bool wall)
{
    CWriter w(context);
    w.SetClock(board.zone, board.at);
    const QString title = w.T(QT_TRANSLATE_NOOP("BoardPages", "Who is on duty"));
    w.Begin(title, wall ? "wall" : "board");
    w.m_html += QStringLiteral("<header><h1>%1</h1><p class=\"now\">%2</p></header>\n<main>\n")
                    .arg(Esc(title), Esc(w.Time(board.at)));
    if (!board.targetsKnown)
        w.m_html += QStringLiteral("<p class=\"bad\" role=\"alert\">%1</p>\n")
                        .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages",
                            "The alarm server has not told Kelvaris its receivers and groups yet."))));
    if (wall) {
        GroupTable(w, board, context);
        GapList(w, board, context);
        StatusList(w, board, context);
    } else {
        StatusList(w, board, context);
        GapList(w, board, context);
        GroupTable(w, board, context);
        ReceiverList(w, board, context);
        w.m_html += QStringLiteral("<p class=\"links\"><a href=\"%1\">%2</a></p>\n")
                        .arg(Link(context, QStringLiteral("/"), QStringLiteral("display=wall")),
                            Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Wall-screen view"))));
    }
    w.m_html += QStringLiteral("</main>\n");
    w.End();
    return w.m_html.toUtf8();
}

QByteArray TargetWeekPage(
    const CPageTarget& target, QDate monday, const CMoment& now, const CPageContext& context)
{
    CWriter w(context);
    const QString title = w.T(QT_TRANSLATE_NOOP("BoardPages", "Duty plan of %1")).arg(target.m_name);
    w.Begin(title, "target");
    const QDate sunday = monday.addDays(6);
    w.m_html += QStringLiteral("<header><h1>%1</h1><p class=\"now\">%2</p></header>\n<main>\n")
                    .arg(Esc(title),
                        Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Week %1: %2 to %3"))
                                .arg(monday.weekNumber())
                                .arg(w.Locale().toString(monday, QStringLiteral("d MMMM")),
                                    w.Locale().toString(sunday, QStringLiteral("d MMMM yyyy")))));
    const QString path = QStringLiteral("/target/") + IdInPath(target.m_id);
    w.m_html
        += QStringLiteral(
            "<nav aria-label=\"%1\"><ul class=\"weeks\"><li><a href=\"%2\" rel=\"prev\">%3</a></li>"
            "<li><a href=\"%4\">%5</a></li><li><a href=\"%6\" rel=\"next\">%7</a></li>"
            "<li><a href=\"%8\">%9</a></li></ul></nav>\n")
               .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Weeks"))),
                   Link(context, path, QStringLiteral("week=") + monday.addDays(-7).toString(Qt::ISODate)),
                   Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Previous week"))),
                   Link(context, QStringLiteral("/")),
                   Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Back to the board"))),
                   Link(context, path, QStringLiteral("week=") + monday.addDays(7).toString(Qt::ISODate)),
                   Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Next week"))),
                   Esc(QStringLiteral("/calendar/") + IdInPath(target.m_id) + QStringLiteral(".ics")
                       + (context.tokenQuery.isEmpty() ? QString() : QLatin1Char('?') + context.tokenQuery)),
                   Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Calendar (iCalendar)"))));
    const QDate today = now.WallDateTime().date();
    w.m_html += QStringLiteral("<table class=\"week\"><thead><tr><th scope=\"col\">%1</th><th "
                               "scope=\"col\">%2</th></tr></thead>\n<tbody>\n")
                    .arg(Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Day"))),
                        Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "On duty"))));
    // The ranges of each day of the week, in order of their start.
    std::array<QList<std::pair<int, int>>, 7> days;
    const qint64 first = DayNumberFromCivil(monday.year(), monday.month(), monday.day());
    for (const CDispatchRange& range : target.m_ranges) {
        const qint64 day = range.DayNumber();
        const qint64 index = day - first;
        if (day != CDispatchRange::kNoDay && index >= 0 && index < 7 && range.m_from < range.m_to)
            days[size_t(index)].append({ std::max(range.m_from, 0), std::min(range.m_to, 24 * 60) });
    }
    for (size_t i = 0; i < days.size(); ++i) {
        std::sort(days[i].begin(), days[i].end());
        const QDate date = monday.addDays(qint64(i));
        QStringList spans;
        if (target.m_ranges.isEmpty())
            spans << Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "all day (no plan: always on duty)")));
        for (const auto& [from, to] : std::as_const(days[i]))
            spans << QStringLiteral("<time>%1</time>\u2013<time>%2</time>")
                         .arg(MinuteOfDayText(from), MinuteOfDayText(to));
        w.m_html
            += QStringLiteral("<tr%1><th scope=\"row\">%2</th><td>%3</td></tr>\n")
                   .arg(date == today ? QStringLiteral(" class=\"today\" aria-current=\"date\"") : QString(),
                       Esc(w.Locale().toString(date, QLocale::LongFormat)),
                       spans.isEmpty() ? Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "off duty")))
                                       : spans.join(QStringLiteral(", ")));
    }
    w.m_html += QStringLiteral("</tbody></table>\n</main>\n");
    w.End();
    return w.m_html.toUtf8();
}

QByteArray MessagePage(const QString& title, const QString& text, const CPageContext& context)
{
    CWriter w(context);
    w.Begin(title, "message");
    w.m_html += QStringLiteral(
        "<header><h1>%1</h1></header>\n<main><p>%2</p><p><a href=\"%3\">%4</a></p></main>\n")
                    .arg(Esc(title), Esc(text), Link(context, QStringLiteral("/")),
                        Esc(w.T(QT_TRANSLATE_NOOP("BoardPages", "Back to the board"))));
    w.End();
    return w.m_html.toUtf8();
}

QByteArray BoardIcon()
{
    return QByteArrayLiteral("<svg xmlns=\"http://www.w3.org/2000/svg\" viewBox=\"0 0 16 16\">"
                             "<rect width=\"16\" height=\"16\" rx=\"3\" fill=\"#a00000\"/>"
                             "<path d=\"M4 4h2v3l3-3h3l-4 4 4 4H9L6 9v3H4z\" fill=\"#fff\"/></svg>");
}

QByteArray BoardStyleSheet()
{
    return QByteArrayLiteral(
        "html{font-family:sans-serif;color:#111;background:#fff}\n"
        "body{margin:0 auto;padding:1rem;max-width:72rem;line-height:1.4}\n"
        "h1{font-size:1.6rem;margin:.2rem 0}h2{font-size:1.2rem;margin:1.2rem 0 .4rem}\n"
        ".now{margin:0;color:#333}\n"
        "table{border-collapse:collapse;width:100%}th,td{text-align:left;vertical-align:top;padding:.35rem "
        ".5rem;"
        "border-bottom:1px solid #bbb}\n"
        "thead th{border-bottom:2px solid #333}\n"
        "dl.state{display:flex;flex-wrap:wrap;gap:.5rem 2rem;margin:0}dl.state div{min-width:12rem}"
        "dt{font-weight:bold}dd{margin:0}\n"
        ".good{color:#05620f}.bad{color:#a00000;font-weight:bold}.warn{color:#7a4a00}\n"
        ".holder{font-weight:bold}.until{color:#333}\n"
        "ul.receivers{columns:16rem;padding-left:1.2rem}\n"
        "tr.today{background:#eef3ff}\n"
        "a{color:#0645ad}a:focus{outline:3px solid #f9a800;outline-offset:2px}\n"
        "nav ul,footer ul{list-style:none;padding:0;display:flex;flex-wrap:wrap;gap:1rem}\n"
        "footer{margin-top:2rem;border-top:1px solid #bbb}\n"
        "html:has(body.wall){background:#000}body.wall{max-width:none;min-height:100vh;box-sizing:border-box;"
        "background:#000;color:#fff;font-size:1.6rem;padding:1rem 2rem}\n"
        ".wall h1{font-size:2.6rem}.wall h2{font-size:2rem}.wall .now{color:#fff;font-size:1.8rem}\n"
        ".wall th,.wall td{border-color:#777;padding:.4rem .6rem}.wall thead th{border-color:#fff}\n"
        ".wall a{color:#9cf}.wall .good{color:#7f7}.wall .bad{color:#ff8080}.wall .warn{color:#ffd480}\n"
        ".wall .holder{color:#ffd480}\n"
        "@media (prefers-color-scheme:dark){body:not(.wall){background:#111;color:#eee}"
        "body:not(.wall) .now,body:not(.wall) .until{color:#ccc}body:not(.wall) a{color:#9cf}"
        "body:not(.wall) .good{color:#7f7}body:not(.wall) .bad{color:#ff8080}body:not(.wall) "
        ".warn{color:#ffd480}"
        "body:not(.wall) tr.today{background:#223}}\n");
}
