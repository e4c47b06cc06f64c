#include "platform/DocTemplate.h"

#include <QMdiArea>
#include <QMdiSubWindow>

#include <algorithm>

namespace quarrant {

CDocTemplate::CDocTemplate(int resource, std::string typeName)
    : m_resource(resource), m_typeName(std::move(typeName)) {}

std::string CDocTemplate::ResourceString() const {
    std::string text;
    for (int field = 0; field < 6; ++field) {
        text += "\n";
        text += m_typeName;
    }
    return text;
}

void CDocTemplate::Prune() const {
    std::erase_if(m_documents, [](const Document& document) { return document.frame.isNull(); });
}

QMdiSubWindow* CDocTemplate::FindFrame(const void* node) const {
    Prune();
    for (const Document& document : m_documents) {
        if (document.node == node) {
            return document.frame.data();
        }
    }
    return nullptr;
}

std::vector<QMdiSubWindow*> CDocTemplate::Frames() const {
    Prune();
    std::vector<QMdiSubWindow*> frames;
    for (const Document& document : m_documents) {
        frames.push_back(document.frame.data());
    }
    return frames;
}

CDocTemplate& DocTemplateRegistry::Register(int resource, std::string typeName) {
    m_templates.push_back(std::make_unique<CDocTemplate>(resource, std::move(typeName)));
    return *m_templates.back();
}

CDocTemplate* DocTemplateRegistry::Find(std::string_view typeName) const {
    for (const auto& docTemplate : m_templates) {
        if (docTemplate->TypeName() == typeName) {
            return docTemplate.get();
        }
    }
    return nullptr;
}

DocTemplateRegistry::OpenResult DocTemplateRegistry::OpenOrRaise(std::string_view typeName,
                                                                 void* node, const QString& title) {
    CDocTemplate* docTemplate = Find(typeName);
    if (docTemplate == nullptr) {
        return OpenResult::kNoWindow;
    }
    if (QMdiSubWindow* frame = docTemplate->FindFrame(node)) {
        if (docTemplate->m_raiseHook) {
            docTemplate->m_raiseHook(frame);
        }
        if (QMdiArea* area = frame->mdiArea()) {
            area->setActiveSubWindow(frame);
        }
        frame->show();
        frame->raise();
        return OpenResult::kRaised;
    }
    if (!docTemplate->m_factory) {
        return OpenResult::kNoWindow;
    }
    QMdiSubWindow* frame = docTemplate->m_factory(node);
    if (frame == nullptr) {
        return OpenResult::kNoWindow;
    }
    frame->setAttribute(Qt::WA_DeleteOnClose);
    frame->setWindowTitle(title);
    docTemplate->m_documents.push_back({node, frame});
    if (m_host) {
        m_host(frame);
    }
    if (docTemplate->m_openHook) {
        docTemplate->m_openHook(frame);
    }
    return OpenResult::kOpened;
}

void DocTemplateRegistry::CloseDocumentsOf(const std::vector<const void*>& nodes) {
    for (const auto& docTemplate : m_templates) {
        for (const void* node : nodes) {
            if (QMdiSubWindow* frame = docTemplate->FindFrame(node)) {
                // Destroyed now, not later: the model object goes right after.
                frame->setAttribute(Qt::WA_DeleteOnClose, false);
                frame->close();
                delete frame;
            }
        }
    }
}

}  // namespace quarrant
