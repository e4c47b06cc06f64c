#include "project/ProjectManager.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <string>
#include <vector>

#include "base/BinaryStream.h"
#include "cad/DrawingFile.h"
#include "project/ProjectFiles.h"
#include "project/ProjectTestSupport.h"

using namespace quarrant;
using quarrant::testing::AddChild;
using quarrant::testing::Exists;
using quarrant::testing::G;
using quarrant::testing::MakeLineDrawing;
using quarrant::testing::MakeRow;
using quarrant::testing::ReadBytes;
using quarrant::testing::TempFolder;
using quarrant::testing::WriteBytes;

namespace {

class ProjectManagerTest : public ::testing::Test {
protected:
    ProjectManagerTest() { manager.SetProgramFolder(program.Path()); }

    // A new project named name under the work folder, with its folder made as the dialog does.
    Project* NewProject(const std::string& name) {
        const Status made = MakeProjectFolder(work.Path(), name);
        EXPECT_TRUE(made) << GbkToUtf8(made.Message());
        return manager.CreateProject(work.Path(), name, kStructuralProjectType);
    }

    std::unique_ptr<CCadFile> Imported(double x, int identifier = 5) {
        auto file = std::make_unique<CCadFile>();
        file->drawing = MakeLineDrawing(x, identifier);
        return file;
    }

    static const CCadLine& FirstLine(const Drawing& drawing) {
        return *drawing.cadFile.drawing->entities.at(0).As<CCadLine>();
    }

    TempFolder program;
    TempFolder work;
    MessageList messages;
    ProjectManager manager{messages};
};

}  // namespace

TEST_F(ProjectManagerTest, NewProjectYieldsProjectFileAndEmptyDataFile) {
    std::string name = G("钢结构厂房");
    Project* project = NewProject(name);
    ASSERT_NE(project, nullptr);
    EXPECT_TRUE(messages.Messages().empty());

    std::string folder = JoinPath(work.Path(), name);
    EXPECT_EQ(project->folderPath, folder);
    EXPECT_EQ(project->projectName, name);
    EXPECT_EQ(project->modified, 0);
    EXPECT_EQ(project->nextFileNumber, 1);
    ASSERT_EQ(manager.projects.size(), 1u);
    // On disk the names are UTF-8.
    EXPECT_TRUE(
        std::filesystem::exists(std::filesystem::path(work.Path()) / "钢结构厂房" / "钢结构厂房"));

    std::string projectFile = ReadBytes(JoinPath(folder, name));
    BinaryWriter expected;
    expected.WriteText("1.0");
    expected.WriteText(G("工程名称"));
    expected.WriteText(name);
    expected.WriteText(G("结构工程"));
    expected.WriteInt32(1);  // next file number
    expected.WriteInt32(1);  // item count: no drawings
    expected.WriteText("YZN0");
    EXPECT_EQ(projectFile, expected.Data());

    QuantityTable table(nullptr);
    ASSERT_TRUE(DecodeDataFile(ReadBytes(JoinPath(folder, "YZN0")), table));
    EXPECT_EQ(table.displayName, G("无图纸数据添加窗口"));
    EXPECT_EQ(table.nextRowIdentifier, 0);
    EXPECT_TRUE(table.rows.empty());
    std::vector<std::string> headings;
    for (const char* heading : {"序号", "项目名称", "部位或轴线", "数量", "长", "宽", "高", "面积",
                                "体积", "单位", "材料及材料规格", "单位重量（kg）", "工程量"}) {
        headings.push_back(G(heading));
    }
    EXPECT_EQ(table.headings, headings);

    // The path list gained the folder.
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")), folder + "\r\n");
}

TEST_F(ProjectManagerTest, ModelTextsAreTheProgramsOwn) {
    Project project;
    EXPECT_EQ(manager.label, G("工程管理器"));
    EXPECT_EQ(project.caption, G("工程名称"));
    EXPECT_EQ(project.dataTable.kindLabel, G("无图纸数据添加窗口"));
    EXPECT_EQ(project.dataTable.displayName, G("无图纸数据添加窗口"));
    EXPECT_EQ(project.summaryTable.displayName, G("工程量汇总表"));
    EXPECT_EQ(project.analysisTable.displayName, G("工程量分析表"));
    EXPECT_EQ(project.detailTable.displayName, G("工程量计算明细表"));
    EXPECT_EQ(project.materialTable.displayName, G("结构材料统计表"));
    EXPECT_EQ(project.summaryTable.kindLabel, G("无图纸数据添加窗口"));
    EXPECT_EQ(project.summaryTable.parent, &project);
    EXPECT_EQ(project.dataTable.parent, &project);
    Drawing drawing(&project);
    EXPECT_EQ(drawing.kindLabel, G("图"));
}

