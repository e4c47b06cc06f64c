#include "app/SettingsFiles.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/CatalogueFile.h"
#include "project/ProjectFiles.h"
#include "project/ProjectTestSupport.h"

using namespace quarrant;
using quarrant::testing::Exists;
using quarrant::testing::G;
using quarrant::testing::MakeRow;
using quarrant::testing::ReadBytes;
using quarrant::testing::TempFolder;
using quarrant::testing::WriteBytes;

namespace {

class SettingsTest : public ::testing::Test {
protected:
    SettingsTest() { WriteBytes(program.Path("COLOR.ini"), "1.255.0.0\r\n7.255.255.255\r\n"); }

    // A saved project in the work folder; returns its folder path.
    std::string SavedProject(const std::string& name, int rows = 0) {
        ProjectManager maker(messages);
        maker.SetProgramFolder(scratch.Path());
        EXPECT_TRUE(MakeProjectFolder(work.Path(), name));
        Project* project = maker.CreateProject(work.Path(), name, kStructuralProjectType);
        for (std::int32_t id = 1; id <= rows; ++id) {
            project->dataTable.rows.SetAt(id, MakeRow(id));
        }
        EXPECT_TRUE(maker.SaveProject(*project));
        return project->folderPath;
    }

    void RunStartUp() { StartUp(settings, manager, program.Path()); }

    static Catalogue MakeCatalogue(const std::vector<std::string>& keys) {
        Catalogue catalogue;
        for (const std::string& key : keys) {
            catalogue.SetAt(key, CatalogueRecord{key, "kg", "7.85"});
        }
        return catalogue;
    }

    TempFolder program;
    TempFolder work;
    TempFolder scratch;
    MessageList messages;
    ProjectManager manager{messages};
    Settings settings;
};

}  // namespace

TEST_F(SettingsTest, StartUpSetsTheProjectTypeAndProgramFolder) {
    RunStartUp();
    EXPECT_EQ(settings.programFolder, program.Path());
    EXPECT_EQ(manager.ProgramFolder(), program.Path());
    EXPECT_EQ(settings.currentProjectType, G("结构工程"));
    ASSERT_EQ(settings.projectTypes.size(), 1u);
    EXPECT_EQ(*settings.projectTypes.Lookup(G("结构工程")), "");
    ASSERT_NE(settings.colorTable, nullptr);
    EXPECT_EQ(settings.colorTable->Lookup(1)->green, 0);
    EXPECT_EQ(manager.ColorTable(), settings.colorTable);
    EXPECT_EQ(settings.progressTotal, 0);
    EXPECT_EQ(settings.progressDone, 0);
}

TEST_F(SettingsTest, MissingSettingsFilesGiveTheDefaultsWithoutMessages) {
    RunStartUp();
    EXPECT_TRUE(messages.Messages().empty());
    EXPECT_TRUE(manager.projects.empty());
    EXPECT_FLOAT_EQ(settings.coordinatePrecision, 1.0f);
    EXPECT_FLOAT_EQ(settings.lineAnglePrecision, 0.01f);
    EXPECT_TRUE(settings.materialCatalogue.empty());
    EXPECT_TRUE(settings.structureCatalogue.empty());
    // Nothing is created by reading.
    EXPECT_FALSE(Exists(program.Path("PATH.ini")));
    EXPECT_FALSE(Exists(program.Path("Set.ini")));

    // Each file appears when it is first written.
    ASSERT_TRUE(WriteCatalogues(settings).Ok());
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构数据库.ini"))), std::string(4, '\0'));
    ASSERT_TRUE(WriteSetIni(settings, "0.5", "0.01"));
    EXPECT_TRUE(Exists(program.Path("Set.ini")));
}

TEST_F(SettingsTest, MissingColourTableIsReportedAndProjectsStillLoad) {
    std::string folder = SavedProject("A");
    std::filesystem::remove(FsPath(program.Path("COLOR.ini")));
    WriteBytes(program.Path("PATH.ini"), folder + "\r\n");
    RunStartUp();
    EXPECT_EQ(manager.projects.size(), 1u);
    EXPECT_EQ(messages.Take(),
              std::vector<std::string>{FileOpenErrorMessage(program.Path("COLOR.ini"))});
}

TEST_F(SettingsTest, PathListKeepsTheProjectsThatLoadInFileOrder) {
    std::string first = SavedProject(G("一号"), 2);
    std::string second = SavedProject(G("二号"));
    std::string third = SavedProject(G("三号"), 1);
    WriteBytes(program.Path("PATH.ini"), first + "\r\n" + second + "\n" + third + "\r\n");
    std::filesystem::remove_all(FsPath(second));
    messages.Take();

    RunStartUp();
    ASSERT_EQ(manager.projects.size(), 2u);
    EXPECT_EQ(manager.projects[0]->folderPath, first);
    EXPECT_EQ(manager.projects[0]->dataTable.rows.size(), 2u);
    EXPECT_EQ(manager.projects[1]->folderPath, third);
    EXPECT_EQ(manager.projects[0]->modified, 0);
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")), first + "\r\n" + third + "\r\n");
    EXPECT_EQ(messages.Take(), std::vector<std::string>{FileOpenErrorMessage(
                                   JoinPath(second, LastPathComponent(second)))});
}

