#include "platform/IconArt.h"

#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPolygonF>

#include "platform/CommandTables.h"

namespace quarrant {

namespace {

// Colours of the icon family.
const QColor kOutline(0x4A, 0x35, 0x0B);
const QColor kFolderBack(0xD9, 0xA4, 0x2E);
const QColor kFolderFront(0xF6, 0xCB, 0x5A);
const QColor kSteel(0x2A, 0x5C, 0x8E);
const QColor kSteelDark(0x17, 0x3A, 0x5E);
const QColor kPaper(0xFF, 0xFF, 0xFF);
const QColor kPaperLine(0x8A, 0x94, 0x9E);
const QColor kTableGreen(0x2F, 0x86, 0x4A);
const QColor kBlueprint(0x1D, 0x5D, 0xA6);
const QColor kBlueprintEdge(0x0D, 0x33, 0x5E);
const QColor kTrussOrange(0xF2, 0x8C, 0x28);
const QColor kRed(0xC8, 0x2A, 0x2A);
const QColor kGreen(0x2E, 0x9A, 0x3E);

QPen Pen(const QColor& colour, double width = 2.0) {
    QPen pen(colour, width);
    pen.setJoinStyle(Qt::MiterJoin);
    pen.setCapStyle(Qt::SquareCap);
    return pen;
}

QPainterPath Folder(double x, double y, double w, double h) {
    // Tab on the left, body below; points on odd units so that 2-unit lines land on pixels.
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w * 0.38, y);
    path.lineTo(x + w * 0.38 + 2, y + 2);
    path.lineTo(x + w, y + 2);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    return path;
}

// An I-section: two flanges and a web, filled.
void ISection(QPainter& p, double cx, double top, double flange, double height,
              const QColor& colour) {
    p.setPen(Qt::NoPen);
    p.setBrush(colour);
    p.drawRect(QRectF(cx - flange / 2, top, flange, 4));
    p.drawRect(QRectF(cx - 2, top + 4, 4, height - 8));
    p.drawRect(QRectF(cx - flange / 2, top + height - 4, flange, 4));
}

void PaintWorkspace(QPainter& p) {
    p.setPen(Pen(kOutline));
    p.setBrush(kFolderBack);
    p.drawPath(Folder(9, 3, 22, 16));
    p.setBrush(kFolderFront);
    p.drawPath(Folder(1, 11, 24, 18));
    ISection(p, 13, 16, 10, 11, kSteel);
}

void PaintProject(QPainter& p) {
    p.setPen(Pen(kOutline));
    p.setBrush(kFolderFront);
    p.drawPath(Folder(3, 5, 26, 22));
    ISection(p, 16, 12, 14, 12, kSteel);
}

void PaintOpenFolder(QPainter& p) {
    p.setPen(Pen(kOutline));
    p.setBrush(kFolderBack);
    p.drawPath(Folder(3, 5, 24, 22));
    QPolygonF front;
    front << QPointF(3, 27) << QPointF(9, 13) << QPointF(31, 13) << QPointF(25, 27);
    p.setBrush(kFolderFront);
    p.drawPolygon(front);
}

void PaintDocument(QPainter& p) {
    QPainterPath page;
    page.moveTo(7, 3);
    page.lineTo(21, 3);
    page.lineTo(27, 9);
    page.lineTo(27, 29);
    page.lineTo(7, 29);
    page.closeSubpath();
    p.setPen(Pen(kSteelDark));
    p.setBrush(kPaper);
    p.drawPath(page);
    p.drawPolyline(QPolygonF() << QPointF(21, 3) << QPointF(21, 9) << QPointF(27, 9));
    p.setPen(Pen(kPaperLine));
    for (int y = 13; y <= 25; y += 4) {
        p.drawLine(QPointF(11, y), QPointF(23, y));
    }
}

void PaintTable(QPainter& p) {
    p.setPen(Pen(kTableGreen.darker(140)));
    p.setBrush(kPaper);
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setPen(Qt::NoPen);
    p.setBrush(kTableGreen);
    p.drawRect(QRectF(4, 6, 24, 6));
    p.setPen(Pen(kPaperLine));
    p.drawLine(QPointF(4, 17), QPointF(28, 17));
    p.drawLine(QPointF(4, 22), QPointF(28, 22));
    p.drawLine(QPointF(11, 12), QPointF(11, 26));
    p.drawLine(QPointF(19, 12), QPointF(19, 26));
}

// A roof truss between (left, bottom) and (right, bottom) with its apex at (apexX, apexY).
void Truss(QPainter& p, double left, double right, double bottom, double apexY,
           const QColor& colour, double width) {
    const double apexX = (left + right) / 2;
    p.setPen(Pen(colour, width));
    p.setBrush(Qt::NoBrush);
    p.drawPolygon(QPolygonF() << QPointF(left, bottom) << QPointF(apexX, apexY)
                              << QPointF(right, bottom));
    auto topAt = [&](double x) {
        double t = x <= apexX ? (x - left) / (apexX - left) : (right - x) / (right - apexX);
        return bottom + (apexY - bottom) * t;
    };
    const double q1 = left + (apexX - left) / 2;
    const double q3 = apexX + (right - apexX) / 2;
    p.drawLine(QPointF(apexX, apexY), QPointF(apexX, bottom));
    p.drawLine(QPointF(q1, topAt(q1)), QPointF(q1, bottom));
    p.drawLine(QPointF(q3, topAt(q3)), QPointF(q3, bottom));
    p.drawLine(QPointF(q1, topAt(q1)), QPointF(apexX, bottom));
    p.drawLine(QPointF(q3, topAt(q3)), QPointF(apexX, bottom));
}

void PaintDrawing(QPainter& p) {
    p.setPen(Pen(kBlueprintEdge));
    p.setBrush(kBlueprint);
    p.drawRect(QRectF(3, 5, 26, 22));
    Truss(p, 7, 25, 22, 10, Qt::white, 2);
}

void PaintProgram(QPainter& p) {
    QLinearGradient ground(0, 0, 0, 32);
    ground.setColorAt(0, kSteel.lighter(115));
    ground.setColorAt(1, kSteelDark);
    p.setPen(Qt::NoPen);
    p.setBrush(ground);
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 5, 5);
    Truss(p, 4, 28, 23, 8, kTrussOrange, 2);
    p.setPen(Pen(Qt::white, 2));
    p.drawLine(QPointF(3, 27), QPointF(29, 27));
}

