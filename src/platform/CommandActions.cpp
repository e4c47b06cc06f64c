#include "platform/CommandActions.h"

#include <QMdiSubWindow>

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

#include "platform/QtText.h"

namespace quarrant {

namespace {
constexpr const char* kCommandIdProperty = "quarrantCommandId";
}

QAction* CommandActions::Action(int id, const std::string& gbkText, const QIcon* icon) {
    if (QAction* existing = Find(id)) {
        if (icon != nullptr && existing->icon().isNull()) {
            existing->setIcon(*icon);
        }
        return existing;
    }
    auto* action = new QAction(ToQt(gbkText), this);
    action->setProperty(kCommandIdProperty, id);
    action->setToolTip(ToQt(gbkText));
    if (icon != nullptr) {
        action->setIcon(*icon);
    }
    connect(action, &QAction::triggered, this, [this, id] { emit Triggered(id); });
    m_actions[id] = action;
    return action;
}

QAction* CommandActions::Find(int id) const {
    auto found = m_actions.find(id);
    return found != m_actions.end() ? found->second : nullptr;
}

std::vector<int> CommandActions::Ids() const {
    std::vector<int> ids;
    for (const auto& entry : m_actions) {
        ids.push_back(entry.first);
    }
    return ids;
}

void BuildMenuBar(QMenuBar& menuBar, const std::vector<MenuSpec>& menus, CommandActions& actions) {
    menuBar.clear();
    for (const MenuSpec& menuTable : menus) {
        QMenu* menu = menuBar.addMenu(ToQt(menuTable.title));
        for (const CommandEntry& item : menuTable.items) {
            if (item.id == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(actions.Action(item.id, item.text));
            }
        }
    }
}

QToolBar* BuildToolBar(const ToolBarSpec& bar, CommandActions& actions,
                       const CommandIconSource& icons, QWidget* parent) {
    auto* toolBar = new QToolBar(parent);
    toolBar->setObjectName(QStringLiteral("ToolBar%1").arg(bar.resource));
    toolBar->setMovable(true);  // the gripper
    toolBar->setIconSize(QSize(kToolBarButtonWidth, kToolBarButtonHeight));
    toolBar->setToolButtonStyle(Qt::ToolButtonIconOnly);
    for (const CommandEntry& button : bar.buttons) {
        if (button.id == 0) {
            toolBar->addSeparator();
            continue;
        }
        QIcon icon = icons ? icons(button.id) : QIcon();
        toolBar->addAction(actions.Action(button.id, button.text, &icon));
    }
    return toolBar;
}

namespace {
constexpr const char* kToolBarProperty = "quarrantToolBar";
constexpr const char* kMenuProperty = "quarrantMenu";
}  // namespace

void SetChildResources(QMdiSubWindow* frame, int toolBar, int menu) {
    frame->setProperty(kToolBarProperty, toolBar);
    frame->setProperty(kMenuProperty, menu);
}

int ChildToolBar(const QMdiSubWindow* frame) {
    return frame != nullptr ? frame->property(kToolBarProperty).toInt() : 0;
}

int ChildMenu(const QMdiSubWindow* frame) {
    return frame != nullptr ? frame->property(kMenuProperty).toInt() : 0;
}

}  // namespace quarrant
