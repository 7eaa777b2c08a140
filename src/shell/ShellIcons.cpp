#include "shell/ShellIcons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x33, 0x3d, 0x4a);

void Page(QPainter& p, const QRectF& r, const QColor& fill = Qt::white) {
    QPainterPath path;
    const qreal fold = r.width() * 0.3;
    path.moveTo(r.left(), r.top());
    path.lineTo(r.right() - fold, r.top());
    path.lineTo(r.right(), r.top() + fold);
    path.lineTo(r.right(), r.bottom());
    path.lineTo(r.left(), r.bottom());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1.4));
    p.setBrush(fill);
    p.drawPath(path);
    QPainterPath corner;
    corner.moveTo(r.right() - fold, r.top());
    corner.lineTo(r.right() - fold, r.top() + fold);
    corner.lineTo(r.right(), r.top() + fold);
    p.drawPath(corner);
}

void Lines(QPainter& p, const QRectF& r, int n) {
    p.setPen(QPen(QColor(0x8a, 0x96, 0xa6), 1.4));
    for (int i = 0; i < n; ++i) {
        const qreal y = r.top() + r.height() * (0.45 + 0.14 * i);
        p.drawLine(QPointF(r.left() + r.width() * 0.18, y), QPointF(r.right() - r.width() * 0.18, y));
    }
}

void Folder(QPainter& p, const QRectF& r, const QColor& c) {
    QPainterPath back;
    back.moveTo(r.left(), r.top() + r.height() * 0.15);
    back.lineTo(r.left() + r.width() * 0.38, r.top() + r.height() * 0.15);
    back.lineTo(r.left() + r.width() * 0.48, r.top() + r.height() * 0.28);
    back.lineTo(r.right(), r.top() + r.height() * 0.28);
    back.lineTo(r.right(), r.bottom());
    back.lineTo(r.left(), r.bottom());
    back.closeSubpath();
    p.setPen(QPen(c.darker(160), 1.4));
    p.setBrush(c.darker(115));
    p.drawPath(back);
    QPainterPath front;
    front.moveTo(r.left() + r.width() * 0.1, r.top() + r.height() * 0.42);
    front.lineTo(r.right() + r.width() * 0.04, r.top() + r.height() * 0.42);
    front.lineTo(r.right() - r.width() * 0.06, r.bottom());
    front.lineTo(r.left(), r.bottom());
    front.closeSubpath();
    p.setBrush(c);
    p.drawPath(front);
}

void Badge(QPainter& p, const QPointF& centre, qreal radius, const QColor& c, const QString& text) {
    p.setPen(QPen(c.darker(150), 1.2));
    p.setBrush(c);
    p.drawEllipse(centre, radius, radius);
    QFont f(QStringLiteral("DejaVu Sans"));
    f.setBold(true);
    f.setPixelSize(int(radius * 1.45));
    p.setFont(f);
    p.setPen(Qt::white);
    p.drawText(QRectF(centre.x() - radius, centre.y() - radius, radius * 2, radius * 2), Qt::AlignCenter,
               text);
}

