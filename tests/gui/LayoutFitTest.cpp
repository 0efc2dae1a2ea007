// Opens every dialog and the main window with the demo installation's records in each shipped
// language and checks that no text is cut: titles, labels, buttons, group titles, combo items, edit
// texts, header sections, list cells, tabs and planner headings must each fit the room the widget
// gives them, measured with the widget's own font metrics.

#include <climits>
#include <memory>
#include <optional>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QScrollBar>
#include <QSettings>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "app/InfoDialogs.h"
#include "app/KelvarisView.h"
#include "app/Language.h"
#include "app/MainFrame.h"
#include "app/PasswordDialogs.h"
#include "editors/BarrageDialogs.h"
#include "editors/GeneralSettingsDialog.h"
#include "editors/HistoryDialog.h"
#include "editors/HolidayDialogs.h"
#include "editors/NoticeSettingsDialog.h"
#include "editors/ShiftDialogs.h"
#include "editors/TakeoverTextsDlg.h"
#include "engine/KelvarisDoc.h"
#include "engine/Password.h"
#include "engine/Takeover.h"
#include "journal/Journal.h"
#include "plandialogs/BulkDialogs.h"
#include "plandialogs/DispatchingDlg.h"
#include "plandialogs/ExportDlg.h"
#include "plandialogs/PlannerWidget.h"
#include "planning/PlannerModel.h"
#include "schedule/Barrage.h"
#include "schedule/Holiday.h"
#include "schedule/Profile.h"
#include "schedule/Shift.h"
#include "widgets/WidgetFit.h"

#include "ConfigLocationScope.h"
#include "DialogTesting.h"
#include "fakes/FakeServerCommand.h"

namespace {

// Monday 7 December 2026, mid-morning.
CDateTime g_now;
CDateTime Now()
{
    return g_now;
}

struct CShippedLanguage
{
    int index;
    const char* code;
};
constexpr CShippedLanguage kLanguages[] = { { 1, "en" }, { 0, "de" }, { 2, "fr" }, { 4, "es" }, { 5, "nl" } };

// The demo installation in a temporary data folder: its configuration (shifts, barriers, settings),
// its receivers and groups as the alarm server reports them, this year's and next year's
// statutory holidays and a few planned duties this week.
class CDemoWorld
{
public:
    CDemoWorld()
    {
        g_now = CDateTime(2026, 12, 7, 10, 30, 5);
        SetCurrentTimeSource(&Now);
        const QString config = m_dir.filePath(QStringLiteral("kelvaris.cfg"));
        // The demo activates itself at start; the document of this test has no socket to serve.
        QFile::copy(QStringLiteral(DEMO_DIR "/kelvaris.cfg"), config);
        QFile::setPermissions(config, QFile::ReadOwner | QFile::WriteOwner);
        m_location.emplace(config);

        QSettings targets(QStringLiteral(DEMO_DIR "/targets.cfg"), QSettings::IniFormat);
        QStringList names;
        for (const QString& group : targets.childGroups()) {
            targets.beginGroup(group);
            const QString name = targets.value(QStringLiteral("Name")).toString();
            const QString id = targets.value(QStringLiteral("ID")).toString();
            names.append(name + QStringLiteral("\tx\tx\tx\tx"));
            QStringList fields;
            for (int i = 1; i <= 17; ++i)
                fields.append(QStringLiteral("f%1").arg(i));
            fields[1] = targets.value(QStringLiteral("Number")).toString();
            fields[14] = id;
            fields[16] = targets.value(QStringLiteral("Colour")).toString();
            m_server.SetReply(QStringLiteral("[GetTarget3(%1)]").arg(name), fields.join(u'\t'));
            const QString members = targets.value(QStringLiteral("Members")).toStringList().join(u';');
            if (!members.isEmpty()) {
                m_server.SetReply(
                    QStringLiteral("[GetGroupMembers(%1)]").arg(name), QString(members).replace(u';', u'\t'));
            }
            // Every second receiver is on duty this morning and on Wednesday afternoon.
            if (m_plans++ % 2 == 0) {
                QFile file(m_dir.filePath(id + QStringLiteral(".tim")));
                if (file.open(QIODevice::WriteOnly)) {
                    file.write(QStringLiteral("[Settings]\r\nName=%1\r\n20261207=08:00-16:00\r\n"
                                              "20261209=12:00-20:00\r\n")
                                   .arg(name)
                                   .toUtf8());
                }
            }
            targets.endGroup();
        }
        m_server.SetReply(QStringLiteral("[GetValue(Setup.Targets)]"), names.join(QStringLiteral("\r\n")));

        CProfile profile(config);
        m_shifts.Load(profile);
        m_barriers.Load(profile);
        m_holidays.AddStatutoryHolidays(2026);
        m_holidays.AddStatutoryHolidays(2027);
        m_holidays.SortByDate();

        m_doc.emplace(m_server, m_rights);
        m_doc->Initialise();
    }
    ~CDemoWorld()
    {
        m_doc.reset();
        SetCurrentTimeSource(nullptr);
    }

