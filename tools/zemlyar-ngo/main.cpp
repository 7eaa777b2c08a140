// zemlyar-ngo: the normative monetary valuation of plots from exchange files, without a screen.
#include "app/GlobalVar.h"
#include "common/Messages.h"
#include "common/TextHelpers.h"
#include "data/TFormMain.h"
#include "valuation/BatchValuation.h"
#include "valuation/NgoCommandLine.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <clocale>
#include <cstdio>
#include <unistd.h>

namespace {

void Print(std::FILE* stream, const QByteArray& bytes) {
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
    std::fflush(stream);
}

// Messages of the core (there is no screen) go to the standard error stream.
class TStderrSink final : public TMessageSink {
public:
    void ShowMessage(TMsgKind, const QString&, const QString& text) override {
        Print(stderr, QString(text).replace(QLatin1Char('\r'), QLatin1Char('\n')).toUtf8() + '\n');
    }
    TMsgButton Ask(const QString&, const QString&, const QList<TMsgButton>& buttons) override {
        return buttons.isEmpty() ? TMsgButton::None : buttons.first();
    }
    void ShowBalloon(const QString&, const QString&, int, QObject*) override {}
    void HideBalloon() override {}
};

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::OmitGroupSeparator | QLocale::RejectGroupSeparator);
    QLocale::setDefault(c);

    TNgoCommandLine options;
    const QString problem = ParseNgoCommandLine(app.arguments().mid(1), &options);
    if (!problem.isEmpty()) {
        Print(stderr, problem.toUtf8() + '\n');
        return NgoFileError;
    }
    if (options.Help) {
        Print(stdout, NgoHelpText().toUtf8());
        return NgoValued;
    }
    // Relative paths are taken from where the tool was started, not from the program folder.
    QStringList files;
    for (const QString& f : options.Files)
        files << QDir::current().absoluteFilePath(f);
    if (!options.OutDir.isEmpty()) options.OutDir = QDir::current().absoluteFilePath(options.OutDir);

    TStderrSink sink;
    SetMessageSink(&sink);
    InitGlobalVar(QCoreApplication::applicationFilePath());
    Randomize();
    // The working copies of a batch are scratch files: they live in a private folder, in memory where the
    // system offers one, and go away with the run.
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    QTemporaryDir scratch(shm.isDir() && shm.isWritable()
                              ? QStringLiteral("/dev/shm/zemlyar-ngo-XXXXXX")
                              : QDir::tempPath() + QStringLiteral("/zemlyar-ngo-XXXXXX"));
    if (scratch.isValid()) GlobalVar().Settings.TempDir = scratch.path();

    // The reference database gives the territorial zone IDs and the organisations.
    TFormMain dataModule;
    if (!dataModule.OpenReferenceDatabase())
        Print(stderr, (QStringLiteral("Базу довідників не відкрито: ") + LastErrorText).toUtf8() + '\n');

    TBatchValuation batch(options);
    const bool progress = files.size() > 1 && isatty(fileno(stderr)) && !options.Json;
    int status = NgoValued;
    for (int i = 0; i < files.size(); ++i) {
        if (progress)
            Print(stderr,
                  QStringLiteral("\r[%1/%2] %3\033[K").arg(i + 1).arg(files.size()).arg(files[i]).toUtf8());
        const TPlotOutcome outcome = batch.ValueFile(files[i]);
        status = std::max(status, outcome.Status);
        if (progress) Print(stderr, "\r\033[K");
        Print(stdout,
              options.Json ? PlotOutcomeJson(outcome) + '\n' : PlotOutcomeText(outcome).toUtf8() + '\n');
    }
    return status;
}
