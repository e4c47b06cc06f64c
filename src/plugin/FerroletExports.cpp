// The four C-linkage exports of the data-entry page plug-in. The page itself arrives with
// the plug-in's own work; until then the exports create nothing.

#define FERROLET_EXPORT extern "C" __attribute__((visibility("default")))

FERROLET_EXPORT void* InitPage(void*, void*, void*, const char*) {
    return nullptr;
}
FERROLET_EXPORT void SetCadData(void*, const char*) {}
FERROLET_EXPORT void Tiqu(void*) {}
FERROLET_EXPORT void Clear(void*) {}
