#pragma once

// CDataFrame: the data window (template "DATA", menu 131, toolbar 144), an MDI child of one
// project's data table. A splitter holds the row view CDataView on the left and the page pane
// CDataAddView (347 pixels) on the right; rows are typed in on the page without a drawing.

#include <QWidget>

#include "platform/CommandActions.h"
#include "quantity/widgets/DataDoc.h"

class QMdiSubWindow;
class QSplitter;

namespace quarrant {

class AppContext;
class CDataAddView;
class CDataView;
class CDocTemplate;

class CDataFrame : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    static constexpr int kPagePaneWidth = 347;

    CDataFrame(AppContext& app, QuantityTable& dataTable, QWidget* parent = nullptr);

    CDataDoc& Document() { return m_doc; }
    CDataView* View() const { return m_view; }
    CDataAddView* AddView() const { return m_addView; }
    QSplitter* Splitter() const { return m_splitter; }

    bool HasCommandHandler(int id) const override;
    void OnCommand(int id) override;

private:
    AppContext& m_app;
    CDataDoc m_doc;
    QSplitter* m_splitter = nullptr;
    CDataView* m_view = nullptr;
    CDataAddView* m_addView = nullptr;
};

// The frame of a new data window for the data table.
QMdiSubWindow* CreateDataFrame(AppContext& app, QuantityTable& dataTable);

// Makes the "DATA" template open data windows: a new window lists its rows once it is shown,
// and an open one lists them again before it is brought to the top.
void RegisterDataWindows(CDocTemplate& docTemplate, AppContext& app);

}  // namespace quarrant
