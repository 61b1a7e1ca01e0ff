#include "document/gui/qt_file_dialogs.h"

#include <QFile>
#include <QFileDialog>

#include <algorithm>

#include "platform/qt/qt_text.h"

namespace kestrum {

QStringList QtProtocolFileDialogs::NameFilters() {
    // Description and pattern pairs; each description names its pattern in
    // brackets, which is where Qt reads the pattern from.
    const QStringList parts = QString::fromLatin1(kProtocolFileFilter).split(QChar('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) filters << parts[i];
    return filters;
}

std::optional<FileDialogResult> QtProtocolFileDialogs::Open(const FileDialogRequest& request) {
    return Run(request, false);
}

std::optional<FileDialogResult> QtProtocolFileDialogs::Save(const FileDialogRequest& request) {
    return Run(request, true);
}

std::optional<FileDialogResult> QtProtocolFileDialogs::Run(const FileDialogRequest& request, bool save) {
    QFileDialog dialog(parent_, CaptionText(request.Title), QFile::decodeName(request.Directory.c_str()));
    dialog.setObjectName(save ? "SaveDialog" : "OpenDialog");
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    const QStringList filters = NameFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters.value(std::clamp(request.FilterIndex, 1, static_cast<int>(filters.size())) - 1));
    dialog.setDefaultSuffix(QString::fromLatin1(kProtocolFileDefaultExtension));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    dialog.selectFile(QFile::decodeName(request.FileName.c_str()));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogResult result;
    result.Path = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    result.FilterIndex = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return result;
}

}  // namespace kestrum