void Tick(QPainter& p, const QRectF& r, const QColor& c) {
    QPainterPath t;
    t.moveTo(r.left(), r.top() + r.height() * 0.55);
    t.lineTo(r.left() + r.width() * 0.38, r.bottom());
    t.lineTo(r.right(), r.top());
    p.setPen(QPen(c, r.width() * 0.22, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::NoBrush);
    p.drawPath(t);
}

QPixmap Draw(TShellIcon which, int size) {
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    const QColor green(0x2e, 0x8b, 0x57), blue(0x2f, 0x6d, 0xb5), amber(0xe8, 0xb0, 0x3a),
        red(0xc0, 0x39, 0x2b);
    switch (which) {
    case TShellIcon::None:
        break;
    case TShellIcon::App: {
        p.setPen(QPen(green.darker(140), 1.5));
        p.setBrush(QColor(0xd8, 0xee, 0xc8));
        QPolygonF plot({QPointF(4, 10), QPointF(18, 4), QPointF(28, 12), QPointF(24, 27), QPointF(7, 25)});
        p.drawPolygon(plot);
        Badge(p, QPointF(21, 21), 8, green, QStringLiteral("₴"));
        break;
    }
    case TShellIcon::NewValuation:
        Page(p, QRectF(5, 3, 19, 25));
        Lines(p, QRectF(5, 3, 19, 25), 3);
        Badge(p, QPointF(23, 23), 7.5, green, QStringLiteral("+"));
        break;
    case TShellIcon::Open:
        Folder(p, QRectF(3, 5, 26, 22), amber);
        break;
    case TShellIcon::OpenView:
        Folder(p, QRectF(3, 5, 24, 20), QColor(0x9d, 0xb8, 0xd6));
        Badge(p, QPointF(23, 23), 7, blue, QStringLiteral("i"));
        break;
    case TShellIcon::Save: {
        p.setPen(QPen(blue.darker(150), 1.4));
        p.setBrush(blue);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2.5, 2.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.setBrush(QColor(0xdd, 0xe6, 0xf2));
        p.drawRect(QRectF(8, 17, 16, 11));
        break;
    }
    case TShellIcon::Valuation:
        Page(p, QRectF(4, 3, 19, 25));
        Lines(p, QRectF(4, 3, 19, 25), 3);
        Badge(p, QPointF(23, 22), 8, amber.darker(115), QStringLiteral("₴"));
        break;
    case TShellIcon::Check:
        Page(p, QRectF(4, 3, 19, 25));
        Lines(p, QRectF(4, 3, 19, 25), 3);
        Tick(p, QRectF(16, 15, 13, 12), green);
        break;
    case TShellIcon::Database: {
        p.setPen(QPen(blue.darker(150), 1.4));
        for (int i = 2; i >= 0; --i) {
            p.setBrush(i == 0 ? blue.lighter(130) : blue);
            p.drawRoundedRect(QRectF(6, 6 + i * 7, 20, 8), 10, 4);
        }
        break;
    }
    case TShellIcon::Exit: {
        p.setPen(QPen(kInk, 1.4));
        p.setBrush(QColor(0xe9, 0xe2, 0xd3));
        p.drawRect(QRectF(6, 4, 14, 24));
        p.setPen(QPen(red, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 16), QPointF(28, 16));
        p.drawLine(QPointF(23, 11), QPointF(28, 16));
        p.drawLine(QPointF(23, 21), QPointF(28, 16));
        break;
    }
    case TShellIcon::Codifier: {
        p.setPen(QPen(QColor(0x7a, 0x4a, 0x1e), 1.4));
        p.setBrush(QColor(0xb8, 0x73, 0x33));
        p.drawRoundedRect(QRectF(6, 3, 20, 26), 2, 2);
        p.setBrush(QColor(0xf7, 0xef, 0xe0));
        p.drawRect(QRectF(9, 6, 14, 20));
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setBold(true);
        f.setPixelSize(9);
        p.setFont(f);
        p.setPen(QColor(0x7a, 0x4a, 0x1e));
        p.drawText(QRectF(9, 6, 14, 20), Qt::AlignCenter, QStringLiteral("UA"));
        break;
    }
    case TShellIcon::Guid:
        Badge(p, QPointF(16, 16), 12, QColor(0x6c, 0x5c, 0xa8), QStringLiteral("#"));
        break;
    case TShellIcon::Precision: {
        p.setPen(QPen(red, 1.8));
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(16, 16), 10, 10);
        p.drawEllipse(QPointF(16, 16), 4, 4);
        p.drawLine(QPointF(16, 2), QPointF(16, 9));
        p.drawLine(QPointF(16, 23), QPointF(16, 30));
        p.drawLine(QPointF(2, 16), QPointF(9, 16));
        p.drawLine(QPointF(23, 16), QPointF(30, 16));
        break;
    }
    case TShellIcon::Organisations: {
        p.setPen(QPen(kInk, 1.2));
        p.setBrush(QColor(0x9d, 0xb8, 0xd6));
        p.drawEllipse(QPointF(11, 10), 5, 5);
        p.drawRoundedRect(QRectF(4, 16, 14, 12), 5, 5);
        p.setBrush(QColor(0x6f, 0x95, 0xc2));
        p.drawEllipse(QPointF(22, 11), 5, 5);
        p.drawRoundedRect(QRectF(15, 17, 14, 12), 5, 5);
        break;
    }
    case TShellIcon::Help:
        Badge(p, QPointF(16, 16), 12, blue, QStringLiteral("?"));
        break;
    case TShellIcon::Update: {
        p.setPen(QPen(green, 3.2, Qt::SolidLine, Qt::RoundCap));
        p.setBrush(Qt::NoBrush);
        p.drawArc(QRectF(6, 6, 20, 20), 60 * 16, 280 * 16);
        p.setBrush(green);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF({QPointF(19, 2), QPointF(27, 8), QPointF(18, 11)}));
        break;
    }
    }
    return pm;
}

} // namespace

QIcon ShellIcon(TShellIcon which) {
    if (which == TShellIcon::None) return QIcon();
    QIcon icon;
    for (int s : {16, 22, 24, 32, 48})
        icon.addPixmap(Draw(which, s));
    return icon;
}
