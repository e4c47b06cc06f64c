#include "project/widgets/ManageDataView.h"

#include <QHeaderView>
#include <QListWidget>
#include <QTreeWidget>

#include "platform/IconArt.h"
#include "platform/QtText.h"

namespace quarrant {

CManageDataView::CManageDataView(QWidget* parent) : QStackedWidget(parent) {
    setObjectName(QStringLiteral("ManageDataView"));
    m_icons = new QListWidget(this);
    m_icons->setObjectName(QStringLiteral("ManageIconList"));
    m_icons->setViewMode(QListView::IconMode);
    m_icons->setIconSize(QSize(32, 32));
    m_icons->setGridSize(QSize(150, 72));
    m_icons->setResizeMode(QListView::Adjust);
    m_icons->setMovement(QListView::Static);
    m_icons->setWordWrap(true);
    m_icons->setSelectionMode(QAbstractItemView::SingleSelection);
    m_icons->setStyleSheet(QStringLiteral("QListWidget { background: white; }"));

    m_report = new QTreeWidget(this);
    m_report->setObjectName(QStringLiteral("ManageReportList"));
    m_report->setRootIsDecorated(false);
    m_report->setUniformRowHeights(true);
    m_report->setAllColumnsShowFocus(true);

    addWidget(m_icons);
    addWidget(m_report);
    setCurrentWidget(m_icons);
}

bool CManageDataView::InReportMode() const {
    return currentWidget() == m_report;
}

void CManageDataView::ShowNode(TreeItemHandle item, const std::string& kind,
                               const ListContents& contents) {
    m_item = item;
    m_kind = kind;
    if (contents.mode == ListMode::kUnchanged) {
        return;
    }
    // Every fill starts from an empty list without columns.
    m_icons->clear();
    m_report->clear();
    m_report->setColumnCount(0);
    if (contents.mode == ListMode::kIcon) {
        for (const ListLine& line : contents.lines) {
            auto* listItem = new QListWidgetItem(
                ListImage(line.image), line.texts.empty() ? QString() : ToQt(line.texts.front()),
                m_icons);
            listItem->setTextAlignment(Qt::AlignHCenter | Qt::AlignTop);
        }
        setCurrentWidget(m_icons);
    } else {
        QStringList headings;
        for (const ListColumn& column : contents.columns) {
            headings << ToQt(column.heading);
        }
        m_report->setColumnCount(static_cast<int>(contents.columns.size()));
        m_report->setHeaderLabels(headings);
        for (int c = 0; c < static_cast<int>(contents.columns.size()); ++c) {
            m_report->setColumnWidth(c, contents.columns[c].width);
        }
        for (const ListLine& line : contents.lines) {
            QStringList texts;
            for (const std::string& text : line.texts) {
                texts << ToQt(text);
            }
            new QTreeWidgetItem(m_report, texts);
        }
        setCurrentWidget(m_report);
    }
    currentWidget()->update();
}

}  // namespace quarrant
