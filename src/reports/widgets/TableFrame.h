#pragma once

// CTableFrame: the report window, an MDI child split into the summary tree on the left and the
// report table on the right. It carries menu 133 and toolbar 161: print preview (which takes
// the place of both panes while it is open), printing, print setup and export to Excel and PDF.

#include <QWidget>

#include <memory>
#include <string>

#include "platform/CommandActions.h"
#include "reports/widgets/ReportPages.h"
#include "reports/widgets/TableDoc.h"

class QPrinter;
class QSplitter;
class QStackedWidget;

namespace quarrant {

class AppContext;
class CDocTemplate;
class CEditTableView;
class CHuizongTreeView;
class CMyPreviewView;
class CPreviewBar;
class QuantityTable;

class CTableFrame : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    CTableFrame(AppContext& app, QuantityTable& reportNode, QWidget* parent = nullptr);
    ~CTableFrame() override;

    CTableDoc& Doc() { return m_doc; }
    CHuizongTreeView* TreeView() const { return m_tree; }
    CEditTableView* TableView() const { return m_table; }
    QSplitter* Splitter() const { return m_splitter; }
    // The preview and its bar while the preview is open, else nullptr.
    CMyPreviewView* Preview() const { return m_preview; }
    CPreviewBar* PreviewBar() const { return m_previewBar; }
    // The printer the pages are laid out for (print setup changes it).
    QPrinter& Printer() const { return *m_printer; }

    // After the window opened: the tree, which starts the table's initial build.
    void BuildTree();

    // Command 33010: the preview in place of the panes. False (with the framework's message)
    // when it cannot start.
    bool OpenPreview();
    void ClosePreview();
    // The pages on a printer chosen in the print dialog; false when cancelled or failed.
    bool Print();
    // The report as an Excel workbook or a PDF file (GBK paths); a message on failure.
    bool ExportExcel(const std::string& path);
    bool ExportPdf(const std::string& path);

    bool HasCommandHandler(int id) const override;
    void OnCommand(int id) override;

private:
    ReportPageTexts PageTexts() const;
    // The layout printing uses: the preview's while it is open (its drags included).
    PageLayout PrintLayout() const;
    void ChooseAndExport(int id);
    void PrintSetup();
    void OnPreviewStateChanged();

    AppContext& m_app;
    CTableDoc m_doc;
    std::unique_ptr<QPrinter> m_printer;
    QStackedWidget* m_stack = nullptr;
    QSplitter* m_splitter = nullptr;
    CHuizongTreeView* m_tree = nullptr;
    CEditTableView* m_table = nullptr;
    QWidget* m_previewPage = nullptr;
    CPreviewBar* m_previewBar = nullptr;
    CMyPreviewView* m_preview = nullptr;
};

// The "TABLE" document template's windows: one report window per report node, its tree built
// (and the table with it) once the window shows.
void RegisterReportWindows(CDocTemplate& tables, AppContext& app);

}  // namespace quarrant
