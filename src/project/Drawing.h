#pragma once

#include <atomic>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>

#include "cad/CadDrawing.h"
#include "project/TreeItemHandle.h"

namespace quarrant {

class Project;

// "图": kind label of drawing nodes.
inline constexpr const char* kDrawingKind = "\xCD\xBC";

// A read that is done once, later, by whichever thread needs it first: the background reader
// of start-up, or a window that cannot go on without the data. Shared by the drawing and the
// background reader, so that either may go first.
class DeferredRead {
public:
    explicit DeferredRead(std::function<void()> read) : m_read(std::move(read)) {}
    DeferredRead(const DeferredRead&) = delete;
    DeferredRead& operator=(const DeferredRead&) = delete;

    // Runs the read here unless it has begun or been dropped; true when it ran.
    bool RunIfPending();
    // Returns when the read is done: runs it here if no one has begun it, else waits for the
    // thread that runs it.
    void Wait();
    // After this returns the read never runs: a pending read is dropped, one in progress on
    // another thread is waited for.
    void Drop();
    // The read is done or dropped (no waiting).
    bool Settled() const { return m_state.load(std::memory_order_acquire) == kSettled; }

private:
    enum State : int { kPending, kRunning, kSettled };

    void Run(std::unique_lock<std::mutex>& lock);

    std::atomic<int> m_state{kPending};
    std::mutex m_mutex;
    std::condition_variable m_settled;
    std::function<void()> m_read;
};

// A drawing of a project: its names, its unit and scale as chosen when it was added, and the
// drawing data a drawing window shows.
class Drawing {
public:
    explicit Drawing(Project* owner) : parent(owner) {}
    // A read of the drawing file still pending is dropped; one in progress is waited for.
    ~Drawing();
    Drawing(const Drawing&) = delete;
    Drawing& operator=(const Drawing&) = delete;

    // The drawing data (never without a CCadDrawing once the project is loaded or the drawing
    // added). At start-up drawing files are read in the background, after the main window
    // has appeared; the data of a drawing whose file has not been read yet is read here at
    // once, or, when the background reader is reading it, waited for: only this drawing is
    // waited for. Everything that uses a drawing's data goes through here: drawing windows,
    // picks, reports, saving, quarrant-cli.
    CCadFile& CadFile();
    // Whether the drawing data is there without waiting.
    bool IsRead() const { return !m_pendingRead || m_pendingRead->Settled(); }

    // The loader's side: the data comes from read, run once by whoever needs it first.
    void ReadLater(std::function<void(CCadFile&)> read);
    // The read still to be done, for a background reader; null when there is none.
    std::shared_ptr<DeferredRead> PendingRead() const { return IsRead() ? nullptr : m_pendingRead; }

    Project* parent = nullptr;
    std::string kindLabel = kDrawingKind;
    TreeItemHandle treeItem = nullptr;
    std::string drawingName;  // unique within the project; rows refer to their drawing by it
    std::string fileName;     // "YZN%d" of the drawing file in the project folder
    std::string spareText;    // not saved
    std::string unit;         // "mm", "cm", "m", "10m", "100m", "km" or as typed
    std::string scale;        // "1:1" or as typed

private:
    CCadFile m_cadFile;  // owns the CCadDrawing
    std::shared_ptr<DeferredRead> m_pendingRead;
};

}  // namespace quarrant
