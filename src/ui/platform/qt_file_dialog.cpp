#include "ui/platform/qt_file_dialog.h"

#include <QApplication>
#include <QFileDialog>

QStringList QtNameFilters(const std::vector<FileFilter>& filters) {
    QStringList out;
    for (const FileFilter& f : filters) {
        QString description = QString::fromStdString(f.description).trimmed();
        // A description that lists its patterns already gets them replaced
        // by the patterns that actually apply.
        if (description.endsWith(QLatin1Char(')'))) {
            const qsizetype open = description.lastIndexOf(QLatin1Char('('));
            if (open >= 0) description = description.left(open).trimmed();
        }
        QString patterns = QString::fromStdString(f.pattern).trimmed();
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        if (patterns.isEmpty()) patterns = QStringLiteral("*");
        out << QStringLiteral("%1 (%2)").arg(description, patterns.simplified());
    }
    return out;
}

std::optional<std::string> QtFileDialog::Run(const FileDialogRequest& request, bool save) {
    QWidget* owner = QApplication::activeModalWidget();
    if (owner == nullptr) owner = parent_;
    QFileDialog dialog(owner);
    dialog.setObjectName(QStringLiteral("VelkarnFileDialog"));
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    const QStringList filters = QtNameFilters(request.filters);
    if (!filters.isEmpty()) {
        dialog.setNameFilters(filters);
        if (request.filter_index >= 0 && request.filter_index < filters.size())
            dialog.selectNameFilter(filters[request.filter_index]);
    }
    if (!request.directory.empty()) dialog.setDirectory(QString::fromStdString(request.directory));
    if (!request.file_name.empty()) dialog.selectFile(QString::fromStdString(request.file_name));
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty()) return std::nullopt;
    return chosen.front().toStdString();
}

std::optional<std::string> QtFileDialog::Open(const FileDialogRequest& request) { return Run(request, false); }

std::optional<std::string> QtFileDialog::Save(const FileDialogRequest& request) { return Run(request, true); }