void PaintArt(QPainter& p, IconArt art) {
    switch (art) {
        case IconArt::kWorkspace:
            PaintWorkspace(p);
            break;
        case IconArt::kProject:
            PaintProject(p);
            break;
        case IconArt::kOpenFolder:
            PaintOpenFolder(p);
            break;
        case IconArt::kDocument:
            PaintDocument(p);
            break;
        case IconArt::kTable:
            PaintTable(p);
            break;
        case IconArt::kDrawing:
            PaintDrawing(p);
            break;
        case IconArt::kProgram:
            PaintProgram(p);
            break;
    }
}

// --- toolbar glyphs, on a 23 x 20 button -------------------------------------------------

void Floppy(QPainter& p, double x, double y, double s) {
    p.setPen(Pen(kSteelDark, 1));
    p.setBrush(kSteel);
    p.drawRect(QRectF(x + 0.5, y + 0.5, s - 1, s - 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(x + 3.5, y + 0.5, s - 7, s * 0.4));
    p.setBrush(kSteelDark.lighter(150));
    p.drawRect(QRectF(x + 3.5, y + s * 0.62, s - 7, s * 0.38 - 0.5));
}

void Magnifier(QPainter& p, int sign, bool window) {
    if (window) {
        QPen dashed(kSteelDark, 1, Qt::DashLine);
        p.setPen(dashed);
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(1.5, 1.5, 12, 10));
    }
    p.setPen(Pen(kSteelDark, 2));
    p.setBrush(QColor(0xDD, 0xEE, 0xFF));
    p.drawEllipse(QPointF(9.5, 8.5), 5.5, 5.5);
    p.drawLine(QPointF(13.5, 12.5), QPointF(18.5, 17.5));
    p.setPen(Pen(kSteelDark, 1.5));
    if (sign != 0) {
        p.drawLine(QPointF(7, 8.5), QPointF(12, 8.5));
    }
    if (sign > 0) {
        p.drawLine(QPointF(9.5, 6), QPointF(9.5, 11));
    }
}

void Arrow(QPainter& p, bool forward) {
    QPainterPath path;
    p.setPen(Pen(kGreen, 2));
    p.setBrush(Qt::NoBrush);
    if (forward) {
        path.moveTo(5, 14);
        path.cubicTo(5, 6, 14, 5, 17, 9);
        p.drawPath(path);
        p.setBrush(kGreen);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF() << QPointF(19.5, 4) << QPointF(20, 12) << QPointF(13, 10));
    } else {
        path.moveTo(18, 14);
        path.cubicTo(18, 6, 9, 5, 6, 9);
        p.drawPath(path);
        p.setBrush(kGreen);
        p.setPen(Qt::NoPen);
        p.drawPolygon(QPolygonF() << QPointF(3.5, 4) << QPointF(3, 12) << QPointF(10, 10));
    }
}

