#pragma once

// Which of the main frame's toolbars is visible, driven by the child windows: the active child
// shows its own toolbar, and when the last open window is destroyed toolbar 148 is shown alone.
// The open-window counter goes up whenever a window for a node (or the project manager) is
// opened and down when a child frame is destroyed.

#include "platform/CommandTables.h"

namespace quarrant {

class ToolBarSwitch {
public:
    // The toolbar that is visible now.
    int Visible() const { return m_visible; }
    int OpenWindows() const { return m_openWindows; }

    void ChildOpened() { ++m_openWindows; }

    // A child frame became the active child: only its toolbar is shown.
    void ChildActivated(int toolBarResource) { m_visible = toolBarResource; }

    // A child frame is destroyed. Returns true when it was the last open window, and toolbar
    // 148 is then the one shown; otherwise the toolbar of the child that is (or becomes)
    // active stays.
    bool ChildDestroyed() {
        if (m_openWindows > 0) {
            --m_openWindows;
        }
        if (m_openWindows == 0) {
            m_visible = kToolBarNoChild;
            return true;
        }
        return false;
    }

private:
    int m_visible = kToolBarNoChild;
    int m_openWindows = 0;
};

}  // namespace quarrant