    QTemporaryDir m_dir;
    std::optional<CConfigLocationScope> m_location;
    CFakeServerCommandFactory m_server;
    CRightsCheck m_rights;
    CShiftArray m_shifts;
    CBarrageArray m_barriers;
    CHolidaysArray m_holidays;
    std::optional<CKelvarisDoc> m_doc;
    int m_plans = 0;
};

QString Describe(const QWidget* widget)
{
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        text += QStringLiteral(" ") + widget->objectName();
    return text;
}

// Collects every text that does not fit its room in one window.
class CFitChecker
{
public:
    CFitChecker(QString window, QString language)
        : m_window(std::move(window))
        , m_language(std::move(language))
    { }

    void Check(QWidget* window)
    {
        if (!window->windowTitle().isEmpty())
            Expect(Describe(window) + QStringLiteral(" title"), window->windowTitle(), TitleWidth(window),
                window->width());
        QList<QWidget*> widgets = window->findChildren<QWidget*>();
        for (QWidget* widget : widgets) {
            if (!widget->isVisibleTo(window) || widget->window() != window)
                continue;
            if (auto* label = qobject_cast<QLabel*>(widget))
                CheckLabel(label);
            else if (auto* button = qobject_cast<QAbstractButton*>(widget))
                CheckButton(button);
            else if (auto* combo = qobject_cast<QComboBox*>(widget))
                CheckCombo(combo);
            else if (auto* edit = qobject_cast<QLineEdit*>(widget))
                CheckEdit(edit);
            else if (auto* header = qobject_cast<QHeaderView*>(widget))
                CheckHeader(header);
            else if (auto* view = qobject_cast<QAbstractItemView*>(widget))
                CheckView(view);
            else if (auto* tabs = qobject_cast<QTabBar*>(widget))
                CheckTabs(tabs);
            else if (auto* planner = qobject_cast<CPlannerWidget*>(widget))
                CheckPlanner(planner);
            if (auto* group = qobject_cast<QGroupBox*>(widget))
                CheckGroup(group);
        }
        CheckMnemonics(window, widgets);
        CheckAccessibleNames(window, widgets);
    }

    const QStringList& Cuts() const { return m_cuts; }
    int Checked() const { return m_checked; }

private:
    // A screen reader names every control a person can reach with the keyboard.
    void CheckAccessibleNames(QWidget* window, const QList<QWidget*>& widgets)
    {
        for (QWidget* widget : widgets) {
            if (!widget->isVisibleTo(window) || widget->window() != window
                || widget->focusPolicy() == Qt::NoFocus || !widget->isEnabled()
                || qobject_cast<QScrollBar*>(widget))
                continue;
            // The viewport and line edit inside a view or a combo box are reached through it.
            if (widget->parentWidget()
                && (qobject_cast<QAbstractScrollArea*>(widget->parentWidget())
                    || qobject_cast<QComboBox*>(widget->parentWidget())
                    || qobject_cast<QAbstractSpinBox*>(widget->parentWidget())))
                continue;
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(widget);
            ++m_checked;
            if (!face || face->text(QAccessible::Name).trimmed().isEmpty())
                m_cuts.append(QStringLiteral("%1 [%2]: %3 has no accessible name")
                                  .arg(m_window, m_language, Describe(widget)));
        }
    }