void Cross(QPainter& p, double x, double y, double s, const QColor& colour) {
    p.setPen(Pen(colour, 2.5));
    p.drawLine(QPointF(x, y), QPointF(x + s, y + s));
    p.drawLine(QPointF(x + s, y), QPointF(x, y + s));
}

void CursorArrow(QPainter& p) {
    QPolygonF arrow;
    arrow << QPointF(6, 2) << QPointF(6, 16) << QPointF(9.5, 12.5) << QPointF(12, 18)
          << QPointF(14, 17) << QPointF(11.5, 11.5) << QPointF(16, 11.5);
    p.setPen(Pen(Qt::black, 1));
    p.setBrush(Qt::white);
    p.drawPolygon(arrow);
}

void SmallSheet(QPainter& p) {
    p.setPen(Pen(kTableGreen.darker(140), 1));
    p.setBrush(kPaper);
    p.drawRect(QRectF(2.5, 2.5, 15, 14));
    p.setPen(Pen(kPaperLine, 1));
    for (double y = 6.5; y < 16; y += 3) {
        p.drawLine(QPointF(3, y), QPointF(17, y));
    }
}

void PaintCommand(QPainter& p, int id) {
    auto fitArt = [&](IconArt art) {
        p.save();
        p.translate(2.5, 1);
        p.scale(18.0 / 32.0, 18.0 / 32.0);
        PaintArt(p, art);
        p.restore();
    };
    switch (id) {
        case kCmdOpenProjectManager:
            fitArt(IconArt::kWorkspace);
            break;
        case kCmdHelpTopics: {
            p.setPen(Pen(kSteelDark, 1));
            p.setBrush(kSteel);
            p.drawEllipse(QPointF(11.5, 10), 8, 8);
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(13);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(3, 1, 17, 18), Qt::AlignCenter, QStringLiteral("?"));
            break;
        }
        case kCmdSaveSelectedProject:
        case 32919:
        case 32905:
            Floppy(p, 4, 2, 16);
            break;
        case kCmdSaveAllProjects:
            Floppy(p, 7, 1, 14);
            Floppy(p, 2, 5, 14);
            break;
        case kCmdOpenCover:
            fitArt(IconArt::kDocument);
            break;
        case kCmdDeleteNode:
            Cross(p, 6, 4, 11, kRed);
            break;
        case kCmdAddProjectItem:
            p.setPen(Pen(kGreen, 3));
            p.drawLine(QPointF(11.5, 3), QPointF(11.5, 17));
            p.drawLine(QPointF(4.5, 10), QPointF(18.5, 10));
            break;
        case 32923:
        case 32917:
            Arrow(p, false);
            break;
        case 32924:
        case 32918:
            Arrow(p, true);
            break;
        case 32965:
        case 32925: {
            p.setPen(Pen(kGreen, 2));
            p.setBrush(Qt::NoBrush);
            p.drawArc(QRectF(5, 3, 13, 13), 30 * 16, 280 * 16);
            p.setPen(Qt::NoPen);
            p.setBrush(kGreen);
            p.drawPolygon(QPolygonF() << QPointF(19, 2) << QPointF(19, 9) << QPointF(13, 6));
            break;
        }
        case 32921:
        case 32915:
            SmallSheet(p);
            p.setPen(Pen(kRed, 2.5));
            p.drawLine(QPointF(12, 14.5), QPointF(20, 14.5));
            break;
        case 32906:
            CursorArrow(p);
            break;
        case 32910:
            CursorArrow(p);
            Cross(p, 14, 11, 6, kRed);
            break;
        case 33002: {
            p.setPen(Pen(kOutline, 1));
            p.setBrush(kFolderFront);
            p.drawRect(QRectF(1.5, 7.5, 20, 6));
            for (double x = 4.5; x < 21; x += 3) {
                p.drawLine(QPointF(x, 7.5), QPointF(x, x == 10.5 || x == 16.5 ? 11.5 : 10));
            }
            break;
        }
        case 32930: {
            p.setPen(Pen(kSteelDark, 2));
            p.drawLine(QPointF(11.5, 2), QPointF(11.5, 18));
            p.drawLine(QPointF(3, 10), QPointF(20, 10));
            p.setPen(Qt::NoPen);
            p.setBrush(kSteelDark);
            p.drawPolygon(QPolygonF() << QPointF(11.5, 0.5) << QPointF(8.5, 4) << QPointF(14.5, 4));
            p.drawPolygon(QPolygonF()
                          << QPointF(11.5, 19.5) << QPointF(8.5, 16) << QPointF(14.5, 16));
            p.drawPolygon(QPolygonF() << QPointF(1.5, 10) << QPointF(5, 7) << QPointF(5, 13));
            p.drawPolygon(QPolygonF() << QPointF(21.5, 10) << QPointF(18, 7) << QPointF(18, 13));
            break;
        }
        case 32943: {
            p.setPen(Pen(kBlueprintEdge, 1));
            p.setBrush(kBlueprint);
            p.drawRect(QRectF(4.5, 4.5, 14, 11));
            Truss(p, 6.5, 16.5, 13.5, 7, Qt::white, 1);
            break;
        }
        case 33050: {
            // 显示未算量图元: a blueprint whose left half (the counted part) is greyed.
            p.setPen(Pen(kBlueprintEdge, 1));
            p.setBrush(kBlueprint);
            p.drawRect(QRectF(3.5, 3.5, 16, 13));
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(0x80, 0x86, 0x8E));
            p.drawRect(QRectF(4, 4, 7.5, 12));
            Truss(p, 5.5, 15.5, 12.5, 7, Qt::white, 1);
            break;
        }
        case 32927:
            Magnifier(p, 0, false);
            p.setPen(Pen(kRed, 1));
            p.drawLine(QPointF(19.5, 2), QPointF(19.5, 8));
            break;
        case 32908:
        case 32991:
            Magnifier(p, 1, false);
            break;
        case 32909:
        case 32990:
            Magnifier(p, -1, false);
            break;
        case 32907:
            Magnifier(p, 0, true);
            break;
        case 32984: {
            p.setPen(Pen(Qt::black, 1));
            p.setBrush(kPaper);
            p.drawRect(QRectF(6.5, 1.5, 10, 7));
            p.setBrush(QColor(0x9A, 0xA3, 0xAD));
            p.drawRect(QRectF(2.5, 7.5, 18, 7));
            p.setBrush(kPaper);
            p.drawRect(QRectF(6.5, 12.5, 10, 6));
            break;
        }
        case 32992:
        case 32993: {
            p.setPen(Qt::NoPen);
            p.setBrush(kSteelDark);
            if (id == 32992) {
                p.drawPolygon(QPolygonF() << QPointF(6, 10) << QPointF(16, 3) << QPointF(16, 17));
            } else {
                p.drawPolygon(QPolygonF() << QPointF(17, 10) << QPointF(7, 3) << QPointF(7, 17));
            }
            break;
        }
        case 33012:
            SmallSheet(p);
            Cross(p, 12, 9, 8, kRed);
            break;
        case 33040:
        case 33041: {
            // A sheet with a tag: green "X" for a workbook, red "P" for a PDF file.
            SmallSheet(p);
            p.setPen(Qt::NoPen);
            p.setBrush(id == 33040 ? kTableGreen : kRed);
            p.drawRect(QRectF(10, 8, 12, 11));
            QFont font(QStringLiteral("DejaVu Sans"));
            font.setPixelSize(10);
            font.setBold(true);
            p.setFont(font);
            p.setPen(Qt::white);
            p.drawText(QRectF(10, 8, 12, 11), Qt::AlignCenter,
                       id == 33040 ? QStringLiteral("X") : QStringLiteral("P"));
            break;
        }
        default:
            break;
    }
}

}  // namespace

