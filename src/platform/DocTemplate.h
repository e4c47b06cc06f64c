#pragma once

// The document templates: each kind of document window is registered under its type name
// ("工程管理器", "DATA", "DRAWING", "TABLE"). A document is bound to one model node (the key) and
// shown in one MDI child frame; opening a node whose document is already open brings that
// frame to the top instead of opening a second one.

#include <QPointer>

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class QMdiSubWindow;
class QString;

namespace quarrant {

class CDocTemplate {
public:
    // Creates the child frame of a new document bound to the node (a model object); nullptr
    // when the window cannot be made.
    using FrameFactory = std::function<QMdiSubWindow*(void* node)>;
    // Called on an open frame that is brought to the top again (to refresh its contents).
    using RaiseHook = std::function<void(QMdiSubWindow* frame)>;
    // Called on a new frame once the host shows it (to fill the window for the first time).
    using OpenHook = std::function<void(QMdiSubWindow* frame)>;

    CDocTemplate(int resource, std::string typeName);

    int Resource() const { return m_resource; }
    // The document type name (GBK), the second field of the resource string.
    const std::string& TypeName() const { return m_typeName; }
    // "\n<type>\n<type>\n<type>\n<type>\n<type>\n<type>": every field after the first empty one
    // repeats the type name.
    std::string ResourceString() const;

    void SetFactory(FrameFactory factory) { m_factory = std::move(factory); }
    void SetRaiseHook(RaiseHook hook) { m_raiseHook = std::move(hook); }
    void SetOpenHook(OpenHook hook) { m_openHook = std::move(hook); }

    // The open frame bound to the node, or nullptr.
    QMdiSubWindow* FindFrame(const void* node) const;
    // Every open frame of this template, in the order they were opened.
    std::vector<QMdiSubWindow*> Frames() const;

private:
    friend class DocTemplateRegistry;
    struct Document {
        const void* node = nullptr;
        QPointer<QMdiSubWindow> frame;
    };
    void Prune() const;

    int m_resource;
    std::string m_typeName;
    FrameFactory m_factory;
    RaiseHook m_raiseHook;
    OpenHook m_openHook;
    mutable std::vector<Document> m_documents;
};

class DocTemplateRegistry {
public:
    // Receives every new child frame to show it (the main frame adds it to its MDI area).
    using FrameHost = std::function<void(QMdiSubWindow* frame)>;

    CDocTemplate& Register(int resource, std::string typeName);
    // The template of this type name, or nullptr.
    CDocTemplate* Find(std::string_view typeName) const;
    const std::vector<std::unique_ptr<CDocTemplate>>& Templates() const { return m_templates; }

    void SetFrameHost(FrameHost host) { m_host = std::move(host); }

    enum class OpenResult { kRaised, kOpened, kNoWindow };
    // Brings the frame of an open document bound to the node to the top, or else creates a
    // new document for it with the given window title. kNoWindow when the type is unknown or
    // its windows cannot be made yet.
    OpenResult OpenOrRaise(std::string_view typeName, void* node, const QString& title);

    // Closes (and destroys) every open frame bound to one of the nodes, before those model
    // objects are destroyed.
    void CloseDocumentsOf(const std::vector<const void*>& nodes);

private:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;
    FrameHost m_host;
};

}  // namespace quarrant
