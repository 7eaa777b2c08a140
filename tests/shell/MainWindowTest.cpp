#include "app/GlobalVar.h"
#include "common/Ini.h"
#include "common/RecordingSink.h"
#include "shell/TFormLogDlg.h"
#include "shell/TFormXMLMain.h"
#include "support/TestSupport.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

QString IniValue(const QString& key) {
    return IniReadString(GlobalVar().Settings.IniFile, QStringLiteral("INTERFACE"), key,
                         QStringLiteral("<none>"));
}

struct ActionCase {
    const char* name;
    const char* caption;
    const char* hint;
    const char* toolbarText; // empty: the caption
};

TEST(MainWindow, ActionsCarryTheirCaptionsAndHints) {
    TTestProgramDir dir;
    TFormXMLMain w;
    const QList<ActionCase> cases = {
        {"ACT_NEW_NGO", "НГО на ділянку з XML", "Створити НГО на ділянку (на основі XML)",
         "НГО на діл. з XML"},
        {"ACT_OPEN_FILE_NGO", "Відкрити XML з НГО", "Відкрити XML з НГО (дані+карта)", ""},
        {"ACT_SAVE_XML_NGO", "Зберегти як", "Зберегти XML (з НГО) як", ""},
        {"ACT_TEST_NGO", "Зробити оцінку", "Перевірити оцінку у відкритому XML", ""},
        {"ACT_CHECK", "Перевірити на структуру", "Перевірити XML структуру", "Перевірити"},
        {"ACT_OPEN_FILE_SIMPLE", "Відкрити ще XML", "Відкрити XML (перегляд, без карти, без редагування)",
         ""},
        {"ACT_DILDB", "База ділянок і ТД", "", "База діл.+ТД"},
        {"ACT_EXIT", "Вихід з програми", "", ""},
        {"ACT_KATOTTG", "КАТОТТГ", "Довідник КАТОТТГ", ""},
        {"ACT_CREATE_GUID", "Згенерувати GUID", "", ""},
        {"ACT_BLOCK_ADD_FPTP", "Додавати блоки FP і TP (блок Line)", "", ""},
        {"ACT_BLOCK_ADD_MXMY", "Додавати блоки MX і MY (блок Point)", "", ""},
        {"ACT_ORGAN", "Ліцензіати", "Довідник виконавців", ""},
        {"ACT_HELP", "Допомога", "Допомога", ""},
        {"ACT_UPDATE", "Оновити програму", "", ""},
        {"ACT_ABOUT", "Про програму", "", ""},
        {"ACT_COORD_TO2", "2 знака (вся Україна)", "", ""},
        {"ACT_COORD_TO3", "3 знака (радуіс 500 км від центра ділянки)", "", ""},
        {"ACT_COORD_TO4", "4 знака (радуіс 50 км від центра ділянки)", "", ""},
    };
    for (const ActionCase& c : cases) {
        SCOPED_TRACE(c.name);
        QAction* a = w.findChild<QAction*>(QString::fromLatin1(c.name));
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->text(), QString::fromUtf8(c.caption));
        if (*c.hint) EXPECT_EQ(a->toolTip(), QString::fromUtf8(c.hint));
        EXPECT_EQ(a->iconText(), QString::fromUtf8(*c.toolbarText ? c.toolbarText : c.caption));
    }
}

