#include "common/ui/BalloonHint.h"

#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>

TBalloonHint::TBalloonHint(QWidget* parent) : QFrame(parent, Qt::ToolTip | Qt::FramelessWindowHint) {
    setObjectName(QStringLiteral("BalloonHint"));
    setFrameShape(QFrame::Box);
    auto* lay = new QVBoxLayout(this);
    lay->setContentsMargins(8, 6, 8, 6);
    title_ = new QLabel(this);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    text_ = new QLabel(this);
    text_->setWordWrap(true);
    text_->setMaximumWidth(420);
    lay->addWidget(title_);
    lay->addWidget(text_);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &QWidget::hide);
}

void TBalloonHint::ShowAt(const QPoint& globalPos, const QString& title, const QString& text, bool warning,
                          bool longDisplay) {
    setStyleSheet(warning ? QStringLiteral("TBalloonHint{background:#fff4d6;border:1px solid #c98a00;}")
                          : QStringLiteral("TBalloonHint{background:#ffffe8;border:1px solid #8a8a60;}"));
    title_->setText(title);
    title_->setVisible(!title.isEmpty());
    text_->setText(QString(text).replace('\r', '\n'));
    adjustSize();
    move(globalPos);
    show();
    raise();
    timer_->start(longDisplay ? 10000 : 3000);
}

void TBalloonHint::mousePressEvent(QMouseEvent*) {
    hide();
}
