#include "shell/MyApp.h"

#include <QMessageBox>

#include "design/ModelParameters.h"
#include "dialogs/Dialogs.h"
#include "dialogs/MessageBoxes.h"
#include "resources/Pictures.h"
#include "shell/MainWin.h"

namespace veltrano {

MyApp::MyApp(Dialogs& dialogs) : dialogs_(dialogs) {}

MyApp::~MyApp() = default;

int MyApp::start() {
    mainWin_.reset();
    if (state_.document.loadStartup(kStartupDesignFileName) != 0) {
        showMessage(dialogs_, nullptr, QStringLiteral("Failed to load initial cigarette data."),
                    QStringLiteral("veltrano 4.1"), QMessageBox::Warning);
        return kStartFailed;
    }
    mainWin_ = std::make_unique<MainWin>(state_.document, dialogs_);
    mainWin_->show();
    mainWin_->repaint();
    mainWin_->setWindowIcon(makeApplicationIcon());
    if (loadModelParameters(kModelParameterFileName, state_.modelParameters) != kModelParametersOk) {
        showMessage(dialogs_, mainWin_.get(), QStringLiteral("Failed to load model parameters."),
                    QStringLiteral("Warning"), QMessageBox::NoIcon);
        mainWin_.reset();
        return kStartFailed;
    }
    return 0;
}

}  // namespace veltrano