QStringList MenuNames(QMenu* menu) {
    QStringList out;
    for (QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    return out;
}

TEST(MainWindow, MenusAndToolbarInTheirOrder) {
    TTestProgramDir dir;
    TFormXMLMain w;
    QStringList menus;
    QList<QStringList> items;
    for (QAction* top : w.menuBar()->actions()) {
        menus << top->text();
        items << MenuNames(top->menu());
    }
    EXPECT_EQ(menus, QStringList({"Файл", "Довідники", "Налаштування", "Допомога"}));
    ASSERT_EQ(items.size(), 4);
    EXPECT_EQ(items[0],
              QStringList({"MENU_NEW_NGO", "MENU_OPEN_FILE_NGO", "MENU_SAVE_XML_NGO", "-", "MENU_TEST_NGO",
                           "MENU_CHECK", "MENU_OPEN_FILE_SIMPLE", "MENU_DILDB", "-", "MENU_EXIT"}));
    EXPECT_EQ(items[1], QStringList({"MENU_KATOTTG", "MENU_CREATE_GUID"}));
    EXPECT_EQ(items[2], QStringList({"MENU_BLOCK_ADD_FPTP", "MENU_BLOCK_ADD_MXMY", "-", "MENU_ORGAN"}));
    EXPECT_EQ(items[3], QStringList({"MENU_HELP", "-", "MENU_UPDATE", "-", "MENU_ABOUT"}));

    auto* open = w.findChild<QAction*>("MENU_OPEN_FILE_NGO");
    EXPECT_EQ(open->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_O));
    EXPECT_EQ(w.findChild<QAction*>("MENU_SAVE_XML_NGO")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_S));

    auto* bar = w.findChild<QToolBar*>("ToolBar1");
    ASSERT_NE(bar, nullptr);
    QStringList tools;
    for (QAction* a : bar->actions())
        tools << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
    EXPECT_EQ(tools, QStringList({"ACT_NEW_NGO", "ACT_OPEN_FILE_NGO", "ACT_SAVE_XML_NGO", "ACT_TEST_NGO",
                                  "ACT_DILDB", "-", "ACT_OPEN_FILE_SIMPLE", "ACT_KATOTTG", "-", "ACT_CHECK",
                                  "ACT_COORD_LIMIT"}));
    EXPECT_NE(w.findChild<QToolButton*>("TOOL_CHECK"), nullptr);
    auto* coord = w.findChild<QToolButton*>("TOOL_COORD_LIMIT");
    ASSERT_NE(coord, nullptr);
    EXPECT_EQ(coord->popupMode(), QToolButton::InstantPopup);
    EXPECT_EQ(MenuNames(w.findChild<QMenu*>("PopupMenuCoord")),
              QStringList({"ACT_COORD_TO2", "ACT_COORD_TO3", "ACT_COORD_TO4"}));
}

TEST(MainWindow, MenuItemsFollowTheirActions) {
    TTestProgramDir dir;
    TFormXMLMain w;
    auto* item = w.findChild<QAction*>("MENU_BLOCK_ADD_FPTP");
    item->trigger();
    EXPECT_TRUE(w.BlockAddFptp());
    EXPECT_TRUE(item->isChecked());
    w.Action("ACT_BLOCK_ADD_FPTP")->trigger();
    EXPECT_FALSE(item->isChecked());
    int calls = 0;
    EXPECT_FALSE(w.findChild<QAction*>("MENU_DILDB")->isEnabled());
    w.SetCommandHandler("ACT_DILDB", [&] { ++calls; });
    EXPECT_TRUE(w.findChild<QAction*>("MENU_DILDB")->isEnabled());
    w.findChild<QAction*>("MENU_DILDB")->trigger();
    EXPECT_EQ(calls, 1);
}

TEST(MainWindow, WithoutIniPrecisionIsFourAndBlocksOff) {
    TTestProgramDir dir;
    TFormXMLMain w;
    EXPECT_EQ(w.Action("ACT_COORD_LIMIT")->text(), "Точність коор-т (4)");
    EXPECT_TRUE(w.Action("ACT_COORD_TO4")->isChecked());
    EXPECT_FALSE(w.Action("ACT_COORD_TO2")->isChecked());
    EXPECT_FALSE(w.BlockAddFptp());
    EXPECT_FALSE(w.BlockAddMxmy());
}

TEST(MainWindow, IniValuesDecideTheOptionsAtCreation) {
    struct Case {
        QString coord, fptp, mxmy;
        QString caption, checked;
        bool fptpOn, mxmyOn;
    };
    const QList<Case> cases = {
        {"2", "1", "0", "Точність коор-т (2)", "2", true, false},
        {"3", "01", "2", "Точність коор-т (3)", "3", true, false},
        {"7", "x", "1", "Точність коор-т", "", false, true}, // no precision item checked, caption unchanged
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.coord.toStdString());
        TTestProgramDir dir;
        const QString ini = GlobalVar().Settings.IniFile;
        IniWriteString(ini, "INTERFACE", "ACT_COORD_TO", c.coord);
        IniWriteString(ini, "INTERFACE", "ACT_BLOCK_ADD_FPTP", c.fptp);
        IniWriteString(ini, "INTERFACE", "ACT_BLOCK_ADD_MXMY", c.mxmy);
        TFormXMLMain w;
        EXPECT_EQ(w.Action("ACT_COORD_LIMIT")->text(), c.caption);
        EXPECT_EQ(w.CoordPrecision(), c.checked);
        EXPECT_EQ(w.BlockAddFptp(), c.fptpOn);
        EXPECT_EQ(w.BlockAddMxmy(), c.mxmyOn);
    }
}

