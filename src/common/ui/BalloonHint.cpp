#include "common/ui/BalloonHint.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>
#include <QTimer>

namespace {
constexpr int kTail = 10;   // height of the tail
constexpr int kRadius = 7;  // corner radius of the bubble
constexpr int kMargin = 10; // text margin inside the bubble

QPixmap KindPixmap(bool warning) {
    QPixmap pm(18, 18);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(12);
    p.setFont(f);
    if (warning) {
        p.setPen(QPen(QColor(0xb3, 0x7a, 0x00), 1));
        p.setBrush(QColor(0xf5, 0xb8, 0x2e));
        p.drawPolygon(QPolygonF({QPointF(9, 1), QPointF(17, 16.5), QPointF(1, 16.5)}));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, 4, 18, 13), Qt::AlignCenter, QStringLiteral("!"));
    } else {
        p.setPen(QPen(QColor(0x1f, 0x5a, 0x9e), 1));
        p.setBrush(QColor(0x2f, 0x6d, 0xb5));
        p.drawEllipse(QRectF(1, 1, 16, 16));
        p.setPen(Qt::white);
        p.drawText(QRectF(1, 1, 16, 16), Qt::AlignCenter, QStringLiteral("i"));
    }
    return pm;
}
} // namespace

TBalloonHint::TBalloonHint(QWidget* parent)
    : QWidget(parent, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("BalloonHint"));
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    auto* lay = new QGridLayout(this);
    lay->setHorizontalSpacing(6);
    lay->setVerticalSpacing(3);
    icon_ = new QLabel(this);
    title_ = new QLabel(this);
    QFont f = title_->font();
    f.setBold(true);
    title_->setFont(f);
    text_ = new QLabel(this);
    text_->setWordWrap(true);
    text_->setMaximumWidth(380);
    lay->addWidget(icon_, 0, 0, Qt::AlignTop);
    lay->addWidget(title_, 0, 1);
    lay->addWidget(text_, 1, 1);
    timer_ = new QTimer(this);
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, &QWidget::hide);
}

QString TBalloonHint::Title() const {
    return title_->text();
}
QString TBalloonHint::Text() const {
    return text_->text();
}

void TBalloonHint::ShowAt(const QPoint& globalPos, const QString& title, const QString& text, bool warning,
                          bool longDisplay) {
    warning_ = warning;
    icon_->setPixmap(KindPixmap(warning));
    title_->setText(title);
    title_->setVisible(!title.isEmpty());
    text_->setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace('\r', '\n'));

    // The bubble hangs below the point unless that leaves the screen; the tail follows the point.
    const QScreen* screen = QGuiApplication::screenAt(globalPos);
    if (!screen) screen = QGuiApplication::primaryScreen();
    const QRect avail = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 14, 1 << 14);
    layout()->setContentsMargins(kMargin, kMargin + kTail, kMargin, kMargin);
    adjustSize();
    tailUp_ = globalPos.y() + height() <= avail.bottom();
    layout()->setContentsMargins(kMargin, kMargin + (tailUp_ ? kTail : 0), kMargin,
                                 kMargin + (tailUp_ ? 0 : kTail));
    adjustSize();
    int left = globalPos.x() - 18;
    left = qBound(avail.left(), left, qMax(avail.left(), avail.right() - width()));
    tailX_ = qBound(kRadius + 4, globalPos.x() - left, width() - kRadius - 14);
    const int top = tailUp_ ? globalPos.y() : globalPos.y() - height();
    move(left, top);
    show();
    raise();
    update();
    timer_->start(longDisplay ? 10000 : 3000);
}

void TBalloonHint::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF body =
        QRectF(rect()).adjusted(0.5, tailUp_ ? kTail + 0.5 : 0.5, -0.5, tailUp_ ? -0.5 : -kTail - 0.5);
    QPainterPath path;
    path.addRoundedRect(body, kRadius, kRadius);
    QPainterPath tail;
    if (tailUp_) {
        tail.moveTo(tailX_, 0.5);
        tail.lineTo(tailX_ + 4, body.top() + 1);
        tail.lineTo(tailX_ + 14, body.top() + 1);
    } else {
        tail.moveTo(tailX_, height() - 0.5);
        tail.lineTo(tailX_ + 4, body.bottom() - 1);
        tail.lineTo(tailX_ + 14, body.bottom() - 1);
    }
    tail.closeSubpath();
    path = path.united(tail);
    p.setPen(QPen(warning_ ? QColor(0xc9, 0x8a, 0x00) : QColor(0x76, 0x86, 0x9a), 1));
    p.setBrush(warning_ ? QColor(0xff, 0xf6, 0xdc) : QColor(0xff, 0xff, 0xf0));
    p.drawPath(path);
}

void TBalloonHint::mousePressEvent(QMouseEvent*) {
    hide();
}