    // The letter after a single "&", lower case; none for a text without one.
    static QChar Mnemonic(const QString& text)
    {
        for (qsizetype i = 0; i + 1 < text.size(); ++i) {
            if (text[i] != u'&')
                continue;
            if (text[i + 1] == u'&') {
                ++i;
                continue;
            }
            return text[i + 1].toLower();
        }
        return QChar();
    }

    // Alt plus a letter must reach one control: within the window (buttons, labels with a buddy,
    // tabs, the menu bar) and within each menu.
    void CheckMnemonics(QWidget* window, const QList<QWidget*>& widgets)
    {
        QList<std::pair<QChar, QString>> keys;
        const auto add = [](QList<std::pair<QChar, QString>>& into, const QString& text) {
            if (const QChar key = Mnemonic(text); !key.isNull())
                into.append({ key, text });
        };
        for (QWidget* widget : widgets) {
            if (!widget->isVisibleTo(window) || widget->window() != window)
                continue;
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                add(keys, button->text());
            else if (auto* label = qobject_cast<QLabel*>(widget); label && label->buddy())
                add(keys, label->text());
            else if (auto* group = qobject_cast<QGroupBox*>(widget); group && group->isCheckable())
                add(keys, group->title());
            else if (auto* tabs = qobject_cast<QTabBar*>(widget)) {
                for (int i = 0; i < tabs->count(); ++i)
                    add(keys, tabs->tabText(i));
            }
        }
        QList<QList<std::pair<QChar, QString>>> menus;
        if (auto* main = qobject_cast<QMainWindow*>(window)) {
            for (QAction* action : main->menuBar()->actions()) {
                add(keys, action->text());
                if (!action->menu())
                    continue;
                QList<std::pair<QChar, QString>> items;
                for (QAction* item : action->menu()->actions()) {
                    if (item->isVisible() && !item->isSeparator())
                        add(items, item->text());
                }
                menus.append(items);
            }
        }
        menus.prepend(keys);
        for (const auto& scope : std::as_const(menus)) {
            for (qsizetype i = 0; i < scope.size(); ++i) {
                for (qsizetype j = i + 1; j < scope.size(); ++j) {
                    ++m_checked;
                    if (scope[i].first == scope[j].first)
                        m_cuts.append(
                            QStringLiteral("%1 [%2]: the mnemonic \"%3\" of \"%4\" and \"%5\"")
                                .arg(m_window, m_language, scope[i].first, scope[i].second, scope[j].second));
                }
            }
        }
    }

    void Expect(const QString& what, const QString& text, int need, int room)
    {
        ++m_checked;
        if (need > room) {
            m_cuts.append(QStringLiteral("%1 [%2]: %3 \"%4\" needs %5 px, has %6")
                              .arg(m_window, m_language, what, text)
                              .arg(need)
                              .arg(room));
        }
    }

    void CheckLabel(QLabel* label)
    {
        if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText
            || Qt::mightBeRichText(label->text()))
            return;
        const QString shown = label->buddy() ? ShownText(label->text()) : label->text();
        int room = label->contentsRect().width() - 2 * label->margin();
        if (label->indent() > 0)
            room -= label->indent();
        Expect(Describe(label), shown, TextWidth(label->fontMetrics(), shown), room);
    }

    void CheckButton(QAbstractButton* button)
    {
        if (button->text().isEmpty())
            return;
        if (auto* tool = qobject_cast<QToolButton*>(button);
            tool && tool->toolButtonStyle() == Qt::ToolButtonIconOnly)
            return;
        // A button's size hint is its text, icon, indicator and the style's margins.
        Expect(Describe(button), ShownText(button->text()), button->sizeHint().width(), button->width());
    }

    void CheckGroup(QGroupBox* group)
    {
        if (group->title().isEmpty())
            return;
        const QFontMetrics metrics = group->fontMetrics();
        const QString shown = ShownText(group->title());
        Expect(Describe(group) + QStringLiteral(" title"), shown,
            metrics.horizontalAdvance(shown) + 2 * metrics.averageCharWidth(), group->width());
    }

