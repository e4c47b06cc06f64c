#include "cad/LoadDxf.h"

#include <new>
#include <string>
#include <utility>

#include "cad/DxfNormalize.h"

namespace quarrant {
namespace {

template <typename Source>
int LoadInto(CCadFile& file, Source source, std::shared_ptr<const CCadColorTable> colorTable,
             double coordinatePrecision, const DxfMessageSink& messages) {
    file.drawing.reset();
    auto drawing = std::make_unique<CCadDrawing>(std::move(colorTable));
    bool ok = ReadDxf(*drawing, source, messages) == 0;
    if (ok) {
        try {
            Normalize(*drawing, coordinatePrecision);
        } catch (const std::bad_alloc&) {
            ok = false;
        }
    }
    if (!ok) {
        // No partial drawing is left behind.
        drawing.reset();
        if (messages) {
            messages(std::string(kDxfDecodeFailedMessage));
        }
        return -1;
    }
    file.drawing = std::move(drawing);
    return 0;
}

}  // namespace

int LoadDxf(CCadFile& file, std::string_view gbkPath,
            std::shared_ptr<const CCadColorTable> colorTable, double coordinatePrecision,
            const DxfMessageSink& messages) {
    return LoadInto(file, gbkPath, std::move(colorTable), coordinatePrecision, messages);
}

int LoadDxf(CCadFile& file, DxfBytes bytes, std::shared_ptr<const CCadColorTable> colorTable,
            double coordinatePrecision, const DxfMessageSink& messages) {
    return LoadInto(file, bytes, std::move(colorTable), coordinatePrecision, messages);
}

}  // namespace quarrant
