// Opening valuation files the way the open dialog and a drop do, the navigator built from them, the
// structure check with its counted log, and the jumps from the navigator and from findings.
#include "app/GlobalVar.h"
#include "common/RecordingSink.h"
#include "exchange/ExchangeDocument.h"
#include "shell/ShellPorts.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTreeWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct TFakeEditor : TXmlEditorPort {
    bool visible = false;
    bool structureChanged = true;
    bool saveEnabled = false;
    QStringList loaded;
    QList<int> lines;
    QList<QStringList> paths;
    bool IsEditorVisible() const override { return visible; }
    bool LoadEditorDocument(const QString& names, const QString& file) override {
        loaded << names + "|" + file;
        return true;
    }
    void ShowEditor() override { visible = true; }
    void CloseEditor() override { visible = false; }
    bool SelectLine(int line) override {
        lines << line;
        return true;
    }
    bool SelectElementPath(const QStringList& path) override {
        paths << path;
        return true;
    }
    bool StructureChanged() const override { return structureChanged; }
    void SetStructureChanged(bool on) override { structureChanged = on; }
    bool SaveEnabled() const override { return saveEnabled; }
    void SetSaveEnabled(bool on) override { saveEnabled = on; }
    bool SaveEditorDocumentAs(const QString& path) override {
        return QFile::copy(TestDataPath("shell/valuation-broken.xml"), path);
    }
};

struct TFakeMap : TMapViewPort {
    TFormXMLMain* main = nullptr;
    bool visible = true;
    bool refuse = false;
    bool throwOnBuild = false;
    bool failBuild = false;
    int builds = 0;
    QStringList selected;
    bool IsMapVisible() const override { return visible; }
    void ShowMap() override { visible = true; }
    void CloseMap() override {}
    bool PrepareMapForFile(const QString&) override { return !refuse; }
    void ClearLayers() override {}
    void RefreshMap() override {}
    void SelectMapObject(const QString& layer, int number, int district) override {
        selected << QStringLiteral("%1 %2 %3").arg(layer).arg(number).arg(district);
        // The map reports its selection back, as the map view does on every selection change.
        if (main) main->SelectNavigatorObject(layer, number, district);
    }
    bool BuildMapObjects(ExchangeDocument&) override {
        ++builds;
        if (throwOnBuild) throw std::runtime_error("Не знайдено точку 7");
        return !failBuild;
    }
};

class OpenAndCheck : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"IN4XMLSchema.xml", "IN4XMLSchema.xsd", "testerxml"})
            ASSERT_TRUE(dir.CopyFromProgram(QString::fromLatin1(name))) << name;
        QFile::setPermissions(dir.File("testerxml"),
                              QFile::permissions(dir.File("testerxml")) | QFile::ExeOwner);
        w.SetLogWindow(&log);
        map.main = &w;
    }
    void TearDown() override { w.close(); }

    bool Open(const QString& path) {
        w.File.OpenedFile = path;
        return w.OpenChosenFile();
    }
    QStringList Captions() const {
        QStringList out;
        for (int i = 0; i < w.Navigator()->topLevelItemCount(); ++i)
            out << w.Navigator()->topLevelItem(i)->text(0);
        return out;
    }
    QStringList WorkingFolders() const {
        return QDir(GlobalVar().Settings.TempDir).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    }

    TTestProgramDir dir;
    TRecordingSink sink;
    TFormXMLMain w;
    TFormLogDlg log{&w};
    TFakeEditor editor;
    TFakeMap map;
};

const QStringList kFixed = {"Редактор XML файлу",        "Мапа",
                            "Перегляд файлу у блокноті", "Розділ: Службові дані",
                            "Розділ: Ліцензіат",         "Розділ: Метрична інформація"};

TEST_F(OpenAndCheck, LandManagementFilesAreRefusedBeforeOpening) {
    const QStringList files =
        QDir(TestDataPath("exchange")).entryList({"land-management-*.xml", "parcel-*.xml", "three-*.xml"});
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        sink.Clear();
        EXPECT_FALSE(Open(TestDataPath("exchange/" + name)));
        ASSERT_EQ(sink.messages.size(), 1);
        EXPECT_EQ(sink.messages[0].kind, TMsgKind::Warning);
        EXPECT_EQ(sink.messages[0].text, "У файлі відсутній блок NormativValuation");
        EXPECT_TRUE(w.File.OpenedFile.isEmpty());
        EXPECT_EQ(w.Navigator()->topLevelItemCount(), 0);
        EXPECT_TRUE(WorkingFolders().isEmpty());
    }
}