TEST_F(ProjectManagerTest, DrawingFileNumbersAreNeverReused) {
    Project* project = NewProject("P");
    ASSERT_NE(project, nullptr);
    Drawing* first = manager.AddDrawing(*project, G("一层"), "mm", "1:1", Imported(1.0));
    Drawing* second = manager.AddDrawing(*project, G("二层"), "m", "1:100", Imported(2.0));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(first->fileName, "YZN1");
    EXPECT_EQ(second->fileName, "YZN2");
    EXPECT_EQ(second->unit, "m");
    EXPECT_EQ(second->scale, "1:100");
    EXPECT_EQ(second->parent, project);
    EXPECT_EQ(project->modified, 1);

    project->modified = 0;
    manager.RemoveDrawing(*first);
    EXPECT_EQ(project->modified, 1);
    Drawing* third = manager.AddDrawing(*project, G("三层"), "mm", "1:1", Imported(3.0));
    EXPECT_EQ(third->fileName, "YZN3");
    ASSERT_EQ(project->drawings.size(), 2u);
    EXPECT_EQ(project->drawings[0]->drawingName, G("二层"));
    EXPECT_EQ(project->drawings[1]->drawingName, G("三层"));

    ASSERT_TRUE(manager.SaveProject(*project));
    EXPECT_EQ(project->modified, 1);  // saving keeps the flag
    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->modified, 0);
    EXPECT_EQ(reloaded->nextFileNumber, 4);
    ASSERT_EQ(reloaded->drawings.size(), 2u);
    EXPECT_EQ(reloaded->drawings[0]->fileName, "YZN2");
    EXPECT_EQ(reloaded->drawings[1]->fileName, "YZN3");
    EXPECT_EQ(reloaded->drawings[1]->drawingName, G("三层"));
    EXPECT_DOUBLE_EQ(FirstLine(*reloaded->drawings[1]).startX, 3.0);
    // The removed drawing's file was never written, and YZN1 is not taken again.
    EXPECT_FALSE(Exists(JoinPath(project->folderPath, "YZN1")));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ProjectManagerTest, AddedDrawingHoldsWhatASaveAndReloadGive) {
    Project* project = NewProject("P");
    Drawing* drawing = manager.AddDrawing(*project, "d", "mm", "1:1", Imported(12.345678, 42));
    ASSERT_NE(drawing, nullptr);
    ASSERT_EQ(drawing->cadFile.drawing->entities.size(), 1u);
    EXPECT_DOUBLE_EQ(FirstLine(*drawing).startX, 12.3457);
    EXPECT_EQ(FirstLine(*drawing).layer, G("梁"));
    ASSERT_NE(drawing->cadFile.drawing->FindById(42), nullptr);
    // The scratch file in the program folder holds the drawing.
    EXPECT_EQ(ReadBytes(program.Path("Drawing.drw")), WriteDrawingFile(*drawing->cadFile.drawing));

    ASSERT_TRUE(manager.SaveProject(*project));
    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_DOUBLE_EQ(FirstLine(*reloaded->drawings[0]).startX, 12.3457);
    EXPECT_NE(reloaded->drawings[0]->cadFile.drawing->FindById(42), nullptr);
}

TEST_F(ProjectManagerTest, AddingADrawingStillWorksWhenTheScratchFileCannotBeWritten) {
    Project* project = NewProject("P");
    manager.SetProgramFolder(JoinPath(program.Path(), "no-such-folder"));
    Drawing* drawing = manager.AddDrawing(*project, "d", "mm", "1:1", Imported(1.23456));
    ASSERT_NE(drawing, nullptr);
    EXPECT_DOUBLE_EQ(FirstLine(*drawing).startX, 1.2346);
}

