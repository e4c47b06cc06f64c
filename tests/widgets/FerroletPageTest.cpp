// The data-entry page as the host meets it: the real Ferrolet.so of the program folder,
// loaded with dlopen, its page put into a small sheet that records the messages it receives
// and answers pick requests as a drawing window would. With QUARRANT_SCREENSHOT_DIR set, the
// page, the component dialog and the material tree are also saved there as PNG files.

#include <dlfcn.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "AppTestSupport.h"
#include "app/CatalogueFile.h"
#include "platform/MessageEvent.h"
#include "plugin/FerroletApi.h"
#include "quantity/QuantityEntry.h"

using namespace quarrant;
using namespace quarrant::apptest;

namespace {

// The plug-in file of the build's program folder and its four exports.
class Plugin {
public:
    Plugin() {
        const std::string path = JoinPath(QUARRANT_PROGRAM_FOLDER, kFerroletFileName);
        m_handle = dlopen(FsPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
        if (m_handle == nullptr) {
            qFatal("cannot load %s: %s", path.c_str(), dlerror());
        }
        init = reinterpret_cast<InitPageFunction>(dlsym(m_handle, kInitPageExport));
        setCadData = reinterpret_cast<SetCadDataFunction>(dlsym(m_handle, kSetCadDataExport));
        tiqu = reinterpret_cast<TiquFunction>(dlsym(m_handle, kTiquExport));
        clear = reinterpret_cast<ClearFunction>(dlsym(m_handle, kClearExport));
    }
    ~Plugin() { dlclose(m_handle); }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    InitPageFunction init = nullptr;
    SetCadDataFunction setCadData = nullptr;
    TiquFunction tiqu = nullptr;
    ClearFunction clear = nullptr;

private:
    void* m_handle = nullptr;
};

// The host's property sheet as far as the page can tell: marked, receiving WM_PAGE_ADDENTRY
// (copying and resetting the entry, as the host does) and WM_PAGE_PICK.
class TestSheet : public QWidget {
public:
    TestSheet() { MarkAsPageSheet(this); }

    std::vector<int> messages;
    std::vector<std::uintptr_t> wParams;
    std::vector<QuantityEntry> entries;
    std::function<void(std::int32_t pickMode)> answerPick;

protected:
    bool event(QEvent* event) override {
        MessageEvent* message = MessageEvent::From(event);
        if (message == nullptr) {
            return QWidget::event(event);
        }
        messages.push_back(message->Message());
        wParams.push_back(message->WParam());
        if (message->Message() == WM_PAGE_ADDENTRY) {
            auto* entry = reinterpret_cast<QuantityEntry*>(message->LParam());
            entries.push_back(*entry);
            entry->Reset();
        } else if (message->Message() == WM_PAGE_PICK && answerPick) {
            answerPick(static_cast<std::int32_t>(message->WParam()));
        }
        return true;
    }
};

// A component line as typed into the component dialog; mode 0 长×宽×高, 1 面积×高, 2 体积.
struct Line {
    int mode = 0;
    QString unit{};
    QString count{};
    QString measure{};  // 长, 面积 or 体积
    QString width{};
    QString height{};
    QString part{};
    QString unitWeight{};
};

}  // namespace

Q_DECLARE_METATYPE(Line)

namespace {

const char* const kModeRadios[] = {"Radio1014", "Radio1015", "Radio1017"};

// One page of the plug-in in a 347-pixel pane of a sheet, as the data window holds it.
class PageInSheet {
public:
    PageInSheet(Plugin& plugin, std::int32_t mode, const std::string& programFolder = {})
        : m_plugin(plugin) {
        page = plugin.init(mode, &materials, &structures, programFolder.c_str());
        auto* tabs = new QTabWidget(&sheet);
        tabs->addTab(page, Q("数据添加页"));
        auto* layout = new QVBoxLayout(&sheet);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(tabs);
        sheet.resize(347, 720);
        sheet.show();
    }
    ~PageInSheet() { m_plugin.clear(page); }
    PageInSheet(const PageInSheet&) = delete;
    PageInSheet& operator=(const PageInSheet&) = delete;

