#include "document/gui/qt_file_dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
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

QString QtProtocolFileDialogs::ExistingFileName(const FileDialogRequest& request) {
    // The dialog adds its default extension in upper case to a name typed
    // without one; on a file system that tells cases apart, "log" would then
    // look for "log.RTF" beside "log.rtf". A file of the name with the
    // filter's extension in any case is proposed by its real name instead.
    const QString name = QFile::decodeName(request.FileName.c_str());
    if (name.isEmpty() || name.contains(QChar('.'))) return name;
    const QString extension = request.FilterIndex == 2 ? QStringLiteral("TXT") : QStringLiteral("RTF");
    const QDir folder(QFile::decodeName(request.Directory.c_str()));
    for (const QString& entry : folder.entryList({name + QStringLiteral(".*")}, QDir::Files)) {
        const QFileInfo info(entry);
        if (info.completeBaseName() == name && info.suffix().compare(extension, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return name;
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
    dialog.selectFile(save ? QFile::decodeName(request.FileName.c_str()) : ExistingFileName(request));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    FileDialogResult result;
    result.Path = QFile::encodeName(dialog.selectedFiles().first()).toStdString();
    result.FilterIndex = std::max(1, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())) + 1);
    return result;
}

}  // namespace kestrum