TEST_F(ProjectManagerTest, RowsAndDrawingsSurviveASaveAndReload) {
    Project* project = NewProject(G("工程"));
    manager.AddDrawing(*project, G("平面图"), "mm", "1:1", Imported(1.0));
    QuantityTable& table = project->dataTable;
    for (int i = 0; i < 3; ++i) {
        std::int32_t id = table.NewRowIdentifier();
        table.rows.SetAt(id, MakeRow(id, G("平面图")));
        AddChild(**table.rows.Lookup(id), table.NewRowIdentifier());
    }
    ASSERT_TRUE(manager.SaveProject(*project));

    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->dataTable.nextRowIdentifier, 6);
    EXPECT_EQ(reloaded->dataTable.rows.size(), 3u);
    for (const auto& entry : reloaded->dataTable.rows) {
        EXPECT_EQ(entry.value->drawingName, G("平面图"));
        EXPECT_EQ(entry.value->children.size(), 1u);
    }
    EXPECT_EQ(reloaded->dataTable.parent, reloaded.get());
    EXPECT_EQ(reloaded->drawings[0]->parent, reloaded.get());
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(ProjectManagerTest, LoadRefusalsShowTheirMessage) {
    // A project folder "V" whose project file is version 1.1, and one "Z" whose file is empty.
    std::string v = work.Path("V");
    std::filesystem::create_directory(FsPath(v));
    BinaryWriter writer;
    writer.WriteText("1.1");
    writer.WriteText(G("工程名称"));
    WriteBytes(JoinPath(v, "V"), writer.Data());
    std::string z = work.Path("Z");
    std::filesystem::create_directory(FsPath(z));
    WriteBytes(JoinPath(z, "Z"), "");
    std::string missing = work.Path("missing");

    struct Case {
        const char* name;
        std::string folder;
        std::vector<std::string> messages;
    };
    const Case cases[] = {
        {"path ending with a backslash", work.Path() + "\\", {}},
        {"path ending with a slash", work.Path() + "/", {}},
        {"empty path", "", {}},
        {"missing folder", missing, {FileOpenErrorMessage(JoinPath(missing, "missing"))}},
        {"other version", v, {G("软件和工程的版本不一致。软件版本：1.0；工程版本：1.1")}},
        {"empty project file", z, {G("工程文件已损坏，无法打开工程：") + JoinPath(z, "Z")}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(manager.LoadProject(c.folder), nullptr) << c.name;
        EXPECT_EQ(messages.Take(), c.messages) << c.name;
        EXPECT_EQ(manager.AddExistingProject(c.folder), nullptr) << c.name;
        messages.Take();
    }
    EXPECT_TRUE(manager.projects.empty());
    EXPECT_FALSE(Exists(program.Path("PATH.ini")));
}

TEST_F(ProjectManagerTest, ZeroByteDrawingFileGivesADrawingWithoutEntities) {
    Project* project = NewProject("P");
    manager.AddDrawing(*project, "d", "mm", "1:1", Imported(1.0));
    ASSERT_TRUE(manager.SaveProject(*project));
    WriteBytes(JoinPath(project->folderPath, "YZN1"), "");

    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_NE(reloaded->drawings[0]->cadFile.drawing, nullptr);
    EXPECT_TRUE(reloaded->drawings[0]->cadFile.drawing->entities.empty());
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_FALSE(Exists(JoinPath(project->folderPath, "YZN1.damaged")));
}

TEST_F(ProjectManagerTest, MissingDrawingFileGivesAnEmptyDrawingAndAMessage) {
    Project* project = NewProject("P");
    manager.AddDrawing(*project, "d", "mm", "1:1", Imported(1.0));
    ASSERT_TRUE(manager.SaveProject(*project));
    std::string path = JoinPath(project->folderPath, "YZN1");
    std::filesystem::remove(FsPath(path));

    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_NE(reloaded->drawings[0]->cadFile.drawing, nullptr);
    EXPECT_TRUE(reloaded->drawings[0]->cadFile.drawing->entities.empty());
    EXPECT_EQ(messages.Take(), std::vector<std::string>{MissingFileMessage(path)});
}

TEST_F(ProjectManagerTest, MissingDataFileGivesAnEmptyTableWithItsHeadings) {
    Project* project = NewProject("P");
    std::string path = JoinPath(project->folderPath, "YZN0");
    std::filesystem::remove(FsPath(path));

    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_TRUE(reloaded->dataTable.rows.empty());
    EXPECT_EQ(reloaded->dataTable.headings.size(), 13u);
    EXPECT_EQ(reloaded->dataTable.fileName, "YZN0");
    EXPECT_EQ(messages.Take(), std::vector<std::string>{MissingFileMessage(path)});
}

TEST_F(ProjectManagerTest, DamagedDataFileKeepsCompleteRowsAndACopyOfItsBytes) {
    Project* project = NewProject("P");
    QuantityTable& table = project->dataTable;
    for (std::int32_t id = 1; id <= 3; ++id) {
        table.rows.SetAt(id, MakeRow(id));
        table.nextRowIdentifier = id;
    }
    ASSERT_TRUE(manager.SaveProject(*project));
    std::string path = JoinPath(project->folderPath, "YZN0");
    std::string bytes = ReadBytes(path);
    // Cut inside the last row record written (row 1: rows 3, 2, 1 share a bucket).
    std::string damaged = bytes.substr(0, bytes.size() - 30);
    WriteBytes(path, damaged);

    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    EXPECT_EQ(reloaded->dataTable.rows.size(), 2u);
    EXPECT_NE(reloaded->dataTable.rows.Lookup(3), nullptr);
    EXPECT_NE(reloaded->dataTable.rows.Lookup(2), nullptr);
    EXPECT_EQ(reloaded->dataTable.nextRowIdentifier, 3);
    std::string copy = path + ".damaged";
    EXPECT_EQ(messages.Take(),
              std::vector<std::string>{G("文件已损坏，只读入了其中完好的部分：") + path + "\n" +
                                       G("损坏的文件已另存为：") + copy});
    EXPECT_EQ(ReadBytes(copy), damaged);

    // Loading the same damage again reuses the copy; saving replaces the file, not the copy.
    std::unique_ptr<Project> again = manager.LoadProject(project->folderPath);
    EXPECT_EQ(messages.Take().size(), 1u);
    EXPECT_FALSE(Exists(path + ".damaged2"));
    ASSERT_TRUE(manager.SaveProject(*again));
    EXPECT_EQ(ReadBytes(copy), damaged);
    EXPECT_NE(ReadBytes(path), damaged);

    // Another damage gets a copy of its own.
    WriteBytes(path, bytes.substr(0, 10));
    manager.LoadProject(project->folderPath);
    EXPECT_EQ(ReadBytes(path + ".damaged2"), bytes.substr(0, 10));
    EXPECT_EQ(ReadBytes(copy), damaged);
}

TEST_F(ProjectManagerTest, DamagedDrawingFileKeepsWhatWasReadAndACopy) {
    Project* project = NewProject("P");
    manager.AddDrawing(*project, "d", "mm", "1:1", Imported(1.0));
    ASSERT_TRUE(manager.SaveProject(*project));
    std::string path = JoinPath(project->folderPath, "YZN1");
    std::string bytes = ReadBytes(path);
    WriteBytes(path, bytes.substr(0, bytes.size() - 3));

    std::unique_ptr<Project> reloaded = manager.LoadProject(project->folderPath);
    ASSERT_NE(reloaded, nullptr);
    ASSERT_NE(reloaded->drawings[0]->cadFile.drawing, nullptr);
    std::vector<std::string> shown = messages.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind(G("文件已损坏，只读入了其中完好的部分：") + path, 0), 0u);
    EXPECT_EQ(ReadBytes(path + ".damaged"), bytes.substr(0, bytes.size() - 3));
}

