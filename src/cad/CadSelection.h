#pragma once

// What the user has picked on a drawing and measured on it: the selected top-level entities in
// selection order, the path being measured and the confirmed paths. The CAD control keeps one
// of these; the take-over code reads it to build counts and lengths.

#include <cstdint>
#include <vector>

#include "cad/CadDrawing.h"

namespace quarrant {

// A measured point in drawing units; line count is the number of lines the point stands for
// (2 unless the user marked it otherwise).
struct CMeasurePoint {
    double x = 0.0;
    double y = 0.0;
    int lineCount = 2;
};

struct CMeasurePath {
    int kind = 0;  // always 0 in this system
    std::vector<CMeasurePoint> points;
};

// Sets or clears the selected flag of an entity; for INSERT and DIMENSION also of every LINE,
// ARC, CIRCLE, LWPOLYLINE and SOLID in their lists, so that these are drawn as selected.
void SetSelectedFlag(const CCadEntity& entity, int selected);

class CCadSelection {
public:
    // The selected entities in selection order (an entity may appear more than once when it
    // was selected by identifier twice).
    const CCadEntityList& Entities() const { return m_entities; }
    bool Empty() const { return m_entities.empty(); }

    // Appends the top-level entity with this identifier and sets its selected flag. No
    // duplicate check. Unknown identifiers are ignored (returns false).
    bool SelectById(const CCadDrawing& drawing, std::int32_t identifier);
    // Appends the entity and sets its selected flag.
    void Select(const CCadEntity& entity);
    // Clears the entity's selected flag and removes it from the selection.
    void Deselect(const CCadEntity& entity);
    // Clears the selected flag of every selected entity and empties the selection.
    void ClearSelection();

    // The path being measured: the points clicked so far.
    CMeasurePath& CurrentPath() { return m_currentPath; }
    const CMeasurePath& CurrentPath() const { return m_currentPath; }
    // Finished paths, in the order they were confirmed.
    const std::vector<CMeasurePath>& ConfirmedPaths() const { return m_confirmedPaths; }

    // A current path of at least two points moves to the confirmed paths (kind and points,
    // in order); the current path is left empty with kind 0. Returns whether it moved.
    bool ConfirmCurrentPath();
    // Appends a finished path as it is.
    void AddConfirmedPath(CMeasurePath path) { m_confirmedPaths.push_back(std::move(path)); }
    // Discards the current path's points and every confirmed path.
    void ClearMeasurements();

private:
    CCadEntityList m_entities;
    CMeasurePath m_currentPath;
    std::vector<CMeasurePath> m_confirmedPaths;
};

}  // namespace quarrant
