#include "app/KelvarisView.h"

#include <functional>
#include <optional>

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "engine/Password.h"
#include "schedule/DateType.h"
#include "schedule/Profile.h"

#include "ConfigLocationScope.h"
#include "DialogTesting.h"
#include "fakes/FakeServerCommand.h"

namespace {

CDateTime g_now;
CDateTime Now()
{
    return g_now;
}

CDateTime T(int hour, int minute = 0, int second = 0)
{
    return CDateTime::TimeOfDay(hour, minute, second);
}

CShift Shift(const char* name, CDateTime start, CDateTime end, int number)
{
    CShift shift(CDateTime(2024, 3, 4, 0, 0, 0));
    shift.m_name = QString::fromLatin1(name);
    shift.m_dateType = DATETYPE_MONDAY;
    shift.m_startTime = start;
    shift.m_endTime = end;
    shift.m_shiftNumber = number;
    return shift;
}

CBarrage Barrier(const char* name, CDateTime start, CDateTime end, int type, int priority)
{
    CBarrage barrier;
    barrier.m_name = QString::fromLatin1(name);
    barrier.m_dateType = DATETYPE_MONDAY;
    barrier.m_date = CDateTime(2024, 3, 4, 0, 0, 0);
    barrier.m_startTime = start;
    barrier.m_endTime = end;
    barrier.m_barrierType = type;
    barrier.m_priority = priority;
    return barrier;
}

class CRecordingPublisher : public CValuePublisher
{
public:
    void PublishText(const QString& topic, const QString& item, const QString& value) override
    {
        texts.insert(topic + u'/' + item, value);
    }
    void PublishNumber(const QString&, const QString&, qint64) override { }
    QHash<QString, QString> texts;
};

class CRefusingPrompt : public CPasswordPrompt
{
public:
    std::optional<QString> AskPassword() override
    {
        ++asked;
        return std::nullopt;
    }
    void ShowWrongPassword() override { }
    int asked = 0;
};

CPageTarget Target(const char* name, const char* id, int number, quint32 colour, const char* ranges = nullptr)
{
    CPageTarget target;
    target.m_name = QString::fromUtf8(name);
    target.m_id = QString::fromLatin1(id);
    target.m_number = number;
    target.m_colour = colour;
    if (ranges)
        target.m_ranges.AddFromText(QString::fromLatin1(ranges));
    return target;
}

QStringList Names(const QList<CLogbookLine>& lines)
{
    QStringList names;
    for (const CLogbookLine& line : lines)
        names.append(line.m_name);
    return names;
}

} // namespace

// Monday 4 March 2024, 11:00:05, in a temporary data folder: the shifts Early (08:00 to 11:59:59,
// number 1) and Late (12:00 to 16:00, number 2), the barrier Lock (10:00 to 14:00, priority 4).
class KelvarisViewTest : public QObject
{
    Q_OBJECT

private:
    std::optional<QTemporaryDir> m_dir;
    std::optional<CConfigLocationScope> m_location;
    std::optional<CFakeServerCommandFactory> m_server;
    CRightsCheck m_rights;
    CRecordingPublisher m_publisher;

