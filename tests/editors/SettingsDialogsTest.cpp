#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

#include "editors/GeneralSettingsDialog.h"
#include "editors/NoticeSettingsDialog.h"
#include "editors/TakeoverTextsDlg.h"
#include "schedule/Profile.h"

#include "DialogTesting.h"

namespace {
// Monday is 0.
QCheckBox* DayBox(const QDialog& dialog, int day)
{
    static const char* const kNames[]
        = { "monday", "tuesday", "wednesday", "thursday", "friday", "saturday", "sunday" };
    return Named<QCheckBox>(&dialog, kNames[day]);
}

void ClickOk(QDialog& dialog)
{
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    QVERIFY(buttons);
    QTest::mouseClick(buttons->button(QDialogButtonBox::Ok), Qt::LeftButton);
}
} // namespace

class SettingsDialogsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void generalSettingsArePresetFromTheDocument()
    {
        // Monday, Wednesday, Friday, Sunday.
        CGeneralSettingsDialog dialog({ 0x55, 8 * 60 + 5, 17 * 60 + 59, 2 });
        SaveScreenshot(dialog, QStringLiteral("general-settings"));
        const QStringList days = { "Mo", "Tu", "We", "Th", "Fr", "Sa", "Su" };
        for (int day = 0; day < 7; ++day) {
            QCOMPARE(DayBox(dialog, day)->text(), days[day]);
            QCOMPARE(DayBox(dialog, day)->isChecked(), day % 2 == 0);
        }
        QCOMPARE(Named<QTimeEdit>(&dialog, "from")->time(), QTime(8, 5, 0));
        QCOMPARE(Named<QTimeEdit>(&dialog, "to")->time(), QTime(17, 59, 0));
        QCOMPARE(Named<QComboBox>(&dialog, "onClose")->count(), 3);
        QCOMPARE(Named<QComboBox>(&dialog, "onClose")->itemText(0), QStringLiteral("Quit Kelvaris"));
        QCOMPARE(Named<QComboBox>(&dialog, "onClose")->itemText(1), QStringLiteral("Hide window"));
        QCOMPARE(Named<QComboBox>(&dialog, "onClose")->itemText(2), QStringLiteral("Minimize window"));
        QCOMPARE(Named<QComboBox>(&dialog, "onClose")->currentIndex(), 2);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("General Setup"));

        // Unchanged, the settings come back as they went in.
        const CGeneralSettings same = dialog.Settings();
        QCOMPARE(same.m_workDays, 0x55);
        QCOMPARE(same.m_workTimeFrom, 485);
        QCOMPARE(same.m_workTimeTo, 1079);
        QCOMPARE(same.m_onClose, 2);
    }

    void generalSettingsOutOfRangeArePresetSafely()
    {
        // A hand-edited file: times outside the day, bits above Sunday, an unknown close behaviour.
        CGeneralSettingsDialog dialog({ 0x180 | 0x01, -30, 5000, 7 });
        QCOMPARE(Named<QTimeEdit>(&dialog, "from")->time(), QTime(0, 0));
        QCOMPARE(Named<QTimeEdit>(&dialog, "to")->time(), QTime(23, 59));
        QCOMPARE(Named<QComboBox>(&dialog, "onClose")->currentIndex(), 0);
        const CGeneralSettings settings = dialog.Settings();
        QCOMPARE(settings.m_workDays, 0x01);
        QCOMPARE(settings.m_workTimeFrom, 0);
        QCOMPARE(settings.m_workTimeTo, 1439);
        QCOMPARE(settings.m_onClose, 0);
    }

    void generalSettingsStoreTheEditedValues()
    {
        CGeneralSettingsDialog dialog({ 0x1F, 480, 1020, 0 });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::mouseClick(DayBox(dialog, 0), Qt::LeftButton); // Monday off
        QTest::mouseClick(DayBox(dialog, 5), Qt::LeftButton); // Saturday on
        DayBox(dialog, 6)->setChecked(true);
        // Seconds are dropped.
        Named<QTimeEdit>(&dialog, "from")->setTime(QTime(7, 30, 45));
        Named<QTimeEdit>(&dialog, "to")->setTime(QTime(23, 59, 59));
        Named<QComboBox>(&dialog, "onClose")
            ->setCurrentIndex(Named<QComboBox>(&dialog, "onClose")->findText(QStringLiteral("Hide window")));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        const CGeneralSettings settings = dialog.Settings();
        QCOMPARE(settings.m_workDays, 0x7E);
        QCOMPARE(settings.m_workTimeFrom, 450);
        QCOMPARE(settings.m_workTimeTo, 1439);
        QCOMPARE(settings.m_onClose, 1);
        QCOMPARE(WorkMinutesFromTime(QTime(7, 30, 45)), 450);
    }

    void timeFormatLosesItsSeconds()
    {
        QCOMPARE(TimeFormatWithoutSeconds(QStringLiteral("HH:mm:ss")), QStringLiteral("HH:mm"));
        QCOMPARE(TimeFormatWithoutSeconds(QStringLiteral("h:mm:ss AP")), QStringLiteral("h:mm AP"));
        QCOMPARE(TimeFormatWithoutSeconds(QStringLiteral("HH.mm.ss.zzz")), QStringLiteral("HH.mm"));
        QCOMPARE(TimeFormatWithoutSeconds(QStringLiteral("h:mm AP")), QStringLiteral("h:mm AP"));
        QCOMPARE(TimeFormatWithoutSeconds(QStringLiteral("ss")), QStringLiteral("HH:mm"));
        QCOMPARE(TimeFormatWithoutSeconds(QString()), QStringLiteral("HH:mm"));
    }

    void takeoverTextsAreEditedWithPlaceholderHints()
    {
        CTakeoverTextsDlg dialog(QStringLiteral("Please take over {{GROUP}}"), QStringLiteral("Taken over"),
            QStringLiteral("{{NEXT}} did not answer"));
        SaveScreenshot(dialog, QStringLiteral("takeover-texts"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Messages used for takeover mode"));
        QCOMPARE(Named<QLineEdit>(&dialog, "request")->text(), QStringLiteral("Please take over {{GROUP}}"));
        QCOMPARE(Named<QLineEdit>(&dialog, "confirm")->text(), QStringLiteral("Taken over"));
        QCOMPARE(Named<QLineEdit>(&dialog, "timeout")->text(), QStringLiteral("{{NEXT}} did not answer"));

        const QStringList placeholders = { "{{GROUP}}", "{{CURRENT}}", "{{NEXT}}" };
        const QStringList meanings
            = { "Name of the alarm group", "Name of the previous user", "User name for takeover" };
        for (int i = 0; i < 3; ++i) {
            QCOMPARE(Named<QLabel>(&dialog, "placeholder" + QByteArray::number(i))->text(), placeholders[i]);
            QCOMPARE(Named<QLabel>(&dialog, "meaning" + QByteArray::number(i))->text(), meanings[i]);
        }

        Named<QLineEdit>(&dialog, "confirm")->clear();
        QTest::keyClicks(Named<QLineEdit>(&dialog, "confirm"), QStringLiteral("{{NEXT}} has {{GROUP}} now"));
        ClickOk(dialog);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QCOMPARE(dialog.RequestText(), QStringLiteral("Please take over {{GROUP}}"));
        QCOMPARE(dialog.ConfirmText(), QStringLiteral("{{NEXT}} has {{GROUP}} now"));
        QCOMPARE(dialog.TimeoutText(), QStringLiteral("{{NEXT}} did not answer"));

        const CPlaceholderHint plain = SplitPlaceholderHint(QStringLiteral("{{X}}"));
        QCOMPARE(plain.placeholder, QStringLiteral("{{X}}"));
        QVERIFY(plain.meaning.isEmpty());
    }

    // The duty notices' settings come back from the dialog as they went in, and are stored and read
    // again alike; a text equal to the language's default is not stored.
    void noticeSettingsRoundTrip()
    {
        CNoticeSettings settings;
        settings.leadMinutes = 45;
        settings.changeHours = 0;
        settings.summaryMinute = 6 * 60 + 30;
        settings.summaryTargets = QStringList { QStringLiteral("101"), QStringLiteral("205") };
        settings.leadText = QStringLiteral("Duty {{DATE}} {{START}}");
        settings.changeText = CNoticeSettings::DefaultChangeText();
        CNoticeSettingsDialog dialog(settings);
        QCOMPARE(Named<QSpinBox>(&dialog, "change")->text(), QStringLiteral("no change notices"));
        Named<QLineEdit>(&dialog, "summaryTargets")->setText(QStringLiteral(" 101 ; 205;"));
        const CNoticeSettings edited = dialog.Settings();
        QCOMPARE(edited.summaryTargets, settings.summaryTargets);
        QTemporaryDir dir;
        CProfile config(dir.filePath(QStringLiteral("kelvaris.cfg")));
        QVERIFY(edited.Write(config));
        const CNoticeSettings read = CNoticeSettings::Read(config);
        QCOMPARE(read.leadMinutes, 45);
        QCOMPARE(read.changeHours, 0);
        QCOMPARE(read.summaryMinute, 6 * 60 + 30);
        QCOMPARE(read.summaryTargets, settings.summaryTargets);
        QCOMPARE(read.leadText, settings.leadText);
        QCOMPARE(config.ReadString(
                     QStringLiteral("Settings"), QStringLiteral("NoticeChangeText"), QStringLiteral("none")),
            QStringLiteral("none"));
        Named<QCheckBox>(&dialog, "summary")->setChecked(false);
        QCOMPARE(dialog.Settings().summaryMinute, -1);
    }
};

QTEST_MAIN(SettingsDialogsTest)
#include "SettingsDialogsTest.moc"
