#include "project/widgets/ManageFrame.h"

#include <QSplitter>
#include <QVBoxLayout>

#include "platform/CommandTables.h"
#include "project/ManageTreeRules.h"
#include "project/widgets/ManageDataView.h"
#include "project/widgets/ManageTreeView.h"

namespace quarrant {

CManageFrame::CManageFrame(AppContext& app, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ManageFrame"));
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_data = new CManageDataView;
    m_tree = new CManageTreeView(app, m_data);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(m_data);
    // Both panes start at 300 x 200; the list takes what is left.
    m_tree->resize(300, 200);
    m_data->resize(300, 200);
    m_splitter->setSizes({300, 300});
    m_splitter->setStretchFactor(0, 0);
    m_splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_splitter);
    m_tree->InitialUpdate();
}

bool CManageFrame::HasCommandHandler(int id) const {
    switch (id) {
        case kCmdNewProject:
        case kCmdOpenProject:
        case kCmdAddProjectItem:
        case kCmdDeleteNode:
        case kCmdSaveSelectedProject:
        case kCmdSaveAllProjects:
        case kCmdCloseManager:
            return true;
        default:
            return false;
    }
}

void CManageFrame::OnCommand(int id) {
    if (id == kCmdSaveAllProjects) {
        m_tree->SaveAllProjects();
        return;
    }
    // 32892 "关闭工程管理器" does nothing; the others issue their command on the current node.
    std::string command = CommandOfMenuItem(id);
    if (!command.empty()) {
        m_tree->IssueCommand(command);
    }
}

}  // namespace quarrant
