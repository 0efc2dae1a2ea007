#pragma once

#include <optional>

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// kelvaris-alarmsim: a stand-in alarm server. This part builds the replies to the server commands
// and the takeover answers; main.cpp puts it on D-Bus.

// One receiver or group of the targets file.
struct CSimTarget
{
    QString name;
    int number = 0; // negative: a group
    QString id;
    quint32 colour = 0; // 0x00BBGGRR
    QStringList members; // groups: member names in order

    bool IsGroup() const { return number < 0; }
};

// How the simulated receivers answer a takeover request.
enum class TakeoverMode { Confirm, Timeout, Ignore };

// The arguments of a "[send2(...)]" command that the simulator uses.
struct CSend2Request
{
    QString receiver; // the first argument: the receiver's name
    QString text; // the second: the message text
    QString clientId; // the sixth
};

// A reply to a server command; `error` makes it a D-Bus error whose message is `text`.
struct CSimReply
{
    bool error = false;
    QString text;
};

class CAlarmSimReplies
{
public:
    static constexpr int kMaxTargets = 10000;
    // Longer commands are answered with an error.
    static constexpr qsizetype kMaxCommandLength = 1024 * 1024;

    // Reads the targets file: our configuration-file format, sections Target1, Target2 ... in
    // order until one has no Name, with the keys Name, Number (negative: a group), ID, Colour
    // (0x00BBGGRR, decimal or "0x" hexadecimal) and Members (groups: names separated by ";").
    // A target whose name or ID cannot travel in the tab-separated replies (a tab, line break or
    // double quote in it), or whose name repeats an earlier one, is left out with a warning, as is
    // an unreadable colour (taken as 0). False when the file cannot be read; `error` then says why
    // ("No such file or directory", "Is a directory", ...).
    bool LoadTargets(const QString& path, QStringList& warnings, QString* error = nullptr);
    void SetTargets(const QList<CSimTarget>& targets);
    const QList<CSimTarget>& Targets() const { return m_targets; }
    const CSimTarget* FindByName(const QString& name) const;

    // The reply to one command "[name(arguments)]" (names without regard to case):
    // - GetValue(Setup.Targets): one line per target, "name<TAB>number<TAB>ID<TAB>kind<TAB>colour"
    //   (kind "Receiver" or "Group", colour in decimal), joined by CR LF;
    // - GetTarget3(name): 17 tab-separated fields, the name in field 1, the number in field 2, the
    //   kind in field 3, the ID in field 15 and the colour (decimal) in field 17, "0" elsewhere;
    //   an unknown name gives an empty reply;
    // - GetGroupMembers(name): the member names, tab-separated (a receiver has none); an unknown
    //   name gives an error;
    // - check(...): "1";
    // - anything else: an empty reply.
    CSimReply Execute(const QString& command) const;

    // Splits "[name(arguments)]" into its name and the text between the first "(" and the final
    // ")]". False for any other text.
    static bool SplitCommand(const QString& command, QString& name, QString& arguments);
    // The arguments of a send2 command, or none when the command is not one or has fewer than
    // seven arguments. The arguments are separated by commas; a double-quoted argument runs to the
    // next double quote that is followed by a comma or the end, so it may hold commas and quotes.
    // Kelvaris quotes nothing inside its texts, so the message text is taken as everything between
    // the receiver and the last five arguments.
    static std::optional<CSend2Request> ParseSend2(const QString& command);
    // A client ID of a takeover request: "Time:" followed by a group ID.
    static bool IsTakeoverClientId(const QString& clientId);

    // The HandleResponse request that answers a takeover request on Kelvaris's socket, in UTF-8:
    // the client ID, the ID of the asked receiver (looked up by its name; empty when unknown) and
    // Result 1 (confirm) or Timeout 1 (timeout). Empty for Ignore.
    QByteArray TakeoverAnswer(const CSend2Request& request, TakeoverMode mode) const;

private:
    QList<CSimTarget> m_targets;
    QHash<QString, qsizetype> m_byName;
    QString m_targetList; // the GetValue(Setup.Targets) reply, built once
};

// The text with "&", "<" and ">" written as XML entities.
QString XmlEscaped(const QString& text);
