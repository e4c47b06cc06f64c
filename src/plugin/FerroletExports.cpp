// The four C-linkage exports of the data-entry page plug-in, looked up by name by the host.

#include <cstdint>
#include <string>
#include <type_traits>

#include "plugin/FerroletApi.h"
#include "plugin/widgets/Page.h"

#define FERROLET_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

quarrant::CPage* AsPage(QWidget* page) {
    return dynamic_cast<quarrant::CPage*>(page);
}

}  // namespace

FERROLET_EXPORT QWidget* InitPage(std::int32_t mode, quarrant::Catalogue* materialCatalogue,
                                  quarrant::Catalogue* structureCatalogue,
                                  const char* programFolder) {
    return new quarrant::CPage(mode, materialCatalogue, structureCatalogue,
                               programFolder != nullptr ? programFolder : "");
}

FERROLET_EXPORT void SetCadData(QWidget* page, const char* text, std::int32_t mode) {
    if (quarrant::CPage* target = AsPage(page)) {
        target->SetCadData(text != nullptr ? text : "", mode);
    }
}

// The page reuses nothing of a row: the texts are the caller's and are left as they are.
FERROLET_EXPORT void Tiqu(QWidget*, const char*, const char*, const char*) {}

FERROLET_EXPORT void Clear(QWidget* page) {
    delete AsPage(page);
}

// The exports have exactly the types the host casts them to.
static_assert(std::is_same_v<decltype(&InitPage), quarrant::InitPageFunction>);
static_assert(std::is_same_v<decltype(&SetCadData), quarrant::SetCadDataFunction>);
static_assert(std::is_same_v<decltype(&Tiqu), quarrant::TiquFunction>);
static_assert(std::is_same_v<decltype(&Clear), quarrant::ClearFunction>);
