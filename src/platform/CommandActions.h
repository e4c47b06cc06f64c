#pragma once

// Command identifiers as Qt actions: one QAction per identifier, shared by every menu and
// toolbar that shows the command, carrying the identifier; menus and toolbars are built from
// the tables of AppCommands.h. A window that handles commands implements CommandTarget.

#include <QObject>

#include <functional>
#include <map>
#include <string>
#include <vector>

#include "platform/CommandTables.h"

class QAction;
class QIcon;
class QMdiSubWindow;
class QMenuBar;
class QToolBar;
class QWidget;

namespace quarrant {

// A window that handles some commands (the active child frame gets them first).
class CommandTarget {
public:
    virtual ~CommandTarget() = default;
    // Whether the window has a handler for the command; commands without one are disabled.
    virtual bool HasCommandHandler(int id) const = 0;
    virtual void OnCommand(int id) = 0;
};

class CommandActions : public QObject {
    Q_OBJECT

public:
    explicit CommandActions(QObject* parent = nullptr) : QObject(parent) {}

    // The action of the command, made on first use with the text (GBK) and icon given then.
    QAction* Action(int id, const std::string& gbkText, const QIcon* icon = nullptr);
    QAction* Find(int id) const;
    std::vector<int> Ids() const;

signals:
    void Triggered(int id);

private:
    std::map<int, QAction*> m_actions;
};

// The menu bar's menus replaced by the table's.
void BuildMenuBar(QMenuBar& menuBar, const std::vector<MenuSpec>& menus, CommandActions& actions);

// A flat toolbar of the table with tooltips and a gripper; the object name is "ToolBar<n>".
using CommandIconSource = std::function<QIcon(int id)>;
QToolBar* BuildToolBar(const ToolBarSpec& bar, CommandActions& actions,
                       const CommandIconSource& icons, QWidget* parent);

// What a child frame shows in the main frame while it is active: its toolbar and its menu
// resource. Set once on the frame before it is handed to the document templates; 0 when unset.
void SetChildResources(QMdiSubWindow* frame, int toolBar, int menu);
int ChildToolBar(const QMdiSubWindow* frame);
int ChildMenu(const QMdiSubWindow* frame);

}  // namespace quarrant