TEST_F(OpenAndCheck, AValuationFileFillsTheNavigatorAndIsCheckedAtOnce) {
    const QString path = TestDataPath("shell/valuation-full.xml");
    ASSERT_TRUE(Open(path));
    EXPECT_EQ(w.FileCaption(), "  " + path);
    EXPECT_EQ(w.File.SaveAsFile, path);
    EXPECT_EQ(w.File.NamesFile, GlobalVar().Settings.ProgramDir + "/IN4XMLSchema.names");
    EXPECT_TRUE(w.HasWorkingCopy(true));
    EXPECT_EQ(QFileInfo(w.File.WorkingCopy).fileName(), "valuation-full.xml");
    EXPECT_EQ(QFileInfo(w.File.WorkingCopy).absolutePath(),
              GlobalVar().Settings.TempDir + "/" + WorkingFolders().value(0));
    EXPECT_EQ(ReadBytes(w.File.WorkingCopy), ReadBytes(path));
    EXPECT_FALSE(w.File.Document().IsActive());

    const QStringList expected = kFixed + QStringList{"Розділ: Опис території",
                                                      "Розділ: Об'єкт території",
                                                      "Розділ: НГО Оціночна ділянка",
                                                      "Розділ: НГО Місцерозташування",
                                                      "Розділ: НГО Коефіціенти",
                                                      "Розділ: НГО Оціночний район",
                                                      "    блок #1",
                                                      "    блок #2",
                                                      "Розділ: НГО ПСГ район",
                                                      "    блок #1",
                                                      "    блок #1 агрогрупа #1",
                                                      "    блок #2",
                                                      "    блок #3",
                                                      "    блок #3 агрогрупа #1",
                                                      "    блок #3 агрогрупа #2",
                                                      "Розділ: Виконавець техдок",
                                                      "Розділ: Відповідальний техдок",
                                                      "Розділ: Реквізити документації"};
    EXPECT_EQ(Captions(), expected);
    const QList<int> kinds = {0,  2,  3,  1,  4,  5,  7,  8,  10, 6,  9,  11,
                              12, 12, 13, 14, 16, 14, 14, 16, 16, 17, 18, 19};
    QList<int> seen;
    for (const TNavigatorLine& l : w.NavigatorLines())
        seen << l.Kind;
    EXPECT_EQ(seen, kinds);
    for (int i = 0; i < w.Navigator()->topLevelItemCount(); ++i) {
        const QTreeWidgetItem* item = w.Navigator()->topLevelItem(i);
        EXPECT_EQ(item->data(0, Qt::UserRole).toInt(), kinds[i]);
        const bool tagged = kinds[i] == 12 || kinds[i] == 14 || kinds[i] == 16;
        EXPECT_EQ(item->text(1).size(), tagged ? 5 : 0) << i;
    }
    EXPECT_EQ(w.Navigator()->topLevelItem(20)->text(2), "3");
    EXPECT_EQ(w.CurrentRegionName, "Київська");

    // The automatic check: the count first, then one line per finding.
    const QStringList lines = log.Lines();
    ASSERT_FALSE(lines.isEmpty());
    EXPECT_EQ(lines[0], "Знайдено помилок: " + QString::number(lines.size() - 1));
    EXPECT_TRUE(log.isVisible());
}

TEST_F(OpenAndCheck, SectionsMissingFromTheFileGiveNoLines) {
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-no-districts-cp1251.xml")));
    const QStringList expected = kFixed + QStringList{"Розділ: НГО Оціночна ділянка",
                                                      "Розділ: НГО Місцерозташування",
                                                      "Розділ: НГО Коефіціенти",
                                                      "Розділ: НГО ПСГ район",
                                                      "    блок #1",
                                                      "    блок #1 агрогрупа #1"};
    EXPECT_EQ(Captions(), expected);
    EXPECT_EQ(w.CurrentRegionName, "Львівська");
}

TEST_F(OpenAndCheck, TheShippedTemplateOpensAsAValuationFile) {
    ASSERT_TRUE(Open(GlobalVar().Settings.ProgramDir + "/IN4XMLSchema.xml"));
    EXPECT_GT(w.NavigatorLines().size(), kFixed.size());
}

TEST_F(OpenAndCheck, AFileThatDoesNotParseLeavesNothingOpen) {
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    sink.Clear();
    EXPECT_FALSE(Open(TestDataPath("shell/valuation-broken.xml")));
    EXPECT_TRUE(w.File.WorkingCopy.isEmpty());
    EXPECT_EQ(w.Navigator()->topLevelItemCount(), 0);
    EXPECT_TRUE(WorkingFolders().isEmpty()); // neither the old nor the new working folder stays
    ASSERT_FALSE(log.Lines().isEmpty());
    EXPECT_TRUE(log.Lines()[0].startsWith("Помилка завантаження файлу: "));
    // The check that follows a failed opening.
    EXPECT_EQ(sink.LastText(), "Файл ще не завантажений.");
}

