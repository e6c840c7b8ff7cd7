#include "ui/explore/DiffusionChoice.h"

#include <QCheckBox>
#include <QCoreApplication>

#include "core/explore/DiffusionCoupling.h"

namespace veltrano {

namespace {

QString tr(const char* text) {
    return QCoreApplication::translate("DiffusionChoice", text);
}

}  // namespace

QCheckBox* diffusionChoice(const DesignValues& current) {
    auto* box = new QCheckBox(tr("&Diffusion follows permeability"));
    box->setObjectName("coupleDiffusion");
    if (holdsKnownDiffusion(current)) {
        box->setToolTip(
            tr("The known diffusion capacity follows the paper permeability by the model's "
               "relation, scaled to today's value, as the problem solver's Accept sets it."));
    } else {
        box->setEnabled(false);
        box->setToolTip(asSentence(std::string(kDiffusionPredictedAnyway)));
    }
    return box;
}

QString heldNote(const std::vector<std::string_view>& held) {
    if (held.empty()) return {};
    return asSentence(heldText(held)) + QLatin1Char(' ') +
           tr("\"Diffusion follows permeability\" lets the diffusion follow.");
}

QString asSentence(const std::string& text) {
    QString sentence = QString::fromStdString(text);
    if (sentence.isEmpty()) return sentence;
    sentence[0] = sentence[0].toUpper();
    return sentence + QLatin1Char('.');
}

}  // namespace veltrano
