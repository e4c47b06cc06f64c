#pragma once

// The project manager frame (template 130, "工程管理器"): a splitter of one row and two panes,
// the workspace tree on the left and the node's contents on the right. It carries the project
// commands of menu 130 and toolbar 128.

#include <QWidget>

#include "platform/CommandActions.h"

class QSplitter;

namespace quarrant {

class CManageDataView;
class CManageTreeView;
class AppContext;

class CManageFrame : public QWidget, public CommandTarget {
    Q_OBJECT

public:
    explicit CManageFrame(AppContext& app, QWidget* parent = nullptr);

    CManageTreeView* TreeView() const { return m_tree; }
    CManageDataView* DataView() const { return m_data; }

    bool HasCommandHandler(int id) const override;
    void OnCommand(int id) override;

private:
    QSplitter* m_splitter = nullptr;
    CManageTreeView* m_tree = nullptr;
    CManageDataView* m_data = nullptr;
};

}  // namespace quarrant