TEST_F(ProjectManagerTest, ProjectFileTruncatedAtEveryOffsetLoadsOrFailsCleanly) {
    Project* project = NewProject("P");
    manager.AddDrawing(*project, G("一层"), "mm", "1:1", Imported(1.0));
    manager.AddDrawing(*project, G("二层"), "mm", "1:1", Imported(2.0));
    ASSERT_TRUE(manager.SaveProject(*project));
    std::string path = JoinPath(project->folderPath, "P");
    std::string bytes = ReadBytes(path);
    for (std::size_t size = 0; size < bytes.size(); ++size) {
        WriteBytes(path, bytes.substr(0, size));
        std::unique_ptr<Project> loaded = manager.LoadProject(project->folderPath);
        std::vector<std::string> shown = messages.Take();
        ASSERT_EQ(shown.size(), 1u) << "size " << size;
        if (loaded) {
            EXPECT_LT(loaded->drawings.size(), 2u) << "size " << size;
            EXPECT_EQ(shown[0].rfind(G("文件已损坏，只读入了其中完好的部分：") + path, 0), 0u);
            EXPECT_EQ(ReadBytes(path + ".damaged"), bytes.substr(0, size));
        } else {
            EXPECT_EQ(shown[0], G("工程文件已损坏，无法打开工程：") + path) << "size " << size;
        }
        std::filesystem::remove(FsPath(path + ".damaged"));
    }
}