    QString DataFile(const char* name) const { return m_dir->filePath(QString::fromLatin1(name)); }
    void WriteFile(const char* name, const QByteArray& content)
    {
        QFile file(DataFile(name));
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    void SaveSchedule()
    {
        CProfile profile(DataFile("kelvaris.cfg"));
        CShiftArray shifts;
        shifts.append(Shift("Early", T(8), T(11, 59, 59), 1));
        shifts.append(Shift("Late", T(12), T(16), 2));
        shifts.SetModified();
        QVERIFY(shifts.Save(profile));
        CBarrageArray barriers;
        barriers.append(Barrier("Lock", T(10), T(14), BARRIER_DELETE, 4));
        barriers.SetModified();
        QVERIFY(barriers.Save(profile));
    }

private Q_SLOTS:
    void init()
    {
        m_dir.emplace();
        QVERIFY(m_dir->isValid());
        m_location.emplace(DataFile("kelvaris.cfg"));
        m_server.emplace();
        m_rights.ClearRights();
        m_rights.SetPrompt(nullptr);
        m_publisher.texts.clear();
        g_now = CDateTime(2024, 3, 4, 11, 0, 5);
        SetCurrentTimeSource(&Now);
        SaveSchedule();
    }
    void cleanup()
    {
        SetCurrentTimeSource(nullptr);
        m_location.reset();
        m_server.reset();
        m_dir.reset();
    }

    void autoActivationLogsActivatedAboveStarted()
    {
        CKelvarisDoc doc(*m_server, m_rights);
        QVERIFY(doc.Initialise());
        doc.m_autoActivate = true;
        CKelvarisView view(doc, m_rights, &m_publisher);
        doc.SetObserver(&view);
        QSignalSpy updated(&view, &CKelvarisView::Updated);
        view.InitialUpdate();

        QVERIFY(doc.IsActive());
        QCOMPARE(
            Names(view.Logbook()), QStringList({ ActivatedLine(g_now).m_name, StartedLine(g_now).m_name }));
        QCOMPARE(view.LogbookList()->topLevelItemCount(), 2);
        QCOMPARE(view.LogbookList()->topLevelItem(0)->text(0), ActivatedLine(g_now).m_name);
        QCOMPARE(view.LogbookList()->topLevelItem(1)->text(3), StartedLine(g_now).m_event);
        QVERIFY(view.CycleTimer().isActive());
        QVERIFY(view.CycleTimer().isSingleShot());
        QVERIFY(view.PlanList()->isEnabled());
        // Before the first cycle the state is not evaluated.
        QCOMPARE(view.Texts().m_shiftName, QStringLiteral(" Deactivated"));
        QCOMPARE(view.Texts().m_barrierTo, QStringLiteral(" "));
        QVERIFY(updated.count() >= 1);
        doc.SetObserver(nullptr);
    }

    void withoutAutoActivationTheEngineWaits()
    {
        CKelvarisDoc doc(*m_server, m_rights);
        QVERIFY(doc.Initialise());
        CKelvarisView view(doc, m_rights, &m_publisher);
        doc.SetObserver(&view);
        view.InitialUpdate();
        QVERIFY(!doc.IsActive());
        QCOMPARE(Names(view.Logbook()), QStringList({ StartedLine(g_now).m_name }));
        QVERIFY(!view.PlanList()->isEnabled());
        // The timer runs all the same; a tick of an inactive engine cycles nothing, and the timer
        // starts again after each tick.
        m_server->ClearCommands();
        QTest::qWait(1200);
        QVERIFY(m_server->Commands().isEmpty());
        QVERIFY(view.CycleTimer().isActive());
        QVERIFY(doc.Activate());
        QTRY_VERIFY_WITH_TIMEOUT(m_server->Commands().contains(QStringLiteral("[setshift(1)]")), 5000);
        QCOMPARE(Names(view.Logbook()).first(), QStringLiteral("Early"));
        doc.SetObserver(nullptr);
    }

    // A change adds the barrier's line and then the shift's, so the shift's is on top; a
    // deactivation empties the state texts and the plan.
    void stateChangesAndDeactivation()
    {
        CKelvarisDoc doc(*m_server, m_rights);
        QVERIFY(doc.Initialise());
        CKelvarisView view(doc, m_rights, &m_publisher);
        doc.SetObserver(&view);
        view.InitialUpdate();
        QVERIFY(doc.Activate());
        doc.Cycle();
        QCOMPARE(Names(view.Logbook()).mid(0, 3),
            QStringList({ QStringLiteral("Early"), QStringLiteral("Lock"), ActivatedLine(g_now).m_name }));
        QCOMPARE(view.Texts().m_shiftName, QStringLiteral(" Early (1)"));
        QCOMPARE(view.Texts().m_shiftFrom, u' ' + FormatDateTime(T(8), DTF_TIME));
        QCOMPARE(view.Texts().m_barrierName, QStringLiteral(" Lock (4)"));
        QCOMPARE(view.Texts().m_barrierTo, u' ' + FormatDateTime(T(14), DTF_TIME));

        // The shift changes while the barrier stays: two more lines, the new shift on top.
        g_now = CDateTime(2024, 3, 4, 12, 0, 30);
        doc.Cycle();
        QCOMPARE(view.Logbook().size(), 6);
        QCOMPARE(Names(view.Logbook()).mid(0, 3),
            QStringList({ QStringLiteral("Late"), QStringLiteral("Lock"), QStringLiteral("Early") }));
        QCOMPARE(view.LogbookList()->topLevelItem(0)->text(0), QStringLiteral("Late"));
        QCOMPARE(view.LogbookList()->topLevelItem(0)->toolTip(3), view.Logbook().first().m_event);
        QCOMPARE(view.Texts().m_shiftName, QStringLiteral(" Late (2)"));
        // A screen reader reads each time with what it is: labelled by "from:"/"to:", described
        // by its group.
        for (const QString& value : { view.Texts().m_shiftFrom, view.Texts().m_barrierTo }) {
            QLabel* label = nullptr;
            for (QLabel* candidate : view.findChildren<QLabel*>())
                label = candidate->text() == value ? candidate : label;
            QVERIFY(label);
            QAccessibleInterface* face = QAccessible::queryAccessibleInterface(label);
            QStringList labels; // the buddy label and the group
            for (const auto& [other, relation] : face->relations(QAccessible::Label))
                labels << other->text(QAccessible::Name);
            const QString what
                = value == view.Texts().m_shiftFrom ? QStringLiteral("from:") : QStringLiteral("to:");
            QVERIFY2(labels.contains(what), qPrintable(labels.join(u'|')));
            QVERIFY(face->text(QAccessible::Description).endsWith(what));
        }

        QVERIFY(doc.Deactivate());
        QCOMPARE(Names(view.Logbook()).first(), DeactivatedLine(g_now).m_name);
        const CStateTexts& texts = view.Texts();
        QCOMPARE(texts.m_shiftName, QStringLiteral(" Deactivated"));
        QCOMPARE(texts.m_barrierName, QStringLiteral(" Deactivated"));
        QCOMPARE(texts.m_shiftFrom + texts.m_shiftTo + texts.m_barrierFrom + texts.m_barrierTo,
            QStringLiteral("    "));
        QVERIFY(!view.PlanList()->isEnabled());
        QCOMPARE(view.PlanList()->count(), 0);
        QCOMPARE(m_publisher.texts.value(QStringLiteral("Dispatching/Current"), QStringLiteral("<unset>")),
            QString());
        doc.SetObserver(nullptr);
    }

    void stateTexts()
    {
        CShift shift = Shift("Early", T(8), T(16), 3);
        CBarrage barrier = Barrier("Night", T(22), T(23, 59, 59), BARRIER_SEND_AFTER, 2);
        CStateTexts texts = StateTexts(shift, barrier);
        QCOMPARE(texts.m_shiftName, QStringLiteral(" Early (3)"));
        QCOMPARE(texts.m_shiftFrom, u' ' + FormatDateTime(T(8), DTF_TIME));
        QCOMPARE(texts.m_shiftTo, u' ' + FormatDateTime(T(16), DTF_TIME));
        QCOMPARE(texts.m_barrierName, QStringLiteral(" Night (2)"));
        QCOMPARE(texts.m_barrierFrom, u' ' + FormatDateTime(T(22), DTF_TIME));
        QCOMPARE(texts.m_barrierTo, u' ' + FormatDateTime(T(23, 59, 59), DTF_TIME));
        // A barrier holding messages shows when they go out.
        const CDateTime until(2024, 3, 5, 6, 0, 0);
        barrier.m_delayUntil = until;
        QCOMPARE(StateTexts(shift, barrier).m_barrierTo,
            u' ' + FormatDateTime(until, DTF_DATE | DTF_FULLYEAR) + u' ' + FormatDateTime(until, DTF_TIME));

        texts = StateTexts(CShift(), CBarrage());
        QCOMPARE(texts.m_shiftName, QStringLiteral(" No shift"));
        QCOMPARE(texts.m_barrierName, QStringLiteral(" No barrier/pause"));
        QCOMPARE(texts.m_shiftFrom + texts.m_shiftTo + texts.m_barrierFrom + texts.m_barrierTo,
            QStringLiteral("    "));

        shift.m_name = barrier.m_name = QStringLiteral("first");
        texts = StateTexts(shift, barrier);
        QCOMPARE(texts.m_shiftName, QStringLiteral(" Deactivated"));
        QCOMPARE(texts.m_barrierName, QStringLiteral(" Deactivated"));
        QCOMPARE(texts.m_shiftTo + texts.m_barrierFrom, QStringLiteral("  "));
    }

    void planOfActionRules()
    {
        WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=A1\r\n");
        WriteFile("G41.tim", "[Settings]\r\nName=Service South\r\nTakeover=1\r\n");
        WriteFile("G42.tim", "[Settings]\r\nName=Service East\r\nTakeover=1\r\nCurrentTargetID=Z9\r\n");
        CPageTargetArray targets;
        targets.append(Target("Zoe", "Z1", 4, 0x0000FF, "20240304=10:00-12:00"));
        targets.append(Target("Anna", "A1", 1, 0x00FF00, "20240304=08:00-16:00"));
        targets.append(Target("Bert", "B2", 2, 0xFF0000, "20240304=16:00-24:00"));
        targets.append(Target("Carl", "C3", 3, 0)); // no ranges: on duty, but not planned
        CPageTarget north = Target("Service North", "G40", -1, 0x808080);
        north.m_takeover = true;
        targets.append(north);
        CPageTarget south = Target("Service South", "G41", -2, 0x808080);
        south.m_takeover = true;
        targets.append(south);
        CPageTarget east = Target("Service East", "G42", -3, 0x808080);
        east.m_takeover = true;
        targets.append(east);
        targets.append(Target("Plain group", "G43", -4, 0x808080)); // no takeover, no ranges

        const QList<CPlanEntry> entries = PlanOfActionEntries(targets, g_now);
        QStringList texts;
        QList<qsizetype> indexes;
        for (const CPlanEntry& entry : entries) {
            texts.append(entry.m_text);
            indexes.append(entry.m_index);
        }
        // List order; the holder's name follows a takeover group; an unknown holder adds nothing.
        QCOMPARE(texts,
            QStringList({ QStringLiteral("Zoe"), QStringLiteral("Anna"), QStringLiteral("Service North/Anna"),
                QStringLiteral("Service East") }));
        QCOMPARE(indexes, QList<qsizetype>({ 0, 1, 4, 6 }));
        QVERIFY(entries.at(2).m_group);
        QVERIFY(!entries.at(0).m_group);
        QCOMPARE(entries.at(0).m_colour, quint32(0x0000FF));
        QCOMPARE(PlanOfActionValue(entries), QStringLiteral("Zoe;Anna;Service North/Anna;Service East"));
        QCOMPARE(PlanOfActionValue({}), QString());

        // At 17:00 only Bert has a covering range.
        const QList<CPlanEntry> evening = PlanOfActionEntries(targets, CDateTime(2024, 3, 4, 17, 0, 0));
        QCOMPARE(PlanOfActionValue(evening), QStringLiteral("Bert;Service North/Anna;Service East"));
    }

    // The view shows the entries sorted with their icons, publishes them in list order, and a
    // double click names the target.
    void planListInTheView()
    {
        m_server->SetReply(QStringLiteral("[GetValue(Setup.Targets)]"),
            QStringLiteral("Zoe\tx\tx\tx\tx\r\nAnna\tx\tx\tx\tx\r\nService North\tx\tx\tx\tx\r\n"));
        auto addTarget = [this](const char* name, const char* number, const char* id) {
            QStringList fields;
            for (int i = 1; i <= 17; ++i)
                fields.append(QStringLiteral("f%1").arg(i));
            fields[1] = QString::fromLatin1(number);
            fields[14] = QString::fromLatin1(id);
            fields[16] = QStringLiteral("255");
            m_server->SetReply(
                QStringLiteral("[GetTarget3(%1)]").arg(QString::fromLatin1(name)), fields.join(u'\t'));
        };
        addTarget("Zoe", "4", "Z1");
        addTarget("Anna", "1", "A1");
        addTarget("Service North", "-3", "G40");
        WriteFile("Z1.tim", "[Settings]\r\nName=Zoe\r\n20240304=10:00-12:00\r\n");
        WriteFile("A1.tim", "[Settings]\r\nName=Anna\r\n20240304=08:00-16:00\r\n");
        WriteFile("G40.tim", "[Settings]\r\nName=Service North\r\nTakeover=1\r\nCurrentTargetID=A1\r\n");

        CKelvarisDoc doc(*m_server, m_rights);
        QVERIFY(doc.Initialise());
        QCOMPARE(doc.PageTargets().size(), 3);
        CKelvarisView view(doc, m_rights, &m_publisher);
        doc.SetObserver(&view);
        view.InitialUpdate();
        QCOMPARE(view.PlanList()->count(), 0);
        QVERIFY(doc.Activate());

        QListWidget* list = view.PlanList();
        QCOMPARE(list->count(), 3);
        QCOMPARE(list->item(0)->text(), QStringLiteral("Anna"));
        QCOMPARE(list->item(1)->text(), QStringLiteral("Service North/Anna"));
        QCOMPARE(list->item(2)->text(), QStringLiteral("Zoe"));
        QCOMPARE(list->item(2)->data(Qt::UserRole).toInt(), 0);
        QVERIFY(!list->item(0)->icon().isNull());
        QCOMPARE(m_publisher.texts.value(QStringLiteral("Dispatching/Current")),
            QStringLiteral("Zoe;Anna;Service North/Anna"));

        QSignalSpy activated(&view, &CKelvarisView::PlanEntryActivated);
        Q_EMIT list->itemDoubleClicked(list->item(1));
        QCOMPARE(activated.count(), 1);
        QCOMPARE(activated.at(0).at(0).toString(), QStringLiteral("Service North"));

        // The current entry survives the refresh.
        list->setCurrentRow(2);
        view.OnUpdate(CDocObserver::HINT_PLAN);
        QCOMPARE(list->currentItem()->text(), QStringLiteral("Zoe"));
        doc.SetObserver(nullptr);
    }

    // The nearest gap in a group's cover is shown below the plan of action, all of them in its tip.
    void nearestGapInTheView()
    {
        m_server->SetReply(QStringLiteral("[GetValue(Setup.Targets)]"),
            QStringLiteral("Zoe\tx\tx\tx\tx\r\nDesk\tx\tx\tx\tx\r\n"));
        m_server->SetReply(QStringLiteral("[GetGroupMembers(Desk)]"), QStringLiteral("Zoe"));
        for (const auto& [name, number, id] :
            { std::tuple { "Zoe", "4", "Z1" }, std::tuple { "Desk", "-3", "G41" } }) {
            QStringList fields;
            for (int i = 1; i <= 17; ++i)
                fields.append(QStringLiteral("f%1").arg(i));
            fields[1] = QString::fromLatin1(number);
            fields[14] = QString::fromLatin1(id);
            m_server->SetReply(
                QStringLiteral("[GetTarget3(%1)]").arg(QString::fromLatin1(name)), fields.join(u'\t'));
        }
        WriteFile("Z1.tim",
            "[Settings]\r\nName=Zoe\r\n20240304=00:00-24:00\r\n20240305=00:00-02:00;04:00-24:00\r\n");

        CKelvarisDoc doc(*m_server, m_rights);
        QVERIFY(doc.Initialise());
        CKelvarisView view(doc, m_rights, &m_publisher);
        doc.SetObserver(&view);
        view.InitialUpdate();
        QCOMPARE(view.GapText()->text(), QStringLiteral("None within 24 hours"));
        doc.IdleCheck(false);
        QVERIFY2(view.GapText()->text().startsWith(QStringLiteral("Desk: nobody on duty ")),
            qPrintable(view.GapText()->text()));
        QVERIFY(view.GapText()->text().endsWith(QStringLiteral(" 02:00-04:00")));
        QVERIFY(view.GapText()->toolTip().contains(view.GapText()->text()));
        doc.SetObserver(nullptr);
    }

    void logbookFile()
    {
        const auto text = [](const char* name, const char* date, const char* time, const char* event) {
            CLogbookLine line;
            line.m_name = QString::fromUtf8(name);
            line.m_date = QString::fromUtf8(date);
            line.m_startTime = QString::fromUtf8(time);
            line.m_event = QString::fromUtf8(event);
            return line;
        };
        const QList<CLogbookLine> lines = {
            text("Früh", "04.03.2024", "08:00:00", "Shift 1"),
            text("Lock", "04.03.2024", "10:00:00", "Barrier (4)"),
            ActivatedLine(g_now),
            StartedLine(g_now),
        };
        const QStringList titles = { QStringLiteral("Name"), QStringLiteral("Date"),
            QStringLiteral("Start time"), QStringLiteral("Event") };
        const QString path = DataFile("out.log");
        QVERIFY(WriteLogbookFile(path, titles, lines));
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray content = file.readAll();
        QVERIFY(content.endsWith("\r\n"));
        QList<QByteArray> written = content.split('\n');
        QCOMPARE(written.takeLast(), QByteArray());
        QCOMPARE(written.size(), 5);
        for (const QByteArray& line : written) {
            QVERIFY(line.endsWith('\r'));
            QCOMPARE(line.count('\t'), 3);
        }
        QCOMPARE(written.at(0), QByteArray("Name\tDate\tStart time\tEvent\r"));
        QCOMPARE(QString::fromUtf8(written.at(1).chopped(1)), lines.at(0).Joined());

        // A folder that does not exist: false, nothing written.
        QVERIFY(!WriteLogbookFile(DataFile("missing/out.log"), titles, lines));
    }

    // The save command asks for the right first, proposes <configuration file>.log and writes there.
    void saveLogfileCommand()
    {
        CKelvarisDoc doc(*m_server, m_rights);
        QVERIFY(doc.Initialise());
        CKelvarisView view(doc, m_rights, &m_publisher);
        doc.SetObserver(&view);
        view.InitialUpdate();

        QString proposed;
        const QString target = DataFile("saved.txt");
        QString filter;
        WhenModal<QFileDialog>([&proposed, &target, &filter](QFileDialog* dialog) {
            proposed = dialog->selectedFiles().value(0);
            filter = dialog->selectedNameFilter();
            dialog->selectFile(target);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        view.SaveLogfile();
        QCOMPARE(QFileInfo(proposed).fileName(), QStringLiteral("kelvaris.log"));
        QVERIFY2(filter.contains(QStringLiteral("*.log")), qPrintable(filter));
        QFile file(target);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QCOMPARE(file.readAll().count("\r\n"), 2);

        // A file that cannot be written is a message naming it.
        const QString unwritable = DataFile("missing/out.log");
        QString message;
        WhenModal<QFileDialog>([&unwritable](QFileDialog* dialog) {
            dialog->selectFile(unwritable);
            QMetaObject::invokeMethod(dialog, "accept");
        });
        WhenModal<QMessageBox>([&message](QMessageBox* box) {
            message = box->text();
            box->accept();
        });
        view.SaveLogfile();
        QVERIFY2(message.contains(unwritable), qPrintable(message));

        // With the right refused no dialog opens and nothing is written.
        QFile::remove(target);
        CRefusingPrompt prompt;
        m_rights.SetPrompt(&prompt);
        auto password = std::make_unique<CKelvarisRights>();
        password->SetPassword(QStringLiteral("secret"));
        m_rights.SetRights(std::move(password));
        view.SaveLogfile();
        QCOMPARE(prompt.asked, 1);
        QVERIFY(!QFile::exists(target));
        m_rights.ClearRights();
        doc.SetObserver(nullptr);
    }
};

QTEST_MAIN(KelvarisViewTest)
#include "KelvarisViewTest.moc"
