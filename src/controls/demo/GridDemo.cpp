// grid-demo: a grid like the program's quantity views, with merged cells and an in-place edit in
// progress. With --screenshot FILE it draws itself into FILE (PNG) and exits, which works on
// the offscreen platform too; with --print FILE it prints the grid into a PDF file and exits.

#include <QApplication>
#include <QFont>
#include <QMainWindow>
#include <QPrinter>
#include <QTimer>

#include <clocale>
#include <string>

#include "base/GbkText.h"
#include "controls/widgets/GridCtrl.h"

using namespace quarrant;

namespace {

std::string Gbk(const char8_t* utf8) {
    return Utf8ToGbk(std::u8string_view(utf8));
}

void FillQuantityGrid(CGridCtrl& grid) {
    const char8_t* headings[] = {u8"序号", u8"项目名称", u8"部位或轴线", u8"数量",  u8"长",
                                 u8"宽",   u8"高",       u8"单位",       u8"工程量"};
    grid.SetColumnCount(9);
    grid.SetRowCount(2);
    grid.SetFixedRowCount(2);
    grid.SetFixedColumnCount(1);
    for (int col = 0; col < 9; ++col) {
        grid.SetItemText(0, col, Gbk(headings[col]));
        grid.SetItemText(1, col, Gbk(headings[col]));
        grid.SetItemFormat(0, col, kDtCenter | kDtVCenter | kDtSingleLine);
    }
    // Two header rows: the size columns share one heading, the others span both rows.
    grid.SetItemText(0, 4, Gbk(u8"构件尺寸 (m)"));
    for (int col = 4; col <= 6; ++col) {
        grid.SetItemFormat(1, col, kDtCenter | kDtVCenter | kDtSingleLine);
    }
    grid.MergeCells(0, 4, 0, 6);
    for (int col : {0, 1, 2, 3, 7, 8}) {
        grid.MergeCells(0, col, 1, col);
    }
    struct Line {
        const char8_t* name;
        const char8_t* place;
        const char* count;
        const char* length;
        const char* width;
        const char* height;
        const char8_t* unit;
        const char* quantity;
    };
    const Line lines[] = {
        {u8"钢梁 GL-1", u8"1-3/A", "4", "6.000", "0.300", "0.500", u8"t", "2.826"},
        {u8"翼缘板", u8"1-3/A", "8", "6.000", "0.300", "", u8"m2", "14.400"},
        {u8"腹板", u8"1-3/A", "4", "6.000", "", "0.476", u8"m2", "11.424"},
        {u8"钢柱 GZ-2", u8"B/2", "6", "", "", "4.200", u8"t", "5.310"},
        {u8"柱脚板", u8"B/2", "6", "0.400", "0.400", "", u8"m2", "0.960"},
        {u8"桁架 HJ-1", u8"3-7/C", "2", "18.000", "", "1.800", u8"t", "7.452"},
        {u8"上弦杆", u8"3-7/C", "2", "18.000", "", "", u8"m", "36.000"},
        {u8"下弦杆", u8"3-7/C", "2", "18.000", "", "", u8"m", "36.000"},
        {u8"腹杆", u8"3-7/C", "28", "2.100", "", "", u8"m", "58.800"},
    };
    int number = 0;
    for (const Line& line : lines) {
        const int row = grid.InsertRow("", -1);
        grid.SetRowHeight(row, 25);
        const bool topLevel = std::u8string_view(line.name).find(u8"-") != std::u8string_view::npos;
        if (topLevel) {
            grid.SetItemText(row, 0, std::to_string(++number));
        }
        grid.SetItemText(row, 1, Gbk(line.name));
        grid.SetItemText(row, 2, Gbk(line.place));
        grid.SetItemText(row, 3, line.count);
        grid.SetItemText(row, 4, line.length);
        grid.SetItemText(row, 5, line.width);
        grid.SetItemText(row, 6, line.height);
        grid.SetItemText(row, 7, Gbk(line.unit));
        grid.SetItemText(row, 8, line.quantity);
        for (int col = 3; col <= 8; ++col) {
            if (col != 7) {
                grid.SetItemFormat(row, col, kDtRight | kDtVCenter | kDtSingleLine);
            }
        }
        if (topLevel) {
            grid.SetItemBkColour(row, 1, GridRgb(255, 250, 220));
        }
    }
    // The rows of one structure share its axis: one merged cell down column 2.
    grid.MergeCells(2, 2, 4, 2);
    grid.MergeCells(5, 2, 6, 2);
    grid.MergeCells(7, 2, 10, 2);
    grid.SetItemFormat(2, 2, kDtCenter | kDtVCenter | kDtSingleLine);
    grid.SetItemFormat(5, 2, kDtCenter | kDtVCenter | kDtSingleLine);
    grid.SetItemFormat(7, 2, kDtCenter | kDtVCenter | kDtSingleLine);
    const int widths[] = {44, 120, 100, 56, 70, 70, 70, 48, 80};
    for (int col = 0; col < 9; ++col) {
        grid.SetColumnWidth(col, widths[col]);
    }
    grid.SetRowHeight(0, 25);
    grid.SetRowHeight(1, 25);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QApplication::setApplicationName(QStringLiteral("Quarrant"));
    const QStringList arguments = QApplication::arguments();
    auto optionValue = [&arguments](const QString& name) {
        const qsizetype option = arguments.indexOf(name);
        return option >= 0 && option + 1 < arguments.size() ? arguments[option + 1] : QString();
    };
    const QString screenshot = optionValue(QStringLiteral("--screenshot"));
    const QString pdf = optionValue(QStringLiteral("--print"));
    // The interface font "宋体", or an installed CJK serif font in its place.
    QFont font;
    font.setFamilies({QStringLiteral("SimSun"), QStringLiteral("Noto Serif CJK SC")});
    font.setPointSize(10);
    QApplication::setFont(font);

    QMainWindow window;
    window.setWindowTitle(QString::fromUtf8(u8"工程量 - 网格演示"));
    auto* grid = new CGridCtrl(0, 0, 0, 0, &window);
    window.setCentralWidget(grid);
    FillQuantityGrid(*grid);
    window.resize(700, 360);
    window.show();

    // An edit in progress: the 长 (length) of the 腹杆 line, being retyped.
    grid->SetFocusCell(10, 4);
    grid->SetSelectedRange(10, 4, 10, 4);
    grid->setFocus();
    grid->OnEditCell(10, 4, kEditStartCharacter, QStringLiteral("2.15"));

    if (!pdf.isEmpty()) {
        grid->EndEditing();
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
        return grid->Print(&printer) > 0 ? 0 : 1;
    }
    if (!screenshot.isEmpty()) {
        QTimer::singleShot(200, &window, [&window, screenshot] {
            const bool saved = window.grab().save(screenshot, "PNG");
            QApplication::exit(saved ? 0 : 1);
        });
    }
    return application.exec();
}
