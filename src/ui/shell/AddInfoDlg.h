#pragma once

#include <QDialog>

#include "core/design/DesignSet.h"

class QPlainTextEdit;

namespace veltrano {

// Edits the free information text kept with the designs. The text is Windows-1252 with CR LF line
// breaks; the field refuses characters Windows-1252 cannot hold and text beyond 510 characters, a line
// break counting as two.
class AddInfoDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kMaxCharacters = static_cast<int>(kInformationTextLimit);

    AddInfoDlg(InformationText& informationText, QWidget* owner);

    QPlainTextEdit* editor() const { return edit_; }
    void accept() override;

    // Characters the text takes in the file: a line break is CR LF.
    static int storedLength(const QString& text);

private:
    void refuseInvalidInput();

    InformationText& informationText_;
    QPlainTextEdit* edit_;
    QString accepted_;  // the last text the field accepted
};

}  // namespace veltrano
