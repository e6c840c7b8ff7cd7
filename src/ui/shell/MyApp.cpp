#include "ui/shell/MyApp.h"

#include <QFile>
#include <QMessageBox>

#include "core/design/FilePath.h"
#include "core/design/ModelParameters.h"
#include "render/resources/Pictures.h"
#include "render/resources/ProgramTitle.h"
#include "ui/dialogs/Dialogs.h"
#include "ui/dialogs/MessageBoxes.h"
#include "ui/shell/MainWin.h"
#include "ui/shell/Recovery.h"

namespace veltrano {

namespace {

QString pathsTried(const DataFileSearch& search) {
    return QStringLiteral("Paths tried:\n") +
           QFile::decodeName(QByteArray::fromStdString(listOfPaths(search.tried)));
}

}  // namespace

MyApp::MyApp(Dialogs& dialogs, DataPlaces places) : dialogs_(dialogs), places_(std::move(places)) {}

MyApp::~MyApp() = default;

int MyApp::start(const QStringList& files) {
    mainWin_.reset();
    const DataFileSearch startup = findDataFile(kStartupDesignFileName, places_);
    if (!startup.found || state_.document.loadStartup(utf8Path(*startup.found)) != 0) {
        showMessage(dialogs_, nullptr, QStringLiteral("Failed to load initial cigarette data."),
                    programTitle(), QMessageBox::Warning, pathsTried(startup));
        return kStartFailed;
    }
    mainWin_ = std::make_unique<MainWin>(state_.document, dialogs_);
    mainWin_->setStartupFileTargets(startupFileTargets(*startup.found, userDataFolder(places_)));
    mainWin_->show();
    mainWin_->repaint();
    mainWin_->setWindowIcon(makeApplicationIcon());
    const DataFileSearch models = findDataFile(kModelParameterFileName, places_);
    if (!models.found ||
        loadModelParameters(utf8Path(*models.found), state_.modelParameters) != kModelParametersOk) {
        showMessage(dialogs_, mainWin_.get(), QStringLiteral("Failed to load model parameters."),
                    QStringLiteral("Warning"), QMessageBox::NoIcon, pathsTried(models));
        mainWin_.reset();
        return kStartFailed;
    }
    if (const auto warning = nonFiniteParametersWarning(state_.modelParameters, kModelParameterFileName))
        showMessage(dialogs_, mainWin_.get(), QString::fromStdString(*warning), QStringLiteral("Warning"),
                    QMessageBox::Warning);

    // Work a crash took away is offered back; from now on this program keeps its own recovery files.
    const QString folder = recoveryFolderPath();
    auto* writer = new RecoveryWriter(mainWin_->undoableDocument(), std::make_unique<RecoveryStore>(folder));
    mainWin_->attachRecovery(writer);
    offerRecovery(dialogs_, mainWin_.get(), mainWin_->undoableDocument(), mainWin_->errorReporter(), folder,
                  writer);
    openNamedFiles(files);
    return 0;
}

void MyApp::openNamedFiles(const QStringList& files) {
    if (files.isEmpty()) return;
    // Recovered designs are modified: Open's question comes first.
    mainWin_->openPath(files.first());
    if (files.size() > 1)
        showMessage(dialogs_, mainWin_.get(),
                    QStringLiteral("One file opens at a time; the other files named were not opened."),
                    programTitle(), QMessageBox::Information, files.mid(1).join(QLatin1Char('\n')));
}

}  // namespace veltrano
