#include "desktop/tool_bar_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <functional>

namespace brennix {
namespace {

constexpr int kCanvas = 64;
const QColor kInk(0x2b, 0x3a, 0x4a);
const QColor kAccent(0xe0, 0x8a, 0x00);

using Drawing = std::function<void(QPainter&)>;

QIcon Draw(const Drawing& drawing) {
    QIcon icon;
    for (const int size : {16, 24, 32, 48, 64}) {
        QPixmap pixmap(size, size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.scale(size / double(kCanvas), size / double(kCanvas));
        drawing(painter);
        painter.end();
        icon.addPixmap(pixmap);
    }
    return icon;
}

void DrawPlug(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(kInk);
    p.drawRect(QRectF(22, 6, 5, 14));  // prongs
    p.drawRect(QRectF(37, 6, 5, 14));
    p.drawRoundedRect(QRectF(14, 18, 36, 20), 4, 4);  // body
    QPainterPath neck;
    neck.moveTo(18, 38);
    neck.lineTo(46, 38);
    neck.lineTo(38, 48);
    neck.lineTo(26, 48);
    neck.closeSubpath();
    p.drawPath(neck);
    p.setPen(QPen(kInk, 5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath cable;
    cable.moveTo(32, 48);
    cable.cubicTo(32, 58, 46, 56, 54, 60);
    p.drawPath(cable);
}

void DrawSpark(QPainter& p) {
    QPainterPath bolt;
    bolt.moveTo(38, 4);
    bolt.lineTo(14, 36);
    bolt.lineTo(30, 36);
    bolt.lineTo(24, 60);
    bolt.lineTo(50, 24);
    bolt.lineTo(34, 24);
    bolt.closeSubpath();
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(kAccent);
    p.drawPath(bolt);
}

void DrawLetters(QPainter& p) {
    QFont font("DejaVu Sans", 10, QFont::Bold);
    p.setPen(kInk);
    font.setPixelSize(40);
    p.setFont(font);
    p.drawText(QRectF(0, 4, 38, 56), Qt::AlignLeft | Qt::AlignBottom, "A");
    font.setPixelSize(24);
    p.setFont(font);
    p.drawText(QRectF(34, 4, 30, 52), Qt::AlignLeft | Qt::AlignBottom, "a");
}

void DrawQuestionMark(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2f, 0x6f, 0xb5));
    p.drawEllipse(QRectF(4, 4, 56, 56));
    QFont font("DejaVu Sans", 10, QFont::Bold);
    font.setPixelSize(40);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRectF(4, 4, 56, 56), Qt::AlignCenter, "?");
}

void DrawPrompt(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::black);
    p.drawRoundedRect(QRectF(2, 6, 60, 52), 8, 8);
    p.setPen(QPen(QColor(255, 255, 0), 6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.drawPolyline(QPolygonF({QPointF(14, 20), QPointF(28, 32), QPointF(14, 44)}));
    p.drawLine(QPointF(34, 44), QPointF(50, 44));
}

}  // namespace

QIcon ToolBarIcon(ToolBarImage image) {
    switch (image) {
        case ToolBarImage::kPlug:
            return Draw(DrawPlug);
        case ToolBarImage::kSpark:
            return Draw(DrawSpark);
        case ToolBarImage::kLetters:
            return Draw(DrawLetters);
        case ToolBarImage::kQuestionMark:
            return Draw(DrawQuestionMark);
    }
    return {};
}

QIcon ApplicationIcon() {
    return Draw(DrawPrompt);
}

}  // namespace brennix