TEST_F(OpenAndCheck, GeometryThatCannotBeReadStillOpensWithoutCoordinates) {
    w.SetMapViewPort(&map);
    map.throwOnBuild = true;
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    EXPECT_FALSE(w.File.CoordinatesLoaded);
    map.throwOnBuild = false;
    map.failBuild = true;
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    EXPECT_FALSE(w.File.CoordinatesLoaded);
    map.failBuild = false;
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    EXPECT_TRUE(w.File.CoordinatesLoaded);
    map.refuse = true;
    sink.Clear();
    EXPECT_FALSE(Open(TestDataPath("shell/valuation-full.xml")));
    EXPECT_TRUE(w.File.WorkingCopy.isEmpty());
    EXPECT_TRUE(WorkingFolders().isEmpty());
}

TEST_F(OpenAndCheck, ReopeningKeepsTheSelectedLine) {
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    w.SelectNavigatorRow(13);
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    EXPECT_EQ(w.SelectedNavigatorRow(), 13);
}

TEST_F(OpenAndCheck, DoubleClickOpensTheEditorAtTheBlockAndSelectsTheMapObject) {
    w.SetEditorPort(&editor);
    w.SetMapViewPort(&map);
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    const int row = Captions().indexOf("    блок #3 агрогрупа #2");
    ASSERT_GE(row, 0);
    w.SelectNavigatorRow(row);
    w.NavigatorDoubleClick();
    ASSERT_EQ(editor.loaded.size(), 1);
    EXPECT_EQ(editor.loaded[0], w.File.NamesFile + "|" + w.File.WorkingCopy);
    ASSERT_EQ(editor.paths.size(), 1);
    EXPECT_EQ(editor.paths[0].join('\\'), "InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation\\"
                                          "NaturalAgriculturalsDistrict#3\\AgroGroups\\AgroGroup#2");
    EXPECT_EQ(map.selected, QStringList({"Агрогрупа грунтів 2 3"}));
    EXPECT_EQ(w.SelectedNavigatorRow(), row);

    // A second double-click finds the editor visible and does not load it again.
    w.NavigatorDoubleClick();
    EXPECT_EQ(editor.loaded.size(), 1);

    // The map's own selection moves the navigator.
    w.SelectNavigatorObject("Оціночний район", 2, 1);
    EXPECT_EQ(Captions()[w.SelectedNavigatorRow()], "    блок #2");
    EXPECT_EQ(w.NavigatorLines()[w.SelectedNavigatorRow()].Kind, 12);
    w.SelectNavigatorObject("Шар користувача", 1, 1);
    EXPECT_EQ(w.NavigatorLines()[w.SelectedNavigatorRow()].Kind, 12);
}

TEST_F(OpenAndCheck, DoubleClickWithoutWorkingCopyDoesNothing) {
    w.SetEditorPort(&editor);
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    w.SelectNavigatorRow(0);
    QFile::remove(w.File.WorkingCopy);
    sink.Clear();
    w.NavigatorDoubleClick();
    EXPECT_TRUE(editor.loaded.isEmpty());
    EXPECT_TRUE(sink.messages.isEmpty());
}

TEST_F(OpenAndCheck, CheckWithoutFileOrTesterSaysSo) {
    w.CheckCommand();
    EXPECT_EQ(sink.LastText(), "Файл ще не завантажений.");
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    QFile::remove(dir.File("testerxml"));
    w.CheckCommand();
    EXPECT_EQ(sink.LastText(), "Не знайдена програма тестування xml \"testerxml.exe\"");
}

TEST_F(OpenAndCheck, UnsavedEditorChangesAreCheckedInsteadOfTheWorkingCopy) {
    w.SetEditorPort(&editor);
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    const QByteArray before = ReadBytes(w.File.WorkingCopy);
    editor.visible = true;
    editor.saveEnabled = true; // the editor's copy is the broken file: the check reports on it
    w.CheckCommand();
    ASSERT_GE(log.Lines().size(), 2);
    EXPECT_NE(log.Lines()[0], "Знайдено помилок: 0");
    EXPECT_EQ(ReadBytes(w.File.WorkingCopy), before);
    EXPECT_FALSE(editor.structureChanged);
}

