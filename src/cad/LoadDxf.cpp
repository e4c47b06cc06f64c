#include "cad/LoadDxf.h"

#include <new>
#include <string>
#include <utility>

#include "cad/DxfNormalize.h"

namespace quarrant {
namespace {

template <typename Source>
Status LoadInto(CCadFile& file, Source source, std::shared_ptr<const CCadColorTable> colorTable,
                double coordinatePrecision) {
    file.drawing.reset();
    auto drawing = std::make_unique<CCadDrawing>(std::move(colorTable));
    Status read = ReadDxf(*drawing, source);
    if (read) {
        try {
            Normalize(*drawing, coordinatePrecision);
        } catch (const std::bad_alloc&) {
            read = Status::Failure(std::string());
        }
    }
    if (!read) {
        return read;  // no partial drawing is left behind
    }
    file.drawing = std::move(drawing);
    return Status();
}

}  // namespace

Status LoadDxf(CCadFile& file, std::string_view gbkPath,
               std::shared_ptr<const CCadColorTable> colorTable, double coordinatePrecision) {
    return LoadInto(file, gbkPath, std::move(colorTable), coordinatePrecision);
}

Status LoadDxf(CCadFile& file, DxfBytes bytes, std::shared_ptr<const CCadColorTable> colorTable,
               double coordinatePrecision) {
    return LoadInto(file, bytes, std::move(colorTable), coordinatePrecision);
}

std::vector<std::string> ImportFailureMessages(const Status& failure) {
    std::vector<std::string> messages;
    if (!failure.Message().empty()) {
        messages.push_back(failure.Message());
    }
    messages.emplace_back(kDxfDecodeFailedMessage);
    return messages;
}

}  // namespace quarrant