    template <class T>
    static T* Find(QWidget* parent, const char* name,
                   Qt::FindChildOptions options = Qt::FindChildrenRecursively) {
        T* child = parent->findChild<T*>(QLatin1String(name), options);
        if (child == nullptr) {
            qFatal("no control %s", name);
        }
        return child;
    }
    template <class T>
    T* OnPage(const char* name) {
        return Find<T>(page, name, Qt::FindDirectChildrenOnly);
    }
    QWidget* Dialog() { return Find<QWidget>(page, "SubDlg1003"); }
    template <class T>
    T* InDialog(const char* name) {
        return Find<T>(Dialog(), name);
    }
    QCheckBox* LineButton(int line) {
        return Find<QCheckBox>(page, qPrintable(QStringLiteral("Button%1").arg(1027 + line)));
    }

    void OpenLine(int line) { LineButton(line)->click(); }
    void Fill(const Line& line) {
        InDialog<QComboBox>("Combo1008")->setEditText(line.unit);
        InDialog<QRadioButton>(kModeRadios[line.mode])->click();
        InDialog<QComboBox>("Combo1003")->setEditText(line.count);
        InDialog<QComboBox>("Combo1005")->setEditText(line.measure);
        InDialog<QComboBox>("Combo1006")->setEditText(line.width);
        InDialog<QComboBox>("Combo1007")->setEditText(line.height);
        InDialog<QComboBox>("Combo1002")->setEditText(line.part);
        InDialog<QLineEdit>("Edit1018")->setText(line.unitWeight);
    }
    void PressSet() { InDialog<QPushButton>("Button1025")->click(); }
    void SetLine(int line, const Line& values) {
        OpenLine(line);
        Fill(values);
        PressSet();
    }
    void Add(const QString& name, const QString& count) {
        OnPage<QComboBox>("Combo1000")->setEditText(name);
        OnPage<QLineEdit>("Edit1047")->setText(count);
        OnPage<QPushButton>("Button1009")->click();
    }

    Catalogue materials;
    Catalogue structures;
    TestSheet sheet;
    QWidget* page = nullptr;

private:
    Plugin& m_plugin;
};

const QString kUnsetCaption = QStringLiteral("←点击进入数据输入窗口");

std::vector<std::int32_t> Ids(std::initializer_list<std::int32_t> ids) {
    return ids;
}

}  // namespace

class FerroletPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<Plugin> m_plugin;

    static void Save(const QImage& image, const char* name) {
        const QByteArray folder = qgetenv("QUARRANT_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QVERIFY(image.save(QString::fromLocal8Bit(folder) + QLatin1Char('/') +
                               QLatin1String(name) + QStringLiteral(".png")));
        }
    }

    // Every character of every label, button and group title under the widget is in its font.
    static void VerifyChineseGlyphs(QWidget* root) {
        QList<QWidget*> widgets = root->findChildren<QWidget*>();
        widgets.push_back(root);
        for (QWidget* widget : widgets) {
            QString text;
            if (auto* label = qobject_cast<QLabel*>(widget)) {
                text = label->text();
            } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
                text = button->text();
            } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
                text = group->title();
            }
            const QFontMetrics metrics(widget->font());
            for (char32_t c : text.toUcs4()) {
                QVERIFY2(c < 0x80 || metrics.inFontUcs4(c),
                         qPrintable(widget->objectName() + QLatin1Char(' ') + text));
            }
        }
    }

