#pragma once

#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>

namespace Orvak_API {

// One row of an error table: a result code, a second code (the connectivity
// table repeats the code, the media table holds 0x80004005 or 0), the text
// for the user (translated when looked up) and the text for the log.
struct ErrorRow
{
    int32_t code;
    int32_t secondCode;
    const char *friendlyText;
    const char *technicalText;
};

// The two tables end with a row whose codes are 0 and whose technical text
// is empty. They are constant data, ready before main() runs. After the
// library's codes the connectivity table holds the program's own codes below,
// which the library never returns.
extern const ErrorRow connectivityErrorTable[];
extern const ErrorRow mediaErrorTable[];

// A copy to the phone whose target folder is missing and could not be made,
// because the folder it belongs in is not on the phone (or the memory card
// is out). Reported as the last code, with the library's code as the result.
inline constexpr int32_t NoVideoFolderCode = int32_t(0x8050F001u);

// Whether row ends its table.
bool isEndRow(const ErrorRow &row);
// Whether row's text for the user names the file that failed to convert (%1).
bool carriesConversionText(const ErrorRow &row);
// The first row of table with this code, or nullptr.
const ErrorRow *findErrorRow(const ErrorRow *table, int32_t code);
// The row's text for the user, through the translator installed now.
QString friendlyText(const ErrorRow &row);
// The text the user is shown for a row of table: for some connectivity codes
// whose row has only the unknown-error text the program has a clearer one;
// otherwise the row's own text. Translated now.
QString friendlyText(const ErrorRow *table, const ErrorRow &row);
// "An unknown error occurred. ..." in the current language.
QString unknownErrorText();

// The base of every wrapper of an outside component. It keeps the result of
// the last call, turns a failure into a technical and a friendly message by
// looking the code up in its error table, and reports the failure through
// SignalErrorMessage. Until a subclass sets the table, failures are only
// recorded. Use an object from one thread at a time; the signal may be
// emitted from a worker thread and is then queued to the receiver.
class API_Base : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(API_Base)

public:
    explicit API_Base(QObject *parent = nullptr);
    ~API_Base() override;

    // Every API_Base built after this call connects its SignalErrorMessage to
    // handler, run in receiver's thread (the main window's error slot).
    // Pass nullptr to stop connecting new objects.
    using ErrorHandler = std::function<void(const QString &, const QString &, const QString &)>;
    static void setErrorReceiver(QObject *receiver, ErrorHandler handler);

    // Stores code as the last result and code; reports a negative code.
    // Returns whether the code is success (0 or positive).
    bool checkResult(int32_t code, const QString &context, bool markError = false);
    // Builds lastMessage from context and the table row of lastCode and, when
    // the last result or code is an error, emits SignalErrorMessage.
    void reportError(const QString &context, bool markError, const QString &detail = QString());

    bool errorFlag() const { return m_errorFlag; }
    void setErrorFlag(bool on) { m_errorFlag = on; }
    bool suppressErrors() const { return m_suppressErrors; }
    void setSuppressErrors(bool on) { m_suppressErrors = on; }
    int32_t lastResult() const { return m_lastResult; }
    void setLastResult(int32_t code) { m_lastResult = code; }
    int32_t lastCode() const { return m_lastCode; }
    void setLastCode(int32_t code) { m_lastCode = code; }
    QString lastMessage() const { return m_lastMessage; }
    const ErrorRow *errorTable() const { return m_errorTable; }
    void setErrorTable(const ErrorRow *table) { m_errorTable = table; }

Q_SIGNALS:
    void SignalErrorMessage(QString title, QString message, QString friendlyMessage);

private:
    bool m_errorFlag = false;
    bool m_suppressErrors = false;
    int32_t m_lastResult = 0;
    int32_t m_lastCode = 0;
    QString m_lastMessage;
    const ErrorRow *m_errorTable = nullptr;
};

} // namespace Orvak_API