TEST_F(ProjectManagerTest, FailedSaveKeepsTheOldFilesAndShowsAMessage) {
    Project* project = NewProject("P");
    ASSERT_TRUE(manager.SaveProject(*project));
    std::string dataPath = JoinPath(project->folderPath, "YZN0");
    std::string projectPath = JoinPath(project->folderPath, "P");
    std::string oldData = ReadBytes(dataPath);
    std::string oldProject = ReadBytes(projectPath);

    // Rows enough to pass the file-size limit set below: writing the data file fails midway,
    // as on a full disk (a limit holds for every user, unlike folder permissions).
    for (std::int32_t id = 1; id <= 50; ++id) {
        project->dataTable.rows.SetAt(id, MakeRow(id));
    }
    manager.AddDrawing(*project, "d", "mm", "1:1", Imported(1.0));
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit limited = saved;
    limited.rlim_cur = 1000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    bool ok = manager.SaveProject(*project);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_FALSE(ok);
    std::vector<std::string> shown = messages.Take();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].rfind(G("保存文件失败：") + dataPath, 0), 0u);
    EXPECT_EQ(ReadBytes(dataPath), oldData);
    EXPECT_EQ(ReadBytes(projectPath), oldProject);
    EXPECT_FALSE(Exists(JoinPath(project->folderPath, "YZN1")));
    // No temporary file is left behind.
    int files = 0;
    for ([[maybe_unused]] const auto& entry :
         std::filesystem::directory_iterator(FsPath(project->folderPath))) {
        ++files;
    }
    EXPECT_EQ(files, 2);
}

TEST_F(ProjectManagerTest, SavingIntoAVanishedFolderFailsWithAMessage) {
    Project* project = NewProject("P");
    std::filesystem::remove_all(FsPath(project->folderPath));
    EXPECT_FALSE(manager.SaveProject(*project));
    EXPECT_EQ(messages.Take().size(), 1u);
}

TEST_F(ProjectManagerTest, AddExistingProjectAppendsItsLineOnceOnly) {
    Project* created = NewProject("P");
    std::string folder = created->folderPath;
    manager.RemoveProject(*created);
    EXPECT_TRUE(manager.projects.empty());
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")), "");
    // The project's files stay on disk.
    EXPECT_TRUE(Exists(JoinPath(folder, "P")));

    Project* added = manager.AddExistingProject(folder);
    ASSERT_NE(added, nullptr);
    EXPECT_EQ(added->modified, 0);
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")), folder + "\r\n");
    EXPECT_EQ(manager.AddExistingProject(folder), nullptr);
    EXPECT_EQ(messages.Take(),
              std::vector<std::string>{G("该工程已经打开，不能重复添加：") + folder});
    EXPECT_EQ(manager.projects.size(), 1u);
}

TEST_F(ProjectManagerTest, RemoveProjectDropsEveryLineEqualToItsFolder) {
    Project* project = NewProject("P");
    std::string folder = project->folderPath;
    WriteBytes(program.Path("PATH.ini"),
               folder + "\r\nother\n" + folder + "\r\n" + folder + "/\r\n" + folder + " \r\n");
    manager.RemoveProject(*project);
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")),
              "other\r\n" + folder + "/\r\n" + folder + " \r\n");
}

