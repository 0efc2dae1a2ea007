#pragma once

#include <memory>
#include <optional>

#include <QByteArray>
#include <QString>
#include <QtGlobal>

class CProfile;

// Operator rights: the number a protected command passes to the rights check. Bit r of the
// protection flags set means that right r asks for the password.
constexpr int RIGHT_ACTIVATE = 1; // "Activate" (only when not already active)
constexpr int RIGHT_DEACTIVATE = 2; // "Deactivate" (only when active)
constexpr int RIGHT_AUTO_ACTIVATE = 3; // "Activate automatically"
constexpr int RIGHT_SAVE_LOGFILE = 4; // "Save logfile..."
constexpr int RIGHT_EXIT = 5; // closing the main window
constexpr int RIGHT_GENERAL_SETUP = 7; // "General Setup..."
constexpr int RIGHT_HOLIDAYS = 8; // "Holidays..."
constexpr int RIGHT_PLAN = 9; // "Plan of action...", "Shifts...", opening a plan
constexpr int RIGHT_BARRIERS = 10; // "Barriers/Pauses..."
constexpr int RIGHT_PASSWORD = 11; // "Password..." (only when a password is set)

// The three groups the password set-up switches, as bits of the protection flags.
constexpr quint32 RIGHTS_OPERATION = 0x0000001Fu; // bits 0 to 4
constexpr quint32 RIGHTS_EXIT = 0x00000020u; // bit 5
constexpr quint32 RIGHTS_SETUPS = 0x00001FC0u; // bits 6 to 12

// A password and the set of rights it protects, with their stored text form.
//
// Stored form (upper-case hexadecimal digits only):
//   8 digits   checksum XOR kChecksumMask
//   8 digits   protection flags XOR kFlagsMask
//   2 digits   per byte of the padded password, XOR PositionByte(position from 0)
// The password is kept as its UTF-8 bytes. The padded password is the password followed, when it
// is shorter than kPaddedLength bytes, by a byte 7 and pseudo-random letters A-Z/a-z up to
// kPaddedLength bytes; a longer password is stored unchanged. The checksum is the flags plus the
// sum of the padded bytes taken as signed 8-bit values, in 32-bit wrap-around arithmetic.
class CPassword
{
public:
    static constexpr quint32 kAllFlags = 0xFFFFFFFFu;
    static constexpr quint32 kChecksumMask = 0x5A3C9E17u;
    static constexpr quint32 kFlagsMask = 0x2D6B48C3u;
    static constexpr qsizetype kPaddedLength = 32;
    static constexpr char kTerminator = 7;
    // Position byte = (position * 73 + 41) mod 256; part of the stored format.
    static constexpr int kPositionMultiplier = 73;
    static constexpr int kPositionOffset = 41;

    static constexpr quint8 PositionByte(qsizetype position)
    {
        return static_cast<quint8>(
            (static_cast<quint64>(position) * kPositionMultiplier + kPositionOffset) & 0xFFu);
    }

    // All 32 flags set, empty password.
    CPassword() = default;

    quint32 Flags() const { return m_flags; }
    void SetFlags(quint32 flags) { m_flags = flags; }
    const QString& Password() const { return m_password; }
    void SetPassword(const QString& password) { m_password = password; }

    // Bit `right` of the flags; a number outside 0..31 counts as protected.
    bool IsProtected(int right) const;
    // Exact, case-sensitive comparison with the password.
    bool Matches(const QString& typed) const { return typed == m_password; }

    // Reads a stored text. Fails, leaving the object as it was, for a text of 16 or fewer
    // characters or with a character other than "0123456789ABCDEF". Fails with the flags cleared
    // when the checksum does not match or the password bytes are not valid UTF-8. On success the
    // object holds the stored flags and the password (the decoded bytes up to the first byte 7).
    // A trailing single digit is ignored. Linear in the length of the text.
    bool Decode(const QString& stored);
    // The stored text of the flags and the password (new padding on every call).
    QString Encode() const;

