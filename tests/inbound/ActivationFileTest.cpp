// Where /Register puts the bus's activation file.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "inbound/KelvarisBus.h"

namespace {

// Sets XDG_DATA_HOME (or removes it for a null value) and puts the old state back.
class CDataHomeScope
{
public:
    explicit CDataHomeScope(const QByteArray& value)
        : m_had(qEnvironmentVariableIsSet("XDG_DATA_HOME"))
        , m_saved(qgetenv("XDG_DATA_HOME"))
    {
        if (value.isNull())
            qunsetenv("XDG_DATA_HOME");
        else
            qputenv("XDG_DATA_HOME", value);
    }
    ~CDataHomeScope()
    {
        if (m_had)
            qputenv("XDG_DATA_HOME", m_saved);
        else
            qunsetenv("XDG_DATA_HOME");
    }

private:
    bool m_had;
    QByteArray m_saved;
};

} // namespace

TEST(ActivationFile, LiesUnderTheUsersDataDirectory)
{
    const QString name = QStringLiteral("com.example.Activation");
    const QString fallback = QDir::homePath() + QStringLiteral("/.local/share/dbus-1/services/") + name
        + QStringLiteral(".service");
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    {
        CDataHomeScope scope(QFile::encodeName(dir.path()));
        EXPECT_EQ(ActivationFilePath(name),
            dir.path() + QStringLiteral("/dbus-1/services/") + name + QStringLiteral(".service"));
    }
    {
        CDataHomeScope scope { QByteArray() };
        EXPECT_EQ(ActivationFilePath(name), fallback);
    }
    {
        // Empty and relative values are ignored, as the base directory rules say.
        CDataHomeScope scope("");
        EXPECT_EQ(ActivationFilePath(name), fallback);
    }
    {
        CDataHomeScope scope("relative/share");
        EXPECT_EQ(ActivationFilePath(name), fallback);
    }
}