TEST(MainWindow, PressingOptionsWritesTheIni) {
    TTestProgramDir dir;
    TRecordingSink sink;
    TFormXMLMain w;
    w.Action("ACT_COORD_TO2")->trigger();
    EXPECT_EQ(IniValue("ACT_COORD_TO"), "2");
    EXPECT_EQ(w.Action("ACT_COORD_LIMIT")->text(), "Точність коор-т (2)");
    EXPECT_TRUE(w.Action("ACT_COORD_TO2")->isChecked());
    EXPECT_FALSE(w.Action("ACT_COORD_TO4")->isChecked());
    EXPECT_EQ(sink.LastText(), "Відкрийте файл заново, щоб отримати вказану точність координат.");
    // Choosing the checked item again keeps it checked.
    w.Action("ACT_COORD_TO2")->trigger();
    EXPECT_TRUE(w.Action("ACT_COORD_TO2")->isChecked());
    w.Action("ACT_COORD_TO3")->trigger();
    EXPECT_EQ(IniValue("ACT_COORD_TO"), "3");
    EXPECT_FALSE(w.Action("ACT_COORD_TO2")->isChecked());

    w.Action("ACT_BLOCK_ADD_FPTP")->trigger();
    EXPECT_EQ(IniValue("ACT_BLOCK_ADD_FPTP"), "1");
    w.Action("ACT_BLOCK_ADD_FPTP")->trigger();
    EXPECT_EQ(IniValue("ACT_BLOCK_ADD_FPTP"), "0");
    w.Action("ACT_BLOCK_ADD_MXMY")->trigger();
    EXPECT_EQ(IniValue("ACT_BLOCK_ADD_MXMY"), "1");
    EXPECT_EQ(IniValue("ACT_BLOCK_ADD_FPTP"), "0");
}

TEST(MainWindow, GuidGoesToTheClipboard) {
    TTestProgramDir dir;
    TRecordingSink sink;
    TFormXMLMain w;
    w.Action("ACT_CREATE_GUID")->trigger();
    const QString guid = QApplication::clipboard()->text();
    EXPECT_EQ(guid.size(), 36);
    EXPECT_EQ(guid.count('-'), 4);
    EXPECT_EQ(sink.LastText(), "GUID в буфері обміну.");
}

TEST(MainWindow, CaptionOnFirstShowAndFilePanel) {
    TTestProgramDir dir;
    TFormXMLMain w;
    EXPECT_EQ(w.FileCaption(), " Файл:");
    w.show();
    EXPECT_EQ(w.windowTitle(), GlobalVar().AppName + " v" + GlobalVar().AppVersion);
    w.close();
}

TEST(MainWindow, DroppedFilesOpenTheFirstXmlWhateverItsCase) {
    TTestProgramDir dir;
    ASSERT_TRUE(dir.CopyFromProgram("IN4XMLSchema.xml"));
    TRecordingSink sink;
    TFormXMLMain w;
    const QString upper = dir.File("Ділянка.XML");
    ASSERT_TRUE(QFile::copy(TestDataPath("shell/valuation-full.xml"), upper));
    EXPECT_EQ(w.OpenDroppedFiles({dir.File("a.txt"), upper, dir.File("c.xml")}), upper);
    EXPECT_EQ(w.File.OpenedFile, upper);
    EXPECT_TRUE(w.HasWorkingCopy(true));
    EXPECT_TRUE(w.File.WorkingCopy.endsWith("/ділянка.xml"));
    EXPECT_EQ(w.OpenDroppedFiles({dir.File("a.txt"), dir.File("d.doc")}), "");
    EXPECT_EQ(w.File.OpenedFile, upper);
    w.close();
}

TEST(MainWindow, ActionLogLinesAndPlace) {
    TTestProgramDir dir;
    TFormXMLMain w;
    TFormLogDlg log(&w);
    w.SetLogWindow(&log);
    w.LogLine("перший");
    w.LogLine("");
    w.LogLine("другий");
    EXPECT_EQ(log.Lines(), QStringList({"перший", "другий"}));
    EXPECT_EQ(log.SelectedLine(), "другий");
    w.resize(1000, 700);
    w.show();
    w.ShowActionLog();
    EXPECT_TRUE(log.isVisible());
    EXPECT_EQ(log.frameGeometry().left(), w.frameGeometry().left() + 227);
    w.close();
}

TEST(MainWindow, ClosingDeletesTheWorkingFolder) {
    TTestProgramDir dir;
    TFormXMLMain w;
    const QString folder = GlobalVar().Settings.TempDir + "/0123456789";
    QDir().mkpath(folder);
    WriteBytes(folder + "/a.xml", "<a/>");
    w.File.WorkingCopy = folder + "/a.xml";
    w.show();
    w.close();
    EXPECT_FALSE(QFileInfo::exists(folder));
    EXPECT_TRUE(QFileInfo::exists(GlobalVar().Settings.TempDir));
}

} // namespace