const char* IconFileName(IconArt art) {
    switch (art) {
        case IconArt::kWorkspace:
            return "11.ico";
        case IconArt::kProject:
            return "21.ico";
        case IconArt::kOpenFolder:
            return "31.ico";
        case IconArt::kDocument:
            return "41.ico";
        case IconArt::kTable:
            return "51.ico";
        case IconArt::kDrawing:
            return "71.ico";
        case IconArt::kProgram:
            return nullptr;
    }
    return nullptr;
}

QImage PaintIconArt(IconArt art, int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    PaintArt(painter, art);
    painter.end();
    return image;
}

QIcon ProgramIcon() {
    QIcon icon;
    for (int size : {16, 32, 48}) {
        icon.addPixmap(QPixmap::fromImage(PaintIconArt(IconArt::kProgram, size)));
    }
    return icon;
}

QIcon ListImage(int index) {
    static const IconArt kArts[12] = {
        IconArt::kProgram,  IconArt::kWorkspace, IconArt::kProject, IconArt::kOpenFolder,
        IconArt::kDocument, IconArt::kDocument,  IconArt::kTable,   IconArt::kTable,
        IconArt::kTable,    IconArt::kDocument,  IconArt::kDrawing, IconArt::kDrawing,
    };
    if (index < 0 || index >= 12) {
        return QIcon();
    }
    return QIcon(QPixmap::fromImage(PaintIconArt(kArts[index], 32)));
}

QIcon CommandIcon(int commandId) {
    QImage image(kToolBarButtonWidth, kToolBarButtonHeight, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    PaintCommand(painter, commandId);
    painter.end();
    return QIcon(QPixmap::fromImage(image));
}

}  // namespace quarrant
