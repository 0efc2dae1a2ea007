// Every user-visible text of the sources has a finished translation in each shipped language.
#include <QDir>
#include <QFile>
#include <QHash>
#include <QProcess>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QXmlStreamReader>

namespace {

struct CMessage
{
    QString m_context;
    QString m_source;
    bool m_finished = false;
};

// The messages of a translation source file, by context and source text.
QHash<QString, CMessage> ReadTs(const QString& path, QString* error)
{
    QHash<QString, CMessage> messages;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read ") + path;
        return messages;
    }
    QXmlStreamReader xml(&file);
    QString context;
    CMessage message;
    bool inMessage = false;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            if (xml.name() == QLatin1String("context")) {
                context.clear();
            } else if (xml.name() == QLatin1String("name") && !inMessage) {
                context = xml.readElementText();
            } else if (xml.name() == QLatin1String("message")) {
                inMessage = true;
                message = CMessage { context, QString(), true };
            } else if (xml.name() == QLatin1String("source") && inMessage) {
                message.m_source = xml.readElementText();
            } else if (xml.name() == QLatin1String("translation") && inMessage) {
                const QString type = xml.attributes().value(QLatin1String("type")).toString();
                const QString text = xml.readElementText(QXmlStreamReader::IncludeChildElements);
                message.m_finished = type.isEmpty() && !text.trimmed().isEmpty();
            } else if (xml.name() == QLatin1String("numerusform") && inMessage) {
                message.m_finished = message.m_finished && !xml.readElementText().trimmed().isEmpty();
            }
        } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
            inMessage = false;
            messages.insert(message.m_context + QLatin1Char('\x1f') + message.m_source, message);
        }
    }
    if (xml.hasError())
        *error = path + QStringLiteral(": ") + xml.errorString();
    return messages;
}

} // namespace

class TranslationsTest : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void EveryTextIsTranslatedInEveryLanguage_data()
    {
        QTest::addColumn<QString>("language");
        for (const char* language : { "de", "en", "fr", "es", "nl" })
            QTest::newRow(language) << QString::fromLatin1(language);
    }

    void EveryTextIsTranslatedInEveryLanguage()
    {
        QFETCH(QString, language);
        // The texts the sources hold now, collected the way the shipped files were.
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        const QString fresh = dir.filePath(QStringLiteral("fresh.ts"));
        QProcess lupdate;
        lupdate.start(QStringLiteral(LUPDATE_PATH),
            { QStringLiteral(SOURCE_DIR "/src"), QStringLiteral(SOURCE_DIR "/tools"),
                QStringLiteral("-silent"), QStringLiteral("-locations"), QStringLiteral("none"),
                QStringLiteral("-ts"), fresh });
        QVERIFY(lupdate.waitForFinished(60000));
        QCOMPARE(lupdate.exitCode(), 0);

        QString error;
        const QHash<QString, CMessage> wanted = ReadTs(fresh, &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));
        QVERIFY2(wanted.size() > 50, "lupdate found too few texts");
        const QHash<QString, CMessage> shipped
            = ReadTs(QStringLiteral(SOURCE_DIR "/translations/kelvaris_%1.ts").arg(language), &error);
        QVERIFY2(error.isEmpty(), qPrintable(error));

        QStringList missing;
        for (const CMessage& message : wanted) {
            const auto found = shipped.constFind(message.m_context + QLatin1Char('\x1f') + message.m_source);
            if (found == shipped.cend() || !found->m_finished)
                missing << message.m_context + QStringLiteral(": ") + message.m_source;
        }
        missing.sort();
        QVERIFY2(missing.isEmpty(),
            qPrintable(QStringLiteral("%1 texts without a finished %2 translation:\n  %3")
                           .arg(missing.size())
                           .arg(language, missing.mid(0, 40).join(QStringLiteral("\n  ")))));
    }
};

QTEST_GUILESS_MAIN(TranslationsTest)
#include "TranslationsTest.moc"
