#pragma once
// The program's message sink: real message boxes with the program's captions and buttons, and one balloon
// hint shared by all ShowBalloon calls.
#include "common/Messages.h"

#include <QPointer>

class QLabel;
class QWidget;

class TBalloonHint;

class TMessageBoxSink final : public TMessageSink {
public:
    TMessageBoxSink();
    ~TMessageBoxSink() override;
    void ShowMessage(TMsgKind kind, const QString& caption, const QString& text) override;
    TMsgButton Ask(const QString& caption, const QString& text, const QList<TMsgButton>& buttons) override;
    void ShowBalloon(const QString& title, const QString& text, int kind, QObject* control) override;
    void HideBalloon() override;

private:
    QPointer<TBalloonHint> balloon_;
};

// Message texts use "\r" as the line break; boxes show it as a new line.
QString MessageDisplayText(const QString& text);