    void CheckCombo(QComboBox* combo)
    {
        QStyleOptionComboBox option;
        option.initFrom(combo);
        option.editable = combo->isEditable();
        option.frame = combo->hasFrame();
        const QRect field = combo->style()->subControlRect(
            QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, combo);
        const QFontMetrics metrics = combo->fontMetrics();
        for (int item = 0; item < combo->count(); ++item) {
            const QString text = combo->itemText(item);
            int need = metrics.horizontalAdvance(text);
            if (!combo->itemIcon(item).isNull())
                need += combo->iconSize().width() + 4;
            // The editable box's line edit keeps its own margins; the label is drawn 1 px in.
            need += combo->isEditable() ? 2 * 2 + 1 : 2;
            Expect(Describe(combo) + QStringLiteral(" item"), text, need, field.width());
        }
    }

    void CheckEdit(QLineEdit* edit)
    {
        const QString text = edit->displayText();
        if (text.isEmpty() || qobject_cast<QComboBox*>(edit->parentWidget()))
            return;
        Expect(Describe(edit), text, LineEditWidthFor(edit, text), edit->width());
    }

    static bool ScrollsSideways(const QAbstractScrollArea* view)
    {
        return view->horizontalScrollBarPolicy() != Qt::ScrollBarAlwaysOff
            && view->horizontalScrollBar()->maximum() > 0;
    }

    void CheckHeader(QHeaderView* header)
    {
        if (header->orientation() != Qt::Horizontal || !header->model())
            return;
        // A list that scrolls sideways shows every column whole when scrolled to it (on a small
        // screen); otherwise what lies past its right edge is cut.
        const auto* view = qobject_cast<const QAbstractScrollArea*>(header->parentWidget());
        const int visible = view && ScrollsSideways(view) ? INT_MAX : header->viewport()->width();
        for (int section = 0; section < header->count(); ++section) {
            if (header->isSectionHidden(section))
                continue;
            const QString title = header->model()->headerData(section, Qt::Horizontal).toString();
            if (title.isEmpty())
                continue;
            const int left = header->sectionViewportPosition(section);
            const int right = left + header->sectionSize(section);
            Expect(Describe(header) + QStringLiteral(" section"), title, SectionWidthFor(header, title),
                std::min(right, visible) - std::max(left, 0));
        }
    }

    void CheckView(QAbstractItemView* view)
    {
        const QAbstractItemModel* model = view->model();
        if (!model)
            return;
        const int visible = ScrollsSideways(view) ? INT_MAX : view->viewport()->width();
        const auto* tree = qobject_cast<const QTreeView*>(view);
        for (int row = 0; row < std::min(model->rowCount(), 200); ++row) {
            for (int column = 0; column < model->columnCount(); ++column) {
                if (tree && tree->isColumnHidden(column))
                    continue;
                const QModelIndex index = model->index(row, column);
                const QString text = index.data(Qt::DisplayRole).toString();
                if (text.isEmpty())
                    continue;
                const QRect rect = view->visualRect(index);
                // The delegate's size hint: text, icon, check box and the item margins.
                Expect(Describe(view) + QStringLiteral(" cell %1,%2").arg(row).arg(column), text,
                    view->sizeHintForIndex(index).width(),
                    std::min(rect.right() + 1, visible) - std::max(rect.left(), 0));
            }
        }
    }

    void CheckTabs(QTabBar* tabs)
    {
        const QFontMetrics metrics = tabs->fontMetrics();
        for (int tab = 0; tab < tabs->count(); ++tab) {
            const QString shown = ShownText(tabs->tabText(tab));
            Expect(Describe(tabs) + QStringLiteral(" tab"), shown, metrics.horizontalAdvance(shown) + 8,
                tabs->tabRect(tab).width());
        }
    }

