#pragma once

#include <atomic>
#include <memory>
#include <optional>

#include <QString>

// A bracketed command "[name(arguments)]": the name is the text between the "[" and the last "(",
// the arguments the text between that "(" and the final ")]". Nothing may stand before or after.
struct CParsedCommand
{
    QString m_name;
    QString m_arguments;
};

// Nothing when the text does not have the command form.
std::optional<CParsedCommand> ParseCommand(const QString& text);

// Opens a schedule editor for a setup command. The program's launcher runs the editor later on
// the user-interface thread, so that the caller's request returns at once; without a document it
// opens nothing.
class CAutomationEditorLauncher
{
public:
    virtual ~CAutomationEditorLauncher() = default;
    // 'P' dispatch planning, 'S' shifts, 'B' barriers/pauses, 'H' holidays.
    virtual void OpenEditor(char letter) = 0;
};

// How many editors opened by setup commands are running. The planning dialog does not refresh the
// views on closing while one runs. A count rather than a flag, so the first of two such editors to
// close does not clear it for the other. Any thread.
class CAutomationSetup
{
public:
    static void Enter();
    static void Leave();
    static bool IsRunning();
};

// Marks one automation editor as running for its lifetime.
class CAutomationSetupScope
{
public:
    CAutomationSetupScope() { CAutomationSetup::Enter(); }
    ~CAutomationSetupScope() { CAutomationSetup::Leave(); }
    CAutomationSetupScope(const CAutomationSetupScope&) = delete;
    CAutomationSetupScope& operator=(const CAutomationSetupScope&) = delete;
};

// The automation object: one method, DoCommand. The only command it knows is the setup command
// ("[setup(TP)]", "TS", "TB", "TH"): it asks the launcher for the editor and answers "1"; setup with
// other arguments answers "0"; any other name or text answers an empty text. The name is compared in
// lower case, the arguments exactly. It keeps no state of its own.
class CKelvarisObj
{
public:
    // Commands longer than this are not commands: they answer an empty text without being parsed.
    static constexpr qsizetype kMaxCommandLength = 65536;

    // The launcher may be null (a windowless server: nothing opens, the answer stays "1").
    explicit CKelvarisObj(CAutomationEditorLauncher* launcher = nullptr)
        : m_launcher(launcher)
    { }
    QString DoCommand(const QString& timeCmd) const;

private:
    CAutomationEditorLauncher* m_launcher = nullptr;
};

class CKelvarisDoc;
class QObject;

// Opens the document's editors (with their rights checks and saving) for setup commands: queued to
// the thread of `context`, so the command's answer leaves first, and opened there without waiting,
// so editors of different kinds are usable side by side and none runs inside another. While each
// is open, the automation setup count is raised. A request for a kind already waiting in the queue
// is not queued again, so at most one request per kind waits however many commands arrive; one for
// a kind that is open brings that editor to the front. The document must outlive `context`; with no
// document nothing opens. OpenEditor may be called from any thread.
class CDocEditorLauncher : public CAutomationEditorLauncher
{
public:
    CDocEditorLauncher(QObject* context, CKelvarisDoc* doc);
    void OpenEditor(char letter) override;

    // Opens the editor for a letter now, on the calling thread, without waiting for it.
    static void RunEditor(CKelvarisDoc* doc, char letter);

private:
    QObject* m_context;
    CKelvarisDoc* m_doc;
    // One bit per letter whose request waits in the queue; shared with the queued calls, which may
    // run after the launcher is gone.
    std::shared_ptr<std::atomic<unsigned>> m_pending;
};
