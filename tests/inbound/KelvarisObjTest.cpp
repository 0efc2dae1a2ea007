#include "inbound/KelvarisObj.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QString>
#include <QTemporaryDir>

#include "engine/KelvarisDoc.h"
#include "engine/Password.h"

#include "ConfigLocationScope.h"
#include "FakeServerCommand.h"

namespace {

class CRecordingLauncher : public CAutomationEditorLauncher
{
public:
    void OpenEditor(char letter) override { m_letters += letter; }
    std::string m_letters;
};

} // namespace

TEST(ParseCommand, NameRunsToTheLastParenthesisAndNothingMayFollow)
{
    const auto plain = ParseCommand(QStringLiteral("[setup(TP)]"));
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain->m_name, QStringLiteral("setup"));
    EXPECT_EQ(plain->m_arguments, QStringLiteral("TP"));

    const auto nested = ParseCommand(QStringLiteral("[a(b)(TP)]"));
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->m_name, QStringLiteral("a(b)"));
    EXPECT_EQ(nested->m_arguments, QStringLiteral("TP"));

    const auto empty = ParseCommand(QStringLiteral("[()]"));
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->m_name.isEmpty() && empty->m_arguments.isEmpty());

    const auto unicode = ParseCommand(QStringLiteral("[prüfen(Straße)]"));
    ASSERT_TRUE(unicode);
    EXPECT_EQ(unicode->m_arguments, QStringLiteral("Straße"));

    for (const char* text : { "[setup(TP)] ", " [setup(TP)]", "setup(TP)", "[setup(TP)", "[setupTP]",
             "[setup(TP])", "[setup(T\nP)]", "" })
        EXPECT_FALSE(ParseCommand(QString::fromUtf8(text))) << text;
}

TEST(KelvarisObj, OnlyTheSetupCommandOpensAnEditor)
{
    CRecordingLauncher launcher;
    const CKelvarisObj object(&launcher);
    EXPECT_EQ(object.DoCommand(QStringLiteral("[SETUP(TP)]")), QStringLiteral("1"));
    EXPECT_EQ(object.DoCommand(QStringLiteral("[Setup(TS)]")), QStringLiteral("1"));
    EXPECT_EQ(object.DoCommand(QStringLiteral("[setup(TB)]")), QStringLiteral("1"));
    EXPECT_EQ(object.DoCommand(QStringLiteral("[setup(TH)]")), QStringLiteral("1"));
    EXPECT_EQ(launcher.m_letters, "PSBH");

    // The arguments are compared exactly; other names and forms answer an empty (not a null) text.
    for (const char* text : { "[setup(tp)]", "[setup()]", "[setup(TX)]", "[setup( TP)]", "[setup(TPX)]" })
        EXPECT_EQ(object.DoCommand(QString::fromLatin1(text)), QStringLiteral("0")) << text;
    for (const char* text : { "[check(x)]", "[setup(TP)] ", "[a(b)(TP)]", "setup", "" }) {
        const QString result = object.DoCommand(QString::fromLatin1(text));
        EXPECT_TRUE(result.isEmpty() && !result.isNull()) << text;
    }
    EXPECT_EQ(launcher.m_letters, "PSBH");

    // An over-long text is not parsed; no launcher still answers "1".
    EXPECT_TRUE(object
                    .DoCommand(QStringLiteral("[setup(") + QString(CKelvarisObj::kMaxCommandLength, u'T')
                        + QStringLiteral(")]"))
                    .isEmpty());
    EXPECT_EQ(CKelvarisObj().DoCommand(QStringLiteral("[setup(TB)]")), QStringLiteral("1"));
}

TEST(AutomationSetup, CountsEditorsSoTheFirstToCloseDoesNotClearIt)
{
    EXPECT_FALSE(CAutomationSetup::IsRunning());
    {
        const CAutomationSetupScope first;
        {
            const CAutomationSetupScope second;
            EXPECT_TRUE(CAutomationSetup::IsRunning());
        }
        EXPECT_TRUE(CAutomationSetup::IsRunning());
    }
    EXPECT_FALSE(CAutomationSetup::IsRunning());
}

// Records which editor ran and whether the automation count was raised meanwhile.
class CRecordingEditors : public CEditorHost
{
public:
    bool EditGeneralSettings(CGeneralSettings&) override { return false; }
    void EditBarriers(CBarrageArray&) override { Record('B'); }
    void EditShifts(CShiftArray&) override { Record('S'); }
    void EditHolidays(CHolidaysArray&) override { Record('H'); }
    void EditPlan(const QString&) override { Record('P'); }
    bool EditTakeoverTexts(QString&, QString&, QString&) override { return false; }
    bool AutomationEditorRunning() const override { return CAutomationSetup::IsRunning(); }

    void Record(char letter)
    {
        m_letters += letter;
        m_countRaised = m_countRaised && CAutomationSetup::IsRunning();
    }
    std::string m_letters;
    bool m_countRaised = true;
};

TEST(DocEditorLauncher, EditorsOpenAfterTheAnswerOnTheContextThread)
{
    int argc = 1;
    char name[] = "test_inbound";
    char* argv[] = { name, nullptr };
    QCoreApplication app(argc, argv);
    QTemporaryDir dir;
    const CConfigLocationScope location(dir.filePath(QStringLiteral("kelvaris.cfg")));
    CFakeServerCommandFactory server;
    CRightsCheck rights;
    CKelvarisDoc doc(server, rights);
    CRecordingEditors editors;
    doc.SetEditorHost(&editors);
    QObject context;
    CDocEditorLauncher launcher(&context, &doc);
    const CKelvarisObj object(&launcher);

    EXPECT_EQ(object.DoCommand(QStringLiteral("[setup(TB)]")), QStringLiteral("1"));
    EXPECT_EQ(object.DoCommand(QStringLiteral("[setup(TP)]")), QStringLiteral("1"));
    EXPECT_EQ(object.DoCommand(QStringLiteral("[setup(TS)]")), QStringLiteral("1"));
    EXPECT_EQ(object.DoCommand(QStringLiteral("[setup(TH)]")), QStringLiteral("1"));
    // Nothing opened while the commands were answered.
    EXPECT_TRUE(editors.m_letters.empty());
    QCoreApplication::processEvents();
    EXPECT_EQ(editors.m_letters, "BPSH");
    EXPECT_TRUE(editors.m_countRaised);
    EXPECT_FALSE(CAutomationSetup::IsRunning());

    // A launcher without a document opens nothing.
    CDocEditorLauncher none(&context, nullptr);
    none.OpenEditor('B');
    QCoreApplication::processEvents();
    EXPECT_EQ(editors.m_letters, "BPSH");

    // However many commands arrive before the loop turns, each kind waits in the queue once.
    editors.m_letters.clear();
    for (int i = 0; i < 1000; ++i) {
        object.DoCommand(QStringLiteral("[setup(TH)]"));
        object.DoCommand(QStringLiteral("[setup(TB)]"));
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(editors.m_letters, "HB");
    EXPECT_FALSE(CAutomationSetup::IsRunning());
}
