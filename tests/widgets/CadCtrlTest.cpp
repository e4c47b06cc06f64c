// The CAD control on the offscreen platform: picking by click, window and crossing with the
// mouse, the Ctrl toggle, snapping, the popup menu and its commands, the middle-button pan,
// the zoom limit on the keys, and the pixels it paints.

#include <QAction>
#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <QThread>
#include <QWheelEvent>

#include <cmath>
#include <memory>
#include <numbers>
#include <random>

#include <QDir>
#include <QFileInfo>

#include "base/GbkText.h"
#include "cad/ColorTable.h"
#include "cad/LoadDxf.h"
#include "cad/widgets/CadCtrl.h"
#include "cad/widgets/SetXianDlg.h"
#include "platform/ModalDialog.h"
#include "platform/QtText.h"

using namespace quarrant;

namespace {

CCadEntity Line(int identifier, double x1, double y1, double x2, double y2) {
    CCadEntity e = MakeEntity<CCadLine>(kCadLine);
    auto* line = e.As<CCadLine>();
    line->identifier = identifier;
    line->startX = x1;
    line->startY = y1;
    line->endX = x2;
    line->endY = y2;
    return e;
}

std::unique_ptr<CCadDrawing> EmptyDrawing() {
    auto drawing = std::make_unique<CCadDrawing>();
    drawing->minX = drawing->minY = 0.0;
    drawing->maxX = drawing->maxY = 1000.0;
    return drawing;
}

void SendMouse(QWidget* target, QEvent::Type type, QPoint pos, Qt::MouseButton button,
               Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QMouseEvent event(type, QPointF(pos), target->mapToGlobal(QPointF(pos)), button, buttons,
                      modifiers);
    QApplication::sendEvent(target, &event);
}

void SendKey(QWidget* target, QEvent::Type type, int key,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(type, key, modifiers);
    QApplication::sendEvent(target, &event);
}

// The pixel as red, green, blue.
struct Rgb {
    int r, g, b;
};
Rgb PixelAt(const QImage& image, int x, int y) {
    const QColor c = QColor::fromRgb(image.pixel(x, y));
    return Rgb{c.red(), c.green(), c.blue()};
}
bool Near(Rgb a, Rgb b, int tolerance = 1) {
    return std::abs(a.r - b.r) <= tolerance && std::abs(a.g - b.g) <= tolerance &&
           std::abs(a.b - b.b) <= tolerance;
}
bool IsBlack(Rgb c) {
    return c.r == 0 && c.g == 0 && c.b == 0;
}
// Whether a pixel within one of (x, y) is lit.
bool LitNear(const QImage& image, int x, int y) {
    for (int dy = -1; dy <= 1; ++dy) {
        for (int dx = -1; dx <= 1; ++dx) {
            if (!IsBlack(PixelAt(image, x + dx, y + dy))) {
                return true;
            }
        }
    }
    return false;
}

QAction* ActionOf(QMenu& menu, int command) {
    for (QAction* action : menu.actions()) {
        if (action->data().isValid() && action->data().toInt() == command) {
            return action;
        }
    }
    return nullptr;
}

}  // namespace

class CadCtrlTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<CCadFile> m_file;
    CCadCtrl* m_ctrl = nullptr;

    QWidget* Viewport() { return m_ctrl->viewport(); }

    void Attach() {
        m_ctrl->SetFile(m_file.get());
        m_ctrl->Interaction().View().SetScale(1.0);
        m_ctrl->Interaction().View().SetOffsets(0, 0);
    }

    void Move(QPoint p, Qt::MouseButtons buttons = Qt::NoButton) {
        SendMouse(Viewport(), QEvent::MouseMove, p, Qt::NoButton, buttons);
    }
    void Click(QPoint p, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        Move(p);
        SendMouse(Viewport(), QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton,
                  modifiers);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton,
                  modifiers);
    }
    void Drag(QPoint from, QPoint to) {
        Move(from);
        SendMouse(Viewport(), QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        Move(to, Qt::LeftButton);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    void RightClickChoosing(int command, std::vector<int>* offered = nullptr) {
        CCadCtrl::SetPopupHandler([command, offered](QMenu& menu) -> QAction* {
            if (offered != nullptr) {
                offered->clear();
                for (QAction* action : menu.actions()) {
                    offered->push_back(action->isSeparator() ? 0 : action->data().toInt());
                }
            }
            return ActionOf(menu, command);
        });
        SendMouse(Viewport(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton,
                  Qt::RightButton);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, QPoint(5, 5), Qt::RightButton,
                  Qt::NoButton);
        CCadCtrl::SetPopupHandler(nullptr);
    }
    std::vector<int> Selected() const {
        std::vector<int> ids;
        for (const CCadEntity& e : m_ctrl->Selection().Entities()) {
            ids.push_back(e.record->identifier);
        }
        return ids;
    }
    QImage Render() {
        QImage image;
        m_ctrl->RenderClient(image);
        return image;
    }

private slots:
    void init() {
        m_file = std::make_unique<CCadFile>();
        m_file->drawing = EmptyDrawing();
        m_ctrl = new CCadCtrl();
        m_ctrl->resize(420, 320);
        m_ctrl->SetCursorWarping(false);
        m_ctrl->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_ctrl));
    }

    void cleanup() {
        delete m_ctrl;
        m_ctrl = nullptr;
        m_file.reset();
        SetModalHandler(nullptr);
        CCadCtrl::SetPopupHandler(nullptr);
    }

    void windowWithoutAFileIsBlack() {
        const QImage image = Render();
        QVERIFY(!image.isNull());
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                QVERIFY2(IsBlack(PixelAt(image, x, y)), "a pixel is not black");
            }
        }
        // Zooms without a file change nothing harmful.
        m_ctrl->ZoomToFit();
        m_ctrl->ZoomInCentre();
        QVERIFY(std::isfinite(m_ctrl->Scale()));
    }

    void clickSelectsAndCtrlClickDeselects() {
        m_file->drawing->AddEntity(Line(1, 50, 50, 200, 50));
        Attach();
        Click(QPoint(120, 51));
        QCOMPARE(Selected(), std::vector<int>{1});
        Click(QPoint(120, 49));
        QCOMPARE(Selected(), std::vector<int>{1});
        Click(QPoint(120, 50), Qt::ControlModifier);
        QVERIFY(Selected().empty());
        // The Ctrl key held down works as well.
        Click(QPoint(120, 50));
        SendKey(m_ctrl, QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        QVERIFY(m_ctrl->Interaction().Toggle());
        Click(QPoint(120, 50));
        SendKey(m_ctrl, QEvent::KeyRelease, Qt::Key_Control);
        QVERIFY(!m_ctrl->Interaction().Toggle());
        QVERIFY(Selected().empty());
    }

    void windowSelectsInsideAndCrossingAlsoTouched() {
        m_file->drawing->AddEntity(Line(1, 60, 60, 90, 60));
        m_file->drawing->AddEntity(Line(2, 90, 90, 300, 90));
        Attach();
        Drag(QPoint(50, 50), QPoint(150, 150));
        QCOMPARE(Selected(), std::vector<int>{1});
        m_ctrl->ClearSelection();
        Drag(QPoint(150, 150), QPoint(50, 50));
        QCOMPARE(Selected(), (std::vector<int>{1, 2}));
    }

    void dragOfThreePixelsIsAClick() {
        m_file->drawing->AddEntity(Line(1, 102, 0, 102, 250));
        Attach();
        Drag(QPoint(100, 100), QPoint(103, 103));
        QCOMPARE(Selected(), std::vector<int>{1});
        m_ctrl->ClearSelection();
        Drag(QPoint(100, 100), QPoint(104, 100));
        QVERIFY(Selected().empty());
    }

    void snappingTakesTheFirstCandidateOfTheSelection() {
        m_file->drawing->AddEntity(Line(1, 100, 100, 200, 100));
        m_file->drawing->AddEntity(Line(2, 102, 101, 250, 250));
        Attach();
        QVERIFY(m_ctrl->SelectById(2));
        QVERIFY(m_ctrl->SelectById(1));
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(101, 101));
        QCOMPARE(m_ctrl->CurrentPath().points.size(), std::size_t{1});
        QCOMPARE(m_ctrl->CurrentPath().points[0].x, 102.0);
        QCOMPARE(m_ctrl->CurrentPath().points[0].y, 101.0);
        // Nothing selected: the raw cursor position.
        m_ctrl->ClearSelection();
        Click(QPoint(101, 103));
        QCOMPARE(m_ctrl->CurrentPath().points.back().x, 101.0);
        QCOMPARE(m_ctrl->CurrentPath().points.back().y, 103.0);
    }

    void snapPutsTheCursorOnTheSnappedPixel() {
        m_file->drawing->AddEntity(Line(1, 100, 100, 200, 100));
        Attach();
        m_ctrl->SetCursorWarping(true);
        m_ctrl->SelectById(1);
        m_ctrl->SetMode(kModeMeasurePath);
        Move(QPoint(101, 102));
        QCOMPARE(QCursor::pos(), Viewport()->mapToGlobal(QPoint(100, 100)));
        QApplication::processEvents();
        QVERIFY(m_ctrl->Interaction().SnapValid());
    }

    void confirmWithOnePointConfirmsNothing() {
        Attach();
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(10, 10));
        std::vector<int> offered;
        RightClickChoosing(kCmdConfirm, &offered);
        QCOMPARE(offered,
                 (std::vector<int>{kCmdExit, kCmdConfirm, kCmdClearAll, kCmdClearMeasurements, 0,
                                   kCmdWindowZoom, kCmdRealTimeZoom, kCmdZoomIn, kCmdZoomOut,
                                   kCmdMove, kCmdMeasure, 0}));
        QVERIFY(m_ctrl->ConfirmedPaths().empty());
        QCOMPARE(m_ctrl->Mode(), int(kModeMeasurePath));
        Click(QPoint(30, 40));
        QCOMPARE(m_ctrl->CurrentPath().points.size(), std::size_t{1});
        QCOMPARE(m_ctrl->CurrentPath().points[0].x, 30.0);
        Click(QPoint(60, 40));
        RightClickChoosing(kCmdConfirm);
        QCOMPARE(m_ctrl->ConfirmedPaths().size(), std::size_t{1});
    }

    void popupTextsAreShownInChinese() {
        Attach();
        m_ctrl->SetMode(kModeMeasurePath);
        m_ctrl->SetLineCountsEnabled(true);
        QStringList texts;
        CCadCtrl::SetPopupHandler([&texts](QMenu& menu) -> QAction* {
            for (QAction* action : menu.actions()) {
                if (!action->isSeparator()) {
                    texts << action->text();
                }
            }
            return nullptr;
        });
        SendMouse(Viewport(), QEvent::MouseButtonPress, QPoint(5, 5), Qt::RightButton,
                  Qt::RightButton);
        QCOMPARE(texts.value(0), QString::fromUtf8(u8"标记为3条线"));
        QCOMPARE(texts.value(3), QString::fromUtf8(u8"自定义线数量"));
        QCOMPARE(texts.value(4), QString::fromUtf8(u8"退出"));
        QCOMPARE(texts.value(5), QString::fromUtf8(u8"确定"));
        QCOMPARE(texts.value(6), QString::fromUtf8(u8"撤销所有选择和测量"));
        QCOMPARE(texts.last(), QString::fromUtf8(u8"测量"));
    }

    void customLineCountDialogSetsTheLastPoint() {
        Attach();
        m_ctrl->SetMode(kModeMeasurePath);
        m_ctrl->SetLineCountsEnabled(true);
        int shown = 0;
        SetModalHandler([&shown](QDialog& dialog) {
            ++shown;
            auto* dlg = qobject_cast<CSetXianDlg*>(&dialog);
            if (dlg == nullptr || dlg->Edit()->text() != QStringLiteral("2")) {
                return int(QDialog::Rejected);
            }
            dlg->Edit()->setText(QStringLiteral("7"));
            return int(QDialog::Accepted);
        });
        // With no point measured the dialog is not offered.
        RightClickChoosing(kCmdCustomLines);
        QCOMPARE(shown, 0);
        Click(QPoint(10, 10));
        Click(QPoint(40, 10));
        RightClickChoosing(kCmdCustomLines);
        QCOMPARE(shown, 1);
        QCOMPARE(m_ctrl->CurrentPath().points.back().lineCount, 7);
        // Closing it without OK keeps the count.
        SetModalHandler([](QDialog&) { return int(QDialog::Rejected); });
        RightClickChoosing(kCmdCustomLines);
        QCOMPARE(m_ctrl->CurrentPath().points.back().lineCount, 7);
        RightClickChoosing(kCmdThreeLines);
        QCOMPARE(m_ctrl->CurrentPath().points.back().lineCount, 3);
    }

    void middleButtonPansAndReturnsToMeasuring() {
        m_file->drawing->AddEntity(Line(1, 0, 0, 900, 900));
        Attach();
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(100, 100));
        SendMouse(Viewport(), QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton,
                  Qt::MiddleButton);
        QCOMPARE(m_ctrl->Mode(), int(kModeMove));
        Move(QPoint(130, 120), Qt::MiddleButton);
        Move(QPoint(140, 125), Qt::MiddleButton);
        QCOMPARE(m_ctrl->OffsetX(), -40);
        QCOMPARE(m_ctrl->OffsetY(), -25);
        SendMouse(Viewport(), QEvent::MouseButtonRelease, QPoint(140, 125), Qt::MiddleButton,
                  Qt::NoButton);
        QCOMPARE(m_ctrl->Mode(), int(kModeMeasurePath));
        QVERIFY(m_ctrl->Interaction().RubberLineOn());
        Click(QPoint(240, 125));
        QCOMPARE(m_ctrl->CurrentPath().points.size(), std::size_t{2});
        QCOMPARE(m_ctrl->CurrentPath().points[1].x, 200.0);
        QCOMPARE(m_ctrl->CurrentPath().points[1].y, 100.0);
    }

    void zoomKeysStopAtTheZoomLimit() {
        m_file->drawing->AddEntity(Line(1, 0, 0, 1000, 1000));
        Attach();
        m_ctrl->SetScale(1.0);
        m_ctrl->Interaction().View().SetOffsets(40, 30);
        SendKey(m_ctrl, QEvent::KeyPress, Qt::Key_Equal);
        QCOMPARE(m_ctrl->Scale(), 1.1);
        QCOMPARE(m_ctrl->OffsetX(), 40);  // the offsets stay, so the view shifts
        for (int i = 0; i < 200; ++i) {
            SendKey(m_ctrl, QEvent::KeyPress, Qt::Key_Plus, Qt::KeypadModifier);
        }
        QVERIFY(m_ctrl->Scale() * 1000.0 <= kZoomLimitPixels);
        QVERIFY(m_ctrl->Scale() * 1.1 * 1000.0 > kZoomLimitPixels);
        const QImage image = Render();  // paints at the limit without trouble
        QVERIFY(!image.isNull());
        SendKey(m_ctrl, QEvent::KeyPress, Qt::Key_Minus);
        QVERIFY(m_ctrl->Scale() * 1000.0 < kZoomLimitPixels * 0.95);
    }

    void wheelZoomsAtTheCursor() {
        Attach();
        m_ctrl->Interaction().View().SetOffsets(100, 100);
        Move(QPoint(200, 100));
        QWheelEvent wheel(QPointF(200, 100), Viewport()->mapToGlobal(QPointF(200, 100)), QPoint(),
                          QPoint(0, 120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
        QApplication::sendEvent(Viewport(), &wheel);
        QCOMPARE(m_ctrl->Scale(), 1.5);
        QCOMPARE(m_ctrl->OffsetX(), 250);
        QCOMPARE(m_ctrl->OffsetY(), 200);
    }

    void scrollBarStepsMoveAndClampTheOffset() {
        Attach();
        QScrollBar* bar = m_ctrl->verticalScrollBar();
        QCOMPARE(bar->maximum(), 1000);
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(m_ctrl->OffsetY(), 10);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        bar->triggerAction(QAbstractSlider::SliderSingleStepSub);
        QCOMPARE(m_ctrl->OffsetY(), 0);
        bar->triggerAction(QAbstractSlider::SliderToMaximum);  // other codes do nothing
        QCOMPARE(m_ctrl->OffsetY(), 0);
    }

    void selectedLineIsDashedWithBlueGripsAndMarkedLineIsDarkGrey() {
        m_file->drawing->AddEntity(Line(1, 40, 60, 340, 60));
        m_file->drawing->AddEntity(Line(2, 40, 200, 340, 200));
        Attach();
        m_ctrl->SelectById(1);
        m_ctrl->MarkById(2);
        const QImage image = Render();
        const Rgb white{200, 200, 200};  // 0xC8FFFFFF over black
        // The dashes: runs of lit and dark pixels along the line between the grips.
        int lit = 0;
        int dark = 0;
        int changes = 0;
        bool previous = false;
        for (int x = 60; x < 180; ++x) {
            const Rgb c = PixelAt(image, x, 60);
            const bool on = !IsBlack(c);
            if (on) {
                QVERIFY(Near(c, white));
                ++lit;
            } else {
                ++dark;
            }
            if (x > 60 && on != previous) {
                ++changes;
            }
            previous = on;
        }
        QVERIFY2(lit > 30 && dark > 60, "the selected line is not dashed 5 on, 10 off");
        QVERIFY(changes >= 14);
        // Blue grips at both ends and in the middle, off the line itself.
        const Rgb blue{0, 0, 200};  // 0xC80000FF over black
        for (int x : {40, 190, 340}) {
            QVERIFY2(Near(PixelAt(image, x + 2, 60 - 3), blue), "no blue grip");
            QVERIFY(Near(PixelAt(image, x - 3, 60 + 2), blue));
        }
        // The marked line: solid dark grey, no grips.
        const Rgb grey{47, 47, 47};  // 0xC83C3C3C over black
        for (int x = 41; x < 340; ++x) {
            QVERIFY2(Near(PixelAt(image, x, 200), grey), "the marked line is not dark grey");
        }
        QVERIFY(IsBlack(PixelAt(image, 42, 197)));
    }

    void coverageViewDimsAssociatedEntitiesAndShowsTheRestInTheirOwnColour() {
        m_file->drawing->AddEntity(Line(1, 40, 60, 340, 60));
        CCadEntity red = Line(2, 40, 200, 340, 200);
        red.record->color = CCadColor{255, 0, 0};
        m_file->drawing->AddEntity(red);
        Attach();
        m_ctrl->MarkById(2);  // a mark left over from a row that was undone
        m_ctrl->SetCoverageView({1, 99});
        QVERIFY(m_ctrl->CoverageViewOn());
        QImage image = Render();
        const Rgb dim{31, 31, 31};  // 0xC8282828 over black
        QVERIFY2(Near(PixelAt(image, 190, 60), dim), "the associated line is not dimmed");
        QVERIFY2(Near(PixelAt(image, 190, 200), Rgb{200, 0, 0}),
                 "the line left to take off is not in its own colour");
        m_ctrl->ClearCoverageView();
        QVERIFY(!m_ctrl->CoverageViewOn());
        image = Render();
        QVERIFY(Near(PixelAt(image, 190, 60), Rgb{200, 200, 200}));
        QVERIFY2(Near(PixelAt(image, 190, 200), Rgb{47, 47, 47}), "the mark is not shown again");
    }

    void arcFromThreeHundredToThirtyDegreesSweepsNinety() {
        CCadEntity e = MakeEntity<CCadArc>(kCadArc);
        auto* arc = e.As<CCadArc>();
        arc->centerX = 150;
        arc->centerY = 150;
        arc->radius = 100;
        arc->startAngle = 300;
        arc->endAngle = 30;
        m_file->drawing->AddEntity(e);
        Attach();
        const QImage image = Render();
        auto litNear = [&](double degrees) {
            const double a = degrees * std::numbers::pi / 180.0;
            return LitNear(image, static_cast<int>(std::lround(150 + 100 * std::cos(a))),
                           static_cast<int>(std::lround(150 + 100 * std::sin(a))));
        };
        QVERIFY(litNear(345.0));  // in the Y-down frame: up and to the right
        QVERIFY(litNear(15.0));
        QVERIFY(!litNear(90.0));
        QVERIFY(!litNear(180.0));
        QVERIFY(!litNear(270.0 - 10.0));
    }

    void bulgedSegmentsBendToTheSideOfTheirSignAndClosedPolylinesLightEachPixelOnce() {
        // Half circles of radius 100 on the chord (100, 150) - (300, 150): a negative bulge
        // runs with growing angles (clockwise on the screen) and passes above the chord, a
        // positive one below; each is closed by a straight segment back to its start.
        auto add = [&](double bulge) {
            CCadEntity e = MakeEntity<CCadPolyline>(kCadPolyline);
            auto* polyline = e.As<CCadPolyline>();
            CCadVertex a;
            a.x = 100;
            a.y = 150;
            a.hasBulge = 1;
            a.bulge = bulge;
            CCadVertex b;
            b.x = 300;
            b.y = 150;
            polyline->vertices = {a, b};
            polyline->vertexCount = 2;
            polyline->flags = 1;
            m_file->drawing->AddEntity(e);
            Attach();
            return Render();
        };
        QImage image = add(-1.0);
        auto litNear = [&](int x, int y) { return LitNear(image, x, y); };
        QVERIFY(litNear(200, 50));
        QVERIFY(litNear(129, 79));  // 45 degrees up and left of the centre
        QVERIFY(!litNear(200, 250));
        image = add(1.0);
        QVERIFY(litNear(200, 50));
        QVERIFY(litNear(200, 250));
        QVERIFY(litNear(271, 221));
        QVERIFY(!litNear(200, 100));
        QVERIFY(!litNear(200, 200));
        // Away from the chord, which both polylines draw, every lit pixel is lit once.
        const Rgb once{200, 200, 200};
        for (int y = 40; y < 260; ++y) {
            if (y >= 148 && y <= 152) {
                continue;
            }
            for (int x = 90; x < 310; ++x) {
                const Rgb c = PixelAt(image, x, y);
                if (!IsBlack(c)) {
                    QVERIFY2(Near(c, once), qPrintable(QStringLiteral("%1,%2").arg(x).arg(y)));
                }
            }
        }
    }

    void partialEllipseIsDrawnFromItsParameters() {
        CCadEntity e = MakeEntity<CCadEllipse>(kCadEllipse);
        auto* ellipse = e.As<CCadEllipse>();
        ellipse->centerX = 150;
        ellipse->centerY = 150;
        // Inside an INSERT the axis is a plain vector: (100, 0), ratio 0.5; a quarter from
        // parameter 0 to pi/2, which runs anticlockwise on the screen, to the point (0, -50).
        ellipse->axisX = 100;
        ellipse->axisY = 0;
        ellipse->ratio = 0.5;
        ellipse->startParameter = 0.0;
        ellipse->endParameter = std::numbers::pi / 2;
        CCadEntity insert = MakeEntity<CCadInsert>(kCadInsert);
        insert.As<CCadInsert>()->entities.push_back(e);
        m_file->drawing->AddEntity(insert);
        Attach();
        const QImage image = Render();
        auto lit = [&](int x, int y) { return LitNear(image, x, y); };
        const double t = std::numbers::pi / 4;
        QVERIFY(lit(150 + static_cast<int>(100 * std::cos(t)),
                    150 - static_cast<int>(50 * std::sin(t))));
        QVERIFY(lit(250, 150));
        QVERIFY(lit(150, 100));
        QVERIFY(!lit(150, 200));  // the lower half is not drawn
        QVERIFY(!lit(50, 150));
    }

    void drawingWithoutExtentsFitsWithoutNanAndPaints() {
        auto drawing = std::make_unique<CCadDrawing>();  // initial extents kept
        CCadEntity circle = MakeEntity<CCadCircle>(kCadCircle);
        circle.As<CCadCircle>()->radius = 10;
        drawing->AddEntity(circle);
        m_file->drawing = std::move(drawing);
        m_ctrl->SetFile(m_file.get());
        m_ctrl->ZoomToFit();
        QVERIFY(std::isfinite(m_ctrl->Scale()) && m_ctrl->Scale() > 0.0);
        m_ctrl->ZoomInCentre();
        m_ctrl->ZoomAtCursor(120);
        QVERIFY(std::isfinite(m_ctrl->Scale()));
        QVERIFY(!Render().isNull());
    }

    void anotherDrawingInTheSameFileStartsAfresh() {
        m_file->drawing->AddEntity(Line(1, 50, 50, 200, 50));
        Attach();
        m_ctrl->SelectById(1);
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(10, 10));
        Render();
        m_file->drawing = EmptyDrawing();  // an import into the same file object
        m_file->drawing->AddEntity(Line(7, 0, 0, 10, 10));
        const QImage image = Render();
        QVERIFY(!image.isNull());
        QVERIFY(m_ctrl->Selection().Empty());
        QVERIFY(m_ctrl->CurrentPath().points.empty());
        QVERIFY(m_ctrl->SelectById(7));
    }

    void zoomToFitBeforeTheControlHasASizeIsDoneOnResize() {
        auto* ctrl = new CCadCtrl();
        m_file->drawing->AddEntity(Line(1, 0, 0, 1000, 500));
        ctrl->SetFile(m_file.get());
        ctrl->ZoomToFit();
        ctrl->resize(500, 400);
        ctrl->show();
        QVERIFY(QTest::qWaitForWindowExposed(ctrl));
        const double expected = std::min((ctrl->viewport()->width() - 2) / 1000.0,
                                         (ctrl->viewport()->height() - 2) / 1000.0);
        QCOMPARE(ctrl->Scale(), expected);
        delete ctrl;
    }

    void overlaysAloneReuseThePaintedDrawing() {
        m_file->drawing->AddEntity(Line(1, 0, 0, 300, 300));
        Attach();
        m_ctrl->SetMode(kModeMeasurePath);
        Render();
        QCOMPARE(m_ctrl->LastPaintKind(), CCadCtrl::PaintKind::Full);
        Click(QPoint(20, 20));
        Move(QPoint(120, 80));
        const QImage withRubber = Render();
        QCOMPARE(m_ctrl->LastPaintKind(), CCadCtrl::PaintKind::Reused);
        // The rubber line inverts the black background to white.
        QVERIFY(Near(PixelAt(withRubber, 70, 50), Rgb{255, 255, 255}, 0));
        m_ctrl->SelectById(1);
        Render();
        QCOMPARE(m_ctrl->LastPaintKind(), CCadCtrl::PaintKind::Full);
    }

    void measuredPathsAreYellowAndTheAreaIsHatched() {
        Attach();
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(20, 20));
        Click(QPoint(200, 20));
        m_ctrl->OnEnterKey();
        m_ctrl->SetMode(kModeMeasureArea);
        Click(QPoint(50, 100));
        Click(QPoint(250, 100));
        Click(QPoint(250, 250));
        const QImage image = Render();
        QVERIFY(Near(PixelAt(image, 100, 20), Rgb{200, 200, 0}));
        // Inside the area triangle: checks of light and dark.
        int light = 0;
        int darkChecks = 0;
        for (int x = 200; x < 208; ++x) {
            const Rgb c = PixelAt(image, x, 140);
            if (c.r > 150) {
                ++light;
            } else {
                ++darkChecks;
            }
        }
        QVERIFY(light > 0 && darkChecks > 0);
    }

    void panningReusesThePictureAndEndsWithAFreshPaint() {
        std::mt19937 random(3);
        std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
        std::uniform_real_distribution<double> delta(-300.0, 300.0);
        for (int i = 0; i < 400; ++i) {
            const double x = coordinate(random);
            const double y = coordinate(random);
            m_file->drawing->AddEntity(Line(i, x, y, x + delta(random), y + delta(random)));
        }
        Attach();
        m_ctrl->SelectById(3);
        Render();
        Move(QPoint(100, 100));
        SendMouse(Viewport(), QEvent::MouseButtonPress, QPoint(100, 100), Qt::MiddleButton,
                  Qt::MiddleButton);
        Move(QPoint(117, 91), Qt::MiddleButton);
        Render();
        QCOMPARE(m_ctrl->LastPaintKind(), CCadCtrl::PaintKind::Shifted);
        Move(QPoint(131, 70), Qt::MiddleButton);
        const QImage dragged = Render();
        SendMouse(Viewport(), QEvent::MouseButtonRelease, QPoint(131, 70), Qt::MiddleButton,
                  Qt::NoButton);
        const QImage rest = Render();
        QCOMPARE(m_ctrl->LastPaintKind(), CCadCtrl::PaintKind::Full);
        // A control that never moved, shown at the same place, paints the same picture.
        CCadCtrl fresh;
        fresh.resize(m_ctrl->size());
        fresh.show();
        QVERIFY(QTest::qWaitForWindowExposed(&fresh));
        fresh.SetFile(m_file.get());
        fresh.Interaction().View().SetScale(1.0);
        fresh.Interaction().View().SetOffsets(m_ctrl->OffsetX(), m_ctrl->OffsetY());
        QImage expected;
        fresh.RenderClient(expected);
        QCOMPARE(rest, expected);
        // While dragging, the picture differs at most on a few pixels of lines that crossed
        // the window edge.
        int different = 0;
        for (int y = 0; y < expected.height(); ++y) {
            for (int x = 0; x < expected.width(); ++x) {
                different += dragged.pixel(x, y) != expected.pixel(x, y) ? 1 : 0;
            }
        }
        QVERIFY2(different < expected.width() * expected.height() / 100,
                 qPrintable(QString::number(different)));
    }

    void twoThreadsPaintTheSamePictureAsOne() {
        std::mt19937 random(5);
        std::uniform_real_distribution<double> coordinate(0.0, 1000.0);
        std::uniform_real_distribution<double> delta(-60.0, 60.0);
        const std::string labels[] = {Utf8ToGbk(u8"钢梁"), "GL-1", Utf8ToGbk(u8"柱脚节点 J-2")};
        for (int i = 0; i < 6000; ++i) {
            const double x = coordinate(random);
            const double y = coordinate(random);
            if (i % 10 == 0) {
                CCadEntity text = MakeEntity<CCadText>(kCadText);
                text.As<CCadText>()->insertX = x;
                text.As<CCadText>()->insertY = y;
                text.As<CCadText>()->height = 8 + i % 20;
                text.As<CCadText>()->text = labels[i % 3];
                text.record->color = CCadColor{0, 255, 0};
                m_file->drawing->AddEntity(text);
            } else if (i % 10 == 1) {
                CCadEntity arc = MakeEntity<CCadArc>(kCadArc);
                arc.As<CCadArc>()->centerX = x;
                arc.As<CCadArc>()->centerY = y;
                arc.As<CCadArc>()->radius = 5 + std::fabs(delta(random));
                arc.As<CCadArc>()->startAngle = 10;
                arc.As<CCadArc>()->endAngle = 250;
                m_file->drawing->AddEntity(arc);
            } else {
                m_file->drawing->AddEntity(
                    Line(i, x, y, x + delta(random) * 3, y + delta(random) * 3));
            }
        }
        Attach();
        m_ctrl->ZoomToFit();
        m_ctrl->SelectById(12);
        m_ctrl->SetParallelPainting(false);
        const QImage one = Render();
        QVERIFY(!m_ctrl->LastPaintShared());
        m_ctrl->SetParallelPainting(true);
        m_ctrl->ClearMarks();  // a whole paint again
        const QImage two = Render();
        if (QThread::idealThreadCount() >= 2) {
            QVERIFY(m_ctrl->LastPaintShared());
        }
        if (two != one) {
            int minY = 1 << 30, maxY = -1, count = 0;
            for (int y = 0; y < one.height(); ++y) {
                for (int x = 0; x < one.width(); ++x) {
                    if (one.pixel(x, y) != two.pixel(x, y)) {
                        ++count;
                        minY = std::min(minY, y);
                        maxY = std::max(maxY, y);
                        if (count < 10) {
                            qWarning("diff at %d,%d: %08x vs %08x", x, y, one.pixel(x, y),
                                     two.pixel(x, y));
                        }
                    }
                }
            }
            qWarning("%d different pixels, rows %d..%d of %d", count, minY, maxY, one.height());
        }
        QCOMPARE(two, one);
        // And the texts copied from their pictures on a repaint look as when first painted.
        m_ctrl->ClearMarks();
        QCOMPARE(Render(), one);
    }

    void setModeAndCommandsChangeTheMode() {
        Attach();
        m_ctrl->SetMode(kModeWindowZoom);
        QCOMPARE(m_ctrl->Mode(), int(kModeWindowZoom));
        Drag(QPoint(100, 50), QPoint(200, 100));
        QCOMPARE(m_ctrl->Scale(), std::min(m_ctrl->viewport()->height() / 50.0,
                                           m_ctrl->viewport()->width() / 100.0));
        RightClickChoosing(kCmdExit);
        QCOMPARE(m_ctrl->Mode(), int(kModeSelect));
        RightClickChoosing(kCmdMeasure);
        QCOMPARE(m_ctrl->Mode(), int(kModeMeasurePath));
        SendKey(m_ctrl, QEvent::KeyPress, Qt::Key_Escape);
        QCOMPARE(m_ctrl->Mode(), int(kModeSelect));
    }

    void corpusDrawingsPaint();

    void clearAllCommandClearsSelectionAndMeasurements() {
        m_file->drawing->AddEntity(Line(1, 50, 50, 200, 50));
        Attach();
        m_ctrl->SelectById(1);
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(10, 10));
        Click(QPoint(20, 10));
        m_ctrl->OnCommand(kCmdClearAll);
        QVERIFY(m_ctrl->Selection().Empty());
        QVERIFY(m_ctrl->CurrentPath().points.empty());
        QCOMPARE(m_file->drawing->entities[0].record->selected, 0);
    }
};

