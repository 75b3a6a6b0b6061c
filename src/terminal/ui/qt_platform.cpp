#include "terminal/ui/qt_platform.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

#include "terminal/session.h"

namespace sondix {

namespace {

QMessageBox::StandardButtons ButtonsOf(MsgButtons b) {
    switch (b) {
        case MsgButtons::OK:
            return QMessageBox::Ok;
        case MsgButtons::OKCancel:
            return QMessageBox::Ok | QMessageBox::Cancel;
        case MsgButtons::YesNo:
            return QMessageBox::Yes | QMessageBox::No;
        case MsgButtons::YesNoCancel:
            return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
        case MsgButtons::RetryCancel:
            return QMessageBox::Retry | QMessageBox::Cancel;
        case MsgButtons::AbortRetryIgnore:
            return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon IconOf(MsgIcon i) {
    switch (i) {
        case MsgIcon::None:
            return QMessageBox::NoIcon;
        case MsgIcon::Exclamation:
            return QMessageBox::Warning;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Critical:
            return QMessageBox::Critical;
        case MsgIcon::Information:
            return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The answer that Escape and the title bar's close box give: the one that ends or discards the
// least. Qt would take Abort, the only rejecting button of Abort/Retry/Ignore, and a reflex
// Escape on a fault box would end the program.
QMessageBox::StandardButton EscapeButtonOf(MsgButtons b) {
    switch (b) {
        case MsgButtons::OK:
            return QMessageBox::Ok;
        case MsgButtons::YesNo:
            return QMessageBox::No;
        case MsgButtons::AbortRetryIgnore:
            return QMessageBox::Ignore;
        case MsgButtons::OKCancel:
        case MsgButtons::YesNoCancel:
        case MsgButtons::RetryCancel:
            return QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

MsgAnswer AnswerOf(int button) {
    switch (button) {
        case QMessageBox::Ok:
            return MsgAnswer::OK;
        case QMessageBox::Yes:
            return MsgAnswer::Yes;
        case QMessageBox::No:
            return MsgAnswer::No;
        case QMessageBox::Retry:
            return MsgAnswer::Retry;
        case QMessageBox::Abort:
            return MsgAnswer::Abort;
        case QMessageBox::Ignore:
            return MsgAnswer::Ignore;
        default:
            return MsgAnswer::Cancel;
    }
}

}  // namespace

MsgAnswer QtMessageAsker::Ask(std::string_view title, std::string_view text, MsgButtons buttons,
                              MsgIcon icon) {
    // A box without a title of its own carries the program's title.
    const QString caption = title.empty() ? QString(kProgramTitle) : FromLatin1(title);
    QMessageBox box(IconOf(icon), caption, FromLatin1(text), ButtonsOf(buttons), parent_);
    box.setEscapeButton(EscapeButtonOf(buttons));
    return AnswerOf(box.exec());
}

void QtMessageAsker::Beep() {
    QApplication::beep();
}

QString QtFileFilter(std::string_view filter) {
    const QStringList parts = FromLatin1(filter).split('|');
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString name = parts[i];
        if (const qsizetype paren = name.indexOf(" ("); paren >= 0) name.truncate(paren);
        // "*.*" means every file on the system the pattern comes from, names without a dot too.
        const QString pattern = parts[i + 1] == "*.*" ? QString("*") : parts[i + 1];
        out << name + " (" + pattern + ")";
    }
    return out.join(";;");
}

std::optional<std::string> QtFileChooser::ChooseOpenFile(std::string_view title,
                                                         std::string_view filter) {
    QFileDialog dialog(parent_, FromLatin1(title));
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::ReadOnly, false);
    dialog.setNameFilter(QtFileFilter(filter));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

}  // namespace sondix