TEST_F(ProjectManagerTest, FindNodeGivesTheObjectAndItsKind) {
    Project* project = NewProject("P");
    Drawing* drawing = manager.AddDrawing(*project, "d", "mm", "1:1", Imported(1.0));
    int handles[9] = {};
    manager.rootItem = &handles[0];
    project->projectItem = &handles[1];
    project->summaryTable.treeItem = &handles[2];
    project->materialTable.treeItem = &handles[3];
    project->detailTable.treeItem = &handles[4];
    project->dataTable.treeItem = &handles[5];
    drawing->treeItem = &handles[6];

    WorkspaceNode root = manager.FindNode(&handles[0]);
    EXPECT_TRUE(root.isRoot);
    EXPECT_EQ(root.kind, G("工程管理器"));
    WorkspaceNode projectNode = manager.FindNode(&handles[1]);
    EXPECT_EQ(projectNode.kind, G("工程名称"));
    EXPECT_EQ(projectNode.project, project);
    EXPECT_EQ(manager.FindNode(&handles[2]).kind, G("工程量汇总表"));
    EXPECT_EQ(manager.FindNode(&handles[3]).kind, G("结构材料统计表"));
    EXPECT_EQ(manager.FindNode(&handles[4]).table, &project->detailTable);
    EXPECT_EQ(manager.FindNode(&handles[4]).kind, G("工程量计算明细表"));
    WorkspaceNode data = manager.FindNode(&handles[5]);
    EXPECT_EQ(data.kind, G("无图纸数据添加窗口"));
    EXPECT_EQ(data.table, &project->dataTable);
    EXPECT_EQ(data.project, project);
    WorkspaceNode drawingNode = manager.FindNode(&handles[6]);
    EXPECT_EQ(drawingNode.kind, G("图"));
    EXPECT_EQ(drawingNode.drawing, drawing);
    EXPECT_EQ(drawingNode.project, project);

    // The analysis table has no node: a null handle matches nothing, nor does a stranger.
    EXPECT_EQ(manager.FindNode(nullptr).kind, "");
    EXPECT_EQ(manager.FindNode(&handles[7]).kind, "");
    EXPECT_EQ(manager.FindNode(&handles[7]).project, nullptr);
}

TEST_F(ProjectManagerTest, ProjectFolderIsMadeOnceAndNamesWithSeparatorsAreRefused) {
    EXPECT_TRUE(MakeProjectFolder(work.Path(), G("新工程")));
    EXPECT_EQ(MakeProjectFolder(work.Path(), G("新工程")).Message(),
              G("创建目录不成功！\n请查看目录是否重名"));
    EXPECT_EQ(MakeProjectFolder(work.Path(), "a/b").Message(), G("工程名称不能包含“/”或“\\”：a/b"));
    EXPECT_FALSE(MakeProjectFolder(work.Path(), "a\\b"));
    EXPECT_EQ(MakeProjectFolder("", "x").Message(), G("工程路径、工程类型和工程名称不能为空！"));

    EXPECT_EQ(manager.CreateProject(work.Path(), "a\\b", kStructuralProjectType), nullptr);
    EXPECT_EQ(messages.Take().size(), 1u);
    EXPECT_TRUE(manager.projects.empty());
}

TEST_F(ProjectManagerTest, ProjectFileIsNamedAfterTheFolderItIsLoadedFrom) {
    // A folder renamed together with its project file: saving writes to the file that the
    // next load reads, whatever project name the file holds.
    Project* project = NewProject("Old");
    std::string oldFolder = project->folderPath;
    std::string newFolder = work.Path("New");
    std::filesystem::rename(FsPath(oldFolder), FsPath(newFolder));
    std::filesystem::rename(FsPath(JoinPath(newFolder, "Old")), FsPath(JoinPath(newFolder, "New")));

    std::unique_ptr<Project> loaded = manager.LoadProject(newFolder);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->projectName, "Old");
    loaded->dataTable.rows.SetAt(1, MakeRow(1));
    ASSERT_TRUE(manager.SaveProject(*loaded));
    EXPECT_FALSE(Exists(JoinPath(newFolder, "Old")));
    std::unique_ptr<Project> again = manager.LoadProject(newFolder);
    ASSERT_NE(again, nullptr);
    EXPECT_EQ(again->dataTable.rows.size(), 1u);
}