    // The stored text for given flags and password bytes with the given padding letters (taken
    // cyclically; used when the password is shorter than kPaddedLength - 1 bytes). Exposed for
    // the tests; Encode() passes fresh pseudo-random letters.
    static QString EncodeWith(quint32 flags, const QByteArray& passwordBytes, const QByteArray& padding);

protected:
    quint32 m_flags = kAllFlags;
    QString m_password;
};

// What the password set-up dialog shows when it opens.
struct CPasswordSetupPreset
{
    QString password; // both edit boxes
    bool setups = true; // bit 6
    bool operation = true; // bit 0
    bool exitProgram = true; // bit 5
};

// What the operator confirmed in the password set-up dialog.
struct CPasswordSetupInput
{
    QString entered;
    QString confirmed;
    bool setups = true;
    bool operation = true;
    bool exitProgram = true;
};

// The operator's password with its editing operation.
class CKelvarisRights : public CPassword
{
public:
    // Results of the editing operation.
    static constexpr int EDIT_MISMATCH = -1; // the two boxes differ: the dialog stays open
    static constexpr int EDIT_CHANGED = 0;
    static constexpr int EDIT_CANCELLED = 1;
    static constexpr int EDIT_CLEARED = 2; // empty password: the caller discards the object

    CPasswordSetupPreset SetupPreset() const;
    // The decision on OK. EDIT_MISMATCH and EDIT_CLEARED leave the object unchanged; EDIT_CHANGED
    // stores the entered password and the flags: all set, minus bit 5 without "Exit", bits 6-12
    // without "Setups", bits 0-4 without "Operation".
    int ApplySetup(const CPasswordSetupInput& input);
};

// The operator's answer to the password prompt; implemented by the dialogs (and by the tests).
class CPasswordPrompt
{
public:
    virtual ~CPasswordPrompt() = default;
    // The typed text, or std::nullopt when the prompt was cancelled.
    virtual std::optional<QString> AskPassword() = 0;
    // Tells the operator that the typed password is incorrect.
    virtual void ShowWrongPassword() = 0;
};

// The rights check of the application: at most one password object; none protects nothing.
// Used on the user-interface thread only. A successful entry is not remembered.
class CRightsCheck
{
public:
    explicit CRightsCheck(CPasswordPrompt* prompt = nullptr)
        : m_prompt(prompt)
    { }

    // The prompt is not owned and must outlive its use here.
    void SetPrompt(CPasswordPrompt* prompt) { m_prompt = prompt; }

    // Allowed without a password object or when the right's bit is clear. Otherwise refused when
    // asking is not allowed (or there is no prompt), the prompt is cancelled or the typed text
    // differs from the password (after ShowWrongPassword()); allowed when it matches exactly.
    bool Check(int right, bool ask = true);
    // The rights group the password was last typed for ("operation", "exit", "setups"), or empty
    // when the last check asked for none; the journal names it with the change that followed.
    const QString& AskedGroup() const { return m_askedGroup; }

    bool HasPassword() const { return m_rights != nullptr; }
    CKelvarisRights* Rights() const { return m_rights.get(); }
    void SetRights(std::unique_ptr<CKelvarisRights> rights) { m_rights = std::move(rights); }
    void ClearRights() { m_rights.reset(); }

    // Start-up: reads Settings/Password. An empty value leaves no password; a value that does not
    // decode leaves no password, without a message (a trace line on the engine category).
    void LoadRights(CProfile& profile);
    // After the password command: writes Settings/Password as the encoded text, or deletes the key
    // without a password object, then records the configuration file's time as the program's
    // own. Returns false when the file could not be stored.
    bool StoreRights(CProfile& profile) const;

private:
    std::unique_ptr<CKelvarisRights> m_rights;
    CPasswordPrompt* m_prompt = nullptr;
    QString m_askedGroup;
};
