#pragma once
// A message sink for tests: records every message and answers questions from a queue.
#include "common/Messages.h"

#include <QStringList>

struct TRecordedMessage {
    TMsgKind kind;
    QString caption;
    QString text;
};

class TRecordingSink final : public TMessageSink {
public:
    // Installs itself for its lifetime.
    TRecordingSink() : previous_(MessageSink()) { SetMessageSink(this); }
    ~TRecordingSink() override { SetMessageSink(previous_ == this ? nullptr : previous_); }

    void ShowMessage(TMsgKind kind, const QString& caption, const QString& text) override {
        messages.append({kind, caption, text});
    }
    TMsgButton Ask(const QString& caption, const QString& text, const QList<TMsgButton>& buttons) override {
        questions.append(text);
        Q_UNUSED(caption);
        if (!answers.isEmpty()) return answers.takeFirst();
        return buttons.isEmpty() ? TMsgButton::None : buttons.first();
    }
    void ShowBalloon(const QString& title, const QString& text, int kind, QObject*) override {
        balloons.append(title + QStringLiteral("|") + text);
        lastBalloonKind = kind;
    }
    void HideBalloon() override {}

    QStringList Texts() const {
        QStringList t;
        for (const auto& m : messages)
            t << m.text;
        return t;
    }
    QString LastText() const { return messages.isEmpty() ? QString() : messages.last().text; }
    void Clear() {
        messages.clear();
        questions.clear();
        balloons.clear();
    }

    QList<TRecordedMessage> messages;
    QStringList questions;
    QStringList balloons;
    QList<TMsgButton> answers; // answers handed out to AskConfirm in order
    int lastBalloonKind = -1;

private:
    TMessageSink* previous_;
};
