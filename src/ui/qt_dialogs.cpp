#include "qt_dialogs.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>

#include "core/paths.h"

namespace ui {

QString messageBoxTitle() { return QApplication::applicationName(); }

namespace {

int showBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text,
            QMessageBox::StandardButtons buttons) {
    const QString message = QString::fromStdString(text);
    QMessageBox box(icon, messageBoxTitle(), message, buttons, parent);
    if (message.isRightToLeft()) box.setLayoutDirection(Qt::RightToLeft);
    return box.exec();
}

}  // namespace

void QtDialogs::addWindow(const std::string& name, QDialog* window) { m_windows[name] = window; }

void QtDialogs::showMessage(const std::string& text) {
    showBox(m_parent, QMessageBox::NoIcon, text, QMessageBox::Ok);
}

bool QtDialogs::askYesNo(const std::string& text) {
    return showBox(m_parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) ==
           QMessageBox::Yes;
}

void QtDialogs::showError(const std::string& text) {
    showBox(m_parent, QMessageBox::Critical, text, QMessageBox::Ok);
}

std::optional<std::string> QtDialogs::saveFileName(const core::SaveFileRequest& request) {
    const std::string start = request.initialDirectory.empty()
                                  ? std::string()
                                  : core::nativePath(request.initialDirectory).string();
    QFileDialog dialog(m_parent, QString::fromStdString(request.title),
                       QString::fromStdString(start));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    QStringList filters;
    for (const auto& f : request.filters) filters << QString::fromStdString(f);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    // The program asks before nothing else: an existing file is overwritten, as chosen.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().first().toStdString();
}

void QtDialogs::showModal(const std::string& windowName) {
    const auto it = m_windows.find(windowName);
    if (it == m_windows.end() || !it->second) return;
    it->second->exec();
}

}  // namespace ui
