#include "ui/resources/program_art.h"

#include <QPainter>
#include <QPainterPath>

QPixmap ProgramIconPixmap(int size) {
    QPixmap pixmap(size, size);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 64.0, size / 64.0);
    // Night sky with rounded corners.
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(16, 24, 56));
    p.drawRoundedRect(QRectF(2, 2, 60, 60), 10, 10);
    // Stars.
    p.setBrush(QColor(255, 255, 230));
    const QPointF stars[] = {{14, 46}, {22, 18}, {44, 50}, {52, 28}, {33, 36}};
    const qreal radii[] = {2.6, 2.0, 1.8, 2.4, 1.4};
    for (int i = 0; i < 5; ++i) p.drawEllipse(stars[i], radii[i], radii[i]);
    // The meteor: a tapering streak from the upper right down to the left,
    // cut into breaks as a rotating shutter cuts a photographed trail.
    const QPointF head(18, 40), tail(58, 6);
    for (int k = 0; k < 6; ++k) {
        const qreal t0 = k / 6.0 + 0.02, t1 = (k + 1) / 6.0 - 0.03;
        const QPointF a = tail + (head - tail) * t0, b = tail + (head - tail) * t1;
        QPen pen(QColor(255, 210 - 12 * k, 120), 1.2 + 0.6 * k, Qt::SolidLine, Qt::RoundCap);
        p.setPen(pen);
        p.drawLine(a, b);
    }
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255));
    p.drawEllipse(head, 3.2, 3.2);
    return pixmap;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64, 128}) icon.addPixmap(ProgramIconPixmap(size));
    return icon;
}

QCursor RingCursor() {
    // A black ring inside a white one, so it shows on dark and bright sky.
    constexpr int kSize = 32, kCentre = 15;
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(Qt::white, 3));
    p.drawEllipse(QPoint(kCentre, kCentre), 7, 7);
    p.setPen(QPen(Qt::black, 1));
    p.drawEllipse(QPoint(kCentre, kCentre), 7, 7);
    p.end();
    return QCursor(pixmap, kCentre, kCentre);
}
