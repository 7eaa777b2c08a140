#pragma once
// Message helpers. The core never shows a box itself: it talks to the installed sink. The program installs
// a sink with real message boxes and balloons, tests install a recording sink (common/RecordingSink.h).
#include <QList>
#include <QString>

class QObject;

enum class TMsgKind { Error, Warning, Info };
enum class TMsgButton { None, Yes, No, Cancel, Ok };

class TMessageSink {
public:
    virtual ~TMessageSink() = default;
    virtual void ShowMessage(TMsgKind kind, const QString& caption, const QString& text) = 0;
    virtual TMsgButton Ask(const QString& caption, const QString& text, const QList<TMsgButton>& buttons) = 0;
    // kind 0-4 as ShowBalloon; control may be null.
    virtual void ShowBalloon(const QString& title, const QString& text, int kind, QObject* control) = 0;
    virtual void HideBalloon() = 0;
};

// The text of the last reported problem (data access, path and file operations, silenced messages).
extern QString LastErrorText;
// While set, ShowError/ShowWarning/ShowInfo/ShowBalloon store their text into LastErrorText instead.
extern bool SilentMessages;

// Installs a sink (not owned); nullptr restores the default, which writes to the standard error stream and
// answers every question with the first button.
void SetMessageSink(TMessageSink* sink);
TMessageSink* MessageSink();

// Captions of the message boxes.
extern const QString kCaptionError;   // "Помилка"
extern const QString kCaptionWarning; // "Попередження"
extern const QString kCaptionInfo;    // "Інформація"
extern const QString kCaptionConfirm; // "Підтвердження"
QString ButtonText(TMsgButton b);     // "Так", "Ні", "Скасувати", "OK"

void ShowError(const QString& caption, const QString& text);
inline void ShowError(const QString& text) {
    ShowError(QString(), text);
}
void ShowWarning(const QString& text);
void ShowInfo(const QString& text);
TMsgButton AskConfirm(const QString& text,
                      const QList<TMsgButton>& buttons = {TMsgButton::Yes, TMsgButton::No});
void ShowBalloon(const QString& title, const QString& text, int kind, QObject* control = nullptr);
void HideBalloon();

// A failed command: context line, "\r", "Помилка: " and the error text.
QString CommandFailureText(const QString& context, const QString& error);

// Sets SilentMessages for the lifetime of the object and restores the previous value afterwards.
class TSilentMessagesScope {
public:
    TSilentMessagesScope();
    ~TSilentMessagesScope();
    TSilentMessagesScope(const TSilentMessagesScope&) = delete;
    TSilentMessagesScope& operator=(const TSilentMessagesScope&) = delete;

private:
    bool previous_;
};
