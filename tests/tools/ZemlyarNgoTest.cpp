// zemlyar-ngo as a program: its files equal those the wizard writes for the same choices, and its exit
// status, JSON lines and help.
#include "exchange/GeometryFromMap.h"
#include "exchange/OpenExchangeFile.h"
#include "exchange/ValuationFileWriter.h"
#include "map/MapControl.h"
#include "map/MapLayers.h"
#include "map/MapObjectsFromExchange.h"
#include "support/TestSupport.h"
#include "valuation/HandOver.h"
#include "valuation/PlotImport.h"
#include "valuation/ValuationSession.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QRegularExpression>

#include <gtest/gtest.h>

namespace {

// A program folder of its own with the tool, its reference files and template.
struct TToolFolder {
    TTestProgramDir dir;
    TToolFolder() {
        for (const char* name : {"zemlyar-ngo", "IN4XMLSchema.xml", "NGO.dat", "YEARS.dat", "YEARS_SH.dat"})
            EXPECT_TRUE(dir.CopyFromProgram(name)) << name;
        QFile::setPermissions(dir.File("zemlyar-ngo"), QFile::permissions(dir.File("zemlyar-ngo")) |
                                                           QFileDevice::ExeOwner | QFileDevice::ExeUser);
        QDir().mkpath(dir.File("out"));
    }
    struct TRun {
        int Status = -1;
        QByteArray Out, Err;
    };
    TRun Run(const QStringList& args) const {
        QProcess p;
        p.start(dir.File("zemlyar-ngo"), args);
        TRun r;
        if (!p.waitForFinished(120000)) return r;
        r.Status = p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
        r.Out = p.readAllStandardOutput();
        r.Err = p.readAllStandardError();
        return r;
    }
};

QByteArray WithoutDateAndGuid(QByteArray bytes) {
    static const QRegularExpression re(QStringLiteral("<(FileDate|FileGUID)>[^<]*</\\1>"));
    return QString::fromUtf8(bytes).replace(re, QString()).toUtf8();
}

// What the wizard writes: import, Apply, the page "Завершення" with the zone ID typed in, "Створити XML"
// (CreateValuationFile over the map view's objects) and "Зберегти як".
QByteArray WizardFile(const TToolFolder& folder, const QString& source, const QString& population,
                      const QString& target) {
    ExchangeDocument doc;
    EXPECT_TRUE(doc.LoadFromFile(source));
    TPlotImport import;
    EXPECT_EQ(ImportPlot(doc, TSourceKind::LandManagement, folder.dir.File("POPUL.dat"), &import), "");
    TGeneralDataInput input = import.Input;
    input.Population = population;

    TValuationSession session;
    session.Initialize();
    EXPECT_TRUE(session.Apply(input, TApplyButton::Apply));
    session.FillSummary();
    session.Summary.FileCadnum = import.Cadnum;
    session.Summary.FileTerrID = "123456";
    session.Summary.ApproveBy = import.ApproveBy;
    session.Summary.ApproveDt = import.ApproveDt;
    session.Summary.ApproveNo = import.ApproveNo;
    EXPECT_TRUE(CheckCreateXml(session.Summary));
    const TValuationHandOver handOver =
        HandOverFromSummary(session.Summary, session.Tables.Psr, session.Boxes.Psr.Row, session.Agro, false);

    TOpenExchangeFile file;
    TMap map;
    PrepareMapForFile(map, source, 4);
    TCreateHooks hooks;
    hooks.BuildMapObjects = [&map](ExchangeDocument& d) {
        return BuildMapObjectsFromExchangeFile(map, d.Dom(), {}).CoordinatesLoaded;
    };
    EXPECT_TRUE(CreateValuationFile(file, source, NewWorkingCopyPath(source), handOver, hooks));
    file.SaveAsFile = target;
    EXPECT_TRUE(SaveValuationFileAs(file, GeometryFromMap(map), {}, {}).Written);
    file.CloseWorkingFolder();
    return ReadBytes(target);
}

TEST(ZemlyarNgo, WritesTheFilesTheWizardWritesForTheSameChoices) {
    const struct {
        const char* file;
        const char* population;
    } cases[] = {
        {"parcel-6-vertices", "2400"}, {"parcel-with-hole-cp1251", "800"}, {"three-neighbours", "52000"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        TToolFolder folder;
        const QString source = TestDataPath(QStringLiteral("exchange/%1.xml").arg(c.file));
        const auto run = folder.Run({"--population", c.population, "--zone-id", "123456", "--out-dir",
                                     folder.dir.File("out"), source});
        ASSERT_EQ(run.Status, 0) << run.Out.toStdString() << run.Err.toStdString();
        const QByteArray tool = ReadBytes(folder.dir.File(QStringLiteral("out/%1 нго.xml").arg(c.file)));
        ASSERT_FALSE(tool.isEmpty());
        const QByteArray wizard = WizardFile(folder, source, c.population, folder.dir.File("wizard.xml"));
        EXPECT_EQ(WithoutDateAndGuid(tool), WithoutDateAndGuid(wizard));
        EXPECT_NE(tool, wizard) << "each file has its own GUID";
    }
}

TEST(ZemlyarNgo, ExitStatusJsonAndHelp) {
    TToolFolder folder;
    const QString good = TestDataPath("exchange/parcel-with-hole-cp1251.xml");
    WriteBytes(folder.dir.File("broken.xml"), "<UkrainianCadastralExchangeFile>");

    const auto help = folder.Run({"--help"});
    EXPECT_EQ(help.Status, 0);
    EXPECT_TRUE(help.Out.startsWith(QString("Використання: zemlyar-ngo").toUtf8()));

    const auto valued = folder.Run({"--population", "800", "--json", good, good});
    EXPECT_EQ(valued.Status, 0) << valued.Err.toStdString();
    const QList<QByteArray> lines = valued.Out.trimmed().split('\n');
    ASSERT_EQ(lines.size(), 2);
    const QJsonObject plot = QJsonDocument::fromJson(lines[0]).object();
    EXPECT_EQ(plot["status"].toInt(), 0);
    EXPECT_EQ(plot["file"].toString(), good);
    EXPECT_FALSE(plot["amountText"].toString().isEmpty());
    EXPECT_EQ(plot["coefficients"]["PSR"]["row"].toString(), "69") << lines[0].toStdString();
    EXPECT_FALSE(QFile::exists(QFileInfo(good).path() + "/parcel-with-hole-cp1251 нго.xml")) << "no --write";

    EXPECT_EQ(folder.Run({good}).Status, 1) << "the population is missing";
    EXPECT_EQ(folder.Run({"--population", "800", good, folder.dir.File("broken.xml")}).Status, 2);
    const auto usage = folder.Run({"--nonsense"});
    EXPECT_EQ(usage.Status, 2);
    EXPECT_TRUE(usage.Err.startsWith(QString("Невідомий параметр").toUtf8())) << usage.Err.toStdString();
}

} // namespace