TEST_F(SettingsTest, LinesNamingNoFolderAreDroppedSilently) {
    std::string folder = SavedProject("A");
    messages.Take();
    WriteBytes(program.Path("PATH.ini"),
               folder + "\\\r\n" + "\r\n" + folder + "\r\n" + folder + "/\n" + folder + "\r\n");
    RunStartUp();
    ASSERT_EQ(manager.projects.size(), 1u);
    EXPECT_TRUE(messages.Messages().empty());
    // The folder listed twice is loaded once.
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")), folder + "\r\n");
}

TEST_F(SettingsTest, UnchangedPathListIsNotRewritten) {
    std::string folder = SavedProject("A");
    WriteBytes(program.Path("PATH.ini"), folder + "\n");
    RunStartUp();
    EXPECT_EQ(manager.projects.size(), 1u);
    EXPECT_EQ(ReadBytes(program.Path("PATH.ini")), folder + "\n");
}

TEST_F(SettingsTest, SetIniLinesAreReadAsAtofDoes) {
    struct Case {
        const char* name;
        std::string text;
        float coordinate;
        float angle;
    };
    const Case cases[] = {
        {"two lines", "0.5\r\n0.01\r\n", 0.5f, 0.01f},
        {"lines ending in LF", "2\n0.1\n", 2.0f, 0.1f},
        {"last line without line end", "3\r\n0.2", 3.0f, 0.2f},
        {"one line leaves the angle at 0", "0.5\r\n", 0.5f, 0.0f},
        {"an empty file gives 0 twice", "", 0.0f, 0.0f},
        {"rubbish gives 0", "abc\r\n1e-3xyz\r\n", 0.0f, 0.001f},
        {"further lines ignored", "1\r\n2\r\n3\r\n", 1.0f, 2.0f},
        {"leading blanks", "  4.25\r\n\t0.5\r\n", 4.25f, 0.5f},
    };
    for (const Case& c : cases) {
        Settings fresh;
        fresh.programFolder = program.Path();
        WriteBytes(program.Path("Set.ini"), c.text);
        EXPECT_TRUE(ReadSetIni(fresh)) << c.name;
        EXPECT_FLOAT_EQ(fresh.coordinatePrecision, c.coordinate) << c.name;
        EXPECT_FLOAT_EQ(fresh.lineAnglePrecision, c.angle) << c.name;
    }
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SettingsTest, SetIniIsRewrittenWithTheTextsAsTyped) {
    RunStartUp();
    ASSERT_TRUE(WriteSetIni(settings, "0.5", "0.01"));
    EXPECT_EQ(ReadBytes(program.Path("Set.ini")), "0.5\r\n0.01\r\n");
    EXPECT_FLOAT_EQ(settings.coordinatePrecision, 0.5f);
    EXPECT_FLOAT_EQ(settings.lineAnglePrecision, 0.01f);

    ASSERT_TRUE(WriteSetIni(settings, " 2.50mm", "abc"));
    EXPECT_EQ(ReadBytes(program.Path("Set.ini")), " 2.50mm\r\nabc\r\n");
    EXPECT_FLOAT_EQ(settings.coordinatePrecision, 2.5f);
    EXPECT_FLOAT_EQ(settings.lineAnglePrecision, 0.0f);

    Settings reread;
    reread.programFolder = program.Path();
    ASSERT_TRUE(ReadSetIni(reread));
    EXPECT_FLOAT_EQ(reread.coordinatePrecision, 2.5f);
}

TEST_F(SettingsTest, FailedSetIniWriteKeepsTheOldFileAndShowsAMessage) {
    RunStartUp();
    std::filesystem::create_directory(FsPath(program.Path("Set.ini")));
    WriteBytes(program.Path("Set.ini/keep"), "x");
    const Status written = WriteSetIni(settings, "0.5", "0.01");
    EXPECT_NE(written.Message().find(program.Path("Set.ini")), std::string::npos);
    EXPECT_FLOAT_EQ(settings.coordinatePrecision, 0.5f);
    EXPECT_EQ(ReadBytes(program.Path("Set.ini/keep")), "x");
}