private slots:
    void initTestCase() { m_plugin = std::make_unique<Plugin>(); }
    void cleanupTestCase() { m_plugin.reset(); }

    void pickedValuesAreCondensedIntoTheirField_data() {
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("shown");
        QTest::newRow("repeated lengths in bucket order") << 1 << "1.00+1.00+2.00+&5;6;7;"
                                                          << "Combo1005"
                                                          << "2.00+1.00*2";
        QTest::newRow("three equal widths") << 2 << "2.50+2.50+2.50+1.20+&"
                                            << "Combo1006"
                                            << "2.50*3+1.20";
        QTest::newRow("a last value without + is left out") << 3 << "0.40+0.75&9;"
                                                            << "Combo1007"
                                                            << "0.40";
        QTest::newRow("a count as it came") << 4 << "12&1;2;"
                                            << "Combo1003"
                                            << "12";
        QTest::newRow("no & empties the field") << 1 << "1.00+"
                                                << "Combo1005"
                                                << "";
    }
    void pickedValuesAreCondensedIntoTheirField() {
        QFETCH(int, mode);
        QFETCH(QString, text);
        QFETCH(QString, field);
        QFETCH(QString, shown);
        PageInSheet pane(*m_plugin, kPageModeDrawing);
        pane.OpenLine(1);
        pane.InDialog<QComboBox>(qPrintable(field))->setEditText(QStringLiteral("old"));
        m_plugin->setCadData(pane.page, text.toLatin1().constData(), mode);
        QCOMPARE(pane.InDialog<QComboBox>(qPrintable(field))->currentText(), shown);
    }

    void pickedEntitiesTravelWithTheEntry() {
        PageInSheet pane(*m_plugin, kPageModeDrawing);
        pane.sheet.answerPick = [&](std::int32_t mode) {
            const char* answers[] = {"3&5;6;7;", "1.00+1.00+2.00+&11;12;13;", "", "", "2&8;"};
            m_plugin->setCadData(pane.page, answers[mode], mode);
        };
        pane.OnPage<QPushButton>("Button1010")->click();  // 数
        QCOMPARE(pane.OnPage<QLineEdit>("Edit1047")->text(), QStringLiteral("3"));
        pane.OpenLine(1);
        pane.InDialog<QComboBox>("Combo1008")->setEditText(QStringLiteral("m"));
        pane.InDialog<QPushButton>("Button1010")->click();  // 数 of the line
        pane.InDialog<QPushButton>("Button1011")->click();  // 量 of the length
        QCOMPARE(pane.sheet.messages, (std::vector<int>{WM_PAGE_PICK, WM_PAGE_PICK, WM_PAGE_PICK}));
        QCOMPARE(pane.sheet.wParams, (std::vector<std::uintptr_t>{0, 4, 1}));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1005")->currentText(), Q("2.00+1.00*2"));
        pane.PressSet();
        pane.OnPage<QComboBox>("Combo1000")->setEditText(Q("钢屋架"));
        pane.OnPage<QPushButton>("Button1009")->click();

        QCOMPARE(pane.sheet.entries.size(), std::size_t{1});
        const QuantityEntry& entry = pane.sheet.entries[0];
        QCOMPARE(entry.texts[kEntryCount], std::string("3"));
        QCOMPARE(entry.entities, Ids({5, 6, 7}));
        const EntryComponent& line = entry.components[0];
        QCOMPARE(line.texts[kEntryLength], std::string("2.00+1.00*2"));
        QCOMPARE(line.texts[kEntryQuantity], std::string("8.00"));
        QCOMPARE(line.countEntities, Ids({8}));
        QCOMPARE(line.lengthEntities, Ids({11, 12, 13}));
    }

    void addRefusesAnEmptyStructureNameAndKeepsThePage() {
        PageInSheet pane(*m_plugin, kPageModeData);
        MessageRecorder messages;
        pane.SetLine(1, {0, "m", "1", "2"});
        pane.Add(QString(), QStringLiteral("5"));
        QCOMPARE(messages.texts, std::vector<std::string>{"结构名称不能为空"});
        QVERIFY(pane.sheet.messages.empty());
        QCOMPARE(pane.OnPage<QLineEdit>("Edit1047")->text(), QStringLiteral("5"));
        QVERIFY(pane.LineButton(1)->isChecked());
    }

    void addSumsTheUsedLinesAndResetsThePage_data() {
        QTest::addColumn<QString>("count");
        QTest::addColumn<QString>("firstWeight");
        QTest::addColumn<QString>("secondWeight");
        QTest::addColumn<QString>("sentCount");
        QTest::addColumn<QString>("unit");
        QTest::newRow("empty count, no weights") << ""
                                                 << ""
                                                 << ""
                                                 << "1"
                                                 << "m";
        QTest::newRow("count 0, only the first line weighs") << "0"
                                                             << "27.929"
                                                             << ""
                                                             << "1"
                                                             << "m";
        QTest::newRow("the last line weighs") << "4"
                                              << ""
                                              << "27.929"
                                              << "4"
                                              << "kg";
    }
    void addSumsTheUsedLinesAndResetsThePage() {
        QFETCH(QString, count);
        QFETCH(QString, firstWeight);
        QFETCH(QString, secondWeight);
        QFETCH(QString, sentCount);
        QFETCH(QString, unit);
        PageInSheet pane(*m_plugin, kPageModeData);
        MessageRecorder messages;
        pane.SetLine(1, {0, "m", "1", "1.5", {}, {}, {}, firstWeight});
        pane.SetLine(3, {0, "m", "1", "2.25", {}, {}, {}, secondWeight});
        pane.Add(Q("钢柱"), count);
        QVERIFY(messages.texts.empty());

        QCOMPARE(pane.sheet.entries.size(), std::size_t{1});
        const QuantityEntry& entry = pane.sheet.entries[0];
        QCOMPARE(entry.texts[kEntryItemName], G("钢柱"));
        QCOMPARE(QString::fromStdString(entry.texts[kEntryCount]), sentCount);
        QCOMPARE(entry.texts[kEntryQuantity], std::string("3.750"));
        QCOMPARE(QString::fromStdString(entry.texts[kEntryUnit]), unit);
        QCOMPARE(entry.components[0].texts[kEntryQuantity], std::string("1.50"));
        QCOMPARE(entry.components[2].texts[kEntryQuantity], std::string("2.25"));
        QCOMPARE(entry.components[1].used, 0);

        // The name joined the structure catalogue; the page starts afresh.
        QVERIFY(pane.structures.Contains(G("钢柱")));
        auto* name = pane.OnPage<QComboBox>("Combo1000");
        QVERIFY(name->findText(Q("钢柱")) >= 0);
        QCOMPARE(name->currentText(), QString());
        QCOMPARE(pane.OnPage<QLineEdit>("Edit1047")->text(), QString());
        for (int line = 1; line <= kComponentCount; ++line) {
            QVERIFY(!pane.LineButton(line)->isChecked());
            QCOMPARE(pane.LineButton(line)->text(), kUnsetCaption);
        }

        // Without a set line nothing is sent.
        pane.Add(Q("钢柱"), QStringLiteral("2"));
        QCOMPARE(pane.sheet.entries.size(), std::size_t{1});
    }

    void lineQuantitiesAndMessages_data() {
        QTest::addColumn<Line>("line");
        QTest::addColumn<QString>("quantity");
        QTest::addColumn<QString>("unit");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("message");
        QTest::newRow("m^3 box, four decimals")
            << Line{0, "m^3", "2", "3", "0.5", "0.4"} << "1.2000"
            << "m^3"
            << "长＝3；宽＝0.5；高＝0.4；"
            << "";
        QTest::newRow("metres with a note")
            << Line{0, "m", "3", "2<梁>+0.5", {}, {}, "A轴"} << "7.50"
            << "m"
            << "部位：A轴；长＝2<梁>+0.5；"
            << "";
        QTest::newRow("square metres, three decimals")
            << Line{0, "m^2", "2", "3", "0.25"} << "1.500"
            << "m^2"
            << "长＝3；宽＝0.25；"
            << "";
        QTest::newRow("area times height") << Line{1, "m^3", "2", "1.5", {}, "2"} << "6.0000"
                                           << "m^3"
                                           << "高＝2；面积＝1.5；"
                                           << "";
        QTest::newRow("volume is always m^3") << Line{2, "", "3", "0.25"} << "0.7500"
                                              << "m^3"
                                              << "体积＝0.25；"
                                              << "";
        QTest::newRow("operand missing") << Line{0, "m", "2", "3+"} << ""
                                         << ""
                                         << ""
                                         << "公式有错误，请检查公式！";
        QTest::newRow("note not closed") << Line{0, "m", "2", "3<梁"} << ""
                                         << ""
                                         << ""
                                         << "注释中的符号不匹配！";
        QTest::newRow("no unit") << Line{0, "", "2", "3"} << ""
                                 << ""
                                 << ""
                                 << "单位不能为空！";
        QTest::newRow("width missing") << Line{0, "m^2", "2", "3"} << ""
                                       << ""
                                       << ""
                                       << "数量、长、宽不能为空！";
        QTest::newRow("count missing in the area mode") << Line{1, "m^2", "", "3"} << ""
                                                        << ""
                                                        << ""
                                                        << "数量、面积、不能为空！";
    }
    void lineQuantitiesAndMessages() {
        QFETCH(Line, line);
        QFETCH(QString, quantity);
        QFETCH(QString, unit);
        QFETCH(QString, caption);
        QFETCH(QString, message);
        PageInSheet pane(*m_plugin, kPageModeData);
        MessageRecorder messages;
        pane.SetLine(2, line);
        if (!message.isEmpty()) {
            QCOMPARE(messages.texts, std::vector<std::string>{message.toStdString()});
            QVERIFY(pane.Dialog()->isVisible());
            QVERIFY(!pane.LineButton(2)->isChecked());
            return;
        }
        QVERIFY(messages.texts.empty());
        QVERIFY(!pane.Dialog()->isVisible());
        QVERIFY(pane.LineButton(2)->isChecked());
        QCOMPARE(pane.LineButton(2)->text(), caption);
        pane.Add(Q("钢梁"), QStringLiteral("1"));
        QCOMPARE(pane.sheet.entries.size(), std::size_t{1});
        const EntryComponent& set = pane.sheet.entries[0].components[1];
        QCOMPARE(QString::fromStdString(set.texts[kEntryQuantity]), quantity);
        QCOMPARE(QString::fromStdString(set.texts[kEntryUnit]), unit);
    }

    // A line set before and then refused by "设置" is reset; its button must not look set.
    void failedSetUnchecksALineThatWasSet() {
        PageInSheet pane(*m_plugin, kPageModeData);
        MessageRecorder messages;
        pane.SetLine(4, {0, "m^3", "2", "3", "0.5", "0.4", "B轴", "7.85"});
        QVERIFY(pane.LineButton(4)->isChecked());

        pane.OpenLine(4);  // every value comes back
        QCOMPARE(pane.InDialog<QComboBox>("Combo1003")->currentText(), QStringLiteral("2"));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1005")->currentText(), QStringLiteral("3"));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1006")->currentText(), QStringLiteral("0.5"));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1007")->currentText(), QStringLiteral("0.4"));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1008")->currentText(), QStringLiteral("m^3"));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1002")->currentText(), Q("B轴"));
        QCOMPARE(pane.InDialog<QLineEdit>("Edit1018")->text(), QStringLiteral("7.85"));

        pane.InDialog<QComboBox>("Combo1006")->setEditText(QString());
        pane.PressSet();
        QCOMPARE(messages.texts, std::vector<std::string>{"数量、长、宽、高不能为空！"});
        QVERIFY(pane.Dialog()->isVisible());
        QVERIFY(!pane.LineButton(4)->isChecked());
        QCOMPARE(pane.LineButton(4)->text(), kUnsetCaption);

        pane.InDialog<QPushButton>("Button1026")->click();  // 取消设置
        QVERIFY(!pane.Dialog()->isVisible());
        pane.Add(Q("钢梁"), QStringLiteral("1"));
        QVERIFY(pane.sheet.entries.empty());
    }

    void unitRulesFollowTheMeasuringMode() {
        PageInSheet pane(*m_plugin, kPageModeData);
        MessageRecorder messages;
        pane.OpenLine(1);
        auto* unit = pane.InDialog<QComboBox>("Combo1008");
        auto* width = pane.InDialog<QComboBox>("Combo1006");
        auto* height = pane.InDialog<QComboBox>("Combo1007");
        auto choose = [unit](int index) {
            unit->setCurrentIndex(index);
            emit unit->activated(index);
        };
        choose(2);  // m^3
        QVERIFY(width->isEnabled() && height->isEnabled());
        choose(0);  // m
        QVERIFY(!width->isEnabled() && !height->isEnabled());
        choose(1);                                          // m^2
        pane.InDialog<QRadioButton>("Radio1015")->click();  // 面积×高
        QCOMPARE(pane.InDialog<QLabel>("Static1019")->text(), Q("面积（m^2）："));
        QVERIFY(!width->isEnabled() && !height->isEnabled());
        choose(2);
        QVERIFY(!width->isEnabled() && height->isEnabled());
        QVERIFY(messages.texts.empty());
        choose(0);
        QCOMPARE(messages.texts, std::vector<std::string>{"单位只能为m^2或m^3"});
        QCOMPARE(unit->currentText(), QString());
        pane.InDialog<QRadioButton>("Radio1017")->click();  // 体积
        QCOMPARE(unit->currentText(), QStringLiteral("m^3"));
        QVERIFY(!height->isEnabled());
    }

    void pickButtonsAreOffWithoutADrawing() {
        PageInSheet pane(*m_plugin, kPageModeData);
        QVERIFY(!pane.OnPage<QPushButton>("Button1010")->isEnabled());
        for (const char* pick : {"Button1010", "Button1011", "Button1012", "Button1013"}) {
            QVERIFY2(!pane.InDialog<QPushButton>(pick)->isEnabled(), pick);
        }
        pane.OpenLine(1);
        pane.Fill({0, "m^3"});
        QVERIFY(!pane.InDialog<QPushButton>("Button1012")->isEnabled());
        // Tiqu takes a row's texts and changes nothing; Clear of nothing does nothing.
        m_plugin->tiqu(pane.page, "a", "m", "1.5");
        m_plugin->clear(nullptr);
        QVERIFY(pane.sheet.messages.empty());
    }

    void materialTreeGroupsTheCatalogueAndFillsTheLine() {
        const std::string path = JoinPath(QUARRANT_PROGRAM_FOLDER, G("钢结构数据库.ini"));
        PageInSheet pane(*m_plugin, kPageModeData);
        QVERIFY(DecodeCatalogue(ReadBytes(path), pane.materials));
        QVERIFY(pane.materials.Contains(G("工字钢 I20a")));
        pane.OpenLine(1);
        auto* material = pane.InDialog<QComboBox>("Combo1000");
        material->showPopup();
        auto* tree = pane.InDialog<QTreeWidget>("Tree1016");
        QVERIFY(tree->window()->isVisible());
        QCOMPARE(tree->topLevelItemCount(), 1);
        QTreeWidgetItem* root = tree->topLevelItem(0);
        QCOMPARE(root->text(0), Q("钢结构数据"));
        QVERIFY(root->isExpanded());
        QTreeWidgetItem* beams = nullptr;
        for (int i = 0; i < root->childCount(); ++i) {
            if (root->child(i)->text(0) == Q("工字钢")) {
                beams = root->child(i);
            }
        }
        QVERIFY(beams != nullptr);
        QStringList leaves;
        QTreeWidgetItem* i20a = nullptr;
        for (int i = 0; i < beams->childCount(); ++i) {
            leaves << beams->child(i)->text(0);
            if (leaves.back() == QStringLiteral("I20a")) {
                i20a = beams->child(i);
            }
        }
        QStringList sorted = leaves;
        std::sort(sorted.begin(), sorted.end());
        QCOMPARE(leaves, sorted);
        QVERIFY(i20a != nullptr);

        tree->setCurrentItem(i20a);
        QCOMPARE(material->currentText(), Q("工字钢 I20a"));
        QCOMPARE(pane.InDialog<QComboBox>("Combo1008")->currentText(), QStringLiteral("m"));
        QCOMPARE(pane.InDialog<QLineEdit>("Edit1018")->text(), QStringLiteral("27.929"));
        QVERIFY(!pane.InDialog<QComboBox>("Combo1006")->isEnabled());  // m: length only
        tree->setCurrentItem(beams);
        QCOMPARE(material->currentText(), Q("工字钢"));
        tree->window()->hide();
    }

    void partsAndAxesAreKeptInTheProgramFolder() {
        TempFolder program;
        const std::string file = program.Path(G("部位或轴线.ini"));
        WriteBytes(file, G("A轴\r\n1-2轴\n\r\n"));
        {
            PageInSheet pane(*m_plugin, kPageModeData, program.Path());
            pane.OpenLine(1);
            auto* part = pane.InDialog<QComboBox>("Combo1002");
            QCOMPARE(part->count(), 2);
            QVERIFY(part->findText(Q("A轴")) >= 0 && part->findText(Q("1-2轴")) >= 0);
            pane.Fill({0, "m", "1", "2", {}, {}, "B轴"});
            pane.PressSet();
            QCOMPARE(part->count(), 3);
        }
        QCOMPARE(ReadBytes(file), G("A轴\r\n1-2轴\r\nB轴\r\n"));
        {
            PageInSheet pane(*m_plugin, kPageModeData, program.Path());
            QCOMPARE(pane.InDialog<QComboBox>("Combo1002")->count(), 3);
        }
        QCOMPARE(ReadBytes(file), G("A轴\r\n1-2轴\r\nB轴\r\n"));
    }

    void pageFitsItsPaneAndShowsChineseEverywhere() {
        const std::string path = JoinPath(QUARRANT_PROGRAM_FOLDER, G("钢结构数据库.ini"));
        PageInSheet pane(*m_plugin, kPageModeDrawing);
        DecodeCatalogue(ReadBytes(path), pane.materials);
        DecodeCatalogue(ReadBytes(JoinPath(QUARRANT_PROGRAM_FOLDER, G("钢结构.ini"))),
                        pane.structures);
        QVERIFY(QTest::qWaitForWindowExposed(&pane.sheet));
        VerifyChineseGlyphs(pane.page);
        QVERIFY(pane.page->width() <= 347);
        pane.SetLine(1, {0, "m", "2", "6.0", {}, {}, "A轴", "27.929"});
        // A summary or a name wider than the page is cut off, and a low pane cuts the page
        // off at the bottom: the page never holds the host's pane open.
        pane.SetLine(2, {0, "m^3", "2", "2.00+1.00*2+3.50*4", "0.2<翼缘板宽度>+0.3", "0.4",
                         "A轴~B轴交1~12轴之间的次梁"});
        QCOMPARE(pane.LineButton(2)->toolTip(), pane.LineButton(2)->text());
        pane.OnPage<QComboBox>("Combo1000")
            ->addItem(Q("轻型门式刚架结构厂房屋面檩条及墙面檩条系统"));
        pane.sheet.resize(347, 450);
        QApplication::processEvents();
        QCOMPARE(pane.sheet.size(), QSize(347, 450));
        pane.sheet.resize(347, 720);
        QApplication::processEvents();
        pane.OnPage<QComboBox>("Combo1000")->setEditText(Q("钢屋架"));
        pane.OnPage<QLineEdit>("Edit1047")->setText(QStringLiteral("2"));
        Save(pane.sheet.grab().toImage(), "ferrolet-page");

        pane.OpenLine(3);
        Save(pane.sheet.grab().toImage(), "ferrolet-component-dialog");

        auto* material = pane.InDialog<QComboBox>("Combo1000");
        material->showPopup();
        auto* tree = pane.InDialog<QTreeWidget>("Tree1016");
        QWidget* dropDown = tree->window();
        VerifyChineseGlyphs(dropDown);
        QImage composed = pane.sheet.grab().toImage();
        {
            QPainter painter(&composed);
            painter.drawImage(pane.sheet.mapFromGlobal(dropDown->mapToGlobal(QPoint(0, 0))),
                              dropDown->grab().toImage());
        }
        Save(composed, "ferrolet-material-tree");
        dropDown->hide();
    }
};

QUARRANT_APP_TEST_MAIN(FerroletPageTest)
#include "FerroletPageTest.moc"
