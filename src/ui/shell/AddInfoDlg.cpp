#include "ui/shell/AddInfoDlg.h"

#include <algorithm>

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTextCursor>
#include <QVBoxLayout>

#include "core/design/Windows1252.h"
#include "ui/dialogs/ControlIds.h"

namespace veltrano {

namespace {

QString textFromBytes(const std::string& bytes) {
    const std::u32string decoded = decodeWindows1252(bytes);
    QString text = QString::fromUcs4(decoded.data(), static_cast<qsizetype>(decoded.size()));
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

std::optional<std::string> bytesFromText(const QString& text) {
    QString crlf = text;
    crlf.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
    const QList<uint> ucs4 = crlf.toUcs4();
    std::u32string chars(ucs4.begin(), ucs4.end());
    return encodeWindows1252(chars);
}

}  // namespace

int AddInfoDlg::storedLength(const QString& text) {
    return static_cast<int>(text.size() + text.count(QLatin1Char('\n')));
}

AddInfoDlg::AddInfoDlg(InformationText& informationText, QWidget* owner)
    : QDialog(owner), informationText_(informationText) {
    setObjectName("AddInfoDlg");
    setWindowTitle(QStringLiteral("Add Information ..."));
    auto* label = new QLabel(QStringLiteral("Information"), this);
    edit_ = new QPlainTextEdit(this);
    edit_->setObjectName("informationText");
    setControlId(edit_, 1102);
    edit_->setTabChangesFocus(true);
    accepted_ = textFromBytes(informationTextString(informationText_));
    edit_->setPlainText(accepted_);
    connect(edit_, &QPlainTextEdit::textChanged, this, &AddInfoDlg::refuseInvalidInput);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("okButton");
    setControlId(buttons->button(QDialogButtonBox::Ok), 1);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    buttons->button(QDialogButtonBox::Cancel)->setObjectName("cancelButton");
    setControlId(buttons->button(QDialogButtonBox::Cancel), 2);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    resize(296, 211);  // 197 x 130 dialog units
}

void AddInfoDlg::refuseInvalidInput() {
    const QString text = edit_->toPlainText();
    const bool tooLong = storedLength(text) > kMaxCharacters && storedLength(text) > storedLength(accepted_);
    if (!tooLong && bytesFromText(text)) {
        accepted_ = text;
        return;
    }
    // Put the last accepted text back, with the cursor where the refused input began.
    const int cursor = std::min<int>(edit_->textCursor().position(), static_cast<int>(accepted_.size()));
    QSignalBlocker block(edit_);
    edit_->setPlainText(accepted_);
    QTextCursor c = edit_->textCursor();
    c.setPosition(std::min<int>(cursor, static_cast<int>(accepted_.size())));
    edit_->setTextCursor(c);
}

void AddInfoDlg::accept() {
    const std::string bytes = bytesFromText(accepted_).value_or(std::string());
    const std::size_t n = std::min(bytes.size(), kInformationTextSize - 1);
    std::copy_n(bytes.begin(), n, informationText_.begin());
    informationText_[n] = '\0';
    QDialog::accept();
}

}  // namespace veltrano