// Every drawing of the corpus is imported and painted whole, zoomed, with a selection and with
// a measured path. With QUARRANT_CAD_SCREENSHOTS=<folder> the pictures of one drawing
// (QUARRANT_CAD_SCREENSHOT_FILE, a corpus file name; cn-test1-r2013.dxf by default) are saved
// there as PNG files.
void CadCtrlTest::corpusDrawingsPaint() {
    const QDir corpus(QStringLiteral(QUARRANT_CORPUS_DIR));
    if (!corpus.exists()) {
        QSKIP("the DXF corpus folder ../shared/dxf-corpus is absent");
    }
    const auto table = LoadColorTable(QUARRANT_SOURCE_DIR "/programfolder");
    QVERIFY2(table, table.Message().c_str());
    const std::shared_ptr<const CCadColorTable>& colors = table.Value();
    const QString saveTo = qEnvironmentVariable("QUARRANT_CAD_SCREENSHOTS");
    QString chosen = qEnvironmentVariable("QUARRANT_CAD_SCREENSHOT_FILE");
    if (chosen.isEmpty()) {
        chosen = QStringLiteral("cn-test1-r2013.dxf");
    }
    m_ctrl->resize(1280, 860);
    QApplication::processEvents();
    const QStringList files = corpus.entryList({QStringLiteral("*.dxf")}, QDir::Files, QDir::Name);
    QVERIFY(!files.isEmpty());
    for (const QString& name : files) {
        CCadFile file;
        const std::string path = corpus.filePath(name).toStdString();
        if (!LoadDxf(file, path, colors, 1.0) || !file.drawing) {
            continue;  // refused drawings are the reader's tests' business
        }
        file.drawing->RebuildIdentifierMap();
        m_ctrl->SetFile(&file);
        m_ctrl->SetMode(kModeSelect);
        m_ctrl->ZoomToFit();
        QVERIFY2(std::isfinite(m_ctrl->Scale()) && m_ctrl->Scale() > 0.0, qPrintable(name));
        const bool save = !saveTo.isEmpty() && name == chosen;
        auto shoot = [&](const char* suffix) {
            QImage image;
            m_ctrl->RenderClient(image);
            QVERIFY(!image.isNull());
            if (save) {
                const QString target =
                    QDir(saveTo).filePath(QFileInfo(name).completeBaseName() + QLatin1Char('-') +
                                          QLatin1String(suffix) + QStringLiteral(".png"));
                QVERIFY(image.save(target));
            }
        };
        shoot("whole");
        const int w = Viewport()->width();
        const int h = Viewport()->height();
        // A crossing selection over the middle of the sheet.
        Drag(QPoint(w * 3 / 5, h * 3 / 5), QPoint(w * 2 / 5, h * 2 / 5));
        shoot("selected");
        // A measured path of three points and the rubber line to the cursor.
        m_ctrl->SetMode(kModeMeasurePath);
        Click(QPoint(w / 5, h / 5));
        Click(QPoint(w / 2, h / 4));
        Click(QPoint(w / 2, h * 3 / 4));
        Move(QPoint(w * 4 / 5, h * 2 / 3));
        shoot("measured");
        // Zoomed in at the window centre, twice.
        Move(QPoint(w / 2, h / 2));
        m_ctrl->ZoomAtCursor(120);
        m_ctrl->ZoomAtCursor(120);
        shoot("zoomed");
        m_ctrl->OnCommand(kCmdClearAll);
        m_ctrl->SetFile(nullptr);
    }
}

QTEST_MAIN(CadCtrlTest)
#include "CadCtrlTest.moc"
