#include "DialogPresenter.h"

#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QStandardPaths>

QString QtDialogPresenter::qtFilter(const QString& filter) {
    const QStringList parts = filter.split(QLatin1Char('|'));
    QStringList out;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString patterns = parts.at(i + 1);
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        // "*.*" would miss the many files here without an extension.
        patterns.replace(QLatin1String("*.*"), QLatin1String("*"));
        const QString& text = parts.at(i);
        out << (text.endsWith(QLatin1Char(')'))
                    ? text
                    : QStringLiteral("%1 (%2)").arg(text, patterns.simplified()));
    }
    return out.join(QStringLiteral(";;"));
}

MessageAnswer QtDialogPresenter::showMessage(QWidget* parent, const MessageBoxRequest& request) {
    QMessageBox box(request.icon == MessageIcon::Warning ? QMessageBox::Warning
                                                         : QMessageBox::Information,
                    request.caption, request.text,
                    request.buttons == MessageButtons::YesNo ? QMessageBox::Yes | QMessageBox::No
                                                             : QMessageBox::Ok,
                    parent);
    if (request.foreground) {
        box.setWindowFlag(Qt::WindowStaysOnTopHint);
        box.raise();
        box.activateWindow();
    }
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Ok;
    }
}

std::optional<QString> QtDialogPresenter::askReportFileName(QWidget* parent,
                                                            const SaveDialogRequest& request) {
    QFileDialog dialog(parent, request.title, request.folder, qtFilter(request.filter));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setDefaultSuffix(request.defaultExtension);
    dialog.selectFile(QDir(request.folder).filePath(request.fileName));
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

std::optional<QString> QtDialogPresenter::chooseFolder(QWidget* parent, const QString& title,
                                                       const QString& start) {
    const QString start0 =
        start.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::DesktopLocation) : start;
    const QString folder = QFileDialog::getExistingDirectory(parent, title, start0);
    if (folder.isEmpty())
        return std::nullopt;
    return folder;
}

std::optional<QString> QtDialogPresenter::chooseLogFile(QWidget* parent,
                                                        const QString& startFolder) {
    QFileDialog dialog(parent, QString(), startFolder,
                       qtFilter(QStringLiteral("Text files (*.txt)|*.txt|Log files "
                                               "(*.log)|*.log|All files|*.*")));
    dialog.setFileMode(QFileDialog::ExistingFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return dialog.selectedFiles().first();
}

int QtDialogPresenter::exec(QDialog& dialog) {
    return dialog.exec();
}
