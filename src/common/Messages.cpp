#include "common/Messages.h"

#include <cstdio>

QString LastErrorText;
bool SilentMessages = false;

const QString kCaptionError = QStringLiteral("Помилка");
const QString kCaptionWarning = QStringLiteral("Попередження");
const QString kCaptionInfo = QStringLiteral("Інформація");
const QString kCaptionConfirm = QStringLiteral("Підтвердження");

namespace {

class TStderrSink final : public TMessageSink {
public:
    void ShowMessage(TMsgKind, const QString& caption, const QString& text) override {
        std::fprintf(stderr, "%s: %s\n", qUtf8Printable(caption),
                     qUtf8Printable(QString(text).replace('\r', '\n')));
    }
    TMsgButton Ask(const QString& caption, const QString& text, const QList<TMsgButton>& buttons) override {
        ShowMessage(TMsgKind::Info, caption, text);
        return buttons.isEmpty() ? TMsgButton::None : buttons.first();
    }
    void ShowBalloon(const QString& title, const QString& text, int, QObject*) override {
        ShowMessage(TMsgKind::Info, title, text);
    }
    void HideBalloon() override {}
};

TStderrSink& DefaultSink() {
    static TStderrSink sink;
    return sink;
}

TMessageSink* g_sink = nullptr;

} // namespace

void SetMessageSink(TMessageSink* sink) {
    g_sink = sink;
}
TMessageSink* MessageSink() {
    return g_sink ? g_sink : &DefaultSink();
}

QString ButtonText(TMsgButton b) {
    switch (b) {
    case TMsgButton::Yes:
        return QStringLiteral("Так");
    case TMsgButton::No:
        return QStringLiteral("Ні");
    case TMsgButton::Cancel:
        return QStringLiteral("Скасувати");
    case TMsgButton::Ok:
        return QStringLiteral("OK");
    case TMsgButton::None:
        break;
    }
    return {};
}

void ShowError(const QString& caption, const QString& text) {
    if (text.isEmpty()) return;
    if (SilentMessages) {
        LastErrorText = text;
        return;
    }
    MessageSink()->ShowMessage(TMsgKind::Error, caption.isEmpty() ? kCaptionError : caption, text);
}

void ShowWarning(const QString& text) {
    if (SilentMessages) {
        LastErrorText = text;
        return;
    }
    MessageSink()->ShowMessage(TMsgKind::Warning, kCaptionWarning, text);
}

void ShowInfo(const QString& text) {
    if (SilentMessages) {
        LastErrorText = text;
        return;
    }
    MessageSink()->ShowMessage(TMsgKind::Info, kCaptionInfo, text);
}

TMsgButton AskConfirm(const QString& text, const QList<TMsgButton>& buttons) {
    return MessageSink()->Ask(kCaptionConfirm, text, buttons);
}

void ShowBalloon(const QString& title, const QString& text, int kind, QObject* control) {
    if (SilentMessages) {
        LastErrorText = text;
        return;
    }
    MessageSink()->HideBalloon();
    MessageSink()->ShowBalloon(title, text, kind, control);
}

void HideBalloon() {
    MessageSink()->HideBalloon();
}

QString CommandFailureText(const QString& context, const QString& error) {
    return context + QStringLiteral("\rПомилка: ") + error;
}

TSilentMessagesScope::TSilentMessagesScope() : previous_(SilentMessages) {
    SilentMessages = true;
}
TSilentMessagesScope::~TSilentMessagesScope() {
    SilentMessages = previous_;
}