TEST_F(SettingsTest, CataloguesAreReadMaterialFirst) {
    Catalogue materials = MakeCatalogue({G("角钢∠50×5"), G("槽钢[10")});
    Catalogue structures = MakeCatalogue({G("钢桁架")});
    WriteBytes(program.Path(G("钢结构数据库.ini")), EncodeCatalogue(materials));
    WriteBytes(program.Path(G("钢结构.ini")), EncodeCatalogue(structures));
    RunStartUp();
    EXPECT_EQ(settings.materialCatalogue.size(), 2u);
    ASSERT_NE(settings.materialCatalogue.Lookup(G("槽钢[10")), nullptr);
    EXPECT_EQ(settings.materialCatalogue.Lookup(G("槽钢[10"))->second, "kg");
    EXPECT_EQ(settings.structureCatalogue.size(), 1u);

    // Exit writes both back in the catalogues' order.
    settings.structureCatalogue.SetAt(G("网架"), CatalogueRecord{G("网架"), "", ""});
    ASSERT_TRUE(WriteCatalogues(settings).Ok());
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构数据库.ini"))), EncodeCatalogue(materials));
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构.ini"))),
              EncodeCatalogue(settings.structureCatalogue));
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SettingsTest, EmptyMaterialCatalogueLeavesBothEmptyAndTheStructureFileIntact) {
    std::string structures = EncodeCatalogue(MakeCatalogue({G("钢桁架"), G("网架")}));
    WriteBytes(program.Path(G("钢结构数据库.ini")), "");
    WriteBytes(program.Path(G("钢结构.ini")), structures);
    RunStartUp();
    EXPECT_TRUE(settings.materialCatalogue.empty());
    EXPECT_TRUE(settings.structureCatalogue.empty());

    // The unread structure file is not overwritten by the empty catalogue at exit.
    ASSERT_TRUE(WriteCatalogues(settings).Ok());
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构.ini"))), structures);
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构数据库.ini"))), std::string(4, '\0'));

    // Once the session adds a structure the file is replaced, its old bytes kept beside it.
    settings.structureCatalogue.SetAt("S", CatalogueRecord{"S", "", ""});
    ASSERT_TRUE(WriteCatalogues(settings).Ok());
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构.ini"))),
              EncodeCatalogue(settings.structureCatalogue));
    EXPECT_EQ(ReadBytes(program.Path(G("钢结构.ini.bak"))), structures);
}

TEST_F(SettingsTest, DamagedCatalogueKeepsTheRecordsReadAndACopy) {
    std::string bytes = EncodeCatalogue(MakeCatalogue({"A", "B", "C"}));
    std::string damaged = bytes.substr(0, bytes.size() - 2);
    std::string path = program.Path(G("钢结构数据库.ini"));
    WriteBytes(path, damaged);
    RunStartUp();
    EXPECT_EQ(settings.materialCatalogue.size(), 2u);
    EXPECT_EQ(messages.Take(),
              std::vector<std::string>{G("文件已损坏，只读入了其中完好的部分：") + path + "\n" +
                                       G("损坏的文件已另存为：") + path + ".damaged"});
    EXPECT_EQ(ReadBytes(path + ".damaged"), damaged);
}

TEST_F(SettingsTest, ExitWithNoModifiedProjectAsksNothing) {
    std::string a = SavedProject("A");
    std::string b = SavedProject("B");
    WriteBytes(program.Path("PATH.ini"), a + "\r\n" + b + "\r\n");
    RunStartUp();
    ASSERT_EQ(manager.projects.size(), 2u);
    EXPECT_FALSE(NeedsSaveQuestion(manager));
}

TEST_F(SettingsTest, ExitSavesEveryModifiedProjectAndTheCountersMeet) {
    std::string a = SavedProject("A");
    std::string b = SavedProject("B");
    std::string c = SavedProject("C");
    WriteBytes(program.Path("PATH.ini"), a + "\r\n" + b + "\r\n" + c + "\r\n");
    RunStartUp();
    ASSERT_EQ(manager.projects.size(), 3u);
    // A and C modified; B changed in memory without the flag, so it is not saved.
    for (const auto& project : manager.projects) {
        project->dataTable.rows.SetAt(1, MakeRow(1));
    }
    manager.projects[0]->modified = 1;
    manager.projects[2]->modified = 1;
    EXPECT_EQ(G("工程数据已经更改，是否要保存工程？"), kSaveQuestionText);
    ASSERT_TRUE(NeedsSaveQuestion(manager));

    std::thread worker = StartSavingModifiedProjects(manager, settings);
    worker.join();
    EXPECT_EQ(settings.progressTotal, 3);
    EXPECT_EQ(settings.progressDone, settings.progressTotal.load());

    ProjectManager reader(messages);
    EXPECT_EQ(reader.LoadProject(a)->dataTable.rows.size(), 1u);
    EXPECT_EQ(reader.LoadProject(b)->dataTable.rows.size(), 0u);
    EXPECT_EQ(reader.LoadProject(c)->dataTable.rows.size(), 1u);
    EXPECT_TRUE(messages.Messages().empty());
}

TEST_F(SettingsTest, ExitSaveThatFailsStillEndsWithTheCountersMet) {
    std::string a = SavedProject("A");
    std::string b = SavedProject("B");
    WriteBytes(program.Path("PATH.ini"), a + "\r\n" + b + "\r\n");
    RunStartUp();
    for (const auto& project : manager.projects) {
        project->modified = 1;
    }
    std::filesystem::remove_all(FsPath(a));
    std::thread worker = StartSavingModifiedProjects(manager, settings);
    worker.join();
    EXPECT_EQ(settings.progressDone, 2);
    EXPECT_EQ(settings.progressTotal, 2);
    EXPECT_EQ(messages.Take().size(), 1u);
}
