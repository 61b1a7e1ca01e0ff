#pragma once
// The File menu's open and save dialogs over Qt's own file dialog (the same
// on every system). Qt's dialog compares the filter patterns without regard
// to letter case, so "*.RTF" also lists "log.rtf".

#include <QStringList>

#include "document/file_dialogs.h"

class QWidget;

namespace kestrum {

class QtProtocolFileDialogs : public ProtocolFileDialogs {
public:
    explicit QtProtocolFileDialogs(QWidget* parent) : parent_(parent) {}
    std::optional<FileDialogResult> Open(const FileDialogRequest& request) override;
    std::optional<FileDialogResult> Save(const FileDialogRequest& request) override;

    // The Qt name filters of kProtocolFileFilter, one per filter index.
    static QStringList NameFilters();

private:
    std::optional<FileDialogResult> Run(const FileDialogRequest& request, bool save);
    static QString ExistingFileName(const FileDialogRequest& request);
    QWidget* parent_;
};

}  // namespace kestrum
