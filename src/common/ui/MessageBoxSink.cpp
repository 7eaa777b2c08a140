#include "common/ui/MessageBoxSink.h"

#include "common/ui/BalloonHint.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCursor>
#include <QMessageBox>
#include <QPushButton>

QString MessageDisplayText(const QString& text) {
    return QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n');
}

TMessageBoxSink::TMessageBoxSink() = default;
TMessageBoxSink::~TMessageBoxSink() {
    delete balloon_;
}

void TMessageBoxSink::ShowMessage(TMsgKind kind, const QString& caption, const QString& text) {
    QMessageBox box(kind == TMsgKind::Error     ? QMessageBox::Critical
                    : kind == TMsgKind::Warning ? QMessageBox::Warning
                                                : QMessageBox::Information,
                    caption, MessageDisplayText(text), QMessageBox::NoButton, QApplication::activeWindow());
    box.addButton(ButtonText(TMsgButton::Ok), QMessageBox::AcceptRole);
    box.setWindowFlag(Qt::WindowStaysOnTopHint, kind == TMsgKind::Error);
    box.exec();
}

TMsgButton TMessageBoxSink::Ask(const QString& caption, const QString& text,
                                const QList<TMsgButton>& buttons) {
    QApplication::beep();
    QMessageBox box(QMessageBox::Question, caption, MessageDisplayText(text), QMessageBox::NoButton,
                    QApplication::activeWindow());
    QList<QPair<QAbstractButton*, TMsgButton>> map;
    for (TMsgButton b : buttons) {
        const auto role = b == TMsgButton::Yes || b == TMsgButton::Ok ? QMessageBox::YesRole
                          : b == TMsgButton::No                       ? QMessageBox::NoRole
                                                                      : QMessageBox::RejectRole;
        map.append({box.addButton(ButtonText(b), role), b});
    }
    box.exec();
    for (const auto& [button, value] : map)
        if (box.clickedButton() == button) return value;
    return buttons.contains(TMsgButton::Cancel) ? TMsgButton::Cancel : TMsgButton::None;
}

void TMessageBoxSink::ShowBalloon(const QString& title, const QString& text, int kind, QObject* control) {
    if (!balloon_) balloon_ = new TBalloonHint();
    auto* w = qobject_cast<QWidget*>(control);
    QPoint pos = QCursor::pos();
    if (w) {
        switch (kind) {
        case 1:
            pos = w->mapToGlobal(QPoint(0, 0));
            break;
        case 2:
            if (auto* view = qobject_cast<QAbstractItemView*>(w); view && view->currentIndex().isValid()) {
                const QRect r = view->visualRect(view->currentIndex());
                pos = view->viewport()->mapToGlobal(r.bottomLeft());
            } else {
                pos = w->mapToGlobal(QPoint(0, w->height()));
            }
            break;
        case 3:
            pos = w->mapToGlobal(w->rect().center());
            break;
        case 4:
            pos = w->mapToGlobal(QPoint(w->width() / 2, 0));
            break;
        default:
            break;
        }
    }
    balloon_->ShowAt(pos, title, text, kind == 2 || kind == 3, kind != 0);
}

void TMessageBoxSink::HideBalloon() {
    if (balloon_) balloon_->hide();
}
