// Saves and loads a project of 100,000 quantity rows (20,000 structures of 4 components each,
// with Chinese texts and entity identifier lists): to bytes and back, and through the project
// folder on disk (every file replaced atomically, flushed to disk). Target: each direction
// under a second.
//
//   bin/bench_ProjectFileBench [structure count]

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "BenchMeasures.h"
#include "base/FileIO.h"
#include "base/GbkText.h"
#include "base/MessageSink.h"
#include "project/ProjectFiles.h"
#include "project/ProjectManager.h"

using namespace quarrant;

namespace {

using namespace quarrant::bench;

void Report(const char* what, double seconds, std::size_t bytes) {
    std::printf("%-36s %8.3f s  %8.1f MB/s\n", what, seconds,
                static_cast<double>(bytes) / 1e6 / seconds);
}

std::vector<std::int32_t> Identifiers(std::int32_t first, int count) {
    std::vector<std::int32_t> list;
    for (int i = 0; i < count; ++i) {
        list.push_back(first + i * 3);
    }
    return list;
}

// A structure row with four component rows, as the data-entry page makes them.
void AddStructure(QuantityTable& table, int index) {
    static const std::string kStructures[] = {Utf8ToGbk("钢桁架GHJ-1"), Utf8ToGbk("钢柱GZ-2"),
                                              Utf8ToGbk("屋面檩条LT-3"), Utf8ToGbk("支撑ZC-4")};
    static const std::string kMaterials[] = {Utf8ToGbk("角钢∠63×6"), Utf8ToGbk("H型钢HW200×200"),
                                             Utf8ToGbk("C型钢C160×60×20×2.5"),
                                             Utf8ToGbk("钢板-10")};
    static const std::string kParts[] = {Utf8ToGbk("A-B轴/1-5轴"), Utf8ToGbk("C轴"),
                                         Utf8ToGbk("屋面")};
    static const std::string kDrawing = Utf8ToGbk("一层结构平面图");

    std::int32_t id = table.NewRowIdentifier();
    auto row = std::make_shared<QuantityRow>();
    row->identifier = id;
    row->itemName = kStructures[index % 4];
    row->partOrAxis = kParts[index % 3];
    row->unit = "kg";
    row->count = std::to_string(1 + index % 7);
    row->quantity = "1234.567";
    row->drawingName = kDrawing;
    row->list1 = Identifiers(index * 40, 12);
    QuantityRow& parent = *row;
    table.rows.SetAt(id, std::move(row));

    for (int k = 0; k < 4; ++k) {
        std::int32_t childId = table.NewRowIdentifier();
        auto child = std::make_shared<QuantityRow>();
        child->identifier = childId;
        child->itemName = kMaterials[k];
        child->material = kMaterials[k];
        child->partOrAxis = kParts[index % 3];
        child->unit = "kg";
        child->count = "2*4";
        child->length = "12.350";
        child->width = k == 3 ? "0.45" : "";
        child->height = k == 3 ? "0.01" : "";
        child->unitWeight = "5.721";
        child->quantity = "565.235";
        child->list1 = Identifiers(index * 40 + k, 4);
        child->list2 = Identifiers(index * 40 + 20 + k, 6);
        child->list3 = k == 3 ? Identifiers(index * 40 + 30, 2) : std::vector<std::int32_t>{};
        child->list4 = k == 3 ? Identifiers(index * 40 + 35, 2) : std::vector<std::int32_t>{};
        child->parent = &parent;
        parent.children.SetAt(childId, std::move(child));
    }
}

}  // namespace

int main(int argc, char** argv) {
    int structures = argc > 1 ? std::atoi(argv[1]) : 20000;
    char pattern[] = "/tmp/quarrant-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    std::string work = pattern;
    MessageList messages;
    ProjectManager manager(messages);
    manager.SetProgramFolder(work);

    std::string name = Utf8ToGbk("钢结构厂房");
    if (Status made = MakeProjectFolder(work, name); !made) {
        std::fprintf(stderr, "%s\n", GbkToUtf8(made.Message()).c_str());
        return 1;
    }
    Project* project = manager.CreateProject(work, name, kStructuralProjectType);
    for (int i = 0; i < structures; ++i) {
        AddStructure(project->dataTable, i);
    }
    std::printf("rows: %d structures + %d components\n", structures, structures * 4);

    auto start = Clock::now();
    std::string bytes = EncodeDataFile(project->dataTable);
    Report("encode data file", Seconds(start), bytes.size());

    start = Clock::now();
    QuantityTable decoded(nullptr);
    bool intact = DecodeDataFile(bytes, decoded).Ok();
    Report("decode data file", Seconds(start), bytes.size());

    start = Clock::now();
    bool saved = manager.SaveProject(*project);
    Report("save project (disk, atomic)", Seconds(start), bytes.size());

    start = Clock::now();
    Result<std::unique_ptr<Project>> loaded = manager.LoadProject(project->folderPath);
    Report("load project (disk)", Seconds(start), bytes.size());

    std::printf("data file: %.1f MB\n", static_cast<double>(bytes.size()) / 1e6);
    bool ok = intact && saved && loaded &&
              loaded.Value()->dataTable.rows.size() == decoded.rows.size() &&
              messages.Messages().empty();
    std::filesystem::remove_all(work);
    if (!ok) {
        std::fprintf(stderr, "round trip failed\n");
        return 1;
    }
    return 0;
}