    void CheckPlanner(CPlannerWidget* planner)
    {
        const CPlannerModel* model = planner->Model();
        QFont bold = planner->font();
        bold.setBold(true);
        for (int column = 0; column < model->ColumnCount(); ++column) {
            const QString heading = model->ColumnHeading(column);
            if (heading.isEmpty())
                continue;
            // The heading is drawn 2 px in from either edge; a highlighted day's heading is bold
            // where that fits, else in the regular weight.
            const int room = planner->CellRect(column, planner->FirstShownRow()).width();
            const int regular = planner->fontMetrics().horizontalAdvance(heading) + 4;
            const int need = model->ColumnHighlighted(column)
                    && QFontMetrics(bold).horizontalAdvance(heading) + 4 <= room
                ? QFontMetrics(bold).horizontalAdvance(heading) + 4
                : regular;
            Expect(Describe(planner) + QStringLiteral(" heading"), heading, need, room);
        }
    }

    QString m_window;
    QString m_language;
    QStringList m_cuts;
    int m_checked = 0;
};

// On an X display with a window manager, the window with its frame as the screen shows it, so that
// the title bar can be looked at (the offscreen platform draws no frames).
void SaveFramedScreenshot(QWidget& window, const QString& name)
{
    const QString folder = qEnvironmentVariable("KELVARIS_SCREENSHOT_DIR");
    if (folder.isEmpty() || QGuiApplication::platformName() != QLatin1String("xcb") || !QDir().mkpath(folder))
        return;
    // The window manager frames the window, then draws the frame.
    if (!QTest::qWaitFor([&window] { return window.frameGeometry() != window.geometry(); }, 2000))
        return;
    QTest::qWait(200);
    const QRect frame = window.frameGeometry();
    if (QScreen* screen = window.screen())
        screen->grabWindow(0, frame.x(), frame.y(), frame.width(), frame.height())
            .save(QDir(folder).filePath(name + QStringLiteral(".png")));
}

// Shows a window at the size it opens with, checks it and saves its picture as
// "<name>-<language>.png" when screenshots are asked for.
QStringList CheckWindow(QWidget& window, const QString& name, const char* code)
{
    window.show();
    if (!QTest::qWaitForWindowExposed(&window))
        return { name + QStringLiteral(" [%1]: not shown").arg(QLatin1String(code)) };
    QCoreApplication::processEvents();
    CFitChecker checker(name, QString::fromLatin1(code));
    checker.Check(&window);
    // Every window fits a 1024x768 screen at 96 dpi, with room for the window manager's frame.
    QStringList small;
    const QSize minimum = window.minimumSize().expandedTo(window.minimumSizeHint());
    if (minimum.width() > 1000 || minimum.height() > 700)
        small.append(QStringLiteral("%1 [%2]: needs at least %3x%4 px, more than a 1024x768 screen has")
                         .arg(name, QLatin1String(code))
                         .arg(minimum.width())
                         .arg(minimum.height()));
    SaveFramedScreenshot(window, name + u'-' + QString::fromLatin1(code) + QStringLiteral("-framed"));
    SaveScreenshot(window, name + u'-' + QString::fromLatin1(code));
    if (checker.Checked() == 0)
        return { name + QStringLiteral(" [%1]: no text found to check").arg(QLatin1String(code)) };
    return checker.Cuts() + small;
}

} // namespace

class LayoutFitTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        for (const CShippedLanguage& language : kLanguages) {
            QVERIFY2(QFile::exists(QStringLiteral(":/i18n/kelvaris_%1.qm").arg(QLatin1String(language.code))),
                language.code);
        }
    }
    void cleanupTestCase() { ApplyLanguage(1); }

    void everyWindowFits_data()
    {
        QTest::addColumn<int>("language");
        QTest::addColumn<QString>("code");
        for (const CShippedLanguage& language : kLanguages)
            QTest::newRow(language.code) << language.index << QString::fromLatin1(language.code);
    }

    void everyWindowFits()
    {
        QFETCH(int, language);
        QFETCH(QString, code);
        const QByteArray codeBytes = code.toLatin1();
        const char* lang = codeBytes.constData();
        QVERIFY(ApplyLanguage(language));
        CDemoWorld world;
        QVERIFY(world.m_shifts.size() >= 3);
        QVERIFY(world.m_barriers.size() >= 4);
        QStringList cuts;

        {
            CMainFrame frame(*world.m_doc, world.m_rights, nullptr);
            world.m_doc->SetObserver(&frame.View());
            frame.View().InitialUpdate();
            world.m_doc->Cycle();
            cuts += CheckWindow(frame, QStringLiteral("mainwindow"), lang);
            world.m_doc->SetObserver(nullptr);
        }
        {
            CShiftListDialog dialog(world.m_shifts);
            cuts += CheckWindow(dialog, QStringLiteral("shifts"), lang);
        }
        {
            CShiftEntry entry(world.m_shifts.at(world.m_shifts.size() - 1));
            cuts += CheckWindow(entry, QStringLiteral("shift"), lang);
        }
        {
            CBarrageListDialog dialog(world.m_barriers);
            cuts += CheckWindow(dialog, QStringLiteral("barriers"), lang);
        }
        {
            CBarrageEntry entry(world.m_barriers.at(0));
            cuts += CheckWindow(entry, QStringLiteral("barrier"), lang);
        }
        {
            CHolidayListDialog dialog(world.m_holidays);
            cuts += CheckWindow(dialog, QStringLiteral("holidays"), lang);
        }
        {
            CHolidayEntry entry(world.m_holidays.at(0));
            cuts += CheckWindow(entry, QStringLiteral("holiday"), lang);
        }
        {
            CHolidayAuto years;
            cuts += CheckWindow(years, QStringLiteral("holidayyears"), lang);
        }
        {
            CGeneralSettings settings;
            settings.m_workDays = 31;
            CGeneralSettingsDialog dialog(settings);
            cuts += CheckWindow(dialog, QStringLiteral("generalsettings"), lang);
        }
        {
            CTakeoverTextsDlg dialog(CTakeoverMode::DefaultRequestText(), CTakeoverMode::DefaultConfirmText(),
                CTakeoverMode::DefaultTimeoutText());
            cuts += CheckWindow(dialog, QStringLiteral("takeovertexts"), lang);
        }
        {
            CNoticeSettings settings;
            settings.summaryMinute = 7 * 60;
            settings.summaryTargets = QStringList { QStringLiteral("101"), QStringLiteral("205") };
            settings.leadText = CNoticeSettings::DefaultLeadText();
            settings.changeText = CNoticeSettings::DefaultChangeText();
            settings.holderText = CNoticeSettings::DefaultHolderText();
            settings.summaryText = CNoticeSettings::DefaultSummaryText();
            CNoticeSettingsDialog dialog(settings);
            cuts += CheckWindow(dialog, QStringLiteral("notices"), lang);
        }
        {
            CEnterPasswordDlg dialog;
            cuts += CheckWindow(dialog, QStringLiteral("password"), lang);
        }
        {
            CSetupPasswordDlg dialog(CPasswordSetupPreset {});
            cuts += CheckWindow(dialog, QStringLiteral("passwordsetup"), lang);
        }
        {
            CLanguageDialog dialog(language);
            cuts += CheckWindow(dialog, QStringLiteral("language"), lang);
        }
        {
            CAboutDialog dialog;
            cuts += CheckWindow(dialog, QStringLiteral("about"), lang);
        }
        {
            CSystemInfoDialog dialog(world.m_dir.filePath(QStringLiteral("kelvaris.cfg")));
            cuts += CheckWindow(dialog, QStringLiteral("systeminfo"), lang);
        }
        {
            CDispatchingDlg dialog(*world.m_doc, QStringLiteral("Anna Berger"));
            cuts += CheckWindow(dialog, QStringLiteral("planning"), lang);
            dialog.reject();
        }
        {
            // A group: the takeover switch, the members needed and the gap list.
            CDispatchingDlg dialog(*world.m_doc, QStringLiteral("Service Desk"));
            cuts += CheckWindow(dialog, QStringLiteral("planning-group"), lang);
            dialog.reject();
        }
        {
            CDispDuplicateDlg dialog(*world.m_doc);
            cuts += CheckWindow(dialog, QStringLiteral("duplicate"), lang);
        }
        {
            const CPageTarget* anna = world.m_doc->PageTargets().FindByName(QStringLiteral("Anna Berger"));
            QVERIFY(anna);
            CDispRemoveDlg dialog(*world.m_doc, anna->m_id);
            cuts += CheckWindow(dialog, QStringLiteral("remove"), lang);
        }
        {
            // A week of a site's journal: plans edited in the window and by hand, a takeover.
            const QString path = CJournal::PathIn(world.m_dir.path());
            QFile::remove(path);
            CJournal journal(path);
            QVERIFY(journal.Open(true));
            const qint64 now = QDateTime::currentMSecsSinceEpoch();
            const struct
            {
                int hoursAgo;
                const char* user;
                const char* via;
                const char* kind;
                const char* subject;
                const char* before;
                const char* after;
                const char* why;
            } changes[] = {
                { 150, "kelvaris", "windowless", "plan", "101", "", "Name=Anna Berger\n20261207=07:00-15:30",
                    "as found when the journal began" },
                { 120, "mweber", "window", "plan", "101", "", "20261208=22:00-24:00\n20261209=00:00-06:00",
                    "Plan of action" },
                { 90, "kelvaris", "takeover", "holder", "300", "101", "102", "takeover of duty" },
                { 60, "root", "outside", "shifts", "configuration", "[Shift1]\nShiftName=Early",
                    "[Shift1]\nShiftName=Early\nShiftEndTime=1899-12-30 14:00:00",
                    "changed outside Kelvaris (the file of root, modified 2026-12-08T07:12:00Z)" },
                { 30, "mweber", "window", "plan", "101", "20261208=22:00-24:00", "", "Plan of action" },
            };
            for (const auto& change : changes) {
                CJournalEntry entry;
                entry.atMs = now - change.hoursAgo * 3'600'000LL;
                entry.user = QString::fromLatin1(change.user);
                entry.uid = 1000;
                entry.via = QString::fromLatin1(change.via);
                entry.kind = QString::fromLatin1(change.kind);
                entry.subject = QString::fromLatin1(change.subject);
                entry.before = QString::fromLatin1(change.before);
                entry.after = QString::fromLatin1(change.after);
                entry.why = QString::fromLatin1(change.why);
                entry.form = entry.kind == QLatin1String("plan") && change.hoursAgo < 150
                    ? QStringLiteral("lines")
                    : QString();
                QVERIFY(journal.Append(entry));
            }
            CHistoryDialog dialog(path);
            QCOMPARE(dialog.VisibleRowCount(), 5);
            cuts += CheckWindow(dialog, QStringLiteral("history"), lang);
            CJournal::CFilter last;
            last.limit = 1;
            const QList<CJournalEntry> newest = journal.Entries(last).value_or(QList<CJournalEntry>());
            QCOMPARE(newest.size(), 1);
            CHistoryEntryDialog view(newest.first(), QStringLiteral("Anna Berger (101)"));
            cuts += CheckWindow(view, QStringLiteral("historyentry"), lang);
        }
        {
            CExportDlg dialog(QStringLiteral("Anna Berger"), QStringLiteral("07.12.2026    -    13.12.2026"),
                QStringLiteral("December 2026"), 1);
            cuts += CheckWindow(dialog, QStringLiteral("export"), lang);
        }
        // Every cut on a line of its own (a failure message alone would be shortened).
        for (const QString& cut : std::as_const(cuts))
            qInfo().noquote() << cut;
        QVERIFY2(cuts.isEmpty(),
            qPrintable(QStringLiteral("%1 texts cut in %2; the first: %3")
                           .arg(cuts.size())
                           .arg(code, cuts.value(0))));
    }

    // A language chosen while dialogs are open: they retranslate and still fit.
    void dialogsFitAfterALanguageChange()
    {
        QVERIFY(ApplyLanguage(1));
        CDemoWorld world;
        CBarrageListDialog barriers(world.m_barriers);
        CBarrageEntry barrier(world.m_barriers.at(1));
        CShiftEntry shift(world.m_shifts.at(0));
        CHolidayListDialog holidays(world.m_holidays);
        CHolidayAuto years;
        CGeneralSettingsDialog settings(CGeneralSettings {});
        QList<QWidget*> windows { &barriers, &barrier, &shift, &holidays, &years, &settings };
        for (QWidget* window : windows) {
            window->show();
            QVERIFY(QTest::qWaitForWindowExposed(window));
        }
        QVERIFY(ApplyLanguage(2));
        // The layouts follow the new texts once their posted requests are handled.
        const auto cutsNow = [&windows] {
            QStringList cuts;
            for (QWidget* window : windows) {
                CFitChecker checker(
                    QString::fromLatin1(window->metaObject()->className()), QStringLiteral("en->fr"));
                checker.Check(window);
                cuts += checker.Cuts();
            }
            return cuts;
        };
        QStringList cuts;
        QTRY_VERIFY2((cuts = cutsNow()).isEmpty(), qPrintable(cuts.join(u'\n')));
    }

    // The planning dialog restores the size the operator left it at; a stored size smaller than
    // its content needs is widened, so that nothing is cut, and a larger one is kept.
    void storedPlanningSizeNeverCutsTexts()
    {
        QVERIFY(ApplyLanguage(0));
        CDemoWorld world;
        const auto store = [&world](const QRect& rect) {
            CProfile profile(world.m_dir.filePath(QStringLiteral("kelvaris.cfg")));
            CSection section(profile, QStringLiteral("Window"));
            section.Write(QStringLiteral("WindowX"), rect.left());
            section.Write(QStringLiteral("WindowY"), rect.top());
            section.Write(QStringLiteral("WindowR"), rect.right() + 1);
            section.Write(QStringLiteral("WindowB"), rect.bottom() + 1);
        };
        store(QRect(10, 10, 300, 200));
        QStringList cuts;
        QSize least;
        {
            CDispatchingDlg dialog(*world.m_doc, QStringLiteral("Anna Berger"));
            cuts += CheckWindow(dialog, QStringLiteral("planning-stored"), "de");
            least = dialog.size();
            QVERIFY(least.width() > 300 && least.height() >= 200);
            dialog.reject();
        }
        QVERIFY2(cuts.isEmpty(), qPrintable(cuts.join(u'\n')));

        // Taller than the least size: the stored height is kept.
        store(QRect(QPoint(0, 0), QSize(least.width(), least.height() + 40)));
        CDispatchingDlg dialog(*world.m_doc, QStringLiteral("Anna Berger"));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QCOMPARE(dialog.height(), least.height() + 40);
        dialog.reject();
    }

    // The gallery's pictures of planning by keyboard and of a 1024x768 screen (the latter on an X
    // display of that size only: the offscreen platform has no screen to picture).
    void galleryPictures()
    {
        const QString folder = qEnvironmentVariable("KELVARIS_SCREENSHOT_DIR");
        if (folder.isEmpty())
            QSKIP("no KELVARIS_SCREENSHOT_DIR");
        QVERIFY(ApplyLanguage(1));
        CDemoWorld world;
        CMainFrame frame(*world.m_doc, world.m_rights, nullptr);
        world.m_doc->SetObserver(&frame.View());
        frame.View().InitialUpdate();
        world.m_doc->Cycle();
        frame.showMaximized();
        QVERIFY(QTest::qWaitForWindowExposed(&frame));
        CDispatchingDlg dialog(*world.m_doc, QStringLiteral("Anna Berger"), &frame);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QApplication::setActiveWindow(&dialog);
        CPlannerWidget* grid = dialog.PlannerWidget();
        grid->setFocus(Qt::TabFocusReason);
        QTRY_VERIFY(grid->hasFocus());
        // A morning being marked: the selection over three days and two hours, the focus frame on
        // the current cell.
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(grid, Qt::Key_Right, Qt::ShiftModifier);
        for (int i = 0; i < 2; ++i)
            QTest::keyClick(grid, Qt::Key_Down, Qt::ShiftModifier | Qt::ControlModifier);
        QTest::qWait(300);
        dialog.grab().save(QDir(folder).filePath(QStringLiteral("planning-keyboard-en.png")));
        QScreen* screen = dialog.screen();
        if (QGuiApplication::platformName() == QLatin1String("xcb") && screen
            && screen->geometry().size() == QSize(1024, 768))
            screen->grabWindow(0).save(QDir(folder).filePath(QStringLiteral("screen-1024x768-en.png")));
        dialog.reject();
        world.m_doc->SetObserver(nullptr);
    }
};

QTEST_MAIN(LayoutFitTest)
#include "LayoutFitTest.moc"