TEST_F(OpenAndCheck, FindingsJumpToTheEditor) {
    w.SetEditorPort(&editor);
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    log.SetLines(
        {"Знайдено помилок: 2",
         "Стр№ 120: Елемент 'AgroGroup' має неповне утримання. Перелік можливих елементів: CodeAgroGroup",
         "InfoPart\\MetricInfo\\PointInfo: Елемент 'PointInfo' не очікується."});
    editor.structureChanged = false;
    log.SelectRow(0);
    log.FindSelectedInEditor();
    EXPECT_TRUE(editor.lines.isEmpty());
    log.SelectRow(1);
    log.FindSelectedInEditor();
    EXPECT_EQ(editor.lines, QList<int>({119}));
    log.SelectRow(2);
    log.FindSelectedInEditor();
    ASSERT_FALSE(editor.paths.isEmpty());
    EXPECT_EQ(editor.paths.last(), QStringList({"InfoPart", "MetricInfo", "PointInfo"}));
    EXPECT_TRUE(sink.messages.isEmpty() || sink.messages.last().kind != TMsgKind::Warning);

    editor.structureChanged = true;
    log.FindSelectedInEditor();
    EXPECT_EQ(sink.LastText(),
              "Була змінена структура файлу. Можливий перехід на неправильний рядок.\rНатисніть "
              "\"Перевірка\" ще раз і повторіть перехід.");
}

TEST_F(OpenAndCheck, WithoutTheEditorAFindingSelectsTheNavigatorLineOfItsSection) {
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    // A path inside the second valuation district.
    w.ShowInEditor("InfoPart\\TerritorialZoneInfo\\Objects\\Lands\\NormativValuation\\ValuationDistricts\\Val"
                   "uationDistrict#2\\Km4");
    EXPECT_EQ(Captions()[w.SelectedNavigatorRow()], "    блок #2");
    EXPECT_EQ(w.NavigatorLines()[w.SelectedNavigatorRow()].Kind, 12);
    // A line number: the line of the first agro group's start tag of district 3.
    const QStringList text = QString::fromUtf8(ReadBytes(w.File.WorkingCopy)).split('\n');
    int agroLine = 0, districts = 0;
    for (int i = 0; i < text.size() && !agroLine; ++i) {
        if (text[i].contains("<NaturalAgriculturalsDistrict>")) ++districts;
        if (districts == 3 && text[i].contains("<Bagr>")) agroLine = i + 1;
    }
    ASSERT_GT(agroLine, 0);
    w.ShowInEditor(QString::number(agroLine));
    EXPECT_EQ(Captions()[w.SelectedNavigatorRow()], "    блок #3 агрогрупа #1");
}

TEST_F(OpenAndCheck, ReloadAfterMapEditNeverWritesAnEmptyDocument) {
    w.SetMapViewPort(&map);
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    const QByteArray before = ReadBytes(w.File.WorkingCopy);
    sink.Clear();
    EXPECT_FALSE(w.ReloadAfterMapEdit()); // nothing loaded into the document
    EXPECT_EQ(ReadBytes(w.File.WorkingCopy), before);
    ASSERT_EQ(sink.messages.size(), 1);
    EXPECT_TRUE(sink.messages[0].text.startsWith("Отримана помилка тимчасового збереження:\r"));

    // An edit: the second valuation district goes; the navigator follows the saved copy.
    ExchangeDocument& doc = w.File.Document();
    ASSERT_TRUE(doc.LoadFromFile(w.File.WorkingCopy));
    pugi::xml_node districts = doc.DocumentElement()
                                   .child("InfoPart")
                                   .child("TerritorialZoneInfo")
                                   .child("Objects")
                                   .child("Lands")
                                   .child("NormativValuation")
                                   .child("ValuationDistricts");
    districts.remove_child(districts.last_child());
    const int builds = map.builds;
    EXPECT_TRUE(w.ReloadAfterMapEdit());
    EXPECT_EQ(map.builds, builds + 1);
    int districtLines = 0;
    for (const TNavigatorLine& l : w.NavigatorLines())
        districtLines += l.Kind == 12;
    EXPECT_EQ(districtLines, 1);
    ExchangeDocument saved;
    ASSERT_TRUE(saved.LoadFromFile(w.File.WorkingCopy));
    EXPECT_EQ(saved.SourceEncoding(), TXmlEncoding::Utf8);
    EXPECT_FALSE(doc.IsActive());
}

TEST_F(OpenAndCheck, SaveWorkingCopyReportsTheSilentSavesProblem) {
    ASSERT_TRUE(Open(TestDataPath("shell/valuation-full.xml")));
    w.SetWorkingCopySaver([] { ShowInfo("Збережено без межі ділянки."); });
    sink.Clear();
    EXPECT_FALSE(w.SaveWorkingCopy());
    ASSERT_EQ(sink.messages.size(), 1); // the silenced note is not shown itself
    EXPECT_EQ(sink.messages[0].text, "Отримана помилка тимчасового збереження:\rЗбережено без межі ділянки.");
    w.SetWorkingCopySaver([] {});
    sink.Clear();
    EXPECT_TRUE(w.SaveWorkingCopy());
    EXPECT_TRUE(sink.messages.isEmpty());
}

} // namespace
